#include "model/LevelChecker.h"

#include "model/CDataLevel.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

std::vector<std::string> Texts(const CDataLevel& level) {
    std::vector<std::string> texts;
    for (const auto& f : checkLevel(level)) texts.push_back(f.m_strText);
    return texts;
}

TEST(LevelChecker, BuiltLevelsAreClean) {
    for (auto build : {testing::BuildRoom, testing::BuildTwoRooms, testing::BuildRoomWithPillar}) {
        CDataLevel level;
        build(level);
        EXPECT_TRUE(checkLevel(level).empty()) << ::testing::PrintToString(Texts(level));
    }
}

TEST(LevelChecker, BrokenMirrorNamesBothWalls) {
    CDataLevel level;
    testing::BuildTwoRooms(level);
    level.m_Lev.m_pSectors[1]->m_pWalls[3]->m_nMirror = 2;
    // Both ends of the broken pair are reported, each with the item to jump to.
    const auto findings = checkLevel(level);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].m_nSector, 0);
    EXPECT_EQ(findings[0].m_nWall, 1);
    EXPECT_EQ(findings[0].m_strText, "Sector 0 wall 1 mirrors Sector 1 wall 3, which points back at sector 0 wall 2");
    EXPECT_EQ(findings[1].m_Kind, LevelFinding::Kind::Wall);
    EXPECT_EQ(findings[1].m_nSector, 1);
    EXPECT_EQ(findings[1].m_nWall, 3);
    EXPECT_EQ(findings[1].m_strText, "Sector 1 wall 3 mirrors Sector 0 wall 2, which points back at sector -1 wall -1");
}

TEST(LevelChecker, IndexRangesAndLoops) {
    CDataLevel level;
    testing::BuildTwoRooms(level);
    CDataSector& s0 = *level.m_Lev.m_pSectors[0];
    s0.m_pWalls[0]->m_nAdjoin = 5;        // not a sector
    s0.m_pWalls[2]->m_nLeft = 9;          // not a vertex
    s0.m_pWalls[2]->m_Mid.m_nTexture = 40; // not in the table
    s0.m_pWalls[3]->m_nRight = 2;         // the loop no longer closes
    level.m_Lev.m_pSectors[1]->m_nIndex = 7;
    const auto texts = Texts(level);
    auto has = [&](const std::string& part) {
        return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(has("Sector 0 wall 0: adjoin 5 is not a sector"));
    EXPECT_TRUE(has("Sector 0 wall 2: vertex 9 is outside"));
    EXPECT_TRUE(has("Sector 0 wall 2: mid texture 40 is outside the texture table"));
    EXPECT_TRUE(has("Sector 0: the walls from wall 0 on do not close a loop"));
    EXPECT_TRUE(has("Sector 1 has index 7"));
}

TEST(LevelChecker, TooFewWallsAndObjectTables) {
    CDataLevel level;
    testing::BuildRoom(level);
    auto& walls = level.m_Lev.m_pSectors[0]->m_pWalls;
    walls.resize(2);
    walls[1]->m_nRight = 0;
    auto object = std::make_unique<CDataObjectItem>();
    object->m_strClass = "FRAME";
    object->m_nData = 3;
    level.m_Objects.m_pObjects.push_back(std::move(object));
    const auto findings = checkLevel(level);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].m_strText, "Sector 0 has 2 walls (at least 3 needed)");
    EXPECT_EQ(findings[1].m_Kind, LevelFinding::Kind::Object);
    EXPECT_EQ(findings[1].m_nObject, 0);
}

} // namespace
} // namespace morvi
