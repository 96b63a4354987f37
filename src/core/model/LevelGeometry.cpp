#include "model/LevelGeometry.h"

#include "model/ModelOps.h"

#include <algorithm>
#include <cmath>

namespace morvi {

namespace {

// Half a hundredth: the texts print two decimals.
constexpr double kSamePlace = 0.005;
// How far a point must lie off a wall's line for the wall to count as passing beside it.
constexpr double kOffLine = 1e-6;

double Cross(PlanePoint o, PlanePoint a, PlanePoint b) {
    return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x);
}

double Length(const PlaneSegment& s) {
    return std::hypot(s.b.x - s.a.x, s.b.z - s.a.z);
}

// -1, 0 or 1: on which side of the segment's line the point lies, 0 within kOffLine of it.
int Side(const PlaneSegment& s, double length, PlanePoint p) {
    const double d = Cross(s.a, s.b, p) / length;
    return d > kOffLine ? 1 : (d < -kOffLine ? -1 : 0);
}

double MinX(const PlaneSegment& s) {
    return std::min(s.a.x, s.b.x);
}

double MaxX(const PlaneSegment& s) {
    return std::max(s.a.x, s.b.x);
}

bool RangesMeet(const PlaneSegment& s, const PlaneSegment& t) {
    return MinX(s) <= MaxX(t) && MinX(t) <= MaxX(s) && std::min(s.a.z, s.b.z) <= std::max(t.a.z, t.b.z) &&
           std::min(t.a.z, t.b.z) <= std::max(s.a.z, s.b.z);
}

bool Finite(const PlaneSegment& s) {
    return std::isfinite(s.a.x) && std::isfinite(s.a.z) && std::isfinite(s.b.x) && std::isfinite(s.b.z);
}

const CDataVertex* Corner(const CDataSector& sector, int v) {
    return ItemAt(sector.m_pVertices, v);
}

} // namespace

bool SamePlace(PlanePoint p, PlanePoint q) {
    return std::abs(p.x - q.x) < kSamePlace && std::abs(p.z - q.z) < kSamePlace;
}

bool SegmentsCross(const PlaneSegment& s, const PlaneSegment& t) {
    if (!RangesMeet(s, t)) return false;
    const double ls = Length(s);
    const double lt = Length(t);
    if (!(ls > 0.0) || !(lt > 0.0)) return false;
    return Side(s, ls, t.a) * Side(s, ls, t.b) < 0 && Side(t, lt, s.a) * Side(t, lt, s.b) < 0;
}

bool LoopIsSound(std::span<const PlanePoint> corners) {
    const std::size_t n = corners.size();
    if (n < 3) return false;
    std::vector<PlaneSegment> walls;
    walls.reserve(n);
    double area = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const PlanePoint a = corners[i];
        const PlanePoint b = corners[(i + 1) % n];
        for (std::size_t j = i + 1; j < n; ++j)
            if (SamePlace(a, corners[j])) return false;
        walls.push_back({a, b});
        area += a.x * b.z - b.x * a.z;
    }
    return std::abs(area) / 2.0 > kSamePlace * kSamePlace && CrossingPairs(walls).empty();
}

void SectorSegments(const CDataSector& sector, std::vector<PlaneSegment>& out) {
    out.clear();
    out.reserve(sector.m_pWalls.size());
    for (const auto& wall : sector.m_pWalls) {
        const CDataVertex* l = Corner(sector, wall->m_nLeft);
        const CDataVertex* r = Corner(sector, wall->m_nRight);
        if (l && r) out.push_back({{l->m_dX, l->m_dZ}, {r->m_dX, r->m_dZ}});
    }
}

bool PointInSector(const CDataSector& sector, PlanePoint point) {
    bool inside = false;
    for (const auto& wall : sector.m_pWalls) {
        const CDataVertex* a = Corner(sector, wall->m_nLeft);
        const CDataVertex* b = Corner(sector, wall->m_nRight);
        if (!a || !b || (a->m_dZ > point.z) == (b->m_dZ > point.z)) continue;
        const double x = a->m_dX + (point.z - a->m_dZ) * (b->m_dX - a->m_dX) / (b->m_dZ - a->m_dZ);
        if (point.x < x) inside = !inside;
    }
    return inside;
}

std::optional<PlanePoint> InteriorPoint(const CDataSector& sector) {
    std::vector<PlaneSegment> walls;
    SectorSegments(sector, walls);
    const auto longest = std::max_element(walls.begin(), walls.end(),
                                          [](const auto& s, const auto& t) { return Length(s) < Length(t); });
    if (longest == walls.end() || !(Length(*longest) > 0.0)) return std::nullopt;
    const double length = Length(*longest);
    const PlanePoint mid{(longest->a.x + longest->b.x) / 2, (longest->a.z + longest->b.z) / 2};
    // A step of a thousandth of the wall, at most a hundredth of a unit, off its middle.
    const double step = std::min(length / 1000.0, 0.01) / length;
    const double nx = -(longest->b.z - longest->a.z) * step;
    const double nz = (longest->b.x - longest->a.x) * step;
    for (const PlanePoint p : {PlanePoint{mid.x + nx, mid.z + nz}, PlanePoint{mid.x - nx, mid.z - nz}})
        if (PointInSector(sector, p)) return p;
    return std::nullopt;
}

std::vector<std::pair<int, int>> CrossingPairs(std::span<const PlaneSegment> segments) {
    // A coordinate that is not a number would break the sort's order; such a wall crosses nothing.
    std::vector<int> order;
    order.reserve(segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (Finite(segments[i])) order.push_back(static_cast<int>(i));
    std::sort(order.begin(), order.end(), [&](int i, int j) {
        return MinX(segments[static_cast<std::size_t>(i)]) < MinX(segments[static_cast<std::size_t>(j)]);
    });
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const PlaneSegment& s = segments[static_cast<std::size_t>(order[k])];
        for (std::size_t m = k + 1; m < order.size(); ++m) {
            const PlaneSegment& t = segments[static_cast<std::size_t>(order[m])];
            if (MinX(t) > MaxX(s)) break;
            if (SegmentsCross(s, t))
                pairs.emplace_back(std::min(order[k], order[m]), std::max(order[k], order[m]));
        }
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

bool AnyCrossingBetween(std::span<const PlaneSegment> first, std::span<const PlaneSegment> second) {
    for (const PlaneSegment& s : first)
        for (const PlaneSegment& t : second)
            if (SegmentsCross(s, t)) return true;
    return false;
}

double LoopArea(std::span<const PlanePoint> corners) {
    double twice = 0.0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const PlanePoint a = corners[i];
        const PlanePoint b = corners[(i + 1) % corners.size()];
        twice += a.x * b.z - b.x * a.z;
    }
    return twice / 2.0;
}

bool RingIsSound(std::span<const PlanePoint> corners) {
    const std::size_t n = corners.size();
    if (n < 3) return false;
    std::vector<PlaneSegment> walls;
    walls.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const PlaneSegment wall{corners[i], corners[(i + 1) % n]};
        if (SamePlace(wall.a, wall.b)) return false;
        walls.push_back(wall);
    }
    return std::abs(LoopArea(corners)) > kSamePlace * kSamePlace && CrossingPairs(walls).empty();
}

} // namespace morvi
