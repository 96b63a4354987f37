#pragma once

#include "model/Status.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataLevel;

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

// Deletes member i from the member list and its kind list. Fails for an index out of range.
Status DeleteResource(CDataLevel& level, std::size_t i);

// The names of the level's own members for a picker extension (".bm", ".fme", ".wax", ".3do",
// ".voc"; any case), taken from the kind list that holds that kind.
std::vector<std::string> LevelResourceNames(const CDataLevel& level, std::string_view extension);

} // namespace morvi
