#include "app/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace morvi::ui {

QString ShareDir() {
    const QString overridden = qEnvironmentVariable("MORVI_SHARE_DIR");
    if (!overridden.isEmpty()) return QDir::cleanPath(overridden);
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/morvi");
}

QString TemplatePath() {
    return ShareDir() + "/new.mrv";
}

QString SamplePath() {
    return ShareDir() + "/sample/sample.mrv";
}

QString DemoDir() {
    return ShareDir() + "/demo";
}

QString TipsPath() {
    return ShareDir() + "/tips.txt";
}

QString ManualDir() {
    return ShareDir() + "/manual";
}

} // namespace morvi::ui
