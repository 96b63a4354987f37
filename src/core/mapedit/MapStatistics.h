#pragma once

#include "model/CDataLevel.h"

#include <string>
#include <utility>
#include <vector>

namespace morvi {

// What the Statistics dialog counts.
struct LevelCounts {
    int m_nSectors = 0;
    int m_nWalls = 0;
    int m_nVertices = 0;
    int m_nObjects = 0;
    int m_nInfDefinitions = 0;
    bool operator==(const LevelCounts&) const = default;
};

LevelCounts CountLevel(const CDataLevel& level);

// One line "Sector %3d, vertex %3d and vertex %3d" per wall whose two ends lie on the same point,
// or the single line "None".
std::vector<std::string> DegenerateWallLines(const CDataLevel& level);

// Find Sector's list: the name and index of every sector with a name, in sector order.
std::vector<std::pair<std::string, int>> NamedSectors(const CDataLevel& level);

} // namespace morvi
