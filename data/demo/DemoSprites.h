#pragma once

#include "gamefiles/GobArchive.h"

namespace morvi::demo {

// The stand-in for the game's sprites.gob: a WAX or FME for every sprite and frame the object
// catalogue names, enough more that every category of the resource picker offers a choice, all
// drawn by our own code. Enemies walk, attack, fall and lie dead, seen from eight directions;
// lamps, flames and powerups animate; items are single frames standing on the floor.
GobArchive BuildSpritesGob();

} // namespace morvi::demo
