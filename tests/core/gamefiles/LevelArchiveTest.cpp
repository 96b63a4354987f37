#include "gamefiles/LevelArchive.h"
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Member = std::pair<std::string, std::string>;

::testing::AssertionResult Succeeded(const Status& status) {
    if (status) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << status.message();
}

std::span<const std::uint8_t> AsBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// An archive of these members, made by the container writer.
Bytes ArchiveOf(const std::vector<Member>& members) {
    GobArchive archive;
    for (const auto& [name, data] : members)
        EXPECT_TRUE(Succeeded(archive.AddMember(name, AsBytes(data))));
    Bytes bytes;
    EXPECT_TRUE(Succeeded(WriteGob(archive, bytes)));
    return bytes;
}

// A level built in code, with an object and an INF item besides its sectors.
void Furnish(CDataLevel& level, void (*build)(CDataLevel&), std::string_view name) {
    build(level);
    level.m_Lev.m_strLevelName = level.m_Objects.m_strLevelName = level.m_Inf.m_strLevelName =
        std::string(name);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    auto object = std::make_unique<CDataObjectItem>();
    object->m_strData = "OFFCFIN.WAX";
    object->m_dX = 12.5;
    object->m_dY = -2.0;
    object->m_dZ = 30.25;
    object->m_dYaw = 90.0;
    object->m_nDiff = 1;
    object->m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "OFFICERR"));
    SetObjectDataIndex(level.m_Objects, *object);
    level.m_Objects.m_pObjects.push_back(std::move(object));
    auto item = std::make_unique<CDataInfItem>();
    item->m_strType = "sector";
    item->m_strName = "door";
    item->m_Lines = {"class:\televator move_ceiling", "stop:\t0 hold", "stop:\t-8 hold"};
    level.m_Inf.m_pItems.push_back(std::move(item));
}

// The LEV, O and INF members of a level built in code, written by the game-text writers.
std::vector<Member> LevelMembers(void (*build)(CDataLevel&), const std::string& name) {
    CDataLevel level;
    Furnish(level, build, name);
    std::string lev, o, inf;
    WriteLev(level.m_Lev, kGeneratorTitle, lev);
    WriteObjects(level.m_Objects, kGeneratorTitle, o);
    WriteInf(level.m_Inf, kGeneratorTitle, inf);
    return {{name + ".LEV", lev}, {name + ".O", o}, {name + ".INF", inf}};
}

std::vector<Member> Concat(std::vector<Member> a, const std::vector<Member>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A chooser that remembers what it was shown.
struct RecordingChooser {
    std::optional<int> m_Answer;
    int m_nCalls = 0;
    std::vector<std::string> m_Shown;
    LevelChooser get() {
        return [this](const std::vector<std::string>& names, int current) -> std::optional<int> {
            ++m_nCalls;
            m_Shown = names;
            EXPECT_EQ(current, 0);
            return m_Answer;
        };
    }
};

void ExpectSameSectors(const CDataLev& a, const CDataLev& b) {
    ASSERT_EQ(a.m_pSectors.size(), b.m_pSectors.size());
    for (std::size_t s = 0; s < a.m_pSectors.size(); ++s) {
        const CDataSector& x = *a.m_pSectors[s];
        const CDataSector& y = *b.m_pSectors[s];
        EXPECT_EQ(x.m_strName, y.m_strName);
        EXPECT_EQ(x.m_nAmbient, y.m_nAmbient);
        EXPECT_DOUBLE_EQ(x.m_dFloorAltitude, y.m_dFloorAltitude);
        EXPECT_DOUBLE_EQ(x.m_dCeilingAltitude, y.m_dCeilingAltitude);
        EXPECT_EQ(a.GetTextureName(x.m_FloorTexture.m_nTexture),
                  b.GetTextureName(y.m_FloorTexture.m_nTexture));
        ASSERT_EQ(x.m_pVertices.size(), y.m_pVertices.size());
        for (std::size_t v = 0; v < x.m_pVertices.size(); ++v) {
            EXPECT_DOUBLE_EQ(x.m_pVertices[v]->m_dX, y.m_pVertices[v]->m_dX);
            EXPECT_DOUBLE_EQ(x.m_pVertices[v]->m_dZ, y.m_pVertices[v]->m_dZ);
        }
        ASSERT_EQ(x.m_pWalls.size(), y.m_pWalls.size());
        for (std::size_t w = 0; w < x.m_pWalls.size(); ++w) {
            const CDataWall& p = *x.m_pWalls[w];
            const CDataWall& q = *y.m_pWalls[w];
            EXPECT_EQ(std::tie(p.m_nLeft, p.m_nRight, p.m_nAdjoin, p.m_nMirror, p.m_nWalk),
                      std::tie(q.m_nLeft, q.m_nRight, q.m_nAdjoin, q.m_nMirror, q.m_nWalk));
            EXPECT_EQ(a.GetTextureName(p.m_Mid.m_nTexture), b.GetTextureName(q.m_Mid.m_nTexture));
        }
    }
}

void ExpectSameModel(const CDataLevel& a, const CDataLevel& b) {
    ExpectSameSectors(a.m_Lev, b.m_Lev);
    ASSERT_EQ(a.m_Objects.m_pObjects.size(), b.m_Objects.m_pObjects.size());
    for (std::size_t i = 0; i < a.m_Objects.m_pObjects.size(); ++i) {
        const CDataObjectItem& x = *a.m_Objects.m_pObjects[i];
        const CDataObjectItem& y = *b.m_Objects.m_pObjects[i];
        EXPECT_EQ(ToUpper(x.m_strClass), ToUpper(y.m_strClass));
        EXPECT_EQ(ToUpper(x.m_strData), ToUpper(y.m_strData));
        EXPECT_DOUBLE_EQ(x.m_dX, y.m_dX);
        EXPECT_DOUBLE_EQ(x.m_dY, y.m_dY);
        EXPECT_DOUBLE_EQ(x.m_dZ, y.m_dZ);
        EXPECT_DOUBLE_EQ(x.m_dYaw, y.m_dYaw);
        EXPECT_EQ(x.m_nDiff, y.m_nDiff);
        ASSERT_EQ(x.m_pSeqs.size(), y.m_pSeqs.size());
    }
    ASSERT_EQ(a.m_Inf.m_pItems.size(), b.m_Inf.m_pItems.size());
    for (std::size_t i = 0; i < a.m_Inf.m_pItems.size(); ++i) {
        EXPECT_EQ(a.m_Inf.m_pItems[i]->m_strName, b.m_Inf.m_pItems[i]->m_strName);
        EXPECT_EQ(a.m_Inf.m_pItems[i]->m_Lines, b.m_Inf.m_pItems[i]->m_Lines);
    }
}

TEST(LevelArchive, OneLevelWithItsResources) {
    const Bytes bytes =
        ArchiveOf(Concat(LevelMembers(testing::BuildTwoRooms, "SECBASE"), {{"IF3.BM", "bm1"},
                                                                           {"RWRWALL1.BM", "bm2"},
                                                                           {"OFFCFIN.WAX", "wax"},
                                                                           {"DOOR.3DO", "3do"},
                                                                           {"BEEP.VOC", "voc"},
                                                                           {"JEDI.LVL", "lvl"}}));
    RecordingChooser chooser;
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "secbase.gob", chooser.get())));

    EXPECT_EQ(chooser.m_nCalls, 0);
    EXPECT_EQ(level.m_LevelNames, std::vector<std::string>{"SECBASE"});
    EXPECT_EQ(level.m_nCurrentLevel, 0);
    EXPECT_EQ(level.m_strGeneratorTitle, kGeneratorTitle);
    EXPECT_EQ(level.m_pMembers.size(), 9u);
    ASSERT_EQ(level.m_Bitmaps.size(), 2u);
    EXPECT_EQ(level.m_Bitmaps[0]->m_strName, "IF3.BM");
    EXPECT_EQ(level.m_Bitmaps[1]->m_strName, "RWRWALL1.BM");
    EXPECT_EQ(level.m_Sprites.size(), 1u);
    EXPECT_EQ(level.m_Models3D.size(), 1u);
    EXPECT_EQ(level.m_Sounds.size(), 1u);

    CDataLevel built;
    Furnish(built, testing::BuildTwoRooms, "SECBASE");
    ExpectSameModel(level, built);
}

TEST(LevelArchive, ChooserPicksTheSecondLevelAndTheFirstTravelsUnchanged) {
    const std::vector<Member> a = LevelMembers(testing::BuildTwoRooms, "A");
    const Bytes bytes = ArchiveOf(Concat(a, LevelMembers(testing::BuildRoomWithPillar, "B")));
    RecordingChooser chooser;
    chooser.m_Answer = 1;
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "two.gob", chooser.get())));
    EXPECT_EQ(chooser.m_nCalls, 1);
    EXPECT_EQ(chooser.m_Shown, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(level.m_nCurrentLevel, 1);
    EXPECT_EQ(level.CurrentLevelName(), "B");

    CDataLevel pillar;
    Furnish(pillar, testing::BuildRoomWithPillar, "B");
    ExpectSameModel(level, pillar);

    Bytes saved;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved)));
    GobArchive written;
    ASSERT_TRUE(Succeeded(ReadGob(saved, "saved.gob", written)));
    ASSERT_EQ(written.m_pMembers.size(), 6u);
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(written.m_pMembers[i]->m_strName, a[i].first);
        EXPECT_EQ(written.m_pMembers[i]->text(), a[i].second);
    }
    std::string lev;
    WriteLev(level.m_Lev, kGeneratorTitle, lev);
    EXPECT_EQ(written.FindMember("B.LEV")->text(), lev);
}

TEST(LevelArchive, RefusedChoiceLeavesTheLevelAlone) {
    const Bytes bytes =
        ArchiveOf(Concat(LevelMembers(testing::BuildRoom, "A"), LevelMembers(testing::BuildRoom, "B")));
    CDataLevel level;
    ASSERT_TRUE(Succeeded(level.AddMember("KEEP.TXT", AsBytes("kept"))));
    level.m_LevelNames = {"OLD"};

    for (std::optional<int> answer : {std::optional<int>(), std::optional<int>(2), std::optional<int>(-1)}) {
        RecordingChooser chooser;
        chooser.m_Answer = answer;
        const Status status = LoadLevelBytes(level, bytes, "two.gob", chooser.get());
        EXPECT_FALSE(status);
        EXPECT_EQ(status.message().rfind("two.gob: ", 0), 0u) << status.message();
        ASSERT_EQ(level.m_pMembers.size(), 1u);
        EXPECT_EQ(level.m_pMembers[0]->m_strName, "KEEP.TXT");
        EXPECT_EQ(level.m_LevelNames, std::vector<std::string>{"OLD"});
    }
}

TEST(LevelArchive, DamagedArchiveLeavesTheLevelAlone) {
    Bytes bytes = ArchiveOf(LevelMembers(testing::BuildRoom, "SECBASE"));
    bytes.resize(bytes.size() - 5);
    CDataLevel level;
    testing::BuildRoom(level);
    ASSERT_TRUE(Succeeded(level.AddMember("KEEP.TXT", AsBytes("kept"))));
    const Status status = LoadLevelBytes(level, bytes, "cut.gob", {});
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message().rfind("cut.gob: ", 0), 0u) << status.message();
    EXPECT_EQ(level.m_pMembers.size(), 1u);
    EXPECT_EQ(level.m_Lev.m_pSectors.size(), 1u);
}

TEST(LevelArchive, LowerCaseMemberNamesMatchTheLevel) {
    std::vector<Member> members = LevelMembers(testing::BuildRoomWithPillar, "SECBASE");
    for (auto& member : members)
        member.first = ToLower(member.first);
    members.push_back({"secbase.gol", "GOL"});
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, ArchiveOf(members), "lower.gob", {})));
    EXPECT_EQ(level.m_pMembers[0]->m_strName, "SECBASE.LEV");
    EXPECT_EQ(level.m_LevelNames, std::vector<std::string>{"SECBASE"});
    EXPECT_EQ(level.m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(level.m_Inf.m_pItems.size(), 1u);
}

TEST(LevelArchive, SaveDropsBackupsAndLaysOutFromOffsetEight) {
    const std::string ten(10, 'x'), twenty(20, 'y');
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(
        level, ArchiveOf({{"A.BM", ten}, {"X.BAK", "old"}, {"B.VOC", twenty}}), "bak.gob", {})));
    ASSERT_EQ(level.m_pMembers.size(), 3u);

    Bytes saved;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved)));
    ASSERT_EQ(level.m_pMembers.size(), 2u);
    EXPECT_EQ(level.FindMember("X.BAK"), nullptr);
    EXPECT_EQ(level.m_Sounds.size(), 1u);
    EXPECT_EQ(level.m_pMembers[0]->m_nOffset, 8u);
    EXPECT_EQ(level.m_pMembers[1]->m_nOffset, 18u);
    EXPECT_EQ(level.m_nIndexOffset, 38u);
    EXPECT_EQ(saved.size(), 84u);
    EXPECT_EQ(saved, ArchiveOf({{"A.BM", ten}, {"B.VOC", twenty}}));
}

TEST(LevelArchive, SaveRegeneratesOnlyTheCurrentLevelsTexts) {
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(
        level, ArchiveOf(Concat(LevelMembers(testing::BuildRoom, "SECBASE"), {{"SECBASE.GOL", "goals"}})),
        "s.gob", {})));
    level.m_Lev.m_strAuthor = "Jan";
    level.m_Magic = {{'G', 'O', 'B', 0x1A}};

    Bytes saved;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved, "1.00")));
    EXPECT_EQ(level.m_Objects.m_strAuthor, "Jan");
    EXPECT_EQ(level.m_strGeneratorTitle, "1.00");
    std::string lev, o, inf;
    WriteLev(level.m_Lev, "1.00", lev);
    WriteObjects(level.m_Objects, "1.00", o);
    WriteInf(level.m_Inf, "1.00", inf);
    GobArchive written;
    ASSERT_TRUE(Succeeded(ReadGob(saved, "saved.gob", written)));
    EXPECT_EQ(written.m_Magic, level.m_Magic);
    EXPECT_EQ(written.FindMember("SECBASE.LEV")->text(), lev);
    EXPECT_EQ(written.FindMember("SECBASE.O")->text(), o);
    EXPECT_EQ(written.FindMember("SECBASE.INF")->text(), inf);
    EXPECT_EQ(written.FindMember("SECBASE.GOL")->text(), "goals");
}

TEST(LevelArchive, BuiltLevelsSurviveSaveAndLoad) {
    for (auto build : {testing::BuildRoom, testing::BuildTwoRooms, testing::BuildRoomWithPillar}) {
        CDataLevel level;
        Furnish(level, build, "SECBASE");
        for (const char* name : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"})
            ASSERT_TRUE(Succeeded(level.AddMember(name, {})));
        level.m_LevelNames = {"SECBASE"};

        Bytes saved;
        ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved)));
        CDataLevel loaded;
        ASSERT_TRUE(Succeeded(LoadLevelBytes(loaded, saved, "round.gob", {})));
        ExpectSameModel(loaded, level);

        // What was read writes the same archive again.
        Bytes again;
        ASSERT_TRUE(Succeeded(WriteLevelBytes(loaded, again)));
        EXPECT_EQ(again, saved);
    }
}

TEST(LevelArchive, ArchiveWithoutLevelsCarriesItsMembers) {
    const Bytes bytes = ArchiveOf({{"IF3.BM", "bm"}, {"OFFCFIN.WAX", "wax"}});
    RecordingChooser chooser;
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "res.gob", chooser.get())));
    EXPECT_EQ(chooser.m_nCalls, 0);
    EXPECT_TRUE(level.m_LevelNames.empty());
    EXPECT_EQ(level.CurrentLevelName(), "");
    Bytes saved;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, saved)));
    EXPECT_EQ(saved, bytes);
}

TEST(LevelArchive, FilesSaveAndLoadTheSameLevel) {
    std::random_device random;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("morvi-level-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    const Bytes bytes =
        ArchiveOf(Concat(LevelMembers(testing::BuildTwoRooms, "SECBASE"), {{"IF3.BM", "bm"}}));
    CDataLevel level;
    ASSERT_TRUE(Succeeded(LoadLevelBytes(level, bytes, "secbase.gob", {})));
    ASSERT_TRUE(Succeeded(SaveLevelFile(level, dir / "secbase.gob")));

    CDataLevel loaded;
    ASSERT_TRUE(Succeeded(LoadLevelFile(loaded, dir / "secbase.gob", {})));
    EXPECT_EQ(loaded.m_pMembers.size(), 4u);
    EXPECT_EQ(loaded.m_Bitmaps.size(), 1u);
    ExpectSameModel(loaded, level);
    Bytes inMemory;
    ASSERT_TRUE(Succeeded(WriteLevelBytes(level, inMemory)));
    EXPECT_EQ(std::filesystem::file_size(dir / "secbase.gob"), inMemory.size());

    const Status missing = LoadLevelFile(loaded, dir / "none.gob", {});
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message().find("none.gob"), std::string::npos);
    EXPECT_EQ(loaded.m_pMembers.size(), 4u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace morvi
