#pragma once

#include <string>
#include <vector>

namespace morvi {

// What an INF editor page asks of the current item when it writes its fields: one line to set
// (keyword with its colon, then a tab and the value), the class line to replace, or a list of
// lines to write in place of every line with the keyword. The working copy applies it.
struct InfLineEdit {
    enum class Rule {
        SetLine,      // the set-line rule; an empty value removes the line
        ReplaceClass, // replaces the last line of the item that contains "class:"
        List,         // every line with the keyword removed, one line per name appended
    };
    Rule m_Rule = Rule::SetLine;
    std::string m_strKeyword;         // "speed:", "slave:", ...
    std::string m_strValue;           // SetLine and ReplaceClass
    std::vector<std::string> m_Names; // List
    bool operator==(const InfLineEdit&) const = default;
};

} // namespace morvi
