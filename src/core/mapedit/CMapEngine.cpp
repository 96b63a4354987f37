#include "mapedit/CMapEngine.h"

#include <cmath>
#include <cstdint>

namespace morvi {

CMapEngine::CMapEngine(CMorviDoc& doc, const Settings& settings)
    : m_Doc(doc), m_Settings(settings), m_Selection(doc.selection()),
      m_GeometryWatch(doc.m_GeometryChanged.Connect([this] { MarkObjectsDirty(); })) {}

double CMapEngine::ScreenToWorldX(double px) const {
    return px * 4096.0 / m_dScale - 2048.0 + m_Doc.m_dScrollX;
}

double CMapEngine::ScreenToWorldZ(double py) const {
    return (m_dScale - py) * 4096.0 / m_dScale - 2048.0 - m_Doc.m_dScrollZ;
}

int CMapEngine::WorldToScreenX(double x) const {
    return static_cast<int>((x - m_Doc.m_dScrollX + 2048.0) * m_dScale / 4096.0);
}

int CMapEngine::WorldToScreenY(double z) const {
    return static_cast<int>(m_dScale - (z + m_Doc.m_dScrollZ + 2048.0) * m_dScale / 4096.0);
}

void CMapEngine::ComputeScale(const MapDevice& device, int zoom) {
    m_dZoomFactor = std::ldexp(1.0, zoom / 2);
    if (zoom % 2 != 0) m_dZoomFactor *= 1.5;
    // k follows the device's resolution, so that a map looks the same size on every screen.
    const double sizeMm = device.m_nHorzSizeMm > 0 ? device.m_nHorzSizeMm : 320.0;
    const double res = device.m_nHorzRes > 0 ? device.m_nHorzRes : 1024.0;
    m_nDeviceShift = static_cast<int>(std::log2(res * 8.0 / sizeMm * 1.5));
    m_dScale = m_dZoomFactor * 16384.0 / std::ldexp(1.0, m_nDeviceShift);
}

WorldPoint CMapEngine::ViewCentre() const {
    return {ScreenToWorldX((m_rcClient.left + m_rcClient.right) / 2.0),
            ScreenToWorldZ((m_rcClient.top + m_rcClient.bottom) / 2.0)};
}

double CMapEngine::SnapPoint(double v) const {
    return SnapToGrid(v, m_Doc.m_bGridOn != 0, m_dGridStep);
}

bool CMapEngine::PointInPolygon(std::span<const ScreenPoint> polygon, ScreenPoint point) {
    bool inside = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const ScreenPoint& a = polygon[(i + n - 1) % n];
        const ScreenPoint& b = polygon[i];
        if ((a.y >= point.y) == (b.y >= point.y)) continue;
        if (a.x >= point.x && b.x >= point.x) {
            inside = !inside;
        } else if ((a.x >= point.x) != (b.x >= point.x)) {
            const std::int64_t x = a.x + static_cast<std::int64_t>(point.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x >= point.x) inside = !inside;
        }
    }
    return inside;
}

int CMapEngine::FirstLoopLength(const CDataSector& sector) {
    const int count = static_cast<int>(sector.m_pWalls.size());
    if (count == 0) return 0;
    const int start = sector.m_pWalls[0]->m_nLeft;
    for (int i = 0; i < count; ++i)
        if (sector.m_pWalls[static_cast<std::size_t>(i)]->m_nRight == start) return i + 1;
    return count;
}

bool CMapEngine::IsSectorSelected(int sector) const {
    for (const CMapSelItem& item : m_Selection)
        if (item.m_nSector == sector) return true;
    return false;
}

bool CMapEngine::IsObjectSelected(int object) const {
    for (const CMapSelItem& item : m_Selection)
        if (item.m_nObject == object) return true;
    return false;
}

bool CMapEngine::IsVertexSelected(int sector, int vertex) const {
    for (const CMapSelItem& item : m_Selection)
        if (item.m_nSector == sector && item.m_nVertex == vertex) return true;
    return false;
}

} // namespace morvi
