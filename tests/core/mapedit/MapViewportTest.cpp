#include "mapedit/CMapEngine.h"

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
    f.Layout(); // step 256, cells of 32 pixels: 12 by 9 on the page
    EXPECT_EQ(std::pair(f.doc.m_dScrollX, f.doc.m_dScrollZ), std::pair(1024.0, 1792.0)); // (16 - 12, 9) * 256
    EXPECT_EQ(f.view.scrollBar(ScrollAxis::Horizontal), (ScrollBarState{0, 15, 12, 4, true}));
    f.doc.m_dScrollX = -50;
    f.Layout({0, 0, 600, 600}); // the whole world fits: no scrolling
    EXPECT_EQ(std::pair(f.doc.m_dScrollX, f.doc.m_dScrollZ), std::pair(0.0, 0.0));
    EXPECT_FALSE(f.view.scrollBar(ScrollAxis::Vertical).m_bEnabled);
    // Zoom and grid level, as a damaged document file may hold them: the grid level is at most
    // trunc(log2(32 * zoom factor)).
    for (const auto& [zoom, level, expected] :
         {std::tuple{0, 16, 5}, {1, 16, 5}, {24, 16, 16}, {40, -2, 0}}) {
        f.doc.m_nZoom = zoom;
        f.doc.m_nGridLevel = level;
        f.Layout();
        EXPECT_EQ(std::pair(f.doc.m_nZoom, f.doc.m_nGridLevel), std::pair(std::clamp(zoom, 0, 24), expected));
    }
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
