// The game's archives as the pickers and previews see them: their directories, read once, and the
// members found in the level or in the archive and decoded for the viewers.
#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "resources/BmFile.h"
#include "resources/ResourceCache.h"
#include "resources/ResourcePreview.h"
#include "resources/SpriteEncoder.h"

#include "PictureHelpers.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>

namespace morvi {
namespace {

namespace fs = std::filesystem;
using namespace testing;

IndexedImage Picture(int width, int height, int seed) {
    return testing::PictureOf(width, height, [seed](int c, int r) { return seed + 3 * c + r; });
}

Bytes Bm(const IndexedImage& image, BmCompression compression = kBmPlain) {
    Bytes bytes;
    EXPECT_TRUE(Succeeded(EncodeBm(image, compression, bytes)));
    return bytes;
}

Names NamesOf(const GobDirectory& directory) {
    Names names;
    for (const GobDirectoryEntry& entry : directory)
        names.push_back(entry.m_strName);
    return names;
}

GamePalette Palette(int seed) {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteEntries; ++i)
        palette.SetEntry(i, std::uint8_t((i + seed) % 64), std::uint8_t(i % 64), std::uint8_t(seed % 64));
    return palette;
}

// A game's CD-ROM folder and installed folder, and a level "SECBASE" with a palette of its own.
struct Game {
    Game() {
        fs::create_directories(folder(false));
        fs::create_directories(folder(true));
        m_Level.m_LevelNames = {"SECBASE"};
        const GamePalette own = Palette(5);
        EXPECT_TRUE(
            Succeeded(m_Level.AddMember("SECBASE.PAL", Bytes(own.m_Bytes.begin(), own.m_Bytes.end()))));
    }
    fs::path folder(bool installed) const { return m_Root.path() / (installed ? "install" : "cd"); }
    void Archive(const fs::path& path, const std::vector<std::pair<std::string, Bytes>>& members) {
        GobArchive gob;
        for (const auto& [name, data] : members)
            EXPECT_TRUE(Succeeded(gob.AddMember(name, data)));
        EXPECT_TRUE(Succeeded(WriteGobFile(gob, path)));
    }

    testing::TempDir m_Root;
    CDataLevel m_Level;
    ResourceCache m_Cache{folder(false), folder(true)};
};

// Archives are found whatever their case, sounds in the installed folder only; members by name
// ignoring case, and read against the file as it is now. A texture's size is the width of the
// first texture whose name contains the one asked for. A directory is read once, even after its
// archive changes; a missing or damaged archive is tried once and lists nothing; new folders
// reread only the lists of the folder that changed.
TEST(ResourceCache, FindsArchivesWhateverTheirCaseAndReadsEachDirectoryOnce) {
    Game game;
    const fs::path cd = game.folder(false), other = game.m_Root.path() / "cd2";
    fs::create_directories(other);
    game.Archive(cd / "Textures.gob", {{"STONE.BM", Bm(Picture(16, 4, 0))},
                                       {"BIGWALL.BM", Bm(Picture(300, 2, 0))},
                                       {"wall.bm", Bytes(50, 2)},
                                       {"OLD.BM", Bm(Picture(8, 8, 0))}});
    game.Archive(other / "textures.gob", {{"SECOND.BM", Bm(Picture(2, 2, 0))}});
    game.Archive(cd / "SOUNDS.GOB", {{"WRONG.VOC", Bytes(4)}});
    game.Archive(game.folder(true) / "SoUnDs.GoB", {{"DOOR.VOC", Bytes(4)}});
    std::ofstream(cd / "dark.gob", std::ios::binary) << std::string("GOB\n\0\0\0\x40", 8);
    ResourceCache& cache = game.m_Cache;
    EXPECT_EQ(NamesOf(cache.entries(ResourceList::Sounds)), Names{"DOOR.VOC"});
    EXPECT_EQ(std::tuple(cache.textureSize("wall"), cache.textureSize("stone"), cache.textureSize("lava")),
              std::tuple(300, 16, -1));
    const GobDirectoryEntry* wall = cache.find(ResourceList::Textures, "Wall.Bm");
    ASSERT_NE(wall, nullptr);
    Bytes data;
    ASSERT_TRUE(Succeeded(cache.readMember(ResourceList::Textures, *wall, data)));
    EXPECT_EQ(data, Bytes(50, 2));
    EXPECT_FALSE(cache.loadDirectory(ResourceList::Objects));
    EXPECT_NE(cache.loadDirectory(ResourceList::Sprites).message().find("sprites.gob"), std::string::npos);

    fs::remove(cd / "Textures.gob");
    game.Archive(cd / "TEXTURES.GOB", {{"NEW.BM", Bm(Picture(4, 4, 0))}});
    game.Archive(cd / "sprites.gob", {{"LATE.FME", Bytes(4)}});
    EXPECT_NE(cache.find(ResourceList::Textures, "OLD.BM"), nullptr);
    EXPECT_EQ(cache.textureSize("old"), -1); // still listed, but the file it was listed from is gone
    EXPECT_FALSE(cache.readMember(ResourceList::Textures, *wall, data));
    EXPECT_EQ(data, Bytes(50, 2)); // left as it was
    EXPECT_EQ(cache.find(ResourceList::Sprites, "LATE.FME"), nullptr);
    EXPECT_TRUE(cache.entries(ResourceList::Objects).empty());
    EXPECT_EQ(cache.directoryReads(), 3);
    cache.SetFolders(other, game.folder(true));
    EXPECT_NE(cache.find(ResourceList::Textures, "SECOND.BM"), nullptr);
    EXPECT_NE(cache.find(ResourceList::Sounds, "DOOR.VOC"), nullptr);
    EXPECT_EQ(cache.directoryReads(), 4);
}

// The level's member comes before the archive's of the same name; names ignore case; a texture is
// not looked for among the sprites, nor a level's palette among its textures. Pictures are made
// with the level's palette until another is forced; sounds come from the installed folder. A
// sprite keeps where it stands and whether it is mirrored; a member that does not decode is found
// but shows nothing, with a message naming it.
TEST(ResourcePreview, FindsMembersInTheLevelFirstAndDecodesThem) {
    Game game;
    game.Archive(game.folder(false) / "TEXTURES.GOB",
                 {{"WALL.BM", Bm(Picture(16, 2, 1))}, {"FLOOR.BM", Bm(Picture(6, 3, 2), kBmRunLength)}});
    game.Archive(game.folder(false) / "sprites.gob",
                 {{"BARREL.FME", EncodeFme(Picture(3, 5, 30), -1, 4, true, false)}});
    VocSound sound;
    sound.m_Samples = {128, 140, 120, 128};
    Bytes voc;
    ASSERT_TRUE(Succeeded(WriteVoc(sound, voc)));
    game.Archive(game.folder(true) / "sounds.gob", {{"DOOR.VOC", voc}});
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("WALL.BM", Bm(Picture(8, 4, 9)))));
    ResourcePreview preview(&game.m_Level, game.m_Cache);
    const auto shown = [&preview](int palette) {
        EXPECT_EQ(preview.frames().size(), 1u);
        EXPECT_EQ(preview.frames()[0].m_Image.displayColours()[7], Palette(palette).DisplayColour(7));
        return ColumnsOf(preview.frames()[0].m_Image);
    };

    ASSERT_TRUE(preview.load(".bm", "wall.bm", true));
    EXPECT_EQ(shown(5), ColumnsOf(Picture(8, 4, 9)));
    ASSERT_TRUE(preview.load(".fme", "barrel.fme", true));
    EXPECT_EQ(shown(5), ColumnsOf(Picture(3, 5, 30)));
    const std::optional<SpritePlacement>& placed = preview.frames()[0].m_Placement;
    EXPECT_EQ(std::tuple(placed->m_nX, placed->m_nY, placed->m_bFlip), std::tuple(-1, 4, true));
    preview.forcePalette(Palette(40), false);
    ASSERT_TRUE(preview.load(".BM", "Floor.bm", true));
    EXPECT_EQ(shown(40), ColumnsOf(Picture(6, 3, 2)));
    ASSERT_TRUE(preview.load(".voc", "DOOR.VOC", false));
    EXPECT_EQ(preview.sound().m_Samples, sound.m_Samples);
    EXPECT_TRUE(preview.frames().empty());
    EXPECT_EQ(preview.archivePath(), game.folder(true) / "sounds.gob");
    EXPECT_FALSE(preview.load(".fme", "FLOOR.BM", true));
    EXPECT_FALSE(preview.load(".bm", "SECBASE.PAL", true));
    ASSERT_TRUE(Succeeded(game.m_Level.AddMember("BAD.WAX", Bytes(200, 0xFF))));
    EXPECT_TRUE(preview.load(".WAX", "BAD.WAX", true));
    EXPECT_NE(preview.lastMessage().message().find("BAD.WAX"), std::string::npos);
    EXPECT_TRUE(preview.frames().empty());
}

} // namespace
} // namespace morvi
