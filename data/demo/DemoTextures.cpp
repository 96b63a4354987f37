#include "DemoTextures.h"

#include "DemoArt.h"
#include "resources/BmFile.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace morvi::demo {

namespace {

// ---------------------------------------------------------------------------------------------
// Drawing helpers. Light comes from the top left: top and left edges catch it, bottom and right
// edges and everything below a ledge fall into shadow.

// Moves a drawn pixel by delta shades along its own ramp; transparent pixels stay transparent.
void ShiftPixel(Canvas& c, int x, int y, int delta) {
    Ramp ramp;
    int shade;
    if (RampOf(c.At(x, y), ramp, shade)) c.Plot(x, y, Shade(ramp, shade + delta));
}

void ShiftRect(Canvas& c, int x, int y, int w, int h, int delta) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, c.height()); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, c.width()); ++xx)
            ShiftPixel(c, xx, yy, delta);
}

bool InEllipse(int dx, int dy, int rx, int ry) {
    const long long rx2 = static_cast<long long>(rx) * rx + rx, ry2 = static_cast<long long>(ry) * ry + ry;
    return static_cast<long long>(dx) * dx * ry2 + static_cast<long long>(dy) * dy * rx2 <= rx2 * ry2;
}

// Stains, worn spots and halos: shifts the shade of everything inside the ellipse.
void ShiftEllipse(Canvas& c, int cx, int cy, int rx, int ry, int delta) {
    for (int dy = -ry; dy <= ry; ++dy)
        for (int dx = -rx; dx <= rx; ++dx)
            if (InEllipse(dx, dy, rx, ry)) ShiftPixel(c, cx + dx, cy + dy, delta);
}

// Grime on percent of the pixels, up to amount shades either way, whatever their material.
void Dirt(Canvas& c, DemoRandom& r, int amount, int percent) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (r.below(100) < percent) ShiftPixel(c, x, y, r.between(-amount, amount));
}

// Soot and rust running down from row y.
void Streaks(Canvas& c, DemoRandom& r, int y, int count, int maxLength) {
    for (int i = 0; i < count; ++i) {
        const int x = r.below(c.width()), length = r.between(maxLength / 3 + 1, maxLength + 1);
        for (int k = 0; k < length; ++k)
            if (r.below(4) != 0) ShiftPixel(c, x, y + k, k < length / 2 ? -2 : -1);
    }
}

// Walls collect dirt at their feet.
void FootShadow(Canvas& c, int rows) {
    for (int k = 0; k < rows; ++k)
        ShiftRect(c, 0, c.height() - 1 - k, c.width(), 1, k < rows / 2 ? -2 : -1);
}

void Crack(Canvas& c, DemoRandom& r, int x, int y, int length) {
    for (int k = 0; k < length; ++k) {
        ShiftPixel(c, x, y, -4);
        ShiftPixel(c, x + 1, y + 1, 1);
        const int dx = r.between(-1, 1);
        x += dx;
        y += dx == 0 ? 1 : r.between(0, 1);
    }
}

// A rivet head: lit on its top left, its shadow falls to the bottom right.
void Rivet(Canvas& c, int x, int y, Ramp ramp) {
    c.Plot(x, y, Shade(ramp, 14));
    c.Plot(x + 1, y, Shade(ramp, 10));
    c.Plot(x, y + 1, Shade(ramp, 9));
    c.Plot(x + 1, y + 1, Shade(ramp, 5));
    ShiftPixel(c, x + 2, y + 1, -3);
    ShiftPixel(c, x + 1, y + 2, -3);
    ShiftPixel(c, x + 2, y + 2, -3);
}

void CornerRivets(Canvas& c, int x, int y, int w, int h, Ramp ramp, int inset) {
    Rivet(c, x + inset, y + inset, ramp);
    Rivet(c, x + w - inset - 3, y + inset, ramp);
    Rivet(c, x + inset, y + h - inset - 3, ramp);
    Rivet(c, x + w - inset - 3, y + h - inset - 3, ramp);
}

// A sunken panel: the opposite of Canvas::Bevel, dark top and left edges, lit bottom and right.
void Recess(Canvas& c, int x, int y, int w, int h, Ramp ramp, int face) {
    c.FillRect(x, y, w, h, Shade(ramp, face));
    c.FillRect(x, y, w, 1, Shade(ramp, face - 4));
    c.FillRect(x, y, 1, h, Shade(ramp, face - 3));
    c.FillRect(x, y + h - 1, w, 1, Shade(ramp, face + 3));
    c.FillRect(x + w - 1, y, 1, h, Shade(ramp, face + 2));
}

// Yellow and black warning stripes; they follow the picture's diagonal so that bands line up.
void Hazard(Canvas& c, int x, int y, int w, int h, int period) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            c.Plot(xx, yy, (xx + yy) % period < period / 2 ? Shade(Ramp::Gold, 11) : Shade(Ramp::Grey, 2));
    ShiftRect(c, x, y, w, 1, 3);
    ShiftRect(c, x, y + h - 1, w, 1, -3);
}

// A pipe or column: the highlight a third of the way across, the far side in shadow.
void Cylinder(Canvas& c, int x, int y, int w, int h, Ramp ramp, bool vertical, int hi = 13, int lo = 3) {
    const int across = vertical ? w : h, peak = across / 3, span = std::max(across - peak, 1);
    for (int i = 0; i < across; ++i) {
        const std::uint8_t index = Shade(ramp, hi - std::abs(i - peak) * (hi - lo) / span);
        if (vertical)
            c.FillRect(x + i, y, 1, h, index);
        else
            c.FillRect(x, y + i, w, 1, index);
    }
}

constexpr std::array<std::array<int, 4>, 4> kBayer{
    {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};

// A vertical gradient dithered between shades, as the era's skies and lamps were.
void SmoothGradient(Canvas& c, int x, int y, int w, int h, Ramp ramp, int top, int bottom) {
    for (int row = 0; row < h; ++row) {
        const int s16 = top * 16 + (bottom - top) * 16 * row / std::max(h - 1, 1);
        for (int col = 0; col < w; ++col) {
            const int bump =
                kBayer[static_cast<std::size_t>((y + row) & 3)][static_cast<std::size_t>((x + col) & 3)];
            c.Plot(x + col, y + row, Shade(ramp, s16 / 16 + (bump < s16 % 16 ? 1 : 0)));
        }
    }
}

// sin and cos of 32 directions, scaled by 256.
constexpr std::array<int, 9> kQuarterSine{0, 50, 98, 142, 181, 213, 237, 251, 256};

int Sine(int step) {
    step &= 31;
    if (step <= 8) return kQuarterSine[static_cast<std::size_t>(step)];
    if (step <= 16) return kQuarterSine[static_cast<std::size_t>(16 - step)];
    if (step <= 24) return -kQuarterSine[static_cast<std::size_t>(step - 16)];
    return -kQuarterSine[static_cast<std::size_t>(32 - step)];
}

int Cosine(int step) {
    return Sine(step + 8);
}

// Lines of text centred in a box, split at '|', as large as they fit, with a drop shadow.
void CentredText(Canvas& c, int x, int y, int w, int h, std::string_view text, std::uint8_t ink,
                 std::uint8_t shadow) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t bar = text.find('|', start);
        lines.push_back(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    const int n = static_cast<int>(lines.size());
    int scale = 3;
    auto fits = [&](int s) {
        for (std::string_view line : lines)
            if (Canvas::TextWidth(line, s) > w) return false;
        return n * 6 * s - s <= h;
    };
    while (scale > 1 && !fits(scale))
        --scale;
    int top = y + (h - (n * 6 * scale - scale)) / 2;
    for (std::string_view line : lines) {
        const int left = x + (w - Canvas::TextWidth(line, scale)) / 2;
        c.Text(left + 1, top + 1, line, shadow, scale);
        c.Text(left, top, line, ink, scale);
        top += 6 * scale;
    }
}

// ---------------------------------------------------------------------------------------------
// Painters. Each draws one kind of surface; the look chooses the materials and a variant. The
// random sequence is the same for every frame of an animated texture, so only what a painter
// draws from the frame number moves.

struct Look {
    Look(Ramp main = Ramp::Grey, Ramp accent = Ramp::Grey, int variant = 0, std::string_view text = {})
        : m_Main(main), m_Accent(accent), m_nVariant(variant), m_strText(text) {}

    Ramp m_Main;
    Ramp m_Accent;
    int m_nVariant;
    std::string_view m_strText;
};

using Painter = void (*)(Canvas&, DemoRandom&, const Look&, int frame);

// Variant 0: small bricks; 1: large blocks.
void PaintBricks(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int bw = look.m_nVariant == 1 ? 32 : 16, bh = look.m_nVariant == 1 ? 16 : 8;
    c.Fill(Shade(look.m_Accent, 3));
    for (int row = 0; row * bh < c.height(); ++row)
        for (int x = row % 2 ? -bw / 2 : 0; x < c.width(); x += bw)
            c.Bevel(x, row * bh, bw - 1, bh - 1, look.m_Main, r.between(6, 8));
    Dirt(c, r, 1, 60);
    for (int i = 0; i < c.width() / 32; ++i)
        Crack(c, r, r.below(c.width()), r.below(c.height()), r.between(4, 10));
    Streaks(c, r, 0, c.width() / 6, c.height() / 2);
    FootShadow(c, c.height() / 8);
}

// Rough-cut blocks of uneven width in courses of uneven height.
void PaintStone(Canvas& c, DemoRandom& r, const Look& look, int) {
    c.Fill(Shade(look.m_Main, 2));
    for (int y = 0; y < c.height();) {
        int rh = r.between(12, 20);
        if (c.height() - y - rh < 8) rh = c.height() - y;
        for (int x = 0; x < c.width();) {
            int bw = r.between(14, 30);
            if (c.width() - x - bw < 10) bw = c.width() - x;
            c.Bevel(x, y, bw - 1, rh - 1, look.m_Main, r.between(5, 8), 2);
            ShiftEllipse(c, x + r.below(bw), y + r.below(rh), r.between(1, 3), r.between(1, 2), -2);
            x += bw;
        }
        y += rh;
    }
    Dirt(c, r, 2, 70);
    for (int i = 0; i < c.width() / 16; ++i)
        Crack(c, r, r.below(c.width()), r.below(c.height()), r.between(3, 8));
    Streaks(c, r, 0, c.width() / 8, c.height() / 3);
    FootShadow(c, c.height() / 8);
}

// Riveted metal panels. Variant 0: a grid of plain panels; 1: panels with sunken centres;
// 2: narrow strips with light slots, as elevator cars are lined.
void PaintPanels(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int cols = look.m_nVariant == 2 ? 4 : 2, rows = look.m_nVariant == 1 ? c.height() / 32 : 2;
    const int pw = c.width() / cols, ph = c.height() / rows;
    c.Fill(Shade(look.m_Main, 2));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            const int x = col * pw, y = row * ph;
            c.Bevel(x, y, pw, ph, look.m_Main, r.between(6, 7), 2);
            if (look.m_nVariant == 1) Recess(c, x + 7, y + 7, pw - 14, ph - 14, look.m_Main, 5);
            if (look.m_nVariant == 2) {
                Recess(c, x + pw / 2 - 2, y + 6, 5, ph - 12, Ramp::Grey, 3);
                SmoothGradient(c, x + pw / 2 - 1, y + 7, 3, ph - 14, look.m_Accent, 15, 11);
            } else {
                CornerRivets(c, x, y, pw, ph, look.m_Main, 3);
            }
        }
    Dirt(c, r, 1, 50);
    Streaks(c, r, 0, c.width() / 8, c.height() / 3);
    FootShadow(c, c.height() / 10);
}

// Variant 0: a floor grate over a dark pit; 1: the same with see-through holes.
void PaintGrate(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int inset = 5, w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    c.FillRect(inset, inset, w - 2 * inset, h - 2 * inset, look.m_nVariant == 1 ? 0 : Shade(Ramp::Grey, 0));
    for (int x = inset + 1; x + 3 <= w - inset; x += 6)
        Cylinder(c, x, inset, 3, h - 2 * inset, look.m_Main, true, 11, 3);
    for (int y = inset + 12; y < h - inset - 4; y += 16)
        c.Bevel(inset, y, w - 2 * inset, 3, look.m_Main, 7);
    CornerRivets(c, 0, 0, w, h, look.m_Main, 1);
    Dirt(c, r, 1, 40);
}

// Floor tiles. Variant 0: large tiles; 1: small tiles in two shades; 2: bolted plates.
void PaintTiles(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int ts = look.m_nVariant == 1 ? 16 : 32;
    c.Fill(Shade(look.m_Main, 2));
    for (int y = 0; y < c.height(); y += ts)
        for (int x = 0; x < c.width(); x += ts) {
            int face = r.between(6, 8);
            if (look.m_nVariant == 1 && (x / ts + y / ts) % 2) face -= 2;
            c.Bevel(x, y, ts - 1, ts - 1, look.m_Main, face);
            if (look.m_nVariant == 2) CornerRivets(c, x, y, ts - 1, ts - 1, look.m_Main, 3);
        }
    Dirt(c, r, 1, 70);
    for (int i = 0; i < 3; ++i)
        ShiftEllipse(c, r.below(c.width()), r.below(c.height()), r.between(4, 10), r.between(3, 7), -1);
    Crack(c, r, r.below(c.width()), r.below(c.height()), r.between(5, 12));
}

// Poured concrete with form seams, pits and stains.
void PaintConcrete(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(look.m_Main, 7));
    Dirt(c, r, 1, 80);
    for (int y = 31; y < h; y += 32) {
        c.FillRect(0, y, w, 1, Shade(look.m_Main, 3));
        c.FillRect(0, y + 1, w, 1, Shade(look.m_Main, 9));
    }
    c.FillRect(w / 2, 0, 1, h, Shade(look.m_Main, 4));
    for (int i = 0; i < w * h / 100; ++i)
        ShiftPixel(c, r.below(w), r.below(h), -3);
    for (int i = 0; i < 3; ++i)
        ShiftEllipse(c, r.below(w), r.below(h), r.between(5, 12), r.between(3, 8), r.between(-2, -1));
    for (int i = 0; i < 2; ++i)
        Crack(c, r, r.below(w), r.below(h), r.between(6, 14));
    Streaks(c, r, 0, w / 8, h / 3);
}

// Diamond tread plate: raised bars, alternately slanted, each lit on top and shadowed below.
void PaintTreadPlate(Canvas& c, DemoRandom& r, const Look& look, int) {
    c.Fill(Shade(look.m_Main, 6));
    for (int y = 0; y < c.height(); y += 8)
        for (int x = 0; x < c.width(); x += 8) {
            const int ox = x + (y / 8 % 2) * 4;
            const bool rising = (x / 8 + y / 8) % 2 == 0;
            for (int k = 0; k < 4; ++k) {
                const int px = ox + k, py = rising ? y + 5 - k : y + 2 + k;
                c.Plot(px, py, Shade(look.m_Main, 11));
                c.Plot(px, py + 1, Shade(look.m_Main, 3));
            }
        }
    Dirt(c, r, 1, 60);
    ShiftEllipse(c, c.width() / 2, c.height() / 2, c.width() / 3, c.height() / 4, 1);
    ShiftEllipse(c, r.below(c.width()), r.below(c.height()), 8, 5, -2);
}

// Ceiling panels round a lamp. Variant 0: one big lamp; 1: four small ones.
void PaintCeilingLight(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    auto lamp = [&](int x, int y, int lw, int lh) {
        ShiftEllipse(c, x + lw / 2, y + lh / 2, lw / 2 + 8, lh / 2 + 8, 2);
        c.Bevel(x - 3, y - 3, lw + 6, lh + 6, Ramp::Grey, 8, 2);
        SmoothGradient(c, x, y, lw, lh, Ramp::Glow, 15, 11);
        for (int k = x + lw / 4; k < x + lw - 1; k += std::max(lw / 4, 3))
            c.FillRect(k, y, 1, lh, Shade(Ramp::Grey, 10));
    };
    if (look.m_nVariant == 0) {
        lamp(12, 12, w - 24, h - 24);
    } else {
        for (int y : {h / 4, 3 * h / 4})
            for (int x : {w / 4, 3 * w / 4})
                lamp(x - 5, y - 5, 10, 10);
    }
    CornerRivets(c, 0, 0, w, h, look.m_Main, 3);
    Dirt(c, r, 1, 30);
}

// Pipes on a dark wall, held by brackets. Variant 0: vertical; 1: horizontal.
void PaintPipes(Canvas& c, DemoRandom& r, const Look& look, int) {
    const bool vertical = look.m_nVariant == 0;
    const int along = vertical ? c.height() : c.width(), across = vertical ? c.width() : c.height();
    c.Fill(Shade(look.m_Accent, 3));
    Dirt(c, r, 1, 60);
    for (int p = 2; p < across - 6;) {
        const int pw = std::min(r.between(8, 16), across - 2 - p);
        if (vertical) {
            Cylinder(c, p, 0, pw, along, look.m_Main, true);
            ShiftRect(c, p + pw, 0, 2, along, -2);
        } else {
            Cylinder(c, 0, p, along, pw, look.m_Main, false);
            ShiftRect(c, 0, p + pw, along, 2, -2);
        }
        p += pw + r.between(3, 8);
    }
    for (int b = 12; b < along; b += 40) {
        if (vertical)
            c.Bevel(0, b, across, 5, Ramp::Grey, 7);
        else
            c.Bevel(b, 0, 5, across, Ramp::Grey, 7);
    }
    Dirt(c, r, 1, 40);
    Streaks(c, r, 0, c.width() / 4, c.height() / 2);
}

// A computer console: a screen of text above rows of buttons; the frame blinks the lamps and
// scrolls the screen.
void PaintConsole(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    const int w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    const int sw = w - 16, sh = h / 2 - 8;
    c.Bevel(6, 6, sw + 4, sh + 4, Ramp::Grey, 4, 2);
    c.FillRect(8, 8, sw, sh, Shade(Ramp::Teal, 2));
    const int py = h / 2 + 2;
    Recess(c, 4, py, w - 8, h - py - 5, Ramp::Grey, 4);
    constexpr std::array<Ramp, 5> kLamps{Ramp::Red, Ramp::Gold, Ramp::Teal, Ramp::Glow, Ramp::Blue};
    DemoRandom lights(static_cast<std::uint32_t>(frame * 97 + 5));
    for (int by = py + 3; by + 5 < h - 6; by += 7)
        for (int bx = 8; bx + 6 < w - 6; bx += 8) {
            const Ramp lamp = kLamps[static_cast<std::size_t>(r.below(5))];
            c.Bevel(bx, by, 5, 4, lamp, lights.below(3) != 0 ? 11 : 5);
        }
    DemoRandom text(static_cast<std::uint32_t>(frame * 31 + 3));
    for (int y = 10; y + 2 < 8 + sh; y += 3)
        for (int x = 10; x < 8 + sw - 3;) {
            const int len = text.between(1, 6);
            if (x + len > 8 + sw - 2) break;
            if (text.below(4) != 0) c.FillRect(x, y, len, 1, Shade(Ramp::Teal, text.between(9, 14)));
            x += len + 1;
        }
    Dirt(c, r, 1, 25);
}

// Variant 0: a sliding door with warning stripes; 1: a two-leaf blast door; 2: a plank door of
// riveted plates; 3: a ribbed door in a heavy frame.
void PaintDoor(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    const Ramp m = look.m_Main;
    c.Bevel(0, 0, w, h, m, 7, 2);
    switch (look.m_nVariant) {
    case 0:
        Hazard(c, 4, 4, w - 8, 12, 12);
        Hazard(c, 4, h - 16, w - 8, 12, 12);
        Recess(c, 8, 22, w - 16, h / 2 - 26, m, 5);
        Recess(c, 8, h / 2 + 2, w - 16, h / 2 - 22, m, 5);
        Recess(c, w / 2 - 12, h / 4, 24, 5, Ramp::Grey, 1);
        c.FillRect(w / 2 - 11, h / 4 + 1, 22, 3, Shade(Ramp::Blue, 4));
        CornerRivets(c, 0, 0, w, h, m, 5);
        break;
    case 1:
        for (int leaf = 0; leaf < 2; ++leaf)
            c.Bevel(leaf * w / 2, 0, w / 2, h, m, 7, 3);
        for (int y = 0; y < h; y += 16)
            Hazard(c, w / 2 - 6, y + 4, 12, 8, 8);
        for (int y = 12; y < h; y += 24)
            for (int x : {6, w / 2 - 14, w / 2 + 10, w - 10})
                Rivet(c, x, y, m);
        break;
    case 2:
        for (int y = 0; y < h; y += 16)
            c.Bevel(2, y, w - 4, 15, m, r.between(6, 8));
        for (int y = 4; y < h; y += 16)
            for (int x : {5, w - 9})
                Rivet(c, x, y, Ramp::Grey);
        c.Bevel(w - 14, h / 2 - 8, 6, 16, Ramp::Grey, 9);
        break;
    default:
        c.Bevel(0, 0, w, h, m, 4, 4);
        for (int x = 8; x + 6 <= w - 8; x += 8)
            Cylinder(c, x, 8, 6, h - 16, m, true, 12, 4);
        c.Bevel(8, h / 2 - 6, w - 16, 12, Ramp::Gold, 8);
        break;
    }
    Dirt(c, r, 1, 50);
    Streaks(c, r, 0, w / 8, h / 3);
    FootShadow(c, h / 12);
}

// The track a door slides in: two rails with a groove between. Variant 1 marks it with stripes.
void PaintTrack(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(Ramp::Grey, 2));
    Recess(c, 6, 0, w - 12, h, Ramp::Grey, 3);
    Cylinder(c, 1, 0, 5, h, look.m_Main, true);
    Cylinder(c, w - 6, 0, 5, h, look.m_Main, true);
    for (int y = 6; y < h; y += 16) {
        Rivet(c, 2, y, Ramp::Grey);
        Rivet(c, w - 5, y, Ramp::Grey);
    }
    if (look.m_nVariant == 1)
        for (int y = 8; y < h; y += 32)
            Hazard(c, 6, y, w - 12, 10, 8);
    Dirt(c, r, 1, 50);
    Streaks(c, r, 0, w / 4, h / 2);
}

// Variant 0: a metal crate with corner plates and a label; 1: a wooden crate with a brace;
// 2: a ribbed container.
void PaintCrate(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    const Ramp m = look.m_Main;
    switch (look.m_nVariant) {
    case 0:
        c.Bevel(0, 0, w, h, m, 7, 2);
        Recess(c, 8, 8, w - 16, h - 16, m, 6);
        for (int y : {0, h - 12})
            for (int x : {0, w - 12}) {
                c.Bevel(x, y, 12, 12, Ramp::Grey, 6, 2);
                Rivet(c, x + 4, y + 4, Ramp::Grey);
            }
        c.Bevel(w / 2 - 18, h / 2 - 8, 36, 16, look.m_Accent, 9);
        CentredText(c, w / 2 - 16, h / 2 - 6, 32, 12, look.m_strText, Shade(Ramp::Grey, 1),
                    Shade(look.m_Accent, 12));
        break;
    case 1:
        c.Fill(Shade(m, 2));
        for (int y = 0; y < h; y += 8)
            c.Bevel(0, y, w, 7, m, r.between(6, 8));
        // The brace runs corner to corner, lit along its upper edge; the frame boards cover its ends.
        for (int k = 0; k < 8; ++k)
            c.Line(0, h - 1 - k, w - 1, 7 - k, Shade(m, k == 7 ? 11 : (k == 0 ? 2 : 8)));
        for (int side = 0; side < 4; ++side) {
            const bool across = side < 2;
            const int x = across ? 0 : (side == 2 ? 0 : w - 6), y = across ? (side == 0 ? 0 : h - 6) : 0;
            c.Bevel(x, y, across ? w : 6, across ? 6 : h, m, 8);
        }
        CornerRivets(c, 0, 0, w, h, Ramp::Grey, 1);
        break;
    default:
        c.Fill(Shade(m, 3));
        for (int x = 4; x + 6 <= w - 4; x += 6)
            Cylinder(c, x, 6, 6, h - 12, m, true, 11, 4);
        c.Bevel(0, 0, w, 6, m, 8);
        c.Bevel(0, h - 6, w, 6, m, 6);
        c.Bevel(w / 2 - 14, h / 3 - 6, 28, 12, Ramp::White, 9);
        CentredText(c, w / 2 - 12, h / 3 - 4, 24, 8, look.m_strText, Shade(look.m_Accent, 4),
                    Shade(Ramp::White, 12));
        break;
    }
    Dirt(c, r, 1, 60);
    Streaks(c, r, 0, w / 8, h / 3);
    ShiftRect(c, 0, h - 3, w, 3, -2);
}

// A plate with lettering. Variant 0: plain; 1: with a striped border; 2: a screen.
void PaintSign(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 5, 2);
    int inset = 3;
    if (look.m_nVariant == 1) {
        Hazard(c, 2, 2, w - 4, h - 4, 8);
        c.Bevel(6, 6, w - 12, h - 12, look.m_Main, 5);
        inset = 7;
    } else if (look.m_nVariant == 2) {
        c.Bevel(2, 2, w - 4, h - 4, Ramp::Grey, 5, 2);
        SmoothGradient(c, 5, 5, w - 10, h - 10, look.m_Main, 3, 1);
        inset = 6;
    }
    CentredText(c, inset + 1, inset + 1, w - 2 * inset - 2, h - 2 * inset - 2, look.m_strText,
                Shade(look.m_Accent, 13), Shade(look.m_Main, 1));
    if (look.m_nVariant == 2)
        for (int y = 6; y < h - 5; y += 2)
            ShiftRect(c, 5, y, w - 10, 1, -1);
    Dirt(c, r, 1, 30);
    Streaks(c, r, 0, w / 10, h / 3);
}

// Clouds of overlapping puffs, each lit on top with a darker underside, wrapping round the
// picture's sides so that the sky joins up when it turns.
void Clouds(Canvas& c, DemoRandom& r, int count, int top, int bottom, Ramp ramp, int light) {
    const int w = c.width();
    for (int i = 0; i < count; ++i) {
        const int cx = r.below(w), cy = r.between(top, bottom);
        for (int k = r.between(3, 6); k > 0; --k) {
            const int px = cx + r.between(-20, 20), py = cy + r.between(-3, 3);
            const int rx = r.between(6, 16), ry = r.between(2, 5);
            for (int wrap : {-w, 0, w}) {
                c.Ellipse(px + wrap + 1, py + 2, rx, ry, Shade(ramp, light - 3));
                c.Ellipse(px + wrap, py, rx, ry, Shade(ramp, light));
                c.Ellipse(px + wrap - rx / 4, py - 1, rx / 2, ry / 2, Shade(ramp, light + 1));
            }
        }
    }
}

void Stars(Canvas& c, DemoRandom& r, int count, int maxY) {
    for (int i = 0; i < count; ++i) {
        const int x = r.below(c.width()), y = r.below(maxY);
        c.Plot(x, y, Shade(Ramp::White, r.between(4, 15)));
        if (r.below(12) == 0) {
            c.Plot(x, y, Shade(Ramp::White, 15));
            for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                c.Plot(x + dx, y + dy, Shade(Ramp::White, 6));
        }
    }
}

// A triangle wave that rises and falls count times over width, between 0 and amplitude.
int Triangle(int x, int count, int width, int amplitude) {
    const int t = (x * count) % width;
    return (t < width / 2 ? t : width - t) * 2 * amplitude / width;
}

// A mountain ridge built from waves that fit the picture's width a whole number of times, so
// the sky joins up when it turns full circle.
void Ridge(Canvas& c, DemoRandom& r, int base, int height, Ramp ramp, int shade) {
    const int w = c.width(), h = c.height();
    constexpr std::array<std::pair<int, int>, 3> kWaves{{{3, 8}, {7, 4}, {17, 2}}};
    std::array<int, 3> phases{};
    for (int& phase : phases)
        phase = r.below(w);
    for (int x = 0; x < w; ++x) {
        int y = base;
        for (std::size_t k = 0; k < kWaves.size(); ++k)
            y -= Triangle(x + phases[k], kWaves[k].first, w, kWaves[k].second * height / 8);
        y = std::clamp(y + r.between(0, 1), 0, h - 1);
        c.FillRect(x, y, 1, h - y, Shade(ramp, shade));
        c.Plot(x, y, Shade(ramp, shade + 3));
    }
}

void City(Canvas& c, DemoRandom& r) {
    const int h = c.height();
    for (int x = 0; x < c.width();) {
        const int bw = r.between(8, 24), bh = r.between(10, 44);
        c.FillRect(x, h - bh, bw, bh, Shade(Ramp::Grey, 1));
        c.FillRect(x, h - bh, bw, 1, Shade(Ramp::Grey, 3));
        for (int wy = 3; wy < bh - 1; wy += 4)
            for (int wx = 2; wx < bw - 1; wx += 3)
                if (r.below(5) == 0) c.Plot(x + wx, h - bh + wy, Shade(Ramp::Gold, r.between(9, 14)));
        x += bw;
    }
}

// A faint cloud of dust among the stars, thinning towards its rim.
void Nebula(Canvas& c, DemoRandom& r, int cx, int cy, int rx, int ry) {
    for (int ring = 3; ring >= 1; --ring)
        for (int dy = -ry * ring / 3; dy <= ry * ring / 3; ++dy)
            for (int dx = -rx * ring / 3; dx <= rx * ring / 3; ++dx)
                if (InEllipse(dx, dy, rx * ring / 3, ry * ring / 3) && r.below(4) != 0)
                    c.Plot(cx + dx, cy + dy, Shade(Ramp::Purple, 5 - ring + r.below(2)));
}

void Planet(Canvas& c, int cx, int cy, int radius, Ramp ramp) {
    c.Disc(cx, cy, radius, Shade(ramp, 3));
    c.Disc(cx - radius / 4, cy - radius / 4, radius * 3 / 4, Shade(ramp, 7));
    c.Disc(cx - radius / 3, cy - radius / 3, radius / 3, Shade(ramp, 10));
}

// The ten skies, one per variant: sunset, overcast, prison night, ringed planet, stars, day,
// city night, clear day, dusk and murky haze.
void PaintSky(Canvas& c, DemoRandom& r, const Look&, int variant) {
    const int w = c.width(), h = c.height();
    switch (variant) {
    case 0:
        SmoothGradient(c, 0, 0, w, h / 2, Ramp::Purple, 2, 7);
        SmoothGradient(c, 0, h / 2, w, h / 4, Ramp::Red, 6, 11);
        SmoothGradient(c, 0, 3 * h / 4, w, h - 3 * h / 4, Ramp::Gold, 10, 14);
        ShiftEllipse(c, w * 2 / 3, h - 40, 48, 30, 2);
        ShiftEllipse(c, w * 2 / 3, h - 40, 28, 20, 1);
        c.Disc(w * 2 / 3, h - 40, 13, Shade(Ramp::Glow, 15));
        Clouds(c, r, w / 40, h / 3, h * 2 / 3, Ramp::Purple, 5);
        Ridge(c, r, h - 6, 12, Ramp::Purple, 1);
        break;
    case 1:
        SmoothGradient(c, 0, 0, w, h, Ramp::Grey, 3, 10);
        Clouds(c, r, w / 12, 0, h - 20, Ramp::Grey, 10);
        Clouds(c, r, w / 20, 10, h - 30, Ramp::Grey, 7);
        break;
    case 2:
        SmoothGradient(c, 0, 0, w, h, Ramp::Blue, 0, 4);
        Stars(c, r, w, h);
        Planet(c, w / 4, h / 3, 18, Ramp::Steel);
        break;
    case 3:
        SmoothGradient(c, 0, 0, w, h, Ramp::Purple, 0, 5);
        Stars(c, r, w / 2, h);
        c.Ellipse(w / 2, h / 2, 46, 6, Shade(Ramp::Sand, 9));
        Planet(c, w / 2, h / 2, 24, Ramp::Rust);
        c.Ellipse(w / 2, h / 2 + 3, 40, 2, Shade(Ramp::Sand, 6));
        break;
    case 4:
        c.Fill(Shade(Ramp::Grey, 0));
        Nebula(c, r, w / 3, h / 2, 70, 24);
        Stars(c, r, w * 2, h);
        break;
    case 5:
        SmoothGradient(c, 0, 0, w, h, Ramp::Sky, 8, 14);
        Clouds(c, r, w / 24, 10, h - 20, Ramp::White, 14);
        break;
    case 6:
        SmoothGradient(c, 0, 0, w, h, Ramp::Purple, 1, 7);
        Stars(c, r, w / 4, h / 2);
        City(c, r);
        break;
    case 7:
        SmoothGradient(c, 0, 0, w, h, Ramp::Sky, 7, 13);
        Clouds(c, r, w / 32, 8, h / 2, Ramp::White, 13);
        Ridge(c, r, h - 8, 20, Ramp::Steel, 4);
        break;
    case 8:
        SmoothGradient(c, 0, 0, w, h * 3 / 4, Ramp::Sky, 1, 7);
        SmoothGradient(c, 0, h * 3 / 4, w, h - h * 3 / 4, Ramp::Rust, 7, 11);
        Stars(c, r, w / 3, h / 2);
        c.Disc(w * 3 / 4, h / 4, 9, Shade(Ramp::White, 14));
        c.Disc(w * 3 / 4 + 4, h / 4 - 2, 8, Shade(Ramp::Sky, 3));
        Ridge(c, r, h - 4, 8, Ramp::Grey, 1);
        break;
    default:
        SmoothGradient(c, 0, 0, w, h, Ramp::Olive, 1, 8);
        Clouds(c, r, w / 16, 0, h - 10, Ramp::Olive, 6);
        break;
    }
}

// Skies choose their picture by name, not by a look; this adapter keeps one painter signature.
template <int kVariant> void PaintSkyOf(Canvas& c, DemoRandom& r, const Look& look, int) {
    PaintSky(c, r, look, kVariant);
}

// Water or sludge with ripples that drift one picture width over four frames.
void PaintWater(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(look.m_Main, 5));
    for (int i = 0; i < 6; ++i)
        ShiftEllipse(c, r.below(w), r.below(h), r.between(6, 14), r.between(4, 9), r.between(-2, 1));
    Dirt(c, r, 1, 50);
    const int drift = frame * w / 4;
    for (int i = 0; i < w * h / 48; ++i) {
        const int x0 = r.below(w), y0 = r.below(h), len = r.between(3, 9);
        const int x = x0 + (y0 / 8 % 2 ? drift : -drift);
        for (int k = 0; k < len; ++k) {
            c.Plot(((x + k) % w + w) % w, y0, Shade(look.m_Main, k == len / 2 ? 13 : 9 + i % 3));
            c.Plot(((x + k + 1) % w + w) % w, (y0 + 1) % h, Shade(look.m_Main, 3));
        }
    }
}

// Two pictures, off and on. Variant 0: a lever; 1: a push button; 2: a keypad with a lamp.
void PaintSwitch(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    const int w = c.width(), h = c.height();
    const bool on = frame != 0;
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    CornerRivets(c, 0, 0, w, h, look.m_Main, 2);
    switch (look.m_nVariant) {
    case 0:
        Recess(c, w / 2 - 3, 6, 6, h - 12, Ramp::Grey, 2);
        c.Bevel(w / 2 - 6, on ? 7 : h - 15, 12, 8, Ramp::Red, 9);
        c.Disc(w - 7, 7, 2, on ? Shade(Ramp::Teal, 14) : Shade(Ramp::Teal, 4));
        break;
    case 1:
        c.Disc(w / 2 + 1, h / 2 + 1, 9, Shade(Ramp::Grey, 1));
        c.Disc(w / 2, h / 2, 9, Shade(Ramp::Grey, 8));
        c.Disc(w / 2, h / 2, 7, Shade(Ramp::Red, on ? 12 : 5));
        c.Disc(w / 2 - 2, h / 2 - 2, 2, Shade(Ramp::Red, on ? 15 : 8));
        break;
    default:
        Recess(c, 5, 14, w - 10, h - 19, Ramp::Grey, 3);
        for (int y = 16; y + 4 < h - 6; y += 6)
            for (int x = 7; x + 5 < w - 6; x += 6)
                c.Bevel(x, y, 5, 4, Ramp::Steel, 8);
        c.Bevel(6, 5, w - 12, 6, Ramp::Grey, 3);
        c.FillRect(8, 7, w - 16, 2, on ? Shade(Ramp::Teal, 14) : Shade(Ramp::Red, 12));
        break;
    }
    Dirt(c, r, 1, 20);
}

// A fan turning in its housing: four blades, a quarter turn over eight frames.
void PaintSpinner(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    const int w = c.width(), h = c.height(), cx = w / 2, cy = h / 2, radius = std::min(w, h) / 2 - 6;
    c.Bevel(0, 0, w, h, look.m_Main, 5, 2);
    CornerRivets(c, 0, 0, w, h, look.m_Main, 3);
    c.Disc(cx, cy, radius + 3, Shade(Ramp::Grey, 9));
    c.Disc(cx + 1, cy + 1, radius + 1, Shade(Ramp::Grey, 3));
    c.Disc(cx, cy, radius, Shade(Ramp::Grey, 1));
    for (int blade = 0; blade < 4; ++blade) {
        const int step = frame + blade * 8;
        for (int t = 4; t < radius; ++t) {
            const int x = cx + Cosine(step) * t / 256, y = cy + Sine(step) * t / 256;
            c.FillRect(x - 2, y - 2, 5, 5, Shade(look.m_Accent, 6 + t * 5 / radius));
            c.Plot(x - 2, y - 2, Shade(look.m_Accent, 13));
        }
    }
    c.Disc(cx, cy, 5, Shade(Ramp::Grey, 7));
    Rivet(c, cx - 1, cy - 1, Ramp::Grey);
    Dirt(c, r, 1, 20);
}

// A sensor eye whose iris pulses.
void PaintEye(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    constexpr std::array<int, 4> kPulse{5, 8, 12, 8};
    const int w = c.width(), h = c.height(), cx = w / 2, cy = h / 2;
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    c.Disc(cx, cy, w / 2 - 3, Shade(Ramp::Grey, 10));
    c.Disc(cx + 1, cy + 1, w / 2 - 5, Shade(Ramp::Grey, 2));
    c.Disc(cx, cy, w / 2 - 7, Shade(Ramp::Red, kPulse[static_cast<std::size_t>(frame % 4)]));
    c.Disc(cx, cy, 2, Shade(Ramp::Red, 1));
    c.Disc(cx - 3, cy - 3, 1, Shade(Ramp::White, 15));
    Dirt(c, r, 1, 20);
}

// A round radar screen with a sweeping beam, a full turn over eight frames.
void PaintNav(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    const int w = c.width(), h = c.height(), cx = w / 2, cy = h / 2, radius = std::min(w, h) / 2 - 8;
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    CornerRivets(c, 0, 0, w, h, look.m_Main, 3);
    c.Disc(cx, cy, radius + 3, Shade(Ramp::Grey, 4));
    c.Disc(cx, cy, radius, Shade(Ramp::Teal, 2));
    for (int ring = radius * 2 / 3; ring > 0; ring -= radius / 3) {
        c.Disc(cx, cy, ring, Shade(Ramp::Teal, 4));
        c.Disc(cx, cy, ring - 1, Shade(Ramp::Teal, 2));
    }
    c.Line(cx - radius, cy, cx + radius, cy, Shade(Ramp::Teal, 5));
    c.Line(cx, cy - radius, cx, cy + radius, Shade(Ramp::Teal, 5));
    for (int trail = 3; trail >= 0; --trail) {
        const int step = frame * 4 - trail;
        c.Line(cx, cy, cx + Cosine(step) * radius / 256, cy + Sine(step) * radius / 256,
               Shade(Ramp::Teal, 14 - trail * 3));
    }
    for (int i = 0; i < 4; ++i) {
        const int bx = cx + r.between(-radius / 2, radius / 2), by = cy + r.between(-radius / 2, radius / 2);
        c.FillRect(bx, by, 2, 2, Shade(Ramp::Glow, (frame + i) % 2 ? 15 : 9));
    }
}

// Variant 0: a belt running between striped rails, its ribs moving two pixels a frame;
// 1: rollers seen from the side.
void PaintConveyor(Canvas& c, DemoRandom& r, const Look& look, int frame) {
    const int w = c.width(), h = c.height();
    if (look.m_nVariant == 0) {
        c.Fill(Shade(Ramp::Grey, 3));
        for (int y = frame * 2 - 8; y < h; y += 8) {
            c.FillRect(8, y, w - 16, 2, Shade(Ramp::Grey, 7));
            c.FillRect(8, y + 2, w - 16, 1, Shade(Ramp::Grey, 1));
        }
        for (int x : {0, w - 8}) {
            c.Bevel(x, 0, 8, h, look.m_Main, 7);
            for (int y = 0; y < h; y += 16)
                Hazard(c, x + 2, y + 4, 4, 8, 8);
        }
    } else {
        c.Fill(Shade(Ramp::Grey, 2));
        c.Bevel(0, 0, w, 6, Ramp::Grey, 5);
        for (int x = 7; x < w; x += 13) {
            c.Disc(x + 1, h / 2 + 1, 5, Shade(Ramp::Grey, 1));
            c.Disc(x, h / 2, 5, Shade(look.m_Main, 6));
            c.Disc(x - 1, h / 2 - 1, 3, Shade(look.m_Main, 10));
            c.Plot(x, h / 2, Shade(Ramp::Grey, 2));
        }
        c.Bevel(0, h - 8, w, 8, look.m_Main, 6);
        Hazard(c, 0, h - 6, w, 4, 8);
    }
    Dirt(c, r, 1, 40);
}

// A lamp on a wall panel, brightening the metal round it. Variant 0: a square lamp with a
// guard; 1: a tall strip lamp.
void PaintWallLight(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    const int lw = look.m_nVariant == 0 ? w / 2 : w / 3, lh = look.m_nVariant == 0 ? h / 3 : h * 2 / 3;
    const int x = (w - lw) / 2, y = (h - lh) / 2;
    ShiftEllipse(c, w / 2, h / 2, lw / 2 + 10, lh / 2 + 10, 2);
    ShiftEllipse(c, w / 2, h / 2, lw / 2 + 5, lh / 2 + 5, 1);
    c.Bevel(x - 3, y - 3, lw + 6, lh + 6, Ramp::Grey, 6, 2);
    SmoothGradient(c, x, y, lw, lh, look.m_Accent, 15, 10);
    if (look.m_nVariant == 0)
        for (int gy = y + 3; gy < y + lh; gy += 4)
            c.FillRect(x, gy, lw, 1, Shade(Ramp::Grey, 5));
    CornerRivets(c, 0, 0, w, h, look.m_Main, 3);
    Dirt(c, r, 1, 30);
    Streaks(c, r, y + lh + 3, w / 8, h / 4);
}

// Horizontal louvres in a riveted frame.
void PaintVent(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 6, 2);
    c.FillRect(6, 6, w - 12, h - 12, Shade(Ramp::Grey, 0));
    for (int y = 7; y + 5 <= h - 6; y += 6) {
        c.FillRect(6, y, w - 12, 1, Shade(look.m_Main, 11));
        c.FillRect(6, y + 1, w - 12, 2, Shade(look.m_Main, 7));
        c.FillRect(6, y + 3, w - 12, 1, Shade(look.m_Main, 3));
    }
    CornerRivets(c, 0, 0, w, h, look.m_Main, 2);
    Dirt(c, r, 1, 40);
    Streaks(c, r, h - 6, w / 6, 6);
}

// A single warning band; repeats cleanly along a wall.
void PaintHazardBand(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Bevel(0, 0, w, h, look.m_Main, 6);
    Hazard(c, 0, 3, w, h - 6, 16);
    Dirt(c, r, 1, 15);
}

// A round column between two collars.
void PaintPillar(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(Ramp::Grey, 2));
    Cylinder(c, 4, 0, w - 8, h, look.m_Main, true, 12, 3);
    for (int y : {0, h - 10}) {
        Cylinder(c, 0, y, w, 10, look.m_Accent, true, 13, 4);
        c.FillRect(0, y + 9, w, 1, Shade(look.m_Accent, 1));
    }
    for (int y = 16; y < h - 12; y += 16)
        c.FillRect(4, y, w - 8, 1, Shade(look.m_Main, 2));
    Dirt(c, r, 1, 50);
    Streaks(c, r, 10, w / 4, h / 2);
}

// A fuel tank: a great cylinder with bands, a level gauge and a stencilled word.
void PaintTank(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(Ramp::Grey, 2));
    Cylinder(c, 4, 0, w - 8, h, look.m_Main, true, 12, 3);
    for (int y = 8; y < h; y += 40)
        Cylinder(c, 2, y, w - 4, 6, Ramp::Grey, true, 12, 3);
    Recess(c, w - 18, 20, 8, h - 48, Ramp::Grey, 2);
    c.FillRect(w - 17, h / 2, 6, h / 2 - 29, Shade(Ramp::Gold, 11));
    CentredText(c, 6, h / 2 - 10, w - 28, 14, look.m_strText, Shade(Ramp::Red, 8), Shade(look.m_Main, 2));
    Hazard(c, 0, h - 8, w, 8, 12);
    Dirt(c, r, 1, 50);
    Streaks(c, r, 0, w / 4, h / 2);
}

// Assembly machinery: a striped head over pistons and a gripper.
void PaintMachine(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(Ramp::Grey, 2));
    c.Bevel(0, 0, w, h / 4, look.m_Main, 7, 2);
    Hazard(c, 3, h / 4 - 9, w - 6, 6, 10);
    CornerRivets(c, 0, 0, w, h / 4, look.m_Main, 2);
    for (int x : {8, w / 2 - 5, w - 18}) {
        Cylinder(c, x, h / 4, 10, h / 2, Ramp::Steel, true);
        Cylinder(c, x + 2, h * 3 / 4, 6, h / 8, Ramp::White, true, 15, 6);
    }
    c.Bevel(4, h * 7 / 8 - 2, w - 8, 6, look.m_Accent, 8);
    c.Line(8, h - 1, 16, h * 7 / 8 + 4, Shade(Ramp::Grey, 9));
    c.Line(w - 9, h - 1, w - 17, h * 7 / 8 + 4, Shade(Ramp::Grey, 9));
    Dirt(c, r, 1, 50);
    Streaks(c, r, h / 4, w / 4, h / 3);
}

// See-through work with holes of index 0. Variant 0: a railing; 1: wire mesh; 2: bars.
void PaintRailing(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    switch (look.m_nVariant) {
    case 0:
        for (int x = 2; x < w; x += 20)
            Cylinder(c, x, 4, 5, h - 4, look.m_Main, true);
        Cylinder(c, 0, 0, w, 6, look.m_Main, false);
        Cylinder(c, 0, h / 2, w, 4, look.m_Main, false);
        Hazard(c, 0, h - 6, w, 6, 12);
        break;
    case 1:
        for (int k = -h; k < w; k += 8) {
            c.Line(k, 0, k + h, h, Shade(look.m_Main, 9));
            c.Line(k + h, 0, k, h, Shade(look.m_Main, 6));
        }
        c.Bevel(0, 0, w, 4, look.m_Main, 7);
        c.Bevel(0, h - 4, w, 4, look.m_Main, 6);
        break;
    default:
        for (int x = 1; x < w; x += 8)
            Cylinder(c, x, 0, 4, h, look.m_Main, true);
        for (int y : {4, h - 10})
            c.Bevel(0, y, w, 6, look.m_Main, 6);
        break;
    }
    Dirt(c, r, 1, 40);
}

// Rough rock: overlapping lumps, cracks.
void PaintRock(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    c.Fill(Shade(look.m_Main, 6));
    for (int i = 0; i < w * h / 100; ++i) {
        const int cx = r.below(w), cy = r.below(h), rx = r.between(3, 10), ry = r.between(2, 7);
        ShiftEllipse(c, cx - 1, cy - 1, rx, ry, 1);
        ShiftEllipse(c, cx + 1, cy + 2, rx, ry, -1);
    }
    Dirt(c, r, 2, 70);
    for (int i = 0; i < w / 12; ++i)
        Crack(c, r, r.below(w), r.below(h), r.between(4, 12));
}

// The picture shown for textures a level names but no archive holds.
void PaintDefault(Canvas& c, DemoRandom& r, const Look& look, int) {
    const int w = c.width(), h = c.height();
    for (int y = 0; y < h; y += 16)
        for (int x = 0; x < w; x += 16)
            c.Bevel(x, y, 16, 16, look.m_Main, (x / 16 + y / 16) % 2 ? 5 : 8);
    c.Bevel(w / 2 - 17, h / 2 - 6, 34, 11, look.m_Accent, 9);
    c.Text(w / 2 - 13, h / 2 - 3, look.m_strText, Shade(Ramp::Grey, 1));
    Dirt(c, r, 1, 10);
}

// ---------------------------------------------------------------------------------------------
// The archive's members.

struct TextureEntry {
    TextureEntry(std::string_view name, int width, int height, Painter paint, Look look = {},
                 BmCompression compression = kBmPlain, int frames = 1, std::uint8_t rate = 0)
        : m_strName(name), m_nWidth(width), m_nHeight(height), m_pPaint(paint), m_Look(look),
          m_Compression(compression), m_nFrames(frames), m_nRate(rate) {}

    std::string_view m_strName;
    int m_nWidth;
    int m_nHeight;
    Painter m_pPaint;
    Look m_Look;
    BmCompression m_Compression;
    int m_nFrames;        // more than one makes an animated texture
    std::uint8_t m_nRate; // frames a second; switches leave it 0 and change on use
};

using R = Ramp;
constexpr BmCompression kRle = kBmRunLength;
constexpr BmCompression kHoles = kBmZeroRuns;

const std::vector<TextureEntry>& Textures() {
    static const std::vector<TextureEntry> kTextures{
        // Walls.
        {"RWRWALL1.BM", 64, 128, PaintBricks, {R::Grey, R::Grey, 1}},
        {"RWRWALL2.BM", 64, 128, PaintPanels, {R::Steel, R::Grey, 0}},
        {"RWBRICK1.BM", 64, 64, PaintBricks, {R::Rust, R::Grey, 0}},
        {"RWBRICK2.BM", 64, 64, PaintBricks, {R::Brown, R::Sand, 0}},
        {"RWSTONE1.BM", 64, 128, PaintStone, {R::Grey}},
        {"RWSTONE2.BM", 128, 128, PaintStone, {R::Sand}},
        {"IWMETAL1.BM", 64, 64, PaintPanels, {R::Steel, R::Grey, 0}},
        {"IWMETAL2.BM", 64, 128, PaintPanels, {R::Steel, R::Grey, 1}},
        {"IWMETAL3.BM", 128, 128, PaintPanels, {R::Grey, R::Grey, 0}},
        {"IWCOMWAL.BM", 64, 128, PaintPanels, {R::Steel, R::Glow, 2}},
        {"IWPIPES1.BM", 64, 128, PaintPipes, {R::Rust, R::Steel, 0}},
        {"IWPIPES2.BM", 128, 64, PaintPipes, {R::Steel, R::Grey, 1}},
        {"IWCONSL1.BM", 64, 64, PaintConsole, {R::Steel}},
        {"IWCONSL2.BM", 128, 64, PaintConsole, {R::Grey}},
        {"IWLIGHT1.BM", 64, 64, PaintWallLight, {R::Steel, R::Glow, 0}},
        {"IWLIGHT2.BM", 32, 64, PaintWallLight, {R::Grey, R::Glow, 1}},
        {"IWLIGHT3.BM", 32, 64, PaintWallLight, {R::Steel, R::Red, 1}},
        {"IWVENT1.BM", 64, 64, PaintVent, {R::Steel}},
        {"IWHAZRD1.BM", 64, 32, PaintHazardBand, {R::Grey}, kRle},
        {"IWTRIM1.BM", 48, 80, PaintPillar, {R::Steel, R::Gold}},
        {"IWCONC1.BM", 64, 64, PaintConcrete, {R::Grey}},
        {"SWSEWER1.BM", 64, 64, PaintBricks, {R::Olive, R::Grey, 0}},
        {"SWSEWER2.BM", 64, 128, PaintStone, {R::Olive}},
        {"TWSAND1.BM", 64, 64, PaintConcrete, {R::Sand}},
        {"NWPURP1.BM", 64, 64, PaintStone, {R::Purple}},
        {"GWROCK1.BM", 64, 64, PaintRock, {R::Brown}},
        {"GWROCK2.BM", 96, 64, PaintRock, {R::Grey}},
        // Floors.
        {"IF3.BM", 64, 64, PaintTiles, {R::Grey, R::Grey, 0}},
        {"IF1.BM", 64, 64, PaintTiles, {R::Steel, R::Grey, 1}},
        {"IF2.BM", 64, 64, PaintTreadPlate, {R::Grey}},
        {"IFPLATE2.BM", 64, 64, PaintTreadPlate, {R::Steel}},
        {"IFGRATE1.BM", 64, 64, PaintGrate, {R::Steel, R::Grey, 0}},
        {"IFCONC1.BM", 64, 64, PaintConcrete, {R::Grey}},
        {"IFTILE2.BM", 128, 128, PaintTiles, {R::Sand, R::Grey, 2}},
        {"SFMUD1.BM", 64, 64, PaintRock, {R::Olive}},
        // Ceilings.
        {"IPBIGLT.BM", 64, 64, PaintCeilingLight, {R::Grey, R::Grey, 0}},
        {"IPLIGHT1.BM", 64, 64, PaintCeilingLight, {R::Steel, R::Grey, 1}},
        {"IPCEIL1.BM", 64, 64, PaintPanels, {R::Grey, R::Grey, 0}},
        {"IPVENT1.BM", 64, 64, PaintVent, {R::Grey}},
        // Liquids.
        {"SWATER1.BM", 64, 64, PaintWater, {R::Blue}},
        {"SWATER2.BM", 64, 64, PaintWater, {R::Blue}, kBmPlain, 4, 6},
        {"SWSLIME1.BM", 64, 64, PaintWater, {R::Olive}},
        // See-through: railings, mesh, grates and bars with holes.
        {"IWRAIL1.BM", 64, 64, PaintRailing, {R::Steel, R::Grey, 0}, kHoles},
        {"ZWFENCE1.BM", 64, 64, PaintRailing, {R::Grey, R::Grey, 1}, kHoles},
        {"IWBARS1.BM", 32, 64, PaintRailing, {R::Rust, R::Grey, 2}, kHoles},
        {"IWGRATE1.BM", 64, 64, PaintGrate, {R::Steel, R::Grey, 1}, kHoles},
        // Doors and door tracks.
        {"ZDOOR1.BM", 64, 128, PaintDoor, {R::Steel, R::Grey, 0}},
        {"ZDOOR2.BM", 128, 128, PaintDoor, {R::Grey, R::Grey, 1}},
        {"ZDREBL1.BM", 16, 128, PaintTrack, {R::Steel, R::Grey, 0}},
        {"ZDTRACK1.BM", 32, 128, PaintTrack, {R::Grey, R::Grey, 1}},
        {"IDDOOR1.BM", 64, 128, PaintDoor, {R::Grey, R::Grey, 0}},
        {"RDOOR1.BM", 64, 128, PaintDoor, {R::Rust, R::Grey, 2}},
        {"SDOOR1.BM", 64, 128, PaintDoor, {R::Olive, R::Grey, 2}},
        {"NDOOR1.BM", 64, 128, PaintDoor, {R::Purple, R::Gold, 3}},
        {"TDOOR1.BM", 64, 128, PaintDoor, {R::Sand, R::Gold, 3}},
        // Cargo.
        {"IDMGCRT1.BM", 64, 64, PaintCrate, {R::Steel, R::Gold, 0, "IMP"}},
        {"IDMGCRT2.BM", 64, 64, PaintCrate, {R::Olive, R::Sand, 0, "AMMO"}},
        {"IPRMCRT1.BM", 64, 64, PaintCrate, {R::Steel, R::Red, 2, "PRM"}},
        {"NDBROWN1.BM", 64, 64, PaintCrate, {R::Brown, R::Brown, 1}},
        {"ZPSGRBX1.BM", 64, 128, PaintCrate, {R::Grey, R::Red, 2, "CARGO"}},
        // Signs.
        {"IWFUELS1.BM", 64, 32, PaintSign, {R::Steel, R::Gold, 0, "FUEL|DEPOT"}, kRle},
        {"ZSBSIGN1.BM", 64, 32, PaintSign, {R::Grey, R::Red, 1, "DANGER"}, kRle},
        {"ZSBSIGN2.BM", 64, 32, PaintSign, {R::Steel, R::White, 0, "LEVEL 2"}},
        {"NSSIGN1.BM", 64, 64, PaintSign, {R::Purple, R::Glow, 0, "CANTINA|OPEN"}},
        {"NWTV1.BM", 64, 48, PaintSign, {R::Teal, R::Teal, 2, "NEWS|24"}},
        {"RPDANGR2.BM", 64, 64, PaintSign, {R::Red, R::Gold, 1, "HIGH|VOLTAGE"}, kRle},
        {"ZSREBEL3.BM", 64, 64, PaintSign, {R::Grey, R::Red, 0, "REBEL|BASE"}},
        {"IWRAMON1.BM", 48, 32, PaintSign, {R::Steel, R::Glow, 0, "RAMP|ON"}},
        // Assembly lines.
        {"IWACONV1.BM", 64, 64, PaintConveyor, {R::Steel, R::Grey, 0}, kBmPlain, 4, 8},
        {"IWACONV2.BM", 64, 32, PaintConveyor, {R::Steel, R::Grey, 1}},
        {"RPCONVB1.BM", 64, 64, PaintConveyor, {R::Rust, R::Grey, 0}, kBmPlain, 4, 8},
        {"IDASSEM1.BM", 64, 128, PaintMachine, {R::Steel, R::Gold}},
        {"IWTSTB4.BM", 64, 64, PaintMachine, {R::Grey, R::Red}},
        {"IWFTANK1.BM", 64, 128, PaintTank, {R::Rust, R::Grey, 0, "FUEL"}},
        // Switches and animated walls.
        {"ZASWIT1.BM", 32, 32, PaintSwitch, {R::Steel, R::Grey, 0}, kBmPlain, 2},
        {"ZASWIT2.BM", 32, 32, PaintSwitch, {R::Grey, R::Grey, 1}, kBmPlain, 2},
        {"ZASWIT3.BM", 32, 48, PaintSwitch, {R::Steel, R::Grey, 2}, kBmPlain, 2},
        {"ZACOMP1.BM", 64, 64, PaintConsole, {R::Steel}, kBmPlain, 4, 4},
        {"ZAEYE.BM", 32, 32, PaintEye, {R::Grey}, kBmPlain, 4, 6},
        {"ZANAV.BM", 64, 64, PaintNav, {R::Steel}, kBmPlain, 8, 8},
        {"ZASPIN.BM", 64, 64, PaintSpinner, {R::Grey, R::Steel}, kBmPlain, 8, 12},
        // Skies.
        {"CESUNSET.BM", 512, 128, PaintSkyOf<0>},
        {"GEGROSKY.BM", 256, 128, PaintSkyOf<1>},
        {"IEDETSKY.BM", 256, 128, PaintSkyOf<2>, {}, kRle},
        {"IERAMSKY.BM", 256, 128, PaintSkyOf<3>},
        {"IESTARS.BM", 256, 128, PaintSkyOf<4>, {}, kRle},
        {"IETSTSKY.BM", 256, 128, PaintSkyOf<5>},
        {"NENARSKY.BM", 512, 128, PaintSkyOf<6>, {}, kRle},
        {"RESKY01.BM", 512, 128, PaintSkyOf<7>},
        {"RESKY02.BM", 256, 128, PaintSkyOf<8>},
        {"SESEWSKY.BM", 256, 128, PaintSkyOf<9>},
        {"DEFAULT.BM", 64, 64, PaintDefault, {R::Steel, R::Gold, 0, "DEFAULT"}, kRle},
    };
    return kTextures;
}

std::uint32_t SeedOf(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (char ch : name)
        h = (h ^ static_cast<std::uint8_t>(ch)) * 16777619u;
    return h;
}

std::vector<std::uint8_t> EncodeTexture(const TextureEntry& t) {
    std::vector<IndexedImage> frames;
    for (int f = 0; f < std::max(t.m_nFrames, 1); ++f) {
        IndexedImage image = BlankPicture(t.m_nWidth, t.m_nHeight);
        Canvas canvas(image);
        DemoRandom random(SeedOf(t.m_strName));
        t.m_pPaint(canvas, random, t.m_Look, f);
        frames.push_back(std::move(image));
    }
    std::vector<std::uint8_t> bytes;
    const Status status = frames.size() > 1 ? EncodeMultiBm(frames, t.m_nRate, bytes)
                                            : EncodeBm(frames.front(), t.m_Compression, bytes);
    // The table above is fixed: a refusal is a mistake in it, not in anyone's data.
    if (!status) throw std::logic_error(std::string(t.m_strName) + ": " + status.message());
    return bytes;
}

} // namespace

std::vector<std::string> DemoTextureNames() {
    std::vector<std::string> names;
    for (const TextureEntry& t : Textures())
        names.emplace_back(t.m_strName);
    return names;
}

GobArchive BuildTexturesGob() {
    GobArchive archive;
    for (const TextureEntry& t : Textures()) {
        const Status status = archive.AddMember(t.m_strName, EncodeTexture(t));
        if (!status) throw std::logic_error(status.message());
    }
    return archive;
}

} // namespace morvi::demo
