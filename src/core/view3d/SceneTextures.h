#pragma once

#include "resources/IndexedImage.h"
#include "view3d/Scene3D.h"

#include <string>

namespace morvi {

// The texture of a picture: its rows copied bottom line first into a zero image whose sides are the
// picture's rounded up to powers of two (the very rows when both already are).
SceneTexture MakeSceneTexture(std::string name, const IndexedImage& picture, bool decal);

} // namespace morvi
