#include "CliFixture.h"

#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/LevelArchive.h"
#include "model/LevelChecker.h"
#include "support/LevelBuilders.h"

#include <tuple>

namespace morvi {
namespace {

class MorviLibCli : public MorviCli {
protected:
    // Two adjoined rooms "door" and "hall" on layer 1, an INF item on the door and an object in
    // each room, saved as a GOB.
    std::string MakeLevelGob(const std::string& name) {
        CDataLevel level;
        testing::BuildTwoRooms(level);
        level.m_Lev.m_pSectors[0]->m_strName = "door";
        level.m_Lev.m_pSectors[1]->m_strName = "hall";
        for (auto& s : level.m_Lev.m_pSectors)
            s->m_nLayer = 1;
        testing::AddItem(level.m_Inf, "sector", "door", -1, {"class:\televator move_floor", "slave:\tdoor"});
        for (double x : {10.0, 100.0}) {
            auto object = std::make_unique<CDataObjectItem>();
            object->m_dX = x;
            object->m_dZ = 20;
            level.m_Objects.m_pObjects.push_back(std::move(object));
        }
        for (const char* member : {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF"})
            EXPECT_TRUE(level.AddMember(member, {}));
        level.m_LevelNames = {"SECBASE"};
        EXPECT_TRUE(SaveLevelFile(level, P(name)));
        return P(name);
    }

    void Load(const std::string& path, CMorviDoc& doc) {
        ASSERT_TRUE(LoadDocument(doc, path, [](const auto&, int current) { return current; }));
    }
};

TEST_F(MorviLibCli, ExtractThenInsertAddsRenamedSectorsAtThePoint) {
    const std::string gob = MakeLevelGob("level.gob");
    Result r = Run("lib extract " + gob + " --sectors 0 " + P("door.lib"));
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, P("door.lib") + ": 1 sector with their islands\n");

    r = Run("lib insert " + gob + " " + P("door.lib") + " " + P("out.gob") + " --at -100,50.5 --layer 3");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, P("out.gob") + ": 1 sectors and 1 objects added\n");
    CMorviDoc doc;
    Load(P("out.gob"), doc);
    const CDataLevel& level = doc.level();
    EXPECT_TRUE(checkLevel(level).empty());
    ASSERT_EQ(level.m_Lev.m_pSectors.size(), 3u);
    const CDataSector& pasted = *level.m_Lev.m_pSectors[2];
    // The door's corners average (32, 32): it moves by (-132, 18.5), and its object with it.
    EXPECT_EQ(
        std::tie(pasted.m_strName, pasted.m_nLayer, pasted.m_pVertices[0]->m_dX, pasted.m_pVertices[0]->m_dZ),
        std::tuple("door-1", 3, -132.0, 18.5));
    for (const auto& wall : pasted.m_pWalls)
        EXPECT_EQ(wall->m_nAdjoin, -1);
    ASSERT_EQ(level.m_Objects.m_pObjects.size(), 3u);
    EXPECT_EQ(std::tuple(level.m_Objects.m_pObjects[2]->m_dX, level.m_Objects.m_pObjects[2]->m_dZ),
              std::tuple(-122.0, 38.5));
    ASSERT_EQ(level.m_Inf.m_pItems.size(), 2u);
    EXPECT_EQ(level.m_Inf.m_pItems[1]->m_strName, "door-1");
    // The document's own map state is as it was.
    EXPECT_EQ(doc.m_nCurrentLayer, 0);
}

TEST_F(MorviLibCli, RangesKeepLinksAndWithoutAtNothingMoves) {
    const std::string gob = MakeLevelGob("level.gob");
    ASSERT_EQ(Run("lib extract " + gob + " --sectors 1,0-1 " + P("both.lib")).exit, 0);
    Result r = Run("lib insert " + gob + " " + P("both.lib") + " " + P("out.mrv"));
    ASSERT_EQ(r.exit, 0) << r.err;
    CMorviDoc doc;
    Load(P("out.mrv"), doc);
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    EXPECT_TRUE(checkLevel(doc.level()).empty());
    ASSERT_EQ(sectors.size(), 4u);
    // Stored hall first: hall-1 is sector 2, door-1 sector 3, still adjoined.
    EXPECT_EQ(std::tie(sectors[2]->m_strName, sectors[2]->m_nLayer, sectors[2]->m_pVertices[0]->m_dX),
              std::tuple("hall-1", 0, 64.0));
    EXPECT_EQ(std::tuple(sectors[2]->m_pWalls[3]->m_nAdjoin, sectors[3]->m_pWalls[1]->m_nAdjoin,
                         sectors[3]->m_pWalls[1]->m_nMirror),
              std::tuple(3, 2, 3));
}

TEST_F(MorviLibCli, BadArgumentsAndDamagedLibrariesWriteNothing) {
    const std::string gob = MakeLevelGob("level.gob");
    for (const char* sectors : {" --sectors 2 ", " --sectors 1-0 ", " "})
        EXPECT_EQ(Run("lib extract " + gob + sectors + P("x.lib")).exit, 2) << sectors;
    EXPECT_FALSE(fs::exists(m_Dir / "x.lib"));

    ASSERT_EQ(Run("lib extract " + gob + " --sectors 0 " + P("door.lib")).exit, 0);
    EXPECT_EQ(Run("lib insert " + gob + " " + P("door.lib") + " " + P("out.gob") + " --at 5").exit, 2);
    std::string lib = ReadText(m_Dir / "door.lib");
    WriteText(m_Dir / "cut.lib", lib.substr(0, lib.size() / 2));
    Result r = Run("lib insert " + gob + " " + P("cut.lib") + " " + P("out.gob"));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("cut.lib: The data is damaged"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(m_Dir / "out.gob"));
}

} // namespace
} // namespace morvi
