#include "document/CMorviDoc.h"

#include "gamefiles/LevelTexts.h"
#include "mapedit/ClipboardLibrary.h"
#include "mapedit/StructuralEdits.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi {
namespace {

using testing::BuildTwoRooms;
using testing::CountDifferences;
using testing::EngineView;
using testing::FindingsText;
using Selection = std::vector<CMapSelItem>;

// Runs one command as the editor does: through the document's funnel.
EditResult Command(EngineView& v, const char* label, EditResult (*command)(const EditContext&)) {
    v.doc.BeginChange();
    const EditResult result = command(v.engine.Context());
    v.doc.EndChange(label, ChangesOf(result));
    return result;
}

// Two rooms in an archive with the level's texts and a texture, as a loaded GOB holds them.
void BuildArchivedRooms(CDataLevel& level) {
    BuildTwoRooms(level);
    for (const char* member : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL"})
        ASSERT_TRUE(level.AddMember(member, {}));
    const std::uint8_t texture[] = {1, 2, 3};
    ASSERT_TRUE(level.AddMember("WALL.BM", texture));
    level.m_LevelNames = {"SECBASE"};
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    ASSERT_TRUE(SetLevelText(level, LevelText::Inf,
                             "INF 1.0\r\nitems 1\r\nitem: sector name: door\r\n"
                             "seq\r\nclass: elevator door\r\nseqend\r\n"));
}

TEST(CMorviDoc, UndoAndRedoWalkTheStepsAndTheModifiedMarkFollows) {
    EngineView v(kModeWall, BuildTwoRooms);
    CDataLevel original;
    BuildTwoRooms(original);
    int historyNotes = 0, geometryNotes = 0;
    auto c1 = v.doc.m_HistoryChanged.Connect([&] { ++historyNotes; });
    auto c2 = v.doc.m_GeometryChanged.Connect([&] { ++geometryNotes; });
    EXPECT_FALSE(v.doc.IsModified());

    v.Select({{0, 0, -1, -1}});
    Command(v, "Insert", InsertAtSelection); // splits wall 0: five walls
    v.Select({{1, 3, -1, -1}});
    Command(v, "Unlink", UnlinkSelection);
    EXPECT_EQ(v.doc.HistoryLabels(), (std::vector<std::string>{"Insert", "Unlink"}));
    EXPECT_EQ(v.doc.UndoLabel(), "Unlink");
    EXPECT_EQ(std::tie(historyNotes, geometryNotes), std::tuple(2, 2));
    EXPECT_TRUE(v.doc.IsModified());
    const testing::TempDir dir;
    ASSERT_TRUE(v.doc.SaveAs(dir.path() / "undo.mrv"));
    EXPECT_FALSE(v.doc.IsModified());

    ASSERT_TRUE(v.doc.Undo());
    EXPECT_TRUE(v.doc.IsModified()) << "the saved state is the one after the unlink";
    EXPECT_EQ(v.wall(1, 3).m_nAdjoin, 0);
    EXPECT_EQ(v.engine.selection(), (Selection{{1, 3, -1, -1}}));
    ASSERT_TRUE(v.doc.Undo());
    EXPECT_EQ(CountDifferences(v.level(), original), 0);
    EXPECT_EQ(v.engine.selection(), (Selection{{0, 0, -1, -1}}));
    EXPECT_FALSE(v.doc.Undo());

    // Back and forth through the history list.
    v.doc.GoToHistoryPosition(2);
    EXPECT_FALSE(v.doc.CanRedo());
    EXPECT_FALSE(v.doc.IsModified());
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 5u);
    EXPECT_EQ(v.wall(1, 3).m_nAdjoin, -1);
    v.doc.GoToHistoryPosition(1);
    EXPECT_EQ(std::tie(v.doc.UndoLabel(), v.doc.RedoLabel()), std::tuple("Insert", "Unlink"));
    EXPECT_EQ(FindingsText(v.level()), "");

    // A document saved in the 3D view opens on its map.
    v.doc.m_nMode = kModePerspective;
    ASSERT_TRUE(v.doc.SaveAs(dir.path() / "in3d.mrv"));
    CMorviDoc reopened;
    ASSERT_TRUE(reopened.Open(dir.path() / "in3d.mrv", {}));
    EXPECT_EQ(reopened.m_nMode, kModeSector);
}

TEST(CMorviDoc, OnlyChangesOfTheLevelMakeSteps) {
    EngineView v(kModeWall, BuildTwoRooms);
    int selectionNotes = 0;
    auto watch = v.doc.m_SelectionChanged.Connect([&] { ++selectionNotes; });
    v.Select({{0, 1, -1, -1}});
    Command(v, "Extrude", [](const EditContext& e) { return ExtrudeSelection(e); }); // adjoined: refused
    EXPECT_FALSE(v.doc.CanUndo());
    EXPECT_FALSE(v.doc.IsModified());

    // A change of the selection alone is told but makes no step.
    v.doc.BeginChange();
    v.doc.selection() = {{1, 0, -1, -1}};
    v.doc.EndChange("Select", kChangedSelection);
    EXPECT_EQ(selectionNotes, 1);
    EXPECT_FALSE(v.doc.CanUndo());

    // Nested changes make one step, named by the outermost; its undo takes back what the outer
    // change did before the inner one began.
    v.Select({{0, 0, -1, -1}});
    v.doc.m_bGridOn = 0; // the view's coarse grid would put the far corners back on the wall
    v.doc.BeginChange();
    v.sector(1).m_dFloorAltitude = -3;
    Command(v, "Extrude", [](const EditContext& e) { return ExtrudeSelection(e); });
    v.doc.EndChange("Outer", kChangedNothing);
    EXPECT_EQ(v.doc.HistoryLabels(), std::vector<std::string>{"Outer"});
    ASSERT_TRUE(v.doc.Undo());
    EXPECT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(v.sector(1).m_dFloorAltitude, 0);
    EXPECT_TRUE(v.doc.CanRedo());
    v.Select({{0, 2, -1, -1}});
    Command(v, "Insert", InsertAtSelection);
    EXPECT_FALSE(v.doc.CanRedo());
}

TEST(CMorviDoc, BudgetDropsTheOldestStepsButKeepsTheNewest) {
    EngineView v(kModeWall, BuildTwoRooms);
    EditHistory history(1); // every snapshot is over budget
    for (int i = 0; i < 3; ++i) {
        v.Select({{0, 0, -1, -1}});
        history.Begin(v.level(), v.doc.selection(), v.doc.m_nMode);
        ASSERT_TRUE(InsertAtSelection(v.engine).m_bChanged);
        history.Commit("Insert");
    }
    EXPECT_EQ(history.UndoCount(), 1u);
    ASSERT_TRUE(history.Undo(v.level(), v.doc.selection(), v.doc.m_nMode));
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 6u) << "only the last split is undone";
    EXPECT_TRUE(history.IsModified());
}

// Changes made outside the map commands (the text windows, the level settings, the resources a
// paste brings) are steps like any other, and undoing any of them, or an earlier one, gives back
// every member byte for byte with a level that agrees with them.
TEST(CMorviDoc, UndoGivesBackTheArchiveToo) {
    EngineView v(kModeWall, BuildArchivedRooms);
    const CDataLevel& level = v.level();
    const auto gol = [&] { return GetLevelText(level, LevelText::Gol).value_or("?"); };
    const auto inf = [&] { return GetLevelText(level, LevelText::Inf).value_or("?"); };
    const std::string infBefore = inf();
    const auto change = [&](const char* label, unsigned flags, auto apply) {
        v.doc.BeginChange();
        apply();
        v.doc.EndChange(label, flags);
    };

    v.Select({{0, 0, -1, -1}});
    Command(v, "Insert", InsertAtSelection);
    change("INF Text", kChangedMembers | kChangedInf, [&] {
        SetLevelText(
            v.level(), LevelText::Inf,
            "INF 1.0\r\nitems 1\r\nitem: sector name: door\r\nseq\r\nclass: elevator inv\r\nseqend\r\n");
    });
    change("GOL Text", kChangedMembers, [&] { SetLevelText(v.level(), LevelText::Gol, "GOAL: 1\r\n"); });
    change("Level Settings", kChangedMembers, [&] { ASSERT_TRUE(v.level().RenameLevel("TALAY")); });

    // What a paste of a copy from another level brings: its texture replaces this one's bytes.
    EngineView other(kModeSector, BuildArchivedRooms);
    const std::uint8_t newer[] = {9, 9, 9, 9};
    other.level().FindMember("WALL.BM")->SetData(newer);
    other.Select({{1, -1, -1, -1}});
    ClipboardBuffer clipboard;
    ASSERT_TRUE(Copy(other.engine, clipboard).m_strMessage.empty());
    v.doc.m_nMode = kModeSector;
    v.doc.BeginChange();
    const EditResult pasted = Paste(v.engine, clipboard);
    v.doc.EndChange("Paste", ChangesOf(pasted));
    ASSERT_TRUE(pasted.m_bMembersChanged);
    ASSERT_EQ(level.FindMember("WALL.BM")->m_nSize, 4u);
    EXPECT_EQ(v.doc.HistoryLabels(),
              (std::vector<std::string>{"Insert", "INF Text", "GOL Text", "Level Settings", "Paste"}));

    ASSERT_TRUE(v.doc.Undo()); // the paste
    EXPECT_EQ(level.FindMember("WALL.BM")->m_nSize, 3u);
    ASSERT_TRUE(v.doc.Undo()); // the rename: members and header agree again
    EXPECT_EQ(std::tie(level.m_Lev.m_strLevelName, level.m_LevelNames[0]), std::tuple("SECBASE", "SECBASE"));
    EXPECT_NE(level.FindMember("SECBASE.LEV"), nullptr);
    ASSERT_TRUE(v.doc.Undo()); // the GOL text
    EXPECT_EQ(gol(), "");
    v.doc.GoToHistoryPosition(0);
    EXPECT_EQ(inf(), infBefore);
    EXPECT_EQ(level.m_Inf.m_pItems[0]->m_Lines[0], "class:\televator door");

    v.doc.GoToHistoryPosition(5);
    EXPECT_EQ(level.m_Inf.m_pItems[0]->m_Lines[0], "class:\televator inv");
    EXPECT_NE(inf().find("elevator inv"), std::string::npos);
    EXPECT_EQ(std::tuple(level.m_LevelNames[0], gol()), std::tuple("TALAY", "GOAL: 1\r\n"));
    EXPECT_EQ(level.FindMember("WALL.BM")->data()[0], 9);
}

// The selection is the document's: a change made in one view and undone is seen by every view.
TEST(CMorviDoc, ViewsShareTheSelectionThroughUndo) {
    EngineView first(kModeWall, BuildTwoRooms);
    Settings settings;
    CMapEngine second(first.doc, settings);
    first.Select({{0, 0, -1, -1}});
    Command(first, "Insert", InsertAtSelection);
    first.doc.SetSelection({{1, 2, -1, -1}});
    EXPECT_EQ(second.selection(), (Selection{{1, 2, -1, -1}}));
    second.drawing().AssignObjectSectors();
    ASSERT_FALSE(second.drawing().objectsDirty());
    ASSERT_TRUE(first.doc.Undo());
    EXPECT_EQ(second.selection(), (Selection{{0, 0, -1, -1}}));
    EXPECT_TRUE(second.drawing().objectsDirty()) << "every view's caches follow the undone geometry";
}

} // namespace
} // namespace morvi
