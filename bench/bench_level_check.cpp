// The whole level checker on a level the size of the largest published one, against reading the
// same level's LEV text: the checker runs after every change, so it must cost no more than a read.
#include "BenchRatio.h"

#include "gamefiles/LevFile.h"
#include "model/LevelChecker.h"
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

const std::string& LevText() {
    static const std::string text = [] {
        std::string t;
        WriteLev(Level().m_Lev, kGeneratorTitle, t);
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

void CheckLevel(benchmark::State& state) {
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = checkLevel(Level()).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}

BENCHMARK(ReadLevText)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckLevel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return morvi::bench::RunWithRatios(argc, argv, {{"CheckLevel", "ReadLevText", 2.0}});
}
