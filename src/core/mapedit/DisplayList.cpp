#include "mapedit/DisplayList.h"

namespace morvi {

void DisplayList::Clear() {
    m_Primitives.clear();
    m_Points.clear();
}

void DisplayList::AddPixel(int x, int y, std::uint32_t colour) {
    m_Primitives.push_back({PrimitiveKind::Pixel, 1, colour, x, y, x, y, 0, 0});
}

void DisplayList::AddPolygon(std::span<const ScreenPoint> points, std::uint32_t colour) {
    Primitive p{PrimitiveKind::Polygon,
                1,
                colour,
                0,
                0,
                0,
                0,
                static_cast<std::uint32_t>(m_Points.size()),
                static_cast<std::uint32_t>(points.size())};
    m_Points.insert(m_Points.end(), points.begin(), points.end());
    m_Primitives.push_back(p);
}

void DisplayList::AddEllipse(int left, int top, int right, int bottom, std::uint32_t colour) {
    m_Primitives.push_back({PrimitiveKind::Ellipse, 1, colour, left, top, right, bottom, 0, 0});
}

std::span<const ScreenPoint> DisplayList::points(const Primitive& polygon) const {
    if (polygon.m_nFirstPoint > m_Points.size() ||
        polygon.m_nPointCount > m_Points.size() - polygon.m_nFirstPoint)
        return {};
    return std::span(m_Points).subspan(polygon.m_nFirstPoint, polygon.m_nPointCount);
}

} // namespace morvi
