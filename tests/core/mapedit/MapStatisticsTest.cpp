#include "mapedit/MapStatistics.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi {
namespace {

using Lines = std::vector<std::string>;

TEST(MapStatistics, CountsAndDegenerateWalls) {
    CDataLevel level;
    EXPECT_EQ(DegenerateWallLines(level), Lines{"None"});
    testing::BuildRoomWithPillar(level);
    testing::AddObject(level, 0, 0);
    testing::AddItem(level.m_Inf, "sector", "door", -1, {});
    EXPECT_EQ(CountLevel(level), (LevelCounts{2, 12, 12, 1, 1}));
    // The pillar's second corner moved onto its first; a nearly equal point is not degenerate, and
    // a broken index is passed over.
    auto& pillar = level.m_Lev.m_pSectors[1]->m_pVertices;
    *pillar[1] = *pillar[0];
    auto& room = level.m_Lev.m_pSectors[0]->m_pVertices;
    room[3]->m_dX = room[2]->m_dX + 1e-9;
    room[3]->m_dZ = room[2]->m_dZ;
    *room[5] = *room[4];
    level.m_Lev.m_pSectors[0]->m_pWalls[3]->m_nLeft = 12;
    EXPECT_EQ(DegenerateWallLines(level),
              (Lines{"Sector   0, vertex   4 and vertex   5", "Sector   1, vertex   0 and vertex   1"}));
}

} // namespace
} // namespace morvi
