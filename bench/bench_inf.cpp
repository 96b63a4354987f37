// The INF editor's costs on a level with 550 INF items, against reading the same INF text: opening
// the editor (its working copy of the items and the item list's entries), and the INF checker,
// which runs after every change of the level.
#include "BenchRatio.h"

#include "gamefiles/InfFile.h"
#include "infedit/InfChecker.h"
#include "infedit/InfWorkingCopy.h"
#include "support/SyntheticLevel.h"

#include <string>

namespace {

using namespace morvi;

const CDataLevel& Level() {
    static const CDataLevel level = [] {
        CDataLevel l;
        testing::BuildSyntheticLevel(l, testing::SyntheticLevelOptions{});
        return l;
    }();
    return level;
}

const std::string& InfText() {
    static const std::string text = [] {
        std::string t;
        WriteInf(Level().m_Inf, kGeneratorTitle, t);
        return t;
    }();
    return text;
}

void ReadInfText(benchmark::State& state) {
    for (auto _ : state) {
        CDataInf inf;
        ReadInf(inf, InfText());
        benchmark::DoNotOptimize(inf.m_pItems.size());
    }
}

void CheckInfItems(benchmark::State& state) {
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = CheckInf(Level()).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["items"] = static_cast<double>(Level().m_Inf.m_pItems.size());
    state.counters["findings"] = static_cast<double>(findings);
}

void OpenWorkingCopy(benchmark::State& state) {
    for (auto _ : state) {
        InfWorkingCopy copy(Level());
        benchmark::DoNotOptimize(copy.ItemEntries().size());
    }
}

BENCHMARK(ReadInfText)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckInfItems)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenWorkingCopy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(argc, argv, {{"OpenWorkingCopy", "ReadInfText", 3.0}, {"CheckInfItems", "ReadInfText", 3.0}});
}
