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
#include <tuple>
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

std::tuple<int, int, bool> Placement(const PreviewFrame& frame) {
    EXPECT_TRUE(frame.m_Placement);
    const SpritePlacement p = frame.m_Placement.value_or(SpritePlacement{});
    return {p.m_nX, p.m_nY, p.m_bFlip};
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

// The level's member comes before the archive's of the same name; names ignore case; a texture is
// not looked for among the sprites, nor a level's palette among its textures. Pictures are made
// with the level's palette until another is forced.
TEST(ResourcePreview, TheLevelsMemberComesBeforeTheArchivesOfTheSameName) {
    Game game;
    game.Archive("TEXTURES.GOB",
                 {{"WALL.BM", Bm(Picture(16, 2, 1))}, {"FLOOR.BM", Bm(Picture(6, 3, 2), kBmRunLength)}});
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("WALL.BM", Bm(Picture(8, 4, 9)))));
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".bm", "wall.bm", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(8, 4, 9)));
    EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[7], Palette(5).DisplayColour(7));
    EXPECT_EQ(preview.sizeText(), "8 x 4");
    EXPECT_TRUE(preview.archivePath().empty());

    preview.forcePalette(Palette(40), false);
    EXPECT_TRUE(preview.frames().empty());
    ASSERT_TRUE(preview.load(".BM", "Floor.bm", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(6, 3, 2)));
    EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[7], Palette(40).DisplayColour(7));
    EXPECT_EQ(preview.archivePath(), game.folder(false) / "TEXTURES.GOB");

    EXPECT_FALSE(preview.load(".bm", "LAVA.BM", true));
    EXPECT_TRUE(preview.frames().empty());
    EXPECT_EQ(preview.sizeText(), "");
    EXPECT_FALSE(preview.load(".fme", "FLOOR.BM", true));
    EXPECT_FALSE(preview.load(".bm", "SECBASE.PAL", true));
}

TEST(ResourcePreview, SpritesKeepWhereTheyStandAndWhetherTheyAreMirrored) {
    Game game;
    WaxEncoder wax;
    const int big = wax.AddCell(Picture(4, 6, 10), true);
    const int small = wax.AddCell(Picture(2, 3, 20), false);
    wax.AddState(60, 50, 8,
                 {wax.AddView({wax.AddFrame(big, -3, 5, false), wax.AddFrame(small, 7, -2, true)})});
    game.Archive("sprites.gob", {{"GUARD.WAX", testing::WaxBytes(wax)},
                                 {"BARREL.FME", EncodeFme(Picture(3, 5, 30), -1, 4, true, false)}});
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".fme", "barrel.fme", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_EQ(Placement(preview.frames()[0]), std::tuple(-1, 4, true));
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(3, 5, 30)));

    preview.waxSelection().m_bShowAllFrames = true;
    ASSERT_TRUE(preview.load(".WAX", "GUARD.WAX", true));
    EXPECT_EQ(preview.waxSelection().m_nFrameCount, 2);
    ASSERT_EQ(preview.frames().size(), 2u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(4, 6, 10)));
    EXPECT_TRUE(SamePixels(preview.frames()[1].m_Image, Picture(2, 3, 20)));
    EXPECT_EQ(Placement(preview.frames()[0]), std::tuple(-3, 5, false));
    EXPECT_EQ(Placement(preview.frames()[1]), std::tuple(7, -2, true));
}

// Sounds come from the installed folder; loading another kind drops the one shown before.
TEST(ResourcePreview, ObjectsAndSoundsComeFromTheirArchives) {
    Game game;
    Model3D model;
    model.m_strName = "crate";
    model.m_Objects.push_back(
        ModelObject{"box", 0, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {}, {{0, 1, 2, 3, "FLAT"}}, {}, {}, {}});
    std::string text;
    Write3DO(model, text);
    VocSound sound;
    sound.m_nTimeConstant = 166;
    sound.m_Samples = {128, 140, 120, 128};
    Bytes voc;
    ASSERT_TRUE(Succeeded(WriteVoc(sound, voc)));
    game.Archive("dark.gob", {{"CRATE.3DO", Bytes(text.begin(), text.end())}});
    game.Archive("sounds.gob", {{"DOOR.VOC", voc}}, true);
    ResourcePreview preview(&game.m_Level, game.m_Cache);

    ASSERT_TRUE(preview.load(".3do", "crate.3do", false));
    ASSERT_EQ(preview.object3d().m_Objects.size(), 1u);
    EXPECT_EQ(preview.object3d().m_Objects[0].m_Vertices.size(), 3u);

    ASSERT_TRUE(preview.load(".voc", "DOOR.VOC", false));
    EXPECT_EQ(preview.sound().m_Samples, sound.m_Samples);
    EXPECT_TRUE(preview.object3d().m_Objects.empty());
    EXPECT_EQ(preview.archivePath(), game.folder(true) / "sounds.gob");
}

// A palette shows as a picture without pixels in its display colours; a DELT only from an entry.
TEST(ResourcePreview, PalettesAndDeltsAreShownFromEntriesOrTheLevel) {
    Game game;
    ResourcePreview preview(&game.m_Level, game.m_Cache);
    ASSERT_TRUE(preview.load(".pal", "secbase.pal", true));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(preview.frames()[0].m_Image.bits().empty());
    EXPECT_TRUE(
        std::ranges::equal(preview.frames()[0].m_Image.displayColours(), Palette(5).AllDisplayColours()));

    const CDataGobEntry other("OTHER.PAL", BytesOf(Palette(60)));
    ASSERT_TRUE(preview.load(".PAL", "OTHER.PAL", true, &other));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[200], Palette(60).DisplayColour(200));

    Bytes delt;
    ASSERT_TRUE(Succeeded(EncodeDelt(DeltPicture{Picture(6, 4, 1), 0, 0}, delt)));
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("HAND.DLT", delt)));
    EXPECT_FALSE(preview.load(".dlt", "HAND.DLT", true));
    const CDataGobEntry entry("HAND.DLT", delt);
    ASSERT_TRUE(preview.load(".dlt", "HAND.DLT", true, &entry));
    ASSERT_EQ(preview.frames().size(), 1u);
    EXPECT_TRUE(SamePixels(preview.frames()[0].m_Image, Picture(6, 4, 1)));
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
        EXPECT_TRUE(preview.load(std::string(name).substr(3), name, true)) << name;
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
