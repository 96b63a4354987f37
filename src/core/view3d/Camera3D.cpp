#include "view3d/Camera3D.h"

#include "model/CDataLevel.h"
#include "model/LevelGeometry.h"
#include "model/ModelOps.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvi {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTurn = kPi / 100.0f;
constexpr float kFastTurn = kPi / 50.0f;
// How many walls one step may cross before the walk gives up (a step is a few level units).
constexpr int kMaxCrossings = 8;
// How close to a wall without adjoin the walker's eye may come, in level units.
constexpr double kWallDistance = 1.0;

const CDataSector* SectorAt(const CDataLevel& level, int index) {
    return ItemAt(level.m_Lev.m_pSectors, index);
}

bool SectorHasArea(const CDataSector& sector) {
    return sector.m_pWalls.size() >= 3 && sector.m_pVertices.size() >= 3;
}

double DistanceToSegment(PlanePoint p, const PlaneSegment& s) {
    const double dx = s.b.x - s.a.x;
    const double dz = s.b.z - s.a.z;
    const double length2 = dx * dx + dz * dz;
    double t = length2 > 0.0 ? ((p.x - s.a.x) * dx + (p.z - s.a.z) * dz) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (s.a.x + t * dx), p.z - (s.a.z + t * dz));
}

// The fraction of the way from a to b at which the segment meets the wall; none when it does not
// cross it.
std::optional<double> Crossing(PlanePoint a, PlanePoint b, const PlaneSegment& wall) {
    if (!SegmentsCross({a, b}, wall)) return std::nullopt;
    const double rx = b.x - a.x, rz = b.z - a.z;
    const double sx = wall.b.x - wall.a.x, sz = wall.b.z - wall.a.z;
    const double denominator = rx * sz - rz * sx;
    if (denominator == 0.0) return std::nullopt;
    return ((wall.a.x - a.x) * sz - (wall.a.z - a.z) * sx) / denominator;
}

std::optional<PlaneSegment> WallSegment(const CDataSector& sector, const CDataWall& wall) {
    const CDataVertex* left = ItemAt(sector.m_pVertices, wall.m_nLeft);
    const CDataVertex* right = ItemAt(sector.m_pVertices, wall.m_nRight);
    if (!left || !right) return std::nullopt;
    return PlaneSegment{{left->m_dX, left->m_dZ}, {right->m_dX, right->m_dZ}};
}

} // namespace

float Camera3D::DirectionX() const {
    return std::sin(m_fYaw);
}

float Camera3D::DirectionZ() const {
    return std::cos(m_fYaw);
}

void Camera3D::Turn(float angle) {
    const float pivotX = x + DirectionX() * kPivotDistance;
    const float pivotZ = z + DirectionZ() * kPivotDistance;
    m_fYaw += angle;
    x = pivotX - DirectionX() * kPivotDistance;
    z = pivotZ - DirectionZ() * kPivotDistance;
}

void Camera3D::Move(float distance) {
    x += DirectionX() * distance;
    z += DirectionZ() * distance;
}

void Camera3D::Strafe(float distance) {
    x += DirectionZ() * distance;
    z -= DirectionX() * distance;
}

void Camera3D::Zoom(bool in) {
    m_fFieldOfView = std::clamp(in ? m_fFieldOfView * 0.8f : m_fFieldOfView * 1.25f, 0.18f, 2.0f);
}

void Camera3D::StepKeys(const CameraKeys& keys, bool fullScreenGame) {
    float step = keys.m_bShift ? kFastStep : kStep;
    if (fullScreenGame) step /= 2.0f;
    const float turn = keys.m_bShift ? kFastTurn : kTurn;
    if (keys.m_bUp) Move(step);
    if (keys.m_bDown) Move(-step);
    if (keys.m_bLeft) Turn(-turn);
    if (keys.m_bRight) Turn(turn);
    if (keys.m_bPageUp) m_fPitch += kPitchStep;
    if (keys.m_bPageDown) m_fPitch -= kPitchStep;
    m_fPitch = std::clamp(m_fPitch, -1.0f, 1.0f);
}

bool Camera3D::StepMouse(int dx, int dy, bool shift) {
    if (std::abs(dy) > std::abs(dx) && std::abs(dy) >= kMouseDeadZone) {
        const float step = shift ? kFastMouseStep : kMouseStep;
        Move(dy < 0 ? step : -step);
        return true;
    }
    if (std::abs(dx) >= kMouseDeadZone) {
        Turn(dx < 0 ? -kMouseTurn : kMouseTurn);
        return true;
    }
    return false;
}

double Camera3D::YawDegrees() const {
    const double degrees = std::fmod(static_cast<double>(m_fYaw) * 180.0 / std::numbers::pi, 360.0);
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

float SoundVolume(const Camera3D& camera, const SceneSound& sound) {
    const double dx = camera.x - sound.x, dy = camera.y - sound.y, dz = camera.z - sound.z;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz) / kSceneScale;
    return static_cast<float>(std::clamp(1.0 - distance / kHearingDistance, 0.0, 1.0));
}

Camera3D StartCamera(const CDataLevel& level, const Scene3D& scene) {
    Camera3D camera;
    if (scene.m_Start.m_bFound) {
        camera.x = scene.m_Start.x;
        camera.y = scene.m_Start.y;
        camera.z = scene.m_Start.z;
        camera.m_fYaw = scene.m_Start.m_fYaw;
        return camera;
    }
    for (const auto& sector : level.m_Lev.m_pSectors) {
        if (!SectorHasArea(*sector)) continue;
        const std::optional<PlanePoint> inside = InteriorPoint(*sector);
        if (!inside) continue;
        camera.x = static_cast<float>(inside->x) * kSceneScale;
        camera.z = static_cast<float>(inside->z) * kSceneScale;
        camera.y = static_cast<float>(-sector->m_dFloorAltitude + GameWalker::kEyeHeight) * kSceneScale;
        break;
    }
    return camera;
}

int MinimumFrameTime(int rate) {
    return 1000 / std::clamp(rate, 1, 100);
}

FramePace PaceFrame(int elapsedMs, int rate) {
    const int minimum = MinimumFrameTime(rate);
    if (elapsedMs < minimum) return {minimum - elapsedMs, 1000 / minimum};
    return {0, 1000 / elapsedMs};
}

void GameWalker::Place(Camera3D& camera) {
    const PlanePoint at{camera.LevelX(), camera.LevelZ()};
    const CDataSector* current = SectorAt(m_Level, m_nSector);
    if (!current || !PointInSector(*current, at)) {
        // Sectors of several layers may lie over each other: take the one whose floor is nearest
        // below the eye.
        const double feet = -camera.LevelY() + kEyeHeight; // an altitude: larger is lower
        m_nSector = -1;
        double best = 0.0;
        const auto& sectors = m_Level.m_Lev.m_pSectors;
        for (std::size_t i = 0; i < sectors.size(); ++i) {
            const CDataSector& sector = *sectors[i];
            if (!SectorHasArea(sector) || !PointInSector(sector, at)) continue;
            const double distance = std::abs(sector.m_dFloorAltitude - feet);
            if (m_nSector < 0 || distance < best) {
                m_nSector = static_cast<int>(i);
                best = distance;
            }
        }
    }
    if (const CDataSector* sector = SectorAt(m_Level, m_nSector))
        camera.y = static_cast<float>(-sector->m_dFloorAltitude + kEyeHeight) * kSceneScale;
}

void GameWalker::Walk(const Camera3D& before, Camera3D& camera) {
    if (!SectorAt(m_Level, m_nSector)) {
        Camera3D placed = before;
        Place(placed);
        if (!SectorAt(m_Level, m_nSector)) return; // outside every sector: the camera flies freely
        camera.y = placed.y;
    }
    const PlanePoint from{before.LevelX(), before.LevelZ()};
    // Where a step to `to` ends: the sector it ends in, or -1 when a wall stops it.
    const auto reach = [&](PlanePoint to) {
        int sector = m_nSector;
        int entered = -1; // the wall of `sector` the step came in through
        for (int hop = 0; hop <= kMaxCrossings; ++hop) {
            const CDataSector& here = *SectorAt(m_Level, sector);
            int nearestWall = -1;
            double nearest = 2.0;
            for (std::size_t w = 0; w < here.m_pWalls.size(); ++w) {
                if (static_cast<int>(w) == entered) continue;
                const auto segment = WallSegment(here, *here.m_pWalls[w]);
                if (!segment) continue;
                if (const auto t = Crossing(from, to, *segment); t && *t < nearest) {
                    nearest = *t;
                    nearestWall = static_cast<int>(w);
                }
            }
            if (nearestWall < 0) {
                if (!PointInSector(here, to)) return -1;
                for (const auto& wall : here.m_pWalls) {
                    const auto segment = WallSegment(here, *wall);
                    if (!segment || SectorAt(m_Level, wall->m_nAdjoin)) continue;
                    // Too near a wall only counts when the step goes nearer still, so that a
                    // camera put beside a wall can walk away from it.
                    const double distance = DistanceToSegment(to, *segment);
                    if (distance < kWallDistance && distance < DistanceToSegment(from, *segment)) return -1;
                }
                return sector;
            }
            const CDataWall& wall = *here.m_pWalls[static_cast<std::size_t>(nearestWall)];
            const CDataSector* next = SectorAt(m_Level, wall.m_nAdjoin);
            if (!next || !SectorHasArea(*next)) return -1;
            const double rise = here.m_dFloorAltitude - next->m_dFloorAltitude;
            const double room = next->m_dFloorAltitude - next->m_dCeilingAltitude;
            if (rise > kStepHeight || room < kHeadRoom) return -1;
            entered = wall.m_nMirror;
            sector = wall.m_nAdjoin;
        }
        return -1;
    };
    const PlanePoint to{camera.LevelX(), camera.LevelZ()};
    // Blocked steps slide along the wall: first keeping the X move, then the Z move.
    for (const PlanePoint target : {to, PlanePoint{to.x, from.z}, PlanePoint{from.x, to.z}}) {
        const int sector = reach(target);
        if (sector < 0) continue;
        m_nSector = sector;
        camera.x = static_cast<float>(target.x) * kSceneScale;
        camera.z = static_cast<float>(target.z) * kSceneScale;
        Place(camera);
        return;
    }
    camera.x = before.x;
    camera.z = before.z;
}

} // namespace morvi
