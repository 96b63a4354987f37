#include "mapedit/Generators.h"

#include "mapedit/StructuralEdits.h"
#include "model/ModelOps.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
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

// Room A spans x 0..64 and room B x 96..160, both z 0..64; A's wall 2 (east, running south) faces
// B's wall 0 (west, running north) across a 32-unit gap.
struct Facing : EngineView {
    Facing(double floorA, double ceilingA, double floorB, double ceilingB) : EngineView(kModeWall) {
        AddRoom(level(), {{0, 0}, {0, 64}, {64, 64}, {64, 0}}, floorA, ceilingA);
        AddRoom(level(), {{96, 0}, {96, 64}, {160, 64}, {160, 0}}, floorB, ceilingB);
        Select({{0, 2, -1, -1}, {1, 0, -1, -1}});
    }
    std::string Texture(const CDataTexture& t) { return level().m_Lev.GetTextureName(t.m_nTexture); }
};

PassageOptions Whole(PassageOptions o = {}) {
    o.m_bSplitFirst = o.m_bSplitSecond = false;
    return o;
}

// ---- Insert Polygon ---------------------------------------------------------------------------------

TEST(GeneratorsPolygon, TriangleAtTheViewCentreStartsAtMinusSixtyDegreesClockwise) {
    EngineView v(kModeSector);
    v.doc.m_nCurrentLayer = 2;
    const WorldPoint c = v.engine.viewport().ViewCentre();
    const EditResult r = InsertPolygon(v.engine, {3, 5.0, PolygonKind::NewSector, false});
    ASSERT_TRUE(r.m_bChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 1u);
    const CDataSector& s = v.sector(0);
    ASSERT_EQ(s.m_pWalls.size(), 3u);
    EXPECT_EQ(v.vertex(0, 0).m_dX, RoundHundredths(c.m_dX + 2.5));
    EXPECT_EQ(v.vertex(0, 0).m_dZ, RoundHundredths(c.m_dZ + 5 * std::sqrt(3.0) / 2));
    for (const auto& p : s.m_pVertices)
        EXPECT_NEAR(PointDistance(p->m_dX, p->m_dZ, c.m_dX, c.m_dZ), 5.0, 0.01);
    EXPECT_LT(LoopArea(s, 0, 3), 0);
    EXPECT_EQ(s.m_nLayer, 2);
    EXPECT_EQ(s.m_dCeilingAltitude, -16.0);
    EXPECT_EQ(s.m_nAmbient, 31);
    EXPECT_EQ(v.level().m_Lev.GetTextureName(s.m_FloorTexture.m_nTexture), "IF3.BM");
    EXPECT_EQ(s.m_CeilingTexture.m_nTexFlag, 2);
    EXPECT_EQ(v.level().m_Lev.GetTextureName(s.m_pWalls[1]->m_Top.m_nTexture), "RWRWALL1.BM");
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{{0, -1, -1, -1}}));
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(GeneratorsPolygon, DialogValuesOutOfRangeAreRefusedAndChangeNothing) {
    EngineView v(kModeSector);
    EXPECT_EQ(InsertPolygon(v.engine, {2, 40, PolygonKind::NewSector, false}).m_strMessage, kIllegalSides);
    EXPECT_EQ(InsertPolygon(v.engine, {101, 40, PolygonKind::NewSector, false}).m_strMessage, kIllegalSides);
    EXPECT_EQ(InsertPolygon(v.engine, {4, 4.99, PolygonKind::NewSector, false}).m_strMessage, kIllegalRadius);
    EXPECT_EQ(InsertPolygon(v.engine, {4, 100.01, PolygonKind::NewSector, false}).m_strMessage,
              kIllegalRadius);
    // Snapped to a 64-unit grid, every corner of a small polygon falls on the same point.
    v.doc.m_nGridLevel = 2;
    v.engine.viewport().RecalcLayout(MapDevice{}, ClientRect{0, 0, 800, 600});
    EXPECT_EQ(InsertPolygon(v.engine, {5, 5, PolygonKind::NewSector, true}).m_strMessage, kTooFewCorners);
    EXPECT_TRUE(v.level().m_Lev.m_pSectors.empty());
    EXPECT_TRUE(v.level().m_Lev.m_Textures.empty());
}

TEST(GeneratorsPolygon, SnappingFollowsTheDialogAndTheGridFlagComesBack) {
    EngineView v(kModeSector);
    v.doc.m_bGridOn = 0;
    ASSERT_TRUE(InsertPolygon(v.engine, {6, 37, PolygonKind::NewSector, true}).m_bChanged);
    EXPECT_EQ(v.doc.m_bGridOn, 0);
    for (const auto& p : v.sector(0).m_pVertices) {
        // The fixture's grid is 16 units.
        EXPECT_EQ(std::fmod(p->m_dX, 16), 0) << "x " << p->m_dX;
        EXPECT_EQ(std::fmod(p->m_dZ, 16), 0) << "z " << p->m_dZ;
    }
    v.doc.m_bGridOn = 1;
    ASSERT_TRUE(InsertPolygon(v.engine, {6, 37, PolygonKind::NewSector, false}).m_bChanged);
    EXPECT_EQ(v.doc.m_bGridOn, 1);
    EXPECT_NE(v.vertex(1, 0).m_dX, v.vertex(0, 0).m_dX) << "unsnapped corners keep their hundredths";
}

TEST(GeneratorsPolygon, SubsectorBecomesAnIslandWithTheContainersLooks) {
    EngineView v(kModeSector);
    const WorldPoint c = v.engine.viewport().ViewCentre();
    AddRoom(v.level(),
            {{c.m_dX - 100, c.m_dZ - 100},
             {c.m_dX - 100, c.m_dZ + 100},
             {c.m_dX + 100, c.m_dZ + 100},
             {c.m_dX + 100, c.m_dZ - 100}},
            -4, -30);
    v.sector(0).m_nFlags1 = 8;
    v.sector(0).m_nLayer = 1;
    v.Select({{0, -1, -1, -1}});
    ASSERT_TRUE(CanInsertInsideSector(v.engine));
    ASSERT_TRUE(InsertPolygon(v.engine, {5, 20, PolygonKind::Subsector, false}).m_bChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
    const CDataSector& island = v.sector(1);
    EXPECT_EQ(island.m_dFloorAltitude, -4);
    EXPECT_EQ(island.m_dCeilingAltitude, -30);
    EXPECT_EQ(island.m_nFlags1, 8);
    EXPECT_EQ(island.m_nLayer, 1);
    ASSERT_EQ(v.sector(0).m_pWalls.size(), 9u);
    for (int i = 0; i < 5; ++i) {
        const CDataWall& w = *island.m_pWalls[static_cast<std::size_t>(i)];
        ASSERT_EQ(w.m_nAdjoin, 0);
        EXPECT_EQ(v.wall(0, w.m_nMirror).m_nMirror, i);
        EXPECT_EQ(v.wall(0, w.m_nMirror).m_nAdjoin, 1);
    }
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{{1, -1, -1, -1}}));
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(GeneratorsPolygon, GapRunsAgainstTheOuterLoop) {
    EngineView v(kModeSector);
    const WorldPoint c = v.engine.viewport().ViewCentre();
    AddRoom(v.level(),
            {{c.m_dX - 100, c.m_dZ - 100},
             {c.m_dX - 100, c.m_dZ + 100},
             {c.m_dX + 100, c.m_dZ + 100},
             {c.m_dX + 100, c.m_dZ - 100}},
            0, -16);
    v.Select({{0, -1, -1, -1}});
    ASSERT_TRUE(InsertPolygon(v.engine, {8, 30, PolygonKind::Gap, false}).m_bChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 1u);
    ASSERT_EQ(v.sector(0).m_pWalls.size(), 12u);
    EXPECT_LT(LoopArea(v.sector(0), 0, 4), 0);
    EXPECT_GT(LoopArea(v.sector(0), 4, 8), 0);
    EXPECT_EQ(GetLoopLength(v.sector(0), 4), 8);
    EXPECT_EQ(FindingsText(v.level()), "");
    // Without exactly one selected sector the two inside kinds do nothing.
    v.engine.ClearSelection();
    EXPECT_FALSE(InsertPolygon(v.engine, {8, 30, PolygonKind::Gap, false}).m_bChanged);
}

// ---- Cylinder -----------------------------------------------------------------------------------

TEST(GeneratorsCylinder, QuarterRingRunsAlongTheInnerArcAndBackAlongTheOuter) {
    EngineView v(kModeSector);
    const WorldPoint c = v.engine.viewport().ViewCentre();
    const EditResult r = CreateCylinder(v.engine, {4, 90, 20, 10, false});
    ASSERT_TRUE(r.m_bChanged);
    const CDataSector& s = v.sector(0);
    ASSERT_EQ(s.m_pWalls.size(), 10u);
    const auto at = [&](int i) {
        return std::pair(v.vertex(0, i).m_dX - c.m_dX, v.vertex(0, i).m_dZ - c.m_dZ);
    };
    EXPECT_EQ(at(0), std::pair(0.0, 10.0));
    EXPECT_EQ(at(4), std::pair(-10.0, 0.0));
    EXPECT_EQ(at(5), std::pair(-20.0, 0.0));
    EXPECT_EQ(at(9), std::pair(0.0, 20.0));
    EXPECT_NEAR(at(2).first, -7.07, 1e-9);
    EXPECT_NEAR(at(7).second, 14.14, 1e-9);
    EXPECT_LT(LoopArea(s, 0, 10), 0);
    EXPECT_EQ(v.wall(0, 9).m_nRight, 0);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(GeneratorsCylinder, ChecksAndEnableRule) {
    EngineView v(kModeSector);
    EXPECT_EQ(CreateCylinder(v.engine, {8, 360, 10, 10, false}).m_strMessage, kCylinderRadii);
    EXPECT_EQ(CreateCylinder(v.engine, {3, 360, 20, 10, false}).m_strMessage,
              "Please enter an integer between 4 and 200.");
    EXPECT_EQ(CreateCylinder(v.engine, {8, 361, 20, 10, false}).m_strMessage,
              "Please enter an integer between 1 and 360.");
    EXPECT_TRUE(v.level().m_Lev.m_pSectors.empty());
    // A full ring closes on itself through a seam: start and end of each arc coincide.
    ASSERT_TRUE(CreateCylinder(v.engine, {8, 360, 20, 10, false}).m_bChanged);
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 18u);
    EXPECT_EQ(v.vertex(0, 0).m_dX, v.vertex(0, 8).m_dX);
    EXPECT_EQ(v.vertex(0, 0).m_dZ, v.vertex(0, 8).m_dZ);
    EXPECT_FALSE(CanCreateCylinder(v.engine)) << "the new ring is selected";
    v.doc.m_nMode = kModeWall;
    v.engine.ClearSelection();
    EXPECT_FALSE(CanCreateCylinder(v.engine));
}

// ---- Passages -----------------------------------------------------------------------------------

TEST(GeneratorsPassage, StartValuesAndRefusals) {
    Facing f(0, -16, 0, -24);
    EXPECT_EQ(PassageStart(f.engine, PassageKind::Door).m_dHeight, 8);
    EXPECT_EQ(PassageStart(f.engine, PassageKind::Staircase).m_dHeight, 16);
    f.sector(0).m_dCeilingAltitude = -4;
    EXPECT_EQ(PassageStart(f.engine, PassageKind::Elevator).m_dHeight, 4);
    PassageOptions start = PassageStart(f.engine, PassageKind::Staircase);
    EXPECT_TRUE(start.m_bSplitFirst && start.m_bSplitSecond && start.m_bSunken);
    EXPECT_EQ(start.m_dWidthFirst, 8);
    EXPECT_EQ(start.m_nSteps, 3);
    start.m_nSteps = 0;
    EXPECT_EQ(CreatePassage(f.engine, PassageKind::Staircase, start).m_strMessage,
              "Please enter an integer between 1 and 1000.");

    // Two walls of one sector: the commands are disabled.
    f.Select({{0, 2, -1, -1}, {0, 0, -1, -1}});
    EXPECT_FALSE(CanCreatePassage(f.engine));
    // A linked wall: each dialog says why and nothing is made.
    f.Select({{0, 2, -1, -1}});
    ASSERT_TRUE(ExtrudeSelection(f.engine).m_bChanged);
    f.Select({{0, 2, -1, -1}, {1, 0, -1, -1}});
    const std::size_t sectors = f.level().m_Lev.m_pSectors.size();
    EXPECT_EQ(PassageRefusal(f.engine, PassageKind::Door), kDoorBetweenLinked);
    EXPECT_EQ(CreatePassage(f.engine, PassageKind::Elevator, {}).m_strMessage, kDoorBetweenLinked);
    EXPECT_EQ(CreatePassage(f.engine, PassageKind::Staircase, {}).m_strMessage, kStaircaseBetweenLinked);
    EXPECT_EQ(f.level().m_Lev.m_pSectors.size(), sectors);
}

TEST(GeneratorsPassage, SimpleDoorSplitsBothWallsAndBridgesTheMiddles) {
    Facing f(0, -16, 0, -16);
    f.doc.m_bGridOn = 1;
    PassageOptions o;
    o.m_bSunken = false;
    const EditResult r = CreatePassage(f.engine, PassageKind::Door, o);
    ASSERT_TRUE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage, "");
    EXPECT_EQ(f.doc.m_bGridOn, 1);
    ASSERT_EQ(f.sector(0).m_pWalls.size(), 6u);
    ASSERT_EQ(f.sector(1).m_pWalls.size(), 6u);
    ASSERT_EQ(f.level().m_Lev.m_pSectors.size(), 3u);
    // A's middle piece runs (64,36) -> (64,28); B's (96,28) -> (96,36).
    EXPECT_EQ(f.vertex(0, f.wall(0, 3).m_nLeft).m_dZ, 36);
    EXPECT_EQ(f.vertex(0, f.wall(0, 3).m_nRight).m_dZ, 28);
    EXPECT_EQ(f.vertex(1, f.wall(1, 1).m_nLeft).m_dZ, 28);
    const CDataSector& door = f.sector(2);
    EXPECT_EQ(door.m_nFlags1, 2);
    EXPECT_EQ(f.wall(0, 3).m_nAdjoin, 2);
    EXPECT_EQ(f.wall(0, 3).m_nMirror, 3);
    EXPECT_EQ(f.wall(1, 1).m_nAdjoin, 2);
    EXPECT_EQ(f.wall(1, 1).m_nMirror, 1);
    EXPECT_EQ(f.vertex(2, 1).m_dX, 96);
    EXPECT_EQ(f.vertex(2, 1).m_dZ, 36);
    EXPECT_EQ(f.vertex(2, 2).m_dZ, 28);
    EXPECT_EQ(f.Texture(f.wall(0, 3).m_Top), "ZDREBL1.BM");
    EXPECT_EQ(f.Texture(f.wall(1, 1).m_Top), "ZDREBL1.BM");
    // The door's ceiling comes down to at most the height asked (8) over the same floor.
    EXPECT_EQ(door.m_dCeilingAltitude, -8);
    EXPECT_EQ(f.wall(0, 3).m_Top.m_dOffsetY, 8);
    EXPECT_EQ(f.wall(2, 3).m_Top.m_dOffsetY, 16);
    EXPECT_TRUE(f.engine.selection().empty());
    EXPECT_EQ(f.doc.m_nMode, kModeWall);
    EXPECT_EQ(FindingsText(f.level()), "");
}

TEST(GeneratorsPassage, SunkenDoorMakesThreeSectorsWithTheDoorInTheMiddle) {
    Facing f(0, -16, 0, -16);
    ASSERT_TRUE(CreatePassage(f.engine, PassageKind::Door, Whole()).m_bChanged);
    ASSERT_EQ(f.level().m_Lev.m_pSectors.size(), 5u);
    EXPECT_EQ(f.sector(2).m_nFlags1, 0);
    EXPECT_EQ(f.sector(3).m_nFlags1, 2);
    EXPECT_EQ(f.sector(4).m_nFlags1, 0);
    EXPECT_EQ(f.Texture(f.wall(2, 1).m_Top), "ZDREBL1.BM");
    EXPECT_EQ(f.Texture(f.wall(4, 3).m_Top), "ZDREBL1.BM");
    EXPECT_NE(f.Texture(f.wall(0, 2).m_Top), "ZDREBL1.BM");
    // Each step is a third of the 32-unit gap deep; the last closes exactly onto B's wall.
    EXPECT_NEAR(f.vertex(2, 1).m_dX, 64 + 32.0 / 3, 0.01);
    EXPECT_EQ(f.vertex(4, 1).m_dX, 96);
    EXPECT_EQ(f.wall(4, 1).m_nAdjoin, 1);
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
    EXPECT_EQ(f.wall(2, 1).m_Top.m_dOffsetY, 2 - (-12));
    EXPECT_EQ(f.wall(4, 1).m_Top.m_dOffsetY, 6 - (-8));
    EXPECT_EQ(f.wall(1, 0).m_Top.m_dOffsetY, 8 - (-10));
    EXPECT_EQ(f.wall(1, 0).m_nAdjoin, 4);
    EXPECT_EQ(FindingsText(f.level()), "");
}

TEST(GeneratorsPassage, ElevatorIsNamedAfterItsIndexWithStopsForBothFloors) {
    Facing f(0, -16, -8.5, -24);
    PassageOptions o = Whole();
    o.m_bSunken = false;
    const EditResult r = CreatePassage(f.engine, PassageKind::Elevator, o);
    ASSERT_TRUE(r.m_bInfChanged);
    const CDataSector& lift = f.sector(2);
    EXPECT_EQ(lift.m_strName, "lift_2");
    for (const auto& w : lift.m_pWalls) {
        EXPECT_EQ(w->m_nFlags1, 16);
        EXPECT_EQ(f.Texture(w->m_Mid), "IWCOMWAL.BM");
        EXPECT_EQ(f.Texture(w->m_Bottom), "IWCOMWAL.BM");
    }
    ASSERT_EQ(f.level().m_Inf.m_pItems.size(), 1u);
    const CDataInfItem& item = *f.level().m_Inf.m_pItems[0];
    EXPECT_EQ(item.m_strType, "sector");
    EXPECT_EQ(item.m_strName, "lift_2");
    EXPECT_EQ(item.m_Lines,
              (std::vector<std::string>{"class:\televator move_floor", "speed:\t10", "event_mask:\t4",
                                        "stop:\t0 hold", "stop:\t8.50 hold"}));
    EXPECT_EQ(FindingsText(f.level()), "");
}

TEST(GeneratorsPassage, WallTooShortForTheWidthIsJoinedWhole) {
    Facing f(0, -16, 0, -16);
    PassageOptions o;
    o.m_bSunken = false;
    o.m_dWidthFirst = 64;
    o.m_dWidthSecond = 60;
    const EditResult r = CreatePassage(f.engine, PassageKind::Door, o);
    ASSERT_TRUE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage,
              "The first wall is too short to split in 3 parts:\nthe passage was joined to the whole wall.");
    EXPECT_EQ(f.sector(0).m_pWalls.size(), 4u);
    EXPECT_EQ(f.sector(1).m_pWalls.size(), 6u);
    EXPECT_EQ(f.wall(0, 2).m_nAdjoin, 2);
    EXPECT_EQ(FindingsText(f.level()), "");
}

TEST(GeneratorsExtrude, LinksToTheExtrudedWallEvenWhenAnotherFreeWallLiesThere) {
    EngineView v(kModeWall);
    // A stray room on another layer has a free wall over the same two points, listed first.
    AddRoom(v.level(), {{64, 64}, {64, 0}, {0, 0}}, 0, -16);
    AddRoom(v.level(), {{0, 0}, {0, 64}, {64, 64}, {64, 0}}, 0, -16);
    v.sector(0).m_nLayer = 5;
    v.Select({{1, 2, -1, -1}});
    ASSERT_TRUE(ExtrudeSelection(v.engine).m_bChanged);
    EXPECT_EQ(v.wall(1, 2).m_nAdjoin, 2);
    EXPECT_EQ(v.wall(2, 3).m_nAdjoin, 1);
    EXPECT_EQ(v.wall(0, 0).m_nAdjoin, -1);
    EXPECT_EQ(FindingsText(v.level()), "");
}

} // namespace
} // namespace morvi
