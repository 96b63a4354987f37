#include "resources/LevelResourceFiles.h"

#include "model/CDataLevel.h"
#include "model/LevelChecker.h"
#include "resources/PickerRules.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using Names = std::vector<std::string>;

std::vector<std::uint8_t> Bytes(std::size_t n) {
    return std::vector<std::uint8_t>(n, 0x5A);
}

Names MemberNames(const CDataLevel& level) {
    Names names;
    for (const auto& m : level.m_pMembers)
        names.push_back(m->m_strName);
    return names;
}

Names ListNames(const std::vector<CDataGobEntry*>& list) {
    Names names;
    for (const CDataGobEntry* m : list)
        names.push_back(m->m_strName);
    return names;
}

CDataLevel Archive(std::initializer_list<const char*> names) {
    CDataLevel level;
    for (const char* name : names)
        EXPECT_TRUE(level.AddMember(name, Bytes(4)));
    level.m_LevelNames = {"SECBASE", "TALAY"};
    return level;
}

TEST(LevelResourceFiles, ShownMembers) {
    CDataLevel level =
        Archive({"SECBASE.LEV", "SECBASE.O",   "SECBASE.INF", "SECBASE.GOL", "SECBASE.LVL", "SECBASE.MSG",
                 "SECBASE.PAL", "SECBASE.CMP", "TALAY.PAL",   "TALAY.CMP",   "ENEMY.WAX",   "WALL.BM",
                 "SHOT.FME",    "SHIP.3DO",    "BEEP.VOC",    "SHIP.VUE",    "OBJ.LST",     "SONG.GMD",
                 "CUT.LFD",     "ANIM.DLT",    "README.TXT"});
    auto shown = [&level] {
        Names names;
        for (std::size_t i : ShownResources(level))
            names.push_back(level.m_pMembers[i]->m_strName);
        return names;
    };
    const Names kinds{"ENEMY.WAX", "WALL.BM", "SHOT.FME", "SHIP.3DO", "BEEP.VOC",
                      "SHIP.VUE",  "OBJ.LST", "SONG.GMD", "CUT.LFD",  "ANIM.DLT"};
    Names secbase{"SECBASE.PAL", "SECBASE.CMP"};
    secbase.insert(secbase.end(), kinds.begin(), kinds.end());
    EXPECT_EQ(shown(), secbase);
    // Switching levels shows the other palette; SECBASE.PAL stays in the archive.
    level.m_nCurrentLevel = 1;
    Names talay{"TALAY.PAL", "TALAY.CMP"};
    talay.insert(talay.end(), kinds.begin(), kinds.end());
    EXPECT_EQ(shown(), talay);
    EXPECT_NE(level.FindMember("SECBASE.PAL"), nullptr);
}

TEST(LevelResourceFiles, ShownNamesIgnoreCaseAndNeedALevelForPalettes) {
    EXPECT_TRUE(IsShownResource("secbase.pal", "SecBase"));
    EXPECT_FALSE(IsShownResource("X.CMP", ""));
    EXPECT_FALSE(IsShownResource("", "SECBASE"));
}

// Offsets follow each other from the header's eight bytes, after additions and deletions alike;
// a layout past 4 GB is refused and leaves the offsets as they were.
TEST(LevelResourceFiles, OffsetsFollowEachOtherFromEight) {
    CDataLevel level;
    ASSERT_TRUE(level.AddMember("A.BM", Bytes(100)));
    ASSERT_TRUE(level.AddMember("B.VOC", Bytes(50)));
    ASSERT_TRUE(AddResource(level, "C.WAX", Bytes(7)));
    const auto offsets = [&level] {
        EXPECT_TRUE(RecomputeOffsets(level));
        std::vector<std::uint32_t> all;
        for (const auto& m : level.m_pMembers)
            all.push_back(m->m_nOffset);
        return all;
    };
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{8, 108, 158}));
    ASSERT_TRUE(DeleteResource(level, 0));
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{8, 58}));

    // Only the sizes take part in the layout, so large members need not be allocated.
    level.m_pMembers[0]->m_nSize = 0xFFFFFFFFu;
    const Status status = RecomputeOffsets(level);
    level.m_pMembers[0]->m_nSize = 50;
    EXPECT_EQ(status.message(), "Files: the members together exceed the 4 GB a GOB can hold.");
    EXPECT_EQ(level.m_pMembers[1]->m_nOffset, 58u);
}

TEST(LevelResourceFiles, AddUpperCasesFillsTheKindListAndRefusesLongNames) {
    CDataLevel level;
    ASSERT_TRUE(AddResource(level, "C:\\levels\\art/enemy.wax", Bytes(3)));
    ASSERT_TRUE(AddResource(level, "wall.bm", Bytes(3)));
    ASSERT_TRUE(AddResource(level, "abcdefgh.voc", Bytes(3)));
    EXPECT_EQ(MemberNames(level), (Names{"ENEMY.WAX", "WALL.BM", "ABCDEFGH.VOC"}));
    EXPECT_EQ(level.m_pMembers[0]->m_nSize, 3u);
    EXPECT_EQ(ListNames(level.m_Sprites), (Names{"ENEMY.WAX"}));
    EXPECT_EQ(ListNames(level.m_Bitmaps), (Names{"WALL.BM"}));
    EXPECT_EQ(ListNames(level.m_Sounds), (Names{"ABCDEFGH.VOC"}));
    // The added sprite is at once a picker candidate.
    const Names own = LevelResourceNames(level, ".wax");
    EXPECT_EQ(PickerList(".wax", 0, Names{}, own), (Names{"enemy.wax"}));

    const Status tooLong = AddResource(level, "dir/abcdefghi.wax", Bytes(3));
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(tooLong.message(),
              "Add: the name ABCDEFGHI.WAX has 13 characters; a GOB member name holds at most 12.");
    EXPECT_FALSE(AddResource(level, "dir/", Bytes(3)));
    EXPECT_EQ(level.m_pMembers.size(), 3u);
    EXPECT_EQ(level.m_Sprites.size(), 1u);
}

// The kind lists follow deletions; frames are picked from WAX and FME members alike.
TEST(LevelResourceFiles, DeleteKeepsKindListsInStep) {
    CDataLevel level = Archive({"SECBASE.LEV", "A.WAX", "B.FME", "C.BM", "D.3DO", "E.VOC", "F.BM"});
    EXPECT_EQ(LevelResourceNames(level, ".FME"), (Names{"A.WAX", "B.FME"}));
    EXPECT_EQ(LevelResourceNames(level, ".bm"), (Names{"C.BM", "F.BM"}));
    EXPECT_TRUE(LevelResourceNames(level, ".pal").empty());
    ASSERT_TRUE(DeleteResource(level, 3));
    ASSERT_TRUE(DeleteResource(level, 1));
    EXPECT_TRUE(checkLevel(level).empty());
    EXPECT_EQ(MemberNames(level), (Names{"SECBASE.LEV", "B.FME", "D.3DO", "E.VOC", "F.BM"}));
    EXPECT_EQ(ListNames(level.m_Bitmaps), (Names{"F.BM"}));
    EXPECT_EQ(ListNames(level.m_Sprites), (Names{"B.FME"}));
    EXPECT_EQ(ListNames(level.m_Models3D), (Names{"D.3DO"}));
    EXPECT_EQ(LevelResourceNames(level, ".voc"), (Names{"E.VOC"}));

    const Status missing = DeleteResource(level, 5);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.message(), "Delete: there is no member 5.");
    EXPECT_EQ(level.m_pMembers.size(), 5u);
}

} // namespace
} // namespace morvi
