#include "mapedit/CMapEngine.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

struct Fixture {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
};

TEST(MapCoordinates, ZoomZeroShowsTheWorldInFiveHundredTwelvePixels) {
    Fixture f;
    f.engine.viewport().ComputeScale(MapDevice{}, 0);
    EXPECT_EQ(f.engine.viewport().m_nDeviceShift, 5);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dScale, 512.0);
    f.doc.m_dScrollX = 100;
    f.doc.m_dScrollZ = 64;
    EXPECT_DOUBLE_EQ(f.engine.viewport().ScreenToWorldX(0), -2048 + 100);
    EXPECT_DOUBLE_EQ(f.engine.viewport().ScreenToWorldZ(0), 2048 - 64);
    EXPECT_EQ(f.engine.viewport().WorldToScreenX(-1948), 0);
    EXPECT_EQ(f.engine.viewport().WorldToScreenX(-1948 + 7.99), 0); // truncation: 0.998 pixels is pixel 0
    EXPECT_EQ(f.engine.viewport().WorldToScreenX(-1948 + 8), 1);
    // Zoom steps 1, 1.5, 2, 3, 4, 6 ...
    const double factors[] = {1, 1.5, 2, 3, 4, 6, 8};
    for (int zoom = 0; zoom < 7; ++zoom) {
        f.engine.viewport().ComputeScale(MapDevice{}, zoom);
        EXPECT_DOUBLE_EQ(f.engine.viewport().m_dZoomFactor, factors[zoom]);
    }
    f.engine.viewport().ComputeScale(MapDevice{1920, 300, false}, 0); // log2(1920 * 8 / 300 * 1.5) = 6.26
    EXPECT_EQ(f.engine.viewport().m_nDeviceShift, 6);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dScale, 256.0);
}

TEST(MapCoordinates, SnapHalvesGoAwayFromZeroAndGridOffKeepsHundredths) {
    Fixture f;
    f.engine.viewport().m_dGridStep = 16;
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(8), 16);
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(-8), -16);
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(7.99), 0);
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(-23.9), -16);
    f.doc.m_bGridOn = 0;
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(1.234), 1.23);
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(-1.235), -1.24);
    EXPECT_DOUBLE_EQ(f.engine.viewport().SnapPoint(2.5), 2.5);
}

TEST(MapCoordinates, PointInPolygonCountsCrossingsOnIntegers) {
    const ScreenPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(MapPicker::PointInPolygon(square, {5, 5}));
    EXPECT_FALSE(MapPicker::PointInPolygon(square, {11, 5}));
    // Edges count when one end is at or below the point's row and the other above, and when they
    // lie at or right of the point: the bottom and right edges are inside, top and left outside.
    EXPECT_TRUE(MapPicker::PointInPolygon(square, {5, 10}));
    EXPECT_FALSE(MapPicker::PointInPolygon(square, {5, 0}));
    EXPECT_FALSE(MapPicker::PointInPolygon(square, {0, 5}));
    EXPECT_TRUE(MapPicker::PointInPolygon(square, {10, 5}));
    const ScreenPoint triangle[] = {{0, 0}, {20, 10}, {0, 20}};
    EXPECT_TRUE(MapPicker::PointInPolygon(triangle, {10, 10}));
    EXPECT_FALSE(MapPicker::PointInPolygon(triangle, {15, 4}));
    EXPECT_FALSE(MapPicker::PointInPolygon({}, {0, 0}));
}

TEST(MapCoordinates, FirstLoopEndsWhereItCloses) {
    CDataSector sector;
    auto wall = [&](int left, int right) {
        auto w = std::make_unique<CDataWall>();
        w->m_nLeft = left;
        w->m_nRight = right;
        sector.m_pWalls.push_back(std::move(w));
    };
    EXPECT_EQ(MapDrawing::FirstLoopLength(sector), 0);
    wall(0, 1);
    wall(1, 2);
    wall(2, 0);
    wall(3, 4);
    wall(4, 5);
    wall(5, 3);
    EXPECT_EQ(MapDrawing::FirstLoopLength(sector), 3);
    sector.m_pWalls[2]->m_nRight = 9; // the first loop never closes: all walls
    EXPECT_EQ(MapDrawing::FirstLoopLength(sector), 6);
}

} // namespace
} // namespace morvi
