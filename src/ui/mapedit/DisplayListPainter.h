#pragma once

#include "mapedit/DisplayList.h"

class QPainter;

namespace morvi::ui {

// Replays the map engine's display list on a painter, one pixel wide and without smoothing, the
// same on the screen, in an image, an SVG file or on paper.
void PaintDisplayList(QPainter& painter, const DisplayList& list);

} // namespace morvi::ui
