// GOB archives: loading and saving an archive of the largest-level size plus 20 MB of other
// members, against reading and writing the same bytes as one file.
#include "BenchRatio.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/GobArchive.h"
#include "gamefiles/LevelArchive.h"
#include "support/SyntheticLevel.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace morvi;
namespace fs = std::filesystem;

const fs::path& ArchivePath() {
    static const fs::path path = [] {
        const fs::path dir = fs::temp_directory_path() / "morvi-bench-gob";
        fs::create_directories(dir);
        CDataLevel level;
        testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions{});
        // 20 MB of other members, in the sizes textures and sounds come in.
        std::vector<std::uint8_t> block(512 * 1024);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
        for (int i = 0; i < 40; ++i)
            (void)level.AddMember("FILL" + std::to_string(i) + ".BM", block);
        const fs::path file = dir / "level.gob";
        if (Status s = SaveLevelFile(level, file); !s) throw std::runtime_error(s.message());
        return file;
    }();
    return path;
}

std::int64_t ArchiveBytes() {
    return static_cast<std::int64_t>(fs::file_size(ArchivePath()));
}

std::vector<char> ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BaselineReadFile(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(ArchivePath(), std::ios::binary);
        std::vector<char> bytes(static_cast<std::size_t>(ArchiveBytes()));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}

void LoadGob(benchmark::State& state) {
    for (auto _ : state) {
        GobArchive gob;
        if (Status s = ReadGobFile(ArchivePath(), gob); !s) state.SkipWithError(s.message().c_str());
        benchmark::DoNotOptimize(gob.m_pMembers.data());
    }
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}

void LoadLevel(benchmark::State& state) {
    for (auto _ : state) {
        CDataLevel level;
        if (Status s = LoadLevelFile(level, ArchivePath(), nullptr); !s)
            state.SkipWithError(s.message().c_str());
        benchmark::DoNotOptimize(level.m_Lev.m_pSectors.data());
    }
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}

// Both writes go through the same atomic protocol (temporary file, flush, sync, rename), so the
// ratio shows what the archive writer adds, not what the disk costs.
void BaselineWriteFile(benchmark::State& state) {
    const std::vector<char> bytes = ReadWhole(ArchivePath());
    const fs::path out = ArchivePath().parent_path() / "baseline.gob";
    for (auto _ : state) {
        const Status s = WriteFileAtomically(out, [&](ByteSink& sink) {
            sink.Write(std::string_view(bytes.data(), bytes.size()));
            return Status::Ok();
        });
        if (!s) state.SkipWithError(s.message().c_str());
    }
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}

void SaveGob(benchmark::State& state) {
    GobArchive gob;
    if (Status s = ReadGobFile(ArchivePath(), gob); !s) state.SkipWithError(s.message().c_str());
    const fs::path out = ArchivePath().parent_path() / "saved.gob";
    for (auto _ : state)
        if (Status s = WriteGobFile(gob, out); !s) state.SkipWithError(s.message().c_str());
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}

void SaveLevel(benchmark::State& state) {
    CDataLevel level;
    if (Status s = LoadLevelFile(level, ArchivePath(), nullptr); !s) state.SkipWithError(s.message().c_str());
    const fs::path out = ArchivePath().parent_path() / "level-saved.gob";
    for (auto _ : state)
        if (Status s = SaveLevelFile(level, out); !s) state.SkipWithError(s.message().c_str());
    state.SetBytesProcessed(state.iterations() * ArchiveBytes());
}

BENCHMARK(BaselineReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadGob)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineWriteFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveGob)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveLevel)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ArchivePath(); // build the archive before anything is timed
    const int rc = morvi::bench::RunWithRatios(argc, argv,
                                               {{"LoadGob", "BaselineReadFile", 1.5},
                                                {"SaveGob", "BaselineWriteFile", 1.5},
                                                {"LoadLevel", "BaselineReadFile", 0.0},
                                                {"SaveLevel", "BaselineWriteFile", 0.0}});
    std::error_code ec;
    fs::remove_all(fs::temp_directory_path() / "morvi-bench-gob", ec);
    return rc;
}
