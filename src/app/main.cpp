#include "app/CommandIcons.h"
#include "app/MorviApplication.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "Usage: morvi [OPTION...] [FILE]\n"
    "\n"
    "Morvi, the level editor and resource workbench for Dark Forces. FILE is a Morvi document\n"
    "(.mrv) or a GOB archive (.gob) to open; press F1 in the editor for the manual.\n"
    "\n"
    "Options:\n"
    "  --demo              use the bundled demo archives as the game's folders for this run\n"
    "  --quiet             start without the About box, the tip of the day, the recovery\n"
    "                      questions and the desktop set-up\n"
    "  --screenshot FILE   start quietly, write a PNG picture of the main window to FILE,\n"
    "                      print its path and quit\n"
    "  --help              show this text and quit\n"
    "  --version           show the version and quit\n"
    "\n"
    "Morvi finds its template, sample level, demo archives, tips and manual in share/morvi\n"
    "beside the folder that holds the program (/usr/share/morvi for /usr/bin/morvi); the\n"
    "environment variable MORVI_SHARE_DIR names another folder. The settings are kept in the\n"
    "user's configuration folder (~/.config/morvi/morvi.ini).\n";

} // namespace

int main(int argc, char** argv) {
    // Answered before the window system is reached, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("morvi %s\n", MORVI_VERSION);
            return 0;
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("morvi");
    QApplication::setOrganizationName("morvi");
    QApplication::setApplicationDisplayName("Morvi");
    QApplication::setWindowIcon(morvi::ui::ApplicationIcon());

    const morvi::ui::StartOptions options = morvi::ui::ParseStartOptions(QApplication::arguments());
    if (!options.m_strError.isEmpty()) {
        std::fprintf(stderr, "morvi: %s\nTry 'morvi --help'.\n", qPrintable(options.m_strError));
        return 2;
    }
    morvi::ui::MorviApplication morvi(options);
    morvi.startUp();
    const int result = QApplication::exec();
    morvi.shutDown();
    return result;
}
