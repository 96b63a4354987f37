#include "resources/ModelProjection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const ProjectionPolyline& line) {
    Points points;
    for (const ProjectionPoint& p : line.m_Points)
        points.emplace_back(p.m_dX, p.m_dY);
    return points;
}

// The unit cube, faces in the order bottom (z 0), top (z 1), y 0, y 1, x 0, x 1.
Model3D UnitCube() {
    ModelObject cube;
    cube.m_strName = "cube";
    cube.m_Vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                       {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    cube.m_Quads = {{0, 1, 2, 3, 1, "FLAT"}, {4, 5, 6, 7, 1, "FLAT"}, {0, 1, 5, 4, 1, "FLAT"},
                    {3, 2, 6, 7, 1, "FLAT"}, {0, 3, 7, 4, 1, "FLAT"}, {1, 2, 6, 5, 1, "FLAT"}};
    Model3D model;
    model.m_Objects.push_back(cube);
    return model;
}

TEST(ModelProjection, UnitCubeInThreeQuartersWithoutBadPolygons) {
    // 300 x 300 at 100 %: quarters of 150, margins of 20, so a unit spans 110.
    const ModelProjection p = ProjectModel(UnitCube(), 300, 300, 5);
    EXPECT_EQ(std::pair(p.m_dWidth, p.m_dHeight), std::pair(300.0, 300.0));
    EXPECT_EQ(p.m_nSkippedPolygons, 0);
    ASSERT_EQ(p.m_Polylines.size(), 18u);
    for (std::size_t i = 0; i < 18; ++i)
        EXPECT_EQ(p.m_Polylines[i].m_eView, static_cast<ProjectionView>(i / 6)) << i;
    // The face seen whole in each view pins its axes and their directions: front (x, y) the
    // bottom face, top (x, z down) the y 0 face, side (z, y) the x 0 face.
    EXPECT_EQ(PointsOf(p.m_Polylines[0]), (Points{{20, 20}, {130, 20}, {130, 130}, {20, 130}, {20, 20}}));
    EXPECT_EQ(PointsOf(p.m_Polylines[8]), (Points{{170, 20}, {280, 20}, {280, 130}, {170, 130}, {170, 20}}));
    EXPECT_EQ(PointsOf(p.m_Polylines[16]), (Points{{20, 170}, {20, 280}, {130, 280}, {130, 170}, {20, 170}}));

    // Polygons naming a vertex the object lacks are counted once and never drawn.
    Model3D bad = UnitCube();
    bad.m_Objects[0].m_Quads.push_back({0, 1, 2, 8, 1, "FLAT"});
    bad.m_Objects[0].m_Triangles.push_back({-1, 0, 1, 1, "FLAT"});
    const ModelProjection skipped = ProjectModel(bad, 300, 300, 5);
    EXPECT_EQ(skipped.m_nSkippedPolygons, 2);
    EXPECT_EQ(skipped.m_Polylines.size(), 18u);
}

TEST(ModelProjection, OneRangeOverAllAxesAndObjects) {
    // x from -2 to 2 in one object, z up to 6 in another: the range is -2 to 6 for every view.
    Model3D model;
    ModelObject a;
    a.m_Vertices = {{-2, 0, 0}, {2, 0, 0}, {2, 2, 0}};
    a.m_Triangles = {{0, 1, 2, 3, "FLAT"}};
    ModelObject b;
    b.m_Vertices = {{0, 0, 6}, {0, 0, 6}, {0, 0, 6}};
    b.m_Triangles = {{0, 1, 2, 3, "FLAT"}};
    model.m_Objects = {a, b};
    const ModelProjection p = ProjectModel(model, 300, 300, 0);
    ASSERT_EQ(p.m_Polylines.size(), 6u);
    // 110 pixels over a span of 8: 13.75 a unit.
    EXPECT_EQ(PointsOf(p.m_Polylines[0]), (Points{{20, 47.5}, {75, 47.5}, {75, 75}, {20, 47.5}}));
    EXPECT_EQ(PointsOf(p.m_Polylines[3]), (Points{{197.5, 130}, {197.5, 130}, {197.5, 130}, {197.5, 130}}));
}

} // namespace
} // namespace morvi
