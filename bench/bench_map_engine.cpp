// Map drawing: building the display list of the largest-level size fitted into a full-HD view,
// against merely converting every wall's two end points to screen coordinates.
#include "BenchRatio.h"

#include "mapedit/CMapEngine.h"
#include "support/SyntheticLevel.h"

#include <algorithm>

namespace {

using namespace morvi;

// A document holding the synthetic level, and an engine laid out so that the level's bounding box
// fits a 1920 x 1080 view, centred.
struct FittedView {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};

    FittedView() {
        testing::BuildSyntheticLevel(doc.level(), testing::SyntheticLevelOptions{});
        double minX = 1e11, maxX = -1e11, minZ = 1e11, maxZ = -1e11;
        for (const auto& s : doc.level().m_Lev.m_pSectors)
            for (const auto& v : s->m_pVertices) {
                minX = std::min(minX, v->m_dX), maxX = std::max(maxX, v->m_dX);
                minZ = std::min(minZ, v->m_dZ), maxZ = std::max(maxZ, v->m_dZ);
            }
        const double w = 1920, h = 1080;
        engine.m_rcClient = {0, 0, 1920, 1080};
        engine.m_dScale = 4096 * std::min(w / (maxX - minX), h / (maxZ - minZ));
        const double unitsPerPixel = 4096 / engine.m_dScale;
        doc.m_dScrollX = (minX + maxX) / 2 + 2048 - w / 2 * unitsPerPixel;
        doc.m_dScrollZ = (engine.m_dScale - h / 2) * unitsPerPixel - 2048 - (minZ + maxZ) / 2;
        doc.m_bAllLayers = 1; // every sector is drawn
        DisplayList warmUp;
        engine.DrawMap(warmUp, false); // assigns the objects' sectors once, as a view's first paint does
    }
};

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
                const ScreenPoint p1 = engine.WorldToScreen(a.m_dX, a.m_dZ);
                const ScreenPoint p2 = engine.WorldToScreen(b.m_dX, b.m_dZ);
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
        view.engine.DrawMap(list, false);
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
        view.engine.DrawMap(list, false);
        benchmark::DoNotOptimize(list.primitives().data());
    }
    view.doc.m_nTool = kToolNormal;
}

void AssignObjectSectors(benchmark::State& state) {
    for (auto _ : state)
        View().engine.AssignObjectSectors();
}

BENCHMARK(BaselineWallEndPoints)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawMapNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawMapAmbiance)->Unit(benchmark::kMicrosecond);
BENCHMARK(AssignObjectSectors)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    View(); // build the level before anything is timed
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"DrawMapNormal", "BaselineWallEndPoints", 3.0},
                                        {"DrawMapAmbiance", "BaselineWallEndPoints", 0.0},
                                        {"AssignObjectSectors", "BaselineWallEndPoints", 0.0}});
}
