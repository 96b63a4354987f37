#include "mapedit/MapGeometry.h"

#include "model/ModelOps.h"

#include <algorithm>

namespace morvi {

bool PointInPolygon(std::span<const WorldPoint> polygon, WorldPoint point) {
    bool inside = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const WorldPoint& a = polygon[(i + n - 1) % n];
        const WorldPoint& b = polygon[i];
        if ((a.m_dZ > point.m_dZ) == (b.m_dZ > point.m_dZ)) continue;
        const double x = a.m_dX + (point.m_dZ - a.m_dZ) * (b.m_dX - a.m_dX) / (b.m_dZ - a.m_dZ);
        if (point.m_dX < x) inside = !inside;
    }
    return inside;
}

void FirstLoopCorners(const CDataSector& sector, std::vector<WorldPoint>& corners) {
    corners.clear();
    const std::size_t walls = sector.m_pWalls.size();
    if (walls == 0) return;
    const int start = sector.m_pWalls[0]->m_nLeft;
    for (std::size_t w = 0; w < walls; ++w) {
        const CDataWall& wall = *sector.m_pWalls[w];
        if (wall.m_nLeft >= 0 && static_cast<std::size_t>(wall.m_nLeft) < sector.m_pVertices.size()) {
            const CDataVertex& v = *sector.m_pVertices[static_cast<std::size_t>(wall.m_nLeft)];
            corners.push_back({v.m_dX, v.m_dZ});
        }
        if (wall.m_nRight == start) return;
    }
}

namespace {

struct ObjectProbe {
    WorldPoint at;
    double y = 0;
    int sector = -1;
    std::size_t object = 0;
};

// Gives the sector every still unassigned object within its heights (bounds included) that its
// first loop holds. The probes are sorted by Z: only those within the loop's box are tested.
void ClaimObjects(const CDataSector& s, int sector, std::span<const WorldPoint> loop,
                  std::vector<ObjectProbe>& probes) {
    WorldPoint lo = loop[0], hi = loop[0];
    for (const WorldPoint& p : loop) {
        lo = {std::min(lo.m_dX, p.m_dX), std::min(lo.m_dZ, p.m_dZ)};
        hi = {std::max(hi.m_dX, p.m_dX), std::max(hi.m_dZ, p.m_dZ)};
    }
    auto probe = std::lower_bound(probes.begin(), probes.end(), lo.m_dZ,
                                  [](const ObjectProbe& q, double z) { return q.at.m_dZ < z; });
    for (; probe != probes.end() && probe->at.m_dZ <= hi.m_dZ; ++probe) {
        if (probe->sector != -1 || probe->y < s.m_dCeilingAltitude || probe->y > s.m_dFloorAltitude) continue;
        if (probe->at.m_dX < lo.m_dX || probe->at.m_dX > hi.m_dX) continue;
        if (PointInPolygon(loop, probe->at)) probe->sector = sector;
    }
}

// Whether an unassigned probe lies within the sector's heights and the box of all its vertices.
bool MayHoldProbe(const CDataSector& s, const std::vector<ObjectProbe>& probes) {
    if (s.m_pVertices.empty()) return false;
    double loX = s.m_pVertices[0]->m_dX, hiX = loX, loZ = s.m_pVertices[0]->m_dZ, hiZ = loZ;
    for (const auto& v : s.m_pVertices) {
        loX = std::min(loX, v->m_dX);
        hiX = std::max(hiX, v->m_dX);
        loZ = std::min(loZ, v->m_dZ);
        hiZ = std::max(hiZ, v->m_dZ);
    }
    auto probe = std::lower_bound(probes.begin(), probes.end(), loZ,
                                  [](const ObjectProbe& q, double z) { return q.at.m_dZ < z; });
    for (; probe != probes.end() && probe->at.m_dZ <= hiZ; ++probe) {
        if (probe->sector == -1 && probe->y >= s.m_dCeilingAltitude && probe->y <= s.m_dFloorAltitude &&
            probe->at.m_dX >= loX && probe->at.m_dX <= hiX)
            return true;
    }
    return false;
}

} // namespace

namespace {

// Gives each probe the first sector that claims it, then writes the result into the objects.
void AssignProbes(CDataLevel& level, std::vector<ObjectProbe>& probes) {
    auto& objects = level.m_Objects.m_pObjects;
    // Which sector wins depends on the sectors' order only, so the objects may be visited in any.
    std::sort(probes.begin(), probes.end(),
              [](const ObjectProbe& a, const ObjectProbe& b) { return a.at.m_dZ < b.at.m_dZ; });
    std::vector<WorldPoint> loop;
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        // Most sectors hold no object: the box of all their vertices (cheaper to find than the
        // first loop) rules them out before the loop is walked.
        if (!MayHoldProbe(*sectors[i], probes)) continue;
        FirstLoopCorners(*sectors[i], loop);
        if (!loop.empty()) ClaimObjects(*sectors[i], static_cast<int>(i), loop, probes);
    }
    for (const ObjectProbe& probe : probes)
        objects[probe.object]->m_nSector = probe.sector;
}

ObjectProbe ProbeOf(const CDataObjectItem& o, std::size_t index) {
    return {{o.m_dX, o.m_dZ}, o.m_dY, -1, index};
}

} // namespace

void AssignObjectSectors(CDataLevel& level) {
    const auto& objects = level.m_Objects.m_pObjects;
    std::vector<ObjectProbe> probes(objects.size());
    for (std::size_t o = 0; o < objects.size(); ++o)
        probes[o] = ProbeOf(*objects[o], o);
    AssignProbes(level, probes);
}

void ReassignObjectSectors(CDataLevel& level, std::span<const int> sectors,
                           std::span<const int> changedObjects) {
    const auto& objects = level.m_Objects.m_pObjects;
    std::vector<bool> affected(objects.size(), false);
    for (const int o : changedObjects)
        if (ValidIndex(objects.size(), o)) affected[static_cast<std::size_t>(o)] = true;
    std::vector<WorldPoint> loop;
    for (const int c : sectors) {
        const CDataSector* sector = ItemAt(level.m_Lev.m_pSectors, c);
        if (!sector) continue;
        FirstLoopCorners(*sector, loop);
        for (std::size_t o = 0; o < objects.size(); ++o) {
            const CDataObjectItem& object = *objects[o];
            // Its own sector may have let it go; a sector before the one holding it may take it.
            if (object.m_nSector == c || ((object.m_nSector == -1 || object.m_nSector > c) && !loop.empty() &&
                                          PointInPolygon(loop, {object.m_dX, object.m_dZ})))
                affected[o] = true;
        }
    }
    std::vector<ObjectProbe> probes;
    for (std::size_t o = 0; o < objects.size(); ++o)
        if (affected[o]) probes.push_back(ProbeOf(*objects[o], o));
    if (!probes.empty()) AssignProbes(level, probes);
}

} // namespace morvi
