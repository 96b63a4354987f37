#include "mapedit/Generators.h"

#include "gamefiles/TextWriter.h"
#include "mapedit/StructuralEdits.h"
#include "mapedit/TransformTools.h"
#include "model/LevelGeometry.h"
#include "model/ModelOps.h"

#include <algorithm>
#include <array>
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

PlanePoint Plane(const CDataVertex& v) {
    return {v.m_dX, v.m_dZ};
}

std::vector<PlanePoint> Plane(std::span<const CDataVertex> corners) {
    std::vector<PlanePoint> points;
    points.reserve(corners.size());
    for (const CDataVertex& c : corners)
        points.push_back(Plane(c));
    return points;
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

// Whether a new loop lies inside the sector without crossing any of its walls or closing around
// any of its corners: an island or a gap must.
bool FitsInside(const CDataSector& sector, std::span<const PlanePoint> loop) {
    std::vector<PlaneSegment> walls;
    SectorSegments(sector, walls);
    std::vector<PlaneSegment> added;
    for (std::size_t i = 0; i < loop.size(); ++i)
        added.push_back({loop[i], loop[(i + 1) % loop.size()]});
    const auto encloses = [&](const CDataVertex& v) {
        bool inside = false;
        for (const PlaneSegment& e : added)
            if ((e.a.z > v.m_dZ) != (e.b.z > v.m_dZ) &&
                v.m_dX < e.a.x + (v.m_dZ - e.a.z) * (e.b.x - e.a.x) / (e.b.z - e.a.z))
                inside = !inside;
        return inside;
    };
    return !AnyCrossingBetween(walls, added) &&
           std::all_of(loop.begin(), loop.end(), [&](PlanePoint p) { return PointInSector(sector, p); }) &&
           std::none_of(sector.m_pVertices.begin(), sector.m_pVertices.end(),
                        [&](const auto& v) { return encloses(*v); });
}

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

// The wall a passage joins: a selected wall whole, or the middle of the three parts it is split
// into, with the two ends the joined wall will have.
struct JoinPlan {
    WallRef m_Wall;
    bool m_bSplit = false;
    CDataVertex m_Left;
    CDataVertex m_Right;
    std::string m_strNotice; // why a wall asked to split is joined whole
};

std::string SplitNotice(WallRef ref, const char* which, bool tooShort) {
    const std::string wall = std::to_string(ref.m_nWall) + " of sector " + std::to_string(ref.m_nSector) +
                             " (the " + which + " wall)";
    return (tooShort ? "Wall " + wall + " is too short to split in 3 parts"
                     : "The width asked for wall " + wall + " is too small to split it") +
           ":\nthe passage was joined to the whole wall.";
}

// Plans the split of a wall in three around a middle piece of the given width, centred on it: the
// two new corners lie (length - width) / 2 from each end, in hundredths, and on the grid when it
// is on. A snapped corner that leaves the wall's line or the open stretch between its ends, or
// that falls on the other one, keeps its place in hundredths instead. Nothing is changed here.
JoinPlan PlanJoin(const EditContext& ctx, WallRef ref, bool split, double width, const char* which) {
    CDataLevel& level = ctx.level();
    const CDataWall& wall = WallAt(level, ref.m_nSector, ref.m_nWall);
    const CDataVertex p1 = VertexAt(level, ref.m_nSector, wall.m_nLeft);
    const CDataVertex p2 = VertexAt(level, ref.m_nSector, wall.m_nRight);
    JoinPlan plan{ref, false, p1, p2, {}};
    if (!split) return plan;
    const double dx = p2.m_dX - p1.m_dX;
    const double dz = p2.m_dZ - p1.m_dZ;
    const double length = std::sqrt(dx * dx + dz * dz);
    const auto along = [&](const CDataVertex& q) {
        return ((q.m_dX - p1.m_dX) * dx + (q.m_dZ - p1.m_dZ) * dz) / length;
    };
    // Rounding to hundredths moves a point less than a hundredth off the line.
    const auto onWall = [&](const CDataVertex& q) {
        const double off = std::abs((q.m_dX - p1.m_dX) * dz - (q.m_dZ - p1.m_dZ) * dx) / length;
        return off < 0.01 && along(q) > 0.0 && along(q) < length && !SamePlace(Plane(q), Plane(p1)) &&
               !SamePlace(Plane(q), Plane(p2));
    };
    const auto ordered = [&](const CDataVertex& q1, const CDataVertex& q2) {
        return onWall(q1) && onWall(q2) && along(q1) < along(q2) && !SamePlace(Plane(q1), Plane(q2));
    };
    if (!(length > width)) {
        plan.m_strNotice = SplitNotice(ref, which, true);
        return plan;
    }
    const double margin = (length - width) / 2.0;
    const auto at = [&](double d) {
        return CDataVertex(RoundHundredths(p1.m_dX + dx * d / length),
                           RoundHundredths(p1.m_dZ + dz * d / length));
    };
    const auto snapped = [&](const CDataVertex& q) {
        const CDataVertex g(ctx.SnapPoint(q.m_dX), ctx.SnapPoint(q.m_dZ));
        return onWall(g) ? g : q;
    };
    const CDataVertex r1 = at(margin);
    const CDataVertex r2 = at(length - margin);
    CDataVertex q1 = snapped(r1);
    CDataVertex q2 = snapped(r2);
    if (!ordered(q1, q2)) {
        q1 = r1;
        q2 = r2;
    }
    if (!ordered(q1, q2)) {
        // The end pieces would be shorter than a hundredth, or the middle one.
        plan.m_strNotice = SplitNotice(ref, which, margin < 0.01);
        return plan;
    }
    plan.m_bSplit = true;
    plan.m_Left = q1;
    plan.m_Right = q2;
    return plan;
}

// Splits the wall as planned and returns the joined wall.
WallRef ApplyJoin(CDataLevel& level, const JoinPlan& plan, bool& inf) {
    if (!plan.m_bSplit) return plan.m_Wall;
    const auto [s, w] = plan.m_Wall;
    inf |= SplitWall(level, s, w).m_bInfChanged;
    inf |= SplitWall(level, s, w + 1).m_bInfChanged;
    const CDataWall& middle = WallAt(level, s, w + 1);
    VertexAt(level, s, middle.m_nLeft) = plan.m_Left;
    VertexAt(level, s, middle.m_nRight) = plan.m_Right;
    return {s, w + 1};
}

// -1 for a sector whose walls run clockwise on the map, 1 for one running the other way, 0 for a
// sector without area. A passage runs the way its two sectors do, so that it lies outside both.
int Turn(const CDataSector& sector) {
    std::vector<PlaneSegment> walls;
    SectorSegments(sector, walls);
    double twice = 0.0;
    for (const PlaneSegment& w : walls)
        twice += w.a.x * w.b.z - w.b.x * w.a.z;
    return twice < 0.0 ? -1 : (twice > 0.0 ? 1 : 0);
}

int Turn(std::span<const PlanePoint> loop) {
    const double area = LoopArea(loop);
    return area < 0.0 ? -1 : (area > 0.0 ? 1 : 0);
}

using Row = std::array<CDataVertex, 2>;

std::string StepCount(int k, PassageKind kind) {
    const char* unit = kind == PassageKind::Staircase ? " step" : " sector";
    return std::to_string(k) + unit + (k == 1 ? "" : "s");
}

// The k + 1 rows of corners the steps run between: row 0 is A's joined wall (left, right), row k
// B's (right, left), and row i lies i / k of the way, on the grid when it is on. Each step is the
// slice between two rows; every one must be a sound loop running the way A and B run. Returns the
// refusal, or empty with the rows filled in. Nothing is changed here.
std::string PlanRows(const EditContext& ctx, const JoinPlan& a, const JoinPlan& b, int k, PassageKind kind,
                     std::vector<Row>& rows) {
    CDataLevel& level = ctx.level();
    const std::array<PlanePoint, 4> whole{Plane(a.m_Left), Plane(b.m_Right), Plane(b.m_Left),
                                          Plane(a.m_Right)};
    const int turn = Turn(whole);
    if (!LoopIsSound(whole) || turn != Turn(SectorAt(level, a.m_Wall.m_nSector)) ||
        turn != Turn(SectorAt(level, b.m_Wall.m_nSector)))
        return kWallsNotFacing;
    rows.assign(At(k + 1), {});
    rows.front() = {a.m_Left, a.m_Right};
    rows.back() = {b.m_Right, b.m_Left};
    const auto between = [&](const CDataVertex& p, const CDataVertex& q, double t) {
        return CDataVertex(ctx.SnapPoint(p.m_dX + (q.m_dX - p.m_dX) * t),
                           ctx.SnapPoint(p.m_dZ + (q.m_dZ - p.m_dZ) * t));
    };
    for (int i = 1; i < k; ++i) {
        const double t = static_cast<double>(i) / k;
        rows[At(i)] = {between(a.m_Left, b.m_Right, t), between(a.m_Right, b.m_Left, t)};
    }
    for (int i = 1; i <= k; ++i) {
        const Row& near = rows[At(i - 1)];
        const Row& far = rows[At(i)];
        const std::array<PlanePoint, 4> step{Plane(near[0]), Plane(far[0]), Plane(far[1]), Plane(near[1])};
        if (!LoopIsSound(step) || Turn(step) != turn)
            return "The walls are too close for " + StepCount(k, kind) +
                   (ctx.document().m_bGridOn ? " on this grid" : "") + ":\nno sector was made.";
    }
    return {};
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

// Builds a sector on wall `from` for each further row, one after the other, stepping the
// altitudes towards B's and keeping every step at most h high; the last one ends on B's wall and
// is linked to it.
std::vector<int> BuildBridge(CDataLevel& level, WallRef from, WallRef to, const std::vector<Row>& rows,
                             double h) {
    const int k = Count(rows) - 1;
    const double step =
        (SectorAt(level, to.m_nSector).m_dFloorAltitude - SectorAt(level, from.m_nSector).m_dFloorAltitude) /
        (k + 1);
    std::vector<int> bridge;
    WallRef previous = from;
    for (int i = 1; i <= k; ++i) {
        const int n =
            ExtrudeWallTo(level, previous.m_nSector, previous.m_nWall, rows[At(i)][0], rows[At(i)][1]);
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
    // Snapped corners may fall in a line or cross over; a hole runs the other way round.
    const std::vector<PlanePoint> loop = Plane(corners);
    const bool hole = options.m_Kind == PolygonKind::Gap;
    if (!LoopIsSound(loop) || (LoopArea(loop) > 0.0) != hole) return EditResult::Refused(kCornersOverlap);
    CDataLevel& level = ctx.level();
    if (inside && !FitsInside(SectorAt(level, SelectedSector(ctx)), loop))
        return EditResult::Refused(kPolygonOutside);
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
    // A full turn passes through the first radius twice; the ring runs clockwise.
    const std::vector<PlanePoint> loop = Plane(corners);
    if (!RingIsSound(loop) || LoopArea(loop) >= 0.0) return EditResult::Refused(kCornersOverlap);
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
    // Every corner is worked out before anything changes: a passage that cannot be made sound is
    // refused with the level untouched.
    const JoinPlan a = PlanJoin(ctx, {first.m_nSector, first.m_nWall}, options.m_bSplitFirst,
                                options.m_dWidthFirst, "first");
    const JoinPlan b = PlanJoin(ctx, {second.m_nSector, second.m_nWall}, options.m_bSplitSecond,
                                options.m_dWidthSecond, "second");
    const bool sunken = options.m_bSunken && kind != PassageKind::Staircase;
    const int k = kind == PassageKind::Staircase ? options.m_nSteps : (sunken ? 3 : 1);
    std::vector<Row> rows;
    if (std::string refusal = PlanRows(ctx, a, b, k, kind, rows); !refusal.empty())
        return EditResult::Refused(std::move(refusal));
    EditResult result;
    result.m_bChanged = result.m_bSelectionChanged = true;
    result.m_strMessage = a.m_strNotice;
    if (!b.m_strNotice.empty())
        result.m_strMessage += (result.m_strMessage.empty() ? "" : "\n") + b.m_strNotice;
    const WallRef from = ApplyJoin(level, a, result.m_bInfChanged);
    const WallRef to = ApplyJoin(level, b, result.m_bInfChanged);
    const std::vector<int> bridge = BuildBridge(level, from, to, rows, options.m_dHeight);
    if (kind == PassageKind::Door) MakeDoor(level, bridge, from, to, sunken);
    if (kind == PassageKind::Elevator) {
        MakeLift(level, bridge[sunken ? 1 : 0], from.m_nSector, to.m_nSector);
        result.m_bInfChanged = true;
    }
    AlignBridge(ctx, from.m_nSector, bridge, to.m_nSector);
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
