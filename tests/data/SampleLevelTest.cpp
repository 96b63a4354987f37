#include "demo/SampleLevel.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/LevelArchive.h"
#include "gamefiles/LevelTexts.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "resources/GamePalette.h"

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

struct Pt {
    double x, z;
};

Pt Corner(const CDataSector& s, int v) {
    const CDataVertex& vertex = *s.m_pVertices[static_cast<std::size_t>(v)];
    return {vertex.m_dX, vertex.m_dZ};
}

std::vector<int> LoopStarts(const CDataSector& s) {
    std::vector<int> starts;
    BuildLoopStarts(s, starts);
    return starts;
}

// Twice the signed area of the loop of walls first to end: negative for a clockwise loop (Z up).
double LoopArea(const CDataSector& s, int first, int end) {
    double area = 0.0;
    for (int w = first; w < end; ++w) {
        const Pt a = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft);
        const Pt b = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nRight);
        area += a.x * b.z - b.x * a.z;
    }
    return area;
}

// Crossing-number test against the sector's first loop.
bool InFirstLoop(const CDataSector& s, double x, double z) {
    bool inside = false;
    const int end = LoopStarts(s)[1];
    for (int w = 0; w < end; ++w) {
        const Pt a = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft);
        const Pt b = Corner(s, s.m_pWalls[static_cast<std::size_t>(w)]->m_nRight);
        if ((a.z > z) != (b.z > z) && x < a.x + (z - a.z) * (b.x - a.x) / (b.z - a.z)) inside = !inside;
    }
    return inside;
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
// inside a sector between its floor and ceiling. (That the names they use are in the demo
// archives is the completeness test's business.)
void ExpectWellDrawn(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (const auto& s : sectors) {
        EXPECT_LT(s->m_dCeilingAltitude, s->m_dFloorAltitude + 0.001) << "sector " << s->m_nIndex;
        const std::vector<int> starts = LoopStarts(*s);
        for (std::size_t k = 0; k + 1 < starts.size(); ++k)
            EXPECT_EQ(LoopArea(*s, starts[k], starts[k + 1]) < 0.0, k == 0)
                << "loop " << k << " of sector " << s->m_nIndex << " runs the wrong way";
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
    for (const auto& o : level.m_Objects.m_pObjects) {
        const bool placed = std::any_of(sectors.begin(), sectors.end(), [&](const auto& s) {
            return s->m_dCeilingAltitude <= o->m_dY && o->m_dY <= s->m_dFloorAltitude &&
                   InFirstLoop(*s, o->m_dX, o->m_dZ);
        });
        EXPECT_TRUE(placed) << o->m_strData << " at " << o->m_dX << ", " << o->m_dZ;
    }
}

TEST(NewDocument, IsOneClosedRoomWithThePlayerStartAndItsTextsInPlace) {
    CMorviDoc doc;
    BuildNewDocument(doc);
    const CDataLevel& level = doc.level();
    EXPECT_TRUE(checkLevel(level).empty());
    ExpectWellDrawn(level);
    ASSERT_EQ(level.m_Lev.m_pSectors.size(), 1u);
    EXPECT_EQ(level.m_Lev.m_pSectors[0]->m_pWalls.size(), 4u);
    ASSERT_EQ(level.m_Objects.m_pObjects.size(), 1u);
    EXPECT_EQ(level.m_Objects.m_pObjects[0]->m_strClass, "SPIRIT");
    std::vector<std::string> names;
    for (const auto& m : level.m_pMembers)
        names.push_back(m->m_strName);
    EXPECT_EQ(names, (std::vector<std::string>{"SECBASE.LEV", "SECBASE.O", "SECBASE.INF", "SECBASE.GOL",
                                               "SECBASE.PAL"}));
    EXPECT_EQ(level.FindMember("SECBASE.PAL")->m_nSize, kPaletteSize);
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

TEST_F(SampleLevelTest, IsValidAndWellDrawnOnTwoLayers) {
    for (const auto& finding : checkLevel(Level()))
        ADD_FAILURE() << finding.m_strText;
    ExpectWellDrawn(Level());
    EXPECT_GE(Sectors().size(), 25u);
    std::set<int> layers;
    std::set<std::string> names;
    for (const auto& s : Sectors()) {
        layers.insert(s->m_nLayer);
        EXPECT_TRUE(s->m_strName.empty() || names.insert(s->m_strName).second) << s->m_strName;
        EXPECT_GE(s->m_nAmbient, 10);
        EXPECT_LE(s->m_nAmbient, 31);
    }
    EXPECT_EQ(layers, (std::set<int>{1, 2}));
}

TEST_F(SampleLevelTest, HasSkyPitSecretDoorsIslandAndHole) {
    for (const int flag : {kSky, kPit, kSecret, kDoor})
        EXPECT_GE(CountFlag(flag), 1) << flag;
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

// The lift stops on both layers, its walls move with it, and two switches on signed walls call it.
TEST_F(SampleLevelTest, LiftMovesBetweenLayersAndSwitchesCallIt) {
    const CDataInfItem* lift = nullptr;
    for (const auto& item : Level().m_Inf.m_pItems)
        if (item->m_strType == "sector" && HasLine(*item, "class:\televator move_floor")) lift = item.get();
    ASSERT_NE(lift, nullptr);
    EXPECT_TRUE(HasLine(*lift, "stop:\t0 hold"));
    EXPECT_TRUE(HasLine(*lift, "stop:\t32 hold"));
    const CDataSector* liftSector = SectorNamed(Level(), lift->m_strName);
    ASSERT_NE(liftSector, nullptr);
    std::set<int> reachedLayers;
    for (const auto& w : liftSector->m_pWalls) {
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
        EXPECT_GE(s->m_pWalls[static_cast<std::size_t>(item->m_nNum)]->m_Sign.m_nTexture, 0);
    }
    EXPECT_EQ(switches, 2);
}

// Objects of every class with one player start, the goal item the GOL names, and the level list and
// messages beside the level.
TEST_F(SampleLevelTest, HasObjectsOfEveryClassGoalsLevelListAndMessages) {
    const auto& objects = Level().m_Objects.m_pObjects;
    std::set<std::string> classes;
    for (const auto& o : objects)
        classes.insert(o->m_strClass);
    EXPECT_EQ(classes, (std::set<std::string>{"3D", "FRAME", "SAFE", "SOUND", "SPIRIT", "SPRITE"}));
    EXPECT_EQ(std::ranges::count_if(objects, [](const auto& o) { return o->m_strClass == "SPIRIT"; }), 1);
    EXPECT_TRUE(std::ranges::any_of(objects, [](const auto& o) { return o->m_strData == "IDPLANS.WAX"; }));
    EXPECT_EQ(GetLevelText(Level(), LevelText::Gol).value_or(""), "GOL 1.0\r\n\r\nGOAL: 0 ITEM: PLANS\r\n");
    EXPECT_NE(GetLevelText(Level(), LevelText::Lvl).value_or("").find("SECBASE"), std::string::npos);
    EXPECT_EQ(GetLevelText(Level(), LevelText::Msg).value_or("").rfind("MSG 1.0\r\n", 0), 0u);
}

// Every build gives the same bytes, also into a used document; the document file and the level's
// GOB both read back to the same bytes, and the level read from its GOB is as valid as before.
TEST(SampleLevelFiles, SameBytesOnEveryBuildAndThroughDocumentAndGob) {
    for (auto build : {&BuildSampleLevel, &BuildNewDocument}) {
        CMorviDoc doc, other;
        build(doc);
        build(other);
        build(other);
        const std::vector<std::uint8_t> bytes = DocumentBytes(doc);
        EXPECT_EQ(DocumentBytes(other), bytes);
        CMorviDoc loaded;
        ASSERT_TRUE(ReadDocumentBytes(loaded, bytes, "sample.mrv", {}));
        EXPECT_EQ(loaded.m_nCurrentLayer, 1);
        EXPECT_EQ(DocumentBytes(loaded), bytes);

        std::vector<std::uint8_t> gob, again;
        ASSERT_TRUE(WriteLevelBytes(doc.level(), gob));
        CDataLevel read;
        ASSERT_TRUE(LoadLevelBytes(read, gob, "sample.gob", nullptr));
        EXPECT_TRUE(checkLevel(read).empty());
        ExpectWellDrawn(read);
        ASSERT_TRUE(WriteLevelBytes(read, again));
        EXPECT_EQ(again, gob);
    }
}

} // namespace
} // namespace morvi::demo
