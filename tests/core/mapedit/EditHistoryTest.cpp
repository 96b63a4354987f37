#include "mapedit/EditHistory.h"

#include "mapedit/StructuralEdits.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvi {
namespace {

using testing::BuildTwoRooms;
using testing::CountDifferences;
using testing::EngineView;
using testing::FindingsText;

// Runs one command as the editor does: a step only when the level changed.
void RunCommand(EditHistory& history, EngineView& v, const char* label, EditResult (*command)(CMapEngine&)) {
    history.Begin(v.engine);
    if (command(v.engine).m_bChanged)
        history.Commit(label);
    else
        history.Cancel();
}

TEST(EditHistory, UndoAndRedoWalkTheStepsAndTheModifiedMarkFollows) {
    EngineView v(kModeWall, BuildTwoRooms);
    CDataLevel original;
    BuildTwoRooms(original);
    EditHistory history;
    EXPECT_FALSE(history.IsModified());

    v.Select({{0, 0, -1, -1}});
    RunCommand(history, v, "Insert", InsertAtSelection); // splits wall 0: five walls
    v.Select({{1, 3, -1, -1}});
    RunCommand(history, v, "Unlink", UnlinkSelection);
    ASSERT_EQ(history.UndoCount(), 2u);
    EXPECT_EQ(history.UndoLabel(), "Unlink");
    EXPECT_TRUE(history.IsModified());
    history.MarkSaved();
    EXPECT_FALSE(history.IsModified());

    ASSERT_TRUE(history.Undo(v.engine));
    EXPECT_TRUE(history.IsModified()) << "the saved state is the one after the unlink";
    EXPECT_EQ(v.wall(1, 3).m_nAdjoin, 0);
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{{1, 3, -1, -1}}));
    ASSERT_TRUE(history.Undo(v.engine));
    EXPECT_EQ(CountDifferences(v.level(), original), 0);
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{{0, 0, -1, -1}}));
    EXPECT_FALSE(history.Undo(v.engine));

    ASSERT_TRUE(history.Redo(v.engine));
    ASSERT_TRUE(history.Redo(v.engine));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.IsModified());
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 5u);
    EXPECT_EQ(v.wall(1, 3).m_nAdjoin, -1);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(EditHistory, RefusedCommandsLeaveNoStepAndANewStepDropsRedo) {
    EngineView v(kModeWall, BuildTwoRooms);
    EditHistory history;
    v.Select({{0, 1, -1, -1}});
    RunCommand(history, v, "Extrude", [](CMapEngine& e) { return ExtrudeSelection(e); }); // adjoined: refused
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.IsModified());

    v.Select({{0, 0, -1, -1}});
    RunCommand(history, v, "Extrude", [](CMapEngine& e) { return ExtrudeSelection(e); });
    ASSERT_TRUE(history.Undo(v.engine));
    EXPECT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_TRUE(history.CanRedo());
    v.Select({{0, 2, -1, -1}});
    RunCommand(history, v, "Insert", InsertAtSelection);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.RedoLabel(), "");
}

TEST(EditHistory, BudgetDropsTheOldestStepsButKeepsTheNewest) {
    EngineView v(kModeWall, BuildTwoRooms);
    EditHistory history(1); // every snapshot is over budget
    for (int i = 0; i < 3; ++i) {
        v.Select({{0, 0, -1, -1}});
        RunCommand(history, v, "Insert", InsertAtSelection);
    }
    EXPECT_EQ(history.UndoCount(), 1u);
    ASSERT_TRUE(history.Undo(v.engine));
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 6u) << "only the last split is undone";
    EXPECT_TRUE(history.IsModified());
}

} // namespace
} // namespace morvi
