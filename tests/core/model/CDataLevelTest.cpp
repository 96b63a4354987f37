#include "model/CDataLevel.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

CDataLevel TwoLevelArchive() {
    CDataLevel level;
    for (const char* name : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL", "SECBASE2.LEV", "TALAY.LEV",
                             "WALL.BM"})
        EXPECT_TRUE(level.AddMember(name, Bytes(name)));
    level.m_LevelNames = {"SECBASE", "SECBASE2", "TALAY"};
    return level;
}

TEST(CDataLevel, RenameMovesOnlyTheLevelsOwnMembers) {
    CDataLevel level = TwoLevelArchive();
    ASSERT_TRUE(level.RenameLevel("Mylevel"));
    std::vector<std::string> names;
    for (const auto& m : level.m_pMembers) names.push_back(m->m_strName);
    EXPECT_EQ(names, (std::vector<std::string>{"MYLEVEL.LEV", "MYLEVEL.O", "MYLEVEL.INF", "MYLEVEL.GOL",
                                               "SECBASE2.LEV", "TALAY.LEV", "WALL.BM"}));
    EXPECT_EQ(level.m_LevelNames, (std::vector<std::string>{"MYLEVEL", "SECBASE2", "TALAY"}));
    // The parts keep the name as typed.
    EXPECT_EQ(level.m_Lev.m_strLevelName, "Mylevel");
    EXPECT_EQ(level.m_Inf.m_strLevelName, "Mylevel");
    EXPECT_EQ(level.m_Objects.m_strLevelName, "Mylevel");
}

TEST(CDataLevel, RenameRefusalsChangeNothing) {
    CDataLevel level = TwoLevelArchive();
    const Status taken = level.RenameLevel("talay");
    EXPECT_FALSE(taken);
    EXPECT_EQ(taken.message(), "You cannot change the current level name\nsince the name you have choosen exist already.");
    EXPECT_FALSE(level.RenameLevel("VERYLONGNAME"));
    EXPECT_EQ(level.m_pMembers[0]->m_strName, "SECBASE.LEV");
    EXPECT_EQ(level.m_Lev.m_strLevelName, "SECBASE");
    EXPECT_TRUE(level.RenameLevel("secbase")); // the same name in another case: nothing to do
    EXPECT_EQ(level.m_Lev.m_strLevelName, "SECBASE");
}

TEST(CDataLevel, MembersAndKindLists) {
    CDataLevel level;
    EXPECT_FALSE(level.AddMember("THIRTEEN.CHAR", Bytes("x")));
    EXPECT_FALSE(level.AddMember("", Bytes("x")));
    ASSERT_TRUE(level.AddMember("guard.wax", Bytes("wax")));
    ASSERT_TRUE(level.AddMember("DOOR.BM", Bytes("bm")));
    ASSERT_TRUE(level.AddMember("TURRET.3DO", Bytes("3do")));
    ASSERT_TRUE(level.AddMember("BEEP.VOC", Bytes("voc")));
    EXPECT_EQ(level.m_pMembers[0]->m_strName, "GUARD.WAX");
    EXPECT_EQ(level.m_Sprites.size() + level.m_Bitmaps.size() + level.m_Models3D.size() + level.m_Sounds.size(), 4u);
    level.RemoveMember(1);
    EXPECT_TRUE(level.m_Bitmaps.empty());
    EXPECT_EQ(level.m_Sounds.at(0)->m_strName, "BEEP.VOC");

    std::vector<std::uint8_t> out(3, 0);
    EXPECT_TRUE(level.CopyMemberData("turret.3do", out));
    EXPECT_EQ(out, Bytes("3do"));
    EXPECT_TRUE(level.StoreMemberData("Turret.3DO", Bytes("XYZ")));
    EXPECT_EQ(level.FindMember("TURRET.3DO")->text(), "XYZ");
    EXPECT_FALSE(level.StoreMemberData("NONE.3DO", Bytes("XYZ")));
}

TEST(CDataLevel, ParallaxIsKeptInStepInLevAndInf) {
    CDataLevel level;
    level.SetParallax(768.5, 512.25);
    double p1 = 0, p2 = 0;
    level.GetParallax(p1, p2);
    EXPECT_EQ(p1, 768.5);
    EXPECT_EQ(p2, 512.25);
    EXPECT_EQ(level.m_Inf.m_dParallax1, 768.5);
    EXPECT_EQ(level.m_Inf.m_dParallax2, 512.25);
}

} // namespace
} // namespace morvi
