#include "mapedit/MapStatistics.h"
#include "mapedit/CMapEngine.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Lines = std::vector<std::string>;

TEST(MapStatistics, CountsAndDegenerateWalls) {
    CDataLevel level;
    EXPECT_EQ(CountLevel(level), LevelCounts{});
    EXPECT_EQ(DegenerateWallLines(level), Lines{"None"});
    testing::BuildRoomWithPillar(level);
    level.m_Objects.m_pObjects.push_back(std::make_unique<CDataObjectItem>());
    testing::AddItem(level.m_Inf, "level", "", -1, {});
    testing::AddItem(level.m_Inf, "sector", "door", -1, {});
    EXPECT_EQ(CountLevel(level), (LevelCounts{2, 12, 12, 1, 2}));
    EXPECT_EQ(DegenerateWallLines(level), Lines{"None"});
    // The pillar's second corner moved onto its first: wall 0 runs between two equal points. A
    // nearly equal point is not degenerate.
    auto& pillar = level.m_Lev.m_pSectors[1]->m_pVertices;
    *pillar[1] = *pillar[0];
    auto& room = level.m_Lev.m_pSectors[0]->m_pVertices;
    room[3]->m_dX = room[2]->m_dX + 1e-9;
    room[3]->m_dZ = room[2]->m_dZ;
    level.m_Lev.m_pSectors[0]->m_pWalls[3]->m_nLeft = 12; // a broken index is passed over
    EXPECT_EQ(DegenerateWallLines(level), Lines{"Sector   1, vertex   0 and vertex   1"});
    level.m_Lev.m_pSectors[0]->m_pWalls[3]->m_nLeft = 3;
    *room[5] = *room[4];
    *room[6] = *room[4];
    EXPECT_EQ(DegenerateWallLines(level),
              (Lines{"Sector   0, vertex   4 and vertex   5", "Sector   0, vertex   5 and vertex   6",
                     "Sector   1, vertex   0 and vertex   1"}));
}

TEST(MapStatistics, FindSectorListsNamedSectors) {
    CDataLevel level;
    testing::BuildTwoRooms(level);
    EXPECT_TRUE(NamedSectors(level).empty());
    level.m_Lev.m_pSectors[1]->m_strName = "elev1";
    level.m_Lev.m_pSectors.push_back(testing::MakeSquareSector(level.m_Lev, 2, 0, 100, 64, 164));
    level.m_Lev.m_pSectors[2]->m_strName = "door";
    using List = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(NamedSectors(level), (List{{"elev1", 1}, {"door", 2}}));
}

TEST(MapStatistics, JumpSelectsTheSectorOnItsLayerAndCentresIt) {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
    testing::BuildTwoRooms(doc.level());
    doc.level().m_Lev.m_pSectors[1]->m_nLayer = 3;
    engine.viewport().m_dScale = 512.0;
    engine.viewport().m_rcClient = {0, 0, 401, 301}; // halves 200 and 150
    engine.AddToSelection({0, -1, -1, -1});
    engine.AddToSelection({1, -1, -1, -1});
    std::vector<std::string> log;
    const auto storeWatch = doc.m_StoreEdits.Connect([&] { log.push_back("store"); });
    engine.m_Notify.m_Invalidate = [&](bool erase) { log.push_back(erase ? "erase" : "paint"); };
    const auto changeWatch = doc.m_SelectionChanged.Connect([&] {
        log.push_back("changed " + std::to_string(doc.m_nCurrentLayer) + " " +
                      std::to_string(engine.selection().size()));
    });
    engine.picker().JumpToSector(1);
    EXPECT_EQ(engine.selection(), (std::vector<CMapSelItem>{{1, -1, -1, -1}}));
    EXPECT_EQ(doc.m_nCurrentLayer, 3);
    EXPECT_EQ(log, (std::vector<std::string>{"store", "erase", "changed 3 1"}));
    // The mean of the vertices (96, 32) comes to the client's centre (200, 150).
    EXPECT_DOUBLE_EQ(doc.m_dScrollX, 544.0);
    EXPECT_DOUBLE_EQ(doc.m_dScrollZ, 816.0);
    EXPECT_EQ(engine.viewport().WorldToScreen(96, 32), (ScreenPoint{200, 150}));
    log.clear();
    engine.picker().JumpToSector(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(engine.selection().size(), 1U);
}

} // namespace
} // namespace morvi
