#pragma once

#include "model/CDataLevel.h"

#include <cstddef>
#include <string>
#include <vector>

namespace morvi {

// One difference between two levels, in the words a level designer reads
// ("sector 12 door1: floor altitude 0.00 -> -8.00").
struct LevelChange {
    enum class Kind { Added, Removed, Changed };

    Kind m_Kind = Kind::Changed;
    // "level", "texture", "sector", "vertex", "wall", "pod", "sprite", "frame", "sound", "object",
    // "inf" or "member".
    std::string m_strPart;
    // Positions in the first and the second level, -1 on the side without the record. Vertices
    // and walls give their sector's positions here and their own in m_nSubA and m_nSubB.
    int m_nA = -1;
    int m_nB = -1;
    int m_nSubA = -1;
    int m_nSubB = -1;
    // For a change: the field and its two values as shown; for an added or removed record, the
    // record in a few words in m_strAfter or m_strBefore.
    std::string m_strField;
    std::string m_strBefore;
    std::string m_strAfter;
    std::string m_strText;
};

struct LevelDiff {
    std::vector<LevelChange> m_Changes;

    bool Same() const { return m_Changes.empty(); }
    std::size_t Count(LevelChange::Kind kind) const;
    // "no differences", or "5 differences: 1 added, 1 removed, 3 changed".
    std::string Summary() const;
};

// Compares two levels as models rather than as text: the header values, the texture and object
// name tables, sectors with their vertices and walls, objects with their SEQ lines, INF items,
// the current level and the other archive members (by name and bytes; the current level's own
// texts are compared through the model). Lists are aligned, so that one inserted or deleted
// record reads as one change: sectors by their contents and names, walls by their corners.
// Values are compared as the level texts carry them: reals to hundredths (parallax to four
// decimals), resource names, classes and SEQ lines of objects without regard to case, sector
// names and INF lines exactly. Index links (adjoins, mirrors, walks, a wall's vertices) are
// followed through the alignment, so that a sector deleted before them does not change them.
LevelDiff DiffLevels(const CDataLevel& a, const CDataLevel& b);

} // namespace morvi
