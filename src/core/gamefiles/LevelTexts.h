#pragma once

#include "model/CDataLevel.h"

#include <optional>
#include <string>
#include <string_view>

namespace morvi {

// The level's members that are edited as raw text: the current level's INF and GOL files, the
// first .LVL and the first .MSG member.
enum class LevelText { Inf, Gol, Lvl, Msg };

// The member's text up to its first NUL byte; nothing when the level has no such member. The INF
// text is the level's INF items written out when the member no longer says what they say.
std::optional<std::string> GetLevelText(const CDataLevel& level, LevelText which);
// Replaces the member's data by text (without a terminator). Setting the INF text also rebuilds
// the INF part from it. False, and nothing changed, when the level has no such member: the
// accessors never create members.
bool SetLevelText(CDataLevel& level, LevelText which, std::string_view text);

// The same for the first member of that name, ignoring case (.VUE and .LST files).
std::optional<std::string> GetMemberText(const CDataLevel& level, std::string_view memberName);
bool SetMemberText(CDataLevel& level, std::string_view memberName, std::string_view text);

} // namespace morvi
