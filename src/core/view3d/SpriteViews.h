#pragma once

#include "view3d/Scene3D.h"

namespace morvi {

// The angle between two neighbouring views of a WAX sprite.
inline constexpr double kSpriteViewStep = 11.25;

// The view of a sprite that a camera at (cameraX, cameraZ) (scene units) sees. The views run round
// the object from its front, the way its yaw points: the bearing of the camera seen from the object
// less the object's yaw, in steps of kSpriteViewStep degrees rounded to the nearest, taken modulo
// the number of views. 0 for a sprite with one view or none.
int SpriteViewIndex(const SceneSprite& sprite, float cameraX, float cameraZ);

} // namespace morvi
