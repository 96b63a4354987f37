#pragma once

#include "model/CDataLevel.h"

namespace morvi::testing {

struct CompareOptions {
    // Members and the editor's object-to-sector assignment are not carried by the level texts.
    bool members = true;
    bool objectSectors = true;
};

// The number of records (sectors, walls, vertices, textures, objects, SEQ lines, name-table
// entries, INF items, members) in which two levels differ, field by field.
int CountDifferences(const CDataLevel& a, const CDataLevel& b, CompareOptions options = {});

} // namespace morvi::testing
