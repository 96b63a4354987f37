#include "app/GamePaths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

namespace morvi {
namespace {

TEST(GamePaths, TrailingSeparatorIsRemovedOnce) {
    for (const auto& [path, without] :
         {std::pair("C:\\games\\dark\\", "C:\\games\\dark"), std::pair("/games/dark/", "/games/dark"),
          std::pair("/games/dark//", "/games/dark/"), std::pair("/games/dark", "/games/dark"),
          std::pair("/", ""), std::pair("", "")})
        EXPECT_EQ(WithoutTrailingSeparator(path), without) << path;
}

// The CD-ROM folder must hold textures.gob, directly or in its dark folder, the installed folder
// sounds.gob, whatever the case of their names; the CD is checked first.
TEST(GamePaths, CheckFindsTheArchivesOrNamesTheFaultyPath) {
    testing::TempDir dir;
    const std::string root = dir.path().string();
    for (const char* file : {"flat/textures.gob", "cd/dark/TEXTURES.GOB", "upper/DARK/textures.gob",
                             "install/SOUNDS.GOB", "noarchive/sprites.gob"}) {
        std::filesystem::create_directories((dir.path() / file).parent_path());
        std::ofstream(dir.path() / file) << "GOB\n";
    }
    // A dark folder without the archive, and a folder named like the archive.
    std::filesystem::create_directories(dir.path() / "noarchive" / "dark");
    std::filesystem::create_directories(dir.path() / "folder" / "textures.gob");

    const std::string install = root + "/install";
    const std::tuple<std::string, std::string, std::string_view, GamePathPair> cases[] = {
        {root + "/flat/", install + "\\", "", {root + "/flat", install}},
        {root + "/cd/", install, "", {root + "/cd/dark", install}},
        // The folder's name is kept as it is on disk.
        {root + "/upper", install, "", {root + "/upper/DARK", install}},
        {root + "/noarchive", install, kIllegalCdPath, {}},
        {root + "/folder", install, kIllegalCdPath, {}},
        {root + "/flat", root + "/flat", kIllegalInstallPath, {}},
        {root + "/flat", "", kIllegalInstallPath, {}},
        {root + "/missing", "", kIllegalCdPath, {}},
    };
    for (const auto& [cd, installed, message, paths] : cases) {
        SCOPED_TRACE(cd + " " + installed);
        const GamePathCheck check = CheckGamePaths(cd, installed);
        EXPECT_EQ(check.m_Status.message(), message);
        EXPECT_EQ(check.m_Paths, paths);
    }
}

} // namespace
} // namespace morvi
