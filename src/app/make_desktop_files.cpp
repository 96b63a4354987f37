// Writes the desktop files an installed Morvi ships (the menu entry, the MIME types and the icons
// at every size) into a folder laid out as share/ is, for the install and the Debian package.
#include "app/DesktopIntegration.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: morvi-make-desktop-files OUTDIR\n", stderr);
        return 2;
    }
    QString error;
    if (!morvi::ui::WriteDesktopFiles(QString::fromLocal8Bit(argv[1]), QStringLiteral("morvi"), &error)) {
        std::fprintf(stderr, "morvi-make-desktop-files: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
