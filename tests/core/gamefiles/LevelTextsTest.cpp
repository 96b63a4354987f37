#include "gamefiles/LevelTexts.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Strings = std::vector<std::string>;

// A level SECBASE whose archive holds the given members.
CDataLevel LevelWith(std::initializer_list<std::pair<std::string_view, std::string_view>> members) {
    CDataLevel level;
    level.m_LevelNames = {"SECBASE"};
    for (const auto& [name, data] : members)
        EXPECT_TRUE(level.AddMember(std::string(name),
                                    {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}));
    return level;
}

Strings Texts(const CDataLevel& level) {
    Strings texts;
    for (const auto& member : level.m_pMembers)
        texts.emplace_back(member->text());
    return texts;
}

constexpr std::string_view kInfText =
    "INF 1.0\r\nLEVELNAME SECBASE\r\nitems 1\r\n"
    "item: line name: door num: 2\r\n\tseq\r\n\t\tclass: trigger\r\n\tseqend\r\n";

TEST(LevelTexts, EachTextGoesToItsMember) {
    CDataLevel level = LevelWith({{"OTHER.GOL", "other goals"},
                                  {"SECBASE.GOL", std::string_view("goals\0garbage", 13)},
                                  {"JEDI.LVL", "levels"},
                                  {"SECOND.LVL", "second"},
                                  {"TEXT.MSG", "messages"},
                                  {"SECBASE.VUE", "vue"}});
    level.m_pMembers[1]->m_strName = "secbase.gol"; // the level's GOL is found ignoring case
    // A text ends at its first NUL.
    for (const auto& [which, text] : {std::pair(LevelText::Gol, "goals"), std::pair(LevelText::Lvl, "levels"),
                                      std::pair(LevelText::Msg, "messages")}) {
        EXPECT_EQ(GetLevelText(level, which), text);
        EXPECT_TRUE(SetLevelText(level, which, "new " + std::string(text)));
    }
    EXPECT_EQ(GetMemberText(level, "secbase.vue"), "vue");
    EXPECT_TRUE(SetMemberText(level, "SecBase.Vue", "new vue"));
    EXPECT_EQ(Texts(level),
              (Strings{"other goals", "new goals", "new levels", "second", "new messages", "new vue"}));
    EXPECT_EQ(level.m_pMembers[1]->m_nSize, 9u);
}

TEST(LevelTexts, MissingMembersAreNeverCreated) {
    CDataLevel level = LevelWith({{"SECBASE.LEV", "lev"}, {"SECBASE.INF", "inf"}});
    for (LevelText which : {LevelText::Gol, LevelText::Lvl, LevelText::Msg}) {
        EXPECT_EQ(GetLevelText(level, which), std::nullopt);
        EXPECT_FALSE(SetLevelText(level, which, "new text"));
    }
    EXPECT_EQ(GetMemberText(level, "SECBASE.VUE"), std::nullopt);
    EXPECT_FALSE(SetMemberText(level, "SECBASE.VUE", "vue"));

    // Without a current level there is no INF or GOL member to speak of.
    level.m_LevelNames.clear();
    level.m_Inf.m_pItems.push_back(std::make_unique<CDataInfItem>());
    EXPECT_EQ(GetLevelText(level, LevelText::Inf), std::nullopt);
    EXPECT_FALSE(SetLevelText(level, LevelText::Inf, kInfText));
    EXPECT_EQ(Texts(level), (Strings{"lev", "inf"}));
    EXPECT_EQ(level.m_Inf.m_pItems.size(), 1u);
}

TEST(LevelTexts, SettingTheInfTextRebuildsTheInfPart) {
    CDataLevel level = LevelWith({{"SECBASE.INF", "old"}});
    testing::AddItem(level.m_Inf, "sector", "gone", -1, {});
    level.m_Inf.m_strAuthor = "someone";

    ASSERT_TRUE(SetLevelText(level, LevelText::Inf, kInfText));
    EXPECT_EQ(GetLevelText(level, LevelText::Inf), kInfText);
    EXPECT_EQ(level.m_Inf.m_strAuthor, "");
    CDataLevel expected;
    testing::AddItem(expected.m_Inf, "line", "door", 2, {"class:\ttrigger"});
    EXPECT_EQ(testing::CountDifferences(level, expected, {.members = false}), 0);

    // A comment stays on show while the member says what the items say; once the map changes an
    // item, the INF text is the items', so that storing it cannot bring the old item back.
    const std::string commented = std::string(kInfText) + "# the door\r\n";
    ASSERT_TRUE(SetLevelText(level, LevelText::Inf, commented));
    EXPECT_EQ(GetLevelText(level, LevelText::Inf), commented);
    level.m_Inf.m_pItems[0]->m_strName = "gate";
    const std::optional<std::string> shown = GetLevelText(level, LevelText::Inf);
    ASSERT_TRUE(shown);
    EXPECT_NE(shown->find("name: gate"), std::string::npos) << *shown;
    EXPECT_EQ(shown->find("door"), std::string::npos) << *shown;
}

} // namespace
} // namespace morvi
