#pragma once

#include "document/CMorviDoc.h"

namespace morvi::demo {

// The level every new document starts from: SECBASE with one square room of four walls in the
// textures the sector generators use, and the player's start in the middle of it. Its LEV, O,
// INF, GOL and PAL members are in place (the texts already generated), the INF part is empty.
// Whatever doc held before is replaced.
void BuildNewDocument(CMorviDoc& doc);

// The bundled sample level SECBASE, a small base that shows what the editor can do: a hall with a
// pillar, corridors and side rooms, a secret store, a courtyard under the sky around a water pit,
// doors, stairs and a lift up to a gallery on the second layer, switches that call the lift, and
// one or more objects of every class. Besides LEV, O, INF and PAL it carries SECBASE.GOL, JEDI.LVL
// and TEXT.MSG. The same level, byte for byte, on every call. Whatever doc held before is replaced.
void BuildSampleLevel(CMorviDoc& doc);

} // namespace morvi::demo
