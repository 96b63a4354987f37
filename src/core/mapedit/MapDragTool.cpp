#include "mapedit/MapDragTool.h"

#include "mapedit/MapMove.h"
#include "model/ModelOps.h"

#include <algorithm>

namespace morvi {

namespace {

ClientRect Normalised(const ClientRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

// A selected wall's segment at the drag offset, in red, as wall mode marks it.
void DrawWallGhost(const MapViewport& view, DisplayList& out, const CDataSector& sector, int wall, double dx,
                   double dz) {
    if (wall < 0 || static_cast<std::size_t>(wall) >= sector.m_pWalls.size()) return;
    const CDataWall& w = *sector.m_pWalls[static_cast<std::size_t>(wall)];
    const auto count = static_cast<int>(sector.m_pVertices.size());
    if (w.m_nLeft < 0 || w.m_nLeft >= count || w.m_nRight < 0 || w.m_nRight >= count) return;
    const CDataVertex& a = *sector.m_pVertices[static_cast<std::size_t>(w.m_nLeft)];
    const CDataVertex& b = *sector.m_pVertices[static_cast<std::size_t>(w.m_nRight)];
    double x1 = a.m_dX + dx, z1 = a.m_dZ + dz, x2 = b.m_dX + dx, z2 = b.m_dZ + dz;
    if (!view.ClipSegment(x1, z1, x2, z2)) return;
    const ScreenPoint p1 = view.WorldToScreen(x1, z1);
    const ScreenPoint p2 = view.WorldToScreen(x2, z2);
    out.AddLine(p1.x, p1.y, p2.x, p2.y, MapColour::kRed);
}

} // namespace

void MapDragTool::OnPress(ScreenPoint point, KeyState keys) {
    // The anchor sits on the grid, so that the offset of a drag is a whole number of grid steps.
    const double x = m_View.SnapPoint(m_View.ScreenToWorldX(point.x));
    const double z = m_View.SnapPoint(m_View.ScreenToWorldZ(point.y));
    m_ptAnchor = m_View.WorldToScreen(x, z);
    m_ptLast = m_ptAnchor;
    m_bNotYetMoved = true;
    m_bPressed = true;
    m_bDragEnabled = false;
    m_Picker.PickAt(point, keys);
    m_bRubber = m_Doc.selection().empty();
    if (m_bRubber) m_rcRubber = {point.x, point.y, point.x, point.y};
}

void MapDragTool::OnTimer() {
    if (m_bPressed) m_bDragEnabled = true;
}

void MapDragTool::OnMove(ScreenPoint point) {
    if (!m_bPressed) return;
    if (m_bDragEnabled) {
        const ScreenPoint p = m_View.WorldToScreen(m_View.SnapPoint(m_View.ScreenToWorldX(point.x)),
                                                   m_View.SnapPoint(m_View.ScreenToWorldZ(point.y)));
        if (p != m_ptLast) {
            // The view redraws the ghost from the state; the first pass only starts the drag.
            m_ptLast = p;
            m_bNotYetMoved = false;
        }
    }
    if (m_bRubber && m_Doc.selection().empty()) {
        m_rcRubber.right = point.x;
        m_rcRubber.bottom = point.y;
    }
}

bool MapDragTool::OnRelease(ScreenPoint /*point*/) {
    // Only a release that ends one of our presses counts; the move applies up to the last
    // point the drag reached.
    if (!m_bPressed) return false;
    bool moved = false;
    if (!m_bNotYetMoved) {
        const double dx = m_View.ScreenToWorldX(m_ptLast.x) - m_View.ScreenToWorldX(m_ptAnchor.x);
        const double dz = m_View.ScreenToWorldZ(m_ptLast.y) - m_View.ScreenToWorldZ(m_ptAnchor.y);
        const MoveOptions options{m_Doc.m_nMode, m_Settings.m_bMoveObjects, m_Settings.m_bMoveVertex,
                                  m_Doc.m_bGridOn != 0, m_View.m_dGridStep};
        moved = ApplyMove(m_Doc.level(), m_Doc.selection(), dx, dz, options);
    }
    if (moved) {
        m_Picker.MarkGeometryDirty();
        if (m_Doc.m_nMode == kModeObject) m_Drawing.MarkObjectsDirty();
        m_Doc.m_SelectionChanged();
        if (m_Notify.m_Invalidate) m_Notify.m_Invalidate(true);
    }
    if (m_bRubber && m_Doc.selection().empty()) {
        m_rcRubber = Normalised(m_rcRubber);
        if (m_rcRubber.width() > 0 && m_rcRubber.height() != 0) m_Picker.RubberBandSelect(m_rcRubber);
    }
    m_bPressed = false;
    m_bDragEnabled = false;
    m_bNotYetMoved = false;
    m_bRubber = false;
    return moved;
}

void MapDragTool::DrawGhost(DisplayList& out) const {
    if (!dragging()) return;
    const double dx = m_View.ScreenToWorldX(m_ptLast.x) - m_View.ScreenToWorldX(m_ptAnchor.x);
    const double dz = m_View.ScreenToWorldZ(m_ptLast.y) - m_View.ScreenToWorldZ(m_ptAnchor.y);
    const CDataLevel& lvl = m_Doc.level();
    const auto& sectors = lvl.m_Lev.m_pSectors;
    const auto& objects = lvl.m_Objects.m_pObjects;
    for (const CMapSelItem& item : m_Doc.selection()) {
        const CDataSector* sector = ItemAt(sectors, item.m_nSector);
        if (m_Doc.m_nMode == kModeSector && sector != nullptr) {
            m_Drawing.DrawSectorWalls(out, item.m_nSector, dx, dz);
        } else if (m_Doc.m_nMode == kModeWall && sector != nullptr) {
            DrawWallGhost(m_View, out, *sector, item.m_nWall, dx, dz);
        } else if (m_Doc.m_nMode == kModeVertex && sector != nullptr) {
            if (item.m_nVertex < 0 || static_cast<std::size_t>(item.m_nVertex) >= sector->m_pVertices.size())
                continue;
            const CDataVertex& v = *sector->m_pVertices[static_cast<std::size_t>(item.m_nVertex)];
            m_Drawing.DrawVertexMark(out, v.m_dX + dx, v.m_dZ + dz, true);
        } else if (m_Doc.m_nMode == kModeObject && item.m_nObject >= 0 &&
                   static_cast<std::size_t>(item.m_nObject) < objects.size()) {
            m_Drawing.DrawObject(out, *objects[static_cast<std::size_t>(item.m_nObject)], true, dx, dz);
        }
    }
}

std::optional<ClientRect> MapDragTool::rubberBand() const {
    if (!m_bPressed || !m_bRubber || !m_Doc.selection().empty()) return std::nullopt;
    return Normalised(m_rcRubber);
}

} // namespace morvi
