#pragma once

#include <string>
#include <vector>

namespace morvi {

class CDataLevel;

// One broken invariant, with the records it concerns (-1 where one does not apply) so that a
// user interface can select the item and centre the map on it.
struct LevelFinding {
    enum class Kind { Sector, Wall, Vertex, Object, InfItem, Level };
    Kind m_Kind = Kind::Level;
    int m_nSector = -1;
    int m_nWall = -1;
    int m_nVertex = -1;
    int m_nObject = -1;
    int m_nItem = -1;
    std::string m_strText;
};

// Verifies the model's invariants (indices in range, mirrors pointing back, closed loops, table
// indices, at least three walls per sector) and describes every violation in a readable line.
std::vector<LevelFinding> checkLevel(const CDataLevel& level);

} // namespace morvi
