// The INF editor's costs on a level with 550 INF items, against reading the same INF text: the
// INF checker, which runs after every change of the level.
#include "BenchRatio.h"

#include "gamefiles/InfFile.h"
#include "infedit/InfChecker.h"
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

BENCHMARK(ReadInfText)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckInfItems)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(argc, argv, {{"CheckInfItems", "ReadInfText", 3.0}});
}
