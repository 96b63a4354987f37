#pragma once

#include "model/LevelGeometry.h"

#include <array>
#include <deque>
#include <span>
#include <vector>

namespace morvi {

// Cuts the area of a sector (inside an odd number of its wall loops, so holes stay open) into
// triangles with the GLU tessellator. One object serves many sectors.
class SurfaceTessellator {
public:
    SurfaceTessellator();
    ~SurfaceTessellator();
    SurfaceTessellator(const SurfaceTessellator&) = delete;
    SurfaceTessellator& operator=(const SurfaceTessellator&) = delete;

    // Appends three corners per triangle to triangles, each triangle counter-clockwise on the map
    // (positive LoopArea). Loops of fewer than three corners are passed over, and input the
    // tessellator cannot make sense of (crossing walls, repeated corners, walls without length,
    // coordinates far outside any level) gives what it could cut, possibly nothing.
    void Cut(std::span<const std::vector<PlanePoint>> loops, std::vector<PlanePoint>& triangles);

private:
    using Corner = std::array<double, 3>;

    static void Vertex(void* data, void* self);
    static void Combine(double coords[3], void* data[4], float weight[4], void** out, void* self);
    static void Error(unsigned error, void* self);
    static void EdgeFlag(unsigned char flag, void* self);

    void* m_pTess = nullptr;
    // Corners handed to the tessellator must stay put until it is done: a deque never moves them.
    std::deque<Corner> m_Corners;
    std::vector<PlanePoint>* m_pOut = nullptr;
};

} // namespace morvi
