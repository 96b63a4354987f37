#include "mapedit/TransformTools.h"
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::FindingsText;

// An engine on a fresh document with the grid off, so that transforms keep hundredths.
struct Editor : testing::EngineView {
    explicit Editor(void (*build)(CDataLevel&) = nullptr) : EngineView(kModeSector, build) {
        doc.m_bGridOn = 0;
    }
    void Select(std::initializer_list<int> sectors) {
        engine.ClearSelection();
        for (int s : sectors)
            engine.AddToSelection(testing::Sector(s));
    }
    CDataObjectItem& AddObject(double x, double z, int sector, double yaw) {
        CDataObjectItem& o = testing::AddObject(level(), x, z, sector);
        o.m_dYaw = yaw;
        return o;
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

template <typename Point> void ExpectAt(const Point& v, double x, double z) {
    EXPECT_DOUBLE_EQ(v.m_dX, x);
    EXPECT_DOUBLE_EQ(v.m_dZ, z);
}

// Two rooms; the left one is a named door with INF items naming its walls by number.
void BuildDoorLevel(CDataLevel& level) {
    testing::BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    level.m_Lev.m_pSectors[1]->m_strName = "other";
    level.m_Lev.m_pSectors[0]->m_pWalls[0]->m_Mid.m_dOffsetX = 1.5; // tells the wall records apart
    AddItem(level.m_Inf, "line", "door", 1, {"class:\ttrigger", "message:\tdoor(0) done"});
    AddItem(level.m_Inf, "sector", "other", -1, {"adjoin:\t1 door 3 other 0"});
}

TEST(TransformTools, FlipKeepsLoopSenseMirrorsAndInfWallNumbersAndTwiceRestores) {
    Editor e(BuildDoorLevel);
    e.AddObject(10, 20, 0, 33.33);
    e.Select({0});
    const std::string before = e.Texts();
    const EditResult result = FlipSectors(e.engine, FlipDirection::LeftToRight);
    EXPECT_TRUE(result.m_bInfChanged);
    // The flipped door no longer meets its neighbour, as after a drag; the records hold together.
    EXPECT_EQ(testing::ReferenceFindingsText(e.level()), "");
    // Wall 1 (x = 64) ran up the right side; it is now wall 2 and runs down the left side, so the
    // loop still turns counter-clockwise.
    const CDataWall& moved = e.wall(0, 2);
    EXPECT_EQ(std::tie(moved.m_nAdjoin, moved.m_nMirror, e.wall(1, 3).m_nMirror), std::tuple(1, 3, 2));
    ExpectAt(e.vertex(0, moved.m_nLeft), 0, 64);
    ExpectAt(e.vertex(0, moved.m_nRight), 0, 0);
    EXPECT_DOUBLE_EQ(e.wall(0, 3).m_Mid.m_dOffsetX, 1.5);
    const auto& items = e.level().m_Inf.m_pItems;
    EXPECT_EQ(items[0]->m_nNum, 2);
    EXPECT_EQ(items[0]->m_Lines[1], "message:\tdoor(3) done");
    EXPECT_EQ(items[1]->m_Lines[0], "adjoin:\t1 door 0 other 0");
    ExpectAt(e.vertex(1, 0), 64, 0); // the neighbour did not move
    FlipSectors(e.engine, FlipDirection::LeftToRight);
    EXPECT_EQ(e.Texts(), before);
}

TEST(TransformTools, FlipMirrorsObjectsAndTheirYaw) {
    Editor e(testing::BuildTwoRooms);
    CDataObjectItem& object = e.AddObject(10, 20, 0, 30);
    e.Select({0, 1}); // centre (64, 32)
    FlipSectors(e.engine, FlipDirection::LeftToRight);
    ExpectAt(object, 118, 20);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 330);
    FlipSectors(e.engine, FlipDirection::TopToBottom);
    ExpectAt(object, 118, 44);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 210);         // 180 - 330, turned into 0..360
    for (const auto& v : e.sector(0).m_pVertices) // about Z = 32 the rooms stay on 0..64
        EXPECT_TRUE(v->m_dZ == 0 || v->m_dZ == 64) << v->m_dZ;
    EXPECT_EQ(FindingsText(e.level()), "");
}

// A level with doors, elevators, pillars and INF items that name walls: flipping half its sectors
// keeps its records together, and flipping them twice gives back its walls and INF text.
TEST(TransformTools, FlippingAGeneratedLevelTwiceRestoresIt) {
    const auto build = [](CDataLevel& level) {
        testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
    };
    Editor e(build), original(build);
    for (std::size_t s = 0; s < e.level().m_Lev.m_pSectors.size(); s += 2)
        e.engine.AddToSelection(testing::Sector(static_cast<int>(s)));
    FlipSectors(e.engine, FlipDirection::LeftToRight);
    EXPECT_EQ(testing::ReferenceFindingsText(e.level()), "");
    FlipSectors(e.engine, FlipDirection::LeftToRight);
    EXPECT_EQ(FindingsText(e.level()), "");
    std::string inf, infBefore;
    WriteInf(e.level().m_Inf, "t", inf);
    WriteInf(original.level().m_Inf, "t", infBefore);
    EXPECT_EQ(inf, infBefore);
    for (std::size_t s = 0; s < e.level().m_Lev.m_pSectors.size(); ++s) {
        const auto& walls = e.level().m_Lev.m_pSectors[s]->m_pWalls;
        const auto& before = original.level().m_Lev.m_pSectors[s]->m_pWalls;
        ASSERT_EQ(walls.size(), before.size());
        for (std::size_t w = 0; w < walls.size(); ++w)
            EXPECT_EQ(testing::CountDifferences(*walls[w], *before[w]), 0) << s << " " << w;
    }
}

TEST(TransformTools, RotateTurnsVerticesAndObjectsAndAFullTurnRestores) {
    Editor e(testing::BuildRoom);
    CDataObjectItem& object = e.AddObject(10, 10, 0, 90);
    e.Select({0});
    EXPECT_TRUE(RotateSectors(e.engine, 90).m_bChanged);
    ExpectAt(e.vertex(0, 0), 64, 0);
    ExpectAt(e.vertex(0, 1), 64, 64);
    ExpectAt(object, 54, 10);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 0);
    RotateSectors(e.engine, -45);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 45);
    e.settings.m_bMoveObjects = false;
    RotateSectors(e.engine, 30);
    EXPECT_DOUBLE_EQ(object.m_dYaw, 45);
    EXPECT_EQ(RotateSectors(e.engine, 361).m_strMessage, "Illegal Angle.");

    Editor pillar(testing::BuildRoomWithPillar), original(testing::BuildRoomWithPillar);
    pillar.AddObject(20.5, 100.25, 0, 90);
    original.AddObject(20.5, 100.25, 0, 90);
    pillar.Select({0});
    for (double angle : {360.0, -360.0}) {
        RotateSectors(pillar.engine, angle);
        EXPECT_EQ(FindingsText(pillar.level()), "");
        EXPECT_EQ(testing::CountDifferences(pillar.level(), original.level()), 0) << angle;
    }
}

// Three rooms in a row with floors 0, 10, 20.
void BuildRow(CDataLevel& level) {
    auto& sectors = level.m_Lev.m_pSectors;
    for (int i = 0; i < 3; ++i) {
        sectors.push_back(testing::MakeSquareSector(level.m_Lev, i, 100.0 * i, 0, 100.0 * i + 64, 64));
        sectors.back()->m_dFloorAltitude = 10.0 * i;
    }
}

TEST(TransformTools, AlignmentFollowsTheWallsAndLeavesUnknownWidths) {
    Editor e(BuildRow);
    e.Select({0, 1, 2});
    for (int s = 0; s < 3; ++s)
        e.wall(s, 0).m_Mid.m_dOffsetX = 3;
    e.wall(0, 0).m_Bottom.m_nTexture = e.level().m_Lev.FindOrAddTexture("ODD.BM");
    AlignmentOptions options;
    options.m_bVerticalMid = options.m_bHorizontalMid = options.m_bHorizontalBottom = true;
    const EditResult result =
        AlignWalls(e.engine, options, [](std::string_view name) { return name == "ODD.BM" ? 100 : -1; });
    EXPECT_TRUE(result.m_bChanged);
    EXPECT_EQ(result.m_strMessage,
              "The width of RWRWALL1.BM is not known:\nits horizontal offsets were left as they are.");
    EXPECT_DOUBLE_EQ(e.wall(2, 0).m_Mid.m_dOffsetX, 3);
    // In sector mode the first walls of the sectors follow each other: 64 each, modulo 100.
    EXPECT_DOUBLE_EQ(e.wall(1, 0).m_Bottom.m_dOffsetX, 64);
    EXPECT_DOUBLE_EQ(e.wall(2, 0).m_Bottom.m_dOffsetX, 28);
    EXPECT_DOUBLE_EQ(e.wall(1, 0).m_Mid.m_dOffsetY, -10); // (0 - 20) * 1 / 2
    EXPECT_EQ(FindingsText(e.level()), "");
}

} // namespace
} // namespace morvi
