#pragma once

#include "model/CDataLevel.h"

#include <cstdint>

namespace morvi::testing {

// Sizes of a generated level. The defaults are a little larger than the largest levels the game
// ships with, so that tests and benchmarks meet realistic worst cases.
struct SyntheticLevelOptions {
    int sectors = 4000;
    // Average wall count per sector. Rooms have 4 to 12 walls on their outer loop, so values
    // outside roughly 5..13 are approached but not reached.
    int wallsPerSector = 10;
    int objects = 1200;
    // Including the one "level" item.
    int infItems = 550;
    int textures = 200;
    std::uint64_t seed = 0x5EED;

    // About 40 sectors, 30 objects and 10 INF items: quick enough for any unit test.
    static SyntheticLevelOptions Small();
};

// Fills a freshly constructed level with a grid of adjoined rooms (some with a pillar in a hole),
// named doors and elevators, objects of every class, INF items that refer to them, the header
// values and the archive members of a level named SYNTH. The same options always give the same
// level. Every real value is already rounded to hundredths, as the text writers print them.
void BuildSyntheticLevel(CDataLevel& level, const SyntheticLevelOptions& options = {});

} // namespace morvi::testing
