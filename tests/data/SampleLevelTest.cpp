#include "demo/SampleLevel.h"
#include "demo/DemoPalette.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/LevelArchive.h"
#include "gamefiles/LevelTexts.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

constexpr int kSky = 1;
constexpr int kDoor = 2;
constexpr int kPit = 128;
constexpr int kSecret = 0x80000;

// What the demo archives hold: the textures, and the object files of the object catalogue plus
// the extra 3D models and sounds.
const std::set<std::string> kTextures = {
    "IF3.BM",      "IPBIGLT.BM", "RWRWALL1.BM", "ZDREBL1.BM",  "IWCOMWAL.BM", "ZDOOR1.BM",
    "ZASWIT1.BM",  "RESKY01.BM", "IDMGCRT1.BM", "IWFUELS1.BM", "IWACONV1.BM", "RWSTONE1.BM",
    "IFGRATE1.BM", "SWATER1.BM", "IWMETAL1.BM", "IWLIGHT1.BM", "ZSBSIGN1.BM"};
const std::set<std::string> kObjectFiles = {
    "spirit",       "safe",         "ikeyb.fme",    "ikeyr.fme",    "ikeyy.fme",    "idtgun.fme",
    "idata.fme",    "idplans.wax",  "inava.wax",    "iphrik.fme",   "ipile.fme",    "det_code.fme",
    "bobafett.wax", "phase1.wax",   "phase2.wax",   "phase3x.wax",  "offcfin.wax",  "commando.wax",
    "stormfin.wax", "bossk.wax",    "gamguard.wax", "kell.wax",     "reeyees.wax",  "sewerbug.wax",
    "intdroid.wax", "probe.wax",    "remote.wax",   "landmine.fme", "gun.3do",      "weldarm.3do",
    "weldbase.3do", "mousebot.3do", "ist-guni.fme", "ist-gunu.fme", "ifusion.fme",  "iautogun.fme",
    "imortar.fme",  "iconcus.fme",  "icannon.fme",  "idet.fme",     "idets.fme",    "imsl.fme",
    "imsls.fme",    "imine.fme",    "imines.fme",   "ishell.fme",   "ishells.fme",  "ienergy.fme",
    "iplazma.fme",  "ipower.fme",   "ibattery.fme", "imask.fme",    "igoggles.fme", "icleats.fme",
    "iinvinc.wax",  "ilife.wax",    "imedkit.fme",  "irevive.wax",  "iarmor.wax",   "icharge.fme",
    "bullexp.wax",  "concexp.wax",  "iceilit2.wax", "iflrlit.wax",  "hanglit.wax",  "lit1.wax",
    "lit2.wax",     "redlit.wax",   "tallit1.wax",  "tallit2.wax",  "tblelit.wax",  "ashtray.fme",
    "barrel.wax",   "beerpip.fme",  "bobaball.wax", "cflame.wax",   "chain.fme",    "chair.wax",
    "crix.wax",     "dedbody1.fme", "dedbody2.fme", "dedbody3.fme", "default.wax",  "dflame.wax",
    "emsculp.wax",  "ewok86.wax",   "frogbowl.wax", "gfventdn.fme", "gfventup.fme", "rock.wax",
    "table.wax",    "door.voc",     "elev2-1.voc",  "switch3.voc",  "wind01.voc",   "water01.voc"};

struct Pt {
    double x, z;
};

Pt Corner(const CDataSector& s, int v) {
    const CDataVertex& vertex = *s.m_pVertices[static_cast<std::size_t>(v)];
    return {vertex.m_dX, vertex.m_dZ};
}

// Twice the signed area of loop k of the sector: negative for a clockwise loop (Z up).
double LoopArea(const CDataSector& s, int k) {
    std::vector<int> starts;
    BuildLoopStarts(s, starts);
    double area = 0.0;
    for (int w = starts[static_cast<std::size_t>(k)]; w < starts[static_cast<std::size_t>(k) + 1]; ++w) {
        const Pt a = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft);
        const Pt b = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nRight);
        area += a.x * b.z - b.x * a.z;
    }
    return area;
}

int LoopCount(const CDataSector& s) {
    std::vector<int> starts;
    BuildLoopStarts(s, starts);
    return static_cast<int>(starts.size()) - 1;
}

// Crossing-number test against the sector's first loop.
bool InFirstLoop(const CDataSector& s, double x, double z) {
    std::vector<int> starts;
    BuildLoopStarts(s, starts);
    bool inside = false;
    for (int w = 0; w < starts[1]; ++w) {
        const Pt a = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft);
        const Pt b = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nRight);
        if ((a.z > z) != (b.z > z) && x < a.x + (z - a.z) * (b.x - a.x) / (b.z - a.z)) inside = !inside;
    }
    return inside;
}

std::string TextureOf(const CDataLevel& level, const CDataTexture& t) {
    return level.m_Lev.GetTextureName(t.m_nTexture);
}

const CDataSector* SectorNamed(const CDataLevel& level, const std::string& name) {
    for (const auto& s : level.m_Lev.m_pSectors)
        if (s->m_strName == name) return s.get();
    return nullptr;
}

bool HasLine(const CDataInfItem& item, const std::string& line) {
    return std::find(item.m_Lines.begin(), item.m_Lines.end(), line) != item.m_Lines.end();
}

std::vector<std::uint8_t> DocumentBytes(CMorviDoc& doc) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(WriteDocumentBytes(doc, bytes));
    return bytes;
}

std::string MemberText(const CDataLevel& level, const char* name) {
    const CDataGobEntry* member = level.FindMember(name);
    return member ? std::string(member->text()) : std::string("<missing>");
}

// Invariants both levels keep beyond what checkLevel verifies: joined walls lie on each other
// running opposite ways, outer loops run clockwise and holes the other way, every object stands
// inside a sector between its floor and ceiling, names come from the demo archives.
void ExpectWellDrawn(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (const auto& s : sectors) {
        EXPECT_LT(s->m_dCeilingAltitude, s->m_dFloorAltitude + 0.001) << "sector " << s->m_nIndex;
        EXPECT_LT(LoopArea(*s, 0), 0.0) << "outer loop of sector " << s->m_nIndex;
        for (int k = 1; k < LoopCount(*s); ++k)
            EXPECT_GT(LoopArea(*s, k), 0.0) << "hole of sector " << s->m_nIndex;
        for (const auto& w : s->m_pWalls) {
            EXPECT_EQ(w->m_nWalk, w->m_nAdjoin);
            if (w->m_nAdjoin < 0) continue;
            const CDataSector& other = *sectors[static_cast<std::size_t>(w->m_nAdjoin)];
            const CDataWall& back = *other.m_pWalls[static_cast<std::size_t>(w->m_nMirror)];
            const Pt a = Corner(*s, w->m_nLeft), b = Corner(*s, w->m_nRight);
            const Pt c = Corner(other, back.m_nLeft), d = Corner(other, back.m_nRight);
            EXPECT_TRUE(a.x == d.x && a.z == d.z && b.x == c.x && b.z == c.z)
                << "sector " << s->m_nIndex << " wall " << w->m_nIndex;
        }
    }
    for (const auto& entry : level.m_Lev.m_Textures)
        EXPECT_TRUE(kTextures.count(entry.m_strName)) << entry.m_strName;
    for (const auto& o : level.m_Objects.m_pObjects) {
        EXPECT_TRUE(kObjectFiles.count(ToLower(o->m_strData))) << o->m_strData;
        const bool placed = std::any_of(sectors.begin(), sectors.end(), [&](const auto& s) {
            return s->m_dCeilingAltitude <= o->m_dY && o->m_dY <= s->m_dFloorAltitude &&
                   InFirstLoop(*s, o->m_dX, o->m_dZ);
        });
        EXPECT_TRUE(placed) << o->m_strData << " at " << o->m_dX << ", " << o->m_dZ;
    }
}

TEST(NewDocument, IsOneSquareRoomWithThePlayerStart) {
    CMorviDoc doc;
    BuildNewDocument(doc);
    const CDataLevel& level = doc.level();
    EXPECT_TRUE(checkLevel(level).empty());
    ExpectWellDrawn(level);
    ASSERT_EQ(level.m_Lev.m_pSectors.size(), 1u);
    const CDataSector& room = *level.m_Lev.m_pSectors[0];
    EXPECT_EQ(room.m_pWalls.size(), 4u);
    EXPECT_EQ(TextureOf(level, room.m_FloorTexture), "IF3.BM");
    EXPECT_EQ(TextureOf(level, room.m_CeilingTexture), "IPBIGLT.BM");
    for (const auto& w : room.m_pWalls) {
        EXPECT_EQ(TextureOf(level, w->m_Mid), "RWRWALL1.BM");
        EXPECT_EQ(w->m_nAdjoin, -1);
    }
    ASSERT_EQ(level.m_Objects.m_pObjects.size(), 1u);
    const CDataObjectItem& player = *level.m_Objects.m_pObjects[0];
    EXPECT_EQ(player.m_strClass, "SPIRIT");
    EXPECT_EQ(player.m_strData, "spirit");
    ASSERT_EQ(player.m_pSeqs.size(), 2u);
    EXPECT_EQ(player.m_pSeqs[0]->m_strKey + " " + player.m_pSeqs[0]->m_strValue, "LOGIC PLAYER");
    EXPECT_EQ(player.m_pSeqs[1]->m_strKey + " " + player.m_pSeqs[1]->m_strValue, "EYE TRUE");
    EXPECT_TRUE(level.m_Inf.m_pItems.empty());

    std::vector<std::string> names;
    for (const auto& m : level.m_pMembers)
        names.push_back(m->m_strName);
    EXPECT_EQ(names, (std::vector<std::string>{"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL",
                                               "SECBASE.PAL"}));
    const auto pal = level.FindMember("SECBASE.PAL")->data();
    const auto expected = LevelPalette("SECBASE").m_Bytes;
    EXPECT_TRUE(std::equal(pal.begin(), pal.end(), expected.begin(), expected.end()));
    // The texts are there at once, not only after the first save.
    EXPECT_NE(MemberText(level, "SECBASE.LEV").find("NUMSECTORS 1\r\n"), std::string::npos);
    EXPECT_NE(MemberText(level, "SECBASE.O").find("LOGIC:     PLAYER"), std::string::npos);
    EXPECT_NE(MemberText(level, "SECBASE.INF").find("items 0\r\n"), std::string::npos);
}

class SampleLevelTest : public ::testing::Test {
protected:
    void SetUp() override { BuildSampleLevel(m_Doc); }
    const CDataLevel& Level() const { return m_Doc.level(); }
    const std::vector<std::unique_ptr<CDataSector>>& Sectors() const { return Level().m_Lev.m_pSectors; }
    int CountFlag(int flag) const {
        return static_cast<int>(std::count_if(Sectors().begin(), Sectors().end(),
                                              [flag](const auto& s) { return (s->m_nFlags1 & flag) != 0; }));
    }
    CMorviDoc m_Doc;
};

TEST_F(SampleLevelTest, IsValidAndWellDrawn) {
    for (const auto& finding : checkLevel(Level()))
        ADD_FAILURE() << finding.m_strText;
    ExpectWellDrawn(Level());
    EXPECT_GE(Sectors().size(), 25u);
    EXPECT_LE(Sectors().size(), 60u);
    std::set<int> layers;
    std::set<std::string> names;
    for (const auto& s : Sectors()) {
        layers.insert(s->m_nLayer);
        EXPECT_TRUE(s->m_strName.empty() || names.insert(s->m_strName).second) << s->m_strName;
        EXPECT_GE(s->m_nAmbient, 10);
        EXPECT_LE(s->m_nAmbient, 31);
    }
    EXPECT_EQ(layers, (std::set<int>{1, 2}));
    EXPECT_GT(names.size(), 20u);
}

TEST_F(SampleLevelTest, HasSkyPitSecretDoorsIslandAndHole) {
    EXPECT_GE(CountFlag(kSky), 1);
    EXPECT_GE(CountFlag(kPit), 1);
    EXPECT_GE(CountFlag(kSecret), 1);
    EXPECT_GE(CountFlag(kDoor), 1);
    for (const auto& s : Sectors()) {
        if (s->m_nFlags1 & kSky) {
            EXPECT_EQ(TextureOf(Level(), s->m_CeilingTexture), "RESKY01.BM");
        }
        if (s->m_nFlags1 & kPit) {
            EXPECT_EQ(TextureOf(Level(), s->m_FloorTexture), "SWATER1.BM");
        }
        if (!(s->m_nFlags1 & kDoor)) continue;
        // Both neighbours show the door's face above the opening.
        int faces = 0;
        for (const auto& w : s->m_pWalls) {
            if (w->m_nAdjoin < 0) continue;
            const CDataWall& back = *Sectors()[static_cast<std::size_t>(w->m_nAdjoin)]
                                         ->m_pWalls[static_cast<std::size_t>(w->m_nMirror)];
            faces += TextureOf(Level(), back.m_Top) == "ZDREBL1.BM";
        }
        EXPECT_EQ(faces, 2) << s->m_strName;
    }
    // An island (a solid pillar) and a hole (a pit) fill the inner loops of two rooms.
    bool island = false;
    bool hole = false;
    for (const auto& s : Sectors())
        for (int inner : GetEnclosedSectors(*s)) {
            const CDataSector& filled = *Sectors()[static_cast<std::size_t>(inner)];
            island |= filled.m_dFloorAltitude == filled.m_dCeilingAltitude;
            hole |= (filled.m_nFlags1 & kPit) != 0;
        }
    EXPECT_TRUE(island);
    EXPECT_TRUE(hole);
}

TEST_F(SampleLevelTest, LiftMovesBetweenLayersAndSwitchesCallIt) {
    const CDataInfItem* lift = nullptr;
    for (const auto& item : Level().m_Inf.m_pItems)
        if (item->m_strType == "sector" && HasLine(*item, "class:\televator move_floor")) lift = item.get();
    ASSERT_NE(lift, nullptr);
    EXPECT_TRUE(HasLine(*lift, "speed:\t10"));
    EXPECT_TRUE(HasLine(*lift, "event_mask:\t4"));
    EXPECT_TRUE(HasLine(*lift, "stop:\t0 hold"));
    EXPECT_TRUE(HasLine(*lift, "stop:\t32 hold"));
    const CDataSector* liftSector = SectorNamed(Level(), lift->m_strName);
    ASSERT_NE(liftSector, nullptr);
    EXPECT_EQ(lift->m_strName, "lift_" + std::to_string(liftSector->m_nIndex));
    std::set<int> reachedLayers;
    for (const auto& w : liftSector->m_pWalls) {
        EXPECT_EQ(TextureOf(Level(), w->m_Mid), "IWCOMWAL.BM");
        EXPECT_EQ(w->m_nFlags1 & 16, 16);
        if (w->m_nAdjoin >= 0)
            reachedLayers.insert(Sectors()[static_cast<std::size_t>(w->m_nAdjoin)]->m_nLayer);
    }
    EXPECT_EQ(reachedLayers, (std::set<int>{1, 2}));

    int switches = 0;
    for (const auto& item : Level().m_Inf.m_pItems) {
        if (item->m_strType != "line") continue;
        ++switches;
        ASSERT_FALSE(item->m_Lines.empty());
        EXPECT_EQ(item->m_Lines[0].rfind("class:\ttrigger", 0), 0u);
        EXPECT_TRUE(HasLine(*item, "client:\t" + lift->m_strName));
        const CDataSector* s = SectorNamed(Level(), item->m_strName);
        ASSERT_NE(s, nullptr);
        ASSERT_GE(item->m_nNum, 0);
        ASSERT_LT(item->m_nNum, static_cast<int>(s->m_pWalls.size()));
        EXPECT_EQ(TextureOf(Level(), s->m_pWalls[static_cast<std::size_t>(item->m_nNum)]->m_Sign),
                  "ZASWIT1.BM");
    }
    EXPECT_EQ(switches, 2);
}

TEST_F(SampleLevelTest, HasObjectsOfEveryClassAndSigns) {
    const auto& objects = Level().m_Objects.m_pObjects;
    EXPECT_GE(objects.size(), 15u);
    EXPECT_LE(objects.size(), 30u);
    std::set<std::string> classes;
    std::set<std::string> logics;
    for (const auto& o : objects) {
        classes.insert(o->m_strClass);
        for (const auto& seq : o->m_pSeqs)
            if (seq->m_strKey == "LOGIC") logics.insert(o->m_strData + " " + seq->m_strValue);
    }
    EXPECT_EQ(classes, (std::set<std::string>{"3D", "FRAME", "SAFE", "SOUND", "SPIRIT", "SPRITE"}));
    for (const char* expected :
         {"spirit PLAYER", "STORMFIN.WAX STORM1", "OFFCFIN.WAX I_OFFICER", "COMMANDO.WAX COMMANDO",
          "IMEDKIT.FME MEDKIT", "IKEYR.FME RED", "IENERGY.FME ENERGY", "GUN.3DO TURRET"})
        EXPECT_TRUE(logics.count(expected)) << expected;
    EXPECT_EQ(std::count_if(objects.begin(), objects.end(),
                            [](const auto& o) { return o->m_strClass == "SPIRIT"; }),
              1);

    std::set<std::string> signs;
    for (const auto& s : Sectors())
        for (const auto& w : s->m_pWalls)
            if (w->m_Sign.m_nTexture >= 0) signs.insert(TextureOf(Level(), w->m_Sign));
    EXPECT_EQ(signs, (std::set<std::string>{"IWFUELS1.BM", "ZASWIT1.BM", "ZSBSIGN1.BM"}));
}

TEST_F(SampleLevelTest, CarriesGoalsLevelListAndMessages) {
    std::vector<std::string> names;
    for (const auto& m : Level().m_pMembers)
        names.push_back(m->m_strName);
    for (const char* name :
         {"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL", "SECBASE.PAL", "JEDI.LVL", "TEXT.MSG"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    EXPECT_EQ(GetLevelText(Level(), LevelText::Gol).value_or(""), "GOL 1.0\r\n\r\nGOAL: 0 ITEM: PLANS\r\n");
    EXPECT_NE(GetLevelText(Level(), LevelText::Lvl).value_or("").find("SECBASE"), std::string::npos);
    EXPECT_EQ(GetLevelText(Level(), LevelText::Msg).value_or("").rfind("MSG 1.0\r\n", 0), 0u);
    // The goal item is in the level.
    const auto& objects = Level().m_Objects.m_pObjects;
    EXPECT_TRUE(std::any_of(objects.begin(), objects.end(),
                            [](const auto& o) { return o->m_strData == "IDPLANS.WAX"; }));
}

TEST(SampleLevelFiles, TwoBuildsGiveTheSameBytes) {
    for (auto build : {&BuildSampleLevel, &BuildNewDocument}) {
        CMorviDoc a, b;
        build(a);
        build(b);
        EXPECT_EQ(DocumentBytes(a), DocumentBytes(b));
        // Building again into a used document replaces what it held.
        build(a);
        EXPECT_EQ(DocumentBytes(a), DocumentBytes(b));
    }
}

TEST(SampleLevelFiles, DocumentFileReadsBackToTheSameBytes) {
    for (auto build : {&BuildSampleLevel, &BuildNewDocument}) {
        CMorviDoc doc;
        build(doc);
        const std::vector<std::uint8_t> first = DocumentBytes(doc);
        CMorviDoc loaded;
        ASSERT_TRUE(ReadDocumentBytes(loaded, first, "sample.mrv", {}));
        EXPECT_EQ(loaded.level().m_Lev.m_pSectors.size(), doc.level().m_Lev.m_pSectors.size());
        EXPECT_EQ(loaded.level().m_Objects.m_pObjects.size(), doc.level().m_Objects.m_pObjects.size());
        EXPECT_EQ(loaded.level().m_Inf.m_pItems.size(), doc.level().m_Inf.m_pItems.size());
        EXPECT_EQ(loaded.m_nCurrentLayer, 1);
        EXPECT_EQ(DocumentBytes(loaded), first);
    }
}

TEST(SampleLevelFiles, GobReadsBackToTheSameBytesAndModel) {
    CMorviDoc doc;
    BuildSampleLevel(doc);
    std::vector<std::uint8_t> first;
    ASSERT_TRUE(WriteLevelBytes(doc.level(), first));
    CDataLevel loaded;
    ASSERT_TRUE(LoadLevelBytes(loaded, first, "sample.gob", nullptr));
    EXPECT_TRUE(checkLevel(loaded).empty());
    ExpectWellDrawn(loaded);
    // The layers, flags and seq lines survive the text formats.
    ASSERT_EQ(loaded.m_Lev.m_pSectors.size(), doc.level().m_Lev.m_pSectors.size());
    for (std::size_t i = 0; i < loaded.m_Lev.m_pSectors.size(); ++i) {
        EXPECT_EQ(loaded.m_Lev.m_pSectors[i]->m_nLayer, doc.level().m_Lev.m_pSectors[i]->m_nLayer);
        EXPECT_EQ(loaded.m_Lev.m_pSectors[i]->m_nFlags1, doc.level().m_Lev.m_pSectors[i]->m_nFlags1);
    }
    for (std::size_t i = 0; i < loaded.m_Objects.m_pObjects.size(); ++i)
        EXPECT_EQ(loaded.m_Objects.m_pObjects[i]->m_pSeqs.size(),
                  doc.level().m_Objects.m_pObjects[i]->m_pSeqs.size());
    std::vector<std::uint8_t> second;
    ASSERT_TRUE(WriteLevelBytes(loaded, second));
    EXPECT_EQ(second, first);
}

} // namespace
} // namespace morvi::demo
