#include "mapedit/FindingFocus.h"

#include "model/CDataLevel.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <optional>

namespace morvi {

namespace {

struct Point {
    double x = 0.0;
    double z = 0.0;
};

// What a finding comes down to on the map.
struct FocusTarget {
    int mode = kModeSector;
    CMapSelItem item;
    std::optional<int> layer;
    std::optional<Point> centre;
};

std::optional<Point> MeanOfVertices(const CDataSector& sector) {
    if (sector.m_pVertices.empty()) return std::nullopt;
    Point sum;
    for (const auto& v : sector.m_pVertices) {
        sum.x += v->m_dX;
        sum.z += v->m_dZ;
    }
    const auto count = static_cast<double>(sector.m_pVertices.size());
    return Point{sum.x / count, sum.z / count};
}

std::optional<FocusTarget> SectorTarget(const CDataLevel& level, int s) {
    const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, s);
    if (!sector) return std::nullopt;
    return FocusTarget{kModeSector, {s, -1, -1, -1}, sector->m_nLayer, MeanOfVertices(*sector)};
}

std::optional<FocusTarget> WallTarget(const CDataLevel& level, int s, int w) {
    const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, s);
    if (!sector || w < 0 || static_cast<std::size_t>(w) >= sector->m_pWalls.size())
        return SectorTarget(level, s);
    const CDataWall& wall = *sector->m_pWalls[static_cast<std::size_t>(w)];
    const CDataVertex* left = ItemAt(sector->m_pVertices, wall.m_nLeft);
    const CDataVertex* right = ItemAt(sector->m_pVertices, wall.m_nRight);
    // A wall with a broken end still exists: it is selected, and the view goes to its sector.
    const std::optional<Point> centre =
        left && right
            ? std::optional<Point>{Point{(left->m_dX + right->m_dX) / 2, (left->m_dZ + right->m_dZ) / 2}}
            : MeanOfVertices(*sector);
    return FocusTarget{kModeWall, {s, w, -1, -1}, sector->m_nLayer, centre};
}

std::optional<FocusTarget> VertexTarget(const CDataLevel& level, int s, int v) {
    const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, s);
    const CDataVertex* vertex = sector ? ItemAt(sector->m_pVertices, v) : nullptr;
    if (!vertex) return SectorTarget(level, s);
    return FocusTarget{kModeVertex, {s, -1, v, -1}, sector->m_nLayer, Point{vertex->m_dX, vertex->m_dZ}};
}

std::optional<FocusTarget> ObjectTarget(const CDataLevel& level, int o, int fallbackSector) {
    const auto& objects = level.m_Objects.m_pObjects;
    if (o < 0 || static_cast<std::size_t>(o) >= objects.size()) return SectorTarget(level, fallbackSector);
    const CDataObjectItem& object = *objects[static_cast<std::size_t>(o)];
    // An object outside every sector (or in one that no longer exists) shows on every layer.
    const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, object.m_nSector);
    FocusTarget target{kModeObject,
                       {sector ? object.m_nSector : -1, -1, -1, o},
                       std::nullopt,
                       Point{object.m_dX, object.m_dZ}};
    if (sector) target.layer = sector->m_nLayer;
    return target;
}

// The sector an INF item belongs to: the one the finding names, else the first sector bearing the
// item's name (sector names are compared as the game does, without case).
std::optional<FocusTarget> InfItemTarget(const CDataLevel& level, int s, int item) {
    if (ItemAt(level.m_Lev.m_pSectors, s)) return SectorTarget(level, s);
    const auto& items = level.m_Inf.m_pItems;
    if (item < 0 || static_cast<std::size_t>(item) >= items.size()) return std::nullopt;
    const std::string& name = items[static_cast<std::size_t>(item)]->m_strName;
    if (name.empty()) return std::nullopt;
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t i = 0; i < sectors.size(); ++i)
        if (EqualsNoCase(sectors[i]->m_strName, name)) return SectorTarget(level, static_cast<int>(i));
    return std::nullopt;
}

std::optional<FocusTarget> TargetOf(const CDataLevel& level, const LevelFinding& f) {
    using Kind = LevelFinding::Kind;
    switch (f.m_Kind) {
    case Kind::Sector:
        return SectorTarget(level, f.m_nSector);
    case Kind::Wall:
        return WallTarget(level, f.m_nSector, f.m_nWall);
    case Kind::Vertex:
        return VertexTarget(level, f.m_nSector, f.m_nVertex);
    case Kind::Object:
        return ObjectTarget(level, f.m_nObject, f.m_nSector);
    case Kind::InfItem:
        return InfItemTarget(level, f.m_nSector, f.m_nItem);
    case Kind::Level:
        break;
    }
    return std::nullopt;
}

} // namespace

bool FocusOnFinding(CMapEngine& engine, const LevelFinding& finding) {
    const std::optional<FocusTarget> target = TargetOf(engine.level(), finding);
    if (!target) return false;
    engine.document().m_StoreEdits();
    engine.picker().SetMode(target->mode);
    engine.ClearSelection();
    engine.AddToSelection(target->item);
    if (target->layer) engine.document().m_nCurrentLayer = *target->layer;
    if (target->centre) engine.viewport().CenterOn(target->centre->x, target->centre->z);
    return true;
}

} // namespace morvi
