#include "gamefiles/Tokenizer.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace morvi {

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
} // namespace

int LeadingInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(value);
}

double LeadingDouble(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i < s.size() && s[i] == '+') {
        ++i;
        if (i < s.size() && s[i] == '-') return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(s.data() + i, s.data() + s.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

int Tokenizer::nextInt(const CharSet& seps) { return LeadingInt(next(seps)); }
double Tokenizer::nextDouble(const CharSet& seps) { return LeadingDouble(next(seps)); }

} // namespace morvi
