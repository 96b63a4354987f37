#include "infedit/InfWorkingCopy.h"

#include "document/CMorviDoc.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using Lines = std::vector<std::string>;

// Two rooms named "door" and "lift", with three INF items on them and a level item.
void BuildNamedLevel(CDataLevel& level) {
    testing::BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "lift";
    level.m_Lev.m_pSectors[1]->m_strName = "Door";
    testing::AddItem(level.m_Inf, "level", "", -1, {"amb_sound:\twind.voc"});
    testing::AddItem(level.m_Inf, "line", "door", 2, {"class:\ttrigger"});
    testing::AddItem(level.m_Inf, "line", "door", 3, {"class:\ttrigger"});
    testing::AddItem(level.m_Inf, "sector", "door", -1, {"class:\televator door"});
}

std::vector<std::string> ItemNames(const CDataInf& inf) {
    std::vector<std::string> names;
    for (const auto& item : inf.m_pItems)
        names.push_back(item->m_strType + item->m_strName);
    return names;
}

TEST(InfWorkingCopy, LineEditsFollowTheirRules) {
    const Lines e{"class:\televator move_floor", "speed:\t20", "stop:\t0 hold", "stop:\t8 hold"};
    using R = InfLineEdit::Rule;
    struct Case {
        int current;
        InfLineEdit edit;
        Lines expected;
        int expectedCurrent;
    };
    const Case cases[] = {
        // Clearing the speed field removes the speed line.
        {1, {R::SetLine, "speed:", "", {}}, {e[0], e[2], e[3]}, -1},
        {3, {R::SetLine, "speed:", "", {}}, {e[0], e[2], e[3]}, 2},
        {-1, {R::SetLine, "speed:", "40", {}}, {e[0], "speed:\t40", e[2], e[3]}, -1},
        // A keyword the item lacks goes in as the second line; the current line moves along.
        {2, {R::SetLine, "key:", "red", {}}, {e[0], "key:\tred", e[1], e[2], e[3]}, 3},
        {2, {R::SetLine, "key:", "", {}}, e, 2},
        // Stop lines are only ever rewritten where the user picked one.
        {-1, {R::SetLine, "stop:", "4 hold", {}}, e, -1},
        {2, {R::SetLine, "stop:", "@4 terminate", {}}, {e[0], e[1], "stop:\t@4 terminate", e[3]}, 2},
        {3,
         {R::ReplaceClass, "class:", "elevator basic", {}},
         {"class:\televator basic", e[1], e[2], e[3]},
         3},
        {2, {R::List, "slave:", "", {"a", "b"}}, {e[0], e[1], e[2], e[3], "slave:\ta", "slave:\tb"}, 2},
    };
    for (const Case& c : cases) {
        CDataLevel level;
        testing::AddItem(level.m_Inf, "sector", "lift", -1, e);
        InfWorkingCopy copy(level);
        copy.ChooseItem(0);
        copy.ChooseLine(c.current);
        EXPECT_EQ(copy.Apply(c.edit), c.expected != e) << c.edit.m_strKeyword;
        EXPECT_EQ(copy.Inf().m_pItems[0]->m_Lines, c.expected) << c.edit.m_strKeyword << c.current;
        EXPECT_EQ(copy.CurrentLine(), c.expectedCurrent) << c.edit.m_strKeyword << c.current;
    }
    // A second list replaces all earlier lines with the keyword and appends its own.
    CDataLevel level;
    testing::AddItem(level.m_Inf, "sector", "lift", -1,
                     {"class:\televator basic", "slave:\tx", "speed:\t5", "slave:\ty"});
    InfWorkingCopy copy(level);
    copy.ChooseItem(0);
    copy.Apply({R::List, "slave:", "", {"a", "b"}});
    EXPECT_EQ(copy.Inf().m_pItems[0]->m_Lines,
              (Lines{"class:\televator basic", "speed:\t5", "slave:\ta", "slave:\tb"}));
}

TEST(InfWorkingCopy, MovedLinesEndUpWhereTheyWereDropped) {
    struct Case {
        int from, drop;
        Lines expected; // empty: refused
    };
    const Case cases[] = {
        {1, 4, {"c", "s2", "s3", "s1"}},
        {1, 3, {"c", "s3", "s2", "s1"}},
        {3, 1, {"c", "s3", "s2", "s1"}},
        {0, 2, {}},
        {2, 0, {}},
        {1, 5, {}},
        {2, 2, {}},
    };
    for (const Case& c : cases) {
        CDataLevel level;
        testing::AddItem(level.m_Inf, "sector", "lift", -1, {"c", "s1", "s2", "s3"});
        InfWorkingCopy copy(level);
        copy.ChooseItem(0);
        EXPECT_EQ(copy.MoveLine(c.from, c.drop), !c.expected.empty()) << c.from << c.drop;
        EXPECT_EQ(copy.Inf().m_pItems[0]->m_Lines,
                  c.expected.empty() ? level.m_Inf.m_pItems[0]->m_Lines : c.expected);
    }
}

TEST(InfWorkingCopy, CancelledNewItemLeavesTheListAsItWas) {
    CDataLevel level;
    BuildNamedLevel(level);
    InfWorkingCopy copy(level);
    copy.ChooseItem(2);
    ASSERT_TRUE(copy.NewItem(InfPage::Trigger).ok());
    EXPECT_EQ(copy.ItemEntries().back(), (InfItemEntry{"line", "Door", "0"}));
    EXPECT_EQ(copy.CurrentItem(), 4);
    EXPECT_TRUE(copy.CancelNewItem());
    EXPECT_EQ(ItemNames(copy.Inf()), ItemNames(level.m_Inf));
    EXPECT_EQ(copy.CurrentItem(), 0);
    EXPECT_FALSE(copy.CancelNewItem());
    // With every name cleared while the editor is open, an item on a sector cannot be made.
    for (auto& s : level.m_Lev.m_pSectors)
        s->m_strName.clear();
    copy.RefreshSectorNames(level);
    EXPECT_FALSE(copy.NewItem(InfPage::Elevator).ok());
    EXPECT_EQ(copy.ItemCount(), 4);
}

TEST(InfWorkingCopy, DeletionsReachTheLevelOnlyAtCommit) {
    CMorviDoc doc;
    BuildNamedLevel(doc.level());
    const std::vector<std::string> before = ItemNames(doc.level().m_Inf);
    InfWorkingCopy copy(doc.level());
    for (int i = 0; i < 3; ++i) {
        copy.ChooseItem(1);
        EXPECT_TRUE(copy.DeleteItem());
        EXPECT_EQ(copy.CurrentItem(), 0);
    }
    EXPECT_EQ(ItemNames(doc.level().m_Inf), before);
    copy.Commit(doc);
    EXPECT_EQ(ItemNames(doc.level().m_Inf), std::vector<std::string>{"level"});
    EXPECT_EQ(doc.UndoLabel(), "INF Editor");
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(ItemNames(doc.level().m_Inf), before);
}

TEST(InfWorkingCopy, FirstItemMatchesTheSelection) {
    struct Case {
        int mode;
        std::vector<CMapSelItem> selection;
        int expected;
    };
    const Case cases[] = {
        // Names compare ignoring case, as the game reads them; the type does not matter.
        {kModeSector, {{1, -1, -1, -1}}, 1},
        {kModeWall, {{1, 3, -1, -1}}, 2},
        {kModeWall, {{1, 1, -1, -1}}, 0},
        {kModeSector, {{0, -1, -1, -1}}, 0},
        {kModeSector, {{1, -1, -1, -1}, {0, -1, -1, -1}}, 0},
    };
    CDataLevel level;
    BuildNamedLevel(level);
    const InfWorkingCopy copy(level);
    for (const Case& c : cases)
        EXPECT_EQ(copy.FirstItemFor(level, c.mode, c.selection), c.expected) << c.mode;
}

} // namespace
} // namespace morvi
