#include "resources/LevelPalette.h"

#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "resources/ResourceCache.h"

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
using Strings = std::vector<std::string>;
using testing::Succeeded;

Bytes PaletteBytes(std::uint8_t seed) {
    Bytes bytes(kPaletteSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i + seed) % 64);
    return bytes;
}

Bytes BytesOf(const GamePalette& palette) {
    return Bytes(palette.m_Bytes.begin(), palette.m_Bytes.end());
}

CDataLevel LevelNamed(const std::string& name) {
    CDataLevel level;
    level.m_LevelNames = {"OTHER", name};
    level.m_nCurrentLevel = 1;
    return level;
}

// A CD folder whose dark.gob holds the given members.
struct DarkGob {
    explicit DarkGob(const std::vector<std::pair<std::string, Bytes>>& members) {
        GobArchive gob;
        for (const auto& [name, data] : members)
            EXPECT_TRUE(Succeeded(gob.AddMember(name, data)));
        EXPECT_TRUE(Succeeded(WriteGobFile(gob, m_Folder.path() / "DARK.GOB")));
    }
    testing::TempDir m_Folder;
};

TEST(LevelPalette, TheLevelsOwnPaletteComesFirstWhateverTheCase) {
    DarkGob dark({{"SECBASE.PAL", PaletteBytes(1)}});
    ResourceCache cache(dark.m_Folder.path(), {});
    CDataLevel level = LevelNamed("SECBASE");
    ASSERT_TRUE(Succeeded(level.AddMember("X.BM", Bytes(4))));
    ASSERT_TRUE(Succeeded(level.AddMember("SECBASE.PAL", PaletteBytes(2))));
    level.m_pMembers.back()->m_strName = "secbase.pal";

    const std::optional<GamePalette> palette = currentLevelPalette(&level, cache);
    ASSERT_TRUE(palette);
    EXPECT_EQ(BytesOf(*palette), PaletteBytes(2));
    EXPECT_EQ(level.m_pMembers.size(), 2u);
    EXPECT_EQ(cache.directoryReads(), 0);
}

TEST(LevelPalette, APaletteFromDarkGobJoinsTheLevelAndIsFoundThereNextTime) {
    CDataLevel level = LevelNamed("TALAY");
    {
        DarkGob dark({{"SECBASE.PAL", PaletteBytes(1)},
                      {"talay.pal", PaletteBytes(3)},
                      {"TALAY.PAL", PaletteBytes(4)}});
        ResourceCache cache(dark.m_Folder.path(), {});
        Status message;
        const std::optional<GamePalette> palette = currentLevelPalette(&level, cache, &message);
        ASSERT_TRUE(palette) << message.message();
        EXPECT_EQ(BytesOf(*palette), PaletteBytes(3));
    }
    ASSERT_EQ(level.m_pMembers.size(), 1u);
    EXPECT_EQ(level.m_pMembers[0]->m_strName, "TALAY.PAL");
    EXPECT_EQ(Bytes(level.m_pMembers[0]->data().begin(), level.m_pMembers[0]->data().end()), PaletteBytes(3));

    // The archive is gone now; the level still answers.
    ResourceCache noGame;
    const std::optional<GamePalette> again = currentLevelPalette(&level, noGame);
    ASSERT_TRUE(again);
    EXPECT_EQ(BytesOf(*again), PaletteBytes(3));
    EXPECT_EQ(level.m_pMembers.size(), 1u);
}

// Without a level nothing is looked for; a missing palette is named in the message; only whole
// palettes are returned, and nothing joins the level.
TEST(LevelPalette, NothingWithoutALevelOrAWholePaletteOfThatName) {
    DarkGob dark({{"SHORT.PAL", Bytes(767)}, {"LONG.PAL", Bytes(769)}});
    ResourceCache cache(dark.m_Folder.path(), {});
    Status message;
    EXPECT_FALSE(currentLevelPalette(nullptr, cache, &message));
    EXPECT_FALSE(message);
    CDataLevel noLevels;
    EXPECT_FALSE(currentLevelPalette(&noLevels, cache));

    CDataLevel level = LevelNamed("ARC");
    EXPECT_FALSE(currentLevelPalette(&level, cache, &message));
    EXPECT_NE(message.message().find("ARC.PAL"), std::string::npos) << message.message();
    ASSERT_TRUE(Succeeded(level.AddMember("OWN.PAL", Bytes(100))));
    for (const char* name : {"SHORT.PAL", "long.pal", "OWN.PAL"}) {
        EXPECT_FALSE(paletteByName(&level, cache, name, &message)) << name;
        EXPECT_NE(message.message().find("768"), std::string::npos) << message.message();
    }
    EXPECT_EQ(level.m_pMembers.size(), 1u);
}

TEST(LevelPalette, ListNamesEveryPaletteOfTheLevelThenDarkPal) {
    EXPECT_EQ(paletteListNames(nullptr), Strings{"dark.pal"});
    CDataLevel level;
    EXPECT_EQ(paletteListNames(&level), Strings{"dark.pal"});
    for (const char* name : {"SECBASE.PAL", "WALL.BM", "ARC.CMP", "talay.pal", "DARK.PAL"})
        ASSERT_TRUE(Succeeded(level.AddMember(name, Bytes(4))));
    EXPECT_EQ(paletteListNames(&level), (Strings{"SECBASE.PAL", "TALAY.PAL", "DARK.PAL", "dark.pal"}));
}

} // namespace
} // namespace morvi
