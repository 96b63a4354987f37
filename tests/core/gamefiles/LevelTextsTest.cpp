#include "gamefiles/LevelTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace morvi {
namespace {

std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// A level SECBASE whose archive holds the given members.
CDataLevel LevelWith(std::initializer_list<std::pair<std::string_view, std::string_view>> members) {
    CDataLevel level;
    level.m_LevelNames = {"SECBASE"};
    for (const auto& [name, data] : members)
        EXPECT_TRUE(level.AddMember(std::string(name), AsBytes(data)));
    return level;
}

constexpr std::string_view kInfText = "INF 1.0\r\n"
                                      "LEVELNAME SECBASE\r\n"
                                      "items 2\r\n"
                                      "item: sector name: door\r\n"
                                      "\tseq\r\n"
                                      "\t\tclass: elevator move_ceiling\r\n"
                                      "\t\tstop: 0 hold\r\n"
                                      "\tseqend\r\n"
                                      "item: line name: door num: 2\r\n"
                                      "\tseq\r\n"
                                      "\t\tclass: trigger\r\n"
                                      "\tseqend\r\n";

TEST(LevelTexts, TextEndsAtTheFirstNul) {
    CDataLevel level = LevelWith({{"SECBASE.GOL", std::string_view("GOL 1.0\r\n\0garbage", 17)}});
    EXPECT_EQ(GetLevelText(level, LevelText::Gol), "GOL 1.0\r\n");
}

TEST(LevelTexts, MissingMembersAreNeverCreated) {
    CDataLevel level = LevelWith({{"SECBASE.LEV", "lev"}, {"SECBASE.INF", "inf"}});
    for (LevelText which : {LevelText::Gol, LevelText::Lvl, LevelText::Msg}) {
        EXPECT_EQ(GetLevelText(level, which), std::nullopt);
        EXPECT_FALSE(SetLevelText(level, which, "new text"));
    }
    EXPECT_EQ(GetMemberText(level, "SECBASE.VUE"), std::nullopt);
    EXPECT_FALSE(SetMemberText(level, "SECBASE.VUE", "vue"));
    ASSERT_EQ(level.m_pMembers.size(), 2u);
    EXPECT_EQ(level.m_pMembers[0]->text(), "lev");
    EXPECT_EQ(level.m_pMembers[1]->text(), "inf");

    // Without a current level there is no INF or GOL member to speak of.
    level.m_LevelNames.clear();
    level.m_Inf.m_pItems.push_back(std::make_unique<CDataInfItem>());
    EXPECT_EQ(GetLevelText(level, LevelText::Inf), std::nullopt);
    EXPECT_FALSE(SetLevelText(level, LevelText::Inf, kInfText));
    EXPECT_EQ(level.m_pMembers[1]->text(), "inf");
    EXPECT_EQ(level.m_Inf.m_pItems.size(), 1u);
}

TEST(LevelTexts, EachTextGoesToItsMember) {
    CDataLevel level = LevelWith({{"OTHER.GOL", "other goals"},
                                  {"SECBASE.GOL", "goals"},
                                  {"JEDI.LVL", "levels"},
                                  {"SECOND.LVL", "second"},
                                  {"TEXT.MSG", "messages"},
                                  {"SECBASE.VUE", "vue"}});
    level.m_pMembers[1]->m_strName = "secbase.gol"; // the level's GOL is found ignoring case
    EXPECT_EQ(GetLevelText(level, LevelText::Gol), "goals");
    EXPECT_EQ(GetLevelText(level, LevelText::Lvl), "levels");
    EXPECT_EQ(GetLevelText(level, LevelText::Msg), "messages");
    EXPECT_EQ(GetMemberText(level, "secbase.vue"), "vue");

    EXPECT_TRUE(SetLevelText(level, LevelText::Gol, "new goals"));
    EXPECT_TRUE(SetLevelText(level, LevelText::Lvl, "new levels"));
    EXPECT_TRUE(SetMemberText(level, "SecBase.Vue", "new vue"));
    EXPECT_EQ(level.m_pMembers[0]->text(), "other goals");
    EXPECT_EQ(level.m_pMembers[1]->text(), "new goals");
    EXPECT_EQ(level.m_pMembers[1]->m_nSize, 9u);
    EXPECT_EQ(level.m_pMembers[2]->text(), "new levels");
    EXPECT_EQ(level.m_pMembers[3]->text(), "second");
    EXPECT_EQ(level.m_pMembers[4]->text(), "messages");
    EXPECT_EQ(level.m_pMembers[5]->text(), "new vue");
}

TEST(LevelTexts, SettingTheInfTextRebuildsTheInfPart) {
    CDataLevel level = LevelWith({{"SECBASE.INF", "old"}});
    auto stale = std::make_unique<CDataInfItem>();
    stale->m_strType = "sector";
    stale->m_strName = "gone";
    level.m_Inf.m_pItems.push_back(std::move(stale));
    level.m_Inf.m_strAuthor = "someone";

    ASSERT_TRUE(SetLevelText(level, LevelText::Inf, kInfText));
    EXPECT_EQ(GetLevelText(level, LevelText::Inf), kInfText);
    EXPECT_EQ(level.m_Inf.m_strAuthor, "");
    ASSERT_EQ(level.m_Inf.m_pItems.size(), 2u);
    const CDataInfItem& door = *level.m_Inf.m_pItems[0];
    EXPECT_EQ(door.m_strType, "sector");
    EXPECT_EQ(door.m_strName, "door");
    EXPECT_EQ(door.m_Lines, (std::vector<std::string>{"class:\televator move_ceiling", "stop:\t0 hold"}));
    const CDataInfItem& trigger = *level.m_Inf.m_pItems[1];
    EXPECT_EQ(trigger.m_strType, "line");
    EXPECT_EQ(trigger.m_nNum, 2);
    EXPECT_EQ(trigger.m_Lines, std::vector<std::string>{"class:\ttrigger"});
}

} // namespace
} // namespace morvi
