#pragma once

#include "mapedit/DisplayList.h"

class QPainter;

namespace morvi::ui {

// Replays the map engine's display list on a painter, without smoothing, each line as wide as the
// list says (in device pixels), the same on the screen, in an image, an SVG file or on paper.
void PaintDisplayList(QPainter& painter, const DisplayList& list);

} // namespace morvi::ui
