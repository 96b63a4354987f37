#include "mapedit/DisplayListPainter.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>

namespace morvi::ui {

namespace {

QColor ColourOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void UsePen(QPainter& painter, std::uint32_t colour) {
    QPen pen(ColourOf(colour));
    pen.setWidth(0); // cosmetic: one pixel at any scale
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
}

} // namespace

void PaintDisplayList(QPainter& painter, const DisplayList& list) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Primitive& p : list.primitives()) {
        switch (p.m_Kind) {
        case PrimitiveKind::Line:
            UsePen(painter, p.m_crColour);
            painter.drawLine(p.m_nX1, p.m_nY1, p.m_nX2, p.m_nY2);
            break;
        case PrimitiveKind::Pixel:
            UsePen(painter, p.m_crColour);
            painter.drawPoint(p.m_nX1, p.m_nY1);
            break;
        case PrimitiveKind::Polygon: {
            QPolygon polygon;
            for (const ScreenPoint& point : list.points(p))
                polygon << QPoint(point.x, point.y);
            painter.setPen(Qt::NoPen);
            painter.setBrush(ColourOf(p.m_crColour));
            painter.drawPolygon(polygon, Qt::OddEvenFill);
            break;
        }
        case PrimitiveKind::Ellipse:
            // The box excludes its right and bottom edges; a one-pixel outline drawn with QPainter
            // covers width + 1 pixels.
            UsePen(painter, p.m_crColour);
            painter.drawEllipse(p.m_nX1, p.m_nY1, p.m_nX2 - p.m_nX1 - 1, p.m_nY2 - p.m_nY1 - 1);
            break;
        }
    }
    painter.restore();
}

} // namespace morvi::ui
