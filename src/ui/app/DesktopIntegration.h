#pragma once

#include <QImage>
#include <QString>

namespace morvi::ui {

// Makes Morvi known to the desktop, once, in the user's data folder: the menu entry
// applications/morvi.desktop, the MIME types of documents (*.mrv) and GOB archives (*.gob) in
// mime/packages/morvi.xml, and the icon icons/hicolor/256x256/apps/morvi.png. The desktop's MIME
// and menu caches are refreshed by their update tools when these are installed. Returns false and
// says why in error when a file cannot be written. The caller then stores "GroupIcon" = 1.
bool InstallDesktopIntegration(const QString& executablePath, QString* error);

// The program's icon: a small map of three sectors with their vertices, on a dark tile.
QImage DrawProgramIcon(int size);

// The text of the desktop entry for the executable.
QString DesktopEntryText(const QString& executablePath);
// The shared-mime-info package declaring the two MIME types.
QString MimePackageText();

} // namespace morvi::ui
