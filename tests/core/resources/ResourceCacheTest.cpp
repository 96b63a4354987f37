#include "resources/ResourceCache.h"

#include "gamefiles/GobArchive.h"
#include "resources/BmFile.h"

#include "support/RawBytes.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Members = std::vector<std::pair<std::string, Bytes>>;
using testing::Succeeded;

void WriteArchive(const fs::path& path, const Members& members) {
    GobArchive gob;
    for (const auto& [name, data] : members)
        ASSERT_TRUE(Succeeded(gob.AddMember(name, data)));
    ASSERT_TRUE(Succeeded(WriteGobFile(gob, path)));
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes PlainBm(int width, int height) {
    IndexedImage image;
    EXPECT_TRUE(image.Create(GamePalette(), kPaletteMultiplier, width, height, false));
    Bytes bytes;
    EXPECT_TRUE(Succeeded(EncodeBm(image, kBmPlain, bytes)));
    return bytes;
}

std::vector<std::string> Names(const GobDirectory& directory) {
    std::vector<std::string> names;
    for (const GobDirectoryEntry& entry : directory)
        names.push_back(entry.m_strName);
    return names;
}

// A GOB by hand: header, then the directory where the test puts it.
struct RawGob : testing::RawBytesOf<RawGob> {
    RawGob& entry(std::uint32_t offset, std::uint32_t size, std::string_view name) {
        return u32(offset).u32(size).field(name, 13);
    }
};

TEST(GobDirectory, NamesEndAtTheFirstNulOrAfterThirteenBytes) {
    const Bytes bytes = RawGob()
                            .text("GOB\n")
                            .u32(12)
                            .u32(0xDEADBEEF)
                            .u32(2)
                            .entry(8, 4, std::string("A.BM\0junk", 9))
                            .entry(8, 4, "THIRTEENCHARS")
                            .m_Bytes;
    SpanSource source(bytes);
    GobDirectory directory;
    ASSERT_TRUE(Succeeded(ReadGobDirectory(source, "T.GOB", directory)));
    EXPECT_EQ(Names(directory), (std::vector<std::string>{"A.BM", "THIRTEENCHARS"}));
}

TEST(GobDirectory, DamagedDirectoriesAreRefusedAndLeaveTheListAlone) {
    const std::vector<Bytes> damaged = {
        RawGob().text("GOB").m_Bytes,                                          // shorter than the header
        RawGob().text("GOB\n").u32(400).u32(0).m_Bytes,                        // directory past the end
        RawGob().text("GOB\n").u32(8).u32(0xFFFFFFFF).m_Bytes,                 // absurd member count
        RawGob().text("GOB\n").u32(8).u32(1).entry(8, 1000, "BIG.BM").m_Bytes, // member past the end
        RawGob().text("GOB\n").u32(8).u32(2).entry(0, 8, "A").m_Bytes,         // count beyond the entries
    };
    for (const Bytes& bytes : damaged) {
        SpanSource source(bytes);
        GobDirectory directory(1);
        directory[0].m_strName = "KEPT";
        const Status status = ReadGobDirectory(source, "BAD.GOB", directory);
        EXPECT_FALSE(status);
        EXPECT_EQ(status.message().rfind("BAD.GOB: ", 0), 0u) << status.message();
        EXPECT_EQ(Names(directory), std::vector<std::string>{"KEPT"});
    }
}

// The CD-ROM folder and the installed folder of a game, with archives in mixed case.
struct GameFolders {
    GameFolders() {
        fs::create_directories(cd());
        fs::create_directories(installed());
    }
    fs::path cd() const { return m_Root.path() / "cd"; }
    fs::path installed() const { return m_Root.path() / "install"; }
    testing::TempDir m_Root;
};

TEST(ResourceCache, FindsEachArchiveInItsFolderWhateverItsCase) {
    GameFolders game;
    WriteArchive(game.cd() / "TEXTURES.GOB", {{"WALL.BM", PlainBm(2, 2)}});
    WriteArchive(game.cd() / "sprites.gob", {{"GUARD.WAX", Bytes(4)}});
    WriteArchive(game.cd() / "Dark.Gob", {{"SECBASE.PAL", Bytes(768)}});
    // Sounds come from the installed folder only; a copy on the CD folder is not looked at.
    WriteArchive(game.cd() / "SOUNDS.GOB", {{"WRONG.VOC", Bytes(4)}});
    WriteArchive(game.installed() / "SoUnDs.GoB", {{"DOOR.VOC", Bytes(4)}});
    ResourceCache cache(game.cd(), game.installed());

    const std::vector<std::pair<ResourceList, fs::path>> archives{
        {ResourceList::Textures, game.cd() / "TEXTURES.GOB"},
        {ResourceList::Sprites, game.cd() / "sprites.gob"},
        {ResourceList::Objects, game.cd() / "Dark.Gob"},
        {ResourceList::Sounds, game.installed() / "SoUnDs.GoB"}};
    for (const auto& [list, path] : archives)
        EXPECT_EQ(cache.archivePath(list), path);
    EXPECT_EQ(Names(cache.entries(ResourceList::Sounds)), std::vector<std::string>{"DOOR.VOC"});
    EXPECT_EQ(cache.directoryReads(), 4);
}

// Members are read against the file as it is now: one cut short since it was listed is refused.
TEST(ResourceCache, FindIgnoresCaseAndTakesTheFirstOfTwoSameNames) {
    GameFolders game;
    WriteArchive(game.cd() / "textures.gob",
                 {{"STONE.BM", Bytes(40, 1)}, {"wall.bm", Bytes(50, 2)}, {"WALL.BM", Bytes(60, 3)}});
    ResourceCache cache(game.cd(), game.installed());
    const GobDirectoryEntry* wall = cache.find(ResourceList::Textures, "Wall.Bm");
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->m_nSize, 50u);
    EXPECT_EQ(wall->m_nOffset, 48u);
    EXPECT_EQ(cache.find(ResourceList::Textures, "WALL"), nullptr);
    EXPECT_EQ(cache.find(ResourceList::Sprites, "WALL.BM"), nullptr);

    Bytes data;
    ASSERT_TRUE(Succeeded(cache.readMember(ResourceList::Textures, *wall, data)));
    EXPECT_EQ(data, Bytes(50, 2));
    fs::resize_file(game.cd() / "textures.gob", 80);
    const Status cut = cache.readMember(ResourceList::Textures, *wall, data);
    EXPECT_NE(cut.message().find("WALL.BM"), std::string::npos) << cut.message();
    EXPECT_EQ(data, Bytes(50, 2)); // left as it was
}

TEST(ResourceCache, EachDirectoryIsReadOnceEvenAfterTheArchiveChanges) {
    GameFolders game;
    const fs::path archive = game.cd() / "textures.gob";
    WriteArchive(archive, {{"OLD.BM", PlainBm(8, 8)}});
    ResourceCache cache(game.cd(), game.installed());
    ASSERT_TRUE(Succeeded(cache.loadDirectory(ResourceList::Textures)));

    fs::remove(archive);
    WriteArchive(game.cd() / "TEXTURES.GOB", {{"NEW.BM", PlainBm(4, 4)}});
    EXPECT_NE(cache.find(ResourceList::Textures, "OLD.BM"), nullptr);
    EXPECT_EQ(cache.find(ResourceList::Textures, "NEW.BM"), nullptr);
    EXPECT_EQ(cache.textureSize("old"), -1); // still listed, but the file it was listed from is gone
    EXPECT_EQ(cache.directoryReads(), 1);
}

TEST(ResourceCache, AMissingArchiveIsTriedOnceAndNoFolderNever) {
    GameFolders game;
    ResourceCache cache(game.cd(), game.installed());
    const Status first = cache.loadDirectory(ResourceList::Sprites);
    EXPECT_FALSE(first);
    EXPECT_NE(first.message().find("sprites.gob"), std::string::npos) << first.message();
    EXPECT_TRUE(cache.archivePath(ResourceList::Sprites).empty());

    WriteArchive(game.cd() / "sprites.gob", {{"LATE.FME", Bytes(4)}});
    EXPECT_FALSE(cache.loadDirectory(ResourceList::Sprites));
    EXPECT_EQ(cache.find(ResourceList::Sprites, "LATE.FME"), nullptr);
    EXPECT_EQ(cache.directoryReads(), 0);

    Bytes data{9};
    EXPECT_FALSE(cache.readMember(ResourceList::Sprites, GobDirectoryEntry{8, 4, "LATE.FME"}, data));
    EXPECT_EQ(data, Bytes{9});

    // Without folders every list is empty and the disk is not touched.
    ResourceCache none;
    for (ResourceList list :
         {ResourceList::Textures, ResourceList::Sprites, ResourceList::Objects, ResourceList::Sounds}) {
        EXPECT_FALSE(none.loadDirectory(list));
        EXPECT_TRUE(none.entries(list).empty());
    }
    EXPECT_EQ(none.textureSize("wall"), -1);
    EXPECT_EQ(none.directoryReads(), 0);
}

TEST(ResourceCache, NewFoldersRereadOnlyTheListsOfTheFolderThatChanged) {
    GameFolders game;
    const fs::path otherCd = game.m_Root.path() / "cd2";
    fs::create_directories(otherCd);
    WriteArchive(game.cd() / "textures.gob", {{"FIRST.BM", PlainBm(2, 2)}});
    WriteArchive(otherCd / "textures.gob", {{"SECOND.BM", PlainBm(2, 2)}});
    WriteArchive(game.installed() / "sounds.gob", {{"DOOR.VOC", Bytes(4)}});
    ResourceCache cache(game.cd(), game.installed());
    ASSERT_NE(cache.find(ResourceList::Textures, "FIRST.BM"), nullptr);
    ASSERT_NE(cache.find(ResourceList::Sounds, "DOOR.VOC"), nullptr);

    cache.SetFolders(otherCd, game.installed());
    EXPECT_NE(cache.find(ResourceList::Textures, "SECOND.BM"), nullptr);
    EXPECT_NE(cache.find(ResourceList::Sounds, "DOOR.VOC"), nullptr);
    EXPECT_EQ(cache.directoryReads(), 3);
}

TEST(ResourceCache, DamagedArchiveGivesAnEmptyListAndAMessage) {
    GameFolders game;
    WriteBytes(game.cd() / "textures.gob", RawGob().text("GOB\n").u32(8).u32(0x7FFFFFFF).m_Bytes);
    WriteBytes(game.cd() / "dark.gob", RawGob().text("GOB\n").u32(1u << 30).m_Bytes);
    ResourceCache cache(game.cd(), game.installed());
    for (const ResourceList list : {ResourceList::Textures, ResourceList::Objects}) {
        EXPECT_FALSE(cache.loadDirectory(list));
        EXPECT_TRUE(cache.entries(list).empty());
    }
    EXPECT_EQ(cache.textureSize("a"), -1);
    EXPECT_EQ(cache.directoryReads(), 2);
}

TEST(ResourceCache, TextureSizeTakesTheFirstNameContainingTheGivenOne) {
    GameFolders game;
    WriteArchive(game.cd() / "textures.gob", {{"STONE.BM", PlainBm(16, 4)},
                                              {"BIGWALL.BM", PlainBm(300, 2)},
                                              {"WALL.BM", PlainBm(32, 2)},
                                              {"SHORT.BM", Bytes(31, 0)}});
    ResourceCache cache(game.cd(), game.installed());
    EXPECT_EQ(cache.textureSize("wall"), 300);
    EXPECT_EQ(cache.textureSize("WALL.BM"), 300);
    EXPECT_EQ(cache.textureSize("stone"), 16);
    EXPECT_EQ(cache.textureSize("short"), -1); // a member too short for a BM header
    EXPECT_EQ(cache.textureSize("lava"), -1);
    EXPECT_EQ(cache.directoryReads(), 1);
}

} // namespace
} // namespace morvi
