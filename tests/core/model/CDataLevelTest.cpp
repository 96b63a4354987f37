#include "model/CDataLevel.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvi {
namespace {

using Strings = std::vector<std::string>;

std::vector<std::uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(CDataLevel, RenameMovesOnlyTheLevelsOwnMembersAndRefusesATakenName) {
    CDataLevel level;
    for (const char* name :
         {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL", "SECBASE2.LEV", "TALAY.LEV", "WALL.BM"})
        EXPECT_TRUE(level.AddMember(name, Bytes(name)));
    level.m_LevelNames = {"SECBASE", "SECBASE2", "TALAY"};
    const auto names = [&] {
        Strings list;
        for (const auto& m : level.m_pMembers)
            list.push_back(m->m_strName);
        return list;
    };
    const Strings before = names();

    const Status taken = level.RenameLevel("talay");
    EXPECT_EQ(taken.message(),
              "You cannot change the current level name\nsince the name you have choosen exist already.");
    EXPECT_FALSE(level.RenameLevel("VERYLONGNAME"));
    EXPECT_TRUE(level.RenameLevel("secbase")); // the same name in another case: nothing to do
    EXPECT_EQ(names(), before);
    EXPECT_EQ(level.m_Lev.m_strLevelName, "SECBASE");

    ASSERT_TRUE(level.RenameLevel("Mylevel"));
    EXPECT_EQ(names(), (Strings{"MYLEVEL.LEV", "MYLEVEL.O", "MYLEVEL.INF", "MYLEVEL.GOL", "SECBASE2.LEV",
                                "TALAY.LEV", "WALL.BM"}));
    EXPECT_EQ(level.m_LevelNames, (Strings{"MYLEVEL", "SECBASE2", "TALAY"}));
    // The parts keep the name as typed.
    EXPECT_EQ(
        std::tie(level.m_Lev.m_strLevelName, level.m_Inf.m_strLevelName, level.m_Objects.m_strLevelName),
        std::tuple("Mylevel", "Mylevel", "Mylevel"));
}

TEST(CDataLevel, MembersAndKindListsStayInStep) {
    CDataLevel level;
    EXPECT_FALSE(level.AddMember("THIRTEEN.CHAR", Bytes("x")));
    EXPECT_FALSE(level.AddMember("", Bytes("x")));
    for (const char* name : {"guard.wax", "DOOR.BM", "TURRET.3DO", "BEEP.VOC"})
        ASSERT_TRUE(level.AddMember(name, Bytes(name)));
    EXPECT_EQ(level.m_pMembers[0]->m_strName, "GUARD.WAX");
    EXPECT_EQ(std::tuple(level.m_Sprites.size(), level.m_Bitmaps.size(), level.m_Models3D.size(),
                         level.m_Sounds.size()),
              std::tuple(1u, 1u, 1u, 1u));
    level.RemoveMember(1);
    EXPECT_TRUE(level.m_Bitmaps.empty());
    EXPECT_EQ(level.m_Sounds.at(0)->m_strName, "BEEP.VOC");

    std::vector<std::uint8_t> out(10, 0);
    EXPECT_TRUE(level.CopyMemberData("turret.3do", out));
    EXPECT_EQ(out, Bytes("TURRET.3DO"));
    EXPECT_TRUE(level.StoreMemberData("Turret.3DO", Bytes("XYZXYZXYZX")));
    EXPECT_EQ(level.FindMember("TURRET.3DO")->text(), "XYZXYZXYZX");
    EXPECT_FALSE(level.StoreMemberData("NONE.3DO", Bytes("XYZ")));

    // The parallax is kept in step in the LEV and INF parts.
    level.SetParallax(768.5, 512.25);
    EXPECT_EQ(std::tuple(level.m_Lev.m_dParallax1, level.m_Lev.m_dParallax2, level.m_Inf.m_dParallax1,
                         level.m_Inf.m_dParallax2),
              std::tuple(768.5, 512.25, 768.5, 512.25));
}

} // namespace
} // namespace morvi
