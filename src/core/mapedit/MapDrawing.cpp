#include "mapedit/MapDrawing.h"

#include "mapedit/MapGeometry.h"

#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>
#include <unordered_set>

namespace morvi {

namespace {

// The selection's walls are drawn this many pixels wide, every other line one pixel.
constexpr std::uint8_t kSelectedLineWidth = 2;
// An object's symbol is a square of this many world units across (an actor's footprint), drawn
// never smaller than kObjectMinHalfPixels * 2 + 1 pixels so that it stays visible and clickable
// however far the map is zoomed out.
constexpr double kObjectWorldSize = 3.0;
constexpr int kObjectMinHalfPixels = 4;
// A selected object's ring clears the corners of its square by this many pixels; the heading
// tick reaches this far past the ring.
constexpr int kObjectRingGap = 2;
constexpr int kHeadingBeyondRing = 11;

constexpr std::uint32_t Grey(int g) {
    const auto v = static_cast<std::uint32_t>(g & 255);
    return v | v << 8 | v << 16;
}

bool IsElevatorText(const CDataInfItem& item) {
    for (const std::string& line : item.m_Lines)
        if (ContainsNoCase(line, "elevator move_floor") || ContainsNoCase(line, "elevator move_ceiling") ||
            ContainsNoCase(line, "elevator inv"))
            return true;
    return false;
}

// The upper-cased names of every elevator item, so that a draw asks the INF part once per sector
// instead of scanning every item for every wall.
std::unordered_set<std::string> ElevatorNames(const CDataInf& inf) {
    std::unordered_set<std::string> names;
    for (const auto& item : inf.m_pItems)
        if (!item->m_strName.empty() && EqualsNoCase(item->m_strType, "sector") && IsElevatorText(*item))
            names.insert(ToUpper(item->m_strName));
    return names;
}

// What the pen rules need to know of a wall's sector, gathered once per sector.
struct SectorPen {
    bool grey = false; // another layer, or vertex mode
    bool selected = false;
    bool elevator = false;
    bool blackWhite = false;
};

bool HasSign(const CDataWall& wall) {
    return wall.m_Sign.m_nTexture > -1;
}

bool MirrorHasSign(const CDataLev& lev, const CDataWall& wall) {
    if (wall.m_nAdjoin < 0 || wall.m_nMirror < 0) return false;
    const CDataSector* other = ItemAt(lev.m_pSectors, wall.m_nAdjoin);
    if (other == nullptr || static_cast<std::size_t>(wall.m_nMirror) >= other->m_pWalls.size()) return false;
    return HasSign(*other->m_pWalls[static_cast<std::size_t>(wall.m_nMirror)]);
}

// facesSign: the wall's mirror has a sign.
std::uint32_t RulePen(const CDataSector& sector, const CDataWall& wall, bool facesSign, const SectorPen& p) {
    if (p.grey) return MapColour::kGrey;
    if (p.selected) return MapColour::kRed;
    if (sector.m_nFlags1 & kSectorDoor) return MapColour::kYellow;
    if (sector.m_nFlags1 & kSectorSecret) return MapColour::kMagenta;
    if (HasSign(wall) || facesSign) return MapColour::kCyan;
    if (p.elevator) return MapColour::kYellow;
    if (wall.m_nAdjoin > -1 && wall.m_nMirror > -1) return MapColour::kDarkGreen;
    return MapColour::kGreen;
}

std::uint32_t Pen(std::uint32_t colour, bool blackWhite) {
    return blackWhite ? MapColour::kBlack : colour;
}

// The fill brush of a sector for a display tool; nothing for no fill.
std::optional<std::uint32_t> ToolBrush(const CDataSector& sector, int tool) {
    const int flags = sector.m_nFlags1;
    switch (tool) {
    case kToolAmbiance:
        return Grey(sector.m_nAmbient * 4 + 96);
    case kToolDamage: {
        const int level = (flags & kSectorExploding ? 96 : 0) + (flags & kSectorLowDamage ? 64 : 0) +
                          (flags & kSectorHighDamage ? 80 : 0);
        if (level == 0) return std::nullopt;
        return static_cast<std::uint32_t>(level);
    }
    case kToolAltitude:
        if (sector.m_dSecondAltitude == 0.0) return std::nullopt; // -0.0 compares equal too
        return MapColour::kDarkGreen;
    case kToolSkiesPits: {
        const bool sky = flags & kSectorSky;
        const bool pit = flags & kSectorPit;
        const int level = sky && pit ? 224 : sky ? 128 : pit ? 96 : 0;
        if (level == 0) return std::nullopt;
        return static_cast<std::uint32_t>(level) << 16;
    }
    default:
        return std::nullopt;
    }
}

struct WorldPoint {
    double x = 0;
    double z = 0;
    bool operator==(const WorldPoint&) const = default;
};

// One Sutherland-Hodgman pass: keeps the part of the polygon where inside() holds, cutting edges
// where they cross the boundary.
template <class Inside, class Cut>
void ClipPass(std::vector<WorldPoint>& poly, std::vector<WorldPoint>& scratch, Inside inside, Cut cut) {
    scratch.clear();
    const std::size_t n = poly.size();
    for (std::size_t i = 0; i < n; ++i) {
        const WorldPoint& a = poly[(i + n - 1) % n];
        const WorldPoint& b = poly[i];
        const bool ina = inside(a);
        const bool inb = inside(b);
        if (ina != inb) scratch.push_back(cut(a, b));
        if (inb) scratch.push_back(b);
    }
    poly.swap(scratch);
}

// Fills are clipped exactly to the visible rectangle rather than patched with window corners:
// inside the window the result is the same, and sectors far outside it add no polygon at all.
void ClipPolygon(std::vector<WorldPoint>& poly, std::vector<WorldPoint>& scratch, double left, double right,
                 double bottom, double top) {
    auto atZ = [](double z) {
        return [z](const WorldPoint& a, const WorldPoint& b) {
            return WorldPoint{a.x + (b.x - a.x) * (z - a.z) / (b.z - a.z), z};
        };
    };
    auto atX = [](double x) {
        return [x](const WorldPoint& a, const WorldPoint& b) {
            return WorldPoint{x, a.z + (b.z - a.z) * (x - a.x) / (b.x - a.x)};
        };
    };
    ClipPass(
        poly, scratch, [&](const WorldPoint& p) { return p.z >= bottom; }, atZ(bottom));
    ClipPass(
        poly, scratch, [&](const WorldPoint& p) { return p.z <= top; }, atZ(top));
    ClipPass(
        poly, scratch, [&](const WorldPoint& p) { return p.x >= left; }, atX(left));
    ClipPass(
        poly, scratch, [&](const WorldPoint& p) { return p.x <= right; }, atX(right));
}

// Whether nothing of the clipped polygon has an area: fewer than three points, or all on one
// vertical or horizontal line (a sector only touching an edge of the visible rectangle).
bool Flat(const std::vector<WorldPoint>& poly) {
    if (poly.size() < 3) return true;
    bool sameX = true, sameZ = true;
    for (const WorldPoint& p : poly) {
        sameX = sameX && p.x == poly[0].x;
        sameZ = sameZ && p.z == poly[0].z;
    }
    return sameX || sameZ;
}

// The end points of the loop's walls in order, without repeating the point two walls share.
void LoopPolygon(const CDataSector& sector, int begin, int end, std::vector<WorldPoint>& poly) {
    poly.clear();
    auto add = [&](const CDataVertex* v) {
        if (v == nullptr) return;
        const WorldPoint p{v->m_dX, v->m_dZ};
        if (poly.empty() || !(poly.back() == p)) poly.push_back(p);
    };
    for (int w = begin; w < end; ++w) {
        const CDataWall& wall = *sector.m_pWalls[static_cast<std::size_t>(w)];
        add(ItemAt(sector.m_pVertices, wall.m_nLeft));
        add(ItemAt(sector.m_pVertices, wall.m_nRight));
    }
    while (poly.size() > 1 && poly.front() == poly.back())
        poly.pop_back();
}

// Whether the sector's bounding box lies wholly on or beyond one edge of the visible rectangle:
// then every wall's two ends lie on or beyond that edge and the clip would reject them all.
bool SectorOutside(const MapDrawing& e, const CDataSector& sector) {
    if (sector.m_pVertices.empty()) return true;
    double minX = sector.m_pVertices[0]->m_dX, maxX = minX;
    double minZ = sector.m_pVertices[0]->m_dZ, maxZ = minZ;
    for (const auto& v : sector.m_pVertices) {
        minX = std::min(minX, v->m_dX);
        maxX = std::max(maxX, v->m_dX);
        minZ = std::min(minZ, v->m_dZ);
        maxZ = std::max(maxZ, v->m_dZ);
    }
    return maxX <= e.viewport().m_dVisLeft || minX >= e.viewport().m_dVisRight ||
           maxZ <= e.viewport().m_dVisBottom || minZ >= e.viewport().m_dVisTop;
}

// Buffers a draw reuses from sector to sector.
struct FillScratch {
    std::vector<int> loopStarts;
    std::vector<WorldPoint> poly;
    std::vector<WorldPoint> clipped;
    std::vector<ScreenPoint> screen;
};

// Each wall loop is a polygon of its own, so holes are filled like the outer loop.
void DrawToolFill(const MapDrawing& e, DisplayList& out, const CDataSector& s, int tool, FillScratch& b) {
    const auto brush = ToolBrush(s, tool);
    if (!brush) return;
    b.loopStarts.clear();
    BuildLoopStarts(s, b.loopStarts);
    for (std::size_t k = 0; k + 1 < b.loopStarts.size(); ++k) {
        LoopPolygon(s, b.loopStarts[k], b.loopStarts[k + 1], b.poly);
        ClipPolygon(b.poly, b.clipped, e.viewport().m_dVisLeft, e.viewport().m_dVisRight,
                    e.viewport().m_dVisBottom, e.viewport().m_dVisTop);
        if (Flat(b.poly)) continue;
        b.screen.clear();
        for (const WorldPoint& p : b.poly)
            b.screen.push_back(e.viewport().WorldToScreen(p.x, p.z));
        out.AddPolygon(b.screen, *brush);
    }
}

// A selected sector's mark: the rings at its first wall's left vertex, when that is visible.
void DrawRingsAtFirstWall(const MapDrawing& e, DisplayList& out, const CDataSector& s, bool blackWhite,
                          double dx = 0, double dz = 0) {
    if (s.m_pWalls.empty()) return;
    const CDataVertex* first = ItemAt(s.m_pVertices, s.m_pWalls[0]->m_nLeft);
    if (first != nullptr && e.viewport().IsVisible(first->m_dX + dx, first->m_dZ + dz))
        e.DrawRings(out, first->m_dX + dx, first->m_dZ + dz, Pen(MapColour::kRed, blackWhite));
}

// Objects of a sector on another layer stay hidden even with all layers shown; objects outside
// every sector are always drawn.
void DrawObjects(const MapDrawing& e, const CMorviDoc& doc, DisplayList& out, bool blackWhite) {
    const CDataLevel& level = doc.level();
    const auto& objects = level.m_Objects.m_pObjects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CDataObjectItem& object = *objects[i];
        if (object.m_nSector != -1) {
            const CDataSector* s = ItemAt(level.m_Lev.m_pSectors, object.m_nSector);
            if (s == nullptr || s->m_nLayer != doc.m_nCurrentLayer) continue;
        }
        e.DrawObject(out, object, IsObjectSelected(doc.selection(), static_cast<int>(i)), 0, 0, blackWhite);
    }
}

void DrawWallMarks(const MapDrawing& e, const CMorviDoc& doc, DisplayList& out, bool blackWhite) {
    const CDataLev& lev = doc.level().m_Lev;
    const auto& selection = doc.selection();
    const std::uint32_t red = Pen(MapColour::kRed, blackWhite);
    for (const CMapSelItem& item : selection) {
        const CDataSector* s = ItemAt(lev.m_pSectors, item.m_nSector);
        if (s == nullptr || item.m_nWall < 0 || static_cast<std::size_t>(item.m_nWall) >= s->m_pWalls.size())
            continue;
        const CDataWall& wall = *s->m_pWalls[static_cast<std::size_t>(item.m_nWall)];
        const CDataVertex* a = ItemAt(s->m_pVertices, wall.m_nLeft);
        const CDataVertex* b = ItemAt(s->m_pVertices, wall.m_nRight);
        if (a == nullptr || b == nullptr) continue;
        double x1 = a->m_dX, z1 = a->m_dZ, x2 = b->m_dX, z2 = b->m_dZ;
        if (e.viewport().ClipSegment(x1, z1, x2, z2))
            out.AddLine(e.viewport().WorldToScreenX(x1), e.viewport().WorldToScreenY(z1),
                        e.viewport().WorldToScreenX(x2), e.viewport().WorldToScreenY(z2), red,
                        kSelectedLineWidth);
        if (e.viewport().IsVisible(a->m_dX, a->m_dZ)) e.DrawRings(out, a->m_dX, a->m_dZ, red);
    }
}

// Vertices are marked on the current layer only: all layers are shown but never edited.
void DrawVertexMarks(const MapDrawing& e, const CMorviDoc& doc, DisplayList& out, bool blackWhite) {
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const CDataSector& s = *sectors[i];
        if (s.m_nLayer != doc.m_nCurrentLayer) continue;
        for (std::size_t v = 0; v < s.m_pVertices.size(); ++v)
            e.DrawVertexMark(out, s.m_pVertices[v]->m_dX, s.m_pVertices[v]->m_dZ,
                             IsVertexSelected(doc.selection(), static_cast<int>(i), static_cast<int>(v)),
                             blackWhite);
    }
}

void DrawModeMarks(const MapDrawing& e, const CMorviDoc& doc, DisplayList& out, bool blackWhite) {
    switch (doc.m_nMode) {
    case kModeSector:
        // Selected sectors again, so that their red walls lie on top of their neighbours'.
        for (const CMapSelItem& item : doc.selection())
            e.DrawSectorWalls(out, item.m_nSector, 0, 0, blackWhite);
        if (doc.m_nTool == kToolObjects) DrawObjects(e, doc, out, blackWhite);
        break;
    case kModeWall:
        DrawWallMarks(e, doc, out, blackWhite);
        break;
    case kModeVertex:
        DrawVertexMarks(e, doc, out, blackWhite);
        break;
    case kModeObject:
        DrawObjects(e, doc, out, blackWhite);
        break;
    default:
        break;
    }
}

// A sector's walls moved by (dx, dz), then the selection rings at its first wall's left vertex.
// The engine's world-to-pixel conversion with its operands held locally, so that the per-wall
// loop need not call across files; the expressions are the engine's own, operation by operation.
struct ScreenMap {
    double scrollX, scrollZ, scale;
    int X(double x) const { return static_cast<int>((x - scrollX + 2048.0) * scale / 4096.0); }
    int Y(double z) const { return static_cast<int>(scale - (z + scrollZ + 2048.0) * scale / 4096.0); }
};

// A sector's walls moved by (dx, dz), then the selection rings at its first wall's left vertex.
void DrawWalls(const MapDrawing& e, const CMorviDoc& doc, const MirrorSignTable& signs, DisplayList& out,
               int index, const CDataSector& s, const SectorPen& pen, double dx, double dz) {
    const CDataLev& lev = doc.level().m_Lev;
    const ScreenMap map{doc.m_dScrollX, doc.m_dScrollZ, e.viewport().m_dScale};
    const MapViewport& view = e.viewport();
    const std::uint16_t* facing = signs.CountsOf(lev, index);
    // The selection's red walls are drawn thick; another layer's grey beats the selection.
    const std::uint8_t width = pen.selected && !pen.grey ? kSelectedLineWidth : 1;
    for (std::size_t w = 0; w < s.m_pWalls.size(); ++w) {
        const CDataWall* wall = s.m_pWalls[w].get();
        const CDataVertex* a = ItemAt(s.m_pVertices, wall->m_nLeft);
        const CDataVertex* b = ItemAt(s.m_pVertices, wall->m_nRight);
        if (a == nullptr || b == nullptr) continue;
        double x1 = a->m_dX + dx, z1 = a->m_dZ + dz, x2 = b->m_dX + dx, z2 = b->m_dZ + dz;
        // Walls well inside the view (most of them) need no clipping.
        const bool inside = std::min(x1, x2) > view.m_dVisLeft && std::max(x1, x2) < view.m_dVisRight &&
                            std::min(z1, z2) > view.m_dVisBottom && std::max(z1, z2) < view.m_dVisTop;
        if (inside ? x1 == x2 && z1 == z2 : !view.ClipSegment(x1, z1, x2, z2)) continue;
        const bool facesSign = facing ? facing[w] > 0 : MirrorHasSign(lev, *wall);
        out.AddLine(map.X(x1), map.Y(z1), map.X(x2), map.Y(z2),
                    Pen(RulePen(s, *wall, facesSign, pen), pen.blackWhite), width);
    }
    if (pen.selected) DrawRingsAtFirstWall(e, out, s, pen.blackWhite, dx, dz);
}

} // namespace

void MapDrawing::Draw(DisplayList& out, const MapDevice& device) {
    if (m_Doc.m_nMode == kModePerspective) return;
    if (!device.m_bPrinting) DrawGrid(out);
    DrawMap(out, device.m_bPrinting && m_Settings.m_bBlackWhite);
}

void MapDrawing::DrawPrint(DisplayList& out, const MapDevice& printer, const ClientRect& page) {
    // The page gets a scale of its own; the views keep their zoom, grid, scroll and layout.
    const double scrollX = m_Doc.m_dScrollX;
    const double scrollZ = m_Doc.m_dScrollZ;
    const double scale = m_View.m_dScale;
    const ClientRect client = m_View.m_rcClient;
    if (!m_View.FitToPage(page)) m_View.m_rcClient = page;
    DrawMap(out, printer.m_bPrinting && m_Settings.m_bBlackWhite);
    m_Doc.m_dScrollX = scrollX;
    m_Doc.m_dScrollZ = scrollZ;
    m_View.m_dScale = scale;
    m_View.m_rcClient = client;
    m_View.SetVisibleRect();
}

// Dots closer than this many pixels would cover a large level zoomed out with a carpet: a
// coarser multiple of the grid step is drawn instead (the grid the edits snap to stays).
constexpr int kFewestDotPixels = 6;

void MapDrawing::DrawGrid(DisplayList& out) const {
    if (!m_Doc.m_bGridOn || !(m_View.m_dGridStep > 0)) return;
    double step = m_View.m_dGridStep;
    while (step * m_View.m_dScale / 4096.0 < kFewestDotPixels && step < 4096.0)
        step *= 2.0;
    const double l = m_View.ScreenToWorldX(m_View.m_rcClient.left);
    const double r = m_View.ScreenToWorldX(m_View.m_rcClient.right);
    const double t = m_View.ScreenToWorldZ(m_View.m_rcClient.top);
    const double b = m_View.ScreenToWorldZ(m_View.m_rcClient.bottom);
    const double x0 = l - std::fmod(l, step);
    const double z0 = t - std::fmod(t, step);
    // The spacing of the first cell is used throughout, so the dots stay evenly spaced even where
    // truncation would make single cells a pixel wider or narrower.
    const int px0 = m_View.WorldToScreenX(x0);
    const int pxEnd = m_View.WorldToScreenX(r);
    const int dx = std::max(m_View.WorldToScreenX(x0 + step) - px0, 1);
    const int py0 = m_View.WorldToScreenY(z0);
    const int pyEnd = m_View.WorldToScreenY(b);
    const int dy = std::max(m_View.WorldToScreenY(z0 - step) - py0, 1);
    for (int px = px0; px < pxEnd; px += dx)
        for (int py = py0; py < pyEnd; py += dy)
            out.AddPixel(px, py, MapColour::kGridDot);
}

int MapDrawing::FirstLoopLength(const CDataSector& sector) {
    const int count = static_cast<int>(sector.m_pWalls.size());
    if (count == 0) return 0;
    const int start = sector.m_pWalls[0]->m_nLeft;
    for (int i = 0; i < count; ++i)
        if (sector.m_pWalls[static_cast<std::size_t>(i)]->m_nRight == start) return i + 1;
    return count;
}

bool MapDrawing::IsElevatorSector(const CDataLevel& level, const CDataSector& sector) {
    if (sector.m_strName.empty()) return false;
    for (const auto& item : level.m_Inf.m_pItems)
        if (EqualsNoCase(item->m_strType, "sector") && EqualsNoCase(item->m_strName, sector.m_strName) &&
            IsElevatorText(*item))
            return true;
    return false;
}

std::uint32_t MapDrawing::WallColour(int sector, int wall) const {
    const CDataSector* s = ItemAt(m_Doc.level().m_Lev.m_pSectors, sector);
    if (s == nullptr || wall < 0 || static_cast<std::size_t>(wall) >= s->m_pWalls.size())
        return MapColour::kGrey;
    SectorPen pen;
    pen.grey = s->m_nLayer != m_Doc.m_nCurrentLayer || m_Doc.m_nMode == kModeVertex;
    pen.selected = m_Doc.m_nMode == kModeSector && IsSectorSelected(m_Doc.selection(), sector);
    pen.elevator = IsElevatorSector(m_Doc.level(), *s);
    return RulePen(*s, *s->m_pWalls[static_cast<std::size_t>(wall)],
                   m_MirrorSigns.Faces(m_Doc.level().m_Lev, sector, *s, wall), pen);
}

void MapDrawing::DrawRings(DisplayList& out, double x, double z, std::uint32_t colour) const {
    const int px = m_View.WorldToScreenX(x);
    const int py = m_View.WorldToScreenY(z);
    out.AddEllipse(px - 4, py - 4, px + 4, py + 5, colour);
    out.AddEllipse(px - 3, py - 3, px + 3, py + 4, colour);
}

void MapDrawing::DrawVertexMark(DisplayList& out, double x, double z, bool marked, bool blackWhite) const {
    if (!m_View.IsVisible(x, z)) return;
    const int px = m_View.WorldToScreenX(x);
    const int py = m_View.WorldToScreenY(z);
    for (int y = py - 1; y <= py + 1; ++y)
        out.AddLine(px - 1, y, px + 2, y, Pen(MapColour::kGreen, blackWhite));
    if (marked) DrawRings(out, x, z, Pen(MapColour::kRed, blackWhite));
}

void MapDrawing::DrawObject(DisplayList& out, const CDataObjectItem& object, bool selected, double dx,
                            double dz, bool blackWhite) const {
    const double x = object.m_dX + dx;
    const double z = object.m_dZ + dz;
    if (!m_View.IsVisible(x, z)) return;
    const int px = m_View.WorldToScreenX(x);
    const int py = m_View.WorldToScreenY(z);
    const std::uint32_t c = blackWhite ? 0 : object.m_crColour;
    const int h = ObjectHalfSize(m_View);
    if (EqualsNoCase(object.m_strClass, "frame")) {
        out.AddPixel(px - h - 1, py, c);
        out.AddPixel(px + h + 1, py, c);
        out.AddPixel(px, py - h - 1, c);
        out.AddPixel(px, py + h + 1, c);
    }
    // Pixels px - h .. px + h on both axes: a fill leaves out its right and bottom edges.
    const ScreenPoint square[] = {
        {px - h, py - h}, {px + h + 1, py - h}, {px + h + 1, py + h + 1}, {px - h, py + h + 1}};
    out.AddPolygon(square, c);
    if (!selected) return;
    const std::uint32_t red = Pen(MapColour::kRed, blackWhite);
    const int ring = static_cast<int>(std::ceil(h * std::numbers::sqrt2)) + kObjectRingGap;
    out.AddEllipse(px - ring, py - ring, px + ring, py + ring + 1, red);
    // Degrees to radians with pi taken as 22/7, as the heading has always been drawn.
    const double a = object.m_dYaw * 44.0 / 2520.0;
    const int tick = ring + kHeadingBeyondRing;
    out.AddLine(px, py, static_cast<int>(px + tick * std::sin(a)), static_cast<int>(py - tick * std::cos(a)),
                red);
}

int MapDrawing::ObjectHalfSize(const MapViewport& view) {
    // Bounded, so that no zoom or page can overflow the pixel arithmetic.
    const double worldHalf = std::min(kObjectWorldSize / 2 * view.m_dScale / 4096.0, 65536.0);
    return std::max(kObjectMinHalfPixels, static_cast<int>(std::lround(worldHalf)));
}

int MapDrawing::ObjectReach(const CDataObjectItem& object, const MapViewport& view) {
    return ObjectHalfSize(view) + (EqualsNoCase(object.m_strClass, "frame") ? 1 : 0);
}

void MapDrawing::DrawSectorWalls(DisplayList& out, int sector, double dx, double dz, bool blackWhite) const {
    const CDataSector* s = ItemAt(m_Doc.level().m_Lev.m_pSectors, sector);
    if (s == nullptr) return;
    const SectorPen pen{s->m_nLayer != m_Doc.m_nCurrentLayer || m_Doc.m_nMode == kModeVertex,
                        m_Doc.m_nMode == kModeSector && IsSectorSelected(m_Doc.selection(), sector),
                        IsElevatorSector(m_Doc.level(), *s), blackWhite};
    DrawWalls(*this, m_Doc, m_MirrorSigns, out, sector, *s, pen, dx, dz);
}

void MapDrawing::DrawMap(DisplayList& out, bool blackWhite) {
    m_View.SetVisibleRect();
    m_MirrorSigns.Prepare(m_Doc.level().m_Lev);
    if (m_bObjectsDirty) {
        AssignObjectSectors();
    } else if (!m_DirtySectors.empty() || !m_DirtyObjects.empty()) {
        ReassignObjectSectors(m_Doc.level(), m_DirtySectors, m_DirtyObjects);
        m_DirtySectors.clear();
        m_DirtyObjects.clear();
    }
    const CDataLev& lev = m_Doc.level().m_Lev;
    const std::unordered_set<std::string> elevators = ElevatorNames(m_Doc.level().m_Inf);
    const int mode = m_Doc.m_nMode;
    m_Doc.m_nMaxLayer = -1;
    m_Doc.m_nMinLayer = INT_MAX;
    FillScratch scratch;
    for (std::size_t i = 0; i < lev.m_pSectors.size(); ++i) {
        const CDataSector& s = *lev.m_pSectors[i];
        m_Doc.m_nMaxLayer = std::max(m_Doc.m_nMaxLayer, s.m_nLayer);
        m_Doc.m_nMinLayer = std::min(m_Doc.m_nMinLayer, s.m_nLayer);
        if (s.m_nLayer != m_Doc.m_nCurrentLayer && !m_Doc.m_bAllLayers) continue;
        const bool selected = mode == kModeSector && IsSectorSelected(m_Doc.selection(), static_cast<int>(i));
        if (SectorOutside(*this, s)) {
            // Nothing of it can be drawn but the selection rings, which may sit on an edge.
            if (selected) DrawRingsAtFirstWall(*this, out, s, blackWhite);
            continue;
        }
        if (mode == kModeSector) DrawToolFill(*this, out, s, m_Doc.m_nTool, scratch);
        const bool elevator = !s.m_strName.empty() && elevators.contains(ToUpper(s.m_strName));
        const SectorPen pen{s.m_nLayer != m_Doc.m_nCurrentLayer || mode == kModeVertex, selected, elevator,
                            blackWhite};
        DrawWalls(*this, m_Doc, m_MirrorSigns, out, static_cast<int>(i), s, pen, 0, 0);
    }
    DrawModeMarks(*this, m_Doc, out, blackWhite);
}

// The assignment is the core's world-unit rule, so that it does not depend on the zoom.
void MapDrawing::AssignObjectSectors() {
    morvi::AssignObjectSectors(m_Doc.level());
    m_bObjectsDirty = false;
    m_DirtySectors.clear();
    m_DirtyObjects.clear();
}

void MapDrawing::GeometryChanged(const ChangeScope* scope) {
    if (!scope) {
        m_bObjectsDirty = true;
        m_MirrorSigns.Invalidate();
        return;
    }
    m_MirrorSigns.Update(m_Doc.level().m_Lev, scope->m_Sectors);
    if (m_bObjectsDirty) return;
    m_DirtySectors.insert(m_DirtySectors.end(), scope->m_Sectors.begin(), scope->m_Sectors.end());
    m_DirtyObjects.insert(m_DirtyObjects.end(), scope->m_Objects.begin(), scope->m_Objects.end());
}

// ---- Walls facing signs ---------------------------------------------------------------------

int MirrorSignTable::TargetOf(const CDataLev& lev, const CDataWall& wall) const {
    if (!HasSign(wall) || !ValidIndex(lev.m_pSectors.size(), wall.m_nAdjoin) || wall.m_nMirror < 0) return -1;
    const auto adjoin = static_cast<std::size_t>(wall.m_nAdjoin);
    const std::uint32_t walls = m_Base[adjoin + 1] - m_Base[adjoin];
    if (static_cast<std::uint32_t>(wall.m_nMirror) >= walls) return -1;
    return static_cast<int>(m_Base[adjoin] + static_cast<std::uint32_t>(wall.m_nMirror));
}

void MirrorSignTable::Prepare(const CDataLev& lev) {
    if (m_bValid && m_Base.size() == lev.m_pSectors.size() + 1) return;
    const auto& sectors = lev.m_pSectors;
    m_Base.assign(sectors.size() + 1, 0);
    for (std::size_t s = 0; s < sectors.size(); ++s)
        m_Base[s + 1] = m_Base[s] + static_cast<std::uint32_t>(sectors[s]->m_pWalls.size());
    m_Target.assign(m_Base.back(), -1);
    m_Count.assign(m_Base.back(), 0);
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        for (std::size_t w = 0; w < sectors[s]->m_pWalls.size(); ++w) {
            const int target = TargetOf(lev, *sectors[s]->m_pWalls[w]);
            m_Target[m_Base[s] + w] = target;
            if (target >= 0) ++m_Count[static_cast<std::size_t>(target)];
        }
    }
    m_bValid = true;
}

bool MirrorSignTable::Fits(const CDataLev& lev, int s) const {
    if (!m_bValid || m_Base.size() != lev.m_pSectors.size() + 1 || !ValidIndex(lev.m_pSectors.size(), s))
        return false;
    const auto i = static_cast<std::size_t>(s);
    return m_Base[i + 1] - m_Base[i] == lev.m_pSectors[i]->m_pWalls.size();
}

void MirrorSignTable::Update(const CDataLev& lev, std::span<const int> sectors) {
    std::vector<int> once(sectors.begin(), sectors.end());
    std::sort(once.begin(), once.end());
    once.erase(std::unique(once.begin(), once.end()), once.end());
    for (const int s : once) {
        if (!Fits(lev, s)) {
            m_bValid = false;
            return;
        }
        const auto& walls = lev.m_pSectors[static_cast<std::size_t>(s)]->m_pWalls;
        for (std::size_t w = 0; w < walls.size(); ++w) {
            std::int32_t& target = m_Target[m_Base[static_cast<std::size_t>(s)] + w];
            if (target >= 0) --m_Count[static_cast<std::size_t>(target)];
            target = TargetOf(lev, *walls[w]);
            if (target >= 0) ++m_Count[static_cast<std::size_t>(target)];
        }
    }
}

const std::uint16_t* MirrorSignTable::CountsOf(const CDataLev& lev, int s) const {
    return Fits(lev, s) ? m_Count.data() + m_Base[static_cast<std::size_t>(s)] : nullptr;
}

bool MirrorSignTable::Faces(const CDataLev& lev, int s, const CDataSector& sector, int w) const {
    if (const std::uint16_t* counts = CountsOf(lev, s)) return counts[w] > 0;
    return MirrorHasSign(lev, *sector.m_pWalls[static_cast<std::size_t>(w)]);
}

} // namespace morvi
