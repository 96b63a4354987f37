#pragma once

#include "model/Status.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataLevel;
class GamePalette;

// What the Files dialog's Add offers: the kinds of file a level carries, as the archive tools write
// their filters.
inline constexpr std::string_view kAddResourceFilter =
    "WAX Files (*.wax)|*.wax|BM Files (*.bm)|*.bm|FME Files (*.fme)|*.fme|3DO Files (*.3do)|*.3do|"
    "VOC Files (*.voc)|*.voc|VUE Files (*.vue)|*.vue|LST Files (*.lst)|*.lst|GMD Files (*.gmd)|*.gmd|"
    "CMP Files (*.cmp)|*.cmp|PAL Files (*.pal)|*.pal|LFD Files (*.lfd)|*.lfd||";

// True when the Files list shows a member of this name: game resources of the kinds the level
// can carry, and the palette and colour map of the current level (levelName, any case). The
// level's own text members are left to the text editor.
bool IsShownResource(std::string_view memberName, std::string_view levelName);

// Indices into level.m_pMembers of the members the Files list shows, in member order, for the
// level's current level name.
std::vector<std::size_t> ShownResources(const CDataLevel& level);

// Lays the members out as the GOB writer does: the first at offset 8, each next right after the
// previous one. Fails, leaving the offsets unchanged, when the members exceed a GOB's 4 GB.
Status RecomputeOffsets(CDataLevel& level);

// Adds a file as a new member: its name (any folder part dropped) upper-cased, its bytes as the
// data, appended to the member list and to the kind list its name selects. Names longer than
// the 12 characters a GOB entry holds are refused with a message.
Status AddResource(CDataLevel& level, std::string_view filePath, std::span<const std::uint8_t> data);

// Reads the file and adds it as AddResource does; a name that cannot be held is refused before
// the file is read.
Status AddResourceFile(CDataLevel& level, const std::filesystem::path& path);

// Writes member i to path exactly as it is held (atomically: a failed write keeps the old file).
Status SaveResourceAs(const CDataLevel& level, std::size_t i, const std::filesystem::path& path);

// What Edit does with a member: VUE and LST members open as raw text, palettes in Edit Palette.
enum class ResourceEdit { None, VueText, LstText, Palette };
ResourceEdit ResourceEditOf(std::string_view memberName);

// The extension the preview decodes a member by (".wax", ".bm", ...), chosen by the first kind
// its name holds as the kind lists choose; empty for members the preview cannot show (texts,
// music, colour maps, LFD archives).
std::string PreviewExtensionOf(std::string_view memberName);

// Copies the palette over the first 768 bytes of member i (the rest of a longer member stays).
// changed tells whether a byte differed. Fails for an index out of range or a member too short
// to be a palette.
Status StoreResourcePalette(CDataLevel& level, std::size_t i, const GamePalette& palette, bool& changed);

// Deletes member i from the member list and its kind list. Fails for an index out of range.
Status DeleteResource(CDataLevel& level, std::size_t i);

// The names of the level's own members for a picker extension (".bm", ".fme", ".wax", ".3do",
// ".voc"; any case), taken from the kind list that holds that kind.
std::vector<std::string> LevelResourceNames(const CDataLevel& level, std::string_view extension);

} // namespace morvi
