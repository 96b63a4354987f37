#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// The named bit lists of the flag dialogs: a sector's first flag word, a wall's first and a
// wall's third. Entry k of a list names bit k (value 2^k) of the word.
enum class FlagList { Sector, Wall, Wall3 };

// The entry names of the list (20, 16 and 4), entry k for bit k.
std::span<const std::string_view> FlagEntries(FlagList list);

// The title of the list's dialog: "Sector Flag", or "Wall Flag" for both wall lists.
std::string_view FlagDialogTitle(FlagList list);

// Which entries of the list the word selects: entry k when bit k is set.
std::vector<bool> FlagSelectionFromWord(FlagList list, int word);

// The word after the list's selection changed: the listed bits as the selection says (an entry
// beyond the end of selected counts as not selected), every bit beyond the list kept as it was in
// previousWord. A level may hold bits no entry names; editing the named ones never drops them.
int FlagWordFromSelection(FlagList list, int previousWord, const std::vector<bool>& selected);

} // namespace morvi
