#pragma once

#include "gamefiles/AtomicFile.h"
#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "model/Status.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// Picks the level to edit when an archive holds several: gets the level names in archive order
// and the current index, returns the chosen index, or nothing to give up the load.
using LevelChooser =
    std::function<std::optional<int>(const std::vector<std::string>& levelNames, int current)>;

// The base names (text before the first ".") of the members whose name contains ".LEV", in order.
std::vector<std::string> LevelNamesOf(const GobMembers& members);

// Makes level the level that archive holds: its members move into the level, the chooser is asked
// when there are several levels (without a chooser the first one is taken), then the current
// level is parsed. name is the file named in messages. level is replaced only on success; the
// program never loads into a level that holds data, so nothing of it is kept.
Status LoadLevelFromArchive(CDataLevel& level, GobArchive&& archive, std::string_view name,
                            const LevelChooser& chooser, std::string_view generatorTitle = kGeneratorTitle);
// The parse half of a load, for a level whose members, level names and current level are set and
// whose parts are fresh: reads the current level's LEV, O and INF members and fills the kind lists.
void ParseCurrentLevel(CDataLevel& level);

// Read the archive, then load it as above.
Status LoadLevelBytes(CDataLevel& level, std::span<const std::uint8_t> bytes, std::string_view name,
                      const LevelChooser& chooser, std::string_view generatorTitle = kGeneratorTitle);
Status LoadLevelFile(CDataLevel& level, const std::filesystem::path& path, const LevelChooser& chooser,
                     std::string_view generatorTitle = kGeneratorTitle);

// The text half of a save: copies the LEV author into the O part, drops the .BAK members and
// regenerates the current level's LEV, O and INF members from the parts. Only members that exist
// are regenerated; a level whose archive has none saves its model nowhere.
void RegenerateLevelMembers(CDataLevel& level, std::string_view generatorTitle = kGeneratorTitle);
// Regenerates, then writes the whole archive. Offsets, sizes and the index offset describe what
// was written.
Status WriteLevelArchive(CDataLevel& level, ByteSink& sink,
                         std::string_view generatorTitle = kGeneratorTitle);
Status WriteLevelBytes(CDataLevel& level, std::vector<std::uint8_t>& out,
                       std::string_view generatorTitle = kGeneratorTitle);
// Replaces the file only when the whole archive is written.
Status SaveLevelFile(CDataLevel& level, const std::filesystem::path& path,
                     std::string_view generatorTitle = kGeneratorTitle);

} // namespace morvi
