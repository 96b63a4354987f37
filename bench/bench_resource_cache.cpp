// Resource cache: reading the directory of a texture archive of 2,000 members, against reading as
// many bytes as that directory holds with one read, and the number of directory reads a session
// of lookups costs. Opening the file is in both; what remains is taking the 2,000 entries apart
// and checking them against the file, which a release build does in about four times the read.
#include "BenchRatio.h"

#include "gamefiles/GobArchive.h"
#include "resources/BmFile.h"
#include "resources/ResourceCache.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace morvi;
namespace fs = std::filesystem;

constexpr int kMembers = 2000;

fs::path Folder() {
    return fs::temp_directory_path() / "morvi-bench-rescache";
}

struct Archive {
    fs::path m_Path;
    std::uint32_t m_nIndexOffset = 0;
    std::uint32_t m_nDirectoryBytes = 0;
};

const Archive& TextureArchive() {
    static const Archive archive = [] {
        fs::create_directories(Folder());
        GobArchive gob;
        for (int i = 0; i < kMembers; ++i) {
            IndexedImage image;
            image.Create(GamePalette(), kPaletteMultiplier, 8 + i % 56, 8, false);
            std::vector<std::uint8_t> bm;
            if (Status s = EncodeBm(image, kBmPlain, bm); !s) throw std::runtime_error(s.message());
            if (Status s = gob.AddMember("TEX" + std::to_string(i) + ".BM", bm); !s)
                throw std::runtime_error(s.message());
        }
        Archive result;
        result.m_Path = Folder() / "TEXTURES.GOB";
        if (Status s = WriteGobFile(gob, result.m_Path); !s) throw std::runtime_error(s.message());
        result.m_nIndexOffset = gob.m_nIndexOffset;
        result.m_nDirectoryBytes = 4 + kMembers * kGobIndexEntrySize;
        return result;
    }();
    return archive;
}

// Microseconds per member over the whole timed loop, as the reader would see it per lookup list.
void ReportPerMember(benchmark::State& state, std::chrono::steady_clock::duration elapsed) {
    const double micros = std::chrono::duration<double, std::micro>(elapsed).count();
    state.counters["us_per_member"] = micros / (static_cast<double>(state.iterations()) * kMembers);
}

void BaselineReadDirectoryBytes(benchmark::State& state) {
    const Archive& archive = TextureArchive();
    std::vector<std::uint8_t> bytes(archive.m_nDirectoryBytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        FileSource source;
        if (Status s = source.Open(archive.m_Path); !s) state.SkipWithError(s.message().c_str());
        if (!source.ReadAt(archive.m_nIndexOffset, bytes))
            state.SkipWithError("the directory bytes cannot be read");
        benchmark::DoNotOptimize(bytes.data());
    }
    ReportPerMember(state, std::chrono::steady_clock::now() - start);
}

void ReadDirectory(benchmark::State& state) {
    const Archive& archive = TextureArchive();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        FileSource source;
        GobDirectory directory;
        if (Status s = source.Open(archive.m_Path); !s) state.SkipWithError(s.message().c_str());
        if (Status s = ReadGobDirectory(source, "TEXTURES.GOB", directory); !s)
            state.SkipWithError(s.message().c_str());
        if (directory.size() != kMembers) state.SkipWithError("the directory lost members");
        benchmark::DoNotOptimize(directory.data());
    }
    ReportPerMember(state, std::chrono::steady_clock::now() - start);
}

// A run of a viewer session: the same archive asked for member after member. Only the first
// question may read the directory.
void CacheSession(benchmark::State& state) {
    const Archive& archive = TextureArchive();
    int reads = 0;
    for (auto _ : state) {
        ResourceCache cache(archive.m_Path.parent_path(), {});
        for (int i = 0; i < kMembers; i += 100)
            benchmark::DoNotOptimize(cache.find(ResourceList::Textures, "tex" + std::to_string(i) + ".bm"));
        benchmark::DoNotOptimize(cache.textureSize("tex1999"));
        reads = cache.directoryReads();
        if (reads != 1) state.SkipWithError("the directory was read more than once");
    }
    state.counters["directory_reads_per_archive"] = reads;
}

BENCHMARK(BaselineReadDirectoryBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadDirectory)->Unit(benchmark::kMicrosecond);
BENCHMARK(CacheSession)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    TextureArchive(); // build the archive before anything is timed
    const int rc = morvi::bench::RunWithRatios(
        argc, argv,
        {{"ReadDirectory", "BaselineReadDirectoryBytes", 5.0}, {"CacheSession", "ReadDirectory", 0.0}});
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    return rc;
}
