#include "mapedit/MapPicker.h"

#include "mapedit/MapDrawing.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <set>

namespace morvi {

namespace {

// Clicks reach walls and vertices within this many pixels.
constexpr double kPickPixels = 10.0;
// A wall is drawn up to this many pixels from its line (a selected wall two pixels wide, each
// pixel where truncation puts it): a click there picks the wall from either side.
constexpr double kDrawnWallPixels = 2.0;

double PixelDistance(ScreenPoint a, ScreenPoint b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool InRect(const ClientRect& r, ScreenPoint p) {
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

ClientRect Normalised(const ClientRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

std::string Capitalised(std::string_view s) {
    std::string out = ToLower(s);
    if (!out.empty()) out[0] = ToUpperAscii(out[0]);
    return out;
}

// Whether a selection entry names the same item as a candidate of the mode.
bool SameItem(int mode, const CMapSelItem& a, const CMapSelItem& b) {
    switch (mode) {
    case kModeSector:
        return a.m_nSector == b.m_nSector;
    case kModeWall:
        return a.m_nSector == b.m_nSector && a.m_nWall == b.m_nWall;
    case kModeVertex:
        return a.m_nSector == b.m_nSector && a.m_nVertex == b.m_nVertex;
    default:
        return a.m_nObject == b.m_nObject;
    }
}

enum class SelectionEffect { Untouched, Added, Removed, Cleared };

// Ctrl toggles the candidate; a plain click replaces the selection unless the candidate is
// already part of it, so that a drag of a multiple selection can start from any of its items.
SelectionEffect UpdateSelection(std::vector<CMapSelItem>& selection, int mode,
                                const std::optional<CMapSelItem>& candidate, bool ctrl) {
    if (!candidate) {
        if (ctrl || selection.empty()) return SelectionEffect::Untouched;
        selection.clear();
        return SelectionEffect::Cleared;
    }
    const auto same = [&](const CMapSelItem& e) { return SameItem(mode, e, *candidate); };
    if (std::any_of(selection.begin(), selection.end(), same)) {
        if (!ctrl) return SelectionEffect::Untouched;
        std::erase_if(selection, same);
        return SelectionEffect::Removed;
    }
    SelectionEffect effect = SelectionEffect::Added;
    if (!ctrl && !selection.empty()) {
        selection.clear();
        effect = SelectionEffect::Cleared;
    }
    selection.push_back(*candidate);
    return effect;
}

// A click holds at most one of several vertices lying on each other: later duplicates go. A
// rubber band may have filled the selection with thousands of vertices, hence the set.
bool RemoveCoincidentVertices(const CDataLevel& level, std::vector<CMapSelItem>& selection) {
    std::set<std::pair<double, double>> seen;
    const auto repeated = [&](const CMapSelItem& e) {
        const CDataSector* s = ItemAt(level.m_Lev.m_pSectors, e.m_nSector);
        const CDataVertex* v = s ? ItemAt(s->m_pVertices, e.m_nVertex) : nullptr;
        // A NaN equals nothing, and would upset the set's ordering.
        if (!v || std::isnan(v->m_dX) || std::isnan(v->m_dZ)) return false;
        return !seen.emplace(v->m_dX, v->m_dZ).second;
    };
    return std::erase_if(selection, repeated) != 0;
}

struct PixelBox {
    int left, top, right, bottom;
    bool Holds(ScreenPoint p) const { return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom; }
};

// The pixel box of all the sector's vertices. Truncation keeps the order of coordinates, so the
// box from the world extremes holds every vertex's pixel; a point outside it has no crossings to
// its right or none at all, so the crossing test cannot hold there for any of its loops. Taken
// from the live vertices of each candidate, so the grid's recorded boxes never decide a pick.
std::optional<PixelBox> SectorBox(const MapViewport& view, const CDataSector& sector) {
    if (sector.m_pVertices.empty()) return std::nullopt;
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX, minZ = minX, maxZ = -minX;
    for (const auto& v : sector.m_pVertices) {
        minX = std::min(minX, v->m_dX);
        maxX = std::max(maxX, v->m_dX);
        minZ = std::min(minZ, v->m_dZ);
        maxZ = std::max(maxZ, v->m_dZ);
    }
    return PixelBox{view.WorldToScreenX(minX), view.WorldToScreenY(maxZ), view.WorldToScreenX(maxX),
                    view.WorldToScreenY(minZ)};
}

// The first loop's left vertices in pixels; false when a wall names a missing vertex.
bool FirstLoopPolygon(const MapViewport& view, const CDataSector& sector, std::vector<ScreenPoint>& polygon) {
    polygon.clear();
    const int n = MapDrawing::FirstLoopLength(sector);
    for (int w = 0; w < n; ++w) {
        const CDataVertex* v =
            ItemAt(sector.m_pVertices, sector.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft);
        if (!v) return false;
        polygon.push_back(view.WorldToScreen(v->m_dX, v->m_dZ));
    }
    return true;
}

// The sectors a click at the point could pick, highest index first. A sector's pixel box can
// hold the point only if its world box meets the world span of the pixels next to it (truncation
// moves a coordinate by less than one pixel); two pixels of margin leave room for rounding.
std::vector<int> SectorCandidates(const MapViewport& view, const SectorGrid& grid, ScreenPoint point) {
    std::vector<int> out;
    const double x0 = view.ScreenToWorldX(point.x - 2.0), x1 = view.ScreenToWorldX(point.x + 2.0);
    const double z0 = view.ScreenToWorldZ(point.y + 2.0), z1 = view.ScreenToWorldZ(point.y - 2.0);
    if (!grid.Candidates(x0, z0, x1, z1, out))
        for (std::size_t i = grid.sectorCount(); i-- > 0;)
            out.push_back(static_cast<int>(i));
    return out;
}

// Sector mode: of the sectors whose first loop holds the point, the one whose outline lies
// closest around it, so that a small sector inside a large one can be picked. Going from the last
// sector with a strict comparison lets the higher index win a tie. The grid only narrows the
// search; each candidate is tested on its live vertices.
std::optional<CMapSelItem> PickSector(const MapViewport& view, const CMorviDoc& doc, const SectorGrid& grid,
                                      ScreenPoint point) {
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    std::vector<ScreenPoint> polygon;
    double best = std::numeric_limits<double>::infinity();
    std::optional<CMapSelItem> found;
    for (const int i : SectorCandidates(view, grid, point)) {
        const CDataSector& sector = *sectors[static_cast<std::size_t>(i)];
        if (sector.m_nLayer != doc.m_nCurrentLayer) continue;
        const std::optional<PixelBox> box = SectorBox(view, sector);
        if (!box || !box->Holds(point)) continue;
        if (!FirstLoopPolygon(view, sector, polygon) || !MapPicker::PointInPolygon(polygon, point)) continue;
        double score = 0.0;
        for (ScreenPoint p : polygon)
            score += PixelDistance(p, point);
        if (score < best) {
            best = score;
            found = CMapSelItem{i, -1, -1, -1};
        }
    }
    return found;
}

// Distance from (wx, wz) to the wall's line when the wall can take the click: the point lies
// within the wall's box widened by that distance and on the wall's own side, so of two walls lying
// on each other the one of the sector on the click's side answers. Behind the wall, a click on its
// drawn pixels (within `drawn` world units) still takes it, counted that much farther away so that
// a wall on the click's side at the same place keeps the click.
std::optional<double> WallDistance(const CDataVertex& p1, const CDataVertex& p2, double wx, double wz,
                                   double drawn) {
    const double x1 = p1.m_dX, z1 = p1.m_dZ, x2 = p2.m_dX, z2 = p2.m_dZ;
    const double length = std::sqrt((x2 - x1) * (x2 - x1) + (z2 - z1) * (z2 - z1));
    if (length == 0.0) return std::nullopt;
    const double d = std::fabs((wx - x1) * (z2 - z1) - (wz - z1) * (x2 - x1)) / length;
    if (wx < std::min(x1, x2) - d || wx > std::max(x1, x2) + d) return std::nullopt;
    if (wz < std::min(z1, z2) - d || wz > std::max(z1, z2) + d) return std::nullopt;
    if ((wx - x2) * (z1 - z2) > (wz - z2) * (x1 - x2)) {
        if (d > drawn) return std::nullopt;
        return d + drawn;
    }
    return d;
}

// Wall mode: the nearest wall within ten pixels, the first found on a tie.
std::optional<CMapSelItem> PickWall(const MapViewport& view, const CMorviDoc& doc, ScreenPoint point) {
    const double wx = view.ScreenToWorldX(point.x);
    const double wz = view.ScreenToWorldZ(point.y);
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    const double drawn = kDrawnWallPixels * 4096.0 / view.m_dScale;
    double best = kPickPixels * 4096.0 / view.m_dScale;
    std::optional<CMapSelItem> found;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const CDataSector& sector = *sectors[i];
        if (sector.m_nLayer != doc.m_nCurrentLayer) continue;
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) {
            const CDataVertex* p1 = ItemAt(sector.m_pVertices, sector.m_pWalls[w]->m_nLeft);
            const CDataVertex* p2 = ItemAt(sector.m_pVertices, sector.m_pWalls[w]->m_nRight);
            if (!p1 || !p2) continue;
            const std::optional<double> d = WallDistance(*p1, *p2, wx, wz, drawn);
            if (d && *d < best) {
                best = *d;
                found = CMapSelItem{static_cast<int>(i), static_cast<int>(w), -1, -1};
            }
        }
    }
    return found;
}

// Vertex mode: the nearest vertex under ten pixels, the first found on a tie.
std::optional<CMapSelItem> PickVertex(const MapViewport& view, const CMorviDoc& doc, ScreenPoint point) {
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    double best = kPickPixels;
    std::optional<CMapSelItem> found;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const CDataSector& sector = *sectors[i];
        if (sector.m_nLayer != doc.m_nCurrentLayer) continue;
        for (std::size_t v = 0; v < sector.m_pVertices.size(); ++v) {
            const CDataVertex& vertex = *sector.m_pVertices[v];
            const double d = PixelDistance(view.WorldToScreen(vertex.m_dX, vertex.m_dZ), point);
            if (d < best) {
                best = d;
                found = CMapSelItem{static_cast<int>(i), -1, static_cast<int>(v), -1};
            }
        }
    }
    return found;
}

// Objects outside every sector belong to every layer.
bool ObjectOnLayer(const CDataLevel& level, const CDataObjectItem& object, int layer, bool allLayers) {
    if (object.m_nSector == -1) return true;
    const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, object.m_nSector);
    return sector && (allLayers || sector->m_nLayer == layer);
}

// Object mode: of the objects whose drawn symbol holds the point, the one whose centre is nearest
// (the first found on a tie), with the sector it was assigned.
std::optional<CMapSelItem> PickObject(const MapViewport& view, const CMorviDoc& doc, ScreenPoint point) {
    const auto& objects = doc.level().m_Objects.m_pObjects;
    double best = std::numeric_limits<double>::infinity();
    std::optional<CMapSelItem> found;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CDataObjectItem& object = *objects[i];
        if (!ObjectOnLayer(doc.level(), object, doc.m_nCurrentLayer, false)) continue;
        const ScreenPoint at = view.WorldToScreen(object.m_dX, object.m_dZ);
        const int reach = MapDrawing::ObjectReach(object, view);
        if (std::llabs(std::int64_t{point.x} - at.x) > reach ||
            std::llabs(std::int64_t{point.y} - at.y) > reach)
            continue;
        const double d = PixelDistance(at, point);
        if (d < best) {
            best = d;
            found = CMapSelItem{object.m_nSector, -1, -1, static_cast<int>(i)};
        }
    }
    return found;
}

// The rubber band's test: inside the band and inside the visible world rectangle, bounds included.
struct BandTest {
    const MapViewport& view;
    ClientRect band;

    bool Holds(double x, double z) const {
        const bool visible =
            view.m_dVisLeft <= x && x <= view.m_dVisRight && view.m_dVisBottom <= z && z <= view.m_dVisTop;
        return visible && InRect(band, view.WorldToScreen(x, z));
    }
    bool Holds(const CDataVertex* v) const { return v && Holds(v->m_dX, v->m_dZ); }
};

struct LayerFilter {
    int layer;
    bool all;
    bool operator()(const CDataSector& s) const { return all || s.m_nLayer == layer; }
};

void BandSectors(const CDataLevel& level, const BandTest& test, std::vector<CMapSelItem>& out,
                 const LayerFilter& onLayer) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const CDataSector& sector = *sectors[i];
        if (!onLayer(sector) || sector.m_pVertices.empty()) continue;
        const bool all = std::all_of(sector.m_pVertices.begin(), sector.m_pVertices.end(),
                                     [&](const auto& v) { return test.Holds(v.get()); });
        if (all) out.push_back({static_cast<int>(i), -1, -1, -1});
    }
}

void BandWalls(const CDataLevel& level, const BandTest& test, std::vector<CMapSelItem>& out,
               const LayerFilter& onLayer) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const CDataSector& sector = *sectors[i];
        if (!onLayer(sector)) continue;
        for (std::size_t w = 0; w < sector.m_pWalls.size(); ++w) {
            const CDataWall& wall = *sector.m_pWalls[w];
            if (test.Holds(ItemAt(sector.m_pVertices, wall.m_nLeft)) &&
                test.Holds(ItemAt(sector.m_pVertices, wall.m_nRight)))
                out.push_back({static_cast<int>(i), static_cast<int>(w), -1, -1});
        }
    }
}

void BandVertices(const CDataLevel& level, const BandTest& test, std::vector<CMapSelItem>& out,
                  const LayerFilter& onLayer) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const CDataSector& sector = *sectors[i];
        if (!onLayer(sector)) continue;
        for (std::size_t v = 0; v < sector.m_pVertices.size(); ++v)
            if (test.Holds(sector.m_pVertices[v].get()))
                out.push_back({static_cast<int>(i), -1, static_cast<int>(v), -1});
    }
}

void BandObjects(const CMorviDoc& doc, const BandTest& test, std::vector<CMapSelItem>& out) {
    const auto& objects = doc.level().m_Objects.m_pObjects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CDataObjectItem& object = *objects[i];
        if (ObjectOnLayer(doc.level(), object, doc.m_nCurrentLayer, doc.m_bAllLayers != 0) &&
            test.Holds(object.m_dX, object.m_dZ))
            out.push_back({object.m_nSector, -1, -1, static_cast<int>(i)});
    }
}

} // namespace

void MapPicker::PickAt(ScreenPoint point, KeyState keys) {
    const int mode = m_Doc.m_nMode;
    if (mode < kModeSector || mode > kModeObject) return; // the perspective view picks for itself
    m_Doc.m_StoreEdits();
    std::optional<CMapSelItem> candidate;
    switch (mode) {
    case kModeSector:
        if (m_bGeometryDirty || m_SectorGrid.sectorCount() != m_Doc.level().m_Lev.m_pSectors.size()) {
            m_SectorGrid.Build(m_Doc.level().m_Lev.m_pSectors);
            m_bGeometryDirty = false;
        }
        candidate = PickSector(m_View, m_Doc, m_SectorGrid, point);
        break;
    case kModeWall:
        candidate = PickWall(m_View, m_Doc, point);
        break;
    case kModeVertex:
        candidate = PickVertex(m_View, m_Doc, point);
        break;
    default:
        candidate = PickObject(m_View, m_Doc, point);
        break;
    }
    SelectionEffect effect = UpdateSelection(m_Doc.selection(), mode, candidate, keys.m_bCtrl);
    if (mode == kModeVertex && RemoveCoincidentVertices(m_Doc.level(), m_Doc.selection()))
        effect = SelectionEffect::Removed;
    if (effect != SelectionEffect::Untouched && m_Notify.m_Invalidate)
        m_Notify.m_Invalidate(effect == SelectionEffect::Removed || effect == SelectionEffect::Cleared);
    m_Doc.m_SelectionChanged();
}

// Unlike a click, the band also catches the other layers' items when all layers are shown.
void MapPicker::RubberBandSelect(const ClientRect& rect) {
    const BandTest test{m_View, Normalised(rect)};
    const LayerFilter onLayer{m_Doc.m_nCurrentLayer, m_Doc.m_bAllLayers != 0};
    const std::size_t before = m_Doc.selection().size();
    switch (m_Doc.m_nMode) {
    case kModeSector:
        BandSectors(m_Doc.level(), test, m_Doc.selection(), onLayer);
        break;
    case kModeWall:
        BandWalls(m_Doc.level(), test, m_Doc.selection(), onLayer);
        break;
    case kModeVertex:
        BandVertices(m_Doc.level(), test, m_Doc.selection(), onLayer);
        break;
    case kModeObject:
        BandObjects(m_Doc, test, m_Doc.selection());
        break;
    default:
        break;
    }
    if (m_Doc.selection().size() != before && m_Notify.m_Invalidate) m_Notify.m_Invalidate(false);
}

// Sector and wall entries survive a trip through the perspective view; entries of a kind the new
// mode cannot show are dropped.
bool MapPicker::SetMode(int mode) {
    const int old = m_Doc.m_nMode;
    if (mode == old || mode < kModeSector || mode > kModePerspective) return false;
    const auto vertexOrObject = [](int m) { return m == kModeVertex || m == kModeObject; };
    if (vertexOrObject(old) || vertexOrObject(mode)) {
        m_Doc.selection().clear();
    } else if (!m_Doc.selection().empty()) {
        const bool wallEntries = m_Doc.selection().front().m_nWall != -1;
        if (mode == kModeWall && !wallEntries) {
            // A sector names no one wall.
            m_Doc.selection().clear();
        } else if (mode == kModeSector && wallEntries) {
            // The walls' sectors, each once, in the order of their first wall.
            std::vector<CMapSelItem> sectors;
            for (const CMapSelItem& e : m_Doc.selection()) {
                const CMapSelItem sector{e.m_nSector, -1, -1, -1};
                if (std::find(sectors.begin(), sectors.end(), sector) == sectors.end())
                    sectors.push_back(sector);
            }
            m_Doc.selection() = std::move(sectors);
        }
    }
    m_Doc.m_nMode = mode;
    return true;
}

std::string MapPicker::SelectionCountPane() const {
    const std::size_t count = m_Doc.selection().size();
    return count == 0 ? std::string() : std::to_string(count) + " selected";
}

std::pair<std::string, std::string> MapPicker::StatusPanes() const {
    static constexpr const char* kModes[] = {"Sector mode", "Wall mode", "Vertex mode", "Object mode"};
    static constexpr const char* kTools[] = {"Normal",   "Ambiance",     "Damage",
                                             "Altitude", "Skies & Pits", "Objects"};
    const int mode = m_Doc.m_nMode;
    if (m_Doc.selection().empty()) {
        if (mode < kModeSector || mode > kModeObject) return {};
        const int tool = m_Doc.m_nTool;
        const bool named = mode == kModeSector && tool >= kToolNormal && tool <= kToolObjects;
        return {kModes[mode], named ? kTools[tool] : ""};
    }
    const CMapSelItem& first = m_Doc.selection().front();
    if (mode == kModeObject) {
        const auto& objects = m_Doc.level().m_Objects.m_pObjects;
        if (first.m_nObject < 0 || static_cast<std::size_t>(first.m_nObject) >= objects.size()) return {};
        const CDataObjectItem& object = *objects[static_cast<std::size_t>(first.m_nObject)];
        return {Capitalised(object.m_strClass), Capitalised(object.m_strData)};
    }
    const CDataSector* sector = ItemAt(m_Doc.level().m_Lev.m_pSectors, first.m_nSector);
    const std::string name = sector ? sector->m_strName : std::string();
    if (mode == kModeVertex) return {name, "Vertex " + std::to_string(first.m_nVertex)};
    // The perspective view keeps the entries of the map mode it came from.
    if (mode == kModeWall || (mode == kModePerspective && first.m_nWall != -1))
        return {name, "Wall " + std::to_string(first.m_nWall)};
    return {"Sector " + std::to_string(first.m_nSector), name};
}

void MapPicker::JumpToSector(int sector) {
    const CDataSector* target = ItemAt(m_Doc.level().m_Lev.m_pSectors, sector);
    if (!target) return;
    m_Doc.m_StoreEdits();
    m_Doc.selection().clear();
    m_Doc.selection().push_back({sector, -1, -1, -1});
    m_Doc.m_nCurrentLayer = target->m_nLayer;
    if (!target->m_pVertices.empty()) {
        double x = 0.0, z = 0.0;
        for (const auto& v : target->m_pVertices) {
            x += v->m_dX;
            z += v->m_dZ;
        }
        const auto count = static_cast<double>(target->m_pVertices.size());
        m_View.CenterOn(x / count, z / count);
    }
    if (m_Notify.m_Invalidate) m_Notify.m_Invalidate(true);
    m_Doc.m_SelectionChanged();
}

void MapPicker::CheckGrid() {
    if (!m_bGeometryDirty && !m_SectorGrid.Matches(m_Doc.level().m_Lev.m_pSectors)) m_bGeometryDirty = true;
}

bool MapPicker::PointInPolygon(std::span<const ScreenPoint> polygon, ScreenPoint point) {
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

} // namespace morvi
