#include "view3d/SpriteViews.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace morvi {
namespace {

SceneSprite SpriteWithViews(int views, float yaw) {
    SceneSprite sprite;
    sprite.x = 2.0f;
    sprite.z = -1.0f;
    sprite.m_fYaw = yaw;
    sprite.m_Views.resize(static_cast<std::size_t>(views));
    return sprite;
}

// The camera stands 10 units from the object at the given bearing (degrees, 0 = +Z, 90 = +X).
int ViewFrom(const SceneSprite& sprite, double bearing) {
    const double radians = bearing * std::numbers::pi / 180.0;
    return SpriteViewIndex(sprite, sprite.x + float(10.0 * std::sin(radians)),
                           sprite.z + float(10.0 * std::cos(radians)));
}

TEST(SpriteViews, ViewFollowsTheCameraRoundTheObject) {
    struct Case {
        int views;
        float yaw;
        double bearing;
        int view;
    };
    const Case cases[] = {
        {32, 0.0f, 0.0, 0},     // in front
        {32, 0.0f, 90.0, 8},    // on the object's right (+X)
        {32, 0.0f, 180.0, 16},  // behind
        {32, 0.0f, 270.0, 24},  // on its left
        {32, 0.0f, 5.0, 0},     // rounds down below half a step
        {32, 0.0f, 6.0, 1},     // and up above it
        {32, 0.0f, 355.0, 0},   // wraps past the last view
        {32, 0.0f, -20.0, 30},  // negative bearings count from the back round
        {32, 90.0f, 90.0, 0},   // the yaw turns the front
        {32, 90.0f, 0.0, 24},   // seen from the object's left
        {32, 450.0f, 180.0, 8}, // yaws past a full turn
        {32, -45.0f, 0.0, 4},   // negative yaws
        {8, 0.0f, 90.0, 0},     // fewer views: the step stays, the index wraps
        {8, 0.0f, 45.0, 4},     // within the views
        {1, 0.0f, 180.0, 0},    // a frame has one view
        {0, 0.0f, 180.0, 0},    // a sprite without views
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.views << " views, yaw " << c.yaw << ", bearing " << c.bearing);
        EXPECT_EQ(ViewFrom(SpriteWithViews(c.views, c.yaw), c.bearing), c.view);
    }
}

} // namespace
} // namespace morvi
