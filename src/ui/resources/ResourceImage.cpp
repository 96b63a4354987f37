#include "resources/ResourceImage.h"

#include "resources/IndexedImage.h"
#include "resources/ModelProjection.h"
#include "resources/ResourcePreview.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>

namespace morvi::ui {

namespace {

// Space between pictures shown side by side, in screen pixels whatever the zoom.
constexpr int kPictureGap = 4;
const QColor kBackground(32, 32, 32);
const QColor kText(224, 224, 224);

QRgb DisplayRgb(std::uint32_t colour) { // 0x00BBGGRR
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

bool IsPaletteGrid(const IndexedImage& image) {
    return image.width() == 0 && image.hasDisplayColours();
}

void PaintText(QPainter& painter, const QRect& area, const QString& text) {
    painter.setPen(kText);
    painter.drawText(area.adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void PaintModel(QPainter& painter, const Model3D& model, const QRect& area, const PreviewPaint& how) {
    const ModelProjection projection = ProjectModel(model, area.width(), area.height(), how.m_nZoom);
    painter.translate(area.topLeft());
    painter.setPen(QPen(QColor(QRgb(kProjectionPenRgb)), 1));
    for (const ProjectionPolyline& line : projection.m_Polylines) {
        QPolygonF polygon;
        for (const ProjectionPoint& p : line.m_Points)
            polygon << QPointF(p.m_dX, p.m_dY);
        painter.drawPolyline(polygon);
    }
    if (!how.m_bText) return;
    const int ascent = painter.fontMetrics().ascent();
    for (const ProjectionLabel& label : projection.m_Labels)
        painter.drawText(QPointF(label.m_Position.m_dX, label.m_Position.m_dY + ascent),
                         QString::fromStdString(label.m_strText));
}

void PaintPictures(QPainter& painter, const std::vector<PreviewFrame>& frames, const QRect& area,
                   const PreviewPaint& how) {
    std::vector<const PreviewFrame*> shown;
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (how.m_nOnlyFrame < 0 || static_cast<int>(i) == how.m_nOnlyFrame) shown.push_back(&frames[i]);
    if (shown.empty()) return;
    if (IsPaletteGrid(shown.front()->m_Image))
        return PaintPaletteGrid(painter, shown.front()->m_Image.displayColours(), area);

    int width = 0, height = 0;
    for (const PreviewFrame* frame : shown) {
        width += frame->m_Image.width();
        height = std::max(height, frame->m_Image.height());
    }
    if (width < 1 || height < 1) return;
    const int gaps = kPictureGap * static_cast<int>(shown.size() - 1);
    double scale = ProjectionZoom(how.m_nZoom);
    if (how.m_nZoom == 0)
        scale = std::min(std::max(1, area.width() - gaps) / double(width), area.height() / double(height));
    // Centred while it fits; a picture larger than the area starts at its top left.
    const double shownWidth = width * scale + gaps, shownHeight = height * scale;
    double x = area.left() + std::max(0.0, (area.width() - shownWidth) / 2);
    const double top = area.top() + std::max(0.0, (area.height() - shownHeight) / 2);
    for (const PreviewFrame* frame : shown) {
        const bool sprite = frame->m_Placement.has_value();
        QImage image = ToQImage(frame->m_Image, sprite);
        if (sprite && frame->m_Placement->m_bFlip) image = image.mirrored(true, false);
        const QRectF target(x, top, image.width() * scale, image.height() * scale);
        painter.drawImage(target, image);
        x += target.width() + kPictureGap;
    }
}

} // namespace

QImage ToQImage(const IndexedImage& image, bool transparentZero) {
    QImage out(std::max(0, image.width()), std::max(0, image.height()), QImage::Format_ARGB32);
    if (out.isNull()) return out;
    QRgb table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = image.hasDisplayColours() ? DisplayRgb(image.displayColours()[static_cast<std::size_t>(i)])
                                             : qRgb(i, i, i);
    if (transparentZero) table[0] = qRgba(0, 0, 0, 0);
    // Our rows run bottom-up, a QImage's top-down.
    for (int y = 0; y < image.height(); ++y) {
        const auto row = image.row(image.height() - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = table[row[static_cast<std::size_t>(x)]];
    }
    return out;
}

PictureFileFormat PngPictureFormat() {
    PictureFileFormat format;
    format.m_strExtension = ".png";
    format.m_Encode = [](const IndexedImage& picture, std::vector<std::uint8_t>& out) {
        QImage image(picture.width(), picture.height(), QImage::Format_Indexed8);
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i)
            table[i] = picture.hasDisplayColours()
                           ? DisplayRgb(picture.displayColours()[static_cast<std::size_t>(i)])
                           : qRgb(i, i, i);
        image.setColorTable(table);
        for (int y = 0; y < picture.height(); ++y) {
            const auto row = picture.row(picture.height() - 1 - y);
            std::copy(row.begin(), row.begin() + picture.width(), image.scanLine(y));
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            return Status::Fail("A picture cannot be written as PNG.");
        out.assign(bytes.begin(), bytes.end());
        return Status::Ok();
    };
    format.m_Decode = [](std::span<const std::uint8_t> bytes, std::string_view name,
                         const GamePalette& palette, IndexedImage& out) {
        const QImage image = QImage::fromData(
            QByteArrayView(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())),
            "PNG");
        if (image.isNull()) return Status::Fail(std::string(name) + ": the file is not a PNG picture.");
        if (image.format() != QImage::Format_Indexed8)
            return Status::Fail(std::string(name) +
                                ": the PNG holds colours, not the 256 palette indices a sprite is made of.");
        IndexedImage picture;
        if (!picture.Create(palette, kPaletteMultiplier, image.width(), image.height(), true))
            return Status::Fail(std::string(name) + ": the picture is larger than " +
                                std::to_string(kMaxPictureSide) + " pixels a side.");
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(y);
            std::copy(line, line + image.width(), picture.row(image.height() - 1 - y).begin());
        }
        out = std::move(picture);
        return Status::Ok();
    };
    return format;
}

void PaintPaletteGrid(QPainter& painter, std::span<const std::uint32_t> colours, const QRect& area) {
    const int side = std::max(1, std::min(area.width(), area.height()) / 16);
    const QPoint origin(area.left() + (area.width() - 16 * side) / 2,
                        area.top() + (area.height() - 16 * side) / 2);
    const int count = static_cast<int>(std::min<std::size_t>(colours.size(), 256));
    for (int i = 0; i < count; ++i)
        painter.fillRect(QRect(origin + QPoint(i % 16 * side, i / 16 * side), QSize(side, side)),
                         QColor(DisplayRgb(colours[static_cast<std::size_t>(i)])));
}

void PaintPreview(QPainter& painter, const ResourcePreview& preview, const QRect& area,
                  const PreviewPaint& how) {
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, kBackground);
    const QString ext = QString::fromStdString(preview.extension());
    const bool sound = ext.compare(".voc", Qt::CaseInsensitive) == 0;
    const bool model = ext.compare(".3do", Qt::CaseInsensitive) == 0;
    const bool failed = !preview.lastMessage();
    if (failed || sound) {
        const QString text =
            failed ? QString::fromStdString(preview.lastMessage().message())
                   : QStringLiteral("Sound: %1").arg(QString::fromStdString(preview.fileName()).toLower());
        if (how.m_bText) PaintText(painter, area, text);
    } else if (model) {
        PaintModel(painter, preview.object3d(), area, how);
    } else {
        PaintPictures(painter, preview.frames(), area, how);
    }
    painter.restore();
}

ResourcePreviewArea::ResourcePreviewArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("preview"));
    setMinimumSize(192, 192);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ResourcePreviewArea::setPreview(ResourcePreview* preview) {
    m_pPreview = preview;
    const bool sound = preview && preview->extension() == ".voc";
    setToolTip(sound ? QStringLiteral("Click to stop the sound.") : QString());
    update();
}

void ResourcePreviewArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_pPreview)
        PaintPreview(painter, *m_pPreview, rect());
    else
        painter.fillRect(rect(), palette().window());
}

void ResourcePreviewArea::mousePressEvent(QMouseEvent* event) {
    if (m_pPreview) m_pPreview->stopSound();
    QWidget::mousePressEvent(event);
}

} // namespace morvi::ui
