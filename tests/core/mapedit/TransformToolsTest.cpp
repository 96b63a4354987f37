#include "mapedit/TransformTools.h"
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::MakeSquareSector;

// An edit context on a fresh document with the grid off, so that transforms keep hundredths.
struct Editor {
    CMorviDoc doc;
    Settings settings;
    EditContext ctx{doc, settings};
    Editor() { doc.m_bGridOn = 0; }
    CDataLevel& level() { return doc.level(); }
    CDataSector& sector(int s) { return *level().m_Lev.m_pSectors[static_cast<std::size_t>(s)]; }
    CDataWall& wall(int s, int w) { return *sector(s).m_pWalls[static_cast<std::size_t>(w)]; }
    CDataVertex& vertex(int s, int v) { return *sector(s).m_pVertices[static_cast<std::size_t>(v)]; }
    void Select(std::initializer_list<int> sectors) {
        ctx.ClearSelection();
        for (int s : sectors)
            ctx.AddToSelection({s, -1, -1, -1});
    }
    CDataObjectItem& AddObject(double x, double z, int sector, double yaw) {
        auto o = std::make_unique<CDataObjectItem>();
        o->m_dX = x;
        o->m_dZ = z;
        o->m_dY = -4;
        o->m_nSector = sector;
        o->m_dYaw = yaw;
        SetObjectDataIndex(level().m_Objects, *o);
        level().m_Objects.m_pObjects.push_back(std::move(o));
        return *level().m_Objects.m_pObjects.back();
    }
    // The three level texts as the writers produce them.
    std::string Texts() {
        std::string lev, o, inf;
        WriteLev(level().m_Lev, "t", lev);
        WriteObjects(level().m_Objects, "t", o);
        WriteInf(level().m_Inf, "t", inf);
        return lev + o + inf;
    }
};

void ExpectClean(const CDataLevel& level) {
    const auto findings = checkLevel(level);
    for (const auto& f : findings)
        ADD_FAILURE() << f.m_strText;
}

template <typename Point> void ExpectAt(const Point& v, double x, double z) {
    EXPECT_DOUBLE_EQ(v.m_dX, x);
    EXPECT_DOUBLE_EQ(v.m_dZ, z);
}

TEST(TransformTools, TargetsLeaveSelectedIslandsToTheirContainerAndCentreOnFirstLoops) {
    Editor e;
    testing::BuildRoomWithPillar(e.level());
    e.Select({1, 0, 1});
    EXPECT_EQ(TransformTargets(e.level(), e.ctx.selection()), std::vector<int>{0});
    EXPECT_EQ(TransformedSectors(e.level(), {0}), (std::vector<int>{0, 1}));
    e.Select({1});
    EXPECT_EQ(TransformTargets(e.level(), e.ctx.selection()), std::vector<int>{1});
    // Only the room's outer loop counts: the mean of its four corners.
    const auto centre = ComputeTransformCentre(e.level(), {0});
    ASSERT_TRUE(centre);
    EXPECT_DOUBLE_EQ(centre->m_dX, 64);
    EXPECT_DOUBLE_EQ(centre->m_dZ, 64);

    Editor two;
    testing::BuildTwoRooms(two.level());
    const auto both = ComputeTransformCentre(two.level(), {0, 1});
    ASSERT_TRUE(both);
    EXPECT_DOUBLE_EQ(both->m_dX, 64);
    EXPECT_DOUBLE_EQ(both->m_dZ, 32);
    EXPECT_FALSE(ComputeTransformCentre(two.level(), {}));
    two.Select({});
    EXPECT_FALSE(FlipSectors(two.ctx, FlipDirection::LeftToRight).m_bChanged);
}

TEST(TransformTools, DialogChecks) {
    EXPECT_EQ(ValidateRotateAngle(361), "Illegal Angle.");
    EXPECT_EQ(ValidateRotateAngle(-360.5), "Illegal Angle.");
    EXPECT_EQ(ValidateRotateAngle(-360), "");
    EXPECT_EQ(ValidateRotateAngle(360), "");
    EXPECT_EQ(ValidateScale(0.09), "Please enter a number between 0.1 and 10.0.");
    EXPECT_EQ(ValidateScale(10.01), "Please enter a number between 0.1 and 10.0.");
    EXPECT_EQ(ValidateScale(0.1), "");
    EXPECT_EQ(ValidateScale(10), "");

    Editor e;
    testing::BuildRoom(e.level());
    e.Select({0});
    const std::string before = e.Texts();
    const EditResult rotate = RotateSectors(e.ctx, 361);
    EXPECT_FALSE(rotate.m_bChanged);
    EXPECT_EQ(rotate.m_strMessage, "Illegal Angle.");
    EXPECT_FALSE(ScaleSectors(e.ctx, 20, false).m_bChanged);
    EXPECT_EQ(e.Texts(), before);
}

// Two rooms; the left one is a named door with INF items naming its walls by number.
void BuildDoorLevel(Editor& e) {
    testing::BuildTwoRooms(e.level());
    e.sector(0).m_strName = "door";
    e.wall(0, 0).m_Mid.m_dOffsetX = 1.5; // tells the wall records apart
    AddItem(e.level().m_Inf, "line", "door", 1, {"class:\ttrigger", "message:\tdoor(0) done"});
    AddItem(e.level().m_Inf, "sector", "other", -1, {"adjoin:\t1 door 3 other 0"});
}

TEST(TransformTools, FlipKeepsLoopSenseMirrorsAndInfWallNumbers) {
    Editor e;
    BuildDoorLevel(e);
    e.Select({0});
    const EditResult result = FlipSectors(e.ctx, FlipDirection::LeftToRight);
    EXPECT_TRUE(result.m_bChanged);
    EXPECT_TRUE(result.m_bInfChanged);
    ExpectClean(e.level());
    // Wall 1 (x = 64) ran up the right side; it is now wall 2 and runs down the left side, so the
    // loop still turns counter-clockwise.
    const CDataWall& moved = e.wall(0, 2);
    EXPECT_EQ(moved.m_nAdjoin, 1);
    EXPECT_EQ(moved.m_nMirror, 3);
    EXPECT_EQ(e.wall(1, 3).m_nMirror, 2);
    ExpectAt(e.vertex(0, moved.m_nLeft), 0, 64);
    ExpectAt(e.vertex(0, moved.m_nRight), 0, 0);
    EXPECT_DOUBLE_EQ(e.wall(0, 3).m_Mid.m_dOffsetX, 1.5);
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(e.wall(0, w).m_nIndex, w);
    const auto& items = e.level().m_Inf.m_pItems;
    EXPECT_EQ(items[0]->m_nNum, 2);
    EXPECT_EQ(items[0]->m_Lines[1], "message:\tdoor(3) done");
    EXPECT_EQ(items[1]->m_Lines[0], "adjoin:\t1 door 0 other 0");
    // The neighbour did not move.
    ExpectAt(e.vertex(1, 0), 64, 0);
}

TEST(TransformTools, FlipMirrorsObjectsOnlyWhenTheyMoveWithSectors) {
    Editor e;
    testing::BuildTwoRooms(e.level());
    CDataObjectItem& object = e.AddObject(10, 20, 0, 30);
    e.Select({0, 1}); // centre (64, 32)
    FlipSectors(e.ctx, FlipDirection::LeftToRight);
    ExpectAt(object, 118, 20);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 330);
    FlipSectors(e.ctx, FlipDirection::TopToBottom);
    ExpectAt(object, 118, 44);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 210); // 180 - 330, turned into 0..360
    e.settings.m_bMoveObjects = false;
    FlipSectors(e.ctx, FlipDirection::LeftToRight);
    ExpectAt(object, 118, 44);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 210);
    ExpectClean(e.level());
}

TEST(TransformTools, FlippingTwiceRestoresTheLevelTexts) {
    for (FlipDirection direction : {FlipDirection::LeftToRight, FlipDirection::TopToBottom}) {
        Editor e;
        BuildDoorLevel(e);
        e.AddObject(10, 20, 0, 33.33);
        e.Select({0, 1});
        const std::string before = e.Texts();
        FlipSectors(e.ctx, direction);
        ExpectClean(e.level());
        EXPECT_NE(e.Texts(), before);
        FlipSectors(e.ctx, direction);
        ExpectClean(e.level());
        EXPECT_EQ(e.Texts(), before);
    }
}

// A level with doors, elevators, pillars and INF items that name walls: every transform of half
// its sectors leaves it sound, and flipping twice gives back its walls and INF text.
TEST(TransformTools, TransformsOfAGeneratedLevelStaySound) {
    Editor e;
    testing::BuildSyntheticLevel(e.level(), testing::SyntheticLevelOptions::Small());
    const int count = static_cast<int>(e.level().m_Lev.m_pSectors.size());
    for (int s = 0; s < count; s += 2)
        e.ctx.AddToSelection({s, -1, -1, -1});
    Editor original;
    testing::BuildSyntheticLevel(original.level(), testing::SyntheticLevelOptions::Small());
    std::string inf;
    WriteInf(e.level().m_Inf, "t", inf);

    FlipSectors(e.ctx, FlipDirection::LeftToRight);
    ExpectClean(e.level());
    FlipSectors(e.ctx, FlipDirection::LeftToRight);
    ExpectClean(e.level());
    std::string infAfter;
    WriteInf(e.level().m_Inf, "t", infAfter);
    EXPECT_EQ(infAfter, inf);
    for (int s = 0; s < count; ++s) {
        const auto& walls = e.sector(s).m_pWalls;
        const auto& before = original.level().m_Lev.m_pSectors[static_cast<std::size_t>(s)]->m_pWalls;
        ASSERT_EQ(walls.size(), before.size());
        for (std::size_t w = 0; w < walls.size(); ++w)
            EXPECT_EQ(testing::CountDifferences(*walls[w], *before[w]), 0) << s << " " << w;
    }
    FlipSectors(e.ctx, FlipDirection::TopToBottom);
    ExpectClean(e.level());
    RotateSectors(e.ctx, 33);
    ExpectClean(e.level());
    ScaleSectors(e.ctx, 0.5, false);
    ExpectClean(e.level());
}

TEST(TransformTools, FlipTakesIslandsAlongAndSnapsToTheGrid) {
    Editor e;
    testing::BuildRoomWithPillar(e.level());
    e.Select({0});
    Editor original;
    testing::BuildRoomWithPillar(original.level());
    FlipSectors(e.ctx, FlipDirection::TopToBottom);
    ExpectClean(e.level());
    // The pillar sits in the middle, so it maps onto itself with its walls reversed.
    EXPECT_DOUBLE_EQ(e.vertex(1, 0).m_dZ, 80);
    FlipSectors(e.ctx, FlipDirection::TopToBottom);
    EXPECT_EQ(testing::CountDifferences(e.level(), original.level()), 0);

    Editor grid;
    grid.doc.m_bGridOn = 1;
    grid.doc.m_nGridLevel = 5; // a step of 8
    grid.level().m_Lev.m_pSectors.push_back(MakeSquareSector(grid.level().m_Lev, 0, 0, 0, 6, 6));
    grid.Select({0});
    FlipSectors(grid.ctx, FlipDirection::LeftToRight); // about cx = 3
    ExpectAt(grid.vertex(0, 0), 8, 0);
    ExpectAt(grid.vertex(0, 1), 0, 0);
    ExpectClean(grid.level());
}

TEST(TransformTools, RotateTurnsVerticesAndObjects) {
    Editor e;
    testing::BuildRoom(e.level());
    CDataObjectItem& object = e.AddObject(10, 10, 0, 90);
    e.Select({0});
    EXPECT_TRUE(RotateSectors(e.ctx, 90).m_bChanged);
    ExpectClean(e.level());
    ExpectAt(e.vertex(0, 0), 64, 0);
    ExpectAt(e.vertex(0, 1), 64, 64);
    EXPECT_DOUBLE_EQ(object.m_dX, 54);
    EXPECT_DOUBLE_EQ(object.m_dZ, 10);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 0);
    RotateSectors(e.ctx, -45);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 45);

    const double x = object.m_dX;
    e.settings.m_bMoveObjects = false;
    RotateSectors(e.ctx, 30);
    EXPECT_DOUBLE_EQ(object.m_dX, x);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 45);
}

TEST(TransformTools, RotatingByAFullTurnRestores) {
    Editor e;
    testing::BuildRoomWithPillar(e.level());
    CDataObjectItem& object = e.AddObject(20.5, 100.25, 0, 90);
    e.Select({0});
    Editor original;
    testing::BuildRoomWithPillar(original.level());
    original.AddObject(20.5, 100.25, 0, 90);
    for (double angle : {360.0, -360.0}) {
        RotateSectors(e.ctx, angle);
        ExpectClean(e.level());
        EXPECT_EQ(testing::CountDifferences(e.level(), original.level()), 0) << angle;
        EXPECT_GE(object.m_dYaw, 0);
        EXPECT_LE(object.m_dYaw, 360);
    }
}

TEST(TransformTools, ScaleAboutTheCentre) {
    Editor e;
    testing::BuildRoomWithPillar(e.level());
    CDataObjectItem& object = e.AddObject(32, 32, 0, 0);
    e.Select({0});
    ScaleSectors(e.ctx, 1.1, false);
    ExpectClean(e.level());
    ExpectAt(e.vertex(0, 0), -6.4, -6.4);
    ExpectAt(e.vertex(1, 0), 46.4, 46.4); // the pillar goes along
    ExpectAt(e.vertex(0, 4), 46.4, 46.4);
    ExpectAt(object, 28.8, 28.8);

    Editor grid;
    testing::BuildRoom(grid.level());
    grid.doc.m_bGridOn = 1;
    grid.doc.m_nGridLevel = 4; // a step of 16
    grid.Select({0});
    ScaleSectors(grid.ctx, 1.1, true); // (0, 0) -> (-3.2, -3.2) -> 0
    ExpectAt(grid.vertex(0, 0), 0, 0);
    ExpectAt(grid.vertex(0, 2), 64, 64);
    ScaleSectors(grid.ctx, 0.5, false);
    ExpectAt(grid.vertex(0, 0), 16, 16);
}

// Three rooms in a row with floors 0, 10, 20 and light 20, 25, 31.
void BuildRow(Editor& e) {
    auto& sectors = e.level().m_Lev.m_pSectors;
    for (int i = 0; i < 3; ++i) {
        sectors.push_back(MakeSquareSector(e.level().m_Lev, i, 100.0 * i, 0, 100.0 * i + 64, 64));
        sectors.back()->m_dFloorAltitude = 10.0 * i;
    }
    e.sector(0).m_nAmbient = 20;
    e.sector(2).m_nAmbient = 31;
}

TEST(TransformTools, DistributionFollowsSelectionOrder) {
    Editor e;
    BuildRow(e);
    e.sector(1).m_dCeilingAltitude = -40;
    e.Select({0, 2, 1});
    DistributionOptions options;
    options.m_bLight = true;
    EXPECT_TRUE(DistributeSectors(e.ctx, options).m_bChanged);
    ExpectClean(e.level());
    EXPECT_DOUBLE_EQ(e.sector(2).m_dFloorAltitude, 5);
    EXPECT_DOUBLE_EQ(e.sector(2).m_dCeilingAltitude, -16); // floors only
    EXPECT_EQ(e.sector(2).m_nAmbient, 20);                 // 20 + (20 - 20) / 2
    EXPECT_DOUBLE_EQ(e.sector(1).m_dFloorAltitude, 10);

    e.Select({0, 2, 1});
    e.sector(1).m_nAmbient = 31;
    e.sector(1).m_dFloorAltitude = 3;
    options.m_Which = DistributeWhich::Ceilings;
    DistributeSectors(e.ctx, options);
    EXPECT_DOUBLE_EQ(e.sector(2).m_dCeilingAltitude, -28);
    EXPECT_DOUBLE_EQ(e.sector(2).m_dFloorAltitude, 5);
    EXPECT_EQ(e.sector(2).m_nAmbient, 25); // 20 + 11 / 2 truncates

    e.Select({0, 1});
    EXPECT_FALSE(DistributeSectors(e.ctx, options).m_bChanged);
}

TEST(TransformTools, AlignmentVerticalAndHorizontal) {
    Editor e;
    BuildRow(e);
    e.doc.m_nMode = kModeWall;
    e.ctx.AddToSelection({0, 0, -1, -1});
    e.ctx.AddToSelection({1, 1, -1, -1});
    e.ctx.AddToSelection({2, 2, -1, -1});
    e.wall(0, 0).m_Mid.m_dOffsetX = 9;
    e.wall(2, 2).m_Top.m_nTexture = -1;
    AlignmentOptions options;
    options.m_bVerticalMid = true;
    options.m_bHorizontalMid = true;
    options.m_bHorizontalTop = true;
    std::vector<std::string> asked;
    const EditResult result = AlignWalls(e.ctx, options, [&](std::string_view name) {
        asked.emplace_back(name);
        return 48;
    });
    EXPECT_TRUE(result.m_bChanged);
    EXPECT_EQ(result.m_strMessage, "");
    ExpectClean(e.level());
    EXPECT_EQ(asked, (std::vector<std::string>{"RWRWALL1.BM", "RWRWALL1.BM"}));
    EXPECT_DOUBLE_EQ(e.wall(1, 1).m_Mid.m_dOffsetY, -10); // (0 - 20) * 1 / 2
    EXPECT_DOUBLE_EQ(e.wall(0, 0).m_Mid.m_dOffsetY, 0);
    EXPECT_DOUBLE_EQ(e.wall(1, 0).m_Mid.m_dOffsetY, 0);
    EXPECT_DOUBLE_EQ(e.wall(0, 0).m_Mid.m_dOffsetX, 0);
    EXPECT_DOUBLE_EQ(e.wall(1, 1).m_Mid.m_dOffsetX, 16); // 64 mod 48
    EXPECT_DOUBLE_EQ(e.wall(2, 2).m_Mid.m_dOffsetX, 32); // 128 mod 48
    EXPECT_DOUBLE_EQ(e.wall(1, 1).m_Top.m_dOffsetX, 16);
}

TEST(TransformTools, AlignmentWithUnknownWidthLeavesOffsets) {
    Editor e;
    BuildRow(e);
    e.Select({0, 1, 2});
    for (int s = 0; s < 3; ++s)
        e.wall(s, 0).m_Mid.m_dOffsetX = 3;
    e.wall(0, 0).m_Bottom.m_nTexture = e.level().m_Lev.FindOrAddTexture("ODD.BM");
    AlignmentOptions options;
    options.m_bHorizontalMid = true;
    options.m_bHorizontalBottom = true;
    const EditResult result =
        AlignWalls(e.ctx, options, [](std::string_view name) { return name == "ODD.BM" ? 100 : -1; });
    EXPECT_TRUE(result.m_bChanged);
    EXPECT_EQ(result.m_strMessage,
              "The width of RWRWALL1.BM is not known:\nits horizontal offsets were left as they are.");
    for (int s = 0; s < 3; ++s)
        EXPECT_DOUBLE_EQ(e.wall(s, 0).m_Mid.m_dOffsetX, 3);
    // In sector mode the first walls of the sectors follow each other: 64 each.
    EXPECT_DOUBLE_EQ(e.wall(1, 0).m_Bottom.m_dOffsetX, 64);
    EXPECT_DOUBLE_EQ(e.wall(2, 0).m_Bottom.m_dOffsetX, 28);

    const EditResult none = AlignWalls(e.ctx, options, {});
    EXPECT_FALSE(none.m_bChanged);
    EXPECT_NE(none.m_strMessage.find("ODD.BM"), std::string::npos);
}

TEST(TransformTools, ChangeOffsetsMovesIslandsObjectsAndStops) {
    Editor e;
    testing::BuildRoomWithPillar(e.level());
    e.sector(0).m_strName = "lift";
    e.sector(1).m_dSecondAltitude = 1.5;
    AddItem(e.level().m_Inf, "sector", "lift", -1, {"class:\televator move_floor", "stop:\t-8 hold"});
    CDataObjectItem& object = e.AddObject(10, 10, 1, 0);
    e.settings.m_bMoveObjects = false; // objects follow the offsets regardless
    e.Select({0});
    const EditResult result = ChangeOffsets(e.ctx, 8, 2.5, -4);
    EXPECT_TRUE(result.m_bChanged);
    EXPECT_TRUE(result.m_bInfChanged);
    ExpectClean(e.level());
    ExpectAt(e.vertex(0, 0), 8, -4);
    ExpectAt(e.vertex(1, 0), 56, 44);
    EXPECT_DOUBLE_EQ(e.sector(0).m_dFloorAltitude, -2.5);
    EXPECT_DOUBLE_EQ(e.sector(1).m_dCeilingAltitude, -18.5);
    EXPECT_DOUBLE_EQ(e.sector(0).m_dSecondAltitude, 0);
    EXPECT_DOUBLE_EQ(e.sector(1).m_dSecondAltitude, -1);
    EXPECT_EQ(e.level().m_Inf.m_pItems[0]->m_Lines[1], "stop:\t-5.5 hold");
    EXPECT_DOUBLE_EQ(object.m_dX, 18);
    EXPECT_DOUBLE_EQ(object.m_dY, -6.5);
    EXPECT_DOUBLE_EQ(object.m_dZ, 6);
}

} // namespace
} // namespace morvi
