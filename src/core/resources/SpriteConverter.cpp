#include "resources/SpriteConverter.h"

#include "resources/SpriteEncoder.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/LineReader.h"
#include "gamefiles/TextWriter.h"
#include "model/ByteStream.h"
#include "model/CDataLevel.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/FmeFile.h"
#include "resources/SpriteEncoder.h"
#include "resources/WaxFile.h"

#include <charconv>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace morvi {

namespace {

// ---- Walking a WAX into a map

class WaxWalker {
public:
    explicit WaxWalker(const WaxFile& wax) : m_Wax(wax) {}

    void Walk(WaxWalk& out) {
        m_pOut = &out;
        for (const WaxState& state : m_Wax.m_States)
            out.m_Map.m_Scenes.push_back(WalkState(state, out.m_SceneViewSlots.emplace_back()));
    }

private:
    // The reader numbers each distinct view offset once, so equal indices mean equal offsets.
    WaxMapScene WalkState(const WaxState& state, std::vector<int>& slots) {
        WaxMapScene scene;
        scene.m_nFrameRate = state.m_nFrameRate;
        scene.m_nWorldWidth = state.m_nWorldWidth;
        scene.m_nWorldHeight = state.m_nWorldHeight;
        int previous = -1;
        for (std::size_t slot = 0; slot < state.m_Views.size(); ++slot) {
            const int view = state.m_Views[slot];
            if (view == previous) continue;
            if (scene.m_Sequences.size() == kMaxSceneSequences) break;
            previous = view;
            scene.m_Sequences.push_back(SequenceIndex(view));
            slots.push_back(static_cast<int>(slot));
        }
        return scene;
    }

    int SequenceIndex(int view) {
        if (const auto known = m_Sequences.find(view); known != m_Sequences.end()) return known->second;
        const int index = static_cast<int>(m_Sequences.size());
        m_Sequences[view] = index;
        std::vector<int> frames;
        for (const int frame : m_Wax.m_Views[static_cast<std::size_t>(view)].m_Frames)
            frames.push_back(FrameIndex(frame));
        m_pOut->m_Map.m_Sequences.push_back(std::move(frames));
        return index;
    }

    int FrameIndex(int frame) {
        if (const auto known = m_Frames.find(frame); known != m_Frames.end()) return known->second;
        const int index = static_cast<int>(m_Frames.size());
        m_Frames[frame] = index;
        const WaxFrame& source = m_Wax.m_Frames[static_cast<std::size_t>(frame)];
        m_pOut->m_Map.m_Frames.push_back(WaxMapFrame{CellIndex(source.m_nCell, source.m_nOffset), source.m_nX,
                                                     source.m_nY, source.m_bFlip ? 1 : 0});
        return index;
    }

    int CellIndex(int cell, std::uint32_t frameOffset) {
        if (const auto known = m_Cells.find(cell); known != m_Cells.end()) return known->second;
        const int index = static_cast<int>(m_Cells.size());
        m_Cells[cell] = index;
        m_pOut->m_Map.m_CellComp.push_back(
            m_Wax.m_Cells[static_cast<std::size_t>(cell)].m_Header.m_nCompressed);
        m_pOut->m_CellFrameOffsets.push_back(frameOffset);
        return index;
    }

    const WaxFile& m_Wax;
    WaxWalk* m_pOut = nullptr;
    std::map<int, int> m_Sequences;
    std::map<int, int> m_Frames;
    std::map<int, int> m_Cells;
};

// The indices a map holds must name existing parts before anything is built from them: an index
// out of range would otherwise become an offset into nowhere.
Status CheckMap(const WaxMap& map, std::string_view name) {
    const auto inRange = [](int index, std::size_t count) {
        return index >= 0 && static_cast<std::size_t>(index) < count;
    };
    const auto fail = [name](const std::string& problem) {
        return Status::Fail(std::string(name) + ": " + problem);
    };
    if (map.m_Scenes.size() > kWaxListLength) return fail("a WAX holds at most 32 scenes.");
    for (std::size_t s = 0; s < map.m_Scenes.size(); ++s) {
        if (map.m_Scenes[s].m_Sequences.size() > kWaxListLength)
            return fail("scene " + std::to_string(s) + " lists more than 32 sequences.");
        for (const int sequence : map.m_Scenes[s].m_Sequences)
            if (!inRange(sequence, map.m_Sequences.size()))
                return fail("scene " + std::to_string(s) + " names sequence " + std::to_string(sequence) +
                            ", but there are " + std::to_string(map.m_Sequences.size()) + ".");
    }
    for (std::size_t q = 0; q < map.m_Sequences.size(); ++q) {
        if (map.m_Sequences[q].size() > kWaxListLength)
            return fail("sequence " + std::to_string(q) + " lists more than 32 frames.");
        for (const int frame : map.m_Sequences[q])
            if (!inRange(frame, map.m_Frames.size()))
                return fail("sequence " + std::to_string(q) + " names frame " + std::to_string(frame) +
                            ", but there are " + std::to_string(map.m_Frames.size()) + ".");
    }
    for (std::size_t f = 0; f < map.m_Frames.size(); ++f)
        if (!inRange(map.m_Frames[f].m_nCell, map.m_CellComp.size()))
            return fail("frame " + std::to_string(f) + " names cell " +
                        std::to_string(map.m_Frames[f].m_nCell) + ", but there are " +
                        std::to_string(map.m_CellComp.size()) + ".");
    return Status::Ok();
}

// ---- Reading a map

std::optional<std::int32_t> ParseNumber(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The comma-separated fields of a line, blanks trimmed, empty ones dropped.
std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view field = Trim(text.substr(0, comma));
        if (!field.empty()) fields.push_back(field);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return fields;
}

// The word right before a field's '=' ("0: cell= 3" has the key "cell"), or empty.
std::string_view KeyOf(std::string_view field) {
    const std::size_t equals = field.find('=');
    if (equals == std::string_view::npos) return {};
    std::size_t start = equals;
    while (start > 0 && field[start - 1] >= 'a' && field[start - 1] <= 'z')
        --start;
    return field.substr(start, equals - start);
}

std::string_view ValueOf(std::string_view field) {
    return field.substr(field.find('=') + 1);
}

enum class Section { Scenes, Sequences, Frames, Cells };

struct SectionWord {
    std::string_view m_strWord;
    Section m_Section;
    const char* m_pLineName;
};

constexpr SectionWord kSections[] = {
    {"scenes", Section::Scenes, "scene"},
    {"sequences", Section::Sequences, "sequence"},
    {"frames", Section::Frames, "frame"},
    {"cells", Section::Cells, "cell"},
};

class MapParser {
public:
    MapParser(std::string_view text, std::string_view name) : m_Lines(text), m_Name(name) {}

    Status Parse(WaxMap& out) {
        std::string_view first;
        if (!m_Lines.next(first) || first.find("#Generated by Morvi") == std::string_view::npos)
            return Status::Fail(std::string(kIllegalMapMessage));
        std::string_view raw;
        while (m_Lines.next(raw)) {
            const std::string line = ToLower(Trim(raw));
            if (line.starts_with("wax")) continue;
            for (const SectionWord& section : kSections)
                if (line.starts_with(section.m_strWord))
                    if (Status read = ReadSection(section, line); !read) return read;
        }
        if (Status checked = CheckMap(m_Map, m_Name); !checked) return checked;
        out = std::move(m_Map);
        return Status::Ok();
    }

private:
    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_Name) + ": " + problem);
    }
    Status FailAtLine(const std::string& problem) const {
        return Fail("line " + std::to_string(m_Lines.lineNumber()) + ": " + problem);
    }

    // The count is only trusted as far as lines follow: nothing is sized by it.
    Status ReadSection(const SectionWord& section, std::string_view line) {
        const std::optional<std::int32_t> count = ParseNumber(line.substr(section.m_strWord.size()));
        if (!count || *count < 0)
            return FailAtLine("the " + std::string(section.m_strWord) + " count is not a number.");
        if (m_Seen[static_cast<int>(section.m_Section)])
            return FailAtLine("the " + std::string(section.m_strWord) + " are listed twice.");
        m_Seen[static_cast<int>(section.m_Section)] = true;
        if (section.m_Section == Section::Scenes && *count > kWaxListLength)
            return FailAtLine("a WAX holds at most 32 scenes, not " + std::to_string(*count) + ".");
        for (std::int32_t i = 0; i < *count; ++i) {
            std::string_view raw;
            if (!m_Lines.next(raw))
                return Fail("the map ends after " + std::to_string(i) + " of its " + std::to_string(*count) +
                            " " + section.m_pLineName + " lines.");
            if (Status read = ReadLine(section.m_Section, ToLower(raw)); !read) return read;
        }
        return Status::Ok();
    }

    Status ReadLine(Section section, std::string_view line) {
        switch (section) {
        case Section::Scenes:
            return ReadScene(line);
        case Section::Sequences:
            return ReadSequence(line);
        case Section::Frames:
            return ReadFrame(line);
        case Section::Cells:
            return ReadCell(line);
        }
        return Status::Ok();
    }

    Status ReadScene(std::string_view line) {
        const std::size_t seq = line.find("seq=");
        if (seq == std::string_view::npos) return FailAtLine("the scene line has no \"seq=\".");
        WaxMapScene scene;
        for (const std::string_view field : Fields(line.substr(seq + 4))) {
            const std::string_view key = KeyOf(field);
            const std::optional<std::int32_t> value = ParseNumber(key.empty() ? field : ValueOf(field));
            if (!value) return FailAtLine("\"" + std::string(field) + "\" is not a number.");
            if (key == "fr")
                scene.m_nFrameRate = *value;
            else if (key == "ww")
                scene.m_nWorldWidth = *value;
            else if (key == "wh")
                scene.m_nWorldHeight = *value;
            else if (key.empty())
                scene.m_Sequences.push_back(*value);
        }
        if (scene.m_Sequences.size() > kWaxListLength)
            return FailAtLine("a scene has 32 views, but the line lists " +
                              std::to_string(scene.m_Sequences.size()) + " sequences.");
        m_Map.m_Scenes.push_back(std::move(scene));
        return Status::Ok();
    }

    Status ReadSequence(std::string_view line) {
        const std::size_t frames = line.find("frames=");
        if (frames == std::string_view::npos) return FailAtLine("the sequence line has no \"frames=\".");
        std::vector<int> sequence;
        for (const std::string_view field : Fields(line.substr(frames + 7))) {
            const std::optional<std::int32_t> value = ParseNumber(field);
            if (!value) return FailAtLine("\"" + std::string(field) + "\" is not a frame number.");
            sequence.push_back(*value);
        }
        if (sequence.size() > kWaxListLength)
            return FailAtLine("a sequence holds at most 32 frames, not " + std::to_string(sequence.size()) +
                              ".");
        m_Map.m_Sequences.push_back(std::move(sequence));
        return Status::Ok();
    }

    // The keyed number of a line; a missing or unreadable one is a fault.
    Status Keyed(std::string_view line, std::string_view key, std::int32_t& out) const {
        for (const std::string_view field : Fields(line)) {
            if (KeyOf(field) != key) continue;
            const std::optional<std::int32_t> value = ParseNumber(ValueOf(field));
            if (!value) return FailAtLine("\"" + std::string(field) + "\" is not a number.");
            out = *value;
            return Status::Ok();
        }
        return FailAtLine("the line has no \"" + std::string(key) + "=\".");
    }

    Status ReadFrame(std::string_view line) {
        WaxMapFrame frame;
        std::int32_t cell = 0;
        for (const auto& [key, field] : {std::pair<std::string_view, std::int32_t*>{"cell", &cell},
                                         {"x", &frame.m_nX},
                                         {"y", &frame.m_nY},
                                         {"flip", &frame.m_nFlip}})
            if (Status read = Keyed(line, key, *field); !read) return read;
        frame.m_nCell = cell;
        m_Map.m_Frames.push_back(frame);
        return Status::Ok();
    }

    // The file named in a cell line is not used: cell k is always the k-th picture.
    Status ReadCell(std::string_view line) {
        std::int32_t comp = 0;
        if (Status read = Keyed(line, "comp", comp); !read) return read;
        m_Map.m_CellComp.push_back(comp);
        return Status::Ok();
    }

    LineReader m_Lines;
    std::string_view m_Name;
    WaxMap m_Map;
    bool m_Seen[4] = {};
};

// ---- Building

// A picture as a plain sprite cell: the header, then its columns, each from the bottom row up.
Status CheckCellPicture(const IndexedImage& picture, std::size_t index) {
    if (picture.width() < 1 || picture.height() < 1)
        return Status::Fail("WAX: picture " + std::to_string(index + 1) + " is empty.");
    return Status::Ok();
}

// The 32 view slots of a scene: the last listed sequence takes the top 32 / n slots, the one
// before it the next 32 / n, and the first listed also every slot left at the bottom.
std::vector<int> FillViewSlots(const std::vector<int>& sequences) {
    if (sequences.empty()) return {};
    std::vector<int> slots(kWaxListLength, sequences.front());
    const std::size_t share = kWaxListLength / sequences.size();
    std::size_t top = kWaxListLength;
    for (std::size_t j = sequences.size(); j-- > 0;)
        for (std::size_t k = 0; k < share; ++k)
            slots[--top] = sequences[j];
    return slots;
}

// The map's parts in its order, each cell a plain one of its picture; a scene's view slots are
// filled from the top.
Status EncodeMappedWax(const WaxMap& map, std::span<const IndexedImage> pictures,
                       std::vector<std::uint8_t>& out) {
    const std::size_t cells = map.m_CellComp.size();
    if (pictures.size() < cells)
        return Status::Fail("WAX: the map names " + std::to_string(cells) + " cells, but there are only " +
                            std::to_string(pictures.size()) + " pictures.");
    WaxEncoder wax;
    for (std::size_t k = 0; k < cells; ++k) {
        if (Status checked = CheckCellPicture(pictures[k], k); !checked) return checked;
        wax.AddCell(pictures[k], false);
    }
    for (const WaxMapFrame& frame : map.m_Frames)
        wax.AddFrame(frame.m_nCell, frame.m_nX, frame.m_nY, frame.m_nFlip != 0);
    for (const std::vector<int>& sequence : map.m_Sequences)
        wax.AddView(sequence);
    for (const WaxMapScene& scene : map.m_Scenes)
        wax.AddState(scene.m_nWorldWidth, scene.m_nWorldHeight, scene.m_nFrameRate,
                     FillViewSlots(scene.m_Sequences));
    return wax.Write(out);
}

// ---- Exporting

std::string Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : ToLower(name.substr(dot));
}

std::string Numbered(std::string_view prefix, int number, int digits) {
    std::string name(prefix);
    TextWriter(name).integer(number, digits, true).raw(".bmp");
    return name;
}

Status AddBmp(const IndexedImage& picture, std::string name, std::vector<ExportedFile>& out) {
    ExportedFile file{std::move(name), {}};
    if (Status written = picture.WriteBmp(file.m_Bytes); !written) return written;
    out.push_back(std::move(file));
    return Status::Ok();
}

Status ExportWax(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                 std::vector<ExportedFile>& out) {
    WaxWalk walk;
    if (Status walked = WalkWax(bytes, name, walk); !walked) return walked;
    for (std::size_t k = 0; k < walk.m_CellFrameOffsets.size(); ++k) {
        SpriteFrame frame;
        if (Status decoded = DecodeSpriteFrame(bytes, walk.m_CellFrameOffsets[k], name, palette, true, frame);
            !decoded)
            return decoded;
        if (Status added = AddBmp(frame.m_Image, Numbered("cell", static_cast<int>(k), 4), out); !added)
            return added;
    }
    const std::string text = WriteWaxMap(walk.m_Map, name);
    out.push_back(
        ExportedFile{std::string(kWaxMapFileName), std::vector<std::uint8_t>(text.begin(), text.end())});
    return Status::Ok();
}

Status ExportPictures(std::span<const std::uint8_t> bytes, std::string_view name,
                      const std::string& extension, const GamePalette& palette,
                      std::vector<ExportedFile>& out) {
    if (extension == ".bm") {
        std::vector<IndexedImage> pictures;
        if (Status decoded = DecodeBm(bytes, name, palette, true, pictures); !decoded) return decoded;
        for (std::size_t i = 0; i < pictures.size(); ++i)
            if (Status added = AddBmp(pictures[i], Numbered("bm", static_cast<int>(i + 1), 6), out); !added)
                return added;
        return Status::Ok();
    }
    if (extension == ".fme") {
        SpriteFrame frame;
        if (Status decoded = DecodeFme(bytes, name, palette, true, frame); !decoded) return decoded;
        return AddBmp(frame.m_Image, "frame.bmp", out);
    }
    if (extension == ".dlt") {
        DeltPicture picture;
        if (Status decoded = DecodeDelt(bytes, name, palette, true, picture); !decoded) return decoded;
        return AddBmp(picture.m_Image, "delt.bmp", out);
    }
    std::vector<DeltPicture> pictures;
    if (Status decoded = DecodeAnim(bytes, name, palette, true, pictures); !decoded) return decoded;
    int number = 0;
    for (const DeltPicture& picture : pictures)
        if (picture.m_Image.width() > 0)
            if (Status added = AddBmp(picture.m_Image, Numbered("anim", ++number, 4), out); !added)
                return added;
    return Status::Ok();
}

bool AllDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// prefix, at least digits digits, ".bmp" (or ".png", which an export may write instead).
bool IsNumberedBmp(std::string_view name, std::string_view prefix, std::size_t digits) {
    constexpr std::size_t kExtension = 4;
    if (!name.starts_with(prefix) || !(name.ends_with(".bmp") || name.ends_with(".png"))) return false;
    if (name.size() < prefix.size() + digits + kExtension) return false;
    return AllDigits(name.substr(prefix.size(), name.size() - prefix.size() - kExtension));
}

} // namespace

Status WalkWax(std::span<const std::uint8_t> bytes, std::string_view name, WaxWalk& out) {
    WaxFile wax;
    if (Status read = WaxFile::Read(bytes, name, wax); !read) return read;
    WaxWalk walk;
    WaxWalker(wax).Walk(walk);
    out = std::move(walk);
    return Status::Ok();
}

WaxMapLines FormatWaxMapLines(const WaxMap& map) {
    WaxMapLines lines;
    for (std::size_t i = 0; i < map.m_Scenes.size(); ++i) {
        const WaxMapScene& scene = map.m_Scenes[i];
        std::string line;
        TextWriter out(line);
        out.integer(static_cast<long long>(i)).raw(": Seq= ");
        for (const int sequence : scene.m_Sequences)
            out.integer(sequence).raw(", ");
        out.raw("fr= ").integer(scene.m_nFrameRate).raw(", ww= ").integer(scene.m_nWorldWidth);
        out.raw(", wh= ").integer(scene.m_nWorldHeight).raw("\n");
        lines.m_Scenes.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < map.m_Sequences.size(); ++i) {
        std::string line;
        TextWriter out(line);
        out.integer(static_cast<long long>(i)).raw(": Frames= ");
        for (const int frame : map.m_Sequences[i])
            out.integer(frame).raw(", ");
        lines.m_Sequences.push_back(std::move(out.raw("\n").str()));
    }
    for (std::size_t i = 0; i < map.m_Frames.size(); ++i) {
        const WaxMapFrame& frame = map.m_Frames[i];
        std::string line;
        TextWriter(line)
            .integer(static_cast<long long>(i))
            .raw(": Cell= ")
            .integer(frame.m_nCell)
            .raw(", x= ")
            .integer(frame.m_nX)
            .raw(", y= ")
            .integer(frame.m_nY)
            .raw(", flip= ")
            .integer(frame.m_nFlip)
            .raw("\n");
        lines.m_Frames.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < map.m_CellComp.size(); ++i) {
        std::string line;
        TextWriter(line)
            .integer(static_cast<long long>(i))
            .raw(", File= cell")
            .integer(static_cast<long long>(i), 4, true)
            .raw(".bmp, comp= ")
            .integer(map.m_CellComp[i])
            .raw("\n");
        lines.m_Cells.push_back(std::move(line));
    }
    return lines;
}

std::string WriteWaxMap(const WaxMap& map, std::string_view sourceName) {
    const WaxMapLines lines = FormatWaxMapLines(map);
    std::string text;
    TextWriter out(text);
    out.raw("#Generated by ").raw(kGeneratorTitle).raw("\n");
    out.raw("WAX ").raw(sourceName).raw("\n");
    const std::pair<const char*, const std::vector<std::string>*> sections[] = {
        {"SCENES ", &lines.m_Scenes},
        {"SEQUENCES ", &lines.m_Sequences},
        {"FRAMES ", &lines.m_Frames},
        {"CELLS ", &lines.m_Cells}};
    for (const auto& [word, list] : sections) {
        out.raw(word).integer(static_cast<long long>(list->size())).raw("\n");
        for (const std::string& line : *list)
            out.raw(line);
    }
    return text;
}

Status ParseWaxMap(std::string_view text, std::string_view name, WaxMap& out) {
    return MapParser(text, name).Parse(out);
}

Status BuildWax(const WaxMap& map, std::span<const IndexedImage> pictures, std::vector<std::uint8_t>& out) {
    if (Status checked = CheckMap(map, "WAX"); !checked) return checked;
    return EncodeMappedWax(map, pictures, out);
}

Status BuildFme(const IndexedImage& picture, std::vector<std::uint8_t>& out) {
    if (picture.width() < 1 || picture.height() < 1) return Status::Fail("FME: the picture is empty.");
    const std::vector<std::uint8_t> fme = EncodeFme(picture, 0, 0, false, false);
    out.insert(out.end(), fme.begin(), fme.end());
    return Status::Ok();
}

Status BuildSpriteResource(std::string_view outputName, std::span<const IndexedImage> pictures,
                           const WaxMap* map, std::vector<std::uint8_t>& out) {
    const std::string extension = Extension(outputName);
    if (extension == ".wax") {
        if (map == nullptr)
            return Status::Fail(std::string(outputName) + ": a WAX is built from a map file.");
        return BuildWax(*map, pictures, out);
    }
    if (extension != ".bm" && extension != ".fme" && extension != ".dlt" && extension != ".anm")
        return Status::Fail(std::string(outputName) +
                            ": pictures are built as .wax, .bm, .fme, .anm or .dlt only.");
    if (pictures.empty())
        return Status::Fail(std::string(outputName) + ": there are no pictures to build from.");
    if (extension == ".bm")
        return pictures.size() == 1 ? EncodeBm(pictures.front(), kBmPlain, out)
                                    : EncodeMultiBm(pictures, 0, out);
    if (extension == ".fme") return BuildFme(pictures.front(), out);
    if (extension == ".dlt") return EncodeDelt(DeltPicture{pictures.front(), 0, 0}, out);
    std::vector<DeltPicture> frames;
    for (const IndexedImage& picture : pictures)
        frames.push_back(DeltPicture{picture, 0, 0});
    return EncodeAnim(frames, out);
}

Status ExportSpriteResource(std::span<const std::uint8_t> bytes, std::string_view name,
                            const GamePalette& palette, std::vector<ExportedFile>& out) {
    const std::string extension = Extension(name);
    std::vector<ExportedFile> files;
    Status status;
    if (extension == ".wax")
        status = ExportWax(bytes, name, palette, files);
    else if (extension == ".bm" || extension == ".fme" || extension == ".dlt" || extension == ".anm")
        status = ExportPictures(bytes, name, extension, palette, files);
    else
        return Status::Fail(std::string(name) + ": only WAX, BM, FME, DELT and ANIM pictures are exported.");
    if (status) out = std::move(files);
    return status;
}

bool IsExportFileName(std::string_view fileName) {
    const std::string name = ToLower(fileName);
    return name == "frame.bmp" || name == "delt.bmp" || name == "frame.png" || name == "delt.png" ||
           name == kWaxMapFileName || IsNumberedBmp(name, "cell", 4) || IsNumberedBmp(name, "bm", 6) ||
           IsNumberedBmp(name, "anim", 4);
}

Status WriteExportFolder(const std::filesystem::path& folder, std::span<const ExportedFile> files) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return Status::Fail(folder.string() + ": the folder cannot be created (" + error.message() + ").");
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error) && IsExportFileName(it->path().filename().string()))
            stale.push_back(it->path());
    if (error)
        return Status::Fail(folder.string() + ": the folder cannot be listed (" + error.message() + ").");
    for (const fs::path& path : stale)
        if (!fs::remove(path, error) || error)
            return Status::Fail(path.string() + ": the file of an earlier export cannot be deleted.");
    for (const ExportedFile& file : files) {
        const Status written = WriteFileAtomically(folder / file.m_strName, [&file](ByteSink& sink) {
            sink.Write(file.m_Bytes);
            return Status::Ok();
        });
        if (!written) return written;
    }
    return Status::Ok();
}

} // namespace morvi
