// Writes the seed corpus of every fuzzer with our own writers: make_fuzz_seeds OUTDIR writes
// OUTDIR/<fuzzer>/seed-N files.
#include "demo/DemoBriefing.h"
#include "demo/DemoDark.h"
#include "demo/DemoSounds.h"
#include "gamefiles/DocumentFile.h"
#include "model/CDataLevel.h"
#include "model/RecordArchive.h"
#include "model/ResourceBlock.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/LfdArchive.h"
#include "resources/Model3D.h"
#include "resources/SpriteConverter.h"
#include "resources/VocSound.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"
#include "support/SpriteWriter.h"
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
    for (auto& sector : level.m_Lev.m_pSectors)
        ar.WriteObject(sector.get());
    WriteSeed(dir, "records", 0, ar.bytes());
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void LevelSeeds(const fs::path& dir) {
    DocumentData doc;
    // A few rooms of every kind: small seeds keep the fuzzers fast.
    testing::SyntheticLevelOptions options;
    options.sectors = 6;
    options.objects = 8;
    options.infItems = 4;
    options.textures = 8;
    testing::BuildSyntheticLevel(doc.level(), options);
    CDataLevel& level = doc.level();
    const testing::GameTexts texts = testing::WriteGameTexts(level);
    WriteSeed(dir, "lev", 0, AsBytes(texts.lev));
    WriteSeed(dir, "o", 0, AsBytes(texts.o));
    WriteSeed(dir, "inf", 0, AsBytes(texts.inf));
    WriteSeed(dir, "edit", 0, AsBytes(texts.lev + "\x1e" + texts.o + "\x1e" + texts.inf));
    WriteSeed(dir, "scene", 0, AsBytes(texts.lev + "\x1e" + texts.o));
    int n = 1;
    for (auto build : {testing::BuildRoomWithPillar, testing::BuildTwoRooms}) {
        CDataLevel small;
        build(small);
        WriteSeed(dir, "edit", n++, AsBytes(testing::WriteGameTexts(small).lev));
    }

    std::vector<std::uint8_t> gob;
    if (WriteLevelBytes(level, gob)) WriteSeed(dir, "gob", 0, gob);
    std::vector<std::uint8_t> mrv;
    if (WriteDocumentBytes(doc, mrv)) WriteSeed(dir, "mrv", 0, mrv);
}

void ResourceSeeds(const fs::path& dir) {
    // The demo data's sound, briefing archive with its film, and 3D object.
    std::vector<std::uint8_t> voc;
    if (WriteVoc(demo::BuildDemoSound(demo::DemoSoundNames().front()), voc)) WriteSeed(dir, "voc", 0, voc);
    const LfdArchive briefing = demo::BuildBriefingLfd();
    WriteSeed(dir, "lfd", 0, briefing.Write());
    for (const LfdMember& member : briefing.members())
        if (member.m_strType == "FILM") WriteSeed(dir, "flm", 0, member.m_Data);
    std::string text;
    Write3DO(demo::BuildDemoModel(demo::DemoModelNames().front()), text);
    WriteSeed(dir, "3do", 0, AsBytes(text));

    // A striped 16 x 12 picture as BMP and in every BM encoding, and as a two-frame multi-BM.
    GamePalette palette;
    IndexedImage image;
    image.Create(palette, kPaletteMultiplier, 16, 12, true);
    for (int r = 0; r < 12; ++r)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, r, static_cast<std::uint8_t>(r < 6 ? 0 : x / 4 + 1));
    std::vector<std::uint8_t> bmp;
    if (image.WriteBmp(bmp)) WriteSeed(dir, "bmp", 0, bmp);
    int n = 0;
    for (BmCompression kind : {kBmPlain, kBmRunLength, kBmZeroRuns}) {
        std::vector<std::uint8_t> bm;
        if (EncodeBm(image, kind, bm)) WriteSeed(dir, "bm", n++, bm);
    }
    const IndexedImage frames[] = {image, image};
    std::vector<std::uint8_t> multi;
    if (EncodeMultiBm(frames, 8, multi)) WriteSeed(dir, "bm", n++, multi);

    DeltPicture delt{image, 3, -2};
    std::vector<std::uint8_t> dlt;
    if (EncodeDelt(delt, dlt)) WriteSeed(dir, "delt", 0, dlt);
    const DeltPicture anim[] = {delt, DeltPicture{}};
    std::vector<std::uint8_t> anm;
    if (EncodeAnim(anim, anm)) WriteSeed(dir, "delt", 1, anm);
    std::vector<std::uint8_t> pltt{16, 19};
    for (int i = 0; i < 12; ++i)
        pltt.push_back(static_cast<std::uint8_t>(i * 5));
    WriteSeed(dir, "delt", 2, pltt);

    WriteSeed(dir, "fme", 0, EncodeFme(image, -8, 12, false, false));
    WriteSeed(dir, "fme", 1, EncodeFme(image, 3, 4, true, true));
    WaxEncoder wax;
    const int plain = wax.AddCell(image, false);
    const int packed = wax.AddCell(image, true);
    const int a = wax.AddFrame(plain, -8, 12, false);
    const int b = wax.AddFrame(packed, -8, 12, true);
    const int walk = wax.AddView({a, b, a});
    const int still = wax.AddView({b});
    wax.AddState(64, 64, 8, std::vector<int>(32, walk));
    wax.AddState(64, 64, 0, {still, walk, still, walk, still, walk, still, walk});
    const std::vector<std::uint8_t> waxBytes = testing::WaxBytes(wax);
    WriteSeed(dir, "wax", 0, waxBytes);
    // The map an export of that sprite writes.
    WaxWalk walked;
    if (WalkWax(waxBytes, "SEED.WAX", walked))
        WriteSeed(dir, "map", 0, AsBytes(WriteWaxMap(walked.m_Map, "SEED.WAX")));
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
    ResourceSeeds(dir);
    return 0;
}
