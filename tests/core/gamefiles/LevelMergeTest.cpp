#include "gamefiles/LevelMerge.h"
#include "gamefiles/LevelArchive.h"
#include "gamefiles/TestArchive.h"
#include "model/LevelChecker.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Member = std::pair<std::string, std::string>;
using Strings = std::vector<std::string>;
using testing::Succeeded;

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A level as a document holds it after opening an archive of the level's texts (its LEV text
// naming levelName, the members named after memberName) and the given other members.
CDataLevel OpenedLevel(const std::string& memberName, const std::string& levelName,
                       std::vector<Member> more = {}, std::string author = {}) {
    CDataLevel built;
    testing::BuildTwoRooms(built);
    built.m_Lev.m_strLevelName = built.m_Objects.m_strLevelName = levelName;
    built.m_Lev.m_strAuthor = author;
    testing::AddItem(built.m_Inf, "sector", "door", -1, {"class:\televator move_ceiling", "stop:\t0 hold"});
    const testing::GameTexts texts = testing::WriteGameTexts(built);
    GobArchive archive;
    for (const auto& [name, data] : std::vector<Member>{{memberName + ".LEV", texts.lev},
                                                        {memberName + ".O", texts.o},
                                                        {memberName + ".INF", texts.inf}})
        EXPECT_TRUE(Succeeded(archive.AddMember(name, AsBytes(data))));
    for (const auto& [name, data] : more)
        EXPECT_TRUE(Succeeded(archive.AddMember(name, AsBytes(data))));
    archive.m_Magic = {{'G', 'O', 'B', '\n'}};
    CDataLevel level;
    EXPECT_TRUE(Succeeded(LoadLevelFromArchive(level, std::move(archive), memberName + ".gob", nullptr)));
    return level;
}

Strings NamesOf(const GobMembers& members) {
    Strings names;
    for (const auto& member : members)
        names.push_back(member->m_strName);
    return names;
}

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string TextOf(const GobArchive& archive, std::string_view name) {
    const CDataGobEntry* member = const_cast<GobArchive&>(archive).FindMember(name);
    return member ? std::string(member->text()) : std::string("(missing)");
}

// Every member's name and bytes: what must not change when a level is only read.
std::vector<Member> Snapshot(const CDataLevel& level) {
    std::vector<Member> members;
    for (const auto& member : level.m_pMembers)
        members.emplace_back(member->m_strName, std::string(member->text()));
    return members;
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(LevelMerge, RenamesEachLevelsFilesAndTakesOtherMembersFromTheFirstOnly) {
    const CDataLevel secbase = OpenedLevel("SECBASE", "SECBASE",
                                           {{"SECBASE.GOL", "gol-s"},
                                            {"IF3.BM", "bm"},
                                            {"JEDI.LVL", "LEVELS 1\r\nSecret, SECBASE, L:\\\r\n"},
                                            {"SECBASE.CMP", "cmp-s"},
                                            {"OLD.BAK", "bak"}},
                                           "Me");
    // Its files are still named after the level it was copied from.
    const CDataLevel talay =
        OpenedLevel("OLD", "talay", {{"OLD.GOL", "gol-t"}, {"OLD.PAL", "pal-t"}, {"IF3.BM", "other"}});
    GobArchive twoLevels;
    for (const char* name : {"A.LEV", "B.LEV"})
        ASSERT_TRUE(Succeeded(twoLevels.AddMember(name, AsBytes("LEV 2.1"))));
    CDataLevel both;
    ASSERT_TRUE(Succeeded(LoadLevelFromArchive(both, std::move(twoLevels), "both.gob", nullptr)));
    const auto before = std::pair(Snapshot(secbase), Snapshot(talay));

    const MergeInput inputs[] = {{&secbase, "secbase.mrv"}, {&both, "both.gob"}, {&talay, "talay.gob"}};
    LevelMerge merge;
    ASSERT_TRUE(Succeeded(MergeLevels(inputs, merge)));

    EXPECT_EQ(NamesOf(merge.m_Archive.m_pMembers),
              (Strings{"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL", "IF3.BM", "JEDI.LVL",
                       "SECBASE.CMP", "TALAY.LEV", "TALAY.O", "TALAY.INF", "TALAY.GOL", "TALAY.PAL"}));
    EXPECT_EQ(merge.m_Levels, (Strings{"SECBASE", "TALAY"}));
    EXPECT_EQ(merge.m_LeftOut, Strings{"both.gob holds 2 levels"});
    ASSERT_EQ(merge.m_Notes.size(), 1u);
    EXPECT_NE(merge.m_Notes[0].find("does not list the level TALAY"), std::string::npos) << merge.m_Notes[0];
    EXPECT_EQ(std::pair(TextOf(merge.m_Archive, "IF3.BM"), TextOf(merge.m_Archive, "TALAY.PAL")),
              std::pair(std::string("bm"), std::string("pal-t")));
    for (const char* name : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "TALAY.LEV", "TALAY.O", "TALAY.INF"})
        EXPECT_NE(TextOf(merge.m_Archive, name).find("# Generated by 1.00\r\n"), std::string::npos) << name;
    // The O text names the LEV text's author, as every save does.
    EXPECT_NE(TextOf(merge.m_Archive, "SECBASE.O").find("# Author: Me\r\n"), std::string::npos);
    EXPECT_EQ(std::pair(Snapshot(secbase), Snapshot(talay)), before);

    // Written and read back, each level is the one that was merged.
    testing::TempDir dir;
    TaskProgress progress;
    const fs::path out = dir.path() / "merged.gob";
    ASSERT_TRUE(Succeeded(WriteGobFile(merge.m_Archive, out, progress)));
    EXPECT_EQ(progress.m_nDone.load(), progress.m_nTotal.load());
    int index = 0;
    for (const CDataLevel* original : {&secbase, &talay}) {
        CDataLevel read;
        ASSERT_TRUE(Succeeded(LoadLevelFile(read, out, [&](const Strings&, int) { return index; })));
        EXPECT_EQ(testing::CountDifferences(read, *original, {.members = false}), 0) << index;
        EXPECT_EQ(CountErrors(checkLevel(read)), 0);
        ++index;
    }
}

TEST(LevelMerge, RefusesWhatOneArchiveCannotHold) {
    const CDataLevel secbase = OpenedLevel("SECBASE", "SECBASE");
    const CDataLevel copy = OpenedLevel("COPY", "secbase");
    const CDataLevel stray = OpenedLevel("TALAY", "TALAY", {{"STRAY.O", "o"}});
    const CDataLevel longName = OpenedLevel("LONG", "LONGNAMES");
    CDataLevel empty;
    const struct {
        std::vector<MergeInput> inputs;
        std::string message;
    } cases[] = {
        {{{&secbase, "a.mrv"}, {&copy, "b.mrv"}}, "a.mrv and b.mrv both hold the level SECBASE"},
        {{{&secbase, "a.mrv"}, {&stray, "t.gob"}},
         "t.gob (TALAY.O) and t.gob (STRAY.O) would both be written as TALAY.O"},
        {{{&longName, "l.gob"}}, "l.gob: the level name LONGNAMES is too long"},
        {{{&empty, "e.gob"}}, "No open document holds exactly one level"},
        {{}, "No open document holds exactly one level"},
    };
    for (const auto& c : cases) {
        LevelMerge merge;
        merge.m_Levels = {"untouched"};
        const Status status = MergeLevels(c.inputs, merge);
        ASSERT_FALSE(status) << c.message;
        EXPECT_NE(status.message().find(c.message), std::string::npos) << status.message();
        EXPECT_EQ(merge.m_Levels, Strings{"untouched"});
    }
}

TEST(LevelMerge, ReleaseArchiveIsWhatASaveWritesWithoutChangingTheLevel) {
    CDataLevel saved = OpenedLevel("SECBASE", "SECBASE", {{"X.BAK", "b"}, {"IF3.BM", "bm"}});
    const CDataLevel kept = OpenedLevel("SECBASE", "SECBASE", {{"X.BAK", "b"}, {"IF3.BM", "bm"}});
    const std::vector<Member> before = Snapshot(kept);
    Bytes expected;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(saved, expected, kReleaseGeneratorTitle)));
    GobArchive release = ReleaseArchiveOf(kept, kReleaseGeneratorTitle);
    Bytes written;
    ASSERT_TRUE(Succeeded(WriteGob(release, written)));
    EXPECT_EQ(written, expected);
    EXPECT_EQ(Snapshot(kept), before);
}

TEST(TestArchive, GameCommandsExpandIntoProgramAndArguments) {
    const fs::path archive = "/games/dark forces/testlevl.gob";
    const fs::path folder = "/games/dark forces";
    const struct {
        std::string command;
        Strings words; // program, then arguments
    } cases[] = {
        {"",
         {"dosbox", "-c", "mount c \"/games/dark forces\"", "-c", "c:", "-c", "dark.exe -utestlevl.gob", "-c",
          "exit"}},
        {"  '/opt/my game/run' --gob %f \"in \\\"%d\\\"\" 100%% %x",
         {"/opt/my game/run", "--gob", "/games/dark forces/testlevl.gob", "in \"/games/dark forces\"", "100%",
          "%x"}},
        {"wine ''  dark.exe%", {"wine", "", "dark.exe%"}},
    };
    for (const auto& c : cases) {
        GameLaunch launch;
        ASSERT_TRUE(Succeeded(ExpandGameCommand(c.command, archive, folder, launch))) << c.command;
        Strings words{launch.m_strProgram};
        words.insert(words.end(), launch.m_Arguments.begin(), launch.m_Arguments.end());
        EXPECT_EQ(words, c.words) << c.command;
        EXPECT_EQ(launch.m_strFolder, folder.string());
    }
    for (const char* bad : {"dosbox -c 'mount c", "run \"%f", "''x '"}) {
        GameLaunch launch;
        EXPECT_FALSE(ExpandGameCommand(bad, archive, folder, launch)) << bad;
    }
}

TEST(TestArchive, WritesTheArchiveAndCopiesTheBriefingKeepingTheGamesOwn) {
    testing::TempDir work;
    const fs::path game = work.path() / "DARK";
    fs::create_directories(game);
    WriteText(game / "DFBRIEF.LFD", "original briefings");
    WriteText(work.path() / "mylevel.lfd", "my briefing");
    const CDataLevel level = OpenedLevel("SECBASE", "SECBASE", {{"X.BAK", "b"}});
    const std::vector<Member> before = Snapshot(level);

    for (const char* briefing : {"my briefing", "my second briefing"}) {
        WriteText(work.path() / "mylevel.lfd", briefing);
        TestRunFiles files;
        ASSERT_TRUE(Succeeded(
            PrepareTestRun(level, (work.path() / "mylevel.mrv").string(), game.string() + "/", files)));
        EXPECT_EQ(std::pair(files.m_Archive, files.m_Briefing),
                  std::pair(game / "testlevl.gob", work.path() / "mylevel.lfd"));
        // The game's own file keeps its name's case and its first contents are kept aside.
        EXPECT_EQ(ReadFile(game / "DFBRIEF.LFD"), BytesOf(briefing));
        EXPECT_EQ(ReadFile(game / "dfbrief.lfd.bak"), BytesOf("original briefings"));
    }
    CDataLevel played;
    ASSERT_TRUE(Succeeded(LoadLevelFile(played, game / "testlevl.gob", nullptr)));
    EXPECT_EQ(NamesOf(played.m_pMembers), (Strings{"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"}));
    EXPECT_NE(played.FindMember("SECBASE.LEV")->text().find("# Generated by 1.00\r\n"), std::string::npos);
    EXPECT_EQ(Snapshot(level), before);

    // An untitled document has no briefing; the folder's is left alone.
    TestRunFiles untitled;
    ASSERT_TRUE(Succeeded(PrepareTestRun(level, "", game.string(), untitled)));
    EXPECT_TRUE(untitled.m_Briefing.empty());
    EXPECT_EQ(ReadFile(game / "DFBRIEF.LFD"), BytesOf("my second briefing"));
}

TEST(TestArchive, FailuresLeaveTheOldTestArchiveAndWriteNothing) {
    testing::TempDir work;
    const CDataLevel level = OpenedLevel("SECBASE", "SECBASE");
    TestRunFiles files;
    for (const std::string& folder : {std::string(), (work.path() / "missing").string()}) {
        const Status status = PrepareTestRun(level, "", folder, files);
        ASSERT_FALSE(status);
        EXPECT_NE(status.message().find("Setup page"), std::string::npos) << status.message();
    }
    // A test archive that cannot be replaced (here a folder of that name) is reported.
    fs::create_directories(work.path() / "TESTLEVL.GOB" / "inside");
    const Status status = PrepareTestRun(level, "", work.path().string(), files);
    ASSERT_FALSE(status);
    EXPECT_NE(status.message().find("TESTLEVL.GOB cannot be written"), std::string::npos) << status.message();
    EXPECT_EQ(work.Entries(), Strings{"TESTLEVL.GOB"});
    EXPECT_TRUE(fs::exists(work.path() / "TESTLEVL.GOB" / "inside"));
}

} // namespace
} // namespace morvi
