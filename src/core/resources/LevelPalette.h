#pragma once

#include "model/Status.h"
#include "resources/GamePalette.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataLevel;
class ResourceCache;

// The palette named name: the level's own member of that name (ignoring case), else the first
// member of that name in dark.gob, which is then added to the level's members so that the next
// lookup finds it there without opening the archive. Without a level only dark.gob is looked in and
// nothing is kept. Nothing when there is no such member, or the member is not a 768-byte palette;
// the reason then goes to *message when given.
std::optional<GamePalette> paletteByName(CDataLevel* level, ResourceCache& cache, std::string_view name,
                                         Status* message = nullptr);

// The palette of the level being edited: its current level name with ".PAL".
std::optional<GamePalette> currentLevelPalette(CDataLevel* level, ResourceCache& cache,
                                               Status* message = nullptr);

// The names a palette box offers: every level member whose name contains ".pal" (any case), in
// member order, then always "dark.pal", the palette of the game's own pictures.
std::vector<std::string> paletteListNames(const CDataLevel* level);

} // namespace morvi
