#include "gamefiles/TestArchive.h"

#include "app/GamePaths.h"
#include "gamefiles/AtomicFile.h"
#include "gamefiles/LevelMerge.h"
#include "model/StringUtil.h"

#include <fstream>

namespace morvi {

namespace fs = std::filesystem;

namespace {

// Splits a command line into words the way a shell would for plain quoting, without expanding
// anything else.
Status SplitCommand(std::string_view command, std::vector<std::string>& words) {
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'' || c == '"') {
            const std::size_t start = i;
            for (++i; i < command.size() && command[i] != c; ++i) {
                if (c == '"' && command[i] == '\\' && i + 1 < command.size() &&
                    (command[i + 1] == '"' || command[i + 1] == '\\'))
                    ++i;
                word += command[i];
            }
            if (i >= command.size())
                return Status::Fail("The game command has an unclosed quote at character " +
                                    std::to_string(start + 1) + ".");
            continue;
        }
        word += c;
    }
    if (inWord) words.push_back(std::move(word));
    return Status::Ok();
}

std::string Substitute(std::string_view word, const std::string& archive, const std::string& folder) {
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 >= word.size()) {
            out += word[i];
            continue;
        }
        switch (word[i + 1]) {
        case 'f':
            out += archive;
            break;
        case 'd':
            out += folder;
            break;
        case '%':
            out += '%';
            break;
        default:
            out += word[i];
            continue;
        }
        ++i;
    }
    return out;
}

// The file of that name in folder, under the case it already has there.
fs::path InFolder(const fs::path& folder, std::string_view name) {
    const fs::path found = FindEntryIgnoringCase(folder, name);
    return found.empty() ? folder / name : found;
}

Status CopyFileAtomically(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return Status::Fail(from.string() + " cannot be opened.");
    return WriteFileAtomically(to, [&](ByteSink& sink) {
        std::vector<std::uint8_t> chunk(64 * 1024);
        while (in) {
            in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
            sink.Write(std::span<const std::uint8_t>(chunk.data(), static_cast<std::size_t>(in.gcount())));
        }
        return in.bad() ? Status::Fail(from.string() + " cannot be read.") : Status::Ok();
    });
}

// The briefing beside the document: its path with the extension .lfd, in any case.
fs::path BriefingOf(const std::string& documentPath) {
    const fs::path document(documentPath);
    if (documentPath.empty() || !document.has_extension()) return {};
    const fs::path wanted = fs::path(document).replace_extension(".lfd");
    const fs::path found = FindEntryIgnoringCase(
        document.parent_path().empty() ? "." : document.parent_path(), wanted.filename().string());
    std::error_code error;
    return !found.empty() && fs::is_regular_file(found, error) ? found : fs::path();
}

std::string CopyBriefing(const fs::path& briefing, const fs::path& folder) {
    const fs::path target = InFolder(folder, kTestBriefingName);
    std::error_code error;
    const fs::path backup = InFolder(folder, kBriefingBackupName);
    if (fs::exists(target, error) && !fs::exists(backup, error)) {
        if (Status kept = CopyFileAtomically(target, backup); !kept)
            return "the game's briefings could not be kept as " + backup.filename().string() + ": " +
                   kept.message();
    }
    if (Status copied = CopyFileAtomically(briefing, target); !copied) return copied.message();
    return {};
}

} // namespace

Status ExpandGameCommand(std::string_view command, const fs::path& archive, const fs::path& folder,
                         GameLaunch& out) {
    if (Trim(command).empty()) command = kDefaultGameCommand;
    std::vector<std::string> words;
    if (Status split = SplitCommand(command, words); !split) return split;
    if (words.empty()) return Status::Fail("The game command names no program.");
    const std::string archivePath = archive.string();
    const std::string folderPath = folder.string();
    GameLaunch launch;
    launch.m_strProgram = Substitute(words.front(), archivePath, folderPath);
    for (std::size_t i = 1; i < words.size(); ++i)
        launch.m_Arguments.push_back(Substitute(words[i], archivePath, folderPath));
    launch.m_strFolder = folderPath;
    out = std::move(launch);
    return Status::Ok();
}

Status CheckInstallFolder(const std::string& installFolder, fs::path& folder) {
    if (Trim(installFolder).empty())
        return Status::Fail("The path to the installed Dark Forces is not set. Set it on the Setup page of "
                            "Tools, Options.");
    folder = WithoutTrailingSeparator(installFolder);
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return Status::Fail("The installed Dark Forces folder " + folder.string() +
                            " does not exist. Set it on the Setup page of Tools, Options.");
    return Status::Ok();
}

Status PrepareTestRun(const CDataLevel& level, const std::string& documentPath,
                      const std::string& installFolder, TestRunFiles& out) {
    fs::path folder;
    if (Status checked = CheckInstallFolder(installFolder, folder); !checked) return checked;
    TestRunFiles files;
    files.m_Archive = InFolder(folder, kTestArchiveName);
    GobArchive archive = ReleaseArchiveOf(level, kReleaseGeneratorTitle);
    if (Status written = WriteGobFile(archive, files.m_Archive); !written)
        return Status::Fail(files.m_Archive.string() + " cannot be written: " + written.message());
    if (const fs::path briefing = BriefingOf(documentPath); !briefing.empty()) {
        files.m_strBriefingProblem = CopyBriefing(briefing, folder);
        if (files.m_strBriefingProblem.empty()) files.m_Briefing = briefing;
    }
    out = std::move(files);
    return Status::Ok();
}

} // namespace morvi
