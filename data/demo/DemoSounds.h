#pragma once

#include "gamefiles/GobArchive.h"
#include "resources/VocSound.h"

#include <span>
#include <string_view>

namespace morvi::demo {

// The member names of the demo sounds.gob, every category of the sound picker covered.
std::span<const std::string_view> DemoSoundNames();

// One demo sound by member name ("DOOR.VOC"); a sound without samples for an unknown name.
VocSound BuildDemoSound(std::string_view memberName);

// The stand-in for the game's sounds.gob: short 8-bit sounds at 11 kHz, made from tones,
// sweeps and filtered noise; the ambient ones repeat without end.
GobArchive BuildSoundsGob();

} // namespace morvi::demo
