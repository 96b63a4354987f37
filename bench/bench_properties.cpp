// Applying one field of the sector properties pane on the 4,000-sector level, as a user's Apply
// does it: the pane read, one field's text changed, the apply inside one change of the document
// (so the undo snapshot is taken) and the map's display list built again for the redraw. Against
// copying the level's LEV+O+INF text bytes once, the least a text-based undo would do
// (budget 4x). Printed beside it: the apply without the redraw, the first applies of a session
// (while the history grows), and the redraw's two parts.
#include "BenchRatio.h"
#include "FittedView.h"
#include "TextCopy.h"

#include "properties/ItemProperties.h"

#include <algorithm>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace morvi;

bench::FittedView& View() {
    static bench::FittedView view;
    return view;
}

// The three texts back to back, written once before anything is timed.
const std::string& TextBytes() {
    static const std::string bytes = bench::LevelTextBytes(View().doc.level());
    return bytes;
}

void BaselineCopyTexts(benchmark::State& state) {
    bench::CopyBytes(state, TextBytes());
}

// One Apply of the pane: a sector in the middle of the level, its floor altitude typed back and
// forth between two values (the other one than the pane shows) so that every apply changes the
// level and makes an undo step; then, with redraw, the display list as the map builds it again.
void ApplyOnce(bench::FittedView& view, bool redraw, DisplayList& list, benchmark::State* state) {
    CMorviDoc& doc = view.doc;
    const auto field = static_cast<std::size_t>(FindPaneField(PaneKind::Sector, "floor-altitude"));
    PaneValues pane = ReadPane(PaneKind::Sector, doc.level(), doc.selection());
    std::string& text = pane.m_Texts[field];
    text = text == "123.45" ? "67.89" : "123.45";
    const ApplyResult result = ApplyPaneChange(doc, PaneKind::Sector, pane.m_Texts);
    if (result.m_nChanged == 0 && state) state->SkipWithError("the apply changed nothing");
    if (!redraw) return;
    list.Clear();
    view.engine.drawing().DrawMap(list, false);
    benchmark::DoNotOptimize(list.primitives().data());
}

// Page faults (fresh memory first touched) per iteration: what tells a history that grows from one
// that reuses the memory of the steps it drops.
class FaultCounter {
public:
    FaultCounter() { m_nStart = Faults(); }
    void Report(benchmark::State& state) const {
        state.counters["page_faults"] =
            static_cast<double>(Faults() - m_nStart) /
            static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    }

private:
    static long Faults() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    }
    long m_nStart = 0;
};

void SelectMiddleSector(bench::FittedView& view) {
    view.engine.ClearSelection();
    view.engine.AddToSelection({static_cast<int>(view.doc.level().m_Lev.m_pSectors.size() / 2), -1, -1, -1});
}

// A long session: the history already holds as many steps as its memory budget allows, so each
// apply also drops the oldest step. The history is filled before anything is timed.
void ApplyInLongSession(benchmark::State& state, bool redraw) {
    bench::FittedView& view = View();
    SelectMiddleSector(view);
    DisplayList list;
    std::size_t steps = 0;
    do {
        steps = view.doc.history().UndoCount();
        ApplyOnce(view, false, list, nullptr);
    } while (view.doc.history().UndoCount() != steps);
    const FaultCounter faults;
    for (auto _ : state)
        ApplyOnce(view, redraw, list, &state);
    faults.Report(state);
    state.counters["undo_steps"] = static_cast<double>(view.doc.history().UndoCount());
    view.engine.ClearSelection();
}

void ApplySectorField(benchmark::State& state) {
    ApplyInLongSession(state, true);
}
void ApplyWithoutRedraw(benchmark::State& state) {
    ApplyInLongSession(state, false);
}

// The first applies of a session, while the history grows: each undo step takes memory of its own
// rather than reusing the memory of a dropped one. A level of its own with an empty history.
void ApplyWhileHistoryGrows(benchmark::State& state) {
    bench::FittedView view;
    SelectMiddleSector(view);
    DisplayList list;
    const FaultCounter faults;
    for (auto _ : state)
        ApplyOnce(view, true, list, &state);
    faults.Report(state);
    if (view.doc.history().UndoCount() != static_cast<std::size_t>(state.iterations()))
        state.SkipWithError("the history dropped steps");
}

// What the redraw after the apply consists of: every object assigned to its sector again (the
// change touched the geometry) and the display list built.
void ReassignObjects(benchmark::State& state) {
    for (auto _ : state)
        View().engine.drawing().AssignObjectSectors();
}
void RedrawMap(benchmark::State& state) {
    bench::FittedView& view = View();
    DisplayList list;
    for (auto _ : state) {
        list.Clear();
        view.engine.drawing().DrawMap(list, false);
        benchmark::DoNotOptimize(list.primitives().data());
    }
}

BENCHMARK(BaselineCopyTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK(ApplySectorField)->Unit(benchmark::kMicrosecond);
BENCHMARK(ApplyWithoutRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(ApplyWhileHistoryGrows)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(ReassignObjects)->Unit(benchmark::kMicrosecond);
BENCHMARK(RedrawMap)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    TextBytes(); // build the level and its texts before anything is timed
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"ApplySectorField", "BaselineCopyTexts", 4.0},
                                        {"ApplyWithoutRedraw", "BaselineCopyTexts", 0.0},
                                        {"ApplyWhileHistoryGrows", "BaselineCopyTexts", 0.0},
                                        {"ReassignObjects", "BaselineCopyTexts", 0.0},
                                        {"RedrawMap", "BaselineCopyTexts", 0.0}});
}
