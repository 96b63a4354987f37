#pragma once

#include "app/Settings.h"
#include "model/Status.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace morvi {

// Shown when a map view first opens while either game path is still empty.
inline constexpr std::string_view kGamePathsMissingWarning =
    "You MUST setup the paths to your Dark Forces\nCD-ROM and to your Dark Forces installation\ndirectory "
    "before running Morvi properly.";
inline constexpr std::string_view kIllegalCdPath = "The path to the Dark Forces CD-ROM is illegal.";
inline constexpr std::string_view kIllegalInstallPath =
    "The path to the Dark Forces\nInstalled directory is illegal.";

// The two game folders as the settings keep them.
struct GamePathPair {
    std::string m_strDFPath;
    std::string m_strInstall;
    bool operator==(const GamePathPair&) const = default;
};

// The outcome of the Options sheet's path check: the paths to store, or the message explaining
// which one is wrong.
struct GamePathCheck {
    Status m_Status;
    GamePathPair m_Paths;
};

// The path without one trailing '\\' or '/'.
std::string WithoutTrailingSeparator(std::string_view path);

// The entry of folder whose name equals name ignoring case (the exact name is preferred); empty
// when there is none or the folder cannot be read.
std::filesystem::path FindEntryIgnoringCase(const std::filesystem::path& folder, std::string_view name);

// The paths typed on the Setup page, checked: the CD-ROM folder must hold textures.gob, directly or
// in its "dark" folder (which then becomes part of the path), and the installed folder sounds.gob.
GamePathCheck CheckGamePaths(std::string_view cdPath, std::string_view installPath);

// Points both game paths at the bundled demo archives (textures, sprites, dark and sounds).
void UseDemoPaths(Settings& settings, const std::string& demoDir);

} // namespace morvi
