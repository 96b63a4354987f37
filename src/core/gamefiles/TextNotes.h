#pragma once

#include <string>
#include <vector>

namespace morvi {

// What a forgiving text reader passed over or repaired, with the line it happened on. Readers
// never fail on text; these notes let the level checker and the command line tell the user.
struct TextNote {
    int m_nLine = 0;
    std::string m_strText;
};
using TextNotes = std::vector<TextNote>;

} // namespace morvi
