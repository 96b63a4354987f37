// Map drawing: building the display list of the largest-level size fitted into a full-HD view,
// against merely converting every wall's two end points to screen coordinates. Sector picking:
// a click in sector mode against the plain rule, every current-layer sector's first loop tested
// in pixels.
#include "BenchRatio.h"
#include "FittedView.h"

#include "mapedit/CMapEngine.h"
#include "model/SectorGrid.h"
#include "support/EngineView.h"
#include "support/SyntheticLevel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace morvi;

using bench::FittedView;

FittedView& View() {
    static FittedView view;
    return view;
}

void BaselineWallEndPoints(benchmark::State& state) {
    const CMapEngine& engine = View().engine;
    const auto& sectors = View().doc.level().m_Lev.m_pSectors;
    for (auto _ : state) {
        long long sum = 0;
        for (const auto& s : sectors)
            for (const auto& wall : s->m_pWalls) {
                const CDataVertex& a = *s->m_pVertices[static_cast<std::size_t>(wall->m_nLeft)];
                const CDataVertex& b = *s->m_pVertices[static_cast<std::size_t>(wall->m_nRight)];
                const ScreenPoint p1 = engine.viewport().WorldToScreen(a.m_dX, a.m_dZ);
                const ScreenPoint p2 = engine.viewport().WorldToScreen(b.m_dX, b.m_dZ);
                sum += p1.x + p1.y + p2.x + p2.y;
            }
        benchmark::DoNotOptimize(sum);
    }
}

void DrawMapNormal(benchmark::State& state) {
    FittedView& view = View();
    view.doc.m_nTool = kToolNormal;
    DisplayList list;
    for (auto _ : state) {
        list.Clear();
        view.engine.drawing().DrawMap(list, false);
        benchmark::DoNotOptimize(list.primitives().data());
    }
    state.counters["primitives"] = static_cast<double>(list.size());
}

void DrawMapAmbiance(benchmark::State& state) {
    FittedView& view = View();
    view.doc.m_nTool = kToolAmbiance;
    DisplayList list;
    for (auto _ : state) {
        list.Clear();
        view.engine.drawing().DrawMap(list, false);
        benchmark::DoNotOptimize(list.primitives().data());
    }
    view.doc.m_nTool = kToolNormal;
}

void AssignObjectSectors(benchmark::State& state) {
    for (auto _ : state)
        View().engine.drawing().AssignObjectSectors();
}

// Clicks spread evenly over the 1920 x 1080 view, off the grid lines of the level's rooms.
std::vector<ScreenPoint> Clicks() {
    std::vector<ScreenPoint> clicks;
    for (int y = 7; y < 1080; y += 40)
        for (int x = 13; x < 1920; x += 40)
            clicks.push_back({x, y});
    return clicks;
}

void BruteForceSectorPick(benchmark::State& state) {
    FittedView& view = View();
    const std::vector<ScreenPoint> clicks = Clicks();
    std::vector<ScreenPoint> polygon;
    for (auto _ : state) {
        long long sum = 0;
        for (ScreenPoint p : clicks)
            sum += morvi::testing::ReferenceSectorPick(view.engine, view.doc, p, polygon);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["clicks"] = static_cast<double>(clicks.size());
}

void PickAtSector(benchmark::State& state) {
    FittedView& view = View();
    view.doc.m_nMode = kModeSector;
    const std::vector<ScreenPoint> clicks = Clicks();
    long long hits = 0;
    for (auto _ : state) {
        long long sum = 0;
        for (ScreenPoint p : clicks) {
            view.engine.ClearSelection();
            view.engine.picker().PickAt(p, {});
            sum += view.engine.selection().empty() ? -1 : view.engine.selection().front().m_nSector;
            hits += !view.engine.selection().empty();
        }
        benchmark::DoNotOptimize(sum);
    }
    view.engine.ClearSelection();
    state.counters["hits"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

// One click right after an edit, grid rebuilt (compare with one click of BruteForceSectorPick:
// its time divided by its clicks counter).
void SectorGridRebuildPick(benchmark::State& state) {
    FittedView& view = View();
    view.doc.m_nMode = kModeSector;
    for (auto _ : state) {
        view.engine.picker().MarkGeometryDirty();
        view.engine.picker().PickAt({960, 540}, {});
    }
    view.engine.ClearSelection();
}

// What every paint pays to keep the picking grid honest: each sector's box against the recorded one.
void SectorGridCheck(benchmark::State& state) {
    const auto& sectors = View().doc.level().m_Lev.m_pSectors;
    SectorGrid grid;
    grid.Build(sectors);
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.Matches(sectors));
}

BENCHMARK(BaselineWallEndPoints)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawMapNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawMapAmbiance)->Unit(benchmark::kMicrosecond);
BENCHMARK(AssignObjectSectors)->Unit(benchmark::kMicrosecond);
BENCHMARK(BruteForceSectorPick)->Unit(benchmark::kMicrosecond);
BENCHMARK(PickAtSector)->Unit(benchmark::kMicrosecond);
BENCHMARK(SectorGridRebuildPick)->Unit(benchmark::kMicrosecond);
BENCHMARK(SectorGridCheck)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    View(); // build the level before anything is timed
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"DrawMapNormal", "BaselineWallEndPoints", 3.0},
                                        {"DrawMapAmbiance", "BaselineWallEndPoints", 0.0},
                                        {"AssignObjectSectors", "BaselineWallEndPoints", 0.0},
                                        {"PickAtSector", "BruteForceSectorPick", 0.2},
                                        {"SectorGridCheck", "BaselineWallEndPoints", 0.0}});
}
