#include "mapedit/CMapEngine.h"

#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using testing::BuildRoom;
using testing::BuildTwoRooms;
using testing::MakeSquareSector;

// The default device has k = 5: at zoom 0 the 4096-unit world spans 512 pixels.
const MapDevice kScreen{};
const ClientRect kClient{0, 0, 400, 300};

struct Fixture {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};

    void Layout(const ClientRect& client = kClient) { engine.viewport().RecalcLayout(kScreen, client); }
    double CentreX() const { return engine.viewport().ScreenToWorldX(kClient.width() / 2); }
    double CentreZ() const { return engine.viewport().ScreenToWorldZ(kClient.height() / 2); }
    void AddSector(double x0, double z0, double x1, double z1) {
        auto& sectors = doc.level().m_Lev.m_pSectors;
        const int index = static_cast<int>(sectors.size());
        sectors.push_back(MakeSquareSector(doc.level().m_Lev, index, x0, z0, x1, z1));
    }
};

TEST(MapLayout, LaysOutCellsPagesAndClampsTheScroll) {
    Fixture f;
    f.doc.m_dScrollX = 5000;
    f.doc.m_dScrollZ = 300;
    f.Layout();
    EXPECT_EQ(f.engine.viewport().m_rcClient, kClient);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dScale, 512);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dGridStep, 256);
    EXPECT_EQ(f.engine.viewport().m_nGridCells, 16);
    EXPECT_EQ(f.engine.viewport().m_nCellPixels, 32);
    EXPECT_EQ(f.engine.viewport().m_nPageCellsX, 12); // 400 / 32
    EXPECT_EQ(f.engine.viewport().m_nPageCellsY, 9);  // 300 / 32
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 1024);         // (16 - 12) * 256
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 300);
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Horizontal), (ScrollBarState{0, 15, 12, 4, true}));
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Vertical), (ScrollBarState{0, 15, 9, 1, true}));

    f.doc.m_dScrollZ = 2000; // above (16 - 9) * 256
    f.doc.m_dScrollX = -50;  // never left of the world's edge
    f.Layout();
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 1792);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 0);
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Vertical).m_nPos, 7);

    // The whole world fits: no scrolling, and the bars show disabled.
    f.Layout({0, 0, 600, 600});
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 0);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 0);
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Horizontal), (ScrollBarState{0, 15, 18, 0, false}));
    EXPECT_FALSE(f.engine.viewport().scrollBar(ScrollAxis::Vertical).m_bEnabled);
}

TEST(MapLayout, GridLevelIsClampedToTheZoomAndStoredBack) {
    Fixture f;
    f.doc.m_nGridLevel = 16;
    f.Layout(); // trunc(log2(32 * 1)) = 5
    EXPECT_EQ(f.doc.m_nGridLevel, 5);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dGridStep, 8);
    EXPECT_EQ(f.engine.viewport().m_nGridCells, 512);
    EXPECT_EQ(f.engine.viewport().m_nCellPixels, 1);

    f.doc.m_nZoom = 1; // trunc(log2(32 * 1.5)) = trunc(5.58)
    f.doc.m_nGridLevel = 16;
    f.Layout();
    EXPECT_EQ(f.doc.m_nGridLevel, 5);

    f.doc.m_nZoom = 24; // log2(32 * 4096) = 17: level 16 stays
    f.doc.m_nGridLevel = 16;
    f.Layout();
    EXPECT_EQ(f.doc.m_nGridLevel, 16);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dGridStep, 1.0 / 256);
    EXPECT_EQ(f.engine.viewport().m_nGridCells, 1048576);
    EXPECT_EQ(f.engine.viewport().m_nCellPixels, 2); // 2097152 / 1048576
    EXPECT_EQ(f.engine.viewport().m_nPageCellsX, 200);

    // A k = 6 device at zoom 0: level 6, 1024 cells over 256 pixels; a cell takes at least a pixel.
    f.doc.m_nZoom = 0;
    f.engine.viewport().RecalcLayout(MapDevice{1920, 300, false}, kClient);
    EXPECT_EQ(f.doc.m_nGridLevel, 6);
    EXPECT_EQ(f.engine.viewport().m_nGridCells, 1024);
    EXPECT_EQ(f.engine.viewport().m_nCellPixels, 1);
    EXPECT_EQ(f.engine.viewport().m_nPageCellsX, 400);
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Horizontal).m_nMax, 1023);

    // Numbers out of range, as a damaged document file could hold them, are brought into range.
    f.doc.m_nZoom = 40;
    f.doc.m_nGridLevel = -2;
    f.Layout();
    EXPECT_EQ(f.doc.m_nZoom, 24);
    EXPECT_EQ(f.doc.m_nGridLevel, 0);
    EXPECT_EQ(f.engine.viewport().m_nGridCells, 16);
    f.doc.m_nZoom = -1;
    f.Layout();
    EXPECT_EQ(f.doc.m_nZoom, 0);

    // A finer grid than the zoom allows has no effect once the views are laid out again.
    f.doc.m_nGridLevel = 5;
    f.Layout();
    ASSERT_EQ(f.doc.m_nGridLevel, 5);
    EXPECT_EQ(f.engine.viewport().GridZoomIn(), kHintGrid);
    EXPECT_EQ(f.doc.m_nGridLevel, 6);
    f.engine.viewport().OnUpdate(kHintGrid, kScreen, kClient);
    EXPECT_EQ(f.doc.m_nGridLevel, 5);
}

TEST(MapLayout, PerspectiveModeLeavesTheLayoutAlone) {
    Fixture f;
    f.doc.m_nMode = kModePerspective;
    f.doc.m_dScrollX = 5000;
    f.doc.m_nGridLevel = 16;
    f.Layout();
    EXPECT_EQ(f.engine.viewport().m_rcClient, ClientRect{});
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 5000);
    EXPECT_EQ(f.doc.m_nGridLevel, 16);
    EXPECT_EQ(f.engine.viewport().Scroll(ScrollAxis::Horizontal, ScrollCode::LineBack), (ScreenPoint{0, 0}));
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 5000);
    // The zoom commands stay enabled for the perspective view but change nothing of the map.
    EXPECT_TRUE(f.engine.viewport().CanZoomIn());
    EXPECT_TRUE(f.engine.viewport().CanZoomOut());
    EXPECT_EQ(f.engine.viewport().ZoomIn(), std::nullopt);
    EXPECT_EQ(f.engine.viewport().ZoomOut(), std::nullopt);
    EXPECT_EQ(f.doc.m_nZoom, 0);
}

TEST(MapLayout, ZoomKeepsTheWorldPointAtTheCentre) {
    Fixture f;
    f.doc.m_dScrollX = 512;
    f.doc.m_dScrollZ = 512;
    f.Layout();
    EXPECT_DOUBLE_EQ(f.CentreX(), 64);  // 200 * 8 - 2048 + 512
    EXPECT_DOUBLE_EQ(f.CentreZ(), 336); // 362 * 8 - 2048 - 512

    EXPECT_EQ(f.engine.viewport().ZoomIn(), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 1);
    f.engine.viewport().OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dScale, 768);
    EXPECT_NEAR(f.CentreX(), 64, 1e-9);
    EXPECT_NEAR(f.CentreZ(), 336, 1e-9);
    EXPECT_NEAR(f.doc.m_dScrollX, 512 + 1600.0 / 3, 1e-9);
    EXPECT_NEAR(f.doc.m_dScrollZ, 912, 1e-9);

    EXPECT_EQ(f.engine.viewport().ZoomOut(), kHintZoom);
    f.engine.viewport().OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_NEAR(f.doc.m_dScrollX, 512, 1e-9);
    EXPECT_NEAR(f.doc.m_dScrollZ, 512, 1e-9);
}

TEST(MapLayout, ZoomOutNearTheWorldsCornerStopsAtItsEdges) {
    Fixture f;
    f.doc.m_nZoom = 1;
    f.Layout();
    ASSERT_EQ(f.engine.viewport().ZoomOut(), kHintZoom);
    f.engine.viewport().OnUpdate(kHintZoom, kScreen, kClient);
    // Keeping the centre would need negative offsets; the world's top-left corner shows instead.
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 0);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 0);
    EXPECT_DOUBLE_EQ(f.engine.viewport().ScreenToWorldX(0), -2048);
    EXPECT_DOUBLE_EQ(f.engine.viewport().ScreenToWorldZ(0), 2048);
}

TEST(MapLayout, ZoomAndGridCommandsStopAtTheirLimits) {
    Fixture f;
    EXPECT_FALSE(f.engine.viewport().CanZoomOut());
    EXPECT_EQ(f.engine.viewport().ZoomOut(), std::nullopt);
    EXPECT_EQ(f.doc.m_nZoom, 0);
    f.doc.m_nZoom = 24;
    EXPECT_FALSE(f.engine.viewport().CanZoomIn());
    EXPECT_EQ(f.engine.viewport().ZoomIn(), std::nullopt);
    EXPECT_EQ(f.doc.m_nZoom, 24);
    EXPECT_TRUE(f.engine.viewport().CanZoomOut());
    EXPECT_EQ(f.engine.viewport().ZoomOut(), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 23);

    EXPECT_FALSE(f.engine.viewport().CanGridZoomOut());
    EXPECT_EQ(f.engine.viewport().GridZoomOut(), std::nullopt);
    EXPECT_EQ(f.doc.m_nGridLevel, 0);
    f.doc.m_nGridLevel = 16;
    EXPECT_EQ(f.engine.viewport().GridZoomIn(), std::nullopt);
    EXPECT_EQ(f.doc.m_nGridLevel, 16);
    EXPECT_EQ(f.engine.viewport().GridZoomOut(), kHintGrid);
    EXPECT_EQ(f.doc.m_nGridLevel, 15);

    EXPECT_EQ(f.engine.viewport().ToggleGrid(), kHintOther);
    EXPECT_EQ(f.doc.m_bGridOn, 0);
    EXPECT_EQ(f.engine.viewport().ToggleGrid(), kHintOther);
    EXPECT_EQ(f.doc.m_bGridOn, 1);
}

TEST(MapLayout, ZoomNormalizeFitsTheLevel) {
    Fixture f;
    BuildRoom(f.doc.level()); // 0..64 on both axes
    f.doc.m_nGridLevel = 9;
    // Visible 3200 / f by 2400 / f: at zoom 11 (f = 48) the height 50 is filled, so zoom 10.
    EXPECT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 10);
    EXPECT_EQ(f.doc.m_nGridLevel, 4);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dScale, 16384);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 2030);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 1978.5);
    f.engine.viewport().OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dGridStep, 16);
    EXPECT_DOUBLE_EQ(f.CentreX(), 32);
    EXPECT_DOUBLE_EQ(f.CentreZ(), 32);
}

TEST(MapLayout, ZoomNormalizeFitsOnlyTheSelectedSectors) {
    Fixture f;
    BuildTwoRooms(f.doc.level()); // 0..128 by 0..64
    // Both rooms: at zoom 10 the width 128 fills the visible 100.
    ASSERT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 9);
    f.engine.viewport().OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_NEAR(f.CentreX(), 64, 1e-9);
    EXPECT_NEAR(f.CentreZ(), 32, 1e-9);

    f.engine.AddToSelection({1, -1, -1, -1});
    f.engine.AddToSelection({-1, -1, -1, 0}); // an object outside every sector adds nothing
    ASSERT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 10);
    f.engine.viewport().OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_NEAR(f.CentreX(), 96, 1e-9);
    EXPECT_NEAR(f.CentreZ(), 32, 1e-9);
}

TEST(MapLayout, ZoomNormalizeEdgeCases) {
    Fixture f;
    f.doc.m_nZoom = 3;
    f.doc.m_dScrollX = 100;
    // No sectors, or a selection naming none: nothing changes.
    EXPECT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), std::nullopt);
    f.AddSector(0, 0, 64, 64);
    f.engine.AddToSelection({-1, -1, -1, 2});
    EXPECT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), std::nullopt);
    EXPECT_EQ(f.doc.m_nZoom, 3);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 100);
    f.engine.ClearSelection();

    // A box that fills a side exactly counts as filling: 1600 high against 2400 / 1.5 at zoom 1.
    f.doc.level().m_Lev.m_pSectors.clear();
    f.AddSector(-100, -800, 100, 800);
    ASSERT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 0);

    // Larger than the view at zoom 0: zoom 0, never below.
    f.AddSector(-2000, -2000, 2000, 2000);
    ASSERT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 0);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 448);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 848);

    // All vertices at one point: no zoom fills the view, the search ends at 24.
    f.doc.level().m_Lev.m_pSectors.clear();
    f.AddSector(10, 10, 10, 10);
    ASSERT_EQ(f.engine.viewport().ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 23);
    EXPECT_NEAR(f.CentreX(), 10, 1e-6);
    EXPECT_NEAR(f.CentreZ(), 10, 1e-6);
}

TEST(MapLayout, ScrollCodesMoveByLinesPagesAndThumb) {
    Fixture f;
    f.Layout(); // step 256, 8 world units a pixel, max X 1024 (12 page cells), max Z 1792 (9)
    using enum ScrollCode;
    const auto h = [&](ScrollCode code, int pos = 0) {
        return f.engine.viewport().Scroll(ScrollAxis::Horizontal, code, pos);
    };
    EXPECT_EQ(h(LineBack), (ScreenPoint{0, 0}));
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 0);
    EXPECT_EQ(h(LineForward), (ScreenPoint{-32, 0}));
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Horizontal).m_nPos, 1);
    EXPECT_EQ(h(PageForward), (ScreenPoint{-96, 0})); // 256 + 12 * 256 / 4
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 1024);
    EXPECT_EQ(h(LineForward), (ScreenPoint{0, 0}));
    EXPECT_EQ(h(PageForward), (ScreenPoint{0, 0}));
    EXPECT_EQ(h(PageBack), (ScreenPoint{96, 0}));
    EXPECT_EQ(h(PageBack), (ScreenPoint{32, 0})); // 256 - 768, not below 0
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 0);
    EXPECT_EQ(h(ThumbTrack, 3), (ScreenPoint{-96, 0}));
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Horizontal).m_nPos, 3);
    EXPECT_EQ(h(PageForward), (ScreenPoint{-32, 0})); // 768 + 768, not above 1024
    EXPECT_EQ(h(ThumbPosition, 1), (ScreenPoint{0, 0}));
    EXPECT_EQ(h(EndScroll), (ScreenPoint{0, 0}));
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 1024);

    // Down shows lower parts of the world, so the picture moves up.
    const auto v = [&](ScrollCode code) { return f.engine.viewport().Scroll(ScrollAxis::Vertical, code); };
    EXPECT_EQ(v(LineBack), (ScreenPoint{0, 0}));
    EXPECT_EQ(v(LineForward), (ScreenPoint{0, -32}));
    EXPECT_EQ(v(PageForward), (ScreenPoint{0, -72})); // 9 * 256 / 4 = 576
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 832);
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Vertical).m_nPos, 3);
    EXPECT_EQ(f.engine.viewport().scrollBar(ScrollAxis::Horizontal).m_nPos, 4);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 1024);
}

TEST(MapLayout, ScrollPixelsTruncateAndOffGridOffsetsStayInRange) {
    Fixture f;
    f.doc.m_nZoom = 1; // 768 pixels for the world
    f.doc.m_nGridLevel = 5;
    f.Layout(); // step 8: 1.5 pixels a line
    ASSERT_DOUBLE_EQ(f.engine.viewport().m_dGridStep, 8);
    EXPECT_EQ(f.engine.viewport().Scroll(ScrollAxis::Horizontal, ScrollCode::LineForward),
              (ScreenPoint{-1, 0}));
    EXPECT_EQ(f.engine.viewport().Scroll(ScrollAxis::Horizontal, ScrollCode::LineBack), (ScreenPoint{1, 0}));

    // After centring the offsets are no whole cells; a line stops at either end of the range.
    Fixture g;
    g.Layout();
    g.doc.m_dScrollX = 1000;
    EXPECT_EQ(g.engine.viewport().Scroll(ScrollAxis::Horizontal, ScrollCode::LineForward),
              (ScreenPoint{-3, 0}));
    EXPECT_DOUBLE_EQ(g.doc.m_dScrollX, 1024);
    g.doc.m_dScrollZ = 10;
    EXPECT_EQ(g.engine.viewport().Scroll(ScrollAxis::Vertical, ScrollCode::LineBack), (ScreenPoint{0, 1}));
    EXPECT_DOUBLE_EQ(g.doc.m_dScrollZ, 0);
}

TEST(MapLayout, ArrowKeysScrollLinesAndWithCtrlPages) {
    using P = std::pair<ScrollAxis, ScrollCode>;
    const auto H = ScrollAxis::Horizontal;
    const auto V = ScrollAxis::Vertical;
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Left, false), (P{H, ScrollCode::LineBack}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Right, false), (P{H, ScrollCode::LineForward}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Up, false), (P{V, ScrollCode::LineBack}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Down, false), (P{V, ScrollCode::LineForward}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Left, true), (P{H, ScrollCode::PageBack}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Right, true), (P{H, ScrollCode::PageForward}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Up, true), (P{V, ScrollCode::PageBack}));
    EXPECT_EQ(MapViewport::ScrollForKey(MapKey::Down, true), (P{V, ScrollCode::PageForward}));
}

TEST(MapLayout, LayersStayWithinTheLevelsRange) {
    Fixture f;
    f.doc.m_nMinLayer = -1;
    f.doc.m_nMaxLayer = 1;
    EXPECT_EQ(f.engine.viewport().LayerUp(), kHintOther);
    EXPECT_EQ(f.doc.m_nCurrentLayer, 1);
    EXPECT_FALSE(f.engine.viewport().CanLayerUp());
    EXPECT_EQ(f.engine.viewport().LayerUp(), std::nullopt);
    EXPECT_EQ(f.engine.viewport().LayerPane(), "Layer 1");
    EXPECT_EQ(f.engine.viewport().LayerDown(), kHintOther);
    EXPECT_EQ(f.engine.viewport().LayerDown(), kHintOther);
    EXPECT_EQ(f.engine.viewport().LayerDown(), std::nullopt);
    EXPECT_EQ(f.engine.viewport().LayerPane(), "Layer -1");

    f.doc.m_nMode = kModePerspective;
    EXPECT_FALSE(f.engine.viewport().CanLayerUp());
    EXPECT_EQ(f.engine.viewport().LayerUp(), std::nullopt);
    f.doc.m_nCurrentLayer = 1;
    EXPECT_EQ(f.engine.viewport().LayerDown(), std::nullopt);

    EXPECT_EQ(f.engine.viewport().ToggleAllLayers(), kHintOther);
    EXPECT_EQ(f.doc.m_bAllLayers, 1);
    EXPECT_EQ(f.engine.viewport().ToggleAllLayers(), kHintOther);
    EXPECT_EQ(f.doc.m_bAllLayers, 0);
}

TEST(MapLayout, ToolsChangeInSectorModeOnly) {
    Fixture f;
    EXPECT_EQ(f.engine.viewport().SetTool(kToolObjects), kHintOther);
    EXPECT_EQ(f.doc.m_nTool, kToolObjects);
    EXPECT_EQ(f.engine.viewport().NextTool(), kHintOther);
    EXPECT_EQ(f.doc.m_nTool, kToolNormal);
    EXPECT_EQ(f.engine.viewport().NextTool(), kHintOther);
    EXPECT_EQ(f.doc.m_nTool, kToolAmbiance);
    EXPECT_EQ(f.engine.viewport().SetTool(6), std::nullopt);
    EXPECT_EQ(f.engine.viewport().SetTool(-1), std::nullopt);
    EXPECT_EQ(f.doc.m_nTool, kToolAmbiance);
    f.doc.m_nMode = kModeWall;
    EXPECT_EQ(f.engine.viewport().SetTool(kToolDamage), std::nullopt);
    EXPECT_EQ(f.engine.viewport().NextTool(), std::nullopt);
    EXPECT_EQ(f.doc.m_nTool, kToolAmbiance);
}

TEST(MapLayout, CursorPanesShowTheWorldPointAndLayer) {
    Fixture f;
    f.Layout();
    EXPECT_EQ(f.engine.viewport().CursorPanes({0, 0}),
              (std::array<std::string, 3>{"X -2048.00", "Z  2048.00", "Layer 0"}));
    f.doc.m_dScrollX = 4.55;
    f.doc.m_dScrollZ = 0.126;
    f.doc.m_nCurrentLayer = -3;
    // X = 240 * 8 - 2048 + 4.55; Z = 362 * 8 - 2048 - 0.126
    EXPECT_EQ(f.engine.viewport().CursorPanes({240, 150}),
              (std::array<std::string, 3>{"X  -123.45", "Z   847.87", "Layer -3"}));
}

// The wheel zooms about the cursor: the world point under it stays on its pixel while the scale
// grows a step; a pan moves the world point under the cursor with it.
TEST(MapLayout, WheelZoomKeepsThePointUnderTheCursorAndPanningFollowsTheMouse) {
    Fixture f;
    f.doc.m_nZoom = 2;
    f.doc.m_dScrollX = f.doc.m_dScrollZ = 1024;
    f.Layout();
    const ScreenPoint cursor{300, 50};
    const double x = f.engine.viewport().ScreenToWorldX(cursor.x),
                 z = f.engine.viewport().ScreenToWorldZ(cursor.y);
    ASSERT_DOUBLE_EQ(f.engine.viewport().m_dScale, 1024);
    ASSERT_EQ(f.engine.viewport().ZoomAbout(cursor, true, kScreen), std::optional(kHintZoom));
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dScale, 1536);
    EXPECT_NEAR(f.engine.viewport().ScreenToWorldX(cursor.x), x, 1e-9);
    EXPECT_NEAR(f.engine.viewport().ScreenToWorldZ(cursor.y), z, 1e-9);
    EXPECT_EQ(f.engine.viewport().ZoomPane(), "Zoom 38%"); // 1536 pixels for 4096 units

    const double before = f.engine.viewport().ScreenToWorldX(100);
    ASSERT_TRUE(f.engine.viewport().PanBy(20, -10, kScreen));
    EXPECT_NEAR(f.engine.viewport().ScreenToWorldX(120), before, 1e-9);
    f.doc.m_dScrollX = 0;
    f.Layout();
    EXPECT_FALSE(f.engine.viewport().PanBy(50, 0, kScreen)) << "the world's edge stops it";
}

} // namespace
} // namespace morvi
