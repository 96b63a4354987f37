#include "mapedit/StructuralEdits.h"

#include "gamefiles/InfFile.h"
#include "mapedit/Generators.h"
#include "mapedit/MapGeometry.h"
#include "model/LevelGeometry.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace morvi {

namespace {

struct WallRef {
    int m_nSector = -1;
    int m_nIndex = -1;
};

// What a run of deletions removed, in order, so that selection entries still to come can follow
// the shifted indices.
struct DeleteLog {
    std::vector<WallRef> m_Walls;
    std::vector<WallRef> m_Vertices;
    std::vector<int> m_Sectors;
    bool m_bInf = false;
};

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

int Count(const auto& array) {
    return static_cast<int>(array.size());
}

CDataSector* SectorAt(CDataLevel& level, int s) {
    return ItemAt(level.m_Lev.m_pSectors, s);
}

CDataWall* WallAt(CDataLevel& level, int s, int w) {
    CDataSector* sector = SectorAt(level, s);
    return sector ? ItemAt(sector->m_pWalls, w) : nullptr;
}

// The wall's partner when the two name each other; nullptr for a solid or half-linked wall.
CDataWall* PartnerOf(CDataLevel& level, int s, int w) {
    const CDataWall* wall = WallAt(level, s, w);
    if (!wall) return nullptr;
    CDataWall* partner = WallAt(level, wall->m_nAdjoin, wall->m_nMirror);
    return partner && partner->m_nAdjoin == s && partner->m_nMirror == w ? partner : nullptr;
}

void Unlink(CDataWall& wall) {
    wall.m_nAdjoin = wall.m_nMirror = wall.m_nWalk = -1;
}

void ReindexWalls(CDataSector& sector) {
    for (int i = 0; i < Count(sector.m_pWalls); ++i)
        sector.m_pWalls[At(i)]->m_nIndex = i;
}

// Walls anywhere that face a wall of sector s above position `above` follow it by delta.
// Walls of other sectors that name sector s's walls above `above` follow the shift. Mirror pairs
// point back at each other, so only the sectors s's walls adjoin (and extra, the sector of a wall
// just taken out of s) can hold such walls: a large level is not walked wall by wall.
void ShiftMirrors(CDataLevel& level, int s, int above, int delta, int extra = -1) {
    auto& sectors = level.m_Lev.m_pSectors;
    std::vector<int> neighbours;
    if (extra >= 0) neighbours.push_back(extra);
    for (const auto& wall : sectors[At(s)]->m_pWalls)
        if (wall->m_nAdjoin >= 0) neighbours.push_back(wall->m_nAdjoin);
    std::sort(neighbours.begin(), neighbours.end());
    neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
    for (int n : neighbours) {
        if (n >= static_cast<int>(sectors.size())) continue;
        for (auto& wall : sectors[At(n)]->m_pWalls)
            if (wall->m_nAdjoin == s && wall->m_nMirror > above) wall->m_nMirror += delta;
    }
}

// The line items of a wall that is deleted: left alone they would name the next wall.
bool DeleteLineItemsOf(CDataLevel& level, int s, int w) {
    const std::string& name = level.m_Lev.m_pSectors[At(s)]->m_strName;
    if (name.empty()) return false;
    return std::erase_if(level.m_Inf.m_pItems, [&](const auto& item) {
               return item->m_strType == "line" && item->m_nNum == w && EqualsNoCase(item->m_strName, name);
           }) > 0;
}

bool RenumberInfWalls(CDataLevel& level, int s, int above, int delta) {
    const std::string& name = level.m_Lev.m_pSectors[At(s)]->m_strName;
    return !name.empty() && RenumberWall(level.m_Inf, name, above, delta, true);
}

// Splits one wall of one sector: a midpoint vertex after the left vertex and a copy of the wall
// after it, running from the midpoint to the old right vertex. Returns whether INF items changed.
bool SplitOne(CDataLevel& level, int s, int w) {
    CDataSector& sector = *level.m_Lev.m_pSectors[At(s)];
    CDataWall& wall = *sector.m_pWalls[At(w)];
    const CDataVertex& a = *sector.m_pVertices[At(wall.m_nLeft)];
    const CDataVertex& b = *sector.m_pVertices[At(wall.m_nRight)];
    auto mid = std::make_unique<CDataVertex>(RoundHundredths((a.m_dX + b.m_dX) / 2.0),
                                             RoundHundredths((a.m_dZ + b.m_dZ) / 2.0));
    const int midIndex = wall.m_nLeft + 1;
    sector.m_pVertices.insert(sector.m_pVertices.begin() + midIndex, std::move(mid));
    for (auto& other : sector.m_pWalls) {
        if (other->m_nLeft >= midIndex) ++other->m_nLeft;
        if (other->m_nRight >= midIndex) ++other->m_nRight;
    }
    auto copy = std::make_unique<CDataWall>(wall);
    copy->m_nLeft = midIndex;
    wall.m_nRight = midIndex;
    ShiftMirrors(level, s, w, +1);
    sector.m_pWalls.insert(sector.m_pWalls.begin() + w + 1, std::move(copy));
    ReindexWalls(sector);
    return RenumberInfWalls(level, s, w, +1);
}

// A wall so short that its midpoint, in hundredths, would lie on one of its ends (its partner's
// too, for an adjoined wall): split, it would give a wall without length.
bool MidpointOnAnEnd(CDataLevel& level, int s, int w) {
    const auto tooShort = [&](int k, int x) {
        const CDataSector& sector = *level.m_Lev.m_pSectors[At(k)];
        const CDataWall& wall = *sector.m_pWalls[At(x)];
        const CDataVertex& a = *sector.m_pVertices[At(wall.m_nLeft)];
        const CDataVertex& b = *sector.m_pVertices[At(wall.m_nRight)];
        const PlanePoint mid{RoundHundredths((a.m_dX + b.m_dX) / 2.0),
                             RoundHundredths((a.m_dZ + b.m_dZ) / 2.0)};
        return SamePlace(mid, {a.m_dX, a.m_dZ}) || SamePlace(mid, {b.m_dX, b.m_dZ});
    };
    if (!WallAt(level, s, w)) return false;
    if (tooShort(s, w)) return true;
    const CDataWall& wall = *WallAt(level, s, w);
    return PartnerOf(level, s, w) && tooShort(wall.m_nAdjoin, wall.m_nMirror);
}

// Removes a vertex no wall uses any more and lowers the indices above it.
bool RemoveVertexIfUnused(CDataSector& sector, int v) {
    for (const auto& wall : sector.m_pWalls)
        if (wall->m_nLeft == v || wall->m_nRight == v) return false;
    sector.m_pVertices.erase(sector.m_pVertices.begin() + v);
    for (auto& wall : sector.m_pWalls) {
        if (wall->m_nLeft > v) --wall->m_nLeft;
        if (wall->m_nRight > v) --wall->m_nRight;
    }
    return true;
}

// Removes wall w of sector s and one of its corners: the left one, or in the mirror step (the
// partner of a wall removed just before) the right one, which lies on the same point. The walls
// that met the removed corner meet at the kept one instead.
void RemoveWall(CDataLevel& level, int s, int w, bool mirrorStep, DeleteLog& log) {
    CDataSector& sector = *level.m_Lev.m_pSectors[At(s)];
    const CDataWall& wall = *sector.m_pWalls[At(w)];
    const int removed = mirrorStep ? wall.m_nRight : wall.m_nLeft;
    const int kept = mirrorStep ? wall.m_nLeft : wall.m_nRight;
    const bool linked = !mirrorStep && PartnerOf(level, s, w) != nullptr;
    const int adjoin = wall.m_nAdjoin;
    const int mirror = wall.m_nMirror;

    sector.m_pWalls.erase(sector.m_pWalls.begin() + w);
    ReindexWalls(sector);
    for (auto& other : sector.m_pWalls) {
        if (other->m_nLeft == removed) other->m_nLeft = kept;
        if (other->m_nRight == removed) other->m_nRight = kept;
    }
    if (RemoveVertexIfUnused(sector, removed)) log.m_Vertices.push_back({s, removed});
    ShiftMirrors(level, s, w, -1, adjoin);
    log.m_Walls.push_back({s, w});
    log.m_bInf |= DeleteLineItemsOf(level, s, w);
    log.m_bInf |= RenumberInfWalls(level, s, w, -1);
    if (linked) RemoveWall(level, adjoin, adjoin == s && mirror > w ? mirror - 1 : mirror, true, log);
}

std::pair<int, int> LoopAround(const CDataSector& sector, int w) {
    std::vector<int> starts;
    BuildLoopStarts(sector, starts);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        if (w >= starts[k] && w < starts[k + 1]) return {starts[k], starts[k + 1]};
    return {w, w + 1};
}

bool LoopKeepsThree(CDataLevel& level, int s, int w) {
    const CDataSector* sector = SectorAt(level, s);
    return sector && GetLoopLength(*sector, w) >= 4;
}

// A wall may go when its loop, and its partner's loop, keep three walls; a loop that holds both
// walls of a pair loses two.
bool CanRemoveWall(CDataLevel& level, int s, int w) {
    if (!LoopKeepsThree(level, s, w)) return false;
    if (!PartnerOf(level, s, w)) return true;
    const CDataWall& wall = *WallAt(level, s, w);
    const CDataSector& sector = *SectorAt(level, s);
    if (wall.m_nAdjoin == s && LoopAround(sector, w) == LoopAround(sector, wall.m_nMirror))
        return GetLoopLength(sector, w) >= 5;
    return LoopKeepsThree(level, wall.m_nAdjoin, wall.m_nMirror);
}

// A loop of sector k stays linked through a deletion when it fills whole loops of one other
// sector: an island's outline in its container's hole, or a container's hole around an island.
bool LoopFillsLoops(CDataLevel& level, int k, int first, int last) {
    const CDataSector& sector = *level.m_Lev.m_pSectors[At(k)];
    const int adjoin = sector.m_pWalls[At(first)]->m_nAdjoin;
    if (adjoin < 0 || adjoin == k) return false;
    for (int w = first; w < last; ++w) {
        if (sector.m_pWalls[At(w)]->m_nAdjoin != adjoin || !PartnerOf(level, k, w)) return false;
        const CDataSector& other = *level.m_Lev.m_pSectors[At(adjoin)];
        const auto [from, to] = LoopAround(other, sector.m_pWalls[At(w)]->m_nMirror);
        for (int p = from; p < to; ++p)
            if (other.m_pWalls[At(p)]->m_nAdjoin != k) return false;
    }
    return true;
}

void UnlinkLoopsOfDeletedSector(CDataLevel& level, int k) {
    CDataSector& sector = *level.m_Lev.m_pSectors[At(k)];
    std::vector<int> starts;
    BuildLoopStarts(sector, starts);
    if (starts.back() < Count(sector.m_pWalls)) starts.push_back(Count(sector.m_pWalls));
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (starts[i] < starts[i + 1] && LoopFillsLoops(level, k, starts[i], starts[i + 1])) continue;
        for (int w = starts[i]; w < starts[i + 1]; ++w) {
            if (CDataWall* partner = PartnerOf(level, k, w)) Unlink(*partner);
            Unlink(*sector.m_pWalls[At(w)]);
        }
    }
}

void DeleteObjectsOfSector(CDataLevel& level, int k) {
    auto& objects = level.m_Objects.m_pObjects;
    for (std::size_t i = objects.size(); i-- > 0;)
        if (objects[i]->m_nSector == k) objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
}

bool DeleteInfItemsOf(CDataLevel& level, const std::string& name) {
    // Level items carry no name: an unnamed sector owns no items.
    if (name.empty()) return false;
    return std::erase_if(level.m_Inf.m_pItems,
                         [&](const auto& item) { return EqualsNoCase(item->m_strName, name); }) > 0;
}

int Follow(int index, int removed) {
    if (index == removed) return -1;
    return index > removed ? index - 1 : index;
}

// After sector r left the array: adjoins, walks and objects' sectors follow the shift, and
// anything that still pointed at r lets go.
void FollowRemovedSector(CDataLevel& level, int r) {
    for (auto& sector : level.m_Lev.m_pSectors)
        for (auto& wall : sector->m_pWalls) {
            if (wall->m_nAdjoin == r) {
                Unlink(*wall);
            } else if (wall->m_nAdjoin > r) {
                wall->m_nWalk = --wall->m_nAdjoin;
            } else {
                wall->m_nWalk = Follow(wall->m_nWalk, r);
            }
        }
    for (auto& object : level.m_Objects.m_pObjects)
        object->m_nSector = Follow(object->m_nSector, r);
}

void DeleteSectorAt(CDataLevel& level, int k, DeleteLog& log) {
    auto& sectors = level.m_Lev.m_pSectors;
    DeleteObjectsOfSector(level, k);
    log.m_bInf |= DeleteInfItemsOf(level, sectors[At(k)]->m_strName);
    UnlinkLoopsOfDeletedSector(level, k);
    while (!sectors[At(k)]->m_pWalls.empty())
        RemoveWall(level, k, Count(sectors[At(k)]->m_pWalls) - 1, false, log);
    std::vector<int> removed;
    for (int r = Count(sectors) - 1; r >= 0; --r) {
        if (!sectors[At(r)]->m_pWalls.empty()) continue;
        // An emptied island takes its INF items along; they would name a sector that is gone.
        log.m_bInf |= DeleteInfItemsOf(level, sectors[At(r)]->m_strName);
        sectors.erase(sectors.begin() + r);
        removed.push_back(r);
    }
    for (int i = 0; i < Count(sectors); ++i)
        sectors[At(i)]->m_nIndex = i;
    for (int r : removed)
        FollowRemovedSector(level, r);
    log.m_Sectors.insert(log.m_Sectors.end(), removed.begin(), removed.end());
}

EditResult Changed(bool inf) {
    EditResult r;
    r.m_bChanged = true;
    r.m_bInfChanged = inf;
    return r;
}

// ---- Selection entries through a run of deletions ---------------------------------------------

void FollowLog(std::vector<CMapSelItem>& items, std::size_t next, const DeleteLog& log, std::size_t walls,
               std::size_t vertices, std::size_t sectors) {
    for (std::size_t i = next; i < items.size(); ++i) {
        CMapSelItem& e = items[i];
        for (std::size_t k = walls; k < log.m_Walls.size() && e.m_nSector >= 0; ++k)
            if (e.m_nWall >= 0 && log.m_Walls[k].m_nSector == e.m_nSector)
                e.m_nWall = Follow(e.m_nWall, log.m_Walls[k].m_nIndex);
        for (std::size_t k = vertices; k < log.m_Vertices.size() && e.m_nSector >= 0; ++k)
            if (e.m_nVertex >= 0 && log.m_Vertices[k].m_nSector == e.m_nSector)
                e.m_nVertex = Follow(e.m_nVertex, log.m_Vertices[k].m_nIndex);
        for (std::size_t k = sectors; k < log.m_Sectors.size(); ++k)
            e.m_nSector = Follow(e.m_nSector, log.m_Sectors[k]);
    }
}

// ---- What a wall removal would leave ------------------------------------------------------------

// One corner a wall removal takes (RemoveWall's rule): the wall goes, and the walls that met the
// removed vertex meet at the kept one.
struct CornerRemoval {
    int m_nSector = -1;
    int m_nWall = -1;
    int m_nRemoved = -1;
    int m_nKept = -1;
};

using Removals = std::vector<CornerRemoval>;

bool Removed(const Removals& removals, int s, int w) {
    return std::any_of(removals.begin(), removals.end(),
                       [&](const CornerRemoval& r) { return r.m_nSector == s && r.m_nWall == w; });
}

// Where wall w of sector s runs once the removals are made (as it runs now for none).
PlaneSegment SegmentAfter(CDataLevel& level, int s, int w, const Removals& removals) {
    const CDataSector& sector = *SectorAt(level, s);
    const CDataWall& wall = *sector.m_pWalls[At(w)];
    const auto point = [&](int v) {
        for (const CornerRemoval& r : removals)
            if (r.m_nSector == s && r.m_nRemoved == v) v = r.m_nKept;
        const CDataVertex& p = *sector.m_pVertices[At(v)];
        return PlanePoint{p.m_dX, p.m_dZ};
    };
    return {point(wall.m_nLeft), point(wall.m_nRight)};
}

bool Meet(const PlaneSegment& wall, const PlaneSegment& mirror) {
    return SamePlace(wall.a, mirror.b) && SamePlace(wall.b, mirror.a);
}

enum class RemovalFault { None, Crossing, Apart };

// What removing wall w of sector s (and the same corner from its partner) would break among the
// walls that move: one that would lose its length or cross a wall of its sector, or a linked wall
// that would no longer meet its partner. Faults the level has already are not counted.
RemovalFault FaultOfRemoval(CDataLevel& level, int s, int w) {
    const CDataWall& wall = *WallAt(level, s, w);
    Removals removals{{s, w, wall.m_nLeft, wall.m_nRight}};
    if (const CDataWall* partner = PartnerOf(level, s, w))
        removals.push_back({wall.m_nAdjoin, wall.m_nMirror, partner->m_nRight, partner->m_nLeft});
    for (const CornerRemoval& r : removals)
        if (!SectorDamage(level, r.m_nSector).empty()) return RemovalFault::None;
    const Removals none;
    for (const CornerRemoval& r : removals) {
        const int k = r.m_nSector;
        const int count = Count(SectorAt(level, k)->m_pWalls);
        for (int x = 0; x < count; ++x) {
            const CDataWall& moving = *WallAt(level, k, x);
            if (Removed(removals, k, x) ||
                (moving.m_nLeft != r.m_nRemoved && moving.m_nRight != r.m_nRemoved))
                continue;
            const PlaneSegment before = SegmentAfter(level, k, x, none);
            const PlaneSegment after = SegmentAfter(level, k, x, removals);
            if (SamePlace(after.a, after.b) && !SamePlace(before.a, before.b)) return RemovalFault::Crossing;
            for (int y = 0; y < count; ++y) {
                if (y == x || Removed(removals, k, y)) continue;
                if (SegmentsCross(after, SegmentAfter(level, k, y, removals)) &&
                    !SegmentsCross(before, SegmentAfter(level, k, y, none)))
                    return RemovalFault::Crossing;
            }
            if (!PartnerOf(level, k, x)) continue;
            const int t = moving.m_nAdjoin;
            const int m = moving.m_nMirror;
            if (Removed(removals, t, m)) return RemovalFault::Apart;
            if (Meet(before, SegmentAfter(level, t, m, none)) &&
                !Meet(after, SegmentAfter(level, t, m, removals)))
                return RemovalFault::Apart;
        }
    }
    return RemovalFault::None;
}

// The refusal for a wall that may not go; empty when it may.
std::string RemovalRefusal(CDataLevel& level, int s, int w, bool vertex) {
    if (!CanRemoveWall(level, s, w)) return vertex ? kVertexDeletionRefused : kWallDeletionRefused;
    switch (FaultOfRemoval(level, s, w)) {
    case RemovalFault::Crossing:
        return vertex ? kVertexDeletionCrosses : kWallDeletionCrosses;
    case RemovalFault::Apart:
        return vertex ? kVertexDeletionParts : kWallDeletionParts;
    case RemovalFault::None:
        break;
    }
    return {};
}

bool EntryGone(const CMapSelItem& e, int mode) {
    if (e.m_nSector < 0) return true;
    return (mode == kModeWall && e.m_nWall < 0) || (mode == kModeVertex && e.m_nVertex < 0);
}

int WallStartingAt(const CDataSector& sector, int vertex) {
    for (int w = 0; w < Count(sector.m_pWalls); ++w)
        if (sector.m_pWalls[At(w)]->m_nLeft == vertex) return w;
    return -1;
}

// Deletes one wall- or vertex-mode entry; the refusal when it may not go.
std::string DeleteEntry(CDataLevel& level, const CMapSelItem& e, int mode, DeleteLog& log) {
    const CDataSector* sector = SectorAt(level, e.m_nSector);
    if (!sector) return {};
    int w = e.m_nWall;
    if (mode == kModeVertex) {
        if (e.m_nVertex >= Count(sector->m_pVertices)) return {};
        w = WallStartingAt(*sector, e.m_nVertex);
    }
    if (w < 0 || w >= Count(sector->m_pWalls)) return {};
    if (std::string refusal = RemovalRefusal(level, e.m_nSector, w, mode == kModeVertex); !refusal.empty())
        return refusal;
    RemoveWall(level, e.m_nSector, w, false, log);
    return {};
}

EditResult DeleteObjects(const EditContext& ctx) {
    std::vector<int> indices;
    for (const CMapSelItem& e : ctx.selection())
        indices.push_back(e.m_nObject);
    // Objects go by their own index alone: an order by sector first could delete a lower object
    // before a higher one and shift it.
    std::sort(indices.rbegin(), indices.rend());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    auto& objects = ctx.level().m_Objects.m_pObjects;
    bool changed = false;
    for (int i : indices)
        if (i >= 0 && i < Count(objects)) {
            objects.erase(objects.begin() + i);
            changed = true;
        }
    EditResult r;
    r.m_bChanged = changed;
    return r;
}

EditResult DeleteStructure(const EditContext& ctx, int mode) {
    std::vector<CMapSelItem> items = ctx.selection();
    const auto key = [](const CMapSelItem& e) { return std::tuple(e.m_nSector, e.m_nWall, e.m_nVertex); };
    std::sort(items.begin(), items.end(), [&](const auto& a, const auto& b) { return key(a) > key(b); });
    items.erase(std::unique(items.begin(), items.end()), items.end());
    CDataLevel& level = ctx.level();
    DeleteLog log;
    EditResult result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (EntryGone(items[i], mode)) continue;
        const std::size_t walls = log.m_Walls.size(), vertices = log.m_Vertices.size(),
                          sectors = log.m_Sectors.size();
        if (mode == kModeSector) {
            if (!SectorAt(level, items[i].m_nSector)) continue;
            DeleteSectorAt(level, items[i].m_nSector, log);
        } else if (std::string refusal = DeleteEntry(level, items[i], mode, log); !refusal.empty()) {
            result.m_strMessage = std::move(refusal);
        }
        FollowLog(items, i + 1, log, walls, vertices, sectors);
    }
    result.m_bChanged = !log.m_Walls.empty() || !log.m_Sectors.empty();
    result.m_bInfChanged = log.m_bInf;
    return result;
}

// ---- Linking -------------------------------------------------------------------------------------

EditResult LinkWall(CDataLevel& level, int s, int w) {
    CDataSector& sector = *level.m_Lev.m_pSectors[At(s)];
    CDataWall& wall = *sector.m_pWalls[At(w)];
    const CDataVertex& p1 = *sector.m_pVertices[At(wall.m_nLeft)];
    const CDataVertex& p2 = *sector.m_pVertices[At(wall.m_nRight)];
    auto& sectors = level.m_Lev.m_pSectors;
    for (int t = 0; t < Count(sectors); ++t) {
        CDataSector& other = *sectors[At(t)];
        for (int m = 0; m < Count(other.m_pWalls); ++m) {
            CDataWall& cand = *other.m_pWalls[At(m)];
            if ((t == s && m == w) || cand.m_nAdjoin >= 0) continue;
            const CDataVertex& q1 = *other.m_pVertices[At(cand.m_nLeft)];
            const CDataVertex& q2 = *other.m_pVertices[At(cand.m_nRight)];
            if (q1.m_dX != p2.m_dX || q1.m_dZ != p2.m_dZ || q2.m_dX != p1.m_dX || q2.m_dZ != p1.m_dZ)
                continue;
            LinkWalls(level, s, w, t, m);
            return Changed(false);
        }
    }
    return {};
}

bool AllUnlinked(const CDataSector& sector) {
    return std::all_of(sector.m_pWalls.begin(), sector.m_pWalls.end(),
                       [](const auto& w) { return w->m_nAdjoin < 0; });
}

// The last sector of the current layer whose first loop holds every corner of the island, in
// world units, and none of whose walls the island's cross (the hole it gains would cross them).
int FindContainer(const EditContext& ctx, int s) {
    auto& sectors = ctx.level().m_Lev.m_pSectors;
    const CDataSector& island = *sectors[At(s)];
    std::vector<WorldPoint> loop;
    std::vector<PlaneSegment> islandWalls;
    std::vector<PlaneSegment> walls;
    SectorSegments(island, islandWalls);
    for (int c = Count(sectors) - 1; c >= 0; --c) {
        if (c == s || sectors[At(c)]->m_nLayer != ctx.document().m_nCurrentLayer) continue;
        FirstLoopCorners(*sectors[At(c)], loop);
        const bool holds =
            std::all_of(island.m_pVertices.begin(), island.m_pVertices.end(), [&](const auto& v) {
                return PointInPolygon(loop, {v->m_dX, v->m_dZ});
            });
        if (!holds || island.m_pVertices.empty()) continue;
        SectorSegments(*sectors[At(c)], walls);
        if (!AnyCrossingBetween(islandWalls, walls)) return c;
    }
    return -1;
}

void TakeLooks(CDataSector& to, const CDataSector& from, const CDataWall& wall) {
    to.m_nAmbient = from.m_nAmbient;
    to.m_dFloorAltitude = from.m_dFloorAltitude;
    to.m_dCeilingAltitude = from.m_dCeilingAltitude;
    to.m_dSecondAltitude = from.m_dSecondAltitude;
    to.m_nFlags1 = from.m_nFlags1;
    to.m_nFlags2 = from.m_nFlags2;
    to.m_nFlags3 = from.m_nFlags3;
    to.m_nLayer = from.m_nLayer;
    for (int i = 0; i < 3; ++i) {
        CDataWall& w = *to.m_pWalls[At(i)];
        w.m_nLight = wall.m_nLight;
        w.m_nFlags1 = wall.m_nFlags1;
        w.m_nFlags2 = wall.m_nFlags2;
        w.m_nFlags3 = wall.m_nFlags3;
        w.m_Mid = wall.m_Mid;
        w.m_Top = wall.m_Top;
        w.m_Bottom = wall.m_Bottom;
        w.m_Sign = wall.m_Sign;
    }
}

bool OneSelected(const EditContext& ctx) {
    return ctx.selection().size() == 1;
}

int Mode(const EditContext& ctx) {
    return ctx.document().m_nMode;
}

const CDataWall* SelectedWall(const EditContext& ctx) {
    if (!OneSelected(ctx) || Mode(ctx) != kModeWall) return nullptr;
    const CMapSelItem& e = ctx.selection().front();
    return WallAt(ctx.level(), e.m_nSector, e.m_nWall);
}

} // namespace

void LinkWalls(CDataLevel& level, int s, int w, int t, int m) {
    CDataWall& wall = *level.m_Lev.m_pSectors[At(s)]->m_pWalls[At(w)];
    CDataWall& other = *level.m_Lev.m_pSectors[At(t)]->m_pWalls[At(m)];
    wall.m_nAdjoin = wall.m_nWalk = t;
    wall.m_nMirror = m;
    other.m_nAdjoin = other.m_nWalk = s;
    other.m_nMirror = w;
}

int ExtrudeWallTo(CDataLevel& level, int s, int w, const CDataVertex& farLeft, const CDataVertex& farRight) {
    const CDataSector& source = *level.m_Lev.m_pSectors[At(s)];
    const CDataWall& wall = *source.m_pWalls[At(w)];
    const std::array<CDataVertex, 4> corners = {*source.m_pVertices[At(wall.m_nLeft)], farLeft, farRight,
                                                *source.m_pVertices[At(wall.m_nRight)]};
    const int index = Count(level.m_Lev.m_pSectors);
    auto sector = NewGeneratedSector(level.m_Lev, index, source.m_nLayer);
    AppendLoop(level.m_Lev, *sector, corners);
    TakeLooks(*sector, source, wall);
    level.m_Lev.m_pSectors.push_back(std::move(sector));
    // The new sector's last wall lies on the extruded wall: the two are linked to each other
    // even when another sector happens to have a free wall over the same two points.
    LinkWalls(level, index, 3, s, w);
    return index;
}

void MakeIsland(CDataLevel& level, int s, int c) {
    CDataSector& island = *level.m_Lev.m_pSectors[At(s)];
    CDataSector& container = *level.m_Lev.m_pSectors[At(c)];
    const int k = Count(island.m_pWalls);
    const int nV = Count(container.m_pVertices);
    const int nW = Count(container.m_pWalls);
    container.m_pVertices.resize(At(nV + k));
    container.m_pWalls.resize(At(nW + k));
    for (int i = 0; i < k; ++i) {
        CDataWall& wall = *island.m_pWalls[At(i)];
        const int j = k - 1 - i;
        wall.m_nAdjoin = wall.m_nWalk = c;
        wall.m_nMirror = nW + j;
        auto copy = std::make_unique<CDataWall>(wall);
        copy->m_nIndex = nW + j;
        copy->m_nLeft = nV + j;
        copy->m_nRight = nV + (k - i) % k;
        copy->m_nAdjoin = copy->m_nWalk = s;
        copy->m_nMirror = i;
        container.m_pWalls[At(nW + j)] = std::move(copy);
        container.m_pVertices[At(nV + j)] =
            std::make_unique<CDataVertex>(*island.m_pVertices[At(wall.m_nRight)]);
    }
}

EditResult SplitWall(CDataLevel& level, int s, int w) {
    if (!WallAt(level, s, w)) return {};
    const CDataWall& wall = *WallAt(level, s, w);
    const int adjoin = wall.m_nAdjoin;
    const int mirror = wall.m_nMirror;
    const bool linked = PartnerOf(level, s, w) != nullptr;
    bool inf = SplitOne(level, s, w);
    if (linked) {
        const int m = adjoin == s && mirror > w ? mirror + 1 : mirror;
        inf |= SplitOne(level, adjoin, m);
        const int own = adjoin == s && w > m ? w + 1 : w;
        auto& ours = level.m_Lev.m_pSectors[At(s)]->m_pWalls;
        auto& theirs = level.m_Lev.m_pSectors[At(adjoin)]->m_pWalls;
        ours[At(own)]->m_nMirror = m + 1;
        ours[At(own + 1)]->m_nMirror = m;
        theirs[At(m)]->m_nMirror = own + 1;
        theirs[At(m + 1)]->m_nMirror = own;
    }
    return Changed(inf);
}

EditResult DeleteWall(CDataLevel& level, int s, int w) {
    if (!WallAt(level, s, w)) return {};
    if (std::string refusal = RemovalRefusal(level, s, w, false); !refusal.empty())
        return EditResult::Refused(std::move(refusal));
    DeleteLog log;
    RemoveWall(level, s, w, false, log);
    return Changed(log.m_bInf);
}

EditResult DeleteSector(CDataLevel& level, int s) {
    if (!SectorAt(level, s)) return {};
    DeleteLog log;
    DeleteSectorAt(level, s, log);
    return Changed(log.m_bInf);
}

EditResult InsertAtSelection(const EditContext& ctx) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    CDataLevel& level = ctx.level();
    const int mode = Mode(ctx);
    if (mode == kModeObject) {
        auto object = std::make_unique<CDataObjectItem>();
        object->m_strClass = "SPRITE";
        object->m_strData = "STORMFIN.WAX";
        object->m_dX = ctx.place().m_dX;
        object->m_dZ = ctx.place().m_dZ;
        object->m_nIndex = Count(level.m_Objects.m_pObjects);
        AssignObjectColour(*object);
        // The data index must name an entry of the sprite table even before the next save.
        SetObjectDataIndex(level.m_Objects, *object);
        level.m_Objects.m_pObjects.push_back(std::move(object));
        ctx.ClearSelection();
        ctx.AddToSelection({-1, -1, -1, Count(level.m_Objects.m_pObjects) - 1});
        EditResult r = Changed(false);
        r.m_bSelectionChanged = true;
        return r;
    }
    if (!OneSelected(ctx) || (mode != kModeWall && mode != kModeVertex)) return {};
    const CMapSelItem e = ctx.selection().front();
    const CDataSector* sector = SectorAt(level, e.m_nSector);
    if (!sector) return {};
    const int w = mode == kModeWall ? e.m_nWall : WallStartingAt(*sector, e.m_nVertex);
    if (MidpointOnAnEnd(level, e.m_nSector, w)) return EditResult::Refused(kSplitTooShort);
    EditResult r = SplitWall(level, e.m_nSector, w);
    r.m_bSelectionChanged = r.m_bChanged;
    return r;
}

EditResult DeleteSelection(const EditContext& ctx) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    const int mode = Mode(ctx);
    if (ctx.selection().empty() || mode < kModeSector || mode > kModeObject) return {};
    EditResult r = mode == kModeObject ? DeleteObjects(ctx) : DeleteStructure(ctx, mode);
    ctx.ClearSelection();
    r.m_bSelectionChanged = true;
    return r;
}

EditResult LinkSelection(const EditContext& ctx) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (!CanLink(ctx)) return {};
    const CMapSelItem e = ctx.selection().front();
    if (Mode(ctx) == kModeWall) return LinkWall(ctx.level(), e.m_nSector, e.m_nWall);
    const int container = FindContainer(ctx, e.m_nSector);
    if (container < 0) return {};
    MakeIsland(ctx.level(), e.m_nSector, container);
    return Changed(false);
}

EditResult ExtrudeSelection(const EditContext& ctx, double depth) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    const CDataWall* selected = SelectedWall(ctx);
    if (!selected) return {};
    if (selected->m_nAdjoin >= 0 && selected->m_nMirror >= 0) return EditResult::Refused(kExtrudeRefused);
    const CMapSelItem e = ctx.selection().front();
    const CDataSector& source = *ctx.level().m_Lev.m_pSectors[At(e.m_nSector)];
    const CDataVertex p1 = *source.m_pVertices[At(selected->m_nLeft)];
    const CDataVertex p2 = *source.m_pVertices[At(selected->m_nRight)];
    // Outward is to the left of the wall's direction: the game's sectors run clockwise.
    const double a = std::atan2(p1.m_dZ - p2.m_dZ, p1.m_dX - p2.m_dX) - 1.5707963705062866;
    const auto out = [&](const CDataVertex& p) {
        return CDataVertex(ctx.SnapPoint(p.m_dX + depth * std::cos(a)),
                           ctx.SnapPoint(p.m_dZ + depth * std::sin(a)));
    };
    const CDataVertex q1 = out(p1);
    const CDataVertex q2 = out(p2);
    // The new sector runs clockwise like every extrusion; snapped corners may have fallen onto the
    // wall or crossed over.
    const std::array<PlanePoint, 4> loop{
        {{p1.m_dX, p1.m_dZ}, {q1.m_dX, q1.m_dZ}, {q2.m_dX, q2.m_dZ}, {p2.m_dX, p2.m_dZ}}};
    if (!LoopIsSound(loop) || LoopArea(loop) >= 0.0)
        return EditResult::Refused(ctx.document().m_bGridOn ? kExtrudeTooShallowForGrid : kExtrudeTooShallow);
    const int index = ExtrudeWallTo(ctx.level(), e.m_nSector, e.m_nWall, q1, q2);
    ctx.ClearSelection();
    ctx.AddToSelection({index, 3, -1, -1});
    EditResult r = Changed(false);
    r.m_bSelectionChanged = true;
    return r;
}

EditResult UnlinkSelection(const EditContext& ctx) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (!CanUnlink(ctx)) return {};
    const CMapSelItem e = ctx.selection().front();
    CDataLevel& level = ctx.level();
    CDataWall& wall = *WallAt(level, e.m_nSector, e.m_nWall);
    auto& sectors = level.m_Lev.m_pSectors;
    for (int t = 0; t < Count(sectors); ++t) {
        if (t == e.m_nSector) continue;
        for (auto& other : sectors[At(t)]->m_pWalls)
            if (other->m_nAdjoin == e.m_nSector && other->m_nMirror == e.m_nWall) {
                Unlink(*other);
                Unlink(wall);
                return Changed(false);
            }
    }
    return {};
}

bool CanInsert(const EditContext& ctx) {
    const int mode = Mode(ctx);
    if (mode == kModeSector || mode == kModeObject) return true;
    return (mode == kModeWall || mode == kModeVertex) && OneSelected(ctx);
}

bool CanDelete(const EditContext& ctx) {
    return !ctx.selection().empty();
}

bool CanLink(const EditContext& ctx) {
    if (!OneSelected(ctx)) return false;
    const CMapSelItem& e = ctx.selection().front();
    if (Mode(ctx) == kModeSector) {
        const CDataSector* sector = SectorAt(ctx.level(), e.m_nSector);
        return sector && AllUnlinked(*sector);
    }
    const CDataWall* wall = SelectedWall(ctx);
    return wall && wall->m_nAdjoin < 0;
}

bool CanUnlink(const EditContext& ctx) {
    const CDataWall* wall = SelectedWall(ctx);
    return wall && wall->m_nAdjoin >= 0;
}

bool CanExtrude(const EditContext& ctx) {
    return SelectedWall(ctx) != nullptr;
}

} // namespace morvi
