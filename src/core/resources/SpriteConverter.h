#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"
#include "resources/IndexedImage.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// The sprite converter turns game pictures (WAX, FME, BM, DELT, ANIM) into 8-bit BMP files that any
// paint program edits, and builds game pictures back from such BMPs. A WAX's structure travels
// beside its cells as a text "map": scenes (states) list sequences (views), sequences list frames,
// frames name cells, all by index counted from 0.

// The message shown as is when a map file was not written by us.
inline constexpr std::string_view kIllegalMapMessage = "Cannot create WAX file\ndue to illegal map file.";
// The name of the map file in an export folder.
inline constexpr std::string_view kWaxMapFileName = "schema.map";
// A scene of an exported WAX lists at most this many sequences.
inline constexpr int kMaxSceneSequences = 8;

struct WaxMapScene {
    std::vector<int> m_Sequences; // distinct consecutive views, in view order
    std::int32_t m_nFrameRate = 0;
    std::int32_t m_nWorldWidth = 0;
    std::int32_t m_nWorldHeight = 0;

    bool operator==(const WaxMapScene&) const = default;
};

struct WaxMapFrame {
    int m_nCell = 0;
    std::int32_t m_nX = 0;
    std::int32_t m_nY = 0;
    std::int32_t m_nFlip = 0;

    bool operator==(const WaxMapFrame&) const = default;
};

// The structure of a WAX as the map file holds it.
struct WaxMap {
    std::vector<WaxMapScene> m_Scenes;
    std::vector<std::vector<int>> m_Sequences; // frame indices of each sequence
    std::vector<WaxMapFrame> m_Frames;
    std::vector<std::int32_t> m_CellComp; // the compressed word of each cell

    bool operator==(const WaxMap&) const = default;
};

// A WAX walked into a map, with where to find each cell for decoding it.
struct WaxWalk {
    WaxMap m_Map;
    std::vector<std::uint32_t> m_CellFrameOffsets; // the first frame naming each cell
    // Per scene, the view slot where each of its listed sequences first shows.
    std::vector<std::vector<int>> m_SceneViewSlots;
};

// Walks the states of a WAX in order and, in each, its view slots; a slot naming the same view as
// the slot before adds nothing and the walk of a state stops once it has 8 views. Sequences,
// frames and cells are numbered in the order the walk first meets them; views the walk never
// reaches are left out.
Status WalkWax(std::span<const std::uint8_t> bytes, std::string_view name, WaxWalk& out);

// The four lists of map lines (scene, sequence, frame, cell), each line ending in "\n".
struct WaxMapLines {
    std::vector<std::string> m_Scenes;
    std::vector<std::string> m_Sequences;
    std::vector<std::string> m_Frames;
    std::vector<std::string> m_Cells;
};
WaxMapLines FormatWaxMapLines(const WaxMap& map);

// The whole map file; sourceName is the WAX it was exported from.
std::string WriteWaxMap(const WaxMap& map, std::string_view sourceName);

// Reads a map file. One whose first line does not name us fails with kIllegalMapMessage; any
// other fault (missing lines, indices out of range, a field that is not a number) fails with a
// message naming the file and the line. On failure out is left as it was.
Status ParseWaxMap(std::string_view text, std::string_view name, WaxMap& out);

// Builds a WAX from a map, cell k being pictures[k]; every cell is written plain. Appends to out.
Status BuildWax(const WaxMap& map, std::span<const IndexedImage> pictures, std::vector<std::uint8_t>& out);

// Builds an FME of the picture (no offset, not flipped, plain cell). Appends to out.
Status BuildFme(const IndexedImage& picture, std::vector<std::uint8_t>& out);

// Builds the resource an output file name's extension asks for (.wax .bm .fme .anm .dlt, any case)
// from the pictures in order: a WAX needs map, the others ignore it. A BM of several pictures is
// an animated one; an FME or DELT takes the first picture. Appends to out.
Status BuildSpriteResource(std::string_view outputName, std::span<const IndexedImage> pictures,
                           const WaxMap* map, std::vector<std::uint8_t>& out);

struct ExportedFile {
    std::string m_strName;
    std::vector<std::uint8_t> m_Bytes;
};

// The files an export of the member writes, BMPs coloured with palette: a WAX's cells in index
// order as cell0000.bmp ... and schema.map; a BM's pictures as bm000001.bmp ...; frame.bmp;
// delt.bmp; an ANIM's non-empty pictures as anim0001.bmp .... The kind comes from name's extension.
Status ExportSpriteResource(std::span<const std::uint8_t> bytes, std::string_view name,
                            const GamePalette& palette, std::vector<ExportedFile>& out);

// True for the names an export writes (cell0000.bmp, bm000001.bmp, anim0001.bmp, frame.bmp,
// delt.bmp, the same as .png, schema.map; any case).
bool IsExportFileName(std::string_view fileName);

// Writes the files into folder, creating it when missing. Earlier exports' files in it are deleted
// first, so that an import of the folder sees only this one; no other file is touched.
Status WriteExportFolder(const std::filesystem::path& folder, std::span<const ExportedFile> files);

} // namespace morvi
