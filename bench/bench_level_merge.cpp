// Save All: merging three renamed copies of the 4,000-sector level into one archive file, against
// writing the same bytes as one file. The texts written anew are most of the work: they are
// measured on their own, and the budget judges the merge without them.
#include "BenchRatio.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/LevelMerge.h"
#include "gamefiles/ObjectsFile.h"
#include "support/SyntheticLevel.h"

#include <array>
#include <filesystem>
#include <memory>

namespace {

using namespace morvi;
namespace fs = std::filesystem;

const fs::path& Folder() {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / "morvi-bench-merge";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Three copies of the level, each with a level name of its own; its files keep the name SYNTH.
const std::vector<MergeInput>& Inputs() {
    static std::array<std::unique_ptr<CDataLevel>, 3> levels;
    static const std::vector<MergeInput> inputs = [] {
        std::vector<MergeInput> made;
        const char* names[] = {"SYNTHA", "SYNTHB", "SYNTHC"};
        for (std::size_t i = 0; i < levels.size(); ++i) {
            levels[i] = std::make_unique<CDataLevel>();
            testing::BuildSyntheticLevel(*levels[i], testing::SyntheticLevelOptions{});
            levels[i]->m_Lev.m_strLevelName = names[i];
            made.push_back({levels[i].get(), std::string(names[i]) + ".gob"});
        }
        return made;
    }();
    return inputs;
}

std::vector<std::uint8_t> MergedBytes() {
    LevelMerge merge;
    if (Status s = MergeLevels(Inputs(), merge); !s) throw std::runtime_error(s.message());
    TaskProgress progress;
    const fs::path file = Folder() / "bytes.gob";
    if (Status s = WriteGobFile(merge.m_Archive, file, progress); !s) throw std::runtime_error(s.message());
    std::vector<std::uint8_t> bytes(fs::file_size(file));
    std::FILE* in = std::fopen(file.c_str(), "rb");
    const std::size_t read = in ? std::fread(bytes.data(), 1, bytes.size(), in) : 0;
    if (in) std::fclose(in);
    if (read != bytes.size()) throw std::runtime_error("the merged archive cannot be read back");
    return bytes;
}

void BaselineWriteSameBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = MergedBytes();
    for (auto _ : state) {
        const Status s = WriteFileAtomically(Folder() / "baseline.gob", [&](ByteSink& sink) {
            sink.Write(bytes);
            return Status::Ok();
        });
        if (!s) state.SkipWithError(s.message().c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void MergeAndWrite(benchmark::State& state) {
    for (auto _ : state) {
        LevelMerge merge;
        Status s = MergeLevels(Inputs(), merge);
        TaskProgress progress;
        if (s) s = WriteGobFile(merge.m_Archive, Folder() / "merged.gob", progress);
        if (!s) state.SkipWithError(s.message().c_str());
    }
}

// The LEV, O and INF texts of the three levels, as the merge writes them.
void RegenerateTexts(benchmark::State& state) {
    for (auto _ : state) {
        for (const MergeInput& input : Inputs()) {
            std::string lev, objects, inf;
            WriteLev(input.m_pLevel->m_Lev, kReleaseGeneratorTitle, lev);
            WriteObjects(input.m_pLevel->m_Objects, input.m_pLevel->m_Lev.m_strAuthor, kReleaseGeneratorTitle,
                         objects);
            WriteInf(input.m_pLevel->m_Inf, kReleaseGeneratorTitle, inf);
            benchmark::DoNotOptimize(lev.data());
            benchmark::DoNotOptimize(objects.data());
            benchmark::DoNotOptimize(inf.data());
        }
    }
}

BENCHMARK(BaselineWriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MergeAndWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RegenerateTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    Inputs(); // build the levels before anything is timed
    const int rc =
        morvi::bench::RunWithRatios(argc, argv,
                                    {{"MergeAndWrite", "BaselineWriteSameBytes", 2.0, "RegenerateTexts"},
                                     {"MergeAndWrite", "BaselineWriteSameBytes", 0.0},
                                     {"RegenerateTexts", "BaselineWriteSameBytes", 0.0}});
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    return rc;
}
