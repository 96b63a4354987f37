#pragma once

#include "gamefiles/GobArchive.h"
#include "resources/Model3D.h"

#include <span>
#include <string_view>

namespace morvi::demo {

// The levels whose palettes and colour maps the demo dark.gob carries, as "<LEVEL>.PAL" (next to
// "DARK.PAL") and "<LEVEL>.CMP".
std::span<const std::string_view> DemoLevelNames();

// The 3D objects of the demo dark.gob by member name, drawn from boxes, prisms, cones and domes.
std::span<const std::string_view> DemoModelNames();

// One demo model by member name ("GUN.3DO"); an empty model for a name not in DemoModelNames().
Model3D BuildDemoModel(std::string_view memberName);

// The stand-in for the game's dark.gob: the level palettes and colour maps and the 3D objects.
GobArchive BuildDarkGob();

} // namespace morvi::demo
