#include "support/LevelCompare.h"
#include "support/SyntheticLevel.h"

#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
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

std::vector<std::string> FindingTexts(const CDataLevel& level) {
    std::vector<std::string> texts;
    for (const auto& f : checkLevel(level))
        texts.push_back(f.m_strText);
    return texts;
}

class SyntheticLevelTest : public ::testing::Test {
protected:
    // The default level is built once for the whole suite; its build time is recorded.
    static void SetUpTestSuite() {
        s_pDefault = std::make_unique<CDataLevel>();
        const auto start = std::chrono::steady_clock::now();
        BuildSyntheticLevel(*s_pDefault);
        s_dBuildMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        s_pSmall = std::make_unique<CDataLevel>();
        BuildSyntheticLevel(*s_pSmall, SyntheticLevelOptions::Small());
    }
    static void TearDownTestSuite() {
        s_pDefault.reset();
        s_pSmall.reset();
    }

    static std::vector<const CDataLevel*> Both() { return {s_pDefault.get(), s_pSmall.get()}; }

    static inline std::unique_ptr<CDataLevel> s_pDefault;
    static inline std::unique_ptr<CDataLevel> s_pSmall;
    static inline double s_dBuildMs = 0.0;
};

TEST_F(SyntheticLevelTest, CheckerFindsNothing) {
    for (const CDataLevel* level : Both()) {
        const auto texts = FindingTexts(*level);
        EXPECT_TRUE(texts.empty()) << texts.size() << " findings, first: " << texts.front();
    }
}

TEST_F(SyntheticLevelTest, CountsFollowTheOptions) {
    const CDataLevel& big = *s_pDefault;
    EXPECT_EQ(big.m_Lev.m_pSectors.size(), 4000u);
    EXPECT_NEAR(static_cast<double>(CountWalls(big)), 40000.0, 2000.0);
    EXPECT_EQ(big.m_Objects.m_pObjects.size(), 1200u);
    EXPECT_EQ(big.m_Inf.m_pItems.size(), 550u);
    EXPECT_EQ(big.m_Lev.m_Textures.size(), 200u);
    std::size_t vertices = 0;
    for (const auto& s : big.m_Lev.m_pSectors)
        vertices += s->m_pVertices.size();
    RecordProperty("walls", static_cast<int>(CountWalls(big)));
    RecordProperty("vertices", static_cast<int>(vertices));
    RecordProperty("build_ms", static_cast<int>(s_dBuildMs));

    const CDataLevel& small = *s_pSmall;
    EXPECT_EQ(small.m_Lev.m_pSectors.size(), 40u);
    EXPECT_NEAR(static_cast<double>(CountWalls(small)), 400.0, 60.0);
    EXPECT_EQ(small.m_Objects.m_pObjects.size(), 30u);
    EXPECT_EQ(small.m_Inf.m_pItems.size(), 10u);
}

TEST_F(SyntheticLevelTest, HolesAreFilledByPillarsAdjoinedBothWays) {
    for (const CDataLevel* level : Both()) {
        const auto& sectors = level->m_Lev.m_pSectors;
        std::set<int> pillars;
        for (std::size_t i = 0; i < sectors.size(); ++i) {
            const std::vector<int> enclosed = GetEnclosedSectors(*sectors[i]);
            if (enclosed.empty()) continue;
            ASSERT_EQ(enclosed.size(), 1u);
            EXPECT_TRUE(pillars.insert(enclosed[0]).second) << "pillar " << enclosed[0] << " in two holes";
            const CDataSector& pillar = *sectors[static_cast<std::size_t>(enclosed[0])];
            EXPECT_EQ(pillar.m_pWalls.size(), 4u);
            for (const auto& w : pillar.m_pWalls)
                EXPECT_EQ(w->m_nAdjoin, static_cast<int>(i));
            EXPECT_LT(pillar.m_dFloorAltitude, sectors[i]->m_dFloorAltitude)
                << "a pillar stands above its room";
        }
        EXPECT_GE(pillars.size(), sectors.size() / 10);
    }
}

// Beyond what the checker looks at: walk goes with adjoin, both walls of a pair run along the
// same edge in opposite directions, and no edge two sectors share is left solid.
TEST_F(SyntheticLevelTest, SameOptionsGiveTheSameLevel) {
    CDataLevel again;
    BuildSyntheticLevel(again);
    EXPECT_EQ(testing::CountDifferences(*s_pDefault, again), 0);

    // Building over a level replaces what it held.
    BuildSyntheticLevel(again, SyntheticLevelOptions::Small());
    EXPECT_EQ(testing::CountDifferences(*s_pSmall, again), 0);

    // The comparison does see a single changed field, and another seed changes the level.
    again.m_Lev.m_pSectors[7]->m_pWalls[2]->m_Sign.m_dOffsetY += 0.01;
    EXPECT_EQ(testing::CountDifferences(*s_pSmall, again), 1);
    SyntheticLevelOptions other = SyntheticLevelOptions::Small();
    other.seed += 1;
    CDataLevel reseeded;
    BuildSyntheticLevel(reseeded, other);
    EXPECT_GT(testing::CountDifferences(*s_pSmall, reseeded), 0);
    EXPECT_TRUE(checkLevel(reseeded).empty());
}

TEST_F(SyntheticLevelTest, TinyAndEmptyRequestsStayConsistent) {
    for (int sectors : {0, 1, 2, 9, 10}) {
        SyntheticLevelOptions options;
        options.sectors = sectors;
        options.objects = 7;
        options.infItems = 5;
        CDataLevel level;
        BuildSyntheticLevel(level, options);
        EXPECT_EQ(level.m_Lev.m_pSectors.size(), static_cast<std::size_t>(sectors));
        EXPECT_EQ(level.m_Objects.m_pObjects.size(), sectors ? 7u : 0u);
        EXPECT_TRUE(checkLevel(level).empty()) << sectors;
    }
}

} // namespace
} // namespace morvi
