#include "mapedit/FindingFocus.h"

#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace morvi {
namespace {

using Kind = LevelFinding::Kind;
using Selection = std::vector<CMapSelItem>;

// Two adjoined rooms, the second on layer 3, seen by a 401 x 301 view whose centre is (200, 150).
class FindingFocus : public ::testing::Test {
protected:
    FindingFocus() {
        testing::BuildTwoRooms(level());
        level().m_Lev.m_pSectors[1]->m_nLayer = 3;
        m_Engine.viewport().m_dScale = 512.0;
        m_Engine.viewport().m_rcClient = {0, 0, 401, 301};
    }

    CDataLevel& level() { return m_Doc.level(); }
    bool CentredOn(double x, double z) const {
        return m_Engine.viewport().WorldToScreen(x, z) == ScreenPoint{200, 150};
    }
    LevelFinding FindingAbout(int sector) const {
        const std::vector<LevelFinding> findings = checkLevel(m_Doc.level());
        const auto it = std::find_if(findings.begin(), findings.end(),
                                     [sector](const LevelFinding& f) { return f.m_nSector == sector; });
        return it == findings.end() ? LevelFinding{} : *it;
    }

    CMorviDoc m_Doc;
    Settings m_Settings;
    CMapEngine m_Engine{m_Doc, m_Settings};
    int m_nStores = 0;
    Notifier<>::Connection m_StoreWatch = m_Doc.m_StoreEdits.Connect([this] { ++m_nStores; });
};

TEST_F(FindingFocus, BrokenMirrorSelectsTheWallAndCentresOnItsMidpoint) {
    // Sector 1 wall 3, (64,64)->(64,0), now claims sector 0 wall 2 as its mirror.
    level().m_Lev.m_pSectors[1]->m_pWalls[3]->m_nMirror = 2;
    const LevelFinding finding = FindingAbout(1);
    ASSERT_EQ(finding.m_Kind, Kind::Wall);
    m_Doc.m_nMode = kModeObject;
    m_Engine.AddToSelection({-1, -1, -1, 0});
    ASSERT_TRUE(FocusOnFinding(m_Engine, finding));
    EXPECT_EQ(m_Doc.m_nMode, kModeWall);
    EXPECT_EQ(m_Engine.selection(), (Selection{{1, 3, -1, -1}}));
    EXPECT_EQ(m_Doc.m_nCurrentLayer, 3);
    EXPECT_TRUE(CentredOn(64, 32));
    EXPECT_EQ(m_nStores, 1);
}

TEST_F(FindingFocus, ObjectFindingSwitchesToObjectMode) {
    auto object = std::make_unique<CDataObjectItem>();
    object->m_dX = 100;
    object->m_dZ = 20;
    object->m_nSector = 1;
    object->m_nData = 4; // no sprite table at all
    level().m_Objects.m_pObjects.push_back(std::move(object));
    const LevelFinding finding = FindingAbout(-1);
    ASSERT_EQ(finding.m_Kind, Kind::Object);
    m_Engine.AddToSelection({0, -1, -1, -1});
    ASSERT_TRUE(FocusOnFinding(m_Engine, finding));
    EXPECT_EQ(m_Doc.m_nMode, kModeObject);
    EXPECT_EQ(m_Engine.selection(), (Selection{{1, -1, -1, 0}}));
    EXPECT_EQ(m_Doc.m_nCurrentLayer, 3);
    EXPECT_TRUE(CentredOn(100, 20));

    // Assigned to a sector that is gone: the object is still selected, the layer stays.
    level().m_Objects.m_pObjects[0]->m_nSector = 9;
    m_Doc.m_nCurrentLayer = 0;
    ASSERT_TRUE(FocusOnFinding(m_Engine, finding));
    EXPECT_EQ(m_Engine.selection(), (Selection{{-1, -1, -1, 0}}));
    EXPECT_EQ(m_Doc.m_nCurrentLayer, 0);
}

TEST_F(FindingFocus, BrokenIndicesFallBackToWhatExists) {
    m_Doc.m_nMode = kModeVertex;
    // A wall past the sector's last wall: its sector, centred on the mean of its vertices.
    LevelFinding wall{Kind::Wall, 1, 9, -1, -1, -1, "Sector 1 wall 9"};
    ASSERT_TRUE(FocusOnFinding(m_Engine, wall));
    EXPECT_EQ(m_Doc.m_nMode, kModeSector);
    EXPECT_EQ(m_Engine.selection(), (Selection{{1, -1, -1, -1}}));
    EXPECT_TRUE(CentredOn(96, 32));

    // A wall whose end is broken still exists; the view goes to its sector.
    level().m_Lev.m_pSectors[0]->m_pWalls[2]->m_nLeft = 17;
    wall = FindingAbout(0);
    ASSERT_EQ(wall.m_nWall, 2);
    ASSERT_TRUE(FocusOnFinding(m_Engine, wall));
    EXPECT_EQ(m_Engine.selection(), (Selection{{0, 2, -1, -1}}));
    EXPECT_TRUE(CentredOn(32, 32));

    const LevelFinding vertex{Kind::Vertex, 0, -1, 3, -1, -1, ""};
    ASSERT_TRUE(FocusOnFinding(m_Engine, vertex));
    EXPECT_EQ(m_Doc.m_nMode, kModeVertex);
    EXPECT_EQ(m_Engine.selection(), (Selection{{0, -1, 3, -1}}));
    EXPECT_TRUE(CentredOn(0, 64));

    // Nothing that exists: nothing changes.
    const int stores = m_nStores;
    for (const LevelFinding& none : {LevelFinding{Kind::Sector, 5, -1, -1, -1, -1, ""},
                                     LevelFinding{Kind::Object, -1, -1, -1, 0, -1, ""},
                                     LevelFinding{Kind::Level, -1, -1, -1, -1, -1, ""}})
        EXPECT_FALSE(FocusOnFinding(m_Engine, none));
    EXPECT_EQ(m_Engine.selection(), (Selection{{0, -1, 3, -1}}));
    EXPECT_EQ(m_nStores, stores);
}

TEST_F(FindingFocus, InfItemFocusesTheSectorItNames) {
    testing::AddItem(level().m_Inf, "level", "", -1, {});
    testing::AddItem(level().m_Inf, "sector", "LIFT", -1, {});
    level().m_Lev.m_pSectors[1]->m_strName = "lift";
    m_Doc.m_nMode = kModeWall;
    ASSERT_TRUE(FocusOnFinding(m_Engine, LevelFinding{Kind::InfItem, -1, -1, -1, -1, 1, ""}));
    EXPECT_EQ(m_Doc.m_nMode, kModeSector);
    EXPECT_EQ(m_Engine.selection(), (Selection{{1, -1, -1, -1}}));
    EXPECT_FALSE(FocusOnFinding(m_Engine, LevelFinding{Kind::InfItem, -1, -1, -1, -1, 0, ""}));
}

} // namespace
} // namespace morvi
