#include "DemoArt.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace morvi::demo {

namespace {

// 3 x 5 glyphs, five rows of three bits each (top row first, leftmost pixel the high bit).
struct Glyph {
    char m_cChar;
    std::array<std::uint8_t, 5> m_Rows;
};

constexpr std::array<Glyph, 41> kFont{{
    {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}}, {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},
    {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}},
    {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}}, {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}},
    {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}}, {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}},
    {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}},
    {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}}, {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}},
    {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}}, {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}},
    {'2', {6, 1, 2, 4, 7}}, {'3', {6, 1, 2, 1, 6}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 6, 1, 6}},
    {'6', {3, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}}, {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 6}},
    {' ', {0, 0, 0, 0, 0}}, {'-', {0, 0, 7, 0, 0}}, {'.', {0, 0, 0, 0, 2}}, {':', {0, 2, 0, 2, 0}},
    {'!', {2, 2, 2, 0, 2}},
}};

const Glyph* FindGlyph(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : kFont)
        if (g.m_cChar == c) return &g;
    return nullptr;
}

} // namespace

std::uint32_t DemoRandom::next() {
    // xorshift32: small, fast and the same everywhere.
    std::uint32_t x = m_nState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    m_nState = x;
    return x;
}

int DemoRandom::below(int n) {
    return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint32_t>(n));
}

void Canvas::Plot(int x, int y, std::uint8_t index) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return;
    m_Image.setPixel(x, height() - 1 - y, index);
}

std::uint8_t Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    return m_Image.pixel(x, height() - 1 - y);
}

void Canvas::FillRect(int x, int y, int w, int h, std::uint8_t index) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, height()); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, width()); ++xx)
            Plot(xx, yy, index);
}

void Canvas::FrameRect(int x, int y, int w, int h, std::uint8_t index) {
    if (w <= 0 || h <= 0) return;
    FillRect(x, y, w, 1, index);
    FillRect(x, y + h - 1, w, 1, index);
    FillRect(x, y, 1, h, index);
    FillRect(x + w - 1, y, 1, h, index);
}

void Canvas::Bevel(int x, int y, int w, int h, Ramp ramp, int face, int depth) {
    FillRect(x, y, w, h, Shade(ramp, face));
    for (int d = 0; d < depth; ++d) {
        FillRect(x + d, y + d, w - 2 * d, 1, Shade(ramp, face + 4));
        FillRect(x + d, y + d, 1, h - 2 * d, Shade(ramp, face + 3));
        FillRect(x + d, y + h - 1 - d, w - 2 * d, 1, Shade(ramp, face - 5));
        FillRect(x + w - 1 - d, y + d, 1, h - 2 * d, Shade(ramp, face - 4));
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, std::uint8_t index) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Plot(x0, y0, index);
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::Disc(int cx, int cy, int radius, std::uint8_t index) {
    Ellipse(cx, cy, radius, radius, index);
}

void Canvas::Ellipse(int cx, int cy, int rx, int ry, std::uint8_t index) {
    if (rx < 0 || ry < 0) return;
    const long long rx2 = static_cast<long long>(rx) * rx + rx, ry2 = static_cast<long long>(ry) * ry + ry;
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x)
            if (static_cast<long long>(x) * x * ry2 + static_cast<long long>(y) * y * rx2 <= rx2 * ry2)
                Plot(cx + x, cy + y, index);
}

void Canvas::Grain(int x, int y, int w, int h, Ramp ramp, int amount, DemoRandom& random) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, height()); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, width()); ++xx) {
            Ramp r;
            int shade;
            const int delta = random.between(-amount, amount);
            if (RampOf(At(xx, yy), r, shade) && r == ramp) Plot(xx, yy, Shade(ramp, shade + delta));
        }
}

void Canvas::Gradient(int x, int y, int w, int h, Ramp ramp, int top, int bottom) {
    for (int row = 0; row < h; ++row) {
        const int shade = h <= 1 ? top : top + (bottom - top) * row / (h - 1);
        FillRect(x, y + row, w, 1, Shade(ramp, shade));
    }
}

int Canvas::Text(int x, int y, std::string_view text, std::uint8_t index, int scale) {
    int pen = x;
    for (char c : text) {
        if (const Glyph* g = FindGlyph(c))
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (g->m_Rows[static_cast<std::size_t>(row)] & (4 >> col))
                        FillRect(pen + col * scale, y + row * scale, scale, scale, index);
        pen += 4 * scale;
    }
    return pen - x;
}

int Canvas::TextWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 4 * scale - scale;
}

IndexedImage BlankPicture(int width, int height) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, false);
    return image;
}

bool RampOf(std::uint8_t index, Ramp& ramp, int& shade) {
    if (index < kFirstRampIndex) return false;
    ramp = static_cast<Ramp>((index - kFirstRampIndex) / kShades);
    shade = (index - kFirstRampIndex) % kShades;
    return true;
}

} // namespace morvi::demo
