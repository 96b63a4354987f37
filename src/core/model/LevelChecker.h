#pragma once

#include <string>
#include <vector>

namespace morvi {

class CDataLevel;

// One problem of the level, with the records it concerns (-1 where one does not apply) so that a
// user interface can select the item and centre the map on it.
struct LevelFinding {
    // The item the finding focuses.
    enum class Kind { Sector, Wall, Vertex, Object, InfItem, Level };
    // What is wrong; the checker's list is grouped by it.
    enum class Problem {
        BrokenReference,     // an index or a loop the level's records cannot work with
        IllegalVertex,       // a coordinate that is not a number or beyond the game's range
        ZeroLengthWall,      // a wall whose two ends lie on one point
        OverlappingVertices, // two vertices of one sector on one point
        CrossingWalls,       // two walls of one sector that cross
        MirrorMismatch,      // a wall and its mirror that do not share their end points
        OverlappingSectors,  // two sectors of one layer that cover the same ground
        ObjectOutside,       // an object in no sector
        MissingSector,       // an INF item or line naming a sector that does not exist
        WallOutOfRange,      // an INF item of a wall the sector does not have
        MissingStop,         // an INF line naming a stop the elevator does not have
        UnknownInf,          // a class or keyword the INF editor does not know
        OpenSequence,        // an INF item whose seq block has no seqend
    };
    // Error: the game misbehaves or the editor cannot work on the item. Warning: likely a mistake.
    enum class Severity { Error, Warning };

    Kind m_Kind = Kind::Level;
    Problem m_Problem = Problem::BrokenReference;
    Severity m_Severity = Severity::Error;
    int m_nSector = -1;
    int m_nWall = -1;
    int m_nVertex = -1;
    int m_nObject = -1;
    int m_nItem = -1;
    // The line of the INF item, -1 for the item itself.
    int m_nLine = -1;
    std::string m_strText;
};

// The heading the checker's list gives a problem ("Zero-length walls") and the key the command
// line's JSON uses ("zero_length_wall").
const char* ProblemTitle(LevelFinding::Problem problem);
const char* ProblemKey(LevelFinding::Problem problem);

// Checks the level: first the model's invariants (indices in range, mirrors pointing back, closed
// loops, table indices, at least three walls per sector), then, on the sectors whose records are
// sound, the geometry the game needs and the objects' places. Findings come in that order, each
// group in record order. The INF items have a checker of their own (infedit/InfChecker.h).
std::vector<LevelFinding> checkLevel(const CDataLevel& level);

// How many of the findings are errors.
int CountErrors(const std::vector<LevelFinding>& findings);

} // namespace morvi
