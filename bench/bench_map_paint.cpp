// Painting the map as the view does: the engine's display list of the largest-level size, fitted
// into a full-HD view and replayed with QPainter, against one drawLines call with every wall of the
// level in a single pen. And one step of a drag: the engine follows the mouse, builds the ghost, and
// the view puts the map painted at the press back with the ghost over it.
#include "BenchRatio.h"

#include "mapedit/CMapEngine.h"
#include "mapedit/DisplayListPainter.h"
#include "support/SyntheticLevel.h"

#include <QGuiApplication>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <chrono>
#include <vector>

namespace {

using namespace morvi;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct FittedView {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
    MapDevice device;
    ClientRect client{0, 0, kWidth, kHeight};
    QImage image{kWidth, kHeight, QImage::Format_RGB32};

    FittedView() {
        testing::BuildSyntheticLevel(doc.level(), testing::SyntheticLevelOptions{});
        doc.m_bAllLayers = 1; // every wall is painted, as in the baseline
        engine.viewport().RecalcLayout(device, client);
        engine.viewport().ZoomNormalize(device, client);
        engine.viewport().RecalcLayout(device, client);
        DisplayList warmUp;
        engine.Draw(warmUp, device); // assigns the objects' sectors once, as a view's first paint does
    }

    std::vector<QLineF> WallLines() const {
        std::vector<QLineF> lines;
        for (const auto& s : doc.level().m_Lev.m_pSectors)
            for (const auto& wall : s->m_pWalls) {
                const CDataVertex& a = *s->m_pVertices[static_cast<std::size_t>(wall->m_nLeft)];
                const CDataVertex& b = *s->m_pVertices[static_cast<std::size_t>(wall->m_nRight)];
                const ScreenPoint p1 = engine.viewport().WorldToScreen(a.m_dX, a.m_dZ);
                const ScreenPoint p2 = engine.viewport().WorldToScreen(b.m_dX, b.m_dZ);
                lines.emplace_back(p1.x, p1.y, p2.x, p2.y);
            }
        return lines;
    }
};

FittedView& View() {
    static FittedView view;
    return view;
}

void PaintMap(FittedView& view, DisplayList& list) {
    list.Clear();
    view.engine.Draw(list, view.device);
    view.image.fill(Qt::black);
    QPainter painter(&view.image);
    ui::PaintDisplayList(painter, list);
}

void PaintLines(FittedView& view, const std::vector<QLineF>& lines) {
    view.image.fill(Qt::black);
    QPainter painter(&view.image);
    QPen pen(Qt::green);
    pen.setWidth(0);
    painter.setPen(pen);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

template <typename F> double SecondsPerRun(F&& run, int runs) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
}

void BaselineDrawLines(benchmark::State& state) {
    FittedView& view = View();
    const std::vector<QLineF> lines = view.WallLines();
    for (auto _ : state)
        PaintLines(view, lines);
    state.counters["lines"] = static_cast<double>(lines.size());
}

// The counter holds the same ratio as the table printed at the end, measured inside this run.
void DrawAndPaintMap(benchmark::State& state) {
    FittedView& view = View();
    DisplayList list;
    for (auto _ : state)
        PaintMap(view, list);
    state.counters["primitives"] = static_cast<double>(list.size());
    const std::vector<QLineF> lines = view.WallLines();
    const double baseline = SecondsPerRun([&] { PaintLines(view, lines); }, 10);
    const double measured = SecondsPerRun([&] { PaintMap(view, list); }, 10);
    state.counters["ratio_vs_drawLines"] = measured / baseline;
}

// A drag of the sector under the view's centre: each step moves the cursor to a new grid point.
void DragStep(benchmark::State& state) {
    FittedView& view = View();
    DisplayList list;
    PaintMap(view, list);
    const QImage map = view.image.copy();
    view.doc.m_nMode = kModeSector;
    const ScreenPoint centre{kWidth / 2, kHeight / 2};
    view.engine.drag().OnPress(centre, {});
    view.engine.drag().OnTimer();
    DisplayList ghost;
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 8;
        view.engine.drag().OnMove({centre.x + 24 * step, centre.y - 16 * step});
        ghost.Clear();
        view.engine.drag().DrawGhost(ghost);
        QPainter painter(&view.image);
        painter.drawImage(0, 0, map);
        ui::PaintDisplayList(painter, ghost);
    }
    state.counters["selected"] = static_cast<double>(view.engine.selection().size());
    state.counters["ghost_primitives"] = static_cast<double>(ghost.size());
    view.engine.drag().OnMove(centre); // back at the anchor: the release moves nothing
    view.engine.drag().OnRelease(centre);
    view.engine.ClearSelection();
}

BENCHMARK(BaselineDrawLines)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawAndPaintMap)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // QPainter on images needs the GUI application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    View(); // build the level before anything is timed
    return morvi::bench::RunWithRatios(
        argc, argv, {{"DrawAndPaintMap", "BaselineDrawLines", 2.0}, {"DragStep", "DrawAndPaintMap", 0.0}});
}
