#include "mapedit/TransformTools.h"

#include "gamefiles/InfFile.h"
#include "model/ModelOps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace morvi {

namespace {

bool ValidSector(const CDataLevel& level, int sector) {
    return sector >= 0 && static_cast<std::size_t>(sector) < level.m_Lev.m_pSectors.size();
}

CDataSector& SectorAt(CDataLevel& level, int sector) {
    return *level.m_Lev.m_pSectors[static_cast<std::size_t>(sector)];
}
const CDataSector& SectorAt(const CDataLevel& level, int sector) {
    return *level.m_Lev.m_pSectors[static_cast<std::size_t>(sector)];
}

bool Contains(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// The selected sectors in selection order, each once.
std::vector<int> SelectedSectors(const CDataLevel& level, const std::vector<CMapSelItem>& selection) {
    std::vector<int> sectors;
    for (const CMapSelItem& item : selection)
        if (ValidSector(level, item.m_nSector) && !Contains(sectors, item.m_nSector))
            sectors.push_back(item.m_nSector);
    return sectors;
}

std::vector<int> ValidIslands(const CDataLevel& level, int sector) {
    std::vector<int> islands = GetEnclosedSectors(SectorAt(level, sector));
    std::erase_if(islands, [&](int s) { return !ValidSector(level, s) || s == sector; });
    return islands;
}

bool SectorMode(const EditContext& ctx) {
    return ctx.document().m_nMode == kModeSector;
}

// Applies f to every vertex of the sectors.
template <typename F> void ForEachVertex(CDataLevel& level, const std::vector<int>& sectors, F f) {
    for (int s : sectors)
        for (auto& v : SectorAt(level, s).m_pVertices)
            f(*v);
}

// Applies f to every object assigned to one of the sectors, when objects move with sectors.
template <typename F> void ForEachObject(const EditContext& ctx, const std::vector<int>& sectors, F f) {
    if (!ctx.settings().m_bMoveObjects) return;
    for (auto& object : ctx.level().m_Objects.m_pObjects)
        if (object->m_nSector >= 0 && Contains(sectors, object->m_nSector)) f(*object);
}

// Keeps a turned yaw within 0..360, as the object file's readers expect it.
double NormalizeYaw(double yaw) {
    if (yaw < 0) yaw += 360.0;
    if (yaw > 360) yaw -= 360.0;
    return RoundHundredths(yaw);
}

// What every transform starts from: the targets, the sectors that move and the centre.
struct TransformSet {
    std::vector<int> m_Targets;
    std::vector<int> m_Sectors;
    TransformCentre m_Centre;
};

std::optional<TransformSet> PrepareTransform(const EditContext& ctx) {
    if (!SectorMode(ctx)) return std::nullopt;
    TransformSet set;
    set.m_Targets = TransformTargets(ctx.level(), ctx.selection());
    const auto centre = ComputeTransformCentre(ctx.level(), set.m_Targets);
    if (!centre) return std::nullopt;
    set.m_Centre = *centre;
    set.m_Sectors = TransformedSectors(ctx.level(), set.m_Targets);
    return set;
}

EditResult Changed() {
    EditResult result;
    result.m_bChanged = true;
    return result;
}

// ---- Flip ----------------------------------------------------------------------------------------

// Reverses the wall records of each loop and swaps their ends: with the points mirrored the loop
// then keeps its rotational sense, and every wall keeps its own textures, flags and adjoin. The
// vertex records stay where they are, so flipping twice gives back the same records. Returns the
// new position of every old wall position.
std::vector<int> ReverseLoops(CDataSector& sector) {
    auto& walls = sector.m_pWalls;
    std::vector<int> starts;
    BuildLoopStarts(sector, starts);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        std::reverse(walls.begin() + starts[k], walls.begin() + starts[k + 1]);
    std::vector<int> newPosition(walls.size(), -1);
    for (std::size_t p = 0; p < walls.size(); ++p) {
        CDataWall& wall = *walls[p];
        std::swap(wall.m_nLeft, wall.m_nRight);
        if (wall.m_nIndex >= 0 && static_cast<std::size_t>(wall.m_nIndex) < walls.size())
            newPosition[static_cast<std::size_t>(wall.m_nIndex)] = static_cast<int>(p);
    }
    return newPosition;
}

// Points every wall adjoined to a flipped sector at its mirror's new position.
void RepairMirrors(CDataLevel& level, const std::vector<int>& flipped,
                   const std::vector<std::vector<int>>& moves) {
    for (auto& sector : level.m_Lev.m_pSectors) {
        for (auto& wall : sector->m_pWalls) {
            const auto at = std::find(flipped.begin(), flipped.end(), wall->m_nAdjoin);
            if (at == flipped.end() || wall->m_nMirror < 0) continue;
            const auto& newPosition = moves[static_cast<std::size_t>(at - flipped.begin())];
            if (static_cast<std::size_t>(wall->m_nMirror) < newPosition.size())
                wall->m_nMirror = newPosition[static_cast<std::size_t>(wall->m_nMirror)];
        }
    }
}

// Renumbers the INF references of a flipped sector's walls. The old and new numbers are the same
// set, so every reference first goes to a number no wall has, then to its new one: renumbering
// directly would move a reference twice (0 -> 3, then that 3 -> 0).
bool RepairInfWalls(CDataInf& inf, const CDataSector& sector, const std::vector<int>& newPosition) {
    if (sector.m_strName.empty()) return false;
    constexpr int kParked = 1 << 24;
    bool changed = false;
    for (std::size_t old = 0; old < newPosition.size(); ++old)
        if (newPosition[old] != static_cast<int>(old))
            changed |=
                RenumberWall(inf, sector.m_strName, static_cast<int>(old), kParked + newPosition[old], false);
    for (std::size_t old = 0; old < newPosition.size(); ++old)
        if (newPosition[old] != static_cast<int>(old))
            RenumberWall(inf, sector.m_strName, kParked + newPosition[old], newPosition[old], false);
    return changed;
}

// ---- Alignment -----------------------------------------------------------------------------------

struct WallRef {
    int m_nSector;
    int m_nWall;
};

CDataTexture& Slot(CDataWall& wall, int slot) {
    if (slot == 0) return wall.m_Mid;
    if (slot == 1) return wall.m_Top;
    return wall.m_Bottom;
}

bool ValidWall(const CDataLevel& level, int sector, int wall) {
    return ValidSector(level, sector) && wall >= 0 &&
           static_cast<std::size_t>(wall) < SectorAt(level, sector).m_pWalls.size();
}

CDataWall& WallAt(CDataLevel& level, const WallRef& ref) {
    return *SectorAt(level, ref.m_nSector).m_pWalls[static_cast<std::size_t>(ref.m_nWall)];
}

double WallLength(CDataLevel& level, const WallRef& ref) {
    const CDataSector& sector = SectorAt(level, ref.m_nSector);
    const CDataWall& wall = WallAt(level, ref);
    const auto count = static_cast<int>(sector.m_pVertices.size());
    if (wall.m_nLeft < 0 || wall.m_nLeft >= count || wall.m_nRight < 0 || wall.m_nRight >= count) return 0.0;
    const CDataVertex& a = *sector.m_pVertices[static_cast<std::size_t>(wall.m_nLeft)];
    const CDataVertex& b = *sector.m_pVertices[static_cast<std::size_t>(wall.m_nRight)];
    return PointDistance(a.m_dX, a.m_dZ, b.m_dX, b.m_dZ);
}

// The walls of the selection in selection order; in sector mode each sector's first wall.
std::vector<WallRef> AlignmentWalls(const EditContext& ctx, bool sectorMode) {
    std::vector<WallRef> walls;
    for (const CMapSelItem& item : ctx.selection()) {
        const int wall = sectorMode ? 0 : item.m_nWall;
        if (ValidWall(ctx.level(), item.m_nSector, wall)) walls.push_back({item.m_nSector, wall});
    }
    return walls;
}

bool AlignVertical(const EditContext& ctx, const std::vector<WallRef>& items, bool sectorMode, int slot) {
    CDataLevel& level = ctx.level();
    const int n = static_cast<int>(items.size()) - 1;
    const double a = SectorAt(level, items.front().m_nSector).m_dFloorAltitude;
    const double b = SectorAt(level, items.back().m_nSector).m_dFloorAltitude;
    for (int i = 1; i < n; ++i) {
        const WallRef& item = items[static_cast<std::size_t>(i)];
        const double offset = RoundHundredths((a - b) * i / n);
        if (sectorMode) {
            for (auto& wall : SectorAt(level, item.m_nSector).m_pWalls)
                Slot(*wall, slot).m_dOffsetY = offset;
        } else {
            Slot(WallAt(level, item), slot).m_dOffsetY = offset;
        }
    }
    return n > 1;
}

// Lays the slot's texture along the walls from the first one on; the message is set when the
// texture's width is not known, and then nothing changes.
bool AlignHorizontal(const EditContext& ctx, const std::vector<WallRef>& walls, int slot,
                     const TextureWidthFunction& textureWidth, std::string& message) {
    CDataLevel& level = ctx.level();
    const int texture = Slot(WallAt(level, walls.front()), slot).m_nTexture;
    if (texture < 0) return false;
    const std::string name = level.m_Lev.GetTextureName(texture);
    const int width = textureWidth ? textureWidth(name) : -1;
    if (width <= 0) {
        if (!message.empty()) message += "\n";
        message += "The width of " + name + " is not known:\nits horizontal offsets were left as they are.";
        return false;
    }
    double length = 0.0;
    for (std::size_t k = 0; k < walls.size(); ++k) {
        if (k > 0) length += WallLength(level, walls[k - 1]);
        Slot(WallAt(level, walls[k]), slot).m_dOffsetX = RoundHundredths(std::fmod(length, width));
    }
    return true;
}

} // namespace

std::vector<int> TransformTargets(const CDataLevel& level, const std::vector<CMapSelItem>& selection) {
    const std::vector<int> selected = SelectedSectors(level, selection);
    std::vector<int> islands;
    for (int s : selected)
        for (int island : ValidIslands(level, s))
            islands.push_back(island);
    std::vector<int> targets;
    for (int s : selected)
        if (!Contains(islands, s)) targets.push_back(s);
    return targets;
}

std::vector<int> TransformedSectors(const CDataLevel& level, const std::vector<int>& targets) {
    std::vector<int> sectors = targets;
    for (std::size_t k = 0; k < sectors.size(); ++k)
        for (int island : ValidIslands(level, sectors[k]))
            if (!Contains(sectors, island)) sectors.push_back(island);
    return sectors;
}

std::optional<TransformCentre> ComputeTransformCentre(const CDataLevel& level,
                                                      const std::vector<int>& targets) {
    double sumX = 0.0;
    double sumZ = 0.0;
    int count = 0;
    std::vector<int> starts;
    for (int s : targets) {
        const CDataSector& sector = SectorAt(level, s);
        starts.clear();
        BuildLoopStarts(sector, starts);
        for (int w = 0; w < starts[1]; ++w) {
            const int v = sector.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft;
            if (v < 0 || static_cast<std::size_t>(v) >= sector.m_pVertices.size()) continue;
            sumX += sector.m_pVertices[static_cast<std::size_t>(v)]->m_dX;
            sumZ += sector.m_pVertices[static_cast<std::size_t>(v)]->m_dZ;
            ++count;
        }
    }
    if (count == 0) return std::nullopt;
    return TransformCentre{sumX / count, sumZ / count};
}

std::string ValidateRotateAngle(double angle) {
    if (!(angle >= -360.0 && angle <= 360.0)) return "Illegal Angle.";
    return {};
}

std::string ValidateScale(double scale) {
    if (!(scale >= 0.1 && scale <= 10.0)) return "Please enter a number between 0.1 and 10.0.";
    return {};
}

EditResult FlipSectors(const EditContext& ctx, FlipDirection direction) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    const auto set = PrepareTransform(ctx);
    if (!set) return {};
    CDataLevel& level = ctx.level();
    const bool leftRight = direction == FlipDirection::LeftToRight;
    const double cx = set->m_Centre.m_dX;
    const double cz = set->m_Centre.m_dZ;
    for (int s : set->m_Sectors) {
        auto& walls = SectorAt(level, s).m_pWalls;
        for (std::size_t p = 0; p < walls.size(); ++p)
            walls[p]->m_nIndex = static_cast<int>(p);
    }
    ForEachVertex(level, set->m_Sectors, [&](CDataVertex& v) {
        if (leftRight)
            v.m_dX = ctx.SnapPoint(2 * cx - v.m_dX);
        else
            v.m_dZ = ctx.SnapPoint(2 * cz - v.m_dZ);
    });
    ForEachObject(ctx, set->m_Sectors, [&](CDataObjectItem& o) {
        if (leftRight) {
            o.m_dX = ctx.SnapPoint(2 * cx - o.m_dX);
            o.m_dYaw = NormalizeYaw(-o.m_dYaw);
        } else {
            o.m_dZ = ctx.SnapPoint(2 * cz - o.m_dZ);
            o.m_dYaw = NormalizeYaw(180.0 - o.m_dYaw);
        }
    });
    std::vector<std::vector<int>> moves;
    for (int s : set->m_Sectors)
        moves.push_back(ReverseLoops(SectorAt(level, s)));
    RepairMirrors(level, set->m_Sectors, moves);
    EditResult result = Changed();
    for (std::size_t k = 0; k < set->m_Sectors.size(); ++k) {
        CDataSector& sector = SectorAt(level, set->m_Sectors[k]);
        result.m_bInfChanged |= RepairInfWalls(level.m_Inf, sector, moves[k]);
        for (std::size_t p = 0; p < sector.m_pWalls.size(); ++p)
            sector.m_pWalls[p]->m_nIndex = static_cast<int>(p);
    }
    return result;
}

EditResult RotateSectors(const EditContext& ctx, double angle) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (std::string message = ValidateRotateAngle(angle); !message.empty())
        return EditResult::Refused(message);
    const auto set = PrepareTransform(ctx);
    if (!set) return {};
    const double a = angle * kPiSingle / 180.0;
    const double cx = set->m_Centre.m_dX;
    const double cz = set->m_Centre.m_dZ;
    auto turn = [&](double& x, double& z) {
        const double phi = std::atan2(z - cz, x - cx);
        const double r = PointDistance(x, z, cx, cz);
        x = ctx.SnapPoint(cx + r * std::cos(phi + a));
        z = ctx.SnapPoint(cz + r * std::sin(phi + a));
    };
    ForEachVertex(ctx.level(), set->m_Sectors, [&](CDataVertex& v) { turn(v.m_dX, v.m_dZ); });
    ForEachObject(ctx, set->m_Sectors, [&](CDataObjectItem& o) {
        turn(o.m_dX, o.m_dZ);
        o.m_dYaw = NormalizeYaw(o.m_dYaw - angle);
    });
    return Changed();
}

EditResult ScaleSectors(const EditContext& ctx, double scale, bool snap) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (std::string message = ValidateScale(scale); !message.empty()) return EditResult::Refused(message);
    const auto set = PrepareTransform(ctx);
    if (!set) return {};
    const double cx = set->m_Centre.m_dX;
    const double cz = set->m_Centre.m_dZ;
    // Along the ray from the centre, as a turn by 0 with the distance scaled.
    auto stretch = [&](double& x, double& z, bool snapIt) {
        const double phi = std::atan2(z - cz, x - cx);
        const double r = PointDistance(x, z, cx, cz) * scale;
        x = cx + r * std::cos(phi);
        z = cz + r * std::sin(phi);
        x = snapIt ? ctx.SnapPoint(x) : RoundHundredths(x);
        z = snapIt ? ctx.SnapPoint(z) : RoundHundredths(z);
    };
    ForEachVertex(ctx.level(), set->m_Sectors, [&](CDataVertex& v) { stretch(v.m_dX, v.m_dZ, snap); });
    ForEachObject(ctx, set->m_Sectors, [&](CDataObjectItem& o) { stretch(o.m_dX, o.m_dZ, true); });
    return Changed();
}

EditResult DistributeSectors(const EditContext& ctx, const DistributionOptions& options) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (!SectorMode(ctx)) return {};
    CDataLevel& level = ctx.level();
    std::vector<int> sectors;
    for (const CMapSelItem& item : ctx.selection())
        if (ValidSector(level, item.m_nSector)) sectors.push_back(item.m_nSector);
    if (sectors.size() < 3) return {};
    // Copied first: a sector picked twice may lie between the ends and change.
    const CDataSector& first = SectorAt(level, sectors.front());
    const CDataSector& last = SectorAt(level, sectors.back());
    const double floorA = first.m_dFloorAltitude;
    const double floorB = last.m_dFloorAltitude;
    const double ceilingA = first.m_dCeilingAltitude;
    const double ceilingB = last.m_dCeilingAltitude;
    const int ambientA = first.m_nAmbient;
    const int ambientB = last.m_nAmbient;
    const int n = static_cast<int>(sectors.size()) - 1;
    const bool floors = options.m_Which != DistributeWhich::Ceilings;
    const bool ceilings = options.m_Which != DistributeWhich::Floors;
    for (int i = 1; i < n; ++i) {
        CDataSector& s = SectorAt(level, sectors[static_cast<std::size_t>(i)]);
        if (options.m_bAltitudes && ceilings)
            s.m_dCeilingAltitude = RoundHundredths(i * (ceilingB - ceilingA) / n + ceilingA);
        if (options.m_bAltitudes && floors)
            s.m_dFloorAltitude = RoundHundredths(i * (floorB - floorA) / n + floorA);
        if (options.m_bLight) s.m_nAmbient = ambientA + (i * (ambientB - ambientA)) / n;
    }
    return Changed();
}

EditResult AlignWalls(const EditContext& ctx, const AlignmentOptions& options,
                      const TextureWidthFunction& textureWidth) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));
    const int mode = ctx.document().m_nMode;
    if (mode != kModeSector && mode != kModeWall) return {};
    const bool sectorMode = mode == kModeSector;
    const std::vector<WallRef> walls = AlignmentWalls(ctx, sectorMode);
    if (walls.empty() || (!sectorMode && walls.size() < 2)) return {};
    EditResult result;
    const bool vertical[3] = {options.m_bVerticalMid, options.m_bVerticalTop, options.m_bVerticalBottom};
    const bool horizontal[3] = {options.m_bHorizontalMid, options.m_bHorizontalTop,
                                options.m_bHorizontalBottom};
    for (int slot = 0; slot < 3; ++slot) {
        if (vertical[slot]) result.m_bChanged |= AlignVertical(ctx, walls, sectorMode, slot);
        if (horizontal[slot])
            result.m_bChanged |= AlignHorizontal(ctx, walls, slot, textureWidth, result.m_strMessage);
    }
    return result;
}

EditResult ChangeOffsets(const EditContext& ctx, double dx, double dy, double dz) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (!SectorMode(ctx)) return {};
    CDataLevel& level = ctx.level();
    const std::vector<int> sectors = TransformedSectors(level, TransformTargets(level, ctx.selection()));
    if (sectors.empty()) return {};
    EditResult result = Changed();
    for (int s : sectors) {
        CDataSector& sector = SectorAt(level, s);
        sector.m_dFloorAltitude = RoundHundredths(sector.m_dFloorAltitude - dy);
        sector.m_dCeilingAltitude = RoundHundredths(sector.m_dCeilingAltitude - dy);
        if (sector.m_dSecondAltitude != 0)
            sector.m_dSecondAltitude = RoundHundredths(sector.m_dSecondAltitude - dy);
        // INF stops hold heights, the negated altitudes: they rise by what the altitudes fell.
        if (!sector.m_strName.empty() && dy != 0) {
            ShiftStopAltitudes(level.m_Inf, sector.m_strName, dy);
            result.m_bInfChanged = true;
        }
    }
    ForEachVertex(level, sectors, [&](CDataVertex& v) {
        v.m_dX = RoundHundredths(v.m_dX + dx);
        v.m_dZ = RoundHundredths(v.m_dZ + dz);
    });
    for (auto& o : level.m_Objects.m_pObjects) {
        if (o->m_nSector < 0 || !Contains(sectors, o->m_nSector)) continue;
        o->m_dX = RoundHundredths(o->m_dX + dx);
        o->m_dY = RoundHundredths(o->m_dY - dy);
        o->m_dZ = RoundHundredths(o->m_dZ + dz);
    }
    return result;
}

} // namespace morvi
