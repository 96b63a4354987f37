#include "mapedit/MapPrinter.h"

#include "mapedit/DisplayListPainter.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QSvgGenerator>

#include <cmath>

namespace morvi::ui {

namespace {

// Larger pictures would take gigabytes for an image nobody can open.
constexpr int kMaxExportSide = 16384;

// The document's share of the map state, which fitting the map to a page or a picture changes.
struct SavedMapState {
    int m_nZoom = 0;
    int m_nGridLevel = 0;
    double m_dScrollX = 0;
    double m_dScrollZ = 0;
    ClientRect m_rcClient;

    explicit SavedMapState(CMapEngine& engine)
        : m_nZoom(engine.document().m_nZoom), m_nGridLevel(engine.document().m_nGridLevel),
          m_dScrollX(engine.document().m_dScrollX), m_dScrollZ(engine.document().m_dScrollZ),
          m_rcClient(engine.viewport().m_rcClient) {}

    void Restore(CMapEngine& engine) const {
        CMorviDoc& doc = engine.document();
        doc.m_nZoom = m_nZoom;
        doc.m_nGridLevel = m_nGridLevel;
        doc.m_dScrollX = m_dScrollX;
        doc.m_dScrollZ = m_dScrollZ;
        if (m_rcClient.width() > 0 && m_rcClient.height() > 0)
            engine.viewport().RecalcLayout(ScreenMapDevice(), m_rcClient);
    }
};

DisplayList DrawForClient(CMapEngine& engine, QSize size) {
    const SavedMapState saved(engine);
    engine.viewport().RecalcLayout(ScreenMapDevice(), ClientRect{0, 0, size.width(), size.height()});
    DisplayList list;
    engine.drawing().DrawMap(list, false);
    saved.Restore(engine);
    return list;
}

bool Fail(QString* error, const QString& message) {
    if (error) *error = message;
    return false;
}

bool WritePng(const DisplayList& list, const QString& path, QSize size, QString* error) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return Fail(error, QStringLiteral("%1: not enough memory for the picture.").arg(path));
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        PaintDisplayList(painter, list);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return Fail(error, QStringLiteral("%1: the PNG image could not be written.").arg(path));
    }
    if (!file.commit()) return Fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return true;
}

bool WriteSvg(const DisplayList& list, const QString& path, QSize size, QString* error) {
    // The drawing goes to a temporary file beside the target, renamed over it when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Morvi map"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        file.cancelWriting();
        return Fail(error, QStringLiteral("%1: the SVG drawing could not be started.").arg(path));
    }
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::black);
    PaintDisplayList(painter, list);
    if (!painter.end()) {
        file.cancelWriting();
        return Fail(error, QStringLiteral("%1: the SVG drawing could not be written.").arg(path));
    }
    if (!file.commit()) return Fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return true;
}

} // namespace

QString MapExportFilters() {
    return QStringLiteral("%1;;%2").arg(QLatin1String(kPngExportFilter), QLatin1String(kSvgExportFilter));
}

MapDevice ScreenMapDevice(const QScreen* screen) {
    MapDevice device;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() == QLatin1String("offscreen")) return device;
    const int pixels = screen->geometry().width();
    const int millimetres = static_cast<int>(std::lround(screen->physicalSize().width()));
    if (pixels > 0 && millimetres > 0) {
        device.m_nHorzRes = pixels;
        device.m_nHorzSizeMm = millimetres;
    }
    return device;
}

bool PrintMap(CMapEngine& engine, QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const QRect page = layout.paintRectPixels(printer.resolution());
    const QRectF pageMm = layout.paintRect(QPageLayout::Millimeter);
    if (page.isEmpty() || pageMm.width() <= 0) return false;
    // On a printing device the engine follows the BlackWhite preference itself.
    MapDevice device;
    device.m_nHorzRes = page.width();
    device.m_nHorzSizeMm = static_cast<int>(std::lround(pageMm.width()));
    device.m_bPrinting = true;
    DisplayList list;
    engine.drawing().DrawPrint(list, device, ClientRect{0, 0, page.width(), page.height()});
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    PaintDisplayList(painter, list);
    return painter.end();
}

void ShowPrintPreview(CMapEngine& engine, QWidget* parent) {
    QPrinter printer;
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&engine](QPrinter* target) { PrintMap(engine, *target); });
    dialog.exec();
}

bool WriteMapPicture(const DisplayList& list, const QString& path, QSize size, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return WritePng(list, path, size, error);
    if (suffix == QLatin1String("svg")) return WriteSvg(list, path, size, error);
    return Fail(error,
                QStringLiteral("%1: the map is exported as a .png image or an .svg drawing.").arg(path));
}

bool ExportMapImage(CMapEngine& engine, const QString& path, QSize size, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        return Fail(error,
                    QStringLiteral("%1: the map is exported as a .png image or an .svg drawing.").arg(path));
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxExportSide ||
        size.height() > kMaxExportSide)
        return Fail(error,
                    QStringLiteral("A picture of %1 x %2 pixels cannot be made; each side must be 1 to %3.")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(kMaxExportSide));
    return WriteMapPicture(DrawForClient(engine, size), path, size, error);
}

} // namespace morvi::ui
