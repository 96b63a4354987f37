#include "mapedit/MapViewport.h"

#include "gamefiles/TextWriter.h"

#include <algorithm>
#include <cmath>

namespace morvi {

namespace {

constexpr int kMaxZoom = 24;
constexpr int kMaxGridLevel = 16;
constexpr int kToolCount = 6;
// Zoom Normalize gives a selection a finer grid than the default.
constexpr int kNormalizeGridLevel = 4;
// A printed map keeps this share of the page free on each side.
constexpr double kPageMargin = 0.03;

bool InPerspective(const CMorviDoc& doc) {
    return doc.m_nMode == kModePerspective;
}

// How far one axis may scroll, in world units: the cells the page does not show.
double MaxScroll(int gridCells, int pageCells, double gridStep) {
    return gridCells > pageCells ? (gridCells - pageCells) * gridStep : 0.0;
}

ScrollBarState MakeScrollBar(int gridCells, int pageCells, double scroll, double gridStep) {
    ScrollBarState bar;
    bar.m_nMax = gridCells - 1;
    bar.m_nPage = pageCells;
    bar.m_nPos = static_cast<int>(scroll / gridStep);
    bar.m_bEnabled = gridCells > pageCells;
    return bar;
}

// The new scroll offset of one axis for a scroll code; the result stays within 0..maxScroll even
// when the offset is not a whole number of cells (after centring on a point).
double ScrolledOffset(ScrollCode code, double scroll, double maxScroll, double gridStep, int pageCells,
                      int thumbPosition) {
    const double page = pageCells * gridStep / 4;
    switch (code) {
    case ScrollCode::LineBack:
        return scroll > 0 ? std::max(scroll - gridStep, 0.0) : scroll;
    case ScrollCode::LineForward:
        return maxScroll > scroll ? std::min(scroll + gridStep, maxScroll) : scroll;
    case ScrollCode::PageBack:
        return scroll > 0 ? std::max(scroll - page, 0.0) : scroll;
    case ScrollCode::PageForward:
        return maxScroll > scroll ? std::min(scroll + page, maxScroll) : scroll;
    case ScrollCode::ThumbTrack:
        return std::clamp(thumbPosition * gridStep, 0.0, maxScroll);
    case ScrollCode::ThumbPosition:
    case ScrollCode::EndScroll:
        break;
    }
    return scroll;
}

struct Box {
    double minX = 1e11;
    double minZ = 1e11;
    double maxX = -1e11;
    double maxZ = -1e11;
    bool seen = false;

    void Add(const CDataSector& sector) {
        for (const auto& v : sector.m_pVertices) {
            minX = std::min(minX, v->m_dX);
            maxX = std::max(maxX, v->m_dX);
            minZ = std::min(minZ, v->m_dZ);
            maxZ = std::max(maxZ, v->m_dZ);
            seen = true;
        }
    }
};

// The vertices to fit: the selected sectors, or the whole level when nothing is selected.
Box TargetBox(const CDataLev& lev, const std::vector<CMapSelItem>& selection) {
    Box box;
    if (selection.empty()) {
        for (const auto& sector : lev.m_pSectors)
            box.Add(*sector);
        return box;
    }
    for (const CMapSelItem& item : selection) {
        if (item.m_nSector < 0 || item.m_nSector >= static_cast<int>(lev.m_pSectors.size())) continue;
        box.Add(*lev.m_pSectors[static_cast<std::size_t>(item.m_nSector)]);
    }
    return box;
}

std::string Labelled(const char* label, double v) {
    std::string out;
    TextWriter(out).raw(label).fixed(v, 2, 8);
    return out;
}

std::string LayerText(int layer) {
    std::string out;
    TextWriter(out).raw("Layer ").integer(layer);
    return out;
}

} // namespace

double MapViewport::ScreenToWorldX(double px) const {
    return px * 4096.0 / m_dScale - 2048.0 + m_Doc.m_dScrollX;
}

double MapViewport::ScreenToWorldZ(double py) const {
    return (m_dScale - py) * 4096.0 / m_dScale - 2048.0 - m_Doc.m_dScrollZ;
}

int MapViewport::WorldToScreenX(double x) const {
    return static_cast<int>((x - m_Doc.m_dScrollX + 2048.0) * m_dScale / 4096.0);
}

int MapViewport::WorldToScreenY(double z) const {
    return static_cast<int>(m_dScale - (z + m_Doc.m_dScrollZ + 2048.0) * m_dScale / 4096.0);
}

WorldPoint MapViewport::ViewCentre() const {
    return {ScreenToWorldX((m_rcClient.left + m_rcClient.right) / 2.0),
            ScreenToWorldZ((m_rcClient.top + m_rcClient.bottom) / 2.0)};
}

void MapViewport::ComputeScale(const MapDevice& device, int zoom) {
    m_dZoomFactor = std::ldexp(1.0, zoom / 2);
    if (zoom % 2 != 0) m_dZoomFactor *= 1.5;
    // k follows the device's resolution, so that a map looks the same size on every screen.
    const double sizeMm = device.m_nHorzSizeMm > 0 ? device.m_nHorzSizeMm : 320.0;
    const double res = device.m_nHorzRes > 0 ? device.m_nHorzRes : 1024.0;
    m_nDeviceShift = static_cast<int>(std::log2(res * 8.0 / sizeMm * 1.5));
    m_dScale = m_dZoomFactor * 16384.0 / std::ldexp(1.0, m_nDeviceShift);
}

double MapViewport::SnapPoint(double v) const {
    return SnapToGrid(v, m_Doc.m_bGridOn != 0, m_dGridStep);
}

void MapViewport::RecalcLayout(const MapDevice& device, const ClientRect& client) {
    // A scroll bar changed by the layout calls back into it; the outer call finishes the work.
    if (m_bInLayout || InPerspective(m_Doc)) return;
    m_bInLayout = true;
    m_rcClient = client;
    // A document file may carry any numbers; out of range they would break the cell arithmetic.
    m_Doc.m_nZoom = std::clamp(m_Doc.m_nZoom, 0, kMaxZoom);
    ComputeScale(device, m_Doc.m_nZoom);
    // A grid finer than the zoom can show would only draw a solid carpet of dots.
    const double finest = std::log2(std::ldexp(1.0, m_nDeviceShift) * m_dZoomFactor);
    const double level = std::min(static_cast<double>(m_Doc.m_nGridLevel), finest);
    m_Doc.m_nGridLevel = std::max(static_cast<int>(level), 0);
    m_dGridStep = std::ldexp(1.0, 8 - m_Doc.m_nGridLevel);
    m_nGridCells = static_cast<int>(4096 / m_dGridStep);
    m_nCellPixels = std::max(static_cast<int>(m_dScale / m_nGridCells), 1);
    m_nPageCellsX = std::max(client.width(), 0) / m_nCellPixels;
    m_nPageCellsY = std::max(client.height(), 0) / m_nCellPixels;

    const double maxX = MaxScroll(m_nGridCells, m_nPageCellsX, m_dGridStep);
    const double maxZ = MaxScroll(m_nGridCells, m_nPageCellsY, m_dGridStep);
    m_Doc.m_dScrollX = std::clamp(m_Doc.m_dScrollX, 0.0, maxX);
    m_Doc.m_dScrollZ = std::clamp(m_Doc.m_dScrollZ, 0.0, maxZ);
    m_ScrollBars[0] = MakeScrollBar(m_nGridCells, m_nPageCellsX, m_Doc.m_dScrollX, m_dGridStep);
    m_ScrollBars[1] = MakeScrollBar(m_nGridCells, m_nPageCellsY, m_Doc.m_dScrollZ, m_dGridStep);
    m_bInLayout = false;
}

void MapViewport::CenterOn(double x, double z) {
    m_Doc.m_dScrollX -= ScreenToWorldX(m_rcClient.width() / 2) - x;
    m_Doc.m_dScrollZ += ScreenToWorldZ(m_rcClient.height() / 2) - z;
}

void MapViewport::OnUpdate(int hint, const MapDevice& device, const ClientRect& client) {
    if (hint == kHintZoom) {
        const int cx = client.width() / 2;
        const int cy = client.height() / 2;
        const double oldX = ScreenToWorldX(cx);
        const double oldZ = ScreenToWorldZ(cy);
        RecalcLayout(device, client);
        m_Doc.m_dScrollX += oldX - ScreenToWorldX(cx);
        m_Doc.m_dScrollZ -= oldZ - ScreenToWorldZ(cy);
    }
    RecalcLayout(device, client);
}

std::optional<int> MapViewport::ZoomNormalize(const MapDevice& device, const ClientRect& client) {
    if (InPerspective(m_Doc)) return std::nullopt; // belongs to the perspective view, not built yet
    const Box box = TargetBox(m_Doc.level().m_Lev, m_Doc.selection());
    if (!box.seen) return std::nullopt;
    m_Doc.m_dScrollX = 0;
    m_Doc.m_dScrollZ = 0;
    m_rcClient = client;
    const double width = box.maxX - box.minX;
    const double height = box.maxZ - box.minZ;
    // The first zoom at which the box fills a side; a box of no size never does, so the search
    // ends at the largest zoom.
    int zoom = 0;
    for (; zoom < kMaxZoom; ++zoom) {
        ComputeScale(device, zoom);
        const double visibleWidth = ScreenToWorldX(client.right) - ScreenToWorldX(client.left);
        const double visibleHeight = ScreenToWorldZ(client.top) - ScreenToWorldZ(client.bottom);
        if (width >= visibleWidth || height >= visibleHeight) break;
    }
    m_Doc.m_nZoom = std::max(zoom - 1, 0);
    m_Doc.m_nGridLevel = kNormalizeGridLevel;
    ComputeScale(device, m_Doc.m_nZoom);
    CenterOn((box.minX + box.maxX) / 2, (box.minZ + box.maxZ) / 2);
    return kHintZoom;
}

bool MapViewport::FitToPage(const ClientRect& page) {
    const Box box = TargetBox(m_Doc.level().m_Lev, m_Doc.selection());
    if (!box.seen || page.width() <= 0 || page.height() <= 0) return false;
    // A box without extent on an axis (one vertex, a straight row) is fitted as one unit there.
    const double width = std::max(box.maxX - box.minX, 1.0);
    const double height = std::max(box.maxZ - box.minZ, 1.0);
    const double usable = 1.0 - 2.0 * kPageMargin;
    const double pixelsPerUnit = std::min(page.width() * usable / width, page.height() * usable / height);
    // A vertex at infinity leaves no scale to draw with.
    if (!std::isfinite(pixelsPerUnit) || !(pixelsPerUnit > 0.0)) return false;
    m_rcClient = page;
    m_dScale = pixelsPerUnit * 4096.0;
    m_Doc.m_dScrollX = 0;
    m_Doc.m_dScrollZ = 0;
    CenterOn((box.minX + box.maxX) / 2, (box.minZ + box.maxZ) / 2);
    return true;
}

// In perspective mode the zoom commands belong to the perspective view and stay enabled.
bool MapViewport::CanZoomIn() const {
    return InPerspective(m_Doc) || m_Doc.m_nZoom < kMaxZoom;
}

bool MapViewport::CanZoomOut() const {
    return InPerspective(m_Doc) || m_Doc.m_nZoom >= 1;
}

std::optional<int> MapViewport::ZoomIn() {
    if (InPerspective(m_Doc)) return std::nullopt; // goes to the perspective view, not built yet
    if (!CanZoomIn()) return std::nullopt;
    ++m_Doc.m_nZoom;
    return kHintZoom;
}

std::optional<int> MapViewport::ZoomOut() {
    if (InPerspective(m_Doc)) return std::nullopt; // goes to the perspective view, not built yet
    if (!CanZoomOut()) return std::nullopt;
    --m_Doc.m_nZoom;
    return kHintZoom;
}

bool MapViewport::CanGridZoomIn() const {
    return m_Doc.m_nGridLevel < kMaxGridLevel;
}

bool MapViewport::CanGridZoomOut() const {
    return m_Doc.m_nGridLevel >= 1;
}

std::optional<int> MapViewport::GridZoomIn() {
    if (!CanGridZoomIn()) return std::nullopt;
    ++m_Doc.m_nGridLevel;
    return kHintGrid;
}

std::optional<int> MapViewport::GridZoomOut() {
    if (!CanGridZoomOut()) return std::nullopt;
    --m_Doc.m_nGridLevel;
    return kHintGrid;
}

std::optional<int> MapViewport::ToggleGrid() {
    m_Doc.m_bGridOn = m_Doc.m_bGridOn ? 0 : 1;
    return kHintOther;
}

bool MapViewport::CanLayerUp() const {
    return !InPerspective(m_Doc) && m_Doc.m_nCurrentLayer < m_Doc.m_nMaxLayer;
}

bool MapViewport::CanLayerDown() const {
    return !InPerspective(m_Doc) && m_Doc.m_nCurrentLayer > m_Doc.m_nMinLayer;
}

std::optional<int> MapViewport::LayerUp() {
    if (!CanLayerUp()) return std::nullopt;
    ++m_Doc.m_nCurrentLayer;
    return kHintOther;
}

std::optional<int> MapViewport::LayerDown() {
    if (!CanLayerDown()) return std::nullopt;
    --m_Doc.m_nCurrentLayer;
    return kHintOther;
}

std::optional<int> MapViewport::ToggleAllLayers() {
    m_Doc.m_bAllLayers = m_Doc.m_bAllLayers ? 0 : 1;
    return kHintOther;
}

std::optional<int> MapViewport::SetTool(int tool) {
    if (m_Doc.m_nMode != kModeSector || tool < 0 || tool >= kToolCount) return std::nullopt;
    m_Doc.m_nTool = tool;
    return kHintOther;
}

std::optional<int> MapViewport::NextTool() {
    if (m_Doc.m_nMode != kModeSector) return std::nullopt;
    const int next = m_Doc.m_nTool + 1;
    m_Doc.m_nTool = next > 0 && next < kToolCount ? next : 0;
    return kHintOther;
}

ScreenPoint MapViewport::Scroll(ScrollAxis axis, ScrollCode code, int thumbPosition) {
    if (InPerspective(m_Doc)) return {0, 0};
    const bool horizontal = axis == ScrollAxis::Horizontal;
    double& scroll = horizontal ? m_Doc.m_dScrollX : m_Doc.m_dScrollZ;
    const int pageCells = horizontal ? m_nPageCellsX : m_nPageCellsY;
    const double maxScroll = MaxScroll(m_nGridCells, pageCells, m_dGridStep);
    const double old = scroll;
    scroll = ScrolledOffset(code, scroll, maxScroll, m_dGridStep, pageCells, thumbPosition);
    if (scroll == old) return {0, 0};
    m_ScrollBars[horizontal ? 0 : 1].m_nPos = static_cast<int>(scroll / m_dGridStep);
    const int pixels = static_cast<int>((old - scroll) * m_dScale / 4096);
    return horizontal ? ScreenPoint{pixels, 0} : ScreenPoint{0, pixels};
}

std::optional<std::pair<ScrollAxis, ScrollCode>> MapViewport::ScrollForKey(MapKey key, bool ctrl) {
    const ScrollCode back = ctrl ? ScrollCode::PageBack : ScrollCode::LineBack;
    const ScrollCode forward = ctrl ? ScrollCode::PageForward : ScrollCode::LineForward;
    switch (key) {
    case MapKey::Left:
        return std::pair{ScrollAxis::Horizontal, back};
    case MapKey::Right:
        return std::pair{ScrollAxis::Horizontal, forward};
    case MapKey::Up:
        return std::pair{ScrollAxis::Vertical, back};
    case MapKey::Down:
        return std::pair{ScrollAxis::Vertical, forward};
    }
    return std::nullopt;
}

const ScrollBarState& MapViewport::scrollBar(ScrollAxis axis) const {
    return m_ScrollBars[axis == ScrollAxis::Horizontal ? 0 : 1];
}

std::array<std::string, 3> MapViewport::CursorPanes(ScreenPoint point) const {
    return {Labelled("X ", ScreenToWorldX(point.x)), Labelled("Z ", ScreenToWorldZ(point.y)),
            LayerText(m_Doc.m_nCurrentLayer)};
}

std::string MapViewport::LayerPane() const {
    return LayerText(m_Doc.m_nCurrentLayer);
}

std::string MapViewport::ZoomPane() const {
    return "Zoom " + std::to_string(std::lround(m_dScale / 4096.0 * 100.0)) + "%";
}

std::optional<int> MapViewport::ZoomAbout(ScreenPoint point, bool in, const MapDevice& device) {
    const double x = ScreenToWorldX(point.x);
    const double z = ScreenToWorldZ(point.y);
    const std::optional<int> hint = in ? ZoomIn() : ZoomOut();
    if (!hint) return hint;
    RecalcLayout(device, m_rcClient);
    m_Doc.m_dScrollX += x - ScreenToWorldX(point.x);
    m_Doc.m_dScrollZ -= z - ScreenToWorldZ(point.y);
    RecalcLayout(device, m_rcClient);
    return hint;
}

bool MapViewport::PanBy(int dx, int dy, const MapDevice& device) {
    if (InPerspective(m_Doc) || (dx == 0 && dy == 0)) return false;
    const double scrollX = m_Doc.m_dScrollX, scrollZ = m_Doc.m_dScrollZ;
    m_Doc.m_dScrollX -= dx * 4096.0 / m_dScale;
    m_Doc.m_dScrollZ -= dy * 4096.0 / m_dScale;
    RecalcLayout(device, m_rcClient);
    return m_Doc.m_dScrollX != scrollX || m_Doc.m_dScrollZ != scrollZ;
}

void MapViewport::SetVisibleRect() {
    m_dVisLeft = ScreenToWorldX(m_rcClient.left - 10);
    m_dVisRight = ScreenToWorldX(m_rcClient.right + 10);
    m_dVisTop = ScreenToWorldZ(m_rcClient.top - 10);
    m_dVisBottom = ScreenToWorldZ(m_rcClient.bottom + 10);
}

bool MapViewport::IsVisible(double x, double z) const {
    return x >= m_dVisLeft && x <= m_dVisRight && z >= m_dVisBottom && z <= m_dVisTop;
}

bool MapViewport::ClipSegment(double& x1, double& z1, double& x2, double& z2) const {
    const double bottom = m_dVisBottom, top = m_dVisTop, left = m_dVisLeft, right = m_dVisRight;
    if ((z1 <= bottom && z2 <= bottom) || (z1 >= top && z2 >= top)) return false;
    // Past the test above, an end beyond an edge means the other lies inside it: no division by 0.
    if (z1 < bottom) {
        x1 += (x2 - x1) * (bottom - z1) / (z2 - z1);
        z1 = bottom;
    } else if (z2 < bottom) {
        x2 += (x1 - x2) * (bottom - z2) / (z1 - z2);
        z2 = bottom;
    }
    if (z1 > top) {
        x1 += (x2 - x1) * (top - z1) / (z2 - z1);
        z1 = top;
    } else if (z2 > top) {
        x2 += (x1 - x2) * (top - z2) / (z1 - z2);
        z2 = top;
    }
    if ((x1 <= left && x2 <= left) || (x1 >= right && x2 >= right)) return false;
    if (x1 < left) {
        z1 += (z2 - z1) * (left - x1) / (x2 - x1);
        x1 = left;
    } else if (x2 < left) {
        z2 += (z1 - z2) * (left - x2) / (x1 - x2);
        x2 = left;
    }
    if (x1 > right) {
        z1 += (z2 - z1) * (right - x1) / (x2 - x1);
        x1 = right;
    } else if (x2 > right) {
        z2 += (z1 - z2) * (right - x2) / (x1 - x2);
        x2 = right;
    }
    return !(x1 == x2 && z1 == z2);
}

} // namespace morvi
