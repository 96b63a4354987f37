#include "PngImage.h"

#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

namespace morvi::cli {

namespace {

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QList<QRgb> ColourTable(const IndexedImage& image) {
    QList<QRgb> table;
    table.reserve(static_cast<qsizetype>(kPaletteEntries));
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        if (!image.hasDisplayColours()) {
            table.push_back(qRgb(static_cast<int>(i), static_cast<int>(i), static_cast<int>(i)));
            continue;
        }
        const std::uint32_t c = image.displayColours()[i]; // 0x00BBGGRR
        table.push_back(qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                             static_cast<int>((c >> 16) & 0xFF)));
    }
    return table;
}

} // namespace

Status WritePng(const IndexedImage& image, const std::filesystem::path& path) {
    if (image.width() < 1 || image.height() < 1)
        return Status::Fail(path.string() + ": the picture has no pixels.");
    QImage out(image.width(), image.height(), QImage::Format_Indexed8);
    if (out.isNull()) return Status::Fail(path.string() + ": not enough memory for the picture.");
    out.setColorTable(ColourTable(image));
    // Our rows run bottom-up, a PNG's top-down.
    for (int y = 0; y < image.height(); ++y) {
        const auto row = image.row(image.height() - 1 - y);
        std::copy(row.begin(), row.end(), out.scanLine(y));
    }
    QImageWriter writer(ToQString(path), "png");
    if (!writer.write(out)) return Status::Fail(path.string() + ": " + writer.errorString().toStdString());
    return Status::Ok();
}

Status ReadPng(const std::filesystem::path& path, IndexedImage& out) {
    QImageReader reader(ToQString(path), "png");
    QImage in = reader.read();
    if (in.isNull()) return Status::Fail(path.string() + ": " + reader.errorString().toStdString());
    if (in.format() == QImage::Format_Mono || in.format() == QImage::Format_MonoLSB)
        in = in.convertToFormat(QImage::Format_Indexed8);
    if (in.format() != QImage::Format_Indexed8)
        return Status::Fail(path.string() +
                            ": not a palettized picture (only 8-bit palette indices convert).");
    if (in.width() > kMaxPictureSide || in.height() > kMaxPictureSide)
        return Status::Fail(path.string() + ": the picture is larger than 4096 pixels a side.");
    IndexedImage image;
    if (!image.Create(GamePalette(), kPaletteMultiplier, in.width(), in.height(), false))
        return Status::Fail(path.string() + ": the picture cannot be made.");
    for (int y = 0; y < in.height(); ++y) {
        const uchar* line = in.constScanLine(y);
        auto row = image.row(in.height() - 1 - y);
        std::copy(line, line + in.width(), row.begin());
    }
    out = std::move(image);
    return Status::Ok();
}

} // namespace morvi::cli
