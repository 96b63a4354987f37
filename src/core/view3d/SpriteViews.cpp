#include "view3d/SpriteViews.h"

#include <cmath>
#include <numbers>

namespace morvi {

int SpriteViewIndex(const SceneSprite& sprite, float cameraX, float cameraZ) {
    const int count = static_cast<int>(sprite.m_Views.size());
    if (count <= 1) return 0;
    // Yaw 0 looks along +Z and grows towards +X, so the bearing is measured the same way.
    const double bearing =
        std::atan2(double(cameraX) - sprite.x, double(cameraZ) - sprite.z) * 180.0 / std::numbers::pi;
    const double angle = std::fmod(bearing - sprite.m_fYaw, 360.0);
    const long step = std::lround((angle < 0 ? angle + 360.0 : angle) / kSpriteViewStep);
    return static_cast<int>(step % count);
}

} // namespace morvi
