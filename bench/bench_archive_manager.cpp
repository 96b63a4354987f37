// The GOB manager on a 2,000-member archive of 50 MB: opening it with its list filled against
// reading its directory, and saving it after one member was deleted against writing the same
// bytes as one file.
#include "BenchRatio.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/GobArchive.h"
#include "resources/ArchiveManagerWindow.h"
#include "resources/ManagedArchive.h"

#include <filesystem>

namespace {

using namespace morvi;
namespace fs = std::filesystem;

constexpr int kMembers = 2000;

const fs::path& Dir() {
    static const fs::path dir = fs::temp_directory_path() / "morvi-bench-archive-manager";
    return dir;
}

const fs::path& ArchivePath() {
    static const fs::path path = [] {
        fs::create_directories(Dir());
        GobArchive gob;
        std::vector<std::uint8_t> block(25 * 1024);
        for (int i = 0; i < kMembers; ++i) {
            for (std::size_t b = 0; b < block.size(); b += 64)
                block[b] = static_cast<std::uint8_t>(i + b);
            (void)gob.AddMember("M" + std::to_string(i) + (i % 2 ? ".BM" : ".WAX"), block);
        }
        const fs::path file = Dir() / "big.gob";
        if (Status s = WriteGobFile(gob, file); !s) throw std::runtime_error(s.message());
        return file;
    }();
    return path;
}

void BaselineReadDirectory(benchmark::State& state) {
    for (auto _ : state) {
        FileSource source;
        GobDirectory directory;
        if (!source.Open(ArchivePath()) || !ReadGobDirectory(source, "big.gob", directory))
            state.SkipWithError("unreadable");
        benchmark::DoNotOptimize(directory.data());
    }
}

// The archive opened and its list filled: the model's rows in member order and the cells of a
// window's worth of them, as the view asks for what it shows.
void OpenInManager(benchmark::State& state) {
    for (auto _ : state) {
        auto archive = ManagedArchive::Make(ArchiveKind::Gob);
        TaskProgress progress;
        if (Status s = archive->Open(ArchivePath(), progress); !s) state.SkipWithError(s.message().c_str());
        ui::ArchiveMemberModel model(*archive, nullptr);
        for (int row = 0; row < std::min(model.rowCount(), 40); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                benchmark::DoNotOptimize(model.index(row, column).data());
    }
}

std::vector<std::uint8_t> BytesWithoutFirst() {
    GobArchive gob;
    (void)ReadGobFile(ArchivePath(), gob);
    gob.m_pMembers.erase(gob.m_pMembers.begin());
    std::vector<std::uint8_t> bytes;
    (void)WriteGob(gob, bytes);
    return bytes;
}

// Both writes go through the same atomic protocol (temporary file, flush, sync, rename).
void BaselineWriteBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = BytesWithoutFirst();
    for (auto _ : state) {
        const Status s = WriteFileAtomically(Dir() / "baseline.gob", [&](ByteSink& sink) {
            sink.Write(bytes);
            return Status::Ok();
        });
        if (!s) state.SkipWithError(s.message().c_str());
    }
}

void SaveAfterDelete(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto archive = ManagedArchive::Make(ArchiveKind::Gob);
        TaskProgress progress;
        if (Status s = archive->Open(ArchivePath(), progress); !s) state.SkipWithError(s.message().c_str());
        const std::size_t first = 0;
        archive->Delete(std::span(&first, 1));
        state.ResumeTiming();
        if (Status s = archive->Save(Dir() / "saved.gob", progress); !s)
            state.SkipWithError(s.message().c_str());
    }
}

BENCHMARK(BaselineReadDirectory)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenInManager)->Unit(benchmark::kMillisecond);

BENCHMARK(BaselineWriteBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveAfterDelete)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ArchivePath(); // build the archive before anything is timed
    const int rc = morvi::bench::RunWithRatios(
        argc, argv,
        {{"OpenInManager", "BaselineReadDirectory", 3.0}, {"SaveAfterDelete", "BaselineWriteBytes", 1.5}});
    std::error_code ec;
    fs::remove_all(Dir(), ec);
    return rc;
}
