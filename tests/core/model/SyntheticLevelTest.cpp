// The generated level that round trips, picking and benchmarks stand on: its sizes follow the
// options, holes hold pillars, and the same options give the same level.
#include "support/SyntheticLevel.h"
#include "support/LevelCompare.h"

#include "model/ModelOps.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvi {
namespace {

using testing::SyntheticLevelOptions;

TEST(SyntheticLevel, SizesFollowTheOptionsAndTheLevelIsRepeatable) {
    CDataLevel level, again;
    testing::BuildSyntheticLevel(level, SyntheticLevelOptions::Small());
    std::size_t walls = 0, holes = 0;
    for (const auto& s : level.m_Lev.m_pSectors) {
        walls += s->m_pWalls.size();
        holes += !GetEnclosedSectors(*s).empty();
    }
    EXPECT_EQ(std::tuple(level.m_Lev.m_pSectors.size(), level.m_Objects.m_pObjects.size(),
                         level.m_Inf.m_pItems.size()),
              std::tuple(40u, 30u, 10u));
    EXPECT_NEAR(static_cast<double>(walls), 400, 60);
    EXPECT_GE(holes, 4u);
    // Built over another level it is the same.
    testing::BuildSyntheticLevel(again, SyntheticLevelOptions{});
    testing::BuildSyntheticLevel(again, SyntheticLevelOptions::Small());
    EXPECT_EQ(testing::CountDifferences(level, again), 0);
}

} // namespace
} // namespace morvi
