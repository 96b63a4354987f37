#include "view3d/SurfaceTessellator.h"

#include <GL/glu.h>

#include <cmath>

namespace morvi {

namespace {

// GLU clamps larger coordinates and complains; no level comes near this.
constexpr double kLargestCoordinate = 1.0e7;

GLUtesselator* Tess(void* p) {
    return static_cast<GLUtesselator*>(p);
}

template <class F> _GLUfuncptr Callback(F* f) {
    return reinterpret_cast<_GLUfuncptr>(f);
}

bool Usable(const PlanePoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.z) && std::fabs(p.x) < kLargestCoordinate &&
           std::fabs(p.z) < kLargestCoordinate;
}

double TwiceArea(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c) {
    return (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
}

} // namespace

SurfaceTessellator::SurfaceTessellator() : m_pTess(gluNewTess()) {
    GLUtesselator* tess = Tess(m_pTess);
    if (!tess) return;
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    // The map's X and Z go in as x and y, so a fixed normal along z makes every triangle run
    // counter-clockwise on the map, whichever way the sector's loops run.
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, Callback(&SurfaceTessellator::Vertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, Callback(&SurfaceTessellator::Combine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, Callback(&SurfaceTessellator::Error));
    // With an edge-flag callback the tessellator hands out separate triangles only, no fans or
    // strips.
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, Callback(&SurfaceTessellator::EdgeFlag));
}

SurfaceTessellator::~SurfaceTessellator() {
    if (m_pTess) gluDeleteTess(Tess(m_pTess));
}

void SurfaceTessellator::Vertex(void* data, void* self) {
    const Corner& corner = *static_cast<const Corner*>(data);
    static_cast<SurfaceTessellator*>(self)->m_pOut->push_back({corner[0], corner[1]});
}

void SurfaceTessellator::Combine(double coords[3], void* [4], float[4], void** out, void* self) {
    auto& corners = static_cast<SurfaceTessellator*>(self)->m_Corners;
    corners.push_back({coords[0], coords[1], 0.0});
    *out = &corners.back();
}

// A complaint (walls that cross in a way it cannot combine, too little memory) ends the cut
// early; what was handed out until then stands.
void SurfaceTessellator::Error(unsigned, void*) {}

void SurfaceTessellator::EdgeFlag(unsigned char, void*) {}

void SurfaceTessellator::Cut(std::span<const std::vector<PlanePoint>> loops,
                             std::vector<PlanePoint>& triangles) {
    GLUtesselator* tess = Tess(m_pTess);
    if (!tess) return;
    for (const auto& loop : loops)
        for (const PlanePoint& p : loop)
            if (!Usable(p)) return;
    m_Corners.clear();
    std::vector<PlanePoint> cut;
    m_pOut = &cut;
    gluTessBeginPolygon(tess, this);
    for (const auto& loop : loops) {
        if (loop.size() < 3) continue;
        gluTessBeginContour(tess);
        for (const PlanePoint& p : loop) {
            m_Corners.push_back({p.x, p.z, 0.0});
            gluTessVertex(tess, m_Corners.back().data(), &m_Corners.back());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    m_pOut = nullptr;
    // Whole triangles with an area only: a cut ended early may stop in the middle of one, and
    // corners that coincide give slivers nobody sees.
    for (std::size_t i = 0; i + 3 <= cut.size(); i += 3) {
        const double area = TwiceArea(cut[i], cut[i + 1], cut[i + 2]);
        if (std::fabs(area) < 1e-12) continue;
        triangles.push_back(cut[i]);
        triangles.push_back(area > 0 ? cut[i + 1] : cut[i + 2]);
        triangles.push_back(area > 0 ? cut[i + 2] : cut[i + 1]);
    }
}

} // namespace morvi
