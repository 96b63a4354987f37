#include "gamefiles/LevelArchive.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevFile.h"
#include "gamefiles/ObjectsFile.h"
#include "model/StringUtil.h"

namespace morvi {

namespace {

// The members that hold the current level's texts; null where the archive has none.
struct LevelMembers {
    CDataGobEntry* m_pLev = nullptr;
    CDataGobEntry* m_pObjects = nullptr;
    CDataGobEntry* m_pInf = nullptr;
};

LevelMembers FindLevelMembers(CDataLevel& level) {
    const std::string current = level.CurrentLevelName();
    if (current.empty()) return {};
    return {level.FindMember(current + ".LEV"), level.FindMember(current + ".O"),
            level.FindMember(current + ".INF")};
}

Status ChooseLevel(const std::vector<std::string>& names, std::string_view fileName,
                   const LevelChooser& chooser, int& current) {
    current = 0;
    if (names.size() < 2 || !chooser) return Status::Ok();
    const std::optional<int> chosen = chooser(names, current);
    if (!chosen)
        return Status::Fail(std::string(fileName) +
                            ": the archive holds several levels and none was chosen.");
    if (*chosen < 0 || static_cast<std::size_t>(*chosen) >= names.size())
        return Status::Fail(std::string(fileName) + ": the chosen level " + std::to_string(*chosen) +
                            " is not one of the archive's " + std::to_string(names.size()) + " levels.");
    current = *chosen;
    return Status::Ok();
}

template <class Writer> void Regenerate(CDataGobEntry* member, Writer write) {
    if (!member) return;
    std::string text;
    write(text);
    member->SetData(text);
}

} // namespace

std::vector<std::string> LevelNamesOf(const GobMembers& members) {
    std::vector<std::string> names;
    for (const auto& member : members) {
        const std::string_view name = member->m_strName;
        if (name.find(".LEV") != std::string_view::npos)
            names.push_back(ToUpper(name.substr(0, name.find('.'))));
    }
    return names;
}

// Runs a text reader over member and files its notes under the member's name.
template <class Part, class Reader>
void ParseMember(CDataLevel& level, const CDataGobEntry* member, Part& part, Reader read) {
    if (!member) return;
    const std::size_t first = level.m_ReadNotes.size();
    read(part, member->text(), &level.m_ReadNotes);
    for (std::size_t i = first; i < level.m_ReadNotes.size(); ++i)
        level.m_ReadNotes[i].m_strMember = member->m_strName;
}

void ParseCurrentLevel(CDataLevel& level) {
    const LevelMembers texts = FindLevelMembers(level);
    level.m_ReadNotes.clear();
    ParseMember(level, texts.m_pLev, level.m_Lev, ReadLev);
    ParseMember(level, texts.m_pObjects, level.m_Objects, ReadObjects);
    ParseMember(level, texts.m_pInf, level.m_Inf, ReadInf);
    // The O text's author is the LEV text's, as a save writes it.
    level.m_Objects.m_strAuthor = level.m_Lev.m_strAuthor;
    level.m_Bitmaps.clear();
    level.m_Sprites.clear();
    level.m_Models3D.clear();
    level.m_Sounds.clear();
    for (const auto& member : level.m_pMembers) {
        CDataGobEntry* m = member.get();
        if (m != texts.m_pLev && m != texts.m_pObjects && m != texts.m_pInf) level.AddToKindList(m);
    }
}

Status LoadLevelFromArchive(CDataLevel& level, GobArchive&& archive, std::string_view name,
                            const LevelChooser& chooser, std::string_view generatorTitle) {
    CDataLevel fresh;
    fresh.m_LevelNames = LevelNamesOf(archive.m_pMembers);
    if (Status chosen = ChooseLevel(fresh.m_LevelNames, name, chooser, fresh.m_nCurrentLevel); !chosen)
        return chosen;
    fresh.m_Magic = archive.m_Magic;
    fresh.m_nIndexOffset = archive.m_nIndexOffset;
    fresh.m_pMembers = std::move(archive.m_pMembers);
    fresh.m_strGeneratorTitle = std::string(generatorTitle);
    ParseCurrentLevel(fresh);
    // The kind lists point at the members' heap objects, which the move leaves where they are.
    level = std::move(fresh);
    return Status::Ok();
}

Status LoadLevelBytes(CDataLevel& level, std::span<const std::uint8_t> bytes, std::string_view name,
                      const LevelChooser& chooser, std::string_view generatorTitle) {
    GobArchive archive;
    if (Status read = ReadGob(bytes, name, archive); !read) return read;
    return LoadLevelFromArchive(level, std::move(archive), name, chooser, generatorTitle);
}

Status LoadLevelFile(CDataLevel& level, const std::filesystem::path& path, const LevelChooser& chooser,
                     std::string_view generatorTitle) {
    GobArchive archive;
    if (Status read = ReadGobFile(path, archive); !read) return read;
    return LoadLevelFromArchive(level, std::move(archive), path.string(), chooser, generatorTitle);
}

void RegenerateLevelMembers(CDataLevel& level, std::string_view generatorTitle) {
    level.m_strGeneratorTitle = std::string(generatorTitle);
    level.m_Objects.m_strAuthor = level.m_Lev.m_strAuthor;
    const auto isBackup = [](const auto& member) { return ContainsNoCase(member->m_strName, ".BAK"); };
    if (std::erase_if(level.m_pMembers, isBackup) > 0) level.RebuildKindLists();

    const LevelMembers texts = FindLevelMembers(level);
    Regenerate(texts.m_pLev, [&](std::string& text) { WriteLev(level.m_Lev, generatorTitle, text); });
    Regenerate(texts.m_pObjects,
               [&](std::string& text) { WriteObjects(level.m_Objects, generatorTitle, text); });
    Regenerate(texts.m_pInf, [&](std::string& text) { WriteInf(level.m_Inf, generatorTitle, text); });
}

Status WriteLevelArchive(CDataLevel& level, ByteSink& sink, std::string_view generatorTitle) {
    RegenerateLevelMembers(level, generatorTitle);
    return WriteGobMembers(level.m_Magic, level.m_pMembers, level.m_nIndexOffset, sink);
}

Status WriteLevelBytes(CDataLevel& level, std::vector<std::uint8_t>& out, std::string_view generatorTitle) {
    VectorSink sink(out);
    return WriteLevelArchive(level, sink, generatorTitle);
}

Status SaveLevelFile(CDataLevel& level, const std::filesystem::path& path, std::string_view generatorTitle) {
    return WriteFileAtomically(
        path, [&](ByteSink& sink) { return WriteLevelArchive(level, sink, generatorTitle); });
}

} // namespace morvi
