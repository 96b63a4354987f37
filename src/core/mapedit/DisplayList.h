#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace morvi {

// A point in a map view's client area, in pixels (y grows downwards).
struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// What the map view paints, in painting order: the map engine decides every pixel's colour and
// the widget (or a PNG/SVG writer) only replays the list. Colours are 0x00BBGGRR.
enum class PrimitiveKind : std::uint8_t {
    Line,    // from (x1, y1) to (x2, y2), m_nWidth pixels wide; a one-pixel line leaves its end point out
    Pixel,   // at (x1, y1)
    Polygon, // filled, no outline, the points given by m_nFirstPoint and m_nPointCount
    Ellipse, // outline only, inside the box left x1, top y1, right x2, bottom y2 (right and bottom excluded)
};

struct Primitive {
    PrimitiveKind m_Kind = PrimitiveKind::Line;
    // A line's width in pixels: 1, or 2 for the selection's walls. A wider line is centred on its
    // ends and reaches a pixel past them, so that the lines of an outline close at the corners.
    std::uint8_t m_nWidth = 1;
    std::uint32_t m_crColour = 0;
    int m_nX1 = 0;
    int m_nY1 = 0;
    int m_nX2 = 0;
    int m_nY2 = 0;
    std::uint32_t m_nFirstPoint = 0;
    std::uint32_t m_nPointCount = 0;
    bool operator==(const Primitive&) const = default;
};

class DisplayList {
public:
    void Clear();
    // Inline: the map adds one per wall.
    void AddLine(int x1, int y1, int x2, int y2, std::uint32_t colour, std::uint8_t width = 1) {
        m_Primitives.push_back({PrimitiveKind::Line, width, colour, x1, y1, x2, y2, 0, 0});
    }
    void AddPixel(int x, int y, std::uint32_t colour);
    void AddPolygon(std::span<const ScreenPoint> points, std::uint32_t colour);
    void AddEllipse(int left, int top, int right, int bottom, std::uint32_t colour);

    const std::vector<Primitive>& primitives() const { return m_Primitives; }
    std::span<const ScreenPoint> points(const Primitive& polygon) const;
    bool empty() const { return m_Primitives.empty(); }
    std::size_t size() const { return m_Primitives.size(); }

private:
    std::vector<Primitive> m_Primitives;
    std::vector<ScreenPoint> m_Points;
};

} // namespace morvi
