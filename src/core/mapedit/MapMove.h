#pragma once

#include "mapedit/CMapEngine.h"
#include "model/CDataLevel.h"

#include <span>
#include <vector>

namespace morvi {

// One vertex of one sector, as a drag's move list holds it.
struct VertexRef {
    int m_nSector = -1;
    int m_nVertex = -1;
    bool operator==(const VertexRef&) const = default;
};

// What a released drag needs besides the level and the selection: the edit mode, the two
// preferences and the document's grid.
struct MoveOptions {
    int m_nMode = kModeSector;
    bool m_bMoveObjects = true;
    bool m_bMoveVertex = true;
    bool m_bGridOn = true;
    double m_dGridStep = 256.0;
};

// Removes the vertex-mode entries lying exactly (X and Z equal) on an earlier entry's vertex, in
// any sector, so that one point is never dragged twice. Entries naming no vertex stay.
void PruneCoincidentVertices(const CDataLevel& level, std::vector<CMapSelItem>& selection);

// The vertices a drag moves in sector, wall or vertex mode, each (sector, vertex) once, in the
// order the first one decides the grid snap by. Sector and wall mode take the mirror walls'
// ends along, so that adjoined neighbours stay joined; vertex mode with moveVertex takes every
// wall end lying exactly on a selected vertex, in every sector of every layer. References to
// records that do not exist are skipped. Empty in object and perspective mode.
std::vector<VertexRef> BuildMoveList(const CDataLevel& level, std::span<const CMapSelItem> selection,
                                     int mode, bool moveVertex);

// The objects object mode's selection names, each once, in selection order.
std::vector<int> SelectedObjects(const CDataLevel& level, std::span<const CMapSelItem> selection);

// The offset corrected so that position + offset lands on the grid line next toward zero.
double SnapOffset(double position, double offset, double step);

// Applies a released drag's world offset to the level: vertex mode first prunes coincident
// selection entries, then the move list (or the selected objects) is shifted, the offset snapped
// to the grid from the first thing's position when the grid is on; in sector mode with
// MoveObjects the objects assigned to a selected sector follow. Returns whether anything moved.
bool ApplyMove(CDataLevel& level, std::vector<CMapSelItem>& selection, double dx, double dz,
               const MoveOptions& options);

} // namespace morvi
