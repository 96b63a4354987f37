#include "mapedit/MapMove.h"

#include "model/ModelOps.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace morvi {

namespace {

const CDataVertex* VertexAt(const CDataLevel& level, int sector, int vertex) {
    const CDataSector* s = ItemAt(level.m_Lev.m_pSectors, sector);
    return s ? ItemAt(s->m_pVertices, vertex) : nullptr;
}

const CDataWall* WallAt(const CDataLevel& level, int sector, int wall) {
    const CDataSector* s = ItemAt(level.m_Lev.m_pSectors, sector);
    return s ? ItemAt(s->m_pWalls, wall) : nullptr;
}

// A world point as a hash key; exact equality, as the coincidence rules want. Adding 0.0 makes
// -0.0 and 0.0 one key; a NaN never equals anything, so it never merges, as with ==.
struct PointKey {
    int m_nSector = 0;
    double m_dX = 0.0;
    double m_dZ = 0.0;
    PointKey(int sector, const CDataVertex& v) : m_nSector(sector), m_dX(v.m_dX + 0.0), m_dZ(v.m_dZ + 0.0) {}
    bool operator==(const PointKey& o) const {
        return m_nSector == o.m_nSector && m_dX == o.m_dX && m_dZ == o.m_dZ;
    }
};

struct PointKeyHash {
    std::size_t operator()(const PointKey& k) const {
        const std::size_t h = std::hash<double>()(k.m_dX) * 31 + std::hash<double>()(k.m_dZ);
        return h * 31 + std::hash<int>()(k.m_nSector);
    }
};

// The move list under construction: a reference already present is not added again.
class MoveList {
public:
    explicit MoveList(const CDataLevel& level) : m_Level(level) {}

    void Add(int sector, int vertex) {
        if (VertexAt(m_Level, sector, vertex) == nullptr) return;
        const auto key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(sector)) << 32) |
                         static_cast<std::uint32_t>(vertex);
        if (m_Seen.insert(key).second) m_Refs.push_back({sector, vertex});
    }

    // A wall's two ends and, when adjoined, its mirror's two ends in the neighbouring sector.
    void AddWall(int sector, int wall) {
        const CDataWall* w = WallAt(m_Level, sector, wall);
        if (w == nullptr) return;
        Add(sector, w->m_nLeft);
        Add(sector, w->m_nRight);
        if (w->m_nAdjoin <= -1 || w->m_nMirror <= -1) return;
        if (const CDataWall* m = WallAt(m_Level, w->m_nAdjoin, w->m_nMirror)) {
            Add(w->m_nAdjoin, m->m_nLeft);
            Add(w->m_nAdjoin, m->m_nRight);
        }
    }

    std::vector<VertexRef> Take() { return std::move(m_Refs); }

private:
    const CDataLevel& m_Level;
    std::vector<VertexRef> m_Refs;
    std::unordered_set<std::uint64_t> m_Seen;
};

void AddSectors(MoveList& list, const CDataLevel& level, std::span<const CMapSelItem> selection) {
    for (const CMapSelItem& item : selection) {
        const CDataSector* s = ItemAt(level.m_Lev.m_pSectors, item.m_nSector);
        if (s == nullptr) continue;
        for (std::size_t w = 0; w < s->m_pWalls.size(); ++w)
            list.AddWall(item.m_nSector, static_cast<int>(w));
    }
}

// For every point, the wall ends lying on it in sector-then-wall order: a wall contributes its
// left end, or its right end when only that one lies on the point. Built once, so that dragging
// many vertices does not scan the whole level for each.
using WallEndIndex = std::unordered_map<PointKey, std::vector<VertexRef>, PointKeyHash>;

WallEndIndex IndexWallEnds(const CDataLevel& level) {
    WallEndIndex index;
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        const int sector = static_cast<int>(s);
        for (const auto& wall : sectors[s]->m_pWalls) {
            const CDataVertex* left = VertexAt(level, sector, wall->m_nLeft);
            const CDataVertex* right = VertexAt(level, sector, wall->m_nRight);
            if (left != nullptr) index[PointKey(0, *left)].push_back({sector, wall->m_nLeft});
            if (right != nullptr && !(left != nullptr && PointKey(0, *left) == PointKey(0, *right)))
                index[PointKey(0, *right)].push_back({sector, wall->m_nRight});
        }
    }
    return index;
}

void AddVertices(MoveList& list, const CDataLevel& level, std::span<const CMapSelItem> selection,
                 bool moveVertex) {
    if (!moveVertex) {
        for (const CMapSelItem& item : selection)
            list.Add(item.m_nSector, item.m_nVertex);
        return;
    }
    const WallEndIndex index = IndexWallEnds(level);
    for (const CMapSelItem& item : selection) {
        const CDataVertex* v = VertexAt(level, item.m_nSector, item.m_nVertex);
        if (v == nullptr) continue;
        const auto found = index.find(PointKey(0, *v));
        if (found == index.end()) continue;
        for (const VertexRef& ref : found->second)
            list.Add(ref.m_nSector, ref.m_nVertex);
    }
}

// A sector holding two vertices on one point must not have both moved: the later one goes.
void DropCoincidentInSector(const CDataLevel& level, std::vector<VertexRef>& refs) {
    std::unordered_set<PointKey, PointKeyHash> seen;
    std::erase_if(refs, [&](const VertexRef& ref) {
        return !seen.insert(PointKey(ref.m_nSector, *VertexAt(level, ref.m_nSector, ref.m_nVertex))).second;
    });
}

bool MoveObjects(CDataLevel& level, std::span<const CMapSelItem> selection, double dx, double dz,
                 const MoveOptions& options) {
    const std::vector<int> objects = SelectedObjects(level, selection);
    if (objects.empty()) return false;
    auto& items = level.m_Objects.m_pObjects;
    if (options.m_bGridOn) {
        const CDataObjectItem& first = *items[static_cast<std::size_t>(objects.front())];
        dx = SnapOffset(first.m_dX, dx, options.m_dGridStep);
        dz = SnapOffset(first.m_dZ, dz, options.m_dGridStep);
    }
    if (dx == 0 && dz == 0) return false;
    for (int o : objects) {
        items[static_cast<std::size_t>(o)]->m_dX += dx;
        items[static_cast<std::size_t>(o)]->m_dZ += dz;
    }
    return true;
}

void MoveSectorObjects(CDataLevel& level, std::span<const CMapSelItem> selection, double dx, double dz) {
    std::unordered_set<int> sectors;
    for (const CMapSelItem& item : selection)
        sectors.insert(item.m_nSector);
    for (const auto& object : level.m_Objects.m_pObjects) {
        if (object->m_nSector < 0 || !sectors.contains(object->m_nSector)) continue;
        object->m_dX += dx;
        object->m_dZ += dz;
    }
}

} // namespace

void PruneCoincidentVertices(const CDataLevel& level, std::vector<CMapSelItem>& selection) {
    std::unordered_set<PointKey, PointKeyHash> seen;
    std::erase_if(selection, [&](const CMapSelItem& item) {
        const CDataVertex* v = VertexAt(level, item.m_nSector, item.m_nVertex);
        return v != nullptr && !seen.insert(PointKey(0, *v)).second;
    });
}

std::vector<VertexRef> BuildMoveList(const CDataLevel& level, std::span<const CMapSelItem> selection,
                                     int mode, bool moveVertex) {
    MoveList list(level);
    if (mode == kModeSector) {
        AddSectors(list, level, selection);
    } else if (mode == kModeWall) {
        for (const CMapSelItem& item : selection)
            list.AddWall(item.m_nSector, item.m_nWall);
    } else if (mode == kModeVertex) {
        AddVertices(list, level, selection, moveVertex);
        std::vector<VertexRef> refs = list.Take();
        DropCoincidentInSector(level, refs);
        return refs;
    }
    return list.Take();
}

std::vector<int> SelectedObjects(const CDataLevel& level, std::span<const CMapSelItem> selection) {
    std::vector<int> objects;
    std::unordered_set<int> seen;
    const std::size_t count = level.m_Objects.m_pObjects.size();
    for (const CMapSelItem& item : selection) {
        const int o = item.m_nObject;
        if (o >= 0 && static_cast<std::size_t>(o) < count && seen.insert(o).second) objects.push_back(o);
    }
    return objects;
}

double SnapOffset(double position, double offset, double step) {
    if (!(step > 0)) return offset;
    return offset - std::fmod(position + offset, step);
}

bool ApplyMove(CDataLevel& level, std::vector<CMapSelItem>& selection, double dx, double dz,
               const MoveOptions& options) {
    if (dx == 0 && dz == 0) return false;
    if (options.m_nMode == kModeObject) return MoveObjects(level, selection, dx, dz, options);
    if (options.m_nMode == kModeVertex) PruneCoincidentVertices(level, selection);
    const std::vector<VertexRef> refs =
        BuildMoveList(level, selection, options.m_nMode, options.m_bMoveVertex);
    if (refs.empty()) return false;
    auto vertex = [&level](const VertexRef& ref) {
        return level.m_Lev.m_pSectors[static_cast<std::size_t>(ref.m_nSector)]
            ->m_pVertices[static_cast<std::size_t>(ref.m_nVertex)]
            .get();
    };
    if (options.m_bGridOn) {
        const CDataVertex& first = *vertex(refs.front());
        dx = SnapOffset(first.m_dX, dx, options.m_dGridStep);
        dz = SnapOffset(first.m_dZ, dz, options.m_dGridStep);
    }
    if (dx == 0 && dz == 0) return false;
    for (const VertexRef& ref : refs) {
        vertex(ref)->m_dX += dx;
        vertex(ref)->m_dZ += dz;
    }
    if (options.m_nMode == kModeSector && options.m_bMoveObjects) MoveSectorObjects(level, selection, dx, dz);
    return true;
}

} // namespace morvi
