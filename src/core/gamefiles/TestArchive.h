#pragma once

#include "model/CDataLevel.h"
#include "model/Status.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// Test GOB puts the level into the installed game's folder under this name, with the level's
// briefing beside it, and starts the game on it.
inline constexpr std::string_view kTestArchiveName = "testlevl.gob";
inline constexpr std::string_view kTestBriefingName = "dfbrief.lfd";
// The game's own briefings are kept under this name before a level's briefing first replaces them.
inline constexpr std::string_view kBriefingBackupName = "dfbrief.lfd.bak";

// How the game is started when the settings name no command: DOSBox with the game's folder as
// drive C, running the game on the test archive and closing when the game ends.
inline constexpr std::string_view kDefaultGameCommand =
    "dosbox -c 'mount c \"%d\"' -c c: -c 'dark.exe -utestlevl.gob' -c exit";

// A program to start, its arguments and its working folder.
struct GameLaunch {
    std::string m_strProgram;
    std::vector<std::string> m_Arguments;
    std::string m_strFolder;
};

// Makes the launch of a game command: blanks separate the words, '...' quotes literally and "..."
// quotes with \" and \\ escapes; then %f in any word becomes the test archive's path, %d the game's
// folder and %% a single %. The first word is the program. An empty command is the default one.
// Fails on an unclosed quote or a command with no program.
Status ExpandGameCommand(std::string_view command, const std::filesystem::path& archive,
                         const std::filesystem::path& folder, GameLaunch& out);

// The installed game's folder as the settings give it, checked: set, and an existing folder.
Status CheckInstallFolder(const std::string& installFolder, std::filesystem::path& folder);

// What a test run put into the game's folder.
struct TestRunFiles {
    std::filesystem::path m_Archive;
    // The briefing that was copied; empty when the document has none.
    std::filesystem::path m_Briefing;
    // Why a briefing that exists could not be copied; the run goes on without it.
    std::string m_strBriefingProblem;
};

// Prepares a test run in installFolder: checks that the folder exists, writes the level's archive
// as a save would (texts with the generator title "1.00"), replacing any test archive there only
// once the new one is complete, and copies the briefing (the document's path with the extension
// .lfd, if that file exists) over the game's dfbrief.lfd, whose first version is kept as
// dfbrief.lfd.bak. Files already in the folder under another case keep their names. The level is
// not changed. Fails, before anything is written, when the folder is not there, and when the
// archive cannot be written.
Status PrepareTestRun(const CDataLevel& level, const std::string& documentPath,
                      const std::string& installFolder, TestRunFiles& out);

} // namespace morvi
