// Writes the seed corpus of every fuzzer with our own writers: make_fuzz_seeds OUTDIR writes
// OUTDIR/<fuzzer>/seed-N files.
#include "model/CDataLevel.h"
#include "model/RecordArchive.h"
#include "model/ResourceBlock.h"
#include "support/LevelBuilders.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace fs = std::filesystem;
using namespace morvi;

namespace {

void WriteSeed(const fs::path& dir, const std::string& fuzzer, int n, std::span<const std::uint8_t> bytes) {
    fs::create_directories(dir / fuzzer);
    std::ofstream out(dir / fuzzer / ("seed-" + std::to_string(n)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void RecordSeeds(const fs::path& dir) {
    CDataLevel level;
    testing::BuildRoomWithPillar(level);
    level.AddMember("WALL.BM", std::vector<std::uint8_t>{1, 2, 3});
    RecordArchive ar(RecordArchive::Context{&level.m_Lev, 0});
    SerializeResourceBlock(level, ar, kLibraryVersionTag);
    for (auto& sector : level.m_Lev.m_pSectors) ar.WriteObject(sector.get());
    WriteSeed(dir, "records", 0, ar.bytes());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUTDIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    RecordSeeds(dir);
    return 0;
}
