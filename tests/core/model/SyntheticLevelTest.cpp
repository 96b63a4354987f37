// The generated level that round trips and benchmarks stand on: its sizes follow the options, the
// same options give the same level, and every hole holds a pillar. The round trip tests check that
// the checker finds nothing in it.
#include "support/SyntheticLevel.h"
#include "support/LevelCompare.h"

#include "model/LevelChecker.h"
#include "model/ModelOps.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace morvi {
namespace {

using testing::BuildSyntheticLevel;
using testing::SyntheticLevelOptions;

std::size_t CountWalls(const CDataLevel& level) {
    std::size_t walls = 0;
    for (const auto& s : level.m_Lev.m_pSectors)
        walls += s->m_pWalls.size();
    return walls;
}

// Each hole is filled by a pillar of four walls adjoined to its room, standing below the room's
// floor; returns the number of pillars.
std::size_t CheckPillars(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    std::set<int> pillars;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const std::vector<int> enclosed = GetEnclosedSectors(*sectors[i]);
        if (enclosed.empty()) continue;
        EXPECT_EQ(enclosed.size(), 1u);
        EXPECT_TRUE(pillars.insert(enclosed[0]).second) << "pillar " << enclosed[0] << " in two holes";
        const CDataSector& pillar = *sectors.at(static_cast<std::size_t>(enclosed[0]));
        EXPECT_EQ(pillar.m_pWalls.size(), 4u);
        for (const auto& w : pillar.m_pWalls)
            EXPECT_EQ(w->m_nAdjoin, static_cast<int>(i));
        EXPECT_LT(pillar.m_dFloorAltitude, sectors[i]->m_dFloorAltitude);
    }
    return pillars.size();
}

TEST(SyntheticLevel, DefaultAndSmallLevels) {
    // Sectors, walls and how far they may stray, objects, INF items.
    const std::tuple<SyntheticLevelOptions, std::size_t, double, double, std::size_t, std::size_t> cases[] = {
        {SyntheticLevelOptions{}, 4000, 40000, 2000, 1200, 550},
        {SyntheticLevelOptions::Small(), 40, 400, 60, 30, 10},
    };
    for (const auto& [options, sectors, walls, slack, objects, items] : cases) {
        SCOPED_TRACE(sectors);
        CDataLevel level;
        BuildSyntheticLevel(level, options);
        EXPECT_EQ(std::tuple(level.m_Lev.m_pSectors.size(), level.m_Objects.m_pObjects.size(),
                             level.m_Inf.m_pItems.size()),
                  std::tuple(sectors, objects, items));
        EXPECT_NEAR(static_cast<double>(CountWalls(level)), walls, slack);
        EXPECT_GE(CheckPillars(level), sectors / 10);

        // The same options give the same level, also when built over another one; the comparison
        // does see a single changed field, and another seed changes the level.
        CDataLevel again;
        BuildSyntheticLevel(again, sectors == 40 ? SyntheticLevelOptions{} : SyntheticLevelOptions::Small());
        BuildSyntheticLevel(again, options);
        EXPECT_EQ(testing::CountDifferences(level, again), 0);
        again.m_Lev.m_pSectors[7]->m_pWalls[2]->m_Sign.m_dOffsetY += 0.01;
        EXPECT_EQ(testing::CountDifferences(level, again), 1);
        SyntheticLevelOptions other = options;
        other.seed += 1;
        CDataLevel reseeded;
        BuildSyntheticLevel(reseeded, other);
        EXPECT_GT(testing::CountDifferences(level, reseeded), 0);
        EXPECT_TRUE(checkLevel(reseeded).empty());
    }
}

} // namespace
} // namespace morvi
