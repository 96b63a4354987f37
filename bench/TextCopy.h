#pragma once

// The baseline several benchmarks measure against: copying a level's LEV, O and INF text bytes
// once, the least a text-based undo or save would do.
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/CDataLevel.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace morvi::bench {

// The three texts back to back.
inline std::string LevelTextBytes(const CDataLevel& level) {
    std::string out;
    WriteLev(level.m_Lev, kGeneratorTitle, out);
    WriteObjects(level.m_Objects, kGeneratorTitle, out);
    WriteInf(level.m_Inf, kGeneratorTitle, out);
    return out;
}

// One copy of bytes per iteration.
inline void CopyBytes(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        std::string copy = bytes;
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

} // namespace morvi::bench
