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
         {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE2.LEV", "TALAY.LEV", "WALL.BM"})
        EXPECT_TRUE(level.AddMember(name, Bytes(name)));
    level.m_LevelNames = {"SECBASE", "SECBASE2", "TALAY"};
    const auto names = [&] {
        Strings list;
        for (const auto& m : level.m_pMembers)
            list.push_back(m->m_strName);
        return list;
    };
    const Strings before = names();
    EXPECT_EQ(level.RenameLevel("talay").message(),
              "You cannot change the current level name\nsince the name you have choosen exist already.");
    EXPECT_FALSE(level.RenameLevel("VERYLONGNAME"));
    EXPECT_TRUE(level.RenameLevel("secbase")); // the same name in another case: nothing to do
    EXPECT_EQ(names(), before);

    ASSERT_TRUE(level.RenameLevel("Mylevel"));
    EXPECT_EQ(names(),
              (Strings{"MYLEVEL.LEV", "MYLEVEL.O", "MYLEVEL.INF", "SECBASE2.LEV", "TALAY.LEV", "WALL.BM"}));
    EXPECT_EQ(level.m_LevelNames, (Strings{"MYLEVEL", "SECBASE2", "TALAY"}));
    // The parts keep the name as typed.
    EXPECT_EQ(
        std::tie(level.m_Lev.m_strLevelName, level.m_Inf.m_strLevelName, level.m_Objects.m_strLevelName),
        std::tuple("Mylevel", "Mylevel", "Mylevel"));
}

TEST(CDataLevel, MembersAndKindListsStayInStep) {
    CDataLevel level;
    EXPECT_FALSE(level.AddMember("THIRTEEN.CHAR", Bytes("x")));
    for (const char* name : {"guard.wax", "DOOR.BM", "TURRET.3DO", "BEEP.VOC"})
        ASSERT_TRUE(level.AddMember(name, Bytes(name)));
    level.RemoveMember(1);
    EXPECT_EQ(std::tuple(level.m_Sprites.at(0)->m_strName, level.m_Bitmaps.size(), level.m_Models3D.size(),
                         level.m_Sounds.at(0)->m_strName),
              std::tuple("GUARD.WAX", 0u, 1u, "BEEP.VOC"));
    EXPECT_TRUE(level.StoreMemberData("Turret.3DO", Bytes("XYZXYZXYZX")));
    EXPECT_EQ(level.FindMember("turret.3do")->text(), "XYZXYZXYZX");
    EXPECT_FALSE(level.StoreMemberData("NONE.3DO", Bytes("XYZ")));
}

} // namespace
} // namespace morvi
