// Comparing a level the size of the largest published one with a copy of itself, as
// `morvi-cli level diff` does, against reading the two archives, which the comparison needs anyway.
#include "BenchRatio.h"

#include "gamefiles/LevelArchive.h"
#include "model/LevelDiff.h"
#include "support/SyntheticLevel.h"

#include <cstdio>
#include <vector>

namespace {

using namespace morvi;

const std::vector<std::uint8_t>& ArchiveBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        CDataLevel level;
        testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions{});
        std::vector<std::uint8_t> out;
        if (!WriteLevelBytes(level, out)) std::abort();
        return out;
    }();
    return bytes;
}

void ReadBoth(CDataLevel& a, CDataLevel& b) {
    if (!LoadLevelBytes(a, ArchiveBytes(), "a.gob", nullptr) ||
        !LoadLevelBytes(b, ArchiveBytes(), "b.gob", nullptr))
        std::abort();
}

void BaselineReadBoth(benchmark::State& state) {
    for (auto _ : state) {
        CDataLevel a, b;
        ReadBoth(a, b);
        benchmark::DoNotOptimize(a.m_Lev.m_pSectors.data());
    }
}

void ReadBothAndDiff(benchmark::State& state) {
    for (auto _ : state) {
        CDataLevel a, b;
        ReadBoth(a, b);
        const LevelDiff diff = DiffLevels(a, b);
        if (!diff.Same()) std::abort();
    }
}

void DiffOnly(benchmark::State& state) {
    CDataLevel a, b;
    ReadBoth(a, b);
    for (auto _ : state) {
        const LevelDiff diff = DiffLevels(a, b);
        benchmark::DoNotOptimize(diff.m_Changes.data());
    }
}

BENCHMARK(BaselineReadBoth)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBothAndDiff)->Unit(benchmark::kMillisecond);
BENCHMARK(DiffOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    std::printf("archive bytes %zu\n", ArchiveBytes().size());
    return morvi::bench::RunWithRatios(
        argc, argv, {{"ReadBothAndDiff", "BaselineReadBoth", 2.0}, {"DiffOnly", "BaselineReadBoth", 0.0}});
}
