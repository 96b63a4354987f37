#include "mapedit/FindingFocus.h"

#include "support/EngineView.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace morvi {
namespace {

using Kind = LevelFinding::Kind;
using Selection = std::vector<CMapSelItem>;

// Two adjoined rooms, the second on layer 3; the view's centre is pixel (400, 300).
struct FindingFocus : ::testing::Test, testing::EngineView {
    FindingFocus() : EngineView(kModeObject, testing::BuildTwoRooms) { sector(1).m_nLayer = 3; }
    bool CentredOn(double x, double z) const {
        return engine.viewport().WorldToScreen(x, z) == ScreenPoint{400, 300};
    }
    LevelFinding FindingAbout(int s) const {
        const std::vector<LevelFinding> findings = checkLevel(doc.level());
        const auto it = std::find_if(findings.begin(), findings.end(),
                                     [s](const LevelFinding& f) { return f.m_nSector == s; });
        return it == findings.end() ? LevelFinding{} : *it;
    }
    int m_nStores = 0;
    Notifier<>::Connection m_StoreWatch = doc.m_StoreEdits.Connect([this] { ++m_nStores; });
};

TEST_F(FindingFocus, BrokenMirrorSelectsTheWallOnItsLayerAndCentresOnItsMidpoint) {
    wall(1, 3).m_nMirror = 2; // (64,64)->(64,0) now claims sector 0 wall 2 as its mirror
    const LevelFinding finding = FindingAbout(1);
    ASSERT_EQ(finding.m_Kind, Kind::Wall);
    engine.AddToSelection({-1, -1, -1, 0});
    ASSERT_TRUE(FocusOnFinding(engine, finding));
    EXPECT_EQ(doc.m_nMode, kModeWall);
    EXPECT_EQ(engine.selection(), (Selection{{1, 3, -1, -1}}));
    EXPECT_EQ(doc.m_nCurrentLayer, 3);
    EXPECT_TRUE(CentredOn(64, 32));
    EXPECT_EQ(m_nStores, 1);
}

} // namespace
} // namespace morvi
