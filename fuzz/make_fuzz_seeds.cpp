// Writes the seed corpus of every fuzzer with our own writers: make_fuzz_seeds OUTDIR writes
// OUTDIR/<fuzzer>/seed-N files.
#include "gamefiles/DocumentFile.h"
#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/CDataLevel.h"
#include "model/RecordArchive.h"
#include "model/ResourceBlock.h"
#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"

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

std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void LevelSeeds(const fs::path& dir) {
    CMorviDoc doc;
    // A few rooms of every kind: small seeds keep the fuzzers fast.
    testing::SyntheticLevelOptions options;
    options.sectors = 6;
    options.objects = 8;
    options.infItems = 4;
    options.textures = 8;
    testing::BuildSyntheticLevel(doc.level(), options);
    CDataLevel& level = doc.level();
    std::string lev, o, inf;
    WriteLev(level.m_Lev, kGeneratorTitle, lev);
    WriteObjects(level.m_Objects, kGeneratorTitle, o);
    WriteInf(level.m_Inf, kGeneratorTitle, inf);
    WriteSeed(dir, "lev", 0, AsBytes(lev));
    WriteSeed(dir, "o", 0, AsBytes(o));
    WriteSeed(dir, "inf", 0, AsBytes(inf));

    std::vector<std::uint8_t> gob;
    if (WriteLevelBytes(level, gob)) WriteSeed(dir, "gob", 0, gob);
    std::vector<std::uint8_t> mrv;
    if (WriteDocumentBytes(doc, mrv)) WriteSeed(dir, "mrv", 0, mrv);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUTDIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    RecordSeeds(dir);
    LevelSeeds(dir);
    return 0;
}
