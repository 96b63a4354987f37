#include "resources/SpriteEditor.h"

#include "gamefiles/AtomicFile.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/FmeFile.h"
#include "resources/LfdArchive.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace morvi {

namespace {

// Nothing the editor reads is near this size; it only keeps a stray huge file out of memory.
constexpr std::uint64_t kMaxPictureFileBytes = 64u << 20;

std::string Number(int n, std::size_t digits) {
    std::string text = std::to_string(n);
    if (text.size() < digits) text.insert(0, digits - text.size(), '0');
    return text;
}

std::string Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : ToLower(name.substr(dot));
}

SpriteTreeNode Node(SpriteTreeNode::Kind kind, std::string label) {
    SpriteTreeNode node;
    node.m_Kind = kind;
    node.m_strLabel = std::move(label);
    return node;
}

SpriteTreeNode Picture(std::string label, int index) {
    SpriteTreeNode node = Node(SpriteTreeNode::Kind::Picture, std::move(label));
    node.m_nPicture = index;
    return node;
}

Status WaxTree(std::span<const std::uint8_t> bytes, std::string_view name, SpriteTreeNode& root) {
    WaxWalk walk;
    if (Status walked = WalkWax(bytes, name, walk); !walked) return walked;
    const WaxMap& map = walk.m_Map;
    for (std::size_t s = 0; s < map.m_Scenes.size(); ++s) {
        SpriteTreeNode scene = Node(SpriteTreeNode::Kind::Scene, "Scene " + std::to_string(s + 1));
        scene.m_nState = static_cast<int>(s);
        const std::vector<int>& sequences = map.m_Scenes[s].m_Sequences;
        for (std::size_t q = 0; q < sequences.size(); ++q) {
            const int index = sequences[q];
            SpriteTreeNode sequence =
                Node(SpriteTreeNode::Kind::Sequence, "Sequence " + std::to_string(index + 1));
            sequence.m_nState = scene.m_nState;
            sequence.m_nViewSlot = walk.m_SceneViewSlots[s][q];
            const std::vector<int>& frames = map.m_Sequences[static_cast<std::size_t>(index)];
            for (std::size_t f = 0; f < frames.size(); ++f) {
                const int cell = map.m_Frames[static_cast<std::size_t>(frames[f])].m_nCell;
                SpriteTreeNode frame =
                    Node(SpriteTreeNode::Kind::Frame,
                         "Frame " + std::to_string(frames[f] + 1) + " - Cell " + std::to_string(cell + 1));
                frame.m_nState = sequence.m_nState;
                frame.m_nViewSlot = sequence.m_nViewSlot;
                frame.m_nFrameSlot = static_cast<int>(f);
                frame.m_nPicture = cell;
                sequence.m_Children.push_back(std::move(frame));
            }
            scene.m_Children.push_back(std::move(sequence));
        }
        root.m_Children.push_back(std::move(scene));
    }
    return Status::Ok();
}

// The pictures of the other kinds: decoding them checks the file the way the preview will read it.
Status PictureTree(std::span<const std::uint8_t> bytes, std::string_view name, const std::string& extension,
                   SpriteTreeNode& root) {
    const GamePalette grey;
    if (extension == ".fme") {
        SpriteFrame frame;
        if (Status decoded = DecodeFme(bytes, name, grey, false, frame); !decoded) return decoded;
        root.m_Children.push_back(Picture("frame", 0));
    } else if (extension == ".bm") {
        std::vector<IndexedImage> pictures;
        if (Status decoded = DecodeBm(bytes, name, grey, false, pictures); !decoded) return decoded;
        for (std::size_t i = 0; i < pictures.size(); ++i)
            root.m_Children.push_back(
                Picture("texture " + Number(static_cast<int>(i + 1), 2), static_cast<int>(i)));
    } else if (extension == ".dlt") {
        DeltPicture picture;
        if (Status decoded = DecodeDelt(bytes, name, grey, false, picture); !decoded) return decoded;
        root.m_Children.push_back(Picture("delt", 0));
    } else if (extension == ".anm") {
        std::vector<DeltPicture> pictures;
        if (Status decoded = DecodeAnim(bytes, name, grey, false, pictures); !decoded) return decoded;
        int shown = 0;
        for (const DeltPicture& picture : pictures)
            if (picture.m_Image.width() > 0) {
                root.m_Children.push_back(Picture("delt " + Number(shown + 1, 2), shown));
                ++shown;
            }
    } else {
        return Status::Fail(std::string(name) +
                            ": only WAX, FME, BM, DELT and ANIM files are shown as pictures.");
    }
    return Status::Ok();
}

} // namespace

Status BuildSpriteTree(std::span<const std::uint8_t> bytes, std::string_view name, SpriteTreeNode& out) {
    SpriteTreeNode root = Node(SpriteTreeNode::Kind::Root, std::filesystem::path(name).filename().string());
    const std::string extension = Extension(name);
    const Status built =
        extension == ".wax" ? WaxTree(bytes, name, root) : PictureTree(bytes, name, extension, root);
    if (built) out = std::move(root);
    return built;
}

Status ListPictureFiles(const std::filesystem::path& folder, std::vector<std::filesystem::path>& out,
                        std::string_view extension) {
    namespace fs = std::filesystem;
    std::error_code error, entryError;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (EqualsNoCase(it->path().extension().string(), extension) && it->is_regular_file(entryError))
            files.push_back(it->path());
    if (error)
        return Status::Fail(folder.string() + ": the folder cannot be listed (" + error.message() + ").");
    // Names equal but for case keep a fixed order too.
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        const std::string left = a.filename().string();
        const std::string right = b.filename().string();
        if (LessNoCase(left, right)) return true;
        return !LessNoCase(right, left) && left < right;
    });
    out = std::move(files);
    return Status::Ok();
}

SpriteTreeNode ImportTree(const std::filesystem::path& folder, std::span<const std::filesystem::path> files) {
    SpriteTreeNode root = Node(SpriteTreeNode::Kind::Root, folder.filename().string());
    for (std::size_t i = 0; i < files.size(); ++i) {
        SpriteTreeNode node = Picture(files[i].filename().string(), static_cast<int>(i));
        node.m_Path = files[i];
        root.m_Children.push_back(std::move(node));
    }
    return root;
}

std::filesystem::path ExportFolderFor(const std::filesystem::path& chosen) {
    const std::string name = chosen.filename().string();
    return chosen.parent_path() / name.substr(0, name.find('.'));
}

std::vector<std::string> ExportFilesIn(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error, entryError;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (IsExportFileName(it->path().filename().string()) && it->is_regular_file(entryError))
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Status ReadPictureFiles(std::span<const std::filesystem::path> files, const GamePalette& palette,
                        TaskProgress& progress, std::vector<IndexedImage>& out,
                        const PictureFileFormat* format) {
    progress.m_nTotal = files.size();
    std::vector<IndexedImage> pictures(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (progress.Cancelled()) return Status::Fail("The pictures were not read: cancelled.");
        std::vector<std::uint8_t> bytes;
        if (Status read = ReadResourceFile(files[i], kMaxPictureFileBytes, bytes); !read) return read;
        const bool other = format && EqualsNoCase(files[i].extension().string(), format->m_strExtension);
        if (Status read = other ? format->m_Decode(bytes, files[i].string(), palette, pictures[i])
                                : pictures[i].ReadBmp(bytes, files[i].string());
            !read)
            return read;
        pictures[i].SetPalette(palette);
        progress.Advance(1);
    }
    out = std::move(pictures);
    return Status::Ok();
}

Status ReadWaxMapFile(const std::filesystem::path& path, WaxMap& out) {
    std::vector<std::uint8_t> bytes;
    if (Status read = ReadResourceFile(path, kMaxPictureFileBytes, bytes); !read) return read;
    return ParseWaxMap(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       path.string(), out);
}

Status SaveSpriteFile(const std::filesystem::path& output, std::span<const std::filesystem::path> files,
                      const GamePalette& palette, const WaxMap* map, TaskProgress& progress,
                      const PictureFileFormat* format) {
    std::vector<IndexedImage> pictures;
    if (Status read = ReadPictureFiles(files, palette, progress, pictures, format); !read) return read;
    std::vector<std::uint8_t> bytes;
    if (Status built = BuildSpriteResource(output.filename().string(), pictures, map, bytes); !built)
        return built;
    return WriteFileAtomically(output, [&bytes](ByteSink& sink) {
        sink.Write(bytes);
        return Status::Ok();
    });
}

Status ExportSpriteFile(std::span<const std::uint8_t> bytes, std::string_view name,
                        const GamePalette& palette, const std::filesystem::path& folder,
                        TaskProgress& progress, const PictureFileFormat* format) {
    std::vector<ExportedFile> files;
    if (Status exported = ExportSpriteResource(bytes, name, palette, files); !exported) return exported;
    if (format) {
        progress.m_nTotal = files.size();
        for (ExportedFile& file : files) {
            if (progress.Cancelled()) break;
            progress.Advance(1);
            if (!EqualsNoCase(std::filesystem::path(file.m_strName).extension().string(), ".bmp")) continue;
            IndexedImage picture;
            if (Status read = picture.ReadBmp(file.m_Bytes, file.m_strName); !read) return read;
            std::vector<std::uint8_t> encoded;
            if (Status written = format->m_Encode(picture, encoded); !written) return written;
            file.m_Bytes = std::move(encoded);
            file.m_strName =
                std::filesystem::path(file.m_strName).replace_extension(format->m_strExtension).string();
        }
    }
    if (progress.Cancelled()) return Status::Fail("The export was cancelled; nothing was written.");
    return WriteExportFolder(folder, files);
}

int SpriteFrameMilliseconds(int frameRate) {
    return frameRate > 0 ? std::max(1, 1000 / frameRate) : 100;
}

} // namespace morvi
