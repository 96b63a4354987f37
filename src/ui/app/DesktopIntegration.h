#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace morvi::ui {

// The desktop's name for Morvi: the desktop entry is <id>.desktop, the AppStream data
// <id>.metainfo.xml.
QString DesktopId();

// The sizes of the icon's pictures in the hicolor theme, besides the scalable one.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes Morvi's desktop files under dataRoot, laid out as a share folder is: the menu entry
// applications/<id>.desktop starting exec, the MIME types of documents (*.mrv), GOB archives
// (*.gob), LFD archives (*.lfd) and sector libraries (*.lib) in mime/packages/morvi.xml, and the
// icon in icons/hicolor at every size and as SVG. Returns false and says why in error when a file
// cannot be written.
bool WriteDesktopFiles(const QString& dataRoot, const QString& exec, QString* error);

// Whether the system already has Morvi's desktop entry (an installed package does): the
// per-user one is then not needed.
bool SystemHasDesktopEntry();

// Makes Morvi known to the desktop, once, in the user's data folder (WriteDesktopFiles with the
// running executable), then refreshes the desktop's MIME and menu caches with their update tools
// when these are installed. The caller then stores "GroupIcon" = 1.
bool InstallDesktopIntegration(const QString& executablePath, QString* error);

// The program's icon as a picture of size pixels square, and as an SVG drawing.
QImage DrawProgramIcon(int size);
QByteArray ProgramIconSvg();

// The text of the desktop entry for the executable.
QString DesktopEntryText(const QString& executablePath);
// The shared-mime-info package declaring the MIME types.
QString MimePackageText();

} // namespace morvi::ui
