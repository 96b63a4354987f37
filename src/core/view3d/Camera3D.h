#pragma once

#include "view3d/Scene3D.h"

#include <optional>

namespace morvi {

class CDataLevel;

// The keys a frame step reads, held or not.
struct CameraKeys {
    bool m_bUp = false;
    bool m_bDown = false;
    bool m_bLeft = false;
    bool m_bRight = false;
    bool m_bPageUp = false;
    bool m_bPageDown = false;
    bool m_bShift = false;
};

// The camera of the 3D view, in scene units. It looks along (sin yaw, pitch, cos yaw)
// with (0, 1, 0) up; the pitch term runs from -1 to 1.
struct Camera3D {
    // Steps of the keys and the mouse, in scene units and radians.
    static constexpr float kStep = 0.1f;
    static constexpr float kFastStep = 0.2f;
    static constexpr float kMouseStep = 0.05f;
    static constexpr float kFastMouseStep = 0.1f;
    static constexpr float kPitchStep = 0.1f;
    static constexpr float kMouseTurn = 0.1f;
    // A mouse move shorter than this (in pixels, on both axes) does nothing.
    static constexpr int kMouseDeadZone = 3;
    // The camera turns about the point this far ahead.
    static constexpr float kPivotDistance = 0.2f;
    // Horizontal field of view: the view planes' half width 0.1 at the front distance 0.2.
    static constexpr float kFieldOfView = 0.9272952f; // 2 * atan(0.5), radians

    float x = 0.0f, y = 0.0f, z = 0.0f;
    float m_fYaw = 0.0f;
    float m_fPitch = 0.0f;
    float m_fFieldOfView = kFieldOfView;

    float DirectionX() const;
    float DirectionZ() const;
    // Turns by angle radians about the point kPivotDistance ahead.
    void Turn(float angle);
    // Moves by distance along the yaw (not the pitch).
    void Move(float distance);
    // Moves by distance to the right of the yaw (left when negative), and up.
    void Strafe(float distance);
    void Rise(float distance) { y += distance; }
    // Narrows (in) or widens the field of view by a quarter, between about 10 and 115 degrees.
    void Zoom(bool in);

    // One frame of keys. In full-screen Game mode the steps are halved.
    void StepKeys(const CameraKeys& keys, bool fullScreenGame);
    // A mouse move by (dx, dy) pixels while a button is held (y grows downwards): a mostly
    // vertical move of at least kMouseDeadZone pixels moves along the view (up is forward),
    // otherwise a horizontal one of at least that turns. True when the camera changed, the cue to
    // put the cursor back at the view's centre.
    bool StepMouse(int dx, int dy, bool shift);

    // The position in level units, as the status panes show it.
    double LevelX() const { return x / kSceneScale; }
    double LevelY() const { return y / kSceneScale; }
    double LevelZ() const { return z / kSceneScale; }
    double YawDegrees() const;
};

// How loud a sound placed in the scene plays for the camera: full at its place, fading with the
// distance to silence at kHearingDistance level units.
inline constexpr double kHearingDistance = 160.0;
float SoundVolume(const Camera3D& camera, const SceneSound& sound);

// The camera placed at the scene's start, or at the middle of the first sector with walls,
// looking north, at eye height above its floor when the level has no start.
Camera3D StartCamera(const CDataLevel& level, const Scene3D& scene);

// How long one frame must take at rate frames per second (1 ... 100): 1000 / rate milliseconds.
int MinimumFrameTime(int rate);

// The pacing of one frame that took elapsed milliseconds: how long to wait before the next, and
// the frames per second to show, counting a short frame as taking exactly the minimum.
struct FramePace {
    int m_nWaitMs = 0;
    int m_nFramesPerSecond = 0;
};
FramePace PaceFrame(int elapsedMs, int rate);

// Game mode's walking: the camera stays at eye height over the floor of the sector it is in, steps
// up heights of at most kStepHeight, and does not pass walls without an adjoin (it slides along
// them), nor into sectors it could not stand in.
class GameWalker {
public:
    static constexpr double kEyeHeight = 5.8;  // level units above the floor
    static constexpr double kStepHeight = 3.5; // the highest step walked up
    static constexpr double kHeadRoom = 6.0;   // the lowest gap between floor and ceiling walked into

    explicit GameWalker(const CDataLevel& level) : m_Level(level) {}

    // The sector under the camera (found again when the last one no longer holds it).
    int sector() const { return m_nSector; }
    // Finds the camera's sector and puts the camera at eye height over its floor.
    void Place(Camera3D& camera);
    // Takes the camera from where it was (before) to where the keys moved it, as far as walls let
    // it, and sets its height.
    void Walk(const Camera3D& before, Camera3D& camera);

private:
    const CDataLevel& m_Level;
    int m_nSector = -1;
};

} // namespace morvi
