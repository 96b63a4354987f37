#pragma once

namespace morvi {

// The user's preferences the core's rules read. The application loads them from its settings
// store and hands them over; the core never reads a settings file itself.
struct Settings {
    // Objects inside a dragged sector move with it.
    bool m_bMoveObjects = true;
    // A dragged vertex takes along every vertex of any sector lying exactly on it.
    bool m_bMoveVertex = true;
    // Printing draws every wall, mark and object in black.
    bool m_bBlackWhite = true;
};

} // namespace morvi
