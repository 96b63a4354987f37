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
// The same after a change that altered only the values of these sectors (not their vertices) and
// these objects, when every other object's sector was right before it: only the objects the
// change can have moved in or out of a sector are assigned again.
void ReassignObjectSectors(CDataLevel& level, std::span<const int> sectors, std::span<const int> objects);

} // namespace morvi
