#include "mapedit/Generators.h"

#include "mapedit/StructuralEdits.h"
#include "model/ModelOps.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

using testing::EngineView;
using testing::FindingsText;

// Twice the signed area of a sector's loop starting at wall `first` with `count` walls: negative
// for a loop running clockwise on the map (Z up).
double LoopArea(const CDataSector& s, int first, int count) {
    double sum = 0;
    for (int w = first; w < first + count; ++w) {
        const CDataWall& wall = *s.m_pWalls[static_cast<std::size_t>(w)];
        const CDataVertex& a = *s.m_pVertices[static_cast<std::size_t>(wall.m_nLeft)];
        const CDataVertex& b = *s.m_pVertices[static_cast<std::size_t>(wall.m_nRight)];
        sum += a.m_dX * b.m_dZ - b.m_dX * a.m_dZ;
    }
    return sum;
}

// A room as the generators make one, through the given corners (clockwise, as the game's rooms run).
int AddRoom(CDataLevel& level, const std::vector<CDataVertex>& corners, double floor, double ceiling) {
    auto& sectors = level.m_Lev.m_pSectors;
    auto sector = NewGeneratedSector(level.m_Lev, static_cast<int>(sectors.size()), 0);
    AppendLoop(level.m_Lev, *sector, corners);
    sector->m_dFloorAltitude = floor;
    sector->m_dCeilingAltitude = ceiling;
    sectors.push_back(std::move(sector));
    return static_cast<int>(sectors.size()) - 1;
}

// Room A spans x 0..64 and room B x 96..160, A z 0..64 and B as long as asked about z 32; A's
// wall 2 (east, running south) faces B's wall 0 (west, running north) across a 32-unit gap.
struct Facing : EngineView {
    Facing(double floorA, double ceilingA, double floorB, double ceilingB, double lengthB = 64)
        : EngineView(kModeWall) {
        const double low = 32 - lengthB / 2, high = 32 + lengthB / 2;
        AddRoom(level(), {{0, 0}, {0, 64}, {64, 64}, {64, 0}}, floorA, ceilingA);
        AddRoom(level(), {{96, low}, {96, high}, {160, high}, {160, low}}, floorB, ceilingB);
        Select({{0, 2, -1, -1}, {1, 0, -1, -1}});
    }
    std::string Texture(const CDataTexture& t) { return level().m_Lev.GetTextureName(t.m_nTexture); }
};

PassageOptions Whole(PassageOptions o = {}) {
    o.m_bSplitFirst = o.m_bSplitSecond = false;
    return o;
}

TEST(GeneratorsPolygon, TriangleAtTheViewCentreStartsAtMinusSixtyDegreesClockwise) {
    EngineView v(kModeSector);
    v.doc.m_nCurrentLayer = 2;
    v.doc.m_bGridOn = 0;
    const WorldPoint c = v.engine.viewport().ViewCentre();
    ASSERT_TRUE(InsertPolygon(v.engine, {3, 5.0, PolygonKind::NewSector, false}).m_bChanged);
    const CDataSector& s = v.sector(0);
    ASSERT_EQ(s.m_pWalls.size(), 3u);
    EXPECT_EQ(std::pair(v.vertex(0, 0).m_dX, v.vertex(0, 0).m_dZ),
              std::pair(RoundHundredths(c.m_dX + 2.5), RoundHundredths(c.m_dZ + 5 * std::sqrt(3.0) / 2)));
    EXPECT_LT(LoopArea(s, 0, 3), 0);
    EXPECT_EQ(s.m_nLayer, 2);
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{{0, -1, -1, -1}}));
    EXPECT_EQ(FindingsText(v.level()), "");
    // Snapped, as the dialog may ask, the corners lie on the fixture's 16-unit grid.
    ASSERT_TRUE(InsertPolygon(v.engine, {6, 37, PolygonKind::NewSector, true}).m_bChanged);
    EXPECT_EQ(v.doc.m_bGridOn, 0) << "the grid flag comes back";
    for (const auto& p : v.sector(1).m_pVertices)
        EXPECT_EQ(std::pair(std::fmod(p->m_dX, 16), std::fmod(p->m_dZ, 16)), std::pair(0.0, 0.0));
    // Snapped to 64 units every corner of a small polygon falls on one point.
    v.doc.m_nGridLevel = 2;
    v.engine.viewport().RecalcLayout(MapDevice{}, ClientRect{0, 0, 800, 600});
    EXPECT_EQ(InsertPolygon(v.engine, {5, 5, PolygonKind::NewSector, true}).m_strMessage, kTooFewCorners);
    // Snapped to 16 units a hexagon of radius 9 about (0, 0) passes twice through its centre.
    v.doc.m_nGridLevel = 4;
    EXPECT_EQ(InsertPolygon(EditContext(v.doc, v.settings, {0, 0}), {6, 9, PolygonKind::NewSector, true})
                  .m_strMessage,
              kCornersOverlap);
    EXPECT_EQ(InsertPolygon(v.engine, {101, 40, PolygonKind::NewSector, false}).m_strMessage, kIllegalSides);
    EXPECT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
}

// A 200-unit room about the view centre, selected.
void AddSelectedRoomAtTheCentre(EngineView& v) {
    const WorldPoint c = v.engine.viewport().ViewCentre();
    AddRoom(v.level(),
            {{c.m_dX - 100, c.m_dZ - 100},
             {c.m_dX - 100, c.m_dZ + 100},
             {c.m_dX + 100, c.m_dZ + 100},
             {c.m_dX + 100, c.m_dZ - 100}},
            -4, -30);
    v.Select({{0, -1, -1, -1}});
}

TEST(GeneratorsPolygon, GapRunsAgainstTheOuterLoop) {
    EngineView v(kModeSector);
    AddSelectedRoomAtTheCentre(v);
    ASSERT_TRUE(InsertPolygon(v.engine, {8, 30, PolygonKind::Gap, false}).m_bChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 1u);
    ASSERT_EQ(v.sector(0).m_pWalls.size(), 12u);
    EXPECT_LT(LoopArea(v.sector(0), 0, 4), 0);
    EXPECT_GT(LoopArea(v.sector(0), 4, 8), 0);
    EXPECT_EQ(GetLoopLength(v.sector(0), 4), 8);
    EXPECT_EQ(FindingsText(v.level()), "");
    // A gap around the first one is refused.
    EXPECT_EQ(InsertPolygon(v.engine, {8, 100, PolygonKind::Gap, false}).m_strMessage, kPolygonOutside);
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 12u);
    // Without exactly one selected sector the two inside kinds do nothing.
    v.engine.ClearSelection();
    EXPECT_FALSE(InsertPolygon(v.engine, {8, 30, PolygonKind::Gap, false}).m_bChanged);
}

TEST(GeneratorsPassage, RefusalsSayWhyAndMakeNothing) {
    Facing f(0, -16, 0, -24);
    PassageOptions start = PassageStart(f.engine, PassageKind::Staircase);
    start.m_nSteps = 0;
    EXPECT_EQ(CreatePassage(f.engine, PassageKind::Staircase, start).m_strMessage,
              "Please enter an integer between 1 and 1000.");
    // A linked wall: each dialog says why.
    f.Select({{0, 2, -1, -1}});
    f.doc.m_bGridOn = 0;
    ASSERT_TRUE(ExtrudeSelection(f.engine).m_bChanged);
    f.Select({{0, 2, -1, -1}, {1, 0, -1, -1}});
    EXPECT_EQ(PassageRefusal(f.engine, PassageKind::Door), kDoorBetweenLinked);
    EXPECT_EQ(CreatePassage(f.engine, PassageKind::Staircase, {}).m_strMessage, kStaircaseBetweenLinked);
    EXPECT_EQ(f.level().m_Lev.m_pSectors.size(), 3u);
}

// Every passage over any wall length, step count and grid either makes sound sectors or is refused
// with the level untouched; only a wall not longer than the width (8) is too short to split.
TEST(GeneratorsPassage, SoundOrRefusedOnEveryGrid) {
    struct Kind {
        PassageKind m_Kind;
        bool m_bSunken;
        int m_nSteps;
    };
    const Kind kinds[] = {{PassageKind::Door, true, 0},       {PassageKind::Door, false, 0},
                          {PassageKind::Elevator, true, 0},   {PassageKind::Staircase, false, 1},
                          {PassageKind::Staircase, false, 3}, {PassageKind::Staircase, false, 7},
                          {PassageKind::Staircase, false, 40}};
    int made = 0, refused = 0;
    for (const double length : {4.0, 8.0, 32.0, 50.5, 64.0})
        for (const int gridLevel : {0, 5, 4, 3}) // off, then 8, 16 and 32 units
            for (const Kind& kind : kinds) {
                Facing f(0, -16, 8, -8, length);
                f.doc.m_nGridLevel = gridLevel;
                PassageOptions o = PassageStart(f.engine, kind.m_Kind);
                std::tie(o.m_bSunken, o.m_nSteps, o.m_bSnap) =
                    std::tuple(kind.m_bSunken, kind.m_nSteps, gridLevel > 0);
                const testing::GameTexts before = testing::WriteGameTexts(f.level());
                const EditResult r = CreatePassage(f.engine, kind.m_Kind, o);
                const std::string where = std::to_string(length) + " grid " + std::to_string(gridLevel) +
                                          " steps " + std::to_string(kind.m_nSteps);
                if (!r.m_bChanged) {
                    ++refused;
                    EXPECT_NE(r.m_strMessage, "") << where;
                    EXPECT_TRUE(testing::WriteGameTexts(f.level()) == before) << where;
                    continue;
                }
                ++made;
                EXPECT_EQ(FindingsText(f.level()), "") << where;
                EXPECT_EQ(r.m_strMessage, length > 8
                                              ? ""
                                              : "Wall 0 of sector 1 (the second wall) is too short to split "
                                                "in 3 parts:\nthe passage was joined to the whole wall.")
                    << where;
            }
    // Unsnapped every one is made; on a grid, the steps thinner than it are refused.
    EXPECT_GT(made, 40);
    EXPECT_GT(refused, 40);
    // Walls that turn their backs on each other make nothing.
    Facing away(0, -16, 0, -16);
    away.Select({{0, 0, -1, -1}, {1, 0, -1, -1}});
    EXPECT_EQ(CreatePassage(away.engine, PassageKind::Door, {}).m_strMessage, kWallsNotFacing);
}

TEST(GeneratorsPassage, SimpleDoorSplitsBothWallsAndBridgesTheMiddles) {
    Facing f(0, -16, 0, -16);
    PassageOptions o;
    o.m_bSunken = false;
    ASSERT_EQ(CreatePassage(f.engine, PassageKind::Door, o).m_strMessage, "");
    ASSERT_EQ(std::tuple(f.sector(0).m_pWalls.size(), f.sector(1).m_pWalls.size(),
                         f.level().m_Lev.m_pSectors.size()),
              std::tuple(6u, 6u, 3u));
    // A's middle piece runs (64,36) -> (64,28); B's (96,28) -> (96,36).
    EXPECT_EQ(std::pair(f.vertex(0, f.wall(0, 3).m_nLeft).m_dZ, f.vertex(0, f.wall(0, 3).m_nRight).m_dZ),
              std::pair(36.0, 28.0));
    EXPECT_EQ(f.vertex(1, f.wall(1, 1).m_nLeft).m_dZ, 28);
    EXPECT_EQ(std::tie(f.wall(0, 3).m_nAdjoin, f.wall(0, 3).m_nMirror, f.wall(1, 1).m_nAdjoin,
                       f.wall(1, 1).m_nMirror),
              std::tuple(2, 3, 2, 1));
    // The door's ceiling comes down to at most the height asked (8) over the same floor.
    EXPECT_EQ(
        std::tuple(f.sector(2).m_nFlags1, f.sector(2).m_dCeilingAltitude, f.wall(0, 3).m_Top.m_dOffsetY),
        std::tuple(2, -8.0, 8.0));
    EXPECT_EQ(FindingsText(f.level()), "");
}

TEST(GeneratorsPassage, StaircaseStepsFloorsAndAlignsItsMidTextures) {
    Facing f(0, -16, 8, -8);
    ASSERT_TRUE(
        CreatePassage(f.engine, PassageKind::Staircase, Whole(PassageStart(f.engine, PassageKind::Staircase)))
            .m_bChanged);
    ASSERT_EQ(f.level().m_Lev.m_pSectors.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.sector(2 + i).m_dFloorAltitude, 2.0 * (i + 1));
        EXPECT_EQ(f.sector(2 + i).m_dCeilingAltitude, 2.0 * (i + 1) - 16);
        // Vertical alignment over A, the steps and B: (A.floor - B.floor) i / 4 on every wall.
        for (const auto& w : f.sector(2 + i).m_pWalls)
            EXPECT_EQ(w->m_Mid.m_dOffsetY, -2.0 * (i + 1));
    }
    EXPECT_EQ(f.wall(3, 3).m_Top.m_dOffsetY, 4 - (-14));
    EXPECT_EQ(f.wall(1, 0).m_Top.m_dOffsetY, 8 - (-10));
    EXPECT_EQ(f.wall(1, 0).m_nAdjoin, 4);
    EXPECT_EQ(FindingsText(f.level()), "");
}

TEST(GeneratorsPassage, ElevatorIsNamedAfterItsIndexWithStopsForBothFloors) {
    Facing f(0, -16, -8.5, -24);
    PassageOptions o = Whole();
    o.m_bSunken = false;
    ASSERT_TRUE(CreatePassage(f.engine, PassageKind::Elevator, o).m_bInfChanged);
    ASSERT_EQ(f.level().m_Inf.m_pItems.size(), 1u);
    const CDataInfItem& item = *f.level().m_Inf.m_pItems[0];
    EXPECT_EQ(std::tie(f.sector(2).m_strName, item.m_strType, item.m_strName),
              std::tuple("lift_2", "sector", "lift_2"));
    EXPECT_EQ(item.m_Lines,
              (std::vector<std::string>{"class:\televator move_floor", "speed:\t10", "event_mask:\t4",
                                        "stop:\t0 hold", "stop:\t8.50 hold"}));
    EXPECT_EQ(FindingsText(f.level()), "");
}

} // namespace
} // namespace morvi

namespace morvi {
namespace {

// A command given while the mouse is over the view places its polygon there, snapped to the grid
// when the grid is on; with the mouse elsewhere, at the view's centre.
TEST(GeneratorsPolygon, PlacedWhereTheMousePoints) {
    testing::EngineView v(kModeSector);
    v.doc.m_bGridOn = 1;
    const PolygonOptions square{4, 10.0, PolygonKind::NewSector, false};
    ASSERT_TRUE(InsertPolygon(v.engine.ContextAt(ScreenPoint{130, 471}), square).m_bChanged);
    ASSERT_TRUE(InsertPolygon(v.engine.ContextAt(ScreenPoint{-5, 10}), square).m_bChanged);
    const auto centre = [&](int s) {
        double x = 0, z = 0;
        for (const auto& p : v.sector(s).m_pVertices)
            x += p->m_dX / 4, z += p->m_dZ / 4;
        return std::pair(RoundHundredths(x), RoundHundredths(z));
    };
    EXPECT_EQ(centre(0), std::pair(32.0, 32.0)); // world (30, 29) on the 16-unit grid
    const WorldPoint c = v.engine.viewport().ViewCentre();
    EXPECT_EQ(centre(1), std::pair(RoundHundredths(c.m_dX), RoundHundredths(c.m_dZ)));
}

} // namespace
} // namespace morvi
