#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace morvi {

// A set of separator characters, built once (usually constexpr) and tested in constant time.
class CharSet {
public:
    constexpr explicit CharSet(std::string_view chars) {
        for (char c : chars) m_Bits[static_cast<unsigned char>(c) >> 6] |= std::uint64_t(1) << (c & 63);
    }
    constexpr bool contains(char c) const {
        return (m_Bits[static_cast<unsigned char>(c) >> 6] >> (static_cast<unsigned char>(c) & 63)) & 1;
    }

private:
    std::array<std::uint64_t, 4> m_Bits{};
};

// The game texts' tokeniser: each call names its own separator set, skips a run of separators,
// takes the token up to the next separator and continues after that separator. Tokens are never
// empty; an empty result means the line has no more tokens.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view line) : m_Line(line) {}

    std::string_view next(const CharSet& seps) {
        std::size_t i = m_nPos;
        while (i < m_Line.size() && seps.contains(m_Line[i])) ++i;
        if (i >= m_Line.size()) {
            m_nPos = m_Line.size();
            return {};
        }
        std::size_t j = i;
        while (j < m_Line.size() && !seps.contains(m_Line[j])) ++j;
        m_nPos = j < m_Line.size() ? j + 1 : j;
        return m_Line.substr(i, j - i);
    }
    int nextInt(const CharSet& seps);
    double nextDouble(const CharSet& seps);

    // The text after the last token and its separator.
    std::string_view rest() const { return m_Line.substr(m_nPos); }
    bool atEnd() const { return m_nPos >= m_Line.size(); }

private:
    std::string_view m_Line;
    std::size_t m_nPos = 0;
};

// Leading-number conversions of the game texts: leading blanks are skipped, the longest number
// at the start is taken, and anything that is not a number reads as 0. Integers beyond 32 bits
// are clamped; reals that are not finite read as 0.
int LeadingInt(std::string_view s);
double LeadingDouble(std::string_view s);

} // namespace morvi
