#include "app/DesktopIntegration.h"

#include "app/CommandIcons.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgGenerator>

namespace morvi::ui {

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        if (error) *error = QStringLiteral("Cannot create the folder of %1").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return false;
}

// Quotes an Exec argument as the desktop entry format wants it.
QString QuoteExec(const QString& path) {
    QString quoted = path;
    for (const char* special : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    quoted.replace(QLatin1String("%"), QLatin1String("%%"));
    if (!quoted.contains(QLatin1Char(' ')) && quoted == path) return quoted;
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void RunIfInstalled(const QString& program, const QString& folder) {
    const QString found = QStandardPaths::findExecutable(program);
    if (!found.isEmpty()) QProcess::startDetached(found, {folder});
}

} // namespace

QString DesktopId() {
    return QStringLiteral(MORVI_APP_ID);
}

QString DesktopEntryText(const QString& executablePath) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Morvi\n"
                          "GenericName=Level Editor\n"
                          "Comment=Edit Dark Forces levels\n"
                          "Exec=%1 %f\n"
                          "Icon=morvi\n"
                          "Terminal=false\n"
                          "MimeType=application/x-morvi-document;application/x-dark-forces-gob;\n"
                          "Categories=Development;\n"
                          "Keywords=Dark Forces;level;editor;map;GOB;\n")
        .arg(QuoteExec(executablePath));
}

QString MimePackageText() {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"application/x-morvi-document\">\n"
                          "    <comment>Morvi level document</comment>\n"
                          "    <glob pattern=\"*.mrv\"/>\n"
                          "  </mime-type>\n"
                          "  <mime-type type=\"application/x-dark-forces-gob\">\n"
                          "    <comment>Dark Forces GOB archive</comment>\n"
                          "    <glob pattern=\"*.gob\"/>\n"
                          "  </mime-type>\n"
                          "  <mime-type type=\"application/x-dark-forces-lfd\">\n"
                          "    <comment>Dark Forces LFD archive</comment>\n"
                          "    <glob pattern=\"*.lfd\"/>\n"
                          "  </mime-type>\n"
                          "  <mime-type type=\"application/x-morvi-library\">\n"
                          "    <comment>Morvi sector library</comment>\n"
                          "    <glob pattern=\"*.lib\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n");
}

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintProgramIcon(painter, QRectF(0, 0, size, size));
    return image;
}

QByteArray ProgramIconSvg() {
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(256, 256));
    generator.setViewBox(QRectF(0, 0, 256, 256));
    generator.setTitle(QStringLiteral("Morvi"));
    QPainter painter(&generator);
    PaintProgramIcon(painter, QRectF(0, 0, 256, 256));
    painter.end();
    return buffer.data();
}

bool WriteDesktopFiles(const QString& dataRoot, const QString& exec, QString* error) {
    if (!WriteFile(dataRoot + QStringLiteral("/applications/") + DesktopId() + QStringLiteral(".desktop"),
                   DesktopEntryText(exec).toUtf8(), error) ||
        !WriteFile(dataRoot + QStringLiteral("/mime/packages/morvi.xml"), MimePackageText().toUtf8(),
                   error) ||
        !WriteFile(dataRoot + QStringLiteral("/icons/hicolor/scalable/apps/morvi.svg"), ProgramIconSvg(),
                   error))
        return false;
    for (const int size : kProgramIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        DrawProgramIcon(size).save(&buffer, "PNG");
        const QString path = dataRoot + QStringLiteral("/icons/hicolor/%1x%1/apps/morvi.png").arg(size);
        if (!WriteFile(path, png, error)) return false;
    }
    return true;
}

bool SystemHasDesktopEntry() {
    const QDir user(QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation));
    const QString name = DesktopId() + QStringLiteral(".desktop");
    for (const QString& found : QStandardPaths::locateAll(QStandardPaths::ApplicationsLocation, name))
        if (QFileInfo(found).absoluteDir() != user) return true;
    return false;
}

bool InstallDesktopIntegration(const QString& executablePath, QString* error) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        if (error) *error = QStringLiteral("The desktop has no data folder for this user.");
        return false;
    }
    if (!WriteDesktopFiles(data, executablePath, error)) return false;
    RunIfInstalled(QStringLiteral("update-mime-database"), data + QStringLiteral("/mime"));
    RunIfInstalled(QStringLiteral("update-desktop-database"), data + QStringLiteral("/applications"));
    return true;
}

} // namespace morvi::ui
