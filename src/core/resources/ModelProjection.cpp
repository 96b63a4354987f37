#include "resources/ModelProjection.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace morvi {

namespace {

// The smallest and largest coordinate over x, y and z of every vertex.
struct Range {
    double m_dMin = 0.0;
    double m_dMax = 0.0;
};

Range CoordinateRange(const Model3D& model) {
    Range r;
    bool first = true;
    for (const ModelObject& o : model.m_Objects) {
        for (const ModelVertex& v : o.m_Vertices) {
            for (double c : {v.m_dX, v.m_dY, v.m_dZ}) {
                r.m_dMin = first ? c : std::min(r.m_dMin, c);
                r.m_dMax = first ? c : std::max(r.m_dMax, c);
                first = false;
            }
        }
    }
    return r;
}

// One quarter of the area: where it starts and how a coordinate maps into it.
struct Quarter {
    ProjectionView m_eView;
    double m_dLeft, m_dTop;
    double m_dScaleX, m_dScaleY;
    double m_dMarginX, m_dMarginY;
    double m_dMin;

    ProjectionPoint Place(const ModelVertex& v) const {
        double across = v.m_dX, down = v.m_dY;
        if (m_eView == ProjectionView::Top) down = v.m_dZ;
        if (m_eView == ProjectionView::Side) across = v.m_dZ;
        return {m_dLeft + m_dMarginX + (across - m_dMin) * m_dScaleX,
                m_dTop + m_dMarginY + (down - m_dMin) * m_dScaleY};
    }
};

void AddPolyline(ModelProjection& out, const Quarter& q, const ModelObject& o,
                 std::initializer_list<int> corners) {
    ProjectionPolyline line;
    line.m_eView = q.m_eView;
    for (int i : corners)
        line.m_Points.push_back(q.Place(o.m_Vertices[static_cast<std::size_t>(i)]));
    line.m_Points.push_back(line.m_Points.front());
    out.m_Polylines.push_back(std::move(line));
}

// Adds the polylines of one view; polygons naming a missing vertex are counted once, in the
// first view, and never drawn.
void ProjectView(ModelProjection& out, const Model3D& model, const Quarter& q) {
    const bool count = q.m_eView == ProjectionView::Front;
    for (const ModelObject& o : model.m_Objects) {
        const std::size_t n = o.m_Vertices.size();
        for (const ModelQuad& p : o.m_Quads) {
            if (p.IndicesWithin(n))
                AddPolyline(out, q, o, {p.m_nA, p.m_nB, p.m_nC, p.m_nD});
            else if (count)
                ++out.m_nSkippedPolygons;
        }
        for (const ModelTriangle& p : o.m_Triangles) {
            if (p.IndicesWithin(n))
                AddPolyline(out, q, o, {p.m_nA, p.m_nB, p.m_nC});
            else if (count)
                ++out.m_nSkippedPolygons;
        }
    }
}

} // namespace

double ProjectionZoom(int zoomIndex) {
    if (zoomIndex >= 1 && zoomIndex <= 5) return 6.0 - zoomIndex;
    if (zoomIndex == 6) return 0.5;
    return 1.0;
}

ModelProjection ProjectModel(const Model3D& model, double width, double height, int zoomIndex) {
    ModelProjection out;
    out.m_dWidth = width * ProjectionZoom(zoomIndex);
    out.m_dHeight = height * ProjectionZoom(zoomIndex);
    const double quarterW = out.m_dWidth / 2, quarterH = out.m_dHeight / 2;
    const double marginX = out.m_dWidth / 15, marginY = out.m_dHeight / 15;
    const Range range = CoordinateRange(model);
    const double span = range.m_dMax - range.m_dMin;
    // A model that is a single point (or has none) sits at the margin.
    const double scaleX = span > 0 ? (quarterW - 2 * marginX) / span : 0.0;
    const double scaleY = span > 0 ? (quarterH - 2 * marginY) / span : 0.0;

    const struct {
        ProjectionView view;
        const char* label;
        double left, top;
    } views[] = {{ProjectionView::Front, "Front", 0, 0},
                 {ProjectionView::Top, "Top", quarterW, 0},
                 {ProjectionView::Side, "Side", 0, quarterH}};
    for (const auto& v : views) {
        out.m_Labels.push_back({v.label, {v.left + 4, v.top + 4}});
        const Quarter q{v.view, v.left, v.top, scaleX, scaleY, marginX, marginY, range.m_dMin};
        ProjectView(out, model, q);
    }
    return out;
}

} // namespace morvi
