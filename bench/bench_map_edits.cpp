// Deleting 100 sectors of the 4,000-sector level in one command, against deleting the same
// sectors from the same level with every adjoin removed: the difference is the bookkeeping of
// links, mirrors and INF references. Reported without a budget.
#include "BenchRatio.h"

#include "document/LevelSnapshot.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/StructuralEdits.h"
#include "support/SyntheticLevel.h"

namespace {

using namespace morvi;

void BuildLevel(CDataLevel& level, bool adjoins) {
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions{});
    if (adjoins) return;
    for (auto& sector : level.m_Lev.m_pSectors)
        for (auto& wall : sector->m_pWalls)
            wall->m_nAdjoin = wall->m_nMirror = wall->m_nWalk = -1;
}

// Each iteration restores the level from a snapshot (not timed) and deletes every 40th sector.
void DeleteHundredSectors(benchmark::State& state, bool adjoins) {
    CMorviDoc doc;
    const Settings settings;
    CMapEngine engine(doc, settings);
    BuildLevel(doc.level(), adjoins);
    doc.m_nMode = kModeSector;
    const LevelSnapshot start = LevelSnapshot::Capture(doc.level());
    for (auto _ : state) {
        state.PauseTiming();
        start.RestoreLevel(doc.level());
        engine.ClearSelection();
        for (int s = 0; s < 4000 && s < static_cast<int>(doc.level().m_Lev.m_pSectors.size()); s += 40)
            engine.AddToSelection({s, -1, -1, -1});
        state.ResumeTiming();
        const EditResult result = DeleteSelection(engine);
        benchmark::DoNotOptimize(result.m_bChanged);
    }
}

void DeleteFromUnlinkedLevel(benchmark::State& state) {
    DeleteHundredSectors(state, false);
}
void DeleteFromLinkedLevel(benchmark::State& state) {
    DeleteHundredSectors(state, true);
}

BENCHMARK(DeleteFromUnlinkedLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteFromLinkedLevel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"DeleteFromLinkedLevel", "DeleteFromUnlinkedLevel", 0.0}});
}
