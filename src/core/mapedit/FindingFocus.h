#pragma once

#include "mapedit/CMapEngine.h"
#include "model/LevelChecker.h"

namespace morvi {

// Brings a checker finding into a map view: the edit mode that shows its item becomes current
// (through SetMode, so the selection changes as on any mode change), the item becomes the whole
// selection, its layer becomes current and the view is centred on it.
// - sector: sector mode, centred on the mean of its vertices;
// - wall: wall mode with (sector, wall), centred on the wall's midpoint;
// - vertex: vertex mode with (sector, vertex), centred on the vertex;
// - object: object mode with (its sector, object), centred on the object;
// - INF item: its sector in sector mode (the finding's sector, else the sector the item names).
// A finding often names an index that is itself the fault: a wall or vertex that does not exist
// falls back to its sector, a point that cannot be placed leaves the view where it is. Returns
// false, changing nothing, when nothing the finding names exists (or it concerns the whole level).
// The engine's store-edits notification runs before the selection changes; telling the views and
// the selection's listeners afterwards is the caller's job.
bool FocusOnFinding(CMapEngine& engine, const LevelFinding& finding);

} // namespace morvi
