#pragma once

#include "mapedit/EditContext.h"
#include "model/CDataLevel.h"

#include <span>
#include <vector>

namespace morvi {

// Crossing-number test in world units: whether the closed polygon holds the point.
bool PointInPolygon(std::span<const WorldPoint> polygon, WorldPoint point);
// The corners of the sector's first loop, in order; corners naming no vertex are left out.
void FirstLoopCorners(const CDataSector& sector, std::vector<WorldPoint>& corners);
// Gives every object the first sector whose first loop holds it and whose altitudes enclose its
// height (-1 for none).
void AssignObjectSectors(CDataLevel& level);

} // namespace morvi
