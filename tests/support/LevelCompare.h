#pragma once

#include "model/CDataLevel.h"

#include <string>
#include <string_view>

namespace morvi::testing {

// A level's LEV, O and INF texts as the game-text writers produce them.
struct GameTexts {
    std::string lev, o, inf;
    bool operator==(const GameTexts&) const = default;
};
GameTexts WriteGameTexts(const CDataLevel& level, std::string_view title = kGeneratorTitle);

struct CompareOptions {
    // Members (with the archive's level list and current level) and the editor's object-to-sector
    // assignment are not carried by the level texts.
    bool members = true;
    bool objectSectors = true;
};

// The number of records (sectors, walls, vertices, textures, objects, SEQ lines, name-table
// entries, INF items, members) in which two levels differ, field by field.
int CountDifferences(const CDataLevel& a, const CDataLevel& b, CompareOptions options = {});
// The same for one LEV part (header values included), one sector with its walls and vertices,
// and one wall.
int CountDifferences(const CDataLev& a, const CDataLev& b);
int CountDifferences(const CDataSector& a, const CDataSector& b);
int CountDifferences(const CDataWall& a, const CDataWall& b);

} // namespace morvi::testing
