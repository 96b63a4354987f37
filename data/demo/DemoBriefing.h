#pragma once

#include "resources/LfdArchive.h"

namespace morvi::demo {

// The stand-in for a mission briefing LFD: the palette (PLTT "brief"), a title card (DELT
// "title"), a planet (DELT "planet"), a turning satellite (ANIM "spin") and the film that shows
// them (FILM "brief").
LfdArchive BuildBriefingLfd();

} // namespace morvi::demo
