#include "mapedit/Generators.h"

#include "gamefiles/TextWriter.h"
#include "mapedit/StructuralEdits.h"
#include "mapedit/TransformTools.h"
#include "model/ModelOps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace morvi {

namespace {

constexpr double kTwoPi = 2.0 * kPiSingle;

constexpr int kSectorFlagDoor = 2;
constexpr int kWallFlagAnchored = 16;

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

int Count(const auto& array) {
    return static_cast<int>(array.size());
}

CDataSector& SectorAt(CDataLevel& level, int s) {
    return *level.m_Lev.m_pSectors[At(s)];
}

CDataWall& WallAt(CDataLevel& level, int s, int w) {
    return *SectorAt(level, s).m_pWalls[At(w)];
}

CDataVertex& VertexAt(CDataLevel& level, int s, int v) {
    return *SectorAt(level, s).m_pVertices[At(v)];
}

bool SamePoint(const CDataVertex& a, const CDataVertex& b) {
    return a.m_dX == b.m_dX && a.m_dZ == b.m_dZ;
}

// Corners that rounding or snapping put on top of their neighbour would make walls of no length.
std::vector<CDataVertex> MergeRepeats(const std::vector<CDataVertex>& corners) {
    std::vector<CDataVertex> out;
    for (const CDataVertex& c : corners)
        if (out.empty() || !SamePoint(out.back(), c)) out.push_back(c);
    while (out.size() > 1 && SamePoint(out.back(), out.front()))
        out.pop_back();
    return out;
}

// The document's grid flag follows the dialog's "Snap vertices to grid" during a generator, so
// that every snap inside it does; it is restored however the generator ends.
class GridOverride {
public:
    GridOverride(CMorviDoc& doc, bool snap) : m_Doc(doc), m_nSaved(doc.m_bGridOn) {
        doc.m_bGridOn = snap ? 1 : 0;
    }
    ~GridOverride() { m_Doc.m_bGridOn = m_nSaved; }
    GridOverride(const GridOverride&) = delete;
    GridOverride& operator=(const GridOverride&) = delete;

private:
    CMorviDoc& m_Doc;
    std::int32_t m_nSaved;
};

EditResult Made(const EditContext& ctx, int selectSector) {
    ctx.ClearSelection();
    ctx.AddToSelection({selectSector, -1, -1, -1});
    EditResult r;
    r.m_bChanged = true;
    r.m_bSelectionChanged = true;
    return r;
}

std::string IntegerRange(int value, int low, int high) {
    if (value >= low && value <= high) return {};
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

int SelectedSector(const EditContext& ctx) {
    return ctx.selection().front().m_nSector;
}

// ---- Passages -----------------------------------------------------------------------------------

struct WallRef {
    int m_nSector = -1;
    int m_nWall = -1;
};

const CDataWall* SelectedPassageWall(const EditContext& ctx, std::size_t i) {
    const CMapSelItem& e = ctx.selection()[i];
    const auto& sectors = ctx.level().m_Lev.m_pSectors;
    if (e.m_nSector < 0 || e.m_nSector >= Count(sectors)) return nullptr;
    const auto& walls = sectors[At(e.m_nSector)]->m_pWalls;
    return e.m_nWall >= 0 && e.m_nWall < Count(walls) ? walls[At(e.m_nWall)].get() : nullptr;
}

double SectorHeight(const CDataSector& sector) {
    return sector.m_dFloorAltitude - sector.m_dCeilingAltitude;
}

// Splits a wall in three around a middle piece of the given width, centred on the wall, and
// returns the middle wall. A wall the piece does not fit in strictly (after rounding and snapping
// the two new corners) is left whole and returned itself, with `whole` set.
int SplitInThree(const EditContext& ctx, WallRef ref, double width, bool& whole, bool& inf) {
    CDataLevel& level = ctx.level();
    const CDataWall& wall = WallAt(level, ref.m_nSector, ref.m_nWall);
    const CDataVertex p1 = VertexAt(level, ref.m_nSector, wall.m_nLeft);
    const CDataVertex p2 = VertexAt(level, ref.m_nSector, wall.m_nRight);
    const double dx = p2.m_dX - p1.m_dX;
    const double dz = p2.m_dZ - p1.m_dZ;
    const double length = std::sqrt(dx * dx + dz * dz);
    whole = true;
    if (!(width > 0.0 && width < length)) return ref.m_nWall;
    const double margin = (length - width) / 2.0;
    const auto at = [&](double d) {
        return CDataVertex(ctx.SnapPoint(RoundHundredths(p1.m_dX + dx * d / length)),
                           ctx.SnapPoint(RoundHundredths(p1.m_dZ + dz * d / length)));
    };
    const auto along = [&](const CDataVertex& q) {
        return (q.m_dX - p1.m_dX) * dx + (q.m_dZ - p1.m_dZ) * dz;
    };
    const CDataVertex q1 = at(margin);
    const CDataVertex q2 = at(length - margin);
    if (!(along(q1) > 0.0 && along(q1) < along(q2) && along(q2) < length * length)) return ref.m_nWall;
    whole = false;
    inf |= SplitWall(level, ref.m_nSector, ref.m_nWall).m_bInfChanged;
    inf |= SplitWall(level, ref.m_nSector, ref.m_nWall + 1).m_bInfChanged;
    const CDataWall& middle = WallAt(level, ref.m_nSector, ref.m_nWall + 1);
    VertexAt(level, ref.m_nSector, middle.m_nLeft) = q1;
    VertexAt(level, ref.m_nSector, middle.m_nRight) = q2;
    return ref.m_nWall + 1;
}

// The top texture offsets of the two sides of a wall between two steps: each side shows the
// stretch between its own floor and the other side's ceiling.
void SetTopOffsets(CDataLevel& level, WallRef near, WallRef far) {
    const CDataSector& a = SectorAt(level, near.m_nSector);
    const CDataSector& b = SectorAt(level, far.m_nSector);
    WallAt(level, near.m_nSector, near.m_nWall).m_Top.m_dOffsetY =
        RoundHundredths(a.m_dFloorAltitude - b.m_dCeilingAltitude);
    WallAt(level, far.m_nSector, far.m_nWall).m_Top.m_dOffsetY =
        RoundHundredths(b.m_dFloorAltitude - a.m_dCeilingAltitude);
}

// Extrudes k sectors one after the other from wall `from`, stepping the altitudes towards B's and
// keeping every step at most h high; the last one is closed onto B's wall and linked to it.
std::vector<int> BuildBridge(const EditContext& ctx, WallRef from, WallRef to, int k, double h) {
    CDataLevel& level = ctx.level();
    const CDataVertex a1 =
        VertexAt(level, from.m_nSector, WallAt(level, from.m_nSector, from.m_nWall).m_nLeft);
    const CDataWall& wallB = WallAt(level, to.m_nSector, to.m_nWall);
    const CDataVertex b1 = VertexAt(level, to.m_nSector, wallB.m_nLeft);
    const CDataVertex b2 = VertexAt(level, to.m_nSector, wallB.m_nRight);
    const double depth = PointDistance(a1.m_dX, a1.m_dZ, b2.m_dX, b2.m_dZ) / k;
    const double step =
        (SectorAt(level, to.m_nSector).m_dFloorAltitude - SectorAt(level, from.m_nSector).m_dFloorAltitude) /
        (k + 1);
    std::vector<int> bridge;
    WallRef previous = from;
    for (int i = 0; i < k; ++i) {
        ctx.ClearSelection();
        ctx.AddToSelection({previous.m_nSector, previous.m_nWall, -1, -1});
        ExtrudeSelection(ctx, depth);
        const int n = Count(level.m_Lev.m_pSectors) - 1;
        const CDataSector& before = SectorAt(level, previous.m_nSector);
        CDataSector& next = SectorAt(level, n);
        next.m_dFloorAltitude = RoundHundredths(before.m_dFloorAltitude + step);
        next.m_dCeilingAltitude = RoundHundredths(before.m_dCeilingAltitude + step);
        if (next.m_dCeilingAltitude < next.m_dFloorAltitude - h)
            next.m_dCeilingAltitude = RoundHundredths(next.m_dFloorAltitude - h);
        SetTopOffsets(level, previous, {n, 3});
        bridge.push_back(n);
        previous = {n, 1};
    }
    VertexAt(level, previous.m_nSector, 1) = b2;
    VertexAt(level, previous.m_nSector, 2) = b1;
    LinkWalls(level, previous.m_nSector, previous.m_nWall, to.m_nSector, to.m_nWall);
    SetTopOffsets(level, previous, to);
    return bridge;
}

// The mid textures of the bridge follow the slope from A's floor to B's.
void AlignBridge(const EditContext& ctx, int a, const std::vector<int>& bridge, int b) {
    CMorviDoc& doc = ctx.document();
    doc.m_nMode = kModeSector;
    ctx.ClearSelection();
    ctx.AddToSelection({a, -1, -1, -1});
    for (int s : bridge)
        ctx.AddToSelection({s, -1, -1, -1});
    ctx.AddToSelection({b, -1, -1, -1});
    AlignmentOptions vertical;
    vertical.m_bVerticalMid = true;
    AlignWalls(ctx, vertical, nullptr);
    doc.m_nMode = kModeWall;
    ctx.ClearSelection();
}

void MakeDoor(CDataLevel& level, const std::vector<int>& bridge, WallRef a, WallRef b, bool sunken) {
    SectorAt(level, bridge[sunken ? 1 : 0]).m_nFlags1 = kSectorFlagDoor;
    const int face = level.m_Lev.FindOrAddTexture("ZDREBL1.BM");
    if (sunken) {
        a = {bridge[0], 1};
        b = {bridge[2], 3};
    }
    WallAt(level, a.m_nSector, a.m_nWall).m_Top.m_nTexture = face;
    WallAt(level, b.m_nSector, b.m_nWall).m_Top.m_nTexture = face;
}

void MakeLift(CDataLevel& level, int lift, int a, int b) {
    CDataSector& sector = SectorAt(level, lift);
    sector.m_strName = "lift_" + std::to_string(lift);
    const int texture = level.m_Lev.FindOrAddTexture("IWCOMWAL.BM");
    for (auto& wall : sector.m_pWalls) {
        wall->m_nFlags1 = kWallFlagAnchored;
        wall->m_Mid.m_nTexture = wall->m_Top.m_nTexture = wall->m_Bottom.m_nTexture = texture;
    }
    auto item = std::make_unique<CDataInfItem>();
    item->m_strType = "sector";
    item->m_strName = sector.m_strName;
    item->m_Lines = {"class:\televator move_floor", "speed:\t10", "event_mask:\t4",
                     ElevatorStopLine(SectorAt(level, a).m_dFloorAltitude),
                     ElevatorStopLine(SectorAt(level, b).m_dFloorAltitude)};
    level.m_Inf.m_pItems.push_back(std::move(item));
}

std::string TooShortNotice(const char* which) {
    return std::string("The ") + which +
           " wall is too short to split in 3 parts:\nthe passage was joined to the whole wall.";
}

} // namespace

// ---- Building blocks ----------------------------------------------------------------------------

std::unique_ptr<CDataSector> NewGeneratedSector(CDataLev& lev, int index, int layer) {
    auto sector = std::make_unique<CDataSector>();
    sector->m_nIndex = index;
    sector->m_nAmbient = 31;
    sector->m_dCeilingAltitude = -16.0;
    sector->m_nLayer = layer;
    sector->m_FloorTexture.m_nTexture = lev.FindOrAddTexture("IF3.BM");
    sector->m_FloorTexture.m_nTexFlag = 2;
    sector->m_CeilingTexture.m_nTexture = lev.FindOrAddTexture("IPBIGLT.BM");
    sector->m_CeilingTexture.m_nTexFlag = 2;
    return sector;
}

std::vector<CDataVertex> PolygonCorners(const EditContext& ctx, int sides, double radius, WorldPoint centre,
                                        bool snap, bool hole) {
    const double step = kTwoPi / sides;
    const double s = hole ? 1.0 : -1.0;
    std::vector<CDataVertex> corners;
    corners.reserve(At(std::max(sides, 0)));
    for (int i = 0; i < sides; ++i) {
        const double t = i * step + s * step / 2.0;
        const double x = centre.m_dX + radius * std::cos(t);
        const double z = centre.m_dZ + s * radius * std::sin(t);
        corners.emplace_back(snap ? ctx.SnapPoint(x) : RoundHundredths(x),
                             snap ? ctx.SnapPoint(z) : RoundHundredths(z));
    }
    return MergeRepeats(corners);
}

void AppendLoop(CDataLev& lev, CDataSector& sector, std::span<const CDataVertex> corners) {
    const int n = Count(corners);
    const int nV = Count(sector.m_pVertices);
    const int nW = Count(sector.m_pWalls);
    const int texture = lev.FindOrAddTexture("RWRWALL1.BM");
    for (int i = 0; i < n; ++i) {
        sector.m_pVertices.push_back(std::make_unique<CDataVertex>(corners[At(i)]));
        auto wall = std::make_unique<CDataWall>();
        wall->m_nIndex = nW + i;
        wall->m_nLeft = nV + i;
        wall->m_nRight = nV + (i + 1) % n;
        wall->m_Mid.m_nTexture = wall->m_Top.m_nTexture = wall->m_Bottom.m_nTexture = texture;
        sector.m_pWalls.push_back(std::move(wall));
    }
}

// ---- Insert Polygon -----------------------------------------------------------------------------

std::string ValidatePolygon(const PolygonOptions& options) {
    if (options.m_nSides < 3 || options.m_nSides > 100) return kIllegalSides;
    if (!(options.m_dRadius >= 5.0 && options.m_dRadius <= 100.0)) return kIllegalRadius;
    return {};
}

bool CanInsertInsideSector(const EditContext& ctx) {
    if (ctx.document().m_nMode != kModeSector || ctx.selection().size() != 1) return false;
    const int s = SelectedSector(ctx);
    return s >= 0 && s < Count(ctx.level().m_Lev.m_pSectors);
}

EditResult InsertPolygon(const EditContext& ctx, const PolygonOptions& options) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (ctx.document().m_nMode != kModeSector) return {};
    if (std::string message = ValidatePolygon(options); !message.empty()) return EditResult::Refused(message);
    const bool inside = options.m_Kind != PolygonKind::NewSector;
    if (inside && !CanInsertInsideSector(ctx)) return {};
    GridOverride grid(ctx.document(), options.m_bSnap);
    const std::vector<CDataVertex> corners =
        PolygonCorners(ctx, options.m_nSides, options.m_dRadius, ctx.place(), options.m_bSnap,
                       options.m_Kind == PolygonKind::Gap);
    if (corners.size() < 3) return EditResult::Refused(kTooFewCorners);
    CDataLevel& level = ctx.level();
    if (options.m_Kind == PolygonKind::Gap) {
        const int s = SelectedSector(ctx);
        AppendLoop(level.m_Lev, SectorAt(level, s), corners);
        return Made(ctx, s);
    }
    const int index = Count(level.m_Lev.m_pSectors);
    auto sector = NewGeneratedSector(level.m_Lev, index, ctx.document().m_nCurrentLayer);
    if (inside) {
        const CDataSector& container = SectorAt(level, SelectedSector(ctx));
        sector->m_nAmbient = container.m_nAmbient;
        sector->m_FloorTexture = container.m_FloorTexture;
        sector->m_CeilingTexture = container.m_CeilingTexture;
        sector->m_dFloorAltitude = container.m_dFloorAltitude;
        sector->m_dCeilingAltitude = container.m_dCeilingAltitude;
        sector->m_dSecondAltitude = container.m_dSecondAltitude;
        sector->m_nFlags1 = container.m_nFlags1;
        sector->m_nFlags2 = container.m_nFlags2;
        sector->m_nFlags3 = container.m_nFlags3;
        sector->m_nLayer = container.m_nLayer;
    }
    AppendLoop(level.m_Lev, *sector, corners);
    level.m_Lev.m_pSectors.push_back(std::move(sector));
    if (inside) MakeIsland(level, index, SelectedSector(ctx));
    return Made(ctx, index);
}

// ---- Cylinder ------------------------------------------------------------------------------------

std::string ValidateCylinder(const CylinderOptions& options) {
    if (std::string m = IntegerRange(options.m_nSides, 4, 200); !m.empty()) return m;
    if (std::string m = IntegerRange(options.m_nAngle, 1, 360); !m.empty()) return m;
    if (!(options.m_dOuterRadius > options.m_dInnerRadius)) return kCylinderRadii;
    return {};
}

bool CanCreateCylinder(const EditContext& ctx) {
    return ctx.document().m_nMode == kModeSector && ctx.selection().empty();
}

EditResult CreateCylinder(const EditContext& ctx, const CylinderOptions& options) {
    if (!CanCreateCylinder(ctx)) return {};
    if (std::string message = ValidateCylinder(options); !message.empty())
        return EditResult::Refused(message);
    GridOverride grid(ctx.document(), options.m_bSnap);
    const WorldPoint centre = ctx.place();
    const int n = options.m_nSides;
    const auto corner = [&](int i, double radius) {
        const double a = i * options.m_nAngle / static_cast<double>(n) * kPiSingle / 180.0;
        const double x = RoundHundredths(centre.m_dX + radius * std::sin(-a));
        const double z = RoundHundredths(centre.m_dZ + radius * std::cos(a));
        return options.m_bSnap ? CDataVertex(ctx.SnapPoint(x), ctx.SnapPoint(z)) : CDataVertex(x, z);
    };
    std::vector<CDataVertex> corners;
    for (int i = 0; i <= n; ++i)
        corners.push_back(corner(i, options.m_dInnerRadius));
    for (int i = n + 1; i <= 2 * n + 1; ++i)
        corners.push_back(corner(2 * n + 1 - i, options.m_dOuterRadius));
    corners = MergeRepeats(corners);
    if (corners.size() < 3) return EditResult::Refused(kTooFewCorners);
    CDataLevel& level = ctx.level();
    const int index = Count(level.m_Lev.m_pSectors);
    auto sector = NewGeneratedSector(level.m_Lev, index, ctx.document().m_nCurrentLayer);
    AppendLoop(level.m_Lev, *sector, corners);
    level.m_Lev.m_pSectors.push_back(std::move(sector));
    return Made(ctx, index);
}

// ---- Passages -----------------------------------------------------------------------------------

bool CanCreatePassage(const EditContext& ctx) {
    if (ctx.document().m_nMode != kModeWall || ctx.selection().size() != 2) return false;
    return SelectedPassageWall(ctx, 0) && SelectedPassageWall(ctx, 1) &&
           ctx.selection()[0].m_nSector != ctx.selection()[1].m_nSector;
}

std::string PassageRefusal(const EditContext& ctx, PassageKind kind) {
    if (!CanCreatePassage(ctx)) return {};
    if (SelectedPassageWall(ctx, 0)->m_nAdjoin < 0 && SelectedPassageWall(ctx, 1)->m_nAdjoin < 0) return {};
    return kind == PassageKind::Staircase ? kStaircaseBetweenLinked : kDoorBetweenLinked;
}

PassageOptions PassageStart(const EditContext& ctx, PassageKind kind) {
    PassageOptions options;
    if (!CanCreatePassage(ctx)) return options;
    CDataLevel& level = ctx.level();
    const double a = SectorHeight(SectorAt(level, ctx.selection()[0].m_nSector));
    const double b = SectorHeight(SectorAt(level, ctx.selection()[1].m_nSector));
    options.m_dHeight = std::min(a, b);
    if (kind != PassageKind::Staircase) options.m_dHeight = std::min(options.m_dHeight, 8.0);
    return options;
}

std::string ValidatePassage(const PassageOptions& options, PassageKind kind) {
    return kind == PassageKind::Staircase ? IntegerRange(options.m_nSteps, 1, 1000) : std::string();
}

EditResult CreatePassage(const EditContext& ctx, PassageKind kind, const PassageOptions& options) {
    if (std::string refusal = ctx.DamageRefusal(); !refusal.empty())
        return EditResult::Refused(std::move(refusal));

    if (!CanCreatePassage(ctx)) return {};
    if (std::string message = PassageRefusal(ctx, kind); !message.empty())
        return EditResult::Refused(message);
    if (std::string message = ValidatePassage(options, kind); !message.empty())
        return EditResult::Refused(message);
    GridOverride grid(ctx.document(), options.m_bSnap);
    CDataLevel& level = ctx.level();
    const CMapSelItem first = ctx.selection()[0];
    const CMapSelItem second = ctx.selection()[1];
    EditResult result;
    result.m_bChanged = result.m_bSelectionChanged = true;
    WallRef a{first.m_nSector, first.m_nWall};
    WallRef b{second.m_nSector, second.m_nWall};
    bool whole = false;
    if (options.m_bSplitFirst) {
        a.m_nWall = SplitInThree(ctx, a, options.m_dWidthFirst, whole, result.m_bInfChanged);
        if (whole) result.m_strMessage = TooShortNotice("first");
    }
    if (options.m_bSplitSecond) {
        b.m_nWall = SplitInThree(ctx, b, options.m_dWidthSecond, whole, result.m_bInfChanged);
        if (whole)
            result.m_strMessage += (result.m_strMessage.empty() ? "" : "\n") + TooShortNotice("second");
    }
    const bool sunken = options.m_bSunken && kind != PassageKind::Staircase;
    const int k = kind == PassageKind::Staircase ? options.m_nSteps : (sunken ? 3 : 1);
    const std::vector<int> bridge = BuildBridge(ctx, a, b, k, options.m_dHeight);
    if (kind == PassageKind::Door) MakeDoor(level, bridge, a, b, sunken);
    if (kind == PassageKind::Elevator) {
        MakeLift(level, bridge[sunken ? 1 : 0], a.m_nSector, b.m_nSector);
        result.m_bInfChanged = true;
    }
    AlignBridge(ctx, a.m_nSector, bridge, b.m_nSector);
    return result;
}

std::string ElevatorStopLine(double floorAltitude) {
    // A floor at 0 is stop 0, not "-0".
    const double height = floorAltitude == 0.0 ? 0.0 : -floorAltitude;
    std::string line = "stop:\t";
    TextWriter out(line);
    if (height == std::trunc(height))
        out.fixed(height, 0);
    else
        out.fixed(height, 2);
    out.raw(" hold");
    return line;
}

} // namespace morvi
