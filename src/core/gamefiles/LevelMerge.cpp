#include "gamefiles/LevelMerge.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <map>
#include <optional>

namespace morvi {

namespace {

enum class LevelTextKind { Lev, Objects, Inf };

// A level's LEV, O or INF text as a save writes it; the O text carries the LEV text's author.
std::string RegeneratedText(const CDataLevel& level, LevelTextKind kind, std::string_view title) {
    std::string text;
    switch (kind) {
    case LevelTextKind::Lev:
        WriteLev(level.m_Lev, title, text);
        break;
    case LevelTextKind::Objects:
        WriteObjects(level.m_Objects, level.m_Lev.m_strAuthor, title, text);
        break;
    case LevelTextKind::Inf:
        WriteInf(level.m_Inf, title, text);
        break;
    }
    return text;
}

// Each text made at most once, however many members take it.
class RegeneratedTexts {
public:
    RegeneratedTexts(const CDataLevel& level, std::string_view title) : m_Level(level), m_strTitle(title) {}

    const std::string& Get(LevelTextKind kind) {
        std::optional<std::string>& text = m_Texts[static_cast<int>(kind)];
        if (!text) text = RegeneratedText(m_Level, kind, m_strTitle);
        return *text;
    }

private:
    const CDataLevel& m_Level;
    std::string m_strTitle;
    std::optional<std::string> m_Texts[3];
};

bool IsBackup(const CDataGobEntry& member) {
    return ContainsNoCase(member.m_strName, ".BAK");
}

std::unique_ptr<CDataGobEntry> SharedCopy(const CDataGobEntry& member, std::string name) {
    auto copy = std::make_unique<CDataGobEntry>(member);
    copy->m_strName = std::move(name);
    return copy;
}

std::unique_ptr<CDataGobEntry> TextMember(std::string name, const std::string& text) {
    return std::make_unique<CDataGobEntry>(
        std::move(name), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The level files a JEDI.LVL text lists: the second field of its "Title, FILE, path" lines.
std::vector<std::string> LevelListNames(std::string_view text) {
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t comma = line.find(',');
        if (line.empty() || line.front() == '#' || comma == std::string_view::npos) continue;
        const std::string_view rest = line.substr(comma + 1);
        names.push_back(ToUpper(Trim(rest.substr(0, rest.find(',')))));
    }
    return names;
}

std::string LevelCountText(std::size_t count) {
    return count == 0 ? "no level" : std::to_string(count) + " levels";
}

// The extension a member's name gives it in the merged archive: the level's texts and the files
// kept under the level's name; nothing for a member that keeps its own name.
struct Renaming {
    const char* m_szPart;
    std::optional<LevelTextKind> m_Text;
};
constexpr Renaming kRenamings[] = {{".LEV", LevelTextKind::Lev}, {".O", LevelTextKind::Objects},
                                   {".INF", LevelTextKind::Inf}, {".GOL", std::nullopt},
                                   {".CMP", std::nullopt},       {".PAL", std::nullopt}};

const Renaming* RenamingOf(std::string_view upperName) {
    for (const Renaming& r : kRenamings)
        if (upperName.find(r.m_szPart) != std::string_view::npos) return &r;
    return nullptr;
}

} // namespace

Status MergeLevels(std::span<const MergeInput> inputs, LevelMerge& out) {
    LevelMerge merge;
    // Where each name of the merged archive came from, for the refusal that names both.
    std::map<std::string, std::string> sourceOf;
    std::vector<std::string> levelFiles;
    const CDataLevel* first = nullptr;
    for (const MergeInput& input : inputs) {
        const CDataLevel& level = *input.m_pLevel;
        if (level.m_LevelNames.size() != 1) {
            merge.m_LeftOut.push_back(input.m_strFile + " holds " +
                                      LevelCountText(level.m_LevelNames.size()));
            continue;
        }
        std::string name = ToUpper(Trim(level.m_Lev.m_strLevelName));
        if (name.empty()) name = level.m_LevelNames.front();
        for (std::size_t i = 0; i < merge.m_Levels.size(); ++i)
            if (merge.m_Levels[i] == name)
                return Status::Fail(levelFiles[i] + " and " + input.m_strFile + " both hold the level " +
                                    name +
                                    ". One archive cannot hold two levels of one name: give one of them "
                                    "another level name first.");
        if (name.size() + 4 > kGobNameMax)
            return Status::Fail(input.m_strFile + ": the level name " + name +
                                " is too long for the names of its files (8 characters at most).");
        const bool isFirst = first == nullptr;
        if (isFirst) {
            first = &level;
            merge.m_Archive.m_Magic = level.m_Magic;
        }
        RegeneratedTexts texts(level, kReleaseGeneratorTitle);
        for (const auto& member : level.m_pMembers) {
            if (IsBackup(*member)) continue;
            const std::string upper = ToUpper(member->m_strName);
            const Renaming* renaming = RenamingOf(upper);
            if (!renaming && !isFirst) continue;
            std::string outName = renaming ? name + renaming->m_szPart : upper;
            const std::string source = input.m_strFile + " (" + member->m_strName + ")";
            if (const auto it = sourceOf.find(outName); it != sourceOf.end())
                return Status::Fail(it->second + " and " + source + " would both be written as " + outName +
                                    ". Remove or rename one of them first.");
            sourceOf.emplace(outName, source);
            if (renaming && renaming->m_Text)
                merge.m_Archive.m_pMembers.push_back(
                    TextMember(std::move(outName), texts.Get(*renaming->m_Text)));
            else
                merge.m_Archive.m_pMembers.push_back(SharedCopy(*member, std::move(outName)));
        }
        merge.m_Levels.push_back(name);
        levelFiles.push_back(input.m_strFile);
    }
    if (!first) return Status::Fail("No open document holds exactly one level: there is nothing to merge.");
    if (const CDataGobEntry* list = first->FindMember("JEDI.LVL")) {
        const std::vector<std::string> listed = LevelListNames(list->text());
        for (const std::string& name : merge.m_Levels)
            if (std::find(listed.begin(), listed.end(), name) == listed.end())
                merge.m_Notes.push_back("JEDI.LVL of " + levelFiles.front() + " does not list the level " +
                                        name + ": the game's mission list will not offer it.");
    }
    out = std::move(merge);
    return Status::Ok();
}

GobArchive ReleaseArchiveOf(const CDataLevel& level, std::string_view generatorTitle) {
    GobArchive archive;
    archive.m_Magic = level.m_Magic;
    const std::string current = level.CurrentLevelName();
    RegeneratedTexts texts(level, generatorTitle);
    for (const auto& member : level.m_pMembers) {
        if (IsBackup(*member)) continue;
        std::optional<LevelTextKind> kind;
        if (!current.empty()) {
            if (EqualsNoCase(member->m_strName, current + ".LEV")) kind = LevelTextKind::Lev;
            if (EqualsNoCase(member->m_strName, current + ".O")) kind = LevelTextKind::Objects;
            if (EqualsNoCase(member->m_strName, current + ".INF")) kind = LevelTextKind::Inf;
        }
        archive.m_pMembers.push_back(kind ? TextMember(member->m_strName, texts.Get(*kind))
                                          : SharedCopy(*member, member->m_strName));
    }
    return archive;
}

} // namespace morvi
