#include "app/CommandIcons.h"
#include "app/MorviApplication.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("morvi");
    QApplication::setOrganizationName("morvi");
    QApplication::setApplicationDisplayName("Morvi");
    QApplication::setWindowIcon(morvi::ui::ApplicationIcon());

    const morvi::ui::StartOptions options = morvi::ui::ParseStartOptions(QApplication::arguments());
    if (!options.m_strError.isEmpty()) {
        std::fprintf(stderr, "morvi: %s\nusage: morvi [--demo] [--quiet] [--screenshot FILE.png] [FILE]\n",
                     qPrintable(options.m_strError));
        return 2;
    }
    morvi::ui::MorviApplication morvi(options);
    morvi.startUp();
    const int result = QApplication::exec();
    morvi.shutDown();
    return result;
}
