#pragma once

#include <string>
#include <string_view>

namespace morvi::testing {

enum class LevelText { Lev, Objects, Inf };

// Reads text as a level's LEV, O or INF text, writes what was read, reads that back and writes
// it again. Returns what went wrong, one line each: the differences between the two levels read,
// and whether the two written texts differ. Empty when a save of the text is stable. The level
// checker runs over the first level read (it must not crash or hang, whatever the text).
std::string TextRoundTripFaults(LevelText kind, std::string_view text);

} // namespace morvi::testing
