#pragma once

#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "model/Status.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// The generator title of the texts in archives made for the game to play (Save All, Test GOB).
inline constexpr std::string_view kReleaseGeneratorTitle = "1.00";

// One open level offered to Save All, with the file named in messages.
struct MergeInput {
    const CDataLevel* m_pLevel = nullptr;
    std::string m_strFile;
};

// What Save All makes of the open levels: the archive to write and what the user should know of it.
struct LevelMerge {
    GobArchive m_Archive;
    // The merged levels' names, in input order.
    std::vector<std::string> m_Levels;
    // "FILE holds 2 levels": inputs that are not single levels and stay out of the archive.
    std::vector<std::string> m_LeftOut;
    // Warnings about the result, which is written all the same (a level the mission list misses).
    std::vector<std::string> m_Notes;
};

// Merges the single-level inputs, in order, into one archive: every member whose name contains
// ".LEV", ".O" or ".INF" becomes the level's text regenerated under the level's name (the LEV
// text's level name, upper case), ".GOL", ".CMP" and ".PAL" members keep their data under the
// level's name, and every other member comes from the first merged level only. Backup members
// (".BAK") are never taken. The first merged level gives the archive its magic. Refuses, naming
// them, two levels of one name and any two members that would get one name; refuses when no input
// is a single level. The levels are not changed.
Status MergeLevels(std::span<const MergeInput> inputs, LevelMerge& out);

// The level's archive as a save writes it (current level's texts regenerated with the title,
// backup members dropped, names and magic kept), made without changing the level.
GobArchive ReleaseArchiveOf(const CDataLevel& level, std::string_view generatorTitle);

} // namespace morvi
