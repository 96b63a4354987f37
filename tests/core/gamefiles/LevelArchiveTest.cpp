#include "gamefiles/LevelArchive.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Member = std::pair<std::string, std::string>;
using Strings = std::vector<std::string>;
using testing::Succeeded;

// An archive of these members, made by the container writer, the names written as given.
Bytes ArchiveOf(const std::vector<Member>& members) {
    GobArchive archive;
    for (const auto& [name, data] : members) {
        EXPECT_TRUE(Succeeded(
            archive.AddMember(name, {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()})));
        archive.m_pMembers.back()->m_strName = name;
    }
    Bytes bytes;
    EXPECT_TRUE(Succeeded(WriteGob(archive, bytes)));
    return bytes;
}

// A level built in code, with an object and an INF item besides its sectors, held as the text
// readers hold what they read.
void Furnish(CDataLevel& level, void (*build)(CDataLevel&), std::string_view name) {
    build(level);
    level.m_Lev.m_strLevelName = level.m_Objects.m_strLevelName = level.m_Inf.m_strLevelName =
        std::string(name);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    auto object = std::make_unique<CDataObjectItem>();
    object->m_strData = "OFFCFIN.WAX";
    std::tie(object->m_dX, object->m_dY, object->m_dZ, object->m_dYaw) = std::tuple(12.5, -2.0, 30.25, 90.0);
    object->m_nDiff = 1;
    object->m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "I_OFFICERR"));
    SetObjectDataIndex(level.m_Objects, *object);
    AssignObjectColour(*object, object->m_pSeqs[0].get());
    level.m_Objects.m_pObjects.push_back(std::move(object));
    testing::AddItem(level.m_Inf, "sector", "door", -1,
                     {"class:\televator move_ceiling", "stop:\t0 hold", "stop:\t-8 hold"});
}

// The LEV, O and INF texts of a level, written by the game-text writers.
std::vector<Member> TextsOf(CDataLevel& level, const std::string& name, std::string_view title) {
    const testing::GameTexts t = testing::WriteGameTexts(level, title);
    return {{name + ".LEV", t.lev}, {name + ".O", t.o}, {name + ".INF", t.inf}};
}

std::vector<Member> LevelMembers(void (*build)(CDataLevel&), const std::string& name,
                                 std::vector<Member> more = {}) {
    CDataLevel level;
    Furnish(level, build, name);
    std::vector<Member> members = TextsOf(level, name, kGeneratorTitle);
    members.insert(members.end(), more.begin(), more.end());
    return members;
}

// Whether the level's LEV, O and INF parts are those of the level built in code.
void ExpectBuiltModel(const CDataLevel& loaded, void (*build)(CDataLevel&), std::string_view name) {
    CDataLevel built;
    Furnish(built, build, name);
    EXPECT_EQ(testing::CountDifferences(loaded, built, {.members = false, .objectSectors = false}), 0);
}

// A chooser that remembers what it was shown.
struct RecordingChooser {
    std::optional<int> m_Answer;
    int m_nCalls = 0;
    Strings m_Shown = {};
    LevelChooser get() {
        return [this](const Strings& names, int current) -> std::optional<int> {
            ++m_nCalls;
            m_Shown = names;
            EXPECT_EQ(current, 0);
            return m_Answer;
        };
    }
};

TEST(LevelArchive, OneLevelWithItsResources) {
    std::vector<Member> members = LevelMembers(testing::BuildTwoRooms, "SECBASE");
    // Old tools wrote lower-case names; the level's texts are still found.
    for (auto& member : members)
        member.first = ToLower(member.first);
    members.insert(members.end(), {{"IF3.BM", "1"},
                                   {"RWRWALL1.BM", "2"},
                                   {"OFFCFIN.WAX", "w"},
                                   {"DOOR.3DO", "3"},
                                   {"BEEP.VOC", "v"},
                                   {"JEDI.LVL", "l"}});
    const Bytes bytes = ArchiveOf(members);
    RecordingChooser chooser;
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "secbase.gob", chooser.get())));

    EXPECT_EQ(chooser.m_nCalls, 0);
    EXPECT_EQ(level.m_LevelNames, Strings{"SECBASE"});
    EXPECT_EQ(std::tuple(level.m_nCurrentLevel, level.m_pMembers[0]->m_strName, level.m_strGeneratorTitle),
              std::tuple(0, "SECBASE.LEV", kGeneratorTitle));
    EXPECT_EQ(std::tuple(level.m_pMembers.size(), level.m_Bitmaps.size(), level.m_Sprites.size(),
                         level.m_Models3D.size(), level.m_Sounds.size()),
              std::tuple(9u, 2u, 1u, 1u, 1u));
    ExpectBuiltModel(level, testing::BuildTwoRooms, "SECBASE");
}

TEST(LevelArchive, ChosenLevelIsLoadedAndOnlyItsTextsAreRegenerated) {
    const std::vector<Member> a = LevelMembers(testing::BuildTwoRooms, "A");
    const Bytes bytes = ArchiveOf(LevelMembers(testing::BuildRoomWithPillar, "B", a));
    RecordingChooser chooser{.m_Answer = 1};
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "two.gob", chooser.get())));
    EXPECT_EQ(std::tie(chooser.m_nCalls, chooser.m_Shown), std::tuple(1, Strings{"B", "A"}));
    EXPECT_EQ(level.CurrentLevelName(), "A");
    ExpectBuiltModel(level, testing::BuildTwoRooms, "A");

    level.m_Lev.m_strAuthor = "Jan";
    level.m_Magic = {{'G', 'O', 'B', 0x1A}};
    Bytes saved;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved, "1.00")));
    EXPECT_EQ(std::tie(level.m_Objects.m_strAuthor, level.m_strGeneratorTitle), std::tuple("Jan", "1.00"));
    Bytes expected = ArchiveOf(LevelMembers(testing::BuildRoomWithPillar, "B", TextsOf(level, "A", "1.00")));
    expected[3] = 0x1A;
    EXPECT_EQ(saved, expected);
}

TEST(LevelArchive, RefusedChoiceOrDamagedArchiveLeavesTheLevelAlone) {
    const Bytes two = ArchiveOf(LevelMembers(testing::BuildRoom, "A", LevelMembers(testing::BuildRoom, "B")));
    const Bytes cut(two.begin(), two.end() - 5);
    const std::pair<const Bytes*, std::optional<int>> cases[] = {
        {&two, {}}, {&two, 2}, {&two, -1}, {&cut, 1}};
    CDataLevel level;
    testing::BuildRoom(level);
    ASSERT_TRUE(Succeeded(level.AddMember("KEEP.TXT", {})));
    level.m_LevelNames = {"OLD"};
    for (const auto& [bytes, answer] : cases) {
        SCOPED_TRACE(answer.value_or(99));
        RecordingChooser chooser{.m_Answer = answer};
        const Status status = LoadLevelBytes(level, *bytes, "two.gob", chooser.get());
        EXPECT_FALSE(status);
        EXPECT_EQ(status.message().rfind("two.gob: ", 0), 0u) << status.message();
        ASSERT_EQ(level.m_pMembers.size(), 1u);
        EXPECT_EQ(level.m_pMembers[0]->m_strName, "KEEP.TXT");
        EXPECT_EQ(level.m_LevelNames, Strings{"OLD"});
        EXPECT_EQ(level.m_Lev.m_pSectors.size(), 1u);
    }
}

TEST(LevelArchive, ArchiveWithoutLevelsKeepsItsMembersButNotTheBackups) {
    const Bytes bytes = ArchiveOf({{"A.BM", "a"}, {"A.BM.BAK", "old"}, {"B.VOC", "b"}});
    RecordingChooser chooser;
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "bak.gob", chooser.get())));
    EXPECT_EQ(std::tuple(chooser.m_nCalls, level.m_LevelNames.size(), level.CurrentLevelName(),
                         level.m_Bitmaps.size()),
              std::tuple(0, 0u, "", 2u));

    Bytes saved;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved)));
    EXPECT_EQ(saved, ArchiveOf({{"A.BM", "a"}, {"B.VOC", "b"}}));
    EXPECT_EQ(level.m_nIndexOffset, 10u);
    EXPECT_EQ(level.m_Bitmaps, std::vector<CDataGobEntry*>{level.FindMember("A.BM")});
}

} // namespace
} // namespace morvi
