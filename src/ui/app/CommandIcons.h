#pragma once

#include <QIcon>

class QPainter;
class QRectF;

namespace morvi::ui {

// The tool-bar picture of a command, drawn as vectors at whatever size and pixel ratio the bar
// asks for, so it stays sharp on high-density screens. An empty icon for a command without one.
QIcon CommandIcon(int commandId);
// The program's own icon: a map of three joined rooms.
QIcon ApplicationIcon();
// Paints that icon into rect, as vectors (window icon, desktop icons, the scalable icon).
void PaintProgramIcon(QPainter& painter, const QRectF& rect);

} // namespace morvi::ui
