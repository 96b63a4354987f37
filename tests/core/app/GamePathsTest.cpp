#include "app/GamePaths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace morvi {
namespace {

using testing::TempDir;

void Touch(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "GOB\n";
}

TEST(GamePaths, TrailingSeparatorIsRemovedOnce) {
    EXPECT_EQ(WithoutTrailingSeparator("C:\\games\\dark\\"), "C:\\games\\dark");
    EXPECT_EQ(WithoutTrailingSeparator("/games/dark/"), "/games/dark");
    EXPECT_EQ(WithoutTrailingSeparator("/games/dark//"), "/games/dark/");
    EXPECT_EQ(WithoutTrailingSeparator("/games/dark"), "/games/dark");
    EXPECT_EQ(WithoutTrailingSeparator("/"), "");
    EXPECT_EQ(WithoutTrailingSeparator(""), "");
}

TEST(GamePaths, FilesAreFoundWhateverTheirCase) {
    TempDir dir;
    Touch(dir.path() / "TEXTURES.GOB");
    Touch(dir.path() / "Sounds.Gob");
    EXPECT_EQ(FindEntryIgnoringCase(dir.path(), "textures.gob"), dir.path() / "TEXTURES.GOB");
    EXPECT_EQ(FindEntryIgnoringCase(dir.path(), "SOUNDS.GOB"), dir.path() / "Sounds.Gob");
    EXPECT_TRUE(FindEntryIgnoringCase(dir.path(), "sprites.gob").empty());
    EXPECT_TRUE(FindEntryIgnoringCase(dir.path() / "missing", "textures.gob").empty());
}

TEST(GamePaths, AcceptedPathsLoseTheirTrailingSeparator) {
    TempDir cd, install;
    Touch(cd.path() / "textures.gob");
    Touch(install.path() / "SOUNDS.GOB");
    const GamePathCheck check = CheckGamePaths(cd.path().string() + "/", install.path().string() + "\\");
    ASSERT_TRUE(check.m_Status.ok()) << check.m_Status.message();
    EXPECT_EQ(check.m_Paths, (GamePathPair{cd.path().string(), install.path().string()}));
}

TEST(GamePaths, ArchivesInTheDarkFolderOfTheCdAreFound) {
    TempDir cd, install;
    Touch(cd.path() / "dark" / "TEXTURES.GOB");
    Touch(install.path() / "sounds.gob");
    const GamePathCheck check = CheckGamePaths(cd.path().string() + "/", install.path().string());
    ASSERT_TRUE(check.m_Status.ok()) << check.m_Status.message();
    EXPECT_EQ(check.m_Paths.m_strDFPath, cd.path().string() + "/dark");
    EXPECT_EQ(check.m_Paths.m_strInstall, install.path().string());

    // The folder's name is kept as it is on disk.
    TempDir upper;
    Touch(upper.path() / "DARK" / "textures.gob");
    EXPECT_EQ(CheckGamePaths(upper.path().string(), install.path().string()).m_Paths.m_strDFPath,
              upper.path().string() + "/DARK");
}

TEST(GamePaths, IllegalPathsNameTheFaultyOneFirstTheCd) {
    TempDir cd, install;
    Touch(install.path() / "sounds.gob");
    // A dark folder without the archive does not make the CD path legal.
    std::filesystem::create_directories(cd.path() / "dark");
    Touch(cd.path() / "sprites.gob");
    GamePathCheck check = CheckGamePaths(cd.path().string(), install.path().string());
    EXPECT_FALSE(check.m_Status.ok());
    EXPECT_EQ(check.m_Status.message(), "The path to the Dark Forces CD-ROM is illegal.");
    EXPECT_EQ(check.m_Paths, GamePathPair{});

    // A folder named like the archive is no archive.
    std::filesystem::create_directories(cd.path() / "textures.gob");
    EXPECT_FALSE(CheckGamePaths(cd.path().string(), install.path().string()).m_Status.ok());

    TempDir goodCd;
    Touch(goodCd.path() / "textures.gob");
    check = CheckGamePaths(goodCd.path().string(), goodCd.path().string());
    EXPECT_EQ(check.m_Status.message(), "The path to the Dark Forces\nInstalled directory is illegal.");
    EXPECT_EQ(CheckGamePaths(goodCd.path().string(), "").m_Status.message(),
              std::string(kIllegalInstallPath));
    // The CD is checked first, whatever the installed folder holds.
    EXPECT_EQ(CheckGamePaths((cd.path() / "missing").string(), "").m_Status.message(),
              std::string(kIllegalCdPath));
}

TEST(GamePaths, DemoPathsPointBothAtTheDemoFolder) {
    Settings settings;
    settings.m_strGameCommand = "run";
    UseDemoPaths(settings, "/opt/morvi/share/morvi/demo/");
    EXPECT_EQ(settings.m_strDFPath, "/opt/morvi/share/morvi/demo");
    EXPECT_EQ(settings.m_strInstall, "/opt/morvi/share/morvi/demo");
    EXPECT_EQ(settings.m_strGameCommand, "run");
    EXPECT_TRUE(settings.GamePathsSet());
}

} // namespace
} // namespace morvi
