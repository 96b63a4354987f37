// morvi-cli res ... and wax ...: list and extract the members of any game archive, convert
// pictures, and take sprites apart into BMP files and a map and build them back.
#include "CliArgs.h"
#include "PngImage.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/GobArchive.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/FmeFile.h"
#include "resources/LfdArchive.h"
#include "resources/SpriteConverter.h"
#include "resources/WaxFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace morvi::cli {

namespace {

const char* const kResUsage =
    "Usage:\n"
    "  morvi-cli res list ARCHIVE [--json]          members of a GOB or LFD with type, offset, size\n"
    "  morvi-cli res extract ARCHIVE MEMBER OUT     write one member to the file OUT\n"
    "  morvi-cli res convert IN OUT [--palette PAL] [--state S --view V] [--frame F]\n"
    "                                               [--compression 0|1|2]\n"
    "\n"
    "convert turns BM, FME, WAX, DLT and ANM pictures into BMP or PNG files, and 8-bit palettized\n"
    "BMP or PNG pictures into BM, FME, DLT or ANM; palette indices are kept exactly. PAL is a game\n"
    "palette file (768 bytes); without it pictures are shown in grey. --frame picks the sub-picture\n"
    "of an animated BM or an ANM, or the frame of the chosen WAX state and view (all from 0).\n"
    "--compression is the BM compression: 0 plain, 1 run-length, 2 runs of index 0.\n";

const char* const kWaxUsage =
    "Usage:\n"
    "  morvi-cli wax export FILE DIR [--palette PAL]  every picture of a WAX, BM, FME, DLT or ANM as\n"
    "                                                 an 8-bit BMP in DIR; a WAX adds schema.map\n"
    "  morvi-cli wax build DIR OUT                    build OUT (.wax .bm .fme .dlt .anm) from the\n"
    "                                                 BMP files of DIR in name order; a WAX takes its\n"
    "                                                 structure from DIR/schema.map\n"
    "\n"
    "export deletes the files an earlier export left in DIR (cell0000.bmp, bm000001.bmp, ...,\n"
    "schema.map) and no others.\n";

// Archives and pictures are read whole; nothing the game uses comes near this size.
constexpr std::uint64_t kMaxInputBytes = 1ull << 30;

struct ArchiveMember {
    std::string m_strName;
    std::string m_strType;
    std::uint32_t m_nOffset = 0;
    std::span<const std::uint8_t> m_Data;
};

// A GOB or LFD archive read whole, its members seen the same way.
class AnyArchive {
public:
    Status Read(const fs::path& path) {
        if (Status s = ReadResourceFile(path, kMaxInputBytes, m_Bytes); !s) return s;
        const bool gob = m_Bytes.size() >= kGobMagic.size() &&
                         std::equal(kGobMagic.begin(), kGobMagic.end(), m_Bytes.begin());
        if (gob) {
            if (Status s = ReadGob(m_Bytes, path.string(), m_Gob); !s) return s;
            for (const auto& m : m_Gob.m_pMembers) {
                const auto dot = m->m_strName.rfind('.');
                m_Members.push_back({m->m_strName,
                                     dot == std::string::npos ? "" : ToUpper(m->m_strName.substr(dot + 1)),
                                     m->m_nOffset, m->data()});
            }
            return Status::Ok();
        }
        if (Status s = m_Lfd.Read(m_Bytes, path.string()); !s) return s;
        for (const LfdMember& m : m_Lfd.members())
            m_Members.push_back({m.m_strName, m.m_strType, m.m_nOffset, m.m_Data});
        return Status::Ok();
    }

    const std::vector<ArchiveMember>& members() const { return m_Members; }

    // A member named NAME, or NAME.TYPE for LFD members, ignoring case.
    const ArchiveMember* Find(std::string_view wanted) const {
        for (const ArchiveMember& m : m_Members)
            if (EqualsNoCase(m.m_strName, wanted)) return &m;
        for (const ArchiveMember& m : m_Members)
            if (EqualsNoCase(m.m_strName + "." + m.m_strType, wanted)) return &m;
        return nullptr;
    }

private:
    std::vector<std::uint8_t> m_Bytes;
    GobArchive m_Gob;
    LfdArchive m_Lfd;
    std::vector<ArchiveMember> m_Members;
};

int List(const CliArgs& args) {
    if (args.positional().size() != 1) return UsageError("res list takes one archive");
    AnyArchive archive;
    if (Status s = archive.Read(args.positional()[0]); !s) return Fail(s.message());
    const auto& members = archive.members();
    const bool json = args.flag("--json");
    if (json)
        std::printf("[");
    else
        std::printf("%-12s %-4s %10s %10s\n", "NAME", "TYPE", "OFFSET", "SIZE");
    for (std::size_t i = 0; i < members.size(); ++i) {
        const ArchiveMember& m = members[i];
        if (json)
            std::printf("%s{\"name\":%s,\"type\":%s,\"offset\":%u,\"size\":%zu}", i ? "," : "",
                        JsonString(m.m_strName).c_str(), JsonString(m.m_strType).c_str(), m.m_nOffset,
                        m.m_Data.size());
        else
            std::printf("%-12s %-4s %10u %10zu\n", m.m_strName.c_str(), m.m_strType.c_str(), m.m_nOffset,
                        m.m_Data.size());
    }
    if (json)
        std::printf("]\n");
    else
        std::printf("%zu members\n", members.size());
    return 0;
}

int Extract(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() != 3) return UsageError("res extract takes an archive, a member and an output file");
    AnyArchive archive;
    if (Status s = archive.Read(p[0]); !s) return Fail(s.message());
    const ArchiveMember* m = archive.Find(p[1]);
    if (!m) return Fail(p[0] + ": no member named " + p[1]);
    if (Status s = WriteBytesFile(p[2], m->m_Data); !s) return Fail(s.message());
    return 0;
}

// What convert was asked to pick and how to colour it.
struct ConvertOptions {
    GamePalette m_Palette;
    WaxSelection m_Selection;
    int m_nFrame = 0;
    BmCompression m_Compression = kBmPlain;
};

Status ReadPalette(const CliArgs& args, GamePalette& palette) {
    palette = GamePalette::Grey();
    const auto pal = args.value("--palette");
    if (!pal) return Status::Ok();
    std::vector<std::uint8_t> bytes;
    if (Status s = ReadResourceFile(*pal, kMaxInputBytes, bytes); !s) return s;
    return GamePalette::Read(bytes, *pal, palette);
}

Status PickFrame(std::size_t count, int frame, const std::string& name) {
    if (frame < 0 || static_cast<std::size_t>(frame) >= count)
        return Status::Fail(name + ": there is no picture " + std::to_string(frame) + " (it holds " +
                            std::to_string(count) + ").");
    return Status::Ok();
}

// Decodes the picture the options choose from a game picture file or reads a BMP or PNG.
Status LoadPicture(const fs::path& path, const ConvertOptions& options, IndexedImage& out) {
    const std::string ext = ToLower(path.extension().string());
    if (ext == ".png") return ReadPng(path, out);
    std::vector<std::uint8_t> bytes;
    if (Status s = ReadResourceFile(path, kMaxInputBytes, bytes); !s) return s;
    const std::string name = path.string();
    const GamePalette& palette = options.m_Palette;
    if (ext == ".bmp") return out.ReadBmp(bytes, name);
    if (ext == ".bm") {
        std::vector<IndexedImage> frames;
        if (Status s = DecodeBm(bytes, name, palette, true, frames); !s) return s;
        if (Status s = PickFrame(frames.size(), options.m_nFrame, name); !s) return s;
        out = std::move(frames[static_cast<std::size_t>(options.m_nFrame)]);
        return Status::Ok();
    }
    if (ext == ".fme") {
        SpriteFrame frame;
        if (Status s = DecodeFme(bytes, name, palette, true, frame); !s) return s;
        out = std::move(frame.m_Image);
        return Status::Ok();
    }
    if (ext == ".wax") {
        WaxSelection selection = options.m_Selection;
        selection.m_nSelectedFrame = options.m_nFrame;
        std::vector<SpriteFrame> frames;
        if (Status s = DecodeWax(bytes, name, palette, true, selection, frames); !s) return s;
        if (frames.empty())
            return Status::Fail(name + ": there is no frame " + std::to_string(options.m_nFrame) +
                                " in view " + std::to_string(selection.m_nSelectedView) + " of state " +
                                std::to_string(selection.m_nSelectedState) + ".");
        out = std::move(frames.front().m_Image);
        return Status::Ok();
    }
    if (ext == ".dlt") {
        DeltPicture picture;
        if (Status s = DecodeDelt(bytes, name, palette, true, picture); !s) return s;
        out = std::move(picture.m_Image);
        return Status::Ok();
    }
    if (ext == ".anm") {
        std::vector<DeltPicture> frames;
        if (Status s = DecodeAnim(bytes, name, palette, true, frames); !s) return s;
        if (Status s = PickFrame(frames.size(), options.m_nFrame, name); !s) return s;
        out = std::move(frames[static_cast<std::size_t>(options.m_nFrame)].m_Image);
        if (out.width() == 0)
            return Status::Fail(name + ": picture " + std::to_string(options.m_nFrame) + " is empty.");
        return Status::Ok();
    }
    return Status::Fail(name + ": cannot read pictures of this kind (.bm .fme .wax .dlt .anm .bmp .png).");
}

// The same indices with the chosen palette and a BMP header.
IndexedImage WithPalette(const IndexedImage& image, const GamePalette& palette) {
    IndexedImage out;
    out.Create(palette, kPaletteMultiplier, image.width(), image.height(), true);
    for (int r = 0; r < image.height(); ++r) {
        const auto src = image.row(r);
        std::copy(src.begin(), src.end(), out.row(r).begin());
    }
    return out;
}

Status SavePicture(const IndexedImage& image, const fs::path& path, const ConvertOptions& options) {
    const std::string ext = ToLower(path.extension().string());
    if (ext == ".png") return WritePng(WithPalette(image, options.m_Palette), path);
    std::vector<std::uint8_t> bytes;
    Status encoded = Status::Ok();
    if (ext == ".bmp")
        encoded = WithPalette(image, options.m_Palette).WriteBmp(bytes);
    else if (ext == ".bm")
        encoded = EncodeBm(image, options.m_Compression, bytes);
    else
        encoded = BuildSpriteResource(path.string(), std::span(&image, 1), nullptr, bytes);
    if (!encoded) return encoded;
    return WriteBytesFile(path, bytes);
}

Status ReadOptions(const CliArgs& args, ConvertOptions& options) {
    const std::pair<const char*, int*> numbers[] = {{"--state", &options.m_Selection.m_nSelectedState},
                                                    {"--view", &options.m_Selection.m_nSelectedView},
                                                    {"--frame", &options.m_nFrame}};
    for (const auto& [option, target] : numbers)
        if (auto v = args.value(option))
            if (!ParseCount(*v, *target))
                return Status::Fail("the option " + std::string(option) + " needs a number");
    int compression = 0;
    if (auto v = args.value("--compression"); v && (!ParseCount(*v, compression) || compression > 2))
        return Status::Fail("the option --compression takes 0, 1 or 2");
    options.m_Compression = static_cast<BmCompression>(compression);
    return Status::Ok();
}

int Convert(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() != 2) return UsageError("res convert takes an input and an output file");
    ConvertOptions options;
    if (Status s = ReadOptions(args, options); !s) return UsageError(s.message());
    if (Status s = ReadPalette(args, options.m_Palette); !s) return Fail(s.message());
    IndexedImage image;
    if (Status s = LoadPicture(p[0], options, image); !s) return Fail(s.message());
    if (Status s = SavePicture(image, p[1], options); !s) return Fail(s.message());
    std::printf("%s: %d x %d\n", p[1].c_str(), image.width(), image.height());
    return 0;
}

int WaxExport(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() != 2) return UsageError("wax export takes a picture file and a folder");
    GamePalette palette;
    if (Status s = ReadPalette(args, palette); !s) return Fail(s.message());
    std::vector<std::uint8_t> bytes;
    if (Status s = ReadResourceFile(p[0], kMaxInputBytes, bytes); !s) return Fail(s.message());
    std::vector<ExportedFile> files;
    if (Status s = ExportSpriteResource(bytes, p[0], palette, files); !s) return Fail(s.message());
    if (Status s = WriteExportFolder(p[1], files); !s) return Fail(s.message());
    std::printf("%zu files written to %s\n", files.size(), p[1].c_str());
    return 0;
}

// The BMP files of a folder in name order, which is cell order for an export's cell0000.bmp ....
std::vector<fs::path> BmpFilesByName(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file(ec) && EqualsNoCase(e.path().extension().string(), ".bmp"))
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

int WaxBuild(const CliArgs& args) {
    const auto& p = args.positional();
    if (p.size() != 2) return UsageError("wax build takes a folder and an output file");
    const fs::path folder = p[0];
    if (!fs::is_directory(folder)) return Fail(p[0] + ": not a folder");
    std::vector<IndexedImage> pictures;
    for (const fs::path& file : BmpFilesByName(folder)) {
        std::vector<std::uint8_t> bytes;
        IndexedImage picture;
        if (Status s = ReadResourceFile(file, kMaxInputBytes, bytes); !s) return Fail(s.message());
        if (Status s = picture.ReadBmp(bytes, file.string()); !s) return Fail(s.message());
        pictures.push_back(std::move(picture));
    }
    std::optional<WaxMap> map;
    if (EqualsNoCase(fs::path(p[1]).extension().string(), ".wax")) {
        std::vector<std::uint8_t> text;
        const fs::path mapPath = folder / kWaxMapFileName;
        if (Status s = ReadResourceFile(mapPath, kMaxInputBytes, text); !s) return Fail(s.message());
        map.emplace();
        const std::string_view mapText(reinterpret_cast<const char*>(text.data()), text.size());
        if (Status s = ParseWaxMap(mapText, mapPath.string(), *map); !s) return Fail(s.message());
    }
    std::vector<std::uint8_t> out;
    if (Status s = BuildSpriteResource(p[1], pictures, map ? &*map : nullptr, out); !s)
        return Fail(s.message());
    if (Status s = WriteBytesFile(p[1], out); !s) return Fail(s.message());
    std::printf("%s: %zu pictures\n", p[1].c_str(), pictures.size());
    return 0;
}

} // namespace

int RunRes(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("res needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()},
                       {"--palette", "--state", "--view", "--frame", "--compression"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kResUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "list") return List(args);
    if (sub == "extract") return Extract(args);
    if (sub == "convert") return Convert(args);
    return UsageError("unknown res subcommand '" + sub + "'");
}

int RunWax(const std::vector<std::string>& words) {
    if (words.empty()) return UsageError("wax needs a subcommand");
    const std::string sub = words[0];
    const CliArgs args({words.begin() + 1, words.end()}, {"--palette"});
    if (sub == "--help" || args.flag("--help")) {
        std::fputs(kWaxUsage, stdout);
        return 0;
    }
    if (!args.error().empty()) return UsageError(args.error());
    if (sub == "export") return WaxExport(args);
    if (sub == "build") return WaxBuild(args);
    return UsageError("unknown wax subcommand '" + sub + "'");
}

} // namespace morvi::cli
