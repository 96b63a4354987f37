#pragma once

#include "gamefiles/GobArchive.h"

#include <string>
#include <vector>

namespace morvi::demo {

// The member names of the demo texture archive, upper case, in archive order.
std::vector<std::string> DemoTextureNames();

// The stand-in for the game's textures.gob: walls, floors, ceilings, doors, crates, signs, skies,
// water and animated switches, all drawn here on the demo palette's ramps. The same archive,
// byte for byte, on every call.
GobArchive BuildTexturesGob();

} // namespace morvi::demo
