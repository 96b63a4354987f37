#pragma once

#include <string>
#include <string_view>

namespace morvi {

// ASCII-only case mapping: game names are ASCII and bytes above 127 (CP437 comments) pass through.
inline char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
inline char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
// Orders as ToLower(a) < ToLower(b) would, without copying.
bool LessNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool IsAlnumAscii(char c);
// Blanks, tabs and line-end characters removed from the left, the right, or both ends.
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
std::string_view Trim(std::string_view s);

} // namespace morvi
