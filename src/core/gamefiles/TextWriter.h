#pragma once

#include <string>
#include <string_view>

namespace morvi {

// Builds the game texts with the output of printf's %d, %Nd, %0Nd, %-Ns and %N.Pf conversions,
// without printf's cost: numbers go through std::to_chars, which rounds exactly as printf does.
class TextWriter {
public:
    explicit TextWriter(std::string& out) : m_Out(out) {}

    TextWriter& raw(std::string_view s) {
        m_Out.append(s);
        return *this;
    }
    // %d with a minimum width (right-aligned with blanks, or zeros after the sign).
    TextWriter& integer(long long v, int width = 0, bool zeroPad = false);
    // %W.Pf
    TextWriter& fixed(double v, int precision, int width = 0);
    // %-Ws: the text, then blanks up to the width.
    TextWriter& left(std::string_view s, int width);
    // %Ws: blanks up to the width, then the text.
    TextWriter& right(std::string_view s, int width);

    std::string& str() { return m_Out; }

private:
    void pad(std::size_t have, int width, char c) {
        if (width > 0 && have < static_cast<std::size_t>(width)) m_Out.append(static_cast<std::size_t>(width) - have, c);
    }

    std::string& m_Out;
};

} // namespace morvi
