// The checkers and the INF editor on a level the size of the largest published one (4,000
// sectors, 550 INF items), each against reading the text it works on: the level checker against
// the LEV text, and the INF checker and opening the INF editor (its working copy of the items and
// the item list's entries) against the INF text. The checkers run after every change.
#include "BenchRatio.h"
#include "LargeLevel.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "infedit/InfChecker.h"
#include "infedit/InfWorkingCopy.h"
#include "model/LevelChecker.h"

#include <string>

namespace {

using namespace morvi;

const CDataLevel& Level() {
    return bench::LargeLevel();
}

const std::string& LevText() {
    return bench::LargeLevelLevText();
}

const std::string& InfText() {
    static const std::string text = [] {
        std::string t;
        WriteInf(Level().m_Inf, kGeneratorTitle, t);
        return t;
    }();
    return text;
}

void ReadLevText(benchmark::State& state) {
    for (auto _ : state) {
        CDataLev lev;
        ReadLev(lev, LevText());
        benchmark::DoNotOptimize(lev.m_pSectors.size());
    }
}

void ReadInfText(benchmark::State& state) {
    for (auto _ : state) {
        CDataInf inf;
        ReadInf(inf, InfText());
        benchmark::DoNotOptimize(inf.m_pItems.size());
    }
}

// Runs check on the level and reports how many findings it made (none on this level).
template <class Check> void Findings(benchmark::State& state, Check check) {
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = check(Level()).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}

void CheckLevel(benchmark::State& state) {
    Findings(state, checkLevel);
}

void CheckInfItems(benchmark::State& state) {
    Findings(state, CheckInf);
}

void OpenWorkingCopy(benchmark::State& state) {
    for (auto _ : state) {
        InfWorkingCopy copy(Level());
        benchmark::DoNotOptimize(copy.ItemEntries().size());
    }
}

BENCHMARK(ReadLevText)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadInfText)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckInfItems)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenWorkingCopy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"CheckLevel", "ReadLevText", 2.0},
                                        {"CheckInfItems", "ReadInfText", 3.0},
                                        {"OpenWorkingCopy", "ReadInfText", 3.0}});
}
