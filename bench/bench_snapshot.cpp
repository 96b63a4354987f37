// Undo snapshots of a level the size of the largest published one with 20 MB of other archive
// members: taking one and restoring it, against copying the level's LEV, O and INF text bytes
// once, the least a text-based undo would do. The members are shared with the level, not copied.
#include "BenchRatio.h"
#include "TextCopy.h"

#include "document/LevelSnapshot.h"
#include "support/SyntheticLevel.h"

#include <cstdio>
#include <string>

namespace {

using namespace morvi;

CDataLevel& Level() {
    static CDataLevel level = [] {
        CDataLevel l;
        testing::BuildSyntheticLevel(l, testing::SyntheticLevelOptions{});
        std::vector<std::uint8_t> block(512 * 1024);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
        for (int i = 0; i < 40; ++i)
            (void)l.AddMember("FILL" + std::to_string(i) + ".BM", block);
        return l;
    }();
    return level;
}

// The three texts back to back, written once before anything is timed.
const std::string& TextBytes() {
    static const std::string bytes = bench::LevelTextBytes(Level());
    return bytes;
}

void BaselineCopyTexts(benchmark::State& state) {
    bench::CopyBytes(state, TextBytes());
}

void Capture(benchmark::State& state) {
    for (auto _ : state) {
        LevelSnapshot snapshot = LevelSnapshot::Capture(Level());
        benchmark::DoNotOptimize(&snapshot);
    }
}

// The undo case: the level already holds records (one vertex moved since the capture), so the
// restore overwrites them.
void Restore(benchmark::State& state) {
    const LevelSnapshot snapshot = LevelSnapshot::Capture(Level());
    CDataLevel level;
    snapshot.RestoreLevel(level);
    for (auto _ : state) {
        level.m_Lev.m_pSectors[0]->m_pVertices[0]->m_dX += 1.0;
        snapshot.RestoreLevel(level);
        benchmark::DoNotOptimize(level.m_Lev.m_pSectors.data());
    }
}

// The worst case: every record allocated anew (and the level freed again) per iteration.
void RestoreIntoEmptyLevel(benchmark::State& state) {
    const LevelSnapshot snapshot = LevelSnapshot::Capture(Level());
    for (auto _ : state) {
        CDataLevel level;
        snapshot.RestoreLevel(level);
        benchmark::DoNotOptimize(level.m_Lev.m_pSectors.data());
    }
}

BENCHMARK(BaselineCopyTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK(Capture)->Unit(benchmark::kMicrosecond);
BENCHMARK(Restore)->Unit(benchmark::kMicrosecond);
BENCHMARK(RestoreIntoEmptyLevel)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const std::size_t textBytes = TextBytes().size();
    const std::size_t snapshotBytes = LevelSnapshot::Capture(Level()).MemoryBytes();
    std::printf("LEV+O+INF text bytes %zu, snapshot bytes %zu (%.2f of the texts)\n", textBytes,
                snapshotBytes, static_cast<double>(snapshotBytes) / static_cast<double>(textBytes));
    return morvi::bench::RunWithRatios(argc, argv,
                                       {{"Capture", "BaselineCopyTexts", 3.0},
                                        {"Restore", "BaselineCopyTexts", 3.0},
                                        {"RestoreIntoEmptyLevel", "BaselineCopyTexts", 0.0}});
}
