#include "view3d/Camera3D.h"

#include "model/CDataLevel.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace morvi {
namespace {

TEST(CameraTest, PitchTermIsClampedAfterHeldPageKeys) {
    Camera3D camera;
    CameraKeys keys;
    keys.m_bPageUp = true;
    for (int frame = 0; frame < 15; ++frame) camera.StepKeys(keys, false);
    EXPECT_FLOAT_EQ(camera.m_fPitch, 1.0f);
    keys = {};
    keys.m_bPageDown = true;
    for (int frame = 0; frame < 25; ++frame) camera.StepKeys(keys, false);
    EXPECT_FLOAT_EQ(camera.m_fPitch, -1.0f);
}

TEST(CameraTest, KeysMoveAlongTheYawAndTurnAboutThePivot) {
    struct Case {
        CameraKeys keys;
        bool fullScreen;
        float dx, dz, yaw;
    };
    constexpr float turn = std::numbers::pi_v<float> / 100.0f;
    const Case cases[] = {
        {{.m_bUp = true}, false, 0.0f, 0.1f, 0.0f},
        {{.m_bUp = true, .m_bShift = true}, false, 0.0f, 0.2f, 0.0f},
        {{.m_bUp = true}, true, 0.0f, 0.05f, 0.0f},
        {{.m_bDown = true, .m_bShift = true}, true, 0.0f, -0.1f, 0.0f},
        {{.m_bRight = true}, false, 0.0f, 0.0f, turn},
        {{.m_bLeft = true, .m_bShift = true}, false, 0.0f, 0.0f, -2 * turn},
    };
    for (const Case& c : cases) {
        Camera3D camera;
        camera.x = 1.0f;
        camera.z = 2.0f;
        const float pivotX = camera.x + camera.DirectionX() * Camera3D::kPivotDistance;
        const float pivotZ = camera.z + camera.DirectionZ() * Camera3D::kPivotDistance;
        camera.StepKeys(c.keys, c.fullScreen);
        EXPECT_NEAR(camera.m_fYaw, c.yaw, 1e-6);
        if (c.yaw == 0.0f) {
            EXPECT_NEAR(camera.x - 1.0f, c.dx, 1e-6);
            EXPECT_NEAR(camera.z - 2.0f, c.dz, 1e-6);
        } else {
            // A turn keeps the point at the pivot distance ahead where it was.
            EXPECT_NEAR(camera.x + camera.DirectionX() * Camera3D::kPivotDistance, pivotX, 1e-6);
            EXPECT_NEAR(camera.z + camera.DirectionZ() * Camera3D::kPivotDistance, pivotZ, 1e-6);
        }
    }
}

TEST(CameraTest, MouseDragsMoveOrTurnBeyondTheDeadZone) {
    struct Case {
        int dx, dy;
        bool shift;
        bool changed;
        float dz, yaw;
    };
    const Case cases[] = {
        {0, -3, false, true, 0.05f, 0.0f}, {1, 5, true, true, -0.1f, 0.0f}, {-4, 3, false, true, 0.0f, -0.1f},
        {3, 0, false, true, 0.0f, 0.1f},   {2, -2, false, false, 0.0f, 0.0f}, {-2, 0, true, false, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        Camera3D camera;
        EXPECT_EQ(camera.StepMouse(c.dx, c.dy, c.shift), c.changed) << c.dx << "," << c.dy;
        EXPECT_NEAR(camera.m_fYaw, c.yaw, 1e-6);
        if (c.yaw == 0.0f) {
            EXPECT_NEAR(camera.z, c.dz, 1e-6);
        }
    }
}

// Facing north, east is on the right; facing east, south is.
TEST(CameraTest, StrafeGoesToTheRightOfTheView) {
    Camera3D camera;
    camera.Strafe(1.0f);
    EXPECT_NEAR(camera.x, 1.0f, 1e-6);
    EXPECT_NEAR(camera.z, 0.0f, 1e-6);
    camera.m_fYaw = std::numbers::pi_v<float> / 2;
    camera.Strafe(1.0f);
    EXPECT_NEAR(camera.x, 1.0f, 1e-6);
    EXPECT_NEAR(camera.z, -1.0f, 1e-6);
}

TEST(CameraTest, SoundsFadeWithDistance) {
    SceneSound sound;
    sound.x = 10.0f * kSceneScale;
    const std::pair<float, float> cases[] = {{10.0f, 1.0f}, {90.0f, 0.5f}, {170.0f, 0.0f}, {500.0f, 0.0f}};
    for (const auto& [x, volume] : cases) {
        Camera3D camera;
        camera.x = x * kSceneScale;
        EXPECT_NEAR(SoundVolume(camera, sound), volume, 1e-4) << x;
    }
}

TEST(CameraTest, PacingHoldsTheRate) {
    struct Case {
        int elapsed, rate, wait, fps;
    };
    const Case cases[] = {{10, 33, 20, 33}, {30, 33, 0, 33}, {50, 33, 0, 20},
                          {0, 0, 1000, 1}, {3, 500, 7, 100}, {1000, 1, 0, 1}};
    for (const Case& c : cases) {
        const FramePace pace = PaceFrame(c.elapsed, c.rate);
        EXPECT_EQ(pace.m_nWaitMs, c.wait) << c.elapsed << " ms at " << c.rate;
        EXPECT_EQ(pace.m_nFramesPerSecond, c.fps) << c.elapsed << " ms at " << c.rate;
    }
    EXPECT_EQ(MinimumFrameTime(33), 30);
}

// Two 64 x 64 rooms side by side, the wall at X 64 adjoined; the camera walks east from X 60.
TEST(CameraTest, GameWalkerStepsUpClimbableFloorsAndStopsAtWalls) {
    struct Case {
        const char* what;
        double nextFloor, nextCeiling;
        double fromX, fromZ, toX, toZ;
        int sector;
        double x, z, eyeFloor;
    };
    const Case cases[] = {
        {"same floor", 0, -16, 60, 32, 66, 32, 1, 66, 32, 0},
        {"a step up", -3, -16, 60, 32, 66, 32, 1, 66, 32, -3},
        {"a step down", 10, -16, 60, 32, 66, 32, 1, 66, 32, 10},
        {"too high a step", -4, -16, 60, 32, 66, 32, 0, 60, 32, 0},
        {"too low a ceiling", 0, -5, 60, 32, 66, 32, 0, 60, 32, 0},
        {"slides along a solid wall", 0, -16, 32, 61, 34, 66, 0, 34, 61, 0},
        {"stops short of a solid wall", 0, -16, 32, 61, 32, 63.5, 0, 32, 61, 0},
    };
    for (const Case& c : cases) {
        CDataLevel level;
        testing::BuildTwoRooms(level);
        level.m_Lev.m_pSectors[1]->m_dFloorAltitude = c.nextFloor;
        level.m_Lev.m_pSectors[1]->m_dCeilingAltitude = c.nextCeiling;
        GameWalker walker(level);
        Camera3D before;
        before.x = static_cast<float>(c.fromX) * kSceneScale;
        before.z = static_cast<float>(c.fromZ) * kSceneScale;
        walker.Place(before);
        EXPECT_EQ(walker.sector(), 0) << c.what;
        Camera3D camera = before;
        camera.x = static_cast<float>(c.toX) * kSceneScale;
        camera.z = static_cast<float>(c.toZ) * kSceneScale;
        walker.Walk(before, camera);
        EXPECT_EQ(walker.sector(), c.sector) << c.what;
        EXPECT_NEAR(camera.LevelX(), c.x, 1e-3) << c.what;
        EXPECT_NEAR(camera.LevelZ(), c.z, 1e-3) << c.what;
        EXPECT_NEAR(camera.LevelY(), -c.eyeFloor + GameWalker::kEyeHeight, 1e-3) << c.what;
    }
}

} // namespace
} // namespace morvi
