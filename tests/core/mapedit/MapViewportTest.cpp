#include "mapedit/CMapEngine.h"

#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvi {
namespace {

// The default device has k = 5: at zoom 0 the 4096-unit world spans 512 pixels.
const MapDevice kScreen{};
const ClientRect kClient{0, 0, 400, 300};

struct Fixture {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
    MapViewport& view = engine.viewport();

    void Layout(const ClientRect& client = kClient) { view.RecalcLayout(kScreen, client); }
    double CentreX() const { return view.ScreenToWorldX(kClient.width() / 2); }
    double CentreZ() const { return view.ScreenToWorldZ(kClient.height() / 2); }
};

TEST(MapCoordinates, PixelsTruncateAndSnapsRoundHalvesAwayFromZero) {
    Fixture f;
    f.view.ComputeScale(MapDevice{}, 0);
    f.doc.m_dScrollX = 100;
    EXPECT_EQ(f.view.WorldToScreenX(-1948 + 7.99), 0); // 0.998 pixels is pixel 0
    EXPECT_EQ(f.view.WorldToScreenX(-1948 + 8), 1);
    f.view.m_dGridStep = 16;
    for (const auto& [in, out] : {std::pair{8.0, 16.0}, {-8.0, -16.0}, {7.99, 0.0}, {-23.9, -16.0}})
        EXPECT_DOUBLE_EQ(f.view.SnapPoint(in), out) << in;
    f.doc.m_bGridOn = 0;
    for (const auto& [in, out] : {std::pair{1.234, 1.23}, {-1.235, -1.24}, {2.5, 2.5}})
        EXPECT_DOUBLE_EQ(f.view.SnapPoint(in), out) << in;
}

TEST(MapCoordinates, PointInPolygonAndFirstLoop) {
    // Bottom and right edges are inside, top and left outside.
    const ScreenPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (const auto& [p, inside] : {std::pair{ScreenPoint{5, 5}, true},
                                    {{11, 5}, false},
                                    {{5, 10}, true},
                                    {{5, 0}, false},
                                    {{0, 5}, false},
                                    {{10, 5}, true}})
        EXPECT_EQ(MapPicker::PointInPolygon(square, p), inside) << p.x << "," << p.y;
    EXPECT_FALSE(MapPicker::PointInPolygon({}, {0, 0}));

    CDataSector sector;
    for (const auto& [left, right] : {std::pair{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}}) {
        sector.m_pWalls.push_back(std::make_unique<CDataWall>());
        sector.m_pWalls.back()->m_nLeft = left;
        sector.m_pWalls.back()->m_nRight = right;
    }
    EXPECT_EQ(MapDrawing::FirstLoopLength(sector), 3);
    sector.m_pWalls[2]->m_nRight = 9; // the first loop never closes: all walls
    EXPECT_EQ(MapDrawing::FirstLoopLength(sector), 6);
}

TEST(MapLayout, ClampsTheScrollAndTheDocumentsNumbers) {
    Fixture f;
    f.doc.m_dScrollX = 5000;
    f.doc.m_dScrollZ = 2000;
    f.Layout();                               // step 256, cells of 32 pixels: 12 by 9 on the page
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 1024); // (16 - 12) * 256
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 1792); // (16 - 9) * 256
    EXPECT_EQ(f.view.scrollBar(ScrollAxis::Horizontal), (ScrollBarState{0, 15, 12, 4, true}));
    f.doc.m_dScrollX = -50;
    f.Layout({0, 0, 600, 600}); // the whole world fits: no scrolling
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 0);
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollZ, 0);
    EXPECT_FALSE(f.view.scrollBar(ScrollAxis::Vertical).m_bEnabled);
    // Zoom and grid level, as a damaged document file may hold them: the grid level is at most
    // trunc(log2(32 * zoom factor)).
    for (const auto& [zoom, level, expected] :
         {std::tuple{0, 16, 5}, {1, 16, 5}, {24, 16, 16}, {40, -2, 0}}) {
        f.doc.m_nZoom = zoom;
        f.doc.m_nGridLevel = level;
        f.Layout();
        EXPECT_EQ(f.doc.m_nGridLevel, expected) << zoom;
        EXPECT_EQ(f.doc.m_nZoom, std::clamp(zoom, 0, 24));
    }
}

TEST(MapLayout, ZoomKeepsTheCentreUnlessTheWorldsEdgeStopsIt) {
    Fixture f;
    f.doc.m_dScrollX = 512;
    f.doc.m_dScrollZ = 512;
    f.Layout();
    EXPECT_DOUBLE_EQ(f.CentreX(), 64);  // 200 * 8 - 2048 + 512
    EXPECT_DOUBLE_EQ(f.CentreZ(), 336); // 362 * 8 - 2048 - 512
    EXPECT_EQ(f.view.ZoomIn(), kHintZoom);
    f.view.OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_DOUBLE_EQ(f.view.m_dScale, 768);
    EXPECT_NEAR(f.CentreX(), 64, 1e-9);
    EXPECT_NEAR(f.CentreZ(), 336, 1e-9);
    EXPECT_EQ(f.view.ZoomOut(), kHintZoom);
    f.view.OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_NEAR(f.doc.m_dScrollX, 512, 1e-9);
    EXPECT_NEAR(f.doc.m_dScrollZ, 512, 1e-9);
    EXPECT_EQ(f.view.ZoomOut(), std::nullopt) << "zoom 0 is the last";
    // Near the top-left corner the centre would need negative offsets: the corner shows instead.
    f.doc.m_nZoom = 1;
    f.doc.m_dScrollX = f.doc.m_dScrollZ = 0;
    f.Layout();
    ASSERT_EQ(f.view.ZoomOut(), kHintZoom);
    f.view.OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_DOUBLE_EQ(f.view.ScreenToWorldX(0), -2048);
    EXPECT_DOUBLE_EQ(f.view.ScreenToWorldZ(0), 2048);
}

TEST(MapLayout, ZoomNormalizeFitsTheSelectedSectorsOrTheLevel) {
    Fixture f;
    f.doc.m_nZoom = 3;
    EXPECT_EQ(f.view.ZoomNormalize(kScreen, kClient), std::nullopt) << "no sectors";
    testing::BuildTwoRooms(f.doc.level()); // 0..128 by 0..64
    // Both rooms: at zoom 10 the width 128 fills the visible 100.
    ASSERT_EQ(f.view.ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 9);
    f.view.OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_NEAR(f.CentreX(), 64, 1e-9);
    EXPECT_NEAR(f.CentreZ(), 32, 1e-9);
    f.engine.AddToSelection({1, -1, -1, -1});
    f.engine.AddToSelection({-1, -1, -1, 0}); // an object outside every sector adds nothing
    ASSERT_EQ(f.view.ZoomNormalize(kScreen, kClient), kHintZoom);
    EXPECT_EQ(f.doc.m_nZoom, 10);
    f.view.OnUpdate(kHintZoom, kScreen, kClient);
    EXPECT_NEAR(f.CentreX(), 96, 1e-9);
    EXPECT_NEAR(f.CentreZ(), 32, 1e-9);
}

TEST(MapLayout, ScrollCodesMoveByLinesPagesAndThumbWithinTheRange) {
    Fixture f;
    f.Layout(); // step 256, 8 world units a pixel, max X 1024 (12 page cells)
    using enum ScrollCode;
    const auto h = [&](ScrollCode code, int pos = 0) {
        return f.view.Scroll(ScrollAxis::Horizontal, code, pos);
    };
    EXPECT_EQ(h(LineBack), (ScreenPoint{0, 0}));
    EXPECT_EQ(h(LineForward), (ScreenPoint{-32, 0}));
    EXPECT_EQ(h(PageForward), (ScreenPoint{-96, 0})); // 256 + 12 * 256 / 4
    EXPECT_EQ(h(LineForward), (ScreenPoint{0, 0}));
    EXPECT_EQ(h(PageBack), (ScreenPoint{96, 0}));
    EXPECT_EQ(h(PageBack), (ScreenPoint{32, 0})); // 256 - 768, not below 0
    EXPECT_EQ(h(ThumbTrack, 3), (ScreenPoint{-96, 0}));
    EXPECT_EQ(f.view.scrollBar(ScrollAxis::Horizontal).m_nPos, 3);
    // Offsets that are no whole cells stop at either end of the range.
    f.doc.m_dScrollX = 1000;
    EXPECT_EQ(h(LineForward), (ScreenPoint{-3, 0}));
    EXPECT_DOUBLE_EQ(f.doc.m_dScrollX, 1024);
}

// The wheel zooms about the cursor: the world point under it stays on its pixel while the scale
// grows a step; a pan moves the world point under the cursor with it.
TEST(MapLayout, WheelZoomKeepsThePointUnderTheCursorAndPanningFollowsTheMouse) {
    Fixture f;
    f.doc.m_nZoom = 2;
    f.doc.m_dScrollX = f.doc.m_dScrollZ = 1024;
    f.Layout();
    const ScreenPoint cursor{300, 50};
    const double x = f.view.ScreenToWorldX(cursor.x), z = f.view.ScreenToWorldZ(cursor.y);
    ASSERT_EQ(f.view.ZoomAbout(cursor, true, kScreen), std::optional(kHintZoom));
    EXPECT_DOUBLE_EQ(f.view.m_dScale, 1536);
    EXPECT_NEAR(f.view.ScreenToWorldX(cursor.x), x, 1e-9);
    EXPECT_NEAR(f.view.ScreenToWorldZ(cursor.y), z, 1e-9);
    const double before = f.view.ScreenToWorldX(100);
    ASSERT_TRUE(f.view.PanBy(20, -10, kScreen));
    EXPECT_NEAR(f.view.ScreenToWorldX(120), before, 1e-9);
    f.doc.m_dScrollX = 0;
    f.Layout();
    EXPECT_FALSE(f.view.PanBy(50, 0, kScreen)) << "the world's edge stops it";
}

} // namespace
} // namespace morvi
