#pragma once

#include "DemoPalette.h"
#include "resources/IndexedImage.h"

#include <cstdint>
#include <string_view>

namespace morvi::demo {

// A repeatable random sequence: the demo data must come out byte for byte the same on every run
// and machine, so nothing here uses the standard library's engines or distributions.
class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed) : m_nState(seed * 2654435761u + 0x9E3779B9u) {}
    std::uint32_t next();
    // 0 .. n-1 (0 when n <= 0).
    int below(int n);
    // lo .. hi inclusive.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

private:
    std::uint32_t m_nState;
};

// Drawing on a picture with y counted from the top, as painters think; the picture keeps its
// rows bottom-up. Everything is clipped to the picture.
class Canvas {
public:
    explicit Canvas(IndexedImage& image) : m_Image(image) {}

    int width() const { return m_Image.width(); }
    int height() const { return m_Image.height(); }

    void Plot(int x, int y, std::uint8_t index);
    std::uint8_t At(int x, int y) const;
    void Fill(std::uint8_t index) { FillRect(0, 0, width(), height(), index); }
    void FillRect(int x, int y, int w, int h, std::uint8_t index);
    void FrameRect(int x, int y, int w, int h, std::uint8_t index);
    // A raised panel: light top and left edges, dark bottom and right ones, face in between.
    void Bevel(int x, int y, int w, int h, Ramp ramp, int face, int depth = 1);
    void Line(int x0, int y0, int x1, int y1, std::uint8_t index);
    void Disc(int cx, int cy, int radius, std::uint8_t index);
    void Ellipse(int cx, int cy, int rx, int ry, std::uint8_t index);
    // Varies every pixel of a rectangle that uses ramp by up to +-amount shades: grain, dirt.
    void Grain(int x, int y, int w, int h, Ramp ramp, int amount, DemoRandom& random);
    // Vertical gradient of a ramp over the rectangle, from shade top to shade bottom.
    void Gradient(int x, int y, int w, int h, Ramp ramp, int top, int bottom);
    // Capital letters, digits and " -.:!" in a 3 x 5 font scaled by scale; returns the width drawn.
    int Text(int x, int y, std::string_view text, std::uint8_t index, int scale = 1);
    static int TextWidth(std::string_view text, int scale = 1);

private:
    IndexedImage& m_Image;
};

// A new picture without header, all transparent (index 0).
IndexedImage BlankPicture(int width, int height);

// The ramp a palette index belongs to and its shade; false for indices below the ramps.
bool RampOf(std::uint8_t index, Ramp& ramp, int& shade);

} // namespace morvi::demo
