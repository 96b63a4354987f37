#pragma once

#include "model/LevelChecker.h"

#include <vector>

namespace morvi {

class CDataLevel;

// Checks the level's INF items against the level: items and "slave:", "client:", "message:",
// "adjoin:", "texture:" and "target:" lines naming a sector that does not exist, wall numbers
// beyond their sector's walls, stop numbers beyond the stops of the elevator they refer to, classes
// and keywords the INF editor's pages do not know, and items whose seq block the INF text leaves
// open. Each finding names its item (m_nItem) and line (m_nLine, -1 for the item itself).
std::vector<LevelFinding> CheckInf(const CDataLevel& level);

// The level checker's findings followed by the INF checker's: what the Level Check panel and the
// command line's level check show.
std::vector<LevelFinding> CheckWholeLevel(const CDataLevel& level);

} // namespace morvi
