#include "mapedit/CMorviView.h"

#include "app/CommandIds.h"
#include "app/MorviDocument.h"
#include "mapedit/MapPrinter.h"
#include "support/WidgetTestSupport.h"

#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace morvi::ui {

namespace {

using testing::LevelTexts;
using Point = std::pair<double, double>;
using Positions = std::vector<std::vector<Point>>;

// The drag in every test: three grid steps right and two up at one pixel per world unit.
constexpr QPoint kDragBy{48, -32};

// A view over the sample document, 800 x 600.
struct SampleView {
    MorviDocument document;
    std::unique_ptr<CMorviView> view;

    bool open(const QString& path = testing::SampleDocumentPath()) {
        if (!document.open(path, {})) return false;
        view = std::make_unique<CMorviView>(document);
        view->resize(800, 600);
        return true;
    }
    bool show() {
        view->show();
        return QTest::qWaitForWindowExposed(view.get());
    }
    CMorviDoc& doc() { return document.doc(); }
    CDataLevel& level() { return document.level(); }
    const MapViewport& viewport() { return view->engine().viewport(); }
    QPoint pixel(Point at) {
        const ScreenPoint p = viewport().WorldToScreen(at.first, at.second);
        return {p.x, p.y};
    }
    // Zoom 6 is one pixel per world unit; grid level 4 is a step of 16.
    void onePixelPerUnit(Point centre) {
        doc().m_nZoom = 6;
        doc().m_nGridLevel = 4;
        doc().m_bGridOn = 1;
        document.updateAllViews(kHintZoom);
        view->engine().viewport().CenterOn(std::round(centre.first), std::round(centre.second));
        document.updateAllViews(kHintOther);
        view->viewport()->repaint();
    }
};

Positions VertexPositions(const CDataLevel& level) {
    Positions positions;
    for (const auto& sector : level.m_Lev.m_pSectors) {
        positions.emplace_back();
        for (const auto& v : sector->m_pVertices)
            positions.back().emplace_back(v->m_dX, v->m_dZ);
    }
    return positions;
}

// What the view's state looks like from outside, to see that an export or a print put it back.
std::tuple<int, int, double, double, ClientRect, double> StateOf(CMapEngine& engine) {
    const CMorviDoc& doc = engine.document();
    return {doc.m_nZoom,
            doc.m_nGridLevel,
            doc.m_dScrollX,
            doc.m_dScrollZ,
            engine.viewport().m_rcClient,
            engine.viewport().m_dScale};
}

QRgb RgbOf(std::uint32_t bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace

class MapViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    // A plain GOB carries no map state of ours: the first showing fits the level and says once
    // that the game paths are missing.
    void firstShowingFitsTheLevelAndAsksForThePathsOnce() {
        SampleView s;
        QVERIFY(s.open(testing::SampleGobPath()));
        QSignalSpy missing(s.view.get(), &CMorviView::pathsMissing);
        QVERIFY(s.show());
        QTRY_COMPARE(missing.count(), 1);
        for (const auto& sector : s.level().m_Lev.m_pSectors)
            for (const auto& v : sector->m_pVertices)
                QVERIFY(s.view->viewport()->rect().contains(s.pixel({v->m_dX, v->m_dZ})));
        s.view->hide();
        s.view->show();
        QTest::qWait(20);
        QCOMPARE(missing.count(), 1);
    }

    void dragMovesWhatItGrabsByTheSnappedOffset_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("waitMs");
        QTest::newRow("sector") << cmd::kSector << 300;
        QTest::newRow("wall") << cmd::kWall << 300;
        QTest::newRow("vertex") << cmd::kVertex << 300;
        QTest::newRow("quick click and move") << cmd::kSector << 0;
    }

    // The release moves the grabbed item, and every vertex lying on one of its vertices, by the
    // cursor's offset corrected so that the first moved point lands on the grid: one undo step.
    // A move before the drag delay only selects.
    void dragMovesWhatItGrabsByTheSnappedOffset() {
        QFETCH(int, mode);
        QFETCH(int, waitMs);
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.view->runCommand(mode);
        auto& sectors = s.level().m_Lev.m_pSectors;
        const CDataSector* room = nullptr; // the first four-walled room of the current layer
        for (const auto& sector : sectors)
            if (!room && sector->m_nLayer == s.doc().m_nCurrentLayer && sector->m_pWalls.size() == 4)
                room = sector.get();
        QVERIFY(room);
        const auto corner = [&](int wall) {
            const CDataVertex& v = *room->m_pVertices[room->m_pWalls[wall]->m_nLeft];
            return Point{v.m_dX, v.m_dZ};
        };
        const auto half = [](Point p, Point q) {
            return Point{(p.first + q.first) / 2, (p.second + q.second) / 2};
        };
        const Point grab = mode == cmd::kSector ? half(corner(0), corner(2))
                           : mode == cmd::kWall ? half(corner(0), corner(1))
                                                : corner(0);
        s.onePixelPerUnit(grab);
        const Positions before = VertexPositions(s.level());
        const QString texts = LevelTexts(s.level());
        // Press, let the drag delay pass (or not), move in two steps, release.
        QWidget* viewport = s.view->viewport();
        const QPoint from = s.pixel(grab);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        if (waitMs > 0) QTest::qWait(waitMs);
        QTest::mouseMove(viewport, from + kDragBy / 2);
        QTest::mouseMove(viewport, from + kDragBy);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + kDragBy);

        QCOMPARE(s.view->engine().selection().size(), std::size_t{1});
        const CMapSelItem picked = s.view->engine().selection()[0];
        std::vector<Point> moving{grab};
        if (mode == cmd::kSector) {
            moving = before[picked.m_nSector];
            std::swap(moving.front(), moving[sectors[picked.m_nSector]->m_pWalls[0]->m_nLeft]);
        } else if (mode == cmd::kWall) {
            const CDataWall& wall = *sectors[picked.m_nSector]->m_pWalls[picked.m_nWall];
            moving = {before[picked.m_nSector][wall.m_nLeft], before[picked.m_nSector][wall.m_nRight]};
        }
        const Point first = moving.front();
        const double dx = waitMs ? 48 - std::fmod(first.first + 48, 16.0) : 0;
        const double dz = waitMs ? 32 - std::fmod(first.second + 32, 16.0) : 0;
        QVERIFY(!waitMs || dx != 0 || dz != 0);
        const Positions after = VertexPositions(s.level());
        for (std::size_t i = 0; i < before.size(); ++i)
            for (std::size_t v = 0; v < before[i].size(); ++v) {
                const bool moves = std::find(moving.begin(), moving.end(), before[i][v]) != moving.end();
                const Point& was = before[i][v];
                const Point shifted(was.first + dx, was.second + dz);
                // A wall takes its mirror's ends along; other sectors meeting it at a corner stay.
                const bool either = mode == cmd::kWall && moves && static_cast<int>(i) != picked.m_nSector;
                QVERIFY2(either ? after[i][v] == was || after[i][v] == shifted
                                : after[i][v] == (moves ? shifted : was),
                         qPrintable(QString("sector %1 vertex %2").arg(i).arg(v)));
            }
        QCOMPARE(s.document.history().UndoCount(), std::size_t{waitMs ? 1u : 0u});
        if (!waitMs) QCOMPARE(LevelTexts(s.level()), texts);
    }

    // The wheel zooms about the cursor; the middle button drags the map; neither is a change.
    void wheelZoomsAboutTheCursorAndTheMiddleButtonPans() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        const QPoint at(200, 120);
        const double x = s.viewport().ScreenToWorldX(at.x()), z = s.viewport().ScreenToWorldZ(at.y());
        const int zoom = s.doc().m_nZoom;
        QWidget* viewport = s.view->viewport();
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QCOMPARE(s.doc().m_nZoom, zoom + 1);
        QVERIFY(std::abs(s.viewport().ScreenToWorldX(at.x()) - x) < 1e-6);
        QVERIFY(std::abs(s.viewport().ScreenToWorldZ(at.y()) - z) < 1e-6);

        const QPoint to = at + QPoint(30, 20);
        QTest::mousePress(viewport, Qt::MiddleButton, Qt::NoModifier, at);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(to), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::MiddleButton, Qt::NoModifier, to);
        QVERIFY(std::abs(s.viewport().ScreenToWorldX(to.x()) - x) < 1e-6);
        QVERIFY(std::abs(s.viewport().ScreenToWorldZ(to.y()) - z) < 1e-6);
        QVERIFY(!s.document.history().CanUndo());
        QVERIFY(!s.document.isModified());
    }

    // PNG, SVG and print each lay the map out on their own and give the view its state back; a
    // refused export names the file or the reason and leaves no file, not even a temporary one.
    void exportAndPrint() {
        MorviDocument document;
        QVERIFY(document.open(testing::SampleDocumentPath(), {}));
        Settings settings;
        CMapEngine engine(document.doc(), settings);
        document.doc().m_nZoom = 3;
        document.doc().m_dScrollX = 512;
        document.doc().m_nCurrentLayer = document.level().m_Lev.m_pSectors.front()->m_nLayer;
        engine.viewport().RecalcLayout(ScreenMapDevice(), ClientRect{0, 0, 640, 480});
        const auto before = StateOf(engine);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("map.pdf"));
        QString error;
        QVERIFY2(ExportMapImage(engine, dir.filePath("map.png"), QSize(800, 600), &error) &&
                     ExportMapImage(engine, dir.filePath("map.svg"), QSize(640, 480), &error),
                 qPrintable(error));
        QVERIFY(PrintMap(engine, printer));
        QVERIFY(StateOf(engine) == before);

        // The image: the walls on black, without the grid.
        const QImage image(dir.filePath("map.png"));
        QCOMPARE(image.size(), QSize(800, 600));
        int black = 0, grid = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                black += (image.pixel(x, y) & 0xFFFFFF) == 0;
                grid += (image.pixel(x, y) | 0xFF000000) == RgbOf(MapColour::kGridDot);
            }
        QVERIFY2(black > 800 * 600 / 4 && black < 800 * 600 - 500, qPrintable(QString::number(black)));
        QCOMPARE(grid, 0);
        const QByteArray drawing = testing::FileBytes(dir.filePath("map.svg"));
        QVERIFY(drawing.contains("<svg") && drawing.count("<polyline") + drawing.count("<line") > 10);
        QVERIFY(testing::FileBytes(dir.filePath("map.pdf")).startsWith("%PDF-"));

        const QString locked = dir.filePath("locked");
        QVERIFY(QDir().mkpath(locked));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const struct {
            QString path;
            QSize size;
            QString said;
        } refused[] = {{dir.filePath("map.bmp"), {320, 240}, ".svg"},
                       {dir.filePath("huge.png"), {100000, 100000}, "100000"},
                       {locked + "/map.svg", {320, 240}, locked + "/map.svg"}};
        {
            const testing::WithoutFileAdminRights ordinaryUser;
            for (const auto& r : refused) {
                QVERIFY2(!ExportMapImage(engine, r.path, r.size, &error), qPrintable(r.path));
                QVERIFY2(error.contains(r.said), qPrintable(error));
                QVERIFY(!QFile::exists(r.path));
            }
        }
        QFile::setPermissions(locked,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(QDir(locked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        printer.setOutputFileName(dir.filePath("no such folder/map.pdf"));
        QVERIFY(!PrintMap(engine, printer));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::MapViewTest)
#include "MapViewTest.moc"
