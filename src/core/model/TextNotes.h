#pragma once

#include <string>
#include <vector>

namespace morvi {

// What a forgiving text reader passed over or repaired, with the line it happened on. Readers
// never fail on text; these notes let the level checker and the command line tell the user.
struct TextNote {
    TextNote() = default;
    TextNote(int line, std::string text, std::string member = {})
        : m_nLine(line), m_strText(std::move(text)), m_strMember(std::move(member)) {}

    int m_nLine = 0;
    std::string m_strText;
    // The archive member the text came from, when it came from one.
    std::string m_strMember;
};
using TextNotes = std::vector<TextNote>;

} // namespace morvi
