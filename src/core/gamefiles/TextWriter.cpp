#include "gamefiles/TextWriter.h"

#include <charconv>

namespace morvi {

TextWriter& TextWriter::integer(long long v, int width, bool zeroPad) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    const std::string_view digits(buf, static_cast<std::size_t>(r.ptr - buf));
    if (zeroPad && v < 0) {
        m_Out.push_back('-');
        pad(digits.size(), width, '0');
        m_Out.append(digits.substr(1));
    } else {
        pad(digits.size(), width, zeroPad ? '0' : ' ');
        m_Out.append(digits);
    }
    return *this;
}

TextWriter& TextWriter::fixed(double v, int precision, int width) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
    return right(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)), width);
}

TextWriter& TextWriter::left(std::string_view s, int width) {
    m_Out.append(s);
    pad(s.size(), width, ' ');
    return *this;
}

TextWriter& TextWriter::right(std::string_view s, int width) {
    pad(s.size(), width, ' ');
    m_Out.append(s);
    return *this;
}

} // namespace morvi
