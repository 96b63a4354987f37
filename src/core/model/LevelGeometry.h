#pragma once

#include "model/CDataSector.h"

#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace morvi {

// Plane geometry on the map (X and Z) shared by the level checker and the edits that must not
// leave broken sectors behind.

struct PlanePoint {
    double x = 0.0;
    double z = 0.0;
};

struct PlaneSegment {
    PlanePoint a;
    PlanePoint b;
};

// Two points that the level texts, which print hundredths, would write as one.
bool SamePlace(PlanePoint p, PlanePoint q);

// Whether the segments cross at a point inside both of them. Segments that only touch (an end on
// the other, a shared corner) or run along each other do not cross.
bool SegmentsCross(const PlaneSegment& s, const PlaneSegment& t);

// Whether the loop of corners is one a sector can have: at least three corners, no wall without
// length, no two walls crossing, and an area.
bool LoopIsSound(std::span<const PlanePoint> corners);

// The sector's walls as segments (a wall with a broken vertex index is left out).
void SectorSegments(const CDataSector& sector, std::vector<PlaneSegment>& out);

// Even-odd rule over every wall of the sector, so that a point in a hole is outside.
bool PointInSector(const CDataSector& sector, PlanePoint point);

// A point strictly inside the sector, just beside the middle of its longest wall; none for a
// sector without area.
std::optional<PlanePoint> InteriorPoint(const CDataSector& sector);

// The pairs (i, j), i < j, of segments that cross, sorted. A sweep along X: a sector with
// thousands of walls costs little more than its sort.
std::vector<std::pair<int, int>> CrossingPairs(std::span<const PlaneSegment> segments);

// Whether a segment of the first list crosses one of the second.
bool AnyCrossingBetween(std::span<const PlaneSegment> first, std::span<const PlaneSegment> second);

// The signed area of the loop: positive when it runs counter-clockwise on the map (Z up), negative
// for a loop running clockwise, as the game's sectors do.
double LoopArea(std::span<const PlanePoint> corners);

// Like LoopIsSound, but the loop may pass through one point twice, as a ring closed on itself
// does: at least three corners, no wall without length, no two walls crossing, and an area.
bool RingIsSound(std::span<const PlanePoint> corners);

} // namespace morvi
