#include "mapedit/CMorviView.h"

#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/MorviDocument.h"
#include "support/WidgetTestSupport.h"

#include <QFocusEvent>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace morvi::ui {

namespace {

using testing::LevelTexts;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// The drag in every test: three grid steps right and two up at one pixel per world unit.
constexpr QPoint kDragBy{48, -32};
constexpr double kDragX = 48;
constexpr double kDragZ = 32;

// A view over the sample document; shown by show() so that tests can listen to its first showing.
struct SampleView {
    MorviDocument document;
    std::unique_ptr<CMorviView> view;

    bool open(const QString& path = testing::SampleDocumentPath()) {
        if (!document.open(path, {})) return false;
        view = std::make_unique<CMorviView>(document);
        view->resize(kWidth, kHeight);
        return true;
    }
    bool show() {
        view->show();
        return QTest::qWaitForWindowExposed(view.get());
    }
    CMorviDoc& doc() { return document.doc(); }
    CDataLevel& level() { return document.level(); }
    CMapEngine& engine() { return view->engine(); }
    QWidget* viewport() { return view->viewport(); }

    // Zoom 6 on the default device is one pixel per world unit; grid level 4 is a step of 16.
    void onePixelPerUnit(double centreX, double centreZ) {
        doc().m_nZoom = 6;
        doc().m_nGridLevel = 4;
        doc().m_bGridOn = 1;
        document.updateAllViews(kHintZoom);
        engine().viewport().CenterOn(std::round(centreX), std::round(centreZ));
        document.updateAllViews(kHintOther);
        view->viewport()->repaint();
    }
    QPoint pixel(double x, double z) {
        const ScreenPoint p = engine().viewport().WorldToScreen(x, z);
        return {p.x, p.y};
    }
};

using Positions = std::vector<std::vector<std::pair<double, double>>>;

Positions VertexPositions(const CDataLevel& level) {
    Positions positions;
    for (const auto& sector : level.m_Lev.m_pSectors) {
        positions.emplace_back();
        for (const auto& v : sector->m_pVertices)
            positions.back().emplace_back(v->m_dX, v->m_dZ);
    }
    return positions;
}

const CDataVertex& VertexOf(const CDataLevel& level, int sector, int vertex) {
    return *level.m_Lev.m_pSectors[static_cast<std::size_t>(sector)]
                ->m_pVertices[static_cast<std::size_t>(vertex)];
}

// The move the release applies: the cursor's offset, corrected so that the first moved point lands
// on the 16-unit grid.
std::pair<double, double> SnappedMove(double x0, double z0) {
    return {kDragX - std::fmod(x0 + kDragX, 16.0), kDragZ - std::fmod(z0 + kDragZ, 16.0)};
}

// Press, optionally let the drag delay pass, move in two steps, release.
void Drag(QWidget* viewport, QPoint from, QPoint by, int waitMs) {
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    if (waitMs > 0) QTest::qWait(waitMs);
    QTest::mouseMove(viewport, from + by / 2);
    QTest::mouseMove(viewport, from + by);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + by);
}

int FirstRoom(const CMorviDoc& doc) {
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        if (sectors[s]->m_nLayer == doc.m_nCurrentLayer && sectors[s]->m_pWalls.size() == 4)
            return static_cast<int>(s);
    return -1;
}

std::pair<double, double> Centroid(const CDataSector& sector) {
    double x = 0, z = 0;
    for (const auto& v : sector.m_pVertices)
        x += v->m_dX, z += v->m_dZ;
    const double n = static_cast<double>(sector.m_pVertices.size());
    return {x / n, z / n};
}

bool IsPlainSector(const CDataLevel& level, const CDataSector& sector) {
    return (sector.m_nFlags1 & (kSectorDoor | kSectorSecret)) == 0 &&
           !MapDrawing::IsElevatorSector(level, sector);
}

QColor Colour(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Whether the image holds the colour within one pixel of the point.
bool ColourNear(const QImage& image, QPoint at, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p) == colour) return true;
        }
    return false;
}

struct WallPick {
    int sector = -1;
    int wall = -1;
    double length = 0;
};

// The longest wall of the current layer that passes the filter.
template <typename Filter> WallPick LongestWall(const CMorviDoc& doc, Filter filter) {
    WallPick best;
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        if (sectors[s]->m_nLayer != doc.m_nCurrentLayer) continue;
        for (std::size_t w = 0; w < sectors[s]->m_pWalls.size(); ++w) {
            const CDataWall& wall = *sectors[s]->m_pWalls[w];
            if (!filter(*sectors[s], wall)) continue;
            const CDataVertex& a = *sectors[s]->m_pVertices[static_cast<std::size_t>(wall.m_nLeft)];
            const CDataVertex& b = *sectors[s]->m_pVertices[static_cast<std::size_t>(wall.m_nRight)];
            const double length = std::hypot(b.m_dX - a.m_dX, b.m_dZ - a.m_dZ);
            if (length > best.length) best = {static_cast<int>(s), static_cast<int>(w), length};
        }
    }
    return best;
}

} // namespace

class MapViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void firstShowingFitsTheLevelAndAsksForThePaths() {
        // A plain GOB carries no map state of ours: the first view fits the level on screen.
        SampleView s;
        QVERIFY(s.open(testing::SampleGobPath()));
        QVERIFY(s.doc().m_bNormalizeOnOpen);
        QSignalSpy missing(s.view.get(), &CMorviView::pathsMissing);
        QVERIFY(s.show());
        QTRY_COMPARE(missing.count(), 1);
        QVERIFY(!s.doc().m_bNormalizeOnOpen);
        QCOMPARE(s.document.activeView(), s.view.get());
        QCOMPARE(s.doc().m_nGridLevel, 4);
        for (const auto& sector : s.level().m_Lev.m_pSectors)
            for (const auto& v : sector->m_pVertices)
                QVERIFY(s.viewport()->rect().contains(s.pixel(v->m_dX, v->m_dZ)));
        s.view->hide();
        s.view->show();
        QTest::qWait(20);
        QCOMPARE(missing.count(), 1);
        // Another view of the same document is its own: it leaves the zoom alone.
        const int zoom = s.doc().m_nZoom;
        CMorviView second(s.document);
        second.resize(kWidth / 2, kHeight / 2);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(s.doc().m_nZoom, zoom);
        QCOMPARE(s.document.activeView(), &second);
    }

    void draggingMovesTheSelectedSectorByTheSnappedOffset() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        const int room = FirstRoom(s.doc());
        QVERIFY(room >= 0);
        const CDataSector& sector = *s.level().m_Lev.m_pSectors[static_cast<std::size_t>(room)];
        const auto [cx, cz] = Centroid(sector);
        s.onePixelPerUnit(cx, cz);
        const Positions before = VertexPositions(s.level());
        Drag(s.viewport(), s.pixel(cx, cz), kDragBy, 300);
        QCOMPARE(s.engine().selection().size(), std::size_t{1});
        QCOMPARE(s.engine().selection()[0].m_nSector, room);
        const Positions after = VertexPositions(s.level());
        const auto& first =
            before[static_cast<std::size_t>(room)][static_cast<std::size_t>(sector.m_pWalls[0]->m_nLeft)];
        const auto [dx, dz] = SnappedMove(first.first, first.second);
        QVERIFY(dx != 0 || dz != 0);
        for (std::size_t v = 0; v < before[static_cast<std::size_t>(room)].size(); ++v) {
            QCOMPARE(after[static_cast<std::size_t>(room)][v].first,
                     before[static_cast<std::size_t>(room)][v].first + dx);
            QCOMPARE(after[static_cast<std::size_t>(room)][v].second,
                     before[static_cast<std::size_t>(room)][v].second + dz);
        }
        QVERIFY(s.document.isModified());
    }

    void draggingMovesTheSelectedWallByTheSnappedOffset() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.view->runCommand(cmd::kWall);
        QCOMPARE(s.doc().m_nMode, int{kModeWall});
        const int room = FirstRoom(s.doc());
        const CDataWall& wall = *s.level().m_Lev.m_pSectors[static_cast<std::size_t>(room)]->m_pWalls[0];
        const CDataVertex& a = VertexOf(s.level(), room, wall.m_nLeft);
        const CDataVertex& b = VertexOf(s.level(), room, wall.m_nRight);
        const double mx = (a.m_dX + b.m_dX) / 2, mz = (a.m_dZ + b.m_dZ) / 2;
        s.onePixelPerUnit(mx, mz);
        const Positions before = VertexPositions(s.level());
        Drag(s.viewport(), s.pixel(mx, mz), kDragBy, 300);
        QCOMPARE(s.engine().selection().size(), std::size_t{1});
        const CMapSelItem picked = s.engine().selection()[0];
        const CDataWall& moved = *s.level()
                                      .m_Lev.m_pSectors[static_cast<std::size_t>(picked.m_nSector)]
                                      ->m_pWalls[static_cast<std::size_t>(picked.m_nWall)];
        const auto& ends = before[static_cast<std::size_t>(picked.m_nSector)];
        const auto left = ends[static_cast<std::size_t>(moved.m_nLeft)];
        const auto right = ends[static_cast<std::size_t>(moved.m_nRight)];
        const auto [dx, dz] = SnappedMove(left.first, left.second);
        QCOMPARE(VertexOf(s.level(), picked.m_nSector, moved.m_nLeft).m_dX, left.first + dx);
        QCOMPARE(VertexOf(s.level(), picked.m_nSector, moved.m_nLeft).m_dZ, left.second + dz);
        QCOMPARE(VertexOf(s.level(), picked.m_nSector, moved.m_nRight).m_dX, right.first + dx);
        QCOMPARE(VertexOf(s.level(), picked.m_nSector, moved.m_nRight).m_dZ, right.second + dz);
    }

    void draggingMovesTheSelectedVertexAndThoseOnIt() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.view->runCommand(cmd::kVertex);
        const int room = FirstRoom(s.doc());
        const CDataVertex& corner = VertexOf(s.level(), room, 0);
        const double vx = corner.m_dX, vz = corner.m_dZ;
        s.onePixelPerUnit(vx, vz);
        const Positions before = VertexPositions(s.level());
        Drag(s.viewport(), s.pixel(vx, vz), kDragBy, 300);
        QCOMPARE(s.engine().selection().size(), std::size_t{1});
        const auto [dx, dz] = SnappedMove(vx, vz);
        const Positions after = VertexPositions(s.level());
        int moved = 0;
        for (std::size_t i = 0; i < before.size(); ++i)
            for (std::size_t v = 0; v < before[i].size(); ++v) {
                const bool onIt = before[i][v] == std::pair{vx, vz};
                moved += onIt ? 1 : 0;
                QCOMPARE(after[i][v].first, before[i][v].first + (onIt ? dx : 0.0));
                QCOMPARE(after[i][v].second, before[i][v].second + (onIt ? dz : 0.0));
            }
        QVERIFY(moved >= 1);
    }

    void draggingMovesTheSelectedObjectByTheSnappedOffset() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.view->runCommand(cmd::kObject);
        s.viewport()->repaint(); // assigns the objects' sectors
        const auto& objects = s.level().m_Objects.m_pObjects;
        const auto& sectors = s.level().m_Lev.m_pSectors;
        std::size_t chosen = objects.size();
        for (std::size_t i = 0; i < objects.size() && chosen == objects.size(); ++i) {
            const int sector = objects[i]->m_nSector;
            if (sector >= 0 && sectors[static_cast<std::size_t>(sector)]->m_nLayer == s.doc().m_nCurrentLayer)
                chosen = i;
        }
        QVERIFY(chosen < objects.size());
        const double ox = objects[chosen]->m_dX, oz = objects[chosen]->m_dZ;
        s.onePixelPerUnit(ox, oz);
        std::vector<std::pair<double, double>> before;
        for (const auto& o : objects)
            before.emplace_back(o->m_dX, o->m_dZ);
        Drag(s.viewport(), s.pixel(ox, oz), kDragBy, 300);
        QCOMPARE(s.engine().selection().size(), std::size_t{1});
        const std::size_t picked = static_cast<std::size_t>(s.engine().selection()[0].m_nObject);
        const auto [dx, dz] = SnappedMove(before[picked].first, before[picked].second);
        for (std::size_t i = 0; i < objects.size(); ++i) {
            QCOMPARE(objects[i]->m_dX, before[i].first + (i == picked ? dx : 0.0));
            QCOMPARE(objects[i]->m_dZ, before[i].second + (i == picked ? dz : 0.0));
        }
    }

    void aQuickClickAndMoveMovesNothing() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        const int room = FirstRoom(s.doc());
        const auto [cx, cz] = Centroid(*s.level().m_Lev.m_pSectors[static_cast<std::size_t>(room)]);
        s.onePixelPerUnit(cx, cz);
        const QString texts = LevelTexts(s.level());
        Drag(s.viewport(), s.pixel(cx, cz), kDragBy, 0);
        QCOMPARE(s.engine().selection().size(), std::size_t{1});
        QCOMPARE(LevelTexts(s.level()), texts);
        QVERIFY(!s.document.isModified());
        QVERIFY(!s.document.history().CanUndo());
    }

    void undoAfterADragRestoresTheLevelTexts() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        const int room = FirstRoom(s.doc());
        const auto [cx, cz] = Centroid(*s.level().m_Lev.m_pSectors[static_cast<std::size_t>(room)]);
        s.onePixelPerUnit(cx, cz);
        const QString texts = LevelTexts(s.level());
        QSignalSpy modified(&s.document, &MorviDocument::modifiedChanged);
        Drag(s.viewport(), s.pixel(cx, cz), kDragBy, 300);
        QVERIFY(LevelTexts(s.level()) != texts);
        QVERIFY(s.document.isModified());
        QVERIFY(s.document.undo());
        QCOMPARE(LevelTexts(s.level()), texts);
        QVERIFY(!s.document.isModified());
        QCOMPARE(modified.count(), 2);
    }

    void zoomKeepsTheCentreAndStopsAtItsLimits() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.doc().m_nZoom = 10;
        s.document.updateAllViews(kHintZoom);
        const CMapEngine& engine = s.engine();
        const double x = engine.viewport().ScreenToWorldX(kWidth / 2.0),
                     z = engine.viewport().ScreenToWorldZ(kHeight / 2.0);
        const QRect client = s.viewport()->rect();
        for (int command : {cmd::kZoomIn, cmd::kZoomOut, cmd::kZoomOut}) {
            s.view->runCommand(command);
            QVERIFY(std::abs(engine.viewport().ScreenToWorldX(client.width() / 2) - x) <=
                    engine.viewport().m_dGridStep);
            QVERIFY(std::abs(engine.viewport().ScreenToWorldZ(client.height() / 2) - z) <=
                    engine.viewport().m_dGridStep);
        }
        QCOMPARE(s.doc().m_nZoom, 9);
        s.doc().m_nZoom = 24;
        QVERIFY(!s.view->isEnabled(cmd::kZoomIn));
        QVERIFY(s.view->isEnabled(cmd::kZoomOut));
        s.view->runCommand(cmd::kZoomIn);
        QCOMPARE(s.doc().m_nZoom, 24);
        s.doc().m_nZoom = 0;
        QVERIFY(s.view->isEnabled(cmd::kZoomIn));
        QVERIFY(!s.view->isEnabled(cmd::kZoomOut));
        s.view->runCommand(cmd::kZoomOut);
        QCOMPARE(s.doc().m_nZoom, 0);
        // At zoom 0 the whole world fits: the scroll bars stay, disabled.
        s.document.updateAllViews(kHintZoom);
        QVERIFY(s.view->horizontalScrollBar()->isVisible());
        QVERIFY(!s.view->horizontalScrollBar()->isEnabled());
    }

    void toggleAndModeCommandsCarryTheirMarks() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        QVERIFY(s.view->isChecked(cmd::kGridOn));
        s.view->runCommand(cmd::kGridOn);
        QVERIFY(!s.view->isChecked(cmd::kGridOn));
        QVERIFY(!s.view->isChecked(32798));
        s.view->runCommand(32798);
        QVERIFY(s.view->isChecked(32798));
        s.view->runCommand(32847);
        QVERIFY(s.view->isChecked(32847) && !s.view->isChecked(32849));
        s.view->runCommand(32834);
        QCOMPARE(s.doc().m_nTool, int{kToolSkiesPits});
        s.view->runCommand(cmd::kObject);
        QVERIFY(s.view->isChecked(32775) && !s.view->isChecked(32773));
        QVERIFY(!s.view->isEnabled(32849));
        s.view->runCommand(32849);
        QCOMPARE(s.doc().m_nTool, int{kToolSkiesPits});
        QVERIFY(!CMorviView::handlesCommand(32810));
        QVERIFY(!s.view->isEnabled(32810));
    }

    void keysAndCommandsScrollByGridSteps() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.onePixelPerUnit(0, 0);
        const double x = s.doc().m_dScrollX, z = s.doc().m_dScrollZ;
        QTest::keyClick(s.view.get(), Qt::Key_Right);
        QCOMPARE(s.doc().m_dScrollX, x + 16);
        QTest::keyClick(s.view.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(s.doc().m_dScrollZ, z + 16);
        s.view->runCommand(103);
        QCOMPARE(s.doc().m_dScrollX, x);
        QCOMPARE(s.view->horizontalScrollBar()->value(), static_cast<int>(x / 16));
        QTest::keyClick(s.view.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(s.doc().m_dScrollX, x + s.engine().viewport().m_nPageCellsX * 16 / 4);
        const int layer = s.doc().m_nCurrentLayer;
        QSignalSpy panes(s.view.get(), &CMorviView::statusTextChanged);
        QTest::keyClick(s.view.get(), Qt::Key_PageUp);
        QCOMPARE(s.doc().m_nCurrentLayer, layer + 1);
        QCOMPARE(panes.count(), 1);
        QCOMPARE(panes[0][0].toInt(), CMorviView::kPaneLayer);
        QCOMPARE(panes[0][1].toString(), QStringLiteral("Layer %1").arg(layer + 1));
        QTest::keyClick(s.view.get(), Qt::Key_PageDown);
        QCOMPARE(s.doc().m_nCurrentLayer, layer);
    }

    void thePictureShowsTheWallsInTheirColours() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        s.view->runCommand(32842);
        const CDataLevel& level = s.level();
        const WallPick solid = LongestWall(s.doc(), [&](const CDataSector& sector, const CDataWall& wall) {
            return wall.m_nAdjoin < 0 && wall.m_Sign.m_nTexture < 0 && IsPlainSector(level, sector);
        });
        const WallPick adjoined = LongestWall(s.doc(), [&](const CDataSector& sector, const CDataWall& wall) {
            if (wall.m_nAdjoin < 0 || wall.m_nMirror < 0 || wall.m_Sign.m_nTexture >= 0) return false;
            const CDataSector& other = *level.m_Lev.m_pSectors[static_cast<std::size_t>(wall.m_nAdjoin)];
            const CDataWall& mirror = *other.m_pWalls[static_cast<std::size_t>(wall.m_nMirror)];
            return mirror.m_Sign.m_nTexture < 0 && IsPlainSector(level, sector) &&
                   IsPlainSector(level, other);
        });
        QVERIFY(solid.sector >= 0 && adjoined.sector >= 0);
        const QImage image = s.viewport()->grab().toImage();
        for (const auto& [pick, colour] :
             {std::pair{solid, MapColour::kGreen}, std::pair{adjoined, MapColour::kDarkGreen}}) {
            const CDataWall& wall = *level.m_Lev.m_pSectors[static_cast<std::size_t>(pick.sector)]
                                         ->m_pWalls[static_cast<std::size_t>(pick.wall)];
            const CDataVertex& a = VertexOf(level, pick.sector, wall.m_nLeft);
            const CDataVertex& b = VertexOf(level, pick.sector, wall.m_nRight);
            const QPoint p1 = s.pixel(a.m_dX, a.m_dZ), p2 = s.pixel(b.m_dX, b.m_dZ);
            QVERIFY((p2 - p1).manhattanLength() >= 8);
            for (double t : {0.25, 0.5, 0.75}) {
                const QPoint at(static_cast<int>(p1.x() + (p2.x() - p1.x()) * t),
                                static_cast<int>(p1.y() + (p2.y() - p1.y()) * t));
                QVERIFY2(ColourNear(image, at, Colour(colour)),
                         qPrintable(QStringLiteral("wall %1/%2 at %3,%4")
                                        .arg(pick.sector)
                                        .arg(pick.wall)
                                        .arg(at.x())
                                        .arg(at.y())));
            }
        }
        // Far from the level the map is background with grid dots only.
        const QColor corner = image.pixelColor(1, 1);
        QVERIFY(corner == Colour(MapColour::kBackground) || corner == Colour(MapColour::kGridDot));
    }

    // The wheel zooms about the cursor; the middle button drags the map.
    void wheelZoomsAboutTheCursorAndTheMiddleButtonPans() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        const QPoint at(200, 120);
        const double x = s.engine().viewport().ScreenToWorldX(at.x()),
                     z = s.engine().viewport().ScreenToWorldZ(at.y());
        const int zoom = s.doc().m_nZoom;
        QWheelEvent wheel(at, s.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s.viewport(), &wheel);
        QCOMPARE(s.doc().m_nZoom, zoom + 1);
        QVERIFY(std::abs(s.engine().viewport().ScreenToWorldX(at.x()) - x) < 1e-6);
        QVERIFY(std::abs(s.engine().viewport().ScreenToWorldZ(at.y()) - z) < 1e-6);

        QTest::mousePress(s.viewport(), Qt::MiddleButton, Qt::NoModifier, at);
        QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(30, 0)),
                         s.viewport()->mapToGlobal(at + QPoint(30, 0)), Qt::NoButton, Qt::MiddleButton,
                         Qt::NoModifier);
        QApplication::sendEvent(s.viewport(), &move);
        QTest::mouseRelease(s.viewport(), Qt::MiddleButton, Qt::NoModifier, at + QPoint(30, 0));
        QVERIFY(std::abs(s.engine().viewport().ScreenToWorldX(at.x() + 30) - x) < 1e-6);
        QVERIFY2(!s.document.history().CanUndo(), "looking around is no change");
    }

    void statusPanesFollowTheMouseAndTheFocus() {
        SampleView s;
        QVERIFY(s.open() && s.show());
        QSignalSpy panes(s.view.get(), &CMorviView::statusTextChanged);
        const QPoint at(123, 234);
        QTest::mouseMove(s.viewport(), at);
        QTRY_VERIFY(panes.count() >= 3);
        QCOMPARE(panes[0][0].toInt(), CMorviView::kPaneX);
        QCOMPARE(panes[0][1].toString(),
                 QString::asprintf("X %8.2f", s.engine().viewport().ScreenToWorldX(at.x())));
        QCOMPARE(panes[1][0].toInt(), CMorviView::kPaneZ);
        QCOMPARE(panes[1][1].toString(),
                 QString::asprintf("Z %8.2f", s.engine().viewport().ScreenToWorldZ(at.y())));
        QCOMPARE(panes[2][1].toString(), QStringLiteral("Layer %1").arg(s.doc().m_nCurrentLayer));

        panes.clear();
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(s.view.get(), &in);
        QCOMPARE(panes.count(), 4);
        QCOMPARE(panes[0][1].toString(), QStringLiteral("Sector mode"));
        QCOMPARE(panes[1][1].toString(), QStringLiteral("Normal"));
        QCOMPARE(panes[2][1].toString(), QStringLiteral("Layer %1").arg(s.doc().m_nCurrentLayer));
        QCOMPARE(panes[3][1].toString(), QString::fromStdString(s.engine().viewport().ZoomPane()));

        panes.clear();
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(s.view.get(), &out);
        QCOMPARE(panes.count(), 6);
        QList<int> ids;
        for (const QList<QVariant>& emitted : panes) {
            ids << emitted[0].toInt();
            QVERIFY(emitted[1].toString().isEmpty());
        }
        std::sort(ids.begin(), ids.end());
        QCOMPARE(ids, (QList<int>{59130, 59131, 59132, 59133, 59134, 59135}));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::MapViewTest)
#include "MapViewTest.moc"
