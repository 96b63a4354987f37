#include "resources/ResourcePreview.h"

#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/ResourceCache.h"

#include "support/SpriteWriter.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace morvi {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::Succeeded;

IndexedImage Picture(int width, int height, std::uint8_t seed) {
    IndexedImage image;
    EXPECT_TRUE(image.Create(GamePalette(), kPaletteMultiplier, width, height, false));
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            image.setPixel(c, r, static_cast<std::uint8_t>(seed + 3 * c + r));
    return image;
}

bool SamePixels(const IndexedImage& a, const IndexedImage& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int r = 0; r < a.height(); ++r)
        for (int c = 0; c < a.width(); ++c)
            if (a.pixel(c, r) != b.pixel(c, r)) return false;
    return true;
}

Bytes Bm(const IndexedImage& image, BmCompression compression = kBmPlain) {
    Bytes bytes;
    EXPECT_TRUE(Succeeded(EncodeBm(image, compression, bytes)));
    return bytes;
}

Bytes Bytes3do(const Model3D& model) {
    std::string text;
    Write3DO(model, text);
    return Bytes(text.begin(), text.end());
}

GamePalette Palette(std::uint8_t seed) {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteEntries; ++i)
        palette.SetEntry(i, static_cast<std::uint8_t>((i + seed) % 64), static_cast<std::uint8_t>(i % 64),
                         static_cast<std::uint8_t>(seed % 64));
    return palette;
}

Bytes BytesOf(const GamePalette& palette) {
    return Bytes(palette.m_Bytes.begin(), palette.m_Bytes.end());
}

// A game whose CD folder has the texture, sprite and object archives and whose installed folder
// has the sounds, and a level "SECBASE" with a palette and members of its own.
struct Game {
    Game() {
        fs::create_directories(m_Root.path() / "cd");
        fs::create_directories(m_Root.path() / "install");
        m_Level.m_LevelNames = {"SECBASE"};
        EXPECT_TRUE(Succeeded(m_Level.AddMember("SECBASE.PAL", BytesOf(Palette(5)))));
    }
    void Archive(const std::string& file, const std::vector<std::pair<std::string, Bytes>>& members,
                 bool installed = false) {
        GobArchive gob;
        for (const auto& [name, data] : members)
            EXPECT_TRUE(Succeeded(gob.AddMember(name, data)));
        EXPECT_TRUE(Succeeded(WriteGobFile(gob, folder(installed) / file)));
    }
    fs::path folder(bool installed) const { return m_Root.path() / (installed ? "install" : "cd"); }

    testing::TempDir m_Root;
    CDataLevel m_Level;
    ResourceCache m_Cache{m_Root.path() / "cd", m_Root.path() / "install"};
};

TEST(ResourcePreview, StartsWithTheLevelPaletteOrAGreyRamp) {
    Game game;
    ResourcePreview preview(&game.m_Level, game.m_Cache);
    EXPECT_EQ(BytesOf(preview.palette()), BytesOf(Palette(5)));

    ResourcePreview noLevel(nullptr, game.m_Cache);
    EXPECT_EQ(noLevel.palette().m_Bytes[0], 0);
    EXPECT_EQ(noLevel.palette().m_Bytes[3 * 255], 63);
    EXPECT_EQ(noLevel.palette().m_Bytes[3 * 128 + 2], 32);
    EXPECT_TRUE(noLevel.frames().empty());
}

TEST(ResourcePreview, TheLevelsMemberComesBeforeTheArchivesOfTheSameName) {
    Game game;
    game.Archive("TEXTURES.GOB", {{"WALL.BM", Bm(Picture(16, 2, 1))}, {"FLOOR.BM", Bm(Picture(6, 3, 2))}});
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("WALL.BM", Bm(Picture(8, 4, 9)))));
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".bm", "wall.bm", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(8, 4, 9)));
    EXPECT_TRUE(preview.frames()[0].m_Image.hasInfo());
    EXPECT_FALSE(preview.frames()[0].m_Placement);
    EXPECT_EQ(preview.sizeText(), "8 x 4");
    EXPECT_TRUE(preview.archivePath().empty());

    ASSERT_TRUE(preview.load(".BM", "Floor.bm", false));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(6, 3, 2)));
    EXPECT_FALSE(preview.frames()[0].m_Image.hasInfo());
    EXPECT_EQ(preview.sizeText(), "6 x 3");
    EXPECT_EQ(preview.archivePath(), game.folder(false) / "TEXTURES.GOB");
    EXPECT_EQ(preview.fileName(), "Floor.bm");
    EXPECT_EQ(preview.extension(), ".BM");

    EXPECT_FALSE(preview.load(".bm", "LAVA.BM", true));
    EXPECT_TRUE(preview.frames().empty());
    EXPECT_EQ(preview.sizeText(), "");
    // A texture is not looked for among the sprites, nor a level's palette among its textures.
    EXPECT_FALSE(preview.load(".fme", "FLOOR.BM", true));
    EXPECT_FALSE(preview.load(".bm", "SECBASE.PAL", true));
}

TEST(ResourcePreview, PicturesAreMadeWithThePaletteOfThePreview) {
    Game game;
    game.Archive("textures.gob", {{"PACKED.BM", Bm(Picture(5, 7, 4), kBmRunLength)}});
    ResourcePreview preview(&game.m_Level, game.m_Cache);
    ASSERT_TRUE(preview.load(".bm", "PACKED.BM", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[7], Palette(5).DisplayColour(7));

    preview.forcePalette(Palette(40), false);
    EXPECT_TRUE(preview.frames().empty());
    EXPECT_FALSE(preview.withHeader());
    ASSERT_TRUE(preview.load(".bm", "PACKED.BM", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(5, 7, 4)));
    EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[7], Palette(40).DisplayColour(7));
}

TEST(ResourcePreview, SpritesKeepWhereTheyStandAndWhetherTheyAreMirrored) {
    Game game;
    testing::WaxWriter wax;
    const int big = wax.AddCell(Picture(4, 6, 10), true);
    const int small = wax.AddCell(Picture(2, 3, 20), false);
    const int f0 = wax.AddFrame(big, -3, 5, false);
    const int f1 = wax.AddFrame(small, 7, -2, true);
    wax.AddState(60, 50, 8, {wax.AddView({f0, f1})});
    game.Archive("sprites.gob", {{"GUARD.WAX", wax.Write()},
                                 {"BARREL.FME", testing::EncodeFme(Picture(3, 5, 30), -1, 4, true, false)}});
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".fme", "barrel.fme", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    ASSERT_TRUE(preview.frames()[0].m_Placement);
    EXPECT_EQ(preview.frames()[0].m_Placement->m_nX, -1);
    EXPECT_EQ(preview.frames()[0].m_Placement->m_nY, 4);
    EXPECT_TRUE(preview.frames()[0].m_Placement->m_bFlip);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(3, 5, 30)));
    EXPECT_EQ(preview.sizeText(), "3 x 5");

    preview.waxSelection().m_bShowAllFrames = true;
    ASSERT_TRUE(preview.load(".WAX", "GUARD.WAX", true));
    EXPECT_EQ(preview.waxSelection().m_nFrameCount, 2);
    ASSERT_EQ(preview.frames().size(), 2u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(4, 6, 10)));
    EXPECT_TRUE(SamePixels(preview.frames()[1].m_Image, Picture(2, 3, 20)));
    ASSERT_TRUE(preview.frames()[1].m_Placement);
    EXPECT_EQ(preview.frames()[1].m_Placement->m_nX, 7);
    EXPECT_EQ(preview.frames()[1].m_Placement->m_nY, -2);
    EXPECT_TRUE(preview.frames()[1].m_Placement->m_bFlip);
    EXPECT_FALSE(preview.frames()[0].m_Placement->m_bFlip);
    EXPECT_EQ(preview.sizeText(), "2 x 3");
}

TEST(ResourcePreview, ObjectsAndSoundsComeFromTheirArchives) {
    Game game;
    Model3D model;
    model.m_strVersion = "1.30";
    model.m_strName = "crate";
    model.m_Objects.push_back(
        ModelObject{"box", 0, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {}, {{0, 1, 2, 3, "FLAT"}}, {}, {}, {}});
    VocSound sound;
    sound.m_nTimeConstant = 166;
    sound.m_Samples = {128, 140, 120, 128};
    Bytes voc;
    ASSERT_TRUE(Succeeded(WriteVoc(sound, voc)));
    game.Archive("dark.gob", {{"CRATE.3DO", Bytes3do(model)}});
    game.Archive("sounds.gob", {{"DOOR.VOC", voc}}, true);
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".3do", "crate.3do", false));
    EXPECT_EQ(preview.object3d().m_strName, "crate");
    ASSERT_EQ(preview.object3d().m_Objects.size(), 1u);
    EXPECT_EQ(preview.object3d().m_Objects[0].m_Vertices.size(), 3u);
    EXPECT_TRUE(preview.frames().empty());

    ASSERT_TRUE(preview.load(".voc", "DOOR.VOC", false));
    EXPECT_EQ(preview.sound().m_Samples, sound.m_Samples);
    EXPECT_EQ(preview.sound().m_nSampleRate, VocSampleRate(166));
    EXPECT_TRUE(preview.object3d().m_Objects.empty());
    EXPECT_EQ(preview.archivePath(), game.folder(true) / "sounds.gob");
}

TEST(ResourcePreview, PalettesAndDeltsAreShownFromEntriesOrTheLevel) {
    Game game;
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".pal", "secbase.pal", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    const IndexedImage& grid = preview.frames()[0].m_Image;
    EXPECT_EQ(grid.width(), 0);
    EXPECT_TRUE(grid.bits().empty());
    const DisplayColours expected = Palette(5).AllDisplayColours();
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), grid.displayColours().begin(),
                           grid.displayColours().end()));

    const CDataGobEntry other("OTHER.PAL", BytesOf(Palette(60)));
    ASSERT_TRUE(preview.load(".PAL", "OTHER.PAL", true, &other));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[200], Palette(60).DisplayColour(200));

    DeltPicture delt;
    delt.m_Image = Picture(6, 4, 1);
    Bytes deltBytes;
    ASSERT_TRUE(Succeeded(EncodeDelt(delt, deltBytes)));
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("HAND.DLT", deltBytes)));
    EXPECT_FALSE(preview.load(".dlt", "HAND.DLT", true)); // only ever shown from a given entry
    const CDataGobEntry entry("HAND.DLT", deltBytes);
    ASSERT_TRUE(preview.load(".dlt", "HAND.DLT", true, &entry));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(6, 4, 1)));
    EXPECT_EQ(preview.sizeText(), "6 x 4");
}

TEST(ResourcePreview, AMemberThatDoesNotDecodeIsFoundButShowsNothing) {
    Game game;
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("GOOD.BM", Bm(Picture(2, 2, 0)))));
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("BAD.BM", Bytes(10, 0xFF))));
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("BAD.WAX", Bytes(200, 0xFF))));
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("BAD.VOC", Bytes(5))));
    ResourcePreview preview(&game.m_Level, game.m_Cache);
    ASSERT_TRUE(preview.load(".bm", "GOOD.BM", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    for (const char* name : {"BAD.BM", "BAD.WAX", "BAD.VOC"}) {
        const std::string ext = std::string(name).substr(3);
        EXPECT_TRUE(preview.load(ext, name, true)) << name;
        EXPECT_FALSE(preview.lastMessage()) << name;
        EXPECT_NE(preview.lastMessage().message().find(name), std::string::npos)
            << preview.lastMessage().message();
        EXPECT_TRUE(preview.frames().empty()) << name;
        EXPECT_TRUE(preview.sound().m_Samples.empty()) << name;
    }
    const CDataGobEntry shortPalette("SHORT.PAL", Bytes(700));
    EXPECT_TRUE(preview.load(".pal", "SHORT.PAL", true, &shortPalette));
    EXPECT_FALSE(preview.lastMessage());
    EXPECT_TRUE(preview.frames().empty());
}

} // namespace
} // namespace morvi
