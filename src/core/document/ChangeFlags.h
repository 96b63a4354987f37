#pragma once

namespace morvi {

// What a change of a document touched, so that each observer reloads only what it shows.
enum ChangeFlags : unsigned {
    kChangedNothing = 0,
    // Sectors, walls, vertices, objects, the texture and name tables, the level's header values.
    kChangedGeometry = 1u << 0,
    kChangedInf = 1u << 1,
    // Archive members, the archive's level list and its current level.
    kChangedMembers = 1u << 2,
    kChangedSelection = 1u << 3,
    kChangedEverything = kChangedGeometry | kChangedInf | kChangedMembers | kChangedSelection,
};

} // namespace morvi
