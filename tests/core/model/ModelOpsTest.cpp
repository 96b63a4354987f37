#include "model/ModelOps.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

TEST(ModelOps, RoundHundredthsRoundsHalfAwayFromZero) {
    EXPECT_DOUBLE_EQ(RoundHundredths(2.5), 2.5);
    EXPECT_DOUBLE_EQ(RoundHundredths(1.006), 1.01);
    EXPECT_DOUBLE_EQ(RoundHundredths(-1.006), -1.01);
    EXPECT_DOUBLE_EQ(RoundHundredths(-0.004), 0.0);
    // Values beyond the 32-bit hundredths range are clamped, not undefined.
    EXPECT_DOUBLE_EQ(RoundHundredths(1e300), 21474836.47);
}

TEST(ModelOps, LoopsOfARoomWithAPillar) {
    CDataLevel level;
    testing::BuildRoomWithPillar(level);
    const CDataSector& room = *level.m_Lev.m_pSectors[0];
    std::vector<int> starts;
    BuildLoopStarts(room, starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4, 8}));
    EXPECT_EQ(GetEnclosedSectors(room), std::vector<int>{1});
    EXPECT_EQ(GetLoopLength(room, 5), 4);
    EXPECT_EQ(GetLoopLength(room, 8), 0);

    // A hole wall that adjoins nothing makes the hole enclose nothing.
    room.m_pWalls[6]->m_nAdjoin = -1;
    EXPECT_TRUE(GetEnclosedSectors(room).empty());
}

TEST(ModelOps, OpenLoopSpansAllWalls) {
    CDataLevel level;
    testing::BuildRoom(level);
    CDataSector& room = *level.m_Lev.m_pSectors[0];
    room.m_pWalls[3]->m_nRight = 2;
    std::vector<int> starts;
    BuildLoopStarts(room, starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4}));
}

} // namespace
} // namespace morvi
