#include "document/LevelSnapshot.h"

#include "document/CMorviDoc.h"

#include "model/LevelChecker.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace morvi {
namespace {

using testing::GameTexts;
using testing::WriteGameTexts;

std::vector<std::string> Findings(const CDataLevel& level) {
    std::vector<std::string> lines;
    // The hand-made moves pull walls apart as a drag may; the records must still hold together.
    for (const LevelFinding& f : checkLevel(level))
        if (f.m_Problem == LevelFinding::Problem::BrokenReference) lines.push_back(f.m_strText);
    return lines;
}

int IndexOfUnnamedAdjoinedSector(const CDataLev& lev) {
    for (std::size_t s = 0; s < lev.m_pSectors.size(); ++s) {
        const CDataSector& sector = *lev.m_pSectors[s];
        const bool adjoined = std::any_of(sector.m_pWalls.begin(), sector.m_pWalls.end(),
                                          [](const auto& w) { return w->m_nAdjoin >= 0; });
        if (sector.m_strName.empty() && adjoined) return static_cast<int>(s);
    }
    return -1;
}

// Deletes sector k as an editor must: walls that adjoined it become solid, higher sector numbers
// move down by one, objects inside it lose their sector.
void DeleteSector(CDataLevel& level, int k) {
    auto& sectors = level.m_Lev.m_pSectors;
    sectors.erase(sectors.begin() + k);
    const auto renumber = [k](int& n) {
        if (n == k)
            n = -1;
        else if (n > k)
            --n;
    };
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        sectors[s]->m_nIndex = static_cast<int>(s);
        for (auto& wall : sectors[s]->m_pWalls) {
            if (wall->m_nAdjoin == k) wall->m_nMirror = -1;
            renumber(wall->m_nAdjoin);
            renumber(wall->m_nWalk);
        }
    }
    for (auto& object : level.m_Objects.m_pObjects)
        renumber(object->m_nSector);
}

void MoveVertices(CDataLevel& level) {
    for (std::size_t s = 0; s < level.m_Lev.m_pSectors.size(); s += 3)
        for (auto& v : level.m_Lev.m_pSectors[s]->m_pVertices) {
            v->m_dX += 8.0;
            v->m_dZ -= 4.25;
        }
}

void AddObjects(CDataLevel& level) {
    for (int i = 0; i < 3; ++i) {
        auto object = std::make_unique<CDataObjectItem>();
        object->m_nIndex = static_cast<int>(level.m_Objects.m_pObjects.size());
        object->m_strClass = "SAFE";
        object->m_strData = "";
        object->m_dX = 10.0 * i;
        object->m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "PLAYER"));
        level.m_Objects.m_pObjects.push_back(std::move(object));
    }
    level.m_Objects.m_pObjects.front()->m_pSeqs.clear();
    level.m_Objects.m_pObjects.front()->m_dYaw = 90.0;
}

void EditInf(CDataLevel& level) {
    auto& items = level.m_Inf.m_pItems;
    ASSERT_GE(items.size(), 3u);
    items.back()->m_Lines.push_back("speed:\t40");
    items[1]->m_Lines.clear();
    items.erase(items.begin() + 2);
    testing::AddItem(level.m_Inf, "sector", "newdoor", -1,
                     {"seq", "class:\televator change_light", "seqend"});
    level.m_Inf.m_strAuthor = "Someone Else";
}

void EditTablesAndHeaders(CDataLevel& level) {
    level.m_Lev.FindOrAddTexture("NEWTEX.BM");
    level.m_Lev.m_strMusic = "OTHER.GMD";
    level.m_Lev.m_dParallax1 = 512.0;
    level.m_Objects.m_Pods.emplace_back(static_cast<int>(level.m_Objects.m_Pods.size()), "CRATE.3DO");
    level.m_Objects.m_Sprs.front().m_strName = "RENAMED.WAX";
    level.m_Objects.m_strLevelName = "ELSEWHERE";
}

struct Fixture {
    CMorviDoc doc;
    CDataLevel original;
    GameTexts texts;

    Fixture() {
        testing::BuildSyntheticLevel(doc.level(), testing::SyntheticLevelOptions::Small());
        testing::BuildSyntheticLevel(original, testing::SyntheticLevelOptions::Small());
        texts = WriteGameTexts(original);
        doc.selection() = {{2, 1, -1, -1}, {5, 0, -1, -1}};
        doc.m_nMode = kModeWall;
    }

    LevelSnapshot Capture() const {
        return LevelSnapshot::Capture(doc.level(), doc.selection(), doc.m_nMode);
    }
    void Restore(const LevelSnapshot& snapshot) {
        snapshot.Restore(doc.level(), doc.selection(), doc.m_nMode);
    }

    void ExpectOriginal() {
        EXPECT_EQ(testing::CountDifferences(doc.level(), original), 0);
        EXPECT_EQ(WriteGameTexts(doc.level()), texts);
        EXPECT_EQ(Findings(doc.level()), std::vector<std::string>{});
    }
};

TEST(LevelSnapshot, RestoreUndoesEveryKindOfEdit) {
    Fixture f;
    const std::vector<CMapSelItem> selected = f.doc.selection();
    const LevelSnapshot snapshot = f.Capture();
    CDataLevel& level = f.doc.level();

    MoveVertices(level);
    const int k = IndexOfUnnamedAdjoinedSector(level.m_Lev);
    ASSERT_GE(k, 0);
    DeleteSector(level, k);
    AddObjects(level);
    EditInf(level);
    EditTablesAndHeaders(level);
    f.doc.selection() = {{-1, -1, -1, 4}};
    f.doc.m_nMode = kModeObject;
    // The hand-made deletion itself must be sound, or the test would prove nothing about restore.
    ASSERT_EQ(Findings(level), std::vector<std::string>{});
    ASSERT_NE(WriteGameTexts(level), f.texts);

    f.Restore(snapshot);
    f.ExpectOriginal();
    EXPECT_EQ(f.doc.selection(), selected);
    EXPECT_EQ(f.doc.m_nMode, kModeWall);
}

TEST(LevelSnapshot, SnapshotsAreIndependentOfLaterEditsAndOfEachOther) {
    Fixture f;
    CDataLevel& level = f.doc.level();
    const LevelSnapshot first = f.Capture();
    MoveVertices(level);
    AddObjects(level);
    const GameTexts middle = WriteGameTexts(level);
    const LevelSnapshot second = f.Capture();
    EditInf(level);
    DeleteSector(level, IndexOfUnnamedAdjoinedSector(level.m_Lev));

    first.RestoreLevel(f.doc.level());
    f.ExpectOriginal();
    // Restoring must not hand the snapshot's storage to the level: edit again, restore again.
    MoveVertices(level);
    level.m_Inf.m_pItems.front()->m_Lines.push_back("extra:\t1");
    first.RestoreLevel(f.doc.level());
    f.ExpectOriginal();

    second.RestoreLevel(f.doc.level());
    EXPECT_EQ(WriteGameTexts(level), middle);
    EXPECT_EQ(Findings(level), std::vector<std::string>{});
    first.RestoreLevel(f.doc.level());
    f.ExpectOriginal();
}

TEST(LevelSnapshot, RestoresIntoFreshLevelsAndEmptiesLevels) {
    Fixture f;
    const LevelSnapshot snapshot = LevelSnapshot::Capture(f.doc.level());
    EXPECT_TRUE(snapshot.selection().empty());
    CDataLevel fresh;
    snapshot.RestoreLevel(fresh);
    EXPECT_EQ(testing::CountDifferences(fresh, f.original, {.members = false}), 0);
    EXPECT_EQ(WriteGameTexts(fresh), f.texts);

    // An empty level restored over a full one leaves nothing behind.
    CDataLevel empty;
    const GameTexts emptyTexts = WriteGameTexts(empty);
    LevelSnapshot::Capture(empty).RestoreLevel(f.doc.level());
    EXPECT_TRUE(f.doc.level().m_Lev.m_pSectors.empty());
    EXPECT_TRUE(f.doc.level().m_Objects.m_pObjects.empty());
    EXPECT_TRUE(f.doc.level().m_Inf.m_pItems.empty());
    EXPECT_EQ(WriteGameTexts(f.doc.level()), emptyTexts);
}

TEST(LevelSnapshot, KeepsValuesTheTextsDoNotCarry) {
    CDataLevel level;
    testing::BuildRoomWithPillar(level);
    CDataSector& room = *level.m_Lev.m_pSectors[0];
    room.m_pVertices[0]->m_dX = 0.1 + 0.2; // not a hundredth: a text would round it
    room.m_pWalls[2]->m_nOldMirror = 7;
    room.m_pWalls[3]->m_Sign.m_dOffsetY = -1.0 / 3.0;
    room.m_strName = std::string("with\0nul", 8) + std::string(300, 'x');
    level.m_Objects.m_pObjects.push_back(std::make_unique<CDataObjectItem>());
    level.m_Objects.m_pObjects[0]->m_nSector = 1;
    level.m_Objects.m_pObjects[0]->m_crColour = 0x00ABCDEF;
    testing::AddItem(level.m_Inf, "wall", "door", 3, {"", std::string(1000, 'l')});

    const LevelSnapshot snapshot = LevelSnapshot::Capture(level);
    CDataLevel copy;
    testing::BuildTwoRooms(copy); // different records to overwrite
    snapshot.RestoreLevel(copy);
    EXPECT_EQ(testing::CountDifferences(copy, level, {.members = false}), 0);
    const CDataSector& restored = *copy.m_Lev.m_pSectors[0];
    EXPECT_EQ(restored.m_pVertices[0]->m_dX, 0.1 + 0.2);
    EXPECT_EQ(restored.m_pWalls[2]->m_nOldMirror, 7);
    EXPECT_EQ(restored.m_pWalls[3]->m_Sign.m_dOffsetY, -1.0 / 3.0);
    EXPECT_EQ(restored.m_strName, room.m_strName);
    EXPECT_EQ(copy.m_Inf.m_pItems[0]->m_Lines, level.m_Inf.m_pItems[0]->m_Lines);
    EXPECT_EQ(copy.m_Objects.m_pObjects[0]->m_crColour, 0x00ABCDEFu);
}

TEST(LevelSnapshot, HoldsNoMoreThanTheLevelTexts) {
    CDataLevel level;
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
    const GameTexts texts = WriteGameTexts(level);
    const LevelSnapshot snapshot = LevelSnapshot::Capture(level);
    EXPECT_GT(snapshot.MemoryBytes(), 0u);
    EXPECT_LE(snapshot.MemoryBytes(), texts.lev.size() + texts.o.size() + texts.inf.size());
}

} // namespace
} // namespace morvi
