#include "app/DesktopIntegration.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

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
                          "Categories=Graphics;Development;\n")
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
                          "</mime-info>\n");
}

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 32, 48));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
    // Three sectors sharing walls: a room, a corridor and a second room.
    const QPolygonF room{{{2.5, 3}, {7, 3}, {7, 8}, {2.5, 8}}};
    const QPolygonF corridor{{{7, 5}, {9.5, 5}, {9.5, 7}, {7, 7}}};
    const QPolygonF hall{{{9.5, 3.5}, {13.5, 5}, {13.5, 12.5}, {6, 12.5}, {9.5, 7}}};
    painter.setBrush(QColor(40, 72, 110));
    painter.setPen(QPen(QColor(230, 230, 230), 0.6));
    for (const QPolygonF& sector : {room, corridor, hall})
        painter.drawPolygon(sector);
    painter.setPen(QPen(QColor(255, 64, 64), 0.6));
    painter.drawLine(QPointF(7, 5), QPointF(7, 7));
    painter.drawLine(QPointF(9.5, 5), QPointF(9.5, 7));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 210, 0));
    for (const QPolygonF& sector : {room, hall})
        for (const QPointF& vertex : sector)
            painter.drawEllipse(vertex, 0.55, 0.55);
    return image;
}

bool InstallDesktopIntegration(const QString& executablePath, QString* error) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        if (error) *error = QStringLiteral("The desktop has no data folder for this user.");
        return false;
    }
    const QString applications = data + QStringLiteral("/applications");
    const QString mime = data + QStringLiteral("/mime");
    if (!WriteFile(applications + QStringLiteral("/morvi.desktop"), DesktopEntryText(executablePath).toUtf8(),
                   error) ||
        !WriteFile(mime + QStringLiteral("/packages/morvi.xml"), MimePackageText().toUtf8(), error))
        return false;
    const QString icon = data + QStringLiteral("/icons/hicolor/256x256/apps/morvi.png");
    if (!QDir().mkpath(QFileInfo(icon).absolutePath()) || !DrawProgramIcon(256).save(icon, "PNG")) {
        if (error) *error = QStringLiteral("Cannot write %1").arg(icon);
        return false;
    }
    RunIfInstalled(QStringLiteral("update-mime-database"), mime);
    RunIfInstalled(QStringLiteral("update-desktop-database"), applications);
    return true;
}

} // namespace morvi::ui
