#pragma once

#include "mapedit/CMapEngine.h"

#include <QSize>
#include <QString>

class QPrinter;
class QWidget;

class QScreen;

namespace morvi::ui {

// File dialog filters for the map export, and both together.
inline constexpr const char* kPngExportFilter = "PNG Image (*.png)";
inline constexpr const char* kSvgExportFilter = "SVG Drawing (*.svg)";
QString MapExportFilters();

// A screen as the map engine sees it (the primary one by default): its width in pixels and in
// millimetres; 1024 pixels on 320 mm when the platform does not know (offscreen, some remote
// desktops).
MapDevice ScreenMapDevice(const QScreen* screen = nullptr);

// Prints the map on one page: the selection (or the whole level) as large as the printer's page
// rectangle holds it, centred, without grid, at the printer's resolution, in black or in colour as
// the BlackWhite preference says. The document's zoom, grid and scroll and the engine's layout for
// its view are as they were afterwards.
// Returns false when the printer cannot be started (an unwritable PDF file, for one).
bool PrintMap(CMapEngine& engine, QPrinter& printer);

// The print preview dialog (modal) for the map, in colour or black and white as the BlackWhite
// preference says.
void ShowPrintPreview(CMapEngine& engine, QWidget* parent);

// Writes the map as the view shows it (same zoom, scroll, layer, tool and selection marks, no
// grid), laid out for a client area of the given size, as a PNG image or an SVG drawing chosen by
// the file's suffix. The file is replaced only when it is complete. On failure returns false and,
// when error is given, a message naming the file.
bool ExportMapImage(CMapEngine& engine, const QString& path, QSize size, QString* error);
// The writing half: a display list drawn on a black picture of the given size, as PNG or SVG by
// the file's suffix, replacing the file only when complete. The command line renders with it too.
bool WriteMapPicture(const DisplayList& list, const QString& path, QSize size, QString* error);

} // namespace morvi::ui
