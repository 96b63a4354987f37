#include "mapedit/DisplayListPainter.h"

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>

#include <algorithm>
#include <vector>

namespace morvi::ui {

namespace {

QColor ColourOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Replays the list in order. Runs of lines or pixels of one colour and width go to the painter in
// one call each, and a pen is only made when the colour or the width changes: the pixels are those of drawing
// every primitive on its own, but a full map of a large level paints several times faster.
class Replay {
public:
    explicit Replay(QPainter& painter) : m_Painter(painter) {}
    ~Replay() { flush(); }

    void add(const DisplayList& list, const Primitive& p) {
        switch (p.m_Kind) {
        case PrimitiveKind::Line:
            startRun(p);
            m_Lines.emplace_back(p.m_nX1, p.m_nY1, p.m_nX2, p.m_nY2);
            break;
        case PrimitiveKind::Pixel:
            startRun(p);
            m_Points.emplace_back(p.m_nX1, p.m_nY1);
            break;
        case PrimitiveKind::Polygon:
            flush();
            fill(list, p);
            break;
        case PrimitiveKind::Ellipse:
            // The box excludes its right and bottom edges; a one-pixel outline drawn with QPainter
            // covers width + 1 pixels.
            flush();
            usePen(p.m_crColour, 1);
            m_Painter.drawEllipse(p.m_nX1, p.m_nY1, p.m_nX2 - p.m_nX1 - 1, p.m_nY2 - p.m_nY1 - 1);
            break;
        }
    }

private:
    void startRun(const Primitive& p) {
        const int width = p.m_Kind == PrimitiveKind::Line ? std::max<int>(p.m_nWidth, 1) : 1;
        if (m_bRun && p.m_Kind == m_RunKind && p.m_crColour == m_crRun && width == m_nRunWidth) return;
        flush();
        m_bRun = true;
        m_RunKind = p.m_Kind;
        m_crRun = p.m_crColour;
        m_nRunWidth = width;
    }

    void flush() {
        if (!m_bRun) return;
        usePen(m_crRun, m_nRunWidth);
        if (!m_Lines.empty()) m_Painter.drawLines(m_Lines.data(), static_cast<int>(m_Lines.size()));
        if (!m_Points.empty() && !writePointsDirectly())
            m_Painter.drawPoints(m_Points.data(), static_cast<int>(m_Points.size()));
        m_Lines.clear();
        m_Points.clear();
        m_bRun = false;
    }

    // A map's grid is a hundred thousand dots or more. On a plain 32-bit picture, untransformed
    // and unclipped, an opaque one-pixel dot is just that pixel: writing it is several times
    // faster than the painter's point stroker, with the same result.
    bool writePointsDirectly() {
        QPaintDevice* device = m_Painter.device();
        if (device == nullptr || device->devType() != QInternal::Image) return false;
        auto* image = static_cast<QImage*>(device);
        if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32 &&
            image->format() != QImage::Format_ARGB32_Premultiplied)
            return false;
        if (!m_Painter.deviceTransform().isIdentity() || m_Painter.hasClipping() ||
            m_Painter.compositionMode() != QPainter::CompositionMode_SourceOver || m_Painter.opacity() < 1.0)
            return false;
        // The painter already holds the picture's own (detached) pixels; writing through the
        // constant pointer keeps it from detaching again.
        auto* bits = const_cast<uchar*>(image->constBits());
        const qsizetype stride = image->bytesPerLine();
        const QRgb colour = ColourOf(m_crRun).rgb();
        const int width = image->width();
        const int height = image->height();
        for (const QPoint& point : m_Points) {
            if (point.x() < 0 || point.y() < 0 || point.x() >= width || point.y() >= height) continue;
            reinterpret_cast<QRgb*>(bits + point.y() * stride)[point.x()] = colour;
        }
        return true;
    }

    // Pens are cosmetic: a width in device pixels at any scale. A one-pixel pen leaves a line's
    // end point out; a wider one has square caps, so that the lines of an outline meet at corners.
    void usePen(std::uint32_t colour, int width) {
        if (m_bPen && m_crPen == colour && m_nPenWidth == width) return;
        QPen pen(ColourOf(colour));
        if (width > 1) {
            pen.setWidth(width);
            pen.setCosmetic(true);
            pen.setCapStyle(Qt::SquareCap);
        } else {
            pen.setWidth(0);
        }
        m_Painter.setPen(pen);
        m_Painter.setBrush(Qt::NoBrush);
        m_bPen = true;
        m_crPen = colour;
        m_nPenWidth = width;
    }

    void fill(const DisplayList& list, const Primitive& p) {
        QPolygon polygon;
        for (const ScreenPoint& point : list.points(p))
            polygon << QPoint(point.x, point.y);
        m_Painter.setPen(Qt::NoPen);
        m_Painter.setBrush(ColourOf(p.m_crColour));
        m_Painter.drawPolygon(polygon, Qt::OddEvenFill);
        m_bPen = false;
    }

    QPainter& m_Painter;
    std::vector<QLine> m_Lines;
    std::vector<QPoint> m_Points;
    bool m_bRun = false;
    PrimitiveKind m_RunKind = PrimitiveKind::Line;
    std::uint32_t m_crRun = 0;
    int m_nRunWidth = 1;
    bool m_bPen = false;
    std::uint32_t m_crPen = 0;
    int m_nPenWidth = 1;
};

} // namespace

void PaintDisplayList(QPainter& painter, const DisplayList& list) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    {
        Replay replay(painter);
        for (const Primitive& p : list.primitives())
            replay.add(list, p);
    }
    painter.restore();
}

} // namespace morvi::ui
