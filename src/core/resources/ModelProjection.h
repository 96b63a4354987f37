#pragma once

#include "resources/Model3D.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvi {

// The three wire-frame views of a model preview.
enum class ProjectionView { Front, Top, Side };

struct ProjectionPoint {
    double m_dX = 0.0;
    double m_dY = 0.0;
};

// One polygon of one view, closed: its last point repeats its first.
struct ProjectionPolyline {
    ProjectionView m_eView = ProjectionView::Front;
    std::vector<ProjectionPoint> m_Points;
};

// A view's name and the point its text starts at (its top-left corner).
struct ProjectionLabel {
    std::string m_strText;
    ProjectionPoint m_Position;
};

// The wire frames in the coordinates of the zoomed preview area, (0, 0) at its top left and y
// down. Lines are 1 pixel wide in kProjectionPenRgb.
struct ModelProjection {
    double m_dWidth = 0.0;
    double m_dHeight = 0.0;
    std::vector<ProjectionPolyline> m_Polylines;
    std::vector<ProjectionLabel> m_Labels;
    // Polygons left out because they name a vertex their object does not have.
    int m_nSkippedPolygons = 0;
};

// Pure green, as 0xRRGGBB.
inline constexpr std::uint32_t kProjectionPenRgb = 0x00FF00;

// The zoom factor of the picker's zoom choice: 0 "Auto Sizing" and 5 "100 %" give 1, 1 to 4 give
// 5 to 2, 6 gives one half; other values count as 1.
double ProjectionZoom(int zoomIndex);

// Projects every quad and triangle of model into three quarters of a width x height preview
// zoomed by zoomIndex: "Front" (x across, y down) upper left, "Top" (x across, z down) upper
// right, "Side" (z across, y down) lower left. All views share the range of every vertex
// coordinate, so the model keeps its proportions between them.
ModelProjection ProjectModel(const Model3D& model, double width, double height, int zoomIndex);

} // namespace morvi
