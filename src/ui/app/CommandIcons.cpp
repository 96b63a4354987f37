#include "app/CommandIcons.h"

#include "app/CommandTable.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>

namespace morvi::ui {

namespace {

const QColor kInk(40, 40, 48);
const QColor kPaper(250, 250, 245);
const QColor kBlue(40, 110, 200);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 40);
const QColor kGold(215, 160, 30);

// Every picture is drawn on a 16 x 16 canvas; the engine scales it to the requested size.
class Canvas {
public:
    explicit Canvas(QPainter& p) : m_P(p) {}
    void Pen(const QColor& c, double width = 1.2) {
        m_P.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    void NoPen() { m_P.setPen(Qt::NoPen); }
    void Fill(const QColor& c) { m_P.setBrush(c); }
    void NoFill() { m_P.setBrush(Qt::NoBrush); }
    void Line(double x1, double y1, double x2, double y2) { m_P.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }
    void Rect(double x, double y, double w, double h) { m_P.drawRect(QRectF(x, y, w, h)); }
    void Ellipse(double cx, double cy, double rx, double ry) { m_P.drawEllipse(QPointF(cx, cy), rx, ry); }
    void Poly(std::initializer_list<QPointF> points) { m_P.drawPolygon(QPolygonF(QList<QPointF>(points))); }
    void Polyline(std::initializer_list<QPointF> points) {
        m_P.drawPolyline(QPolygonF(QList<QPointF>(points)));
    }
    // Text filled in the pen's colour, as large as fits the rectangle.
    void Text(const QRectF& r, const QString& text) {
        QFont font;
        font.setPixelSize(100);
        font.setBold(true);
        QPainterPath path;
        path.addText(0, 0, font, text);
        const QRectF box = path.boundingRect();
        const double scale = std::min(r.width() / box.width(), r.height() / box.height());
        m_P.save();
        m_P.translate(r.center());
        m_P.scale(scale, scale);
        m_P.translate(-box.center());
        m_P.setBrush(m_P.pen().color());
        m_P.setPen(Qt::NoPen);
        m_P.drawPath(path);
        m_P.restore();
    }
    // An arrow head at (x, y) pointing along (dx, dy).
    void Arrow(double x, double y, double dx, double dy) {
        const double nx = -dy, ny = dx;
        Poly({{x, y},
              {x - 2.5 * dx + 1.8 * nx, y - 2.5 * dy + 1.8 * ny},
              {x - 2.5 * dx - 1.8 * nx, y - 2.5 * dy - 1.8 * ny}});
    }

private:
    QPainter& m_P;
};

void Page(Canvas& c) {
    c.Pen(kInk);
    c.Fill(kPaper);
    c.Poly({{3, 1.5}, {10, 1.5}, {13, 4.5}, {13, 14.5}, {3, 14.5}});
    c.NoFill();
    c.Polyline({{10, 1.5}, {10, 4.5}, {13, 4.5}});
}

void LabelledPage(Canvas& c, const char* label, const QColor& colour) {
    Page(c);
    c.Pen(colour);
    c.Text(QRectF(4, 6.5, 8, 6), label);
}

void Magnifier(Canvas& c) {
    c.Pen(kInk, 1.4);
    c.Fill(kPaper);
    c.Ellipse(6.5, 6.5, 4.5, 4.5);
    c.Pen(kInk, 2.2);
    c.Line(10, 10, 14.5, 14.5);
}

void Grid(Canvas& c, double step) {
    c.Pen(kBlue, 0.8);
    for (double v = 2; v <= 14.01; v += step) {
        c.Line(v, 2, v, 14);
        c.Line(2, v, 14, v);
    }
}

// A sector outline: the shape most map commands act on.
void Room(Canvas& c, const QColor& colour) {
    c.Pen(colour, 1.4);
    c.NoFill();
    c.Poly({{2, 4}, {9, 2}, {14, 6}, {12, 14}, {3, 12}});
}

void Layers(Canvas& c) {
    c.Pen(kInk);
    c.Fill(kPaper);
    c.Poly({{1.5, 10}, {8, 13}, {14.5, 10}, {8, 7}});
    c.Fill(QColor(200, 220, 245));
    c.Poly({{1.5, 7}, {8, 10}, {14.5, 7}, {8, 4}});
}

void Draw(QPainter& painter, int id) {
    Canvas c(painter);
    switch (id) {
    case cmd::kNew:
        Page(c);
        break;
    case cmd::kOpen:
        c.Pen(kInk);
        c.Fill(kGold);
        c.Poly({{1.5, 4}, {6, 4}, {7.5, 5.5}, {13, 5.5}, {13, 13.5}, {1.5, 13.5}});
        c.Fill(QColor(245, 205, 90));
        c.Poly({{3.5, 8}, {15, 8}, {13, 13.5}, {1.5, 13.5}});
        break;
    case cmd::kSave:
        c.Pen(kInk);
        c.Fill(kBlue);
        c.Rect(2, 2, 12, 12);
        c.Fill(kPaper);
        c.Rect(4.5, 2, 7, 5);
        c.Rect(4, 9.5, 8, 4.5);
        break;
    case cmd::kPrint:
        c.Pen(kInk);
        c.Fill(kPaper);
        c.Rect(4, 1.5, 8, 5);
        c.Fill(QColor(170, 170, 175));
        c.Rect(1.5, 6.5, 13, 6);
        c.Fill(kPaper);
        c.Rect(4, 10.5, 8, 4);
        break;
    case cmd::kContextHelp:
    case cmd::kHelpTopics:
        c.Pen(kBlue, 1.6);
        c.NoFill();
        c.Ellipse(8, 8, 6.2, 6.2);
        c.Pen(kBlue, 1.5);
        c.Text(QRectF(2, 2, 12, 12), "?");
        break;
    case cmd::kCut:
        c.Pen(kInk, 1.3);
        c.NoFill();
        c.Ellipse(4.5, 12, 2.3, 2.3);
        c.Ellipse(11.5, 12, 2.3, 2.3);
        c.Line(5.8, 10.2, 11, 1.5);
        c.Line(10.2, 10.2, 5, 1.5);
        break;
    case cmd::kCopy:
        c.Pen(kInk);
        c.Fill(kPaper);
        c.Rect(1.5, 1.5, 8, 10);
        c.Rect(6.5, 4.5, 8, 10);
        break;
    case cmd::kPaste:
        c.Pen(kInk);
        c.Fill(kGold);
        c.Rect(2, 2.5, 9, 12);
        c.Fill(kPaper);
        c.Rect(7, 6.5, 7.5, 8);
        c.Fill(QColor(170, 170, 175));
        c.Rect(4.5, 1, 4, 3);
        break;
    case cmd::kLink:
    case cmd::kUnlink:
        c.Pen(id == cmd::kLink ? kGreen : kRed, 1.6);
        c.NoFill();
        c.Poly({{1.5, 3}, {7, 3}, {7, 13}, {1.5, 13}});
        c.Poly({{9, 3}, {14.5, 3}, {14.5, 13}, {9, 13}});
        c.Pen(id == cmd::kLink ? kGreen : kRed, 2.4);
        if (id == cmd::kLink)
            c.Line(7, 8, 9, 8);
        else {
            c.Line(6.5, 6, 9.5, 10);
            c.Line(9.5, 6, 6.5, 10);
        }
        break;
    case cmd::kPerspective:
        c.Pen(kInk);
        c.Fill(QColor(200, 220, 245));
        c.Poly({{1.5, 1.5}, {5.5, 5}, {5.5, 11}, {1.5, 14.5}});
        c.Poly({{14.5, 1.5}, {10.5, 5}, {10.5, 11}, {14.5, 14.5}});
        c.Fill(QColor(120, 120, 130));
        c.Poly({{1.5, 14.5}, {5.5, 11}, {10.5, 11}, {14.5, 14.5}});
        break;
    case cmd::kSector:
        c.Fill(QColor(200, 220, 245));
        c.Pen(kBlue, 1.4);
        c.Poly({{2, 4}, {9, 2}, {14, 6}, {12, 14}, {3, 12}});
        break;
    case cmd::kWall:
        Room(c, QColor(150, 150, 155));
        c.Pen(kRed, 2.4);
        c.Line(14, 6, 12, 14);
        break;
    case cmd::kVertex:
        Room(c, QColor(150, 150, 155));
        c.Pen(kRed, 1.2);
        c.Fill(kRed);
        c.Ellipse(9, 2.5, 1.8, 1.8);
        c.Ellipse(3, 12, 1.8, 1.8);
        break;
    case cmd::kObject:
        c.Pen(kInk);
        c.Fill(kGreen);
        c.Ellipse(8, 8, 5, 5);
        c.Pen(kPaper, 1.6);
        c.Line(8, 8, 8, 3.5);
        break;
    case cmd::kInfEditor:
        LabelledPage(c, "INF", kRed);
        break;
    case cmd::kGolEditor:
        LabelledPage(c, "GOL", kGreen);
        break;
    case cmd::kLvlEditor:
        LabelledPage(c, "LVL", kBlue);
        break;
    case cmd::kMsgEditor:
        LabelledPage(c, "MSG", kInk);
        break;
    case cmd::kAuxEditor:
        LabelledPage(c, "AUX", kGold);
        break;
    case cmd::kLfdManager:
    case cmd::kGobManager:
    case cmd::kFilmManager:
        c.Pen(kInk);
        c.Fill(id == cmd::kGobManager ? kGold : id == cmd::kLfdManager ? kBlue : kRed);
        c.Rect(1.5, 4, 13, 10);
        c.Fill(kPaper);
        c.Rect(3, 2, 10, 3);
        c.Pen(kPaper);
        c.Text(QRectF(1.5, 5.5, 13, 8), id == cmd::kGobManager   ? "GOB"
                                        : id == cmd::kLfdManager ? "LFD"
                                                                 : "FLM");
        break;
    case cmd::kZoomIn:
    case cmd::kZoomOut:
        Magnifier(c);
        c.Pen(kInk, 1.4);
        c.Line(4.3, 6.5, 8.7, 6.5);
        if (id == cmd::kZoomIn) c.Line(6.5, 4.3, 6.5, 8.7);
        break;
    case cmd::kZoomNormalize:
        Magnifier(c);
        c.Pen(kBlue, 1.2);
        c.NoFill();
        c.Rect(4.2, 4.2, 4.6, 4.6);
        break;
    case cmd::kGridZoomIn:
        Grid(c, 3);
        break;
    case cmd::kGridZoomOut:
        Grid(c, 6);
        break;
    case cmd::kGridOn:
        Grid(c, 4);
        c.Pen(kRed);
        c.Fill(kRed);
        c.Ellipse(10, 6, 1.6, 1.6);
        break;
    case cmd::kLayerUp:
    case cmd::kLayerDown:
        Layers(c);
        c.Pen(kRed, 1.6);
        c.Fill(kRed);
        if (id == cmd::kLayerUp) {
            c.Line(13, 5, 13, 1.8);
            c.Arrow(13, 0.8, 0, -1);
        } else {
            c.Line(13, 10.5, 13, 14);
            c.Arrow(13, 15.2, 0, 1);
        }
        break;
    case cmd::kAllLayers:
        Layers(c);
        c.Pen(kInk);
        c.Fill(QColor(245, 225, 170));
        c.Poly({{1.5, 4}, {8, 7}, {14.5, 4}, {8, 1}});
        break;
    case cmd::kProperties:
        c.Pen(kInk);
        c.Fill(kPaper);
        c.Rect(2, 1.5, 12, 13);
        c.Pen(kBlue, 1.2);
        for (double y : {5.0, 8.0, 11.0})
            c.Line(4.5, y, 11.5, y);
        break;
    case cmd::kFindSector:
        Room(c, kBlue);
        c.Pen(kInk, 1.3);
        c.Fill(kPaper);
        c.Ellipse(7, 7, 3, 3);
        c.Pen(kInk, 2);
        c.Line(9.2, 9.2, 13, 13);
        break;
    case cmd::kFlipLeft:
    case cmd::kFlipTop: {
        const bool left = id == cmd::kFlipLeft;
        c.Pen(kInk, 0.9);
        if (left)
            c.Line(8, 1, 8, 15);
        else
            c.Line(1, 8, 15, 8);
        c.Pen(kBlue, 1.2);
        c.Fill(QColor(200, 220, 245));
        if (left) {
            c.Poly({{2, 12}, {6.5, 12}, {6.5, 4}});
            c.NoFill();
            c.Poly({{14, 12}, {9.5, 12}, {9.5, 4}});
        } else {
            c.Poly({{4, 2}, {4, 6.5}, {12, 6.5}});
            c.NoFill();
            c.Poly({{4, 14}, {4, 9.5}, {12, 9.5}});
        }
        break;
    }
    case cmd::kRotateRight:
    case cmd::kRotateLeft: {
        const bool right = id == cmd::kRotateRight;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(2.5, 2.5, 11, 11), right ? 160 : 20);
        arc.arcTo(QRectF(2.5, 2.5, 11, 11), right ? 160 : 20, right ? -250 : 250);
        painter.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arc);
        c.Fill(kBlue);
        c.NoPen();
        const QPointF end = arc.currentPosition();
        c.Arrow(end.x() + (right ? -0.8 : 0.8), end.y() + 1.2, right ? -0.6 : 0.6, 0.8);
        break;
    }
    case cmd::kFlipRotate:
        Room(c, kBlue);
        c.Pen(kRed, 1.4);
        c.NoFill();
        painter.drawArc(QRectF(4, 4, 8, 8), 30 * 16, 250 * 16);
        break;
    case cmd::kChangeTool:
        c.NoPen();
        c.Fill(QColor(70, 70, 200));
        c.Rect(2, 2, 6, 6);
        c.Fill(QColor(200, 70, 70));
        c.Rect(8, 2, 6, 6);
        c.Fill(QColor(70, 170, 70));
        c.Rect(2, 8, 6, 6);
        c.Fill(kGold);
        c.Rect(8, 8, 6, 6);
        break;
    case cmd::kCreateDoor:
        c.Pen(kInk);
        c.Fill(QColor(160, 110, 60));
        c.Rect(4, 1.5, 8, 13);
        c.Fill(kGold);
        c.Ellipse(10, 8.5, 0.9, 0.9);
        break;
    case cmd::kCreateStaircase:
        c.Pen(kInk);
        c.Fill(QColor(190, 190, 195));
        c.Poly({{1.5, 14.5},
                {1.5, 11},
                {5, 11},
                {5, 7.5},
                {8.5, 7.5},
                {8.5, 4},
                {12, 4},
                {12, 1.5},
                {14.5, 1.5},
                {14.5, 14.5}});
        break;
    case cmd::kCreateElevator:
        c.Pen(kInk);
        c.Fill(QColor(190, 190, 195));
        c.Rect(3, 1.5, 10, 13);
        c.Pen(kRed, 1.4);
        c.Fill(kRed);
        c.Line(8, 4.5, 8, 11.5);
        c.Arrow(8, 3.2, 0, -1);
        c.Arrow(8, 12.8, 0, 1);
        break;
    case cmd::kCreateCylinder:
        c.Pen(kBlue, 1.3);
        c.Fill(QColor(200, 220, 245));
        {
            QPainterPath ring;
            ring.addEllipse(QPointF(8, 8), 6.5, 6.5);
            ring.addEllipse(QPointF(8, 8), 3, 3);
            painter.drawPath(ring);
        }
        break;
    case cmd::kStatistics:
        c.NoPen();
        c.Fill(kBlue);
        c.Rect(2, 9, 3, 5.5);
        c.Fill(kGreen);
        c.Rect(6.5, 4, 3, 10.5);
        c.Fill(kRed);
        c.Rect(11, 6.5, 3, 8);
        break;
    default:
        break;
    }
}

class CommandIconEngine : public QIconEngine {
public:
    explicit CommandIconEngine(int id) : m_nId(id) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled) painter->setOpacity(0.35);
        Draw(*painter, m_nId);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new CommandIconEngine(m_nId); }

private:
    int m_nId;
};

// The program icon's picture: three rooms joined by two doors, on a dark map.
class ApplicationIconEngine : public CommandIconEngine {
public:
    ApplicationIconEngine() : CommandIconEngine(0) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        PaintProgramIcon(*painter, rect);
    }
    QIconEngine* clone() const override { return new ApplicationIconEngine(); }
};

} // namespace

QIcon CommandIcon(int commandId) {
    return QIcon(new CommandIconEngine(commandId));
}

void PaintProgramIcon(QPainter& painter, const QRectF& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 16.0, rect.height() / 16.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 32, 48));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
    // Three sectors sharing walls: a room, a corridor and a hall, the shared walls in red.
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
    painter.restore();
}

QIcon ApplicationIcon() {
    return QIcon(new ApplicationIconEngine());
}

} // namespace morvi::ui
