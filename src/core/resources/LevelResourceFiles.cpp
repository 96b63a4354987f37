#include "resources/LevelResourceFiles.h"

#include "gamefiles/AtomicFile.h"
#include "model/CDataLevel.h"
#include "model/StringUtil.h"
#include "resources/GamePalette.h"
#include "resources/LfdArchive.h"

#include <algorithm>
#include <cstdint>

namespace morvi {

bool IsShownResource(std::string_view memberName, std::string_view levelName) {
    const std::string name = ToUpper(memberName);
    for (std::string_view kind :
         {".WAX", ".BM", ".FME", ".3DO", ".VOC", ".VUE", ".LST", ".GMD", ".LFD", ".DLT"})
        if (name.find(kind) != std::string::npos) return true;
    // Without a level name ".CMP" alone would match every colour map of the archive.
    if (levelName.empty()) return false;
    const std::string level = ToUpper(levelName);
    return name.find(level + ".CMP") != std::string::npos || name.find(level + ".PAL") != std::string::npos;
}

std::vector<std::size_t> ShownResources(const CDataLevel& level) {
    std::vector<std::size_t> shown;
    const std::string levelName = level.CurrentLevelName();
    for (std::size_t i = 0; i < level.m_pMembers.size(); ++i)
        if (IsShownResource(level.m_pMembers[i]->m_strName, levelName)) shown.push_back(i);
    return shown;
}

Status RecomputeOffsets(CDataLevel& level) {
    std::uint64_t offset = 8;
    for (const auto& member : level.m_pMembers)
        offset += member->m_nSize;
    if (offset > 0xFFFFFFFFu)
        return Status::Fail("Files: the members together exceed the 4 GB a GOB can hold.");
    offset = 8;
    for (auto& member : level.m_pMembers) {
        member->m_nOffset = static_cast<std::uint32_t>(offset);
        offset += member->m_nSize;
    }
    return Status::Ok();
}

namespace {

// The member name a file gets: its name without the folders, upper-cased.
Status MemberNameFor(std::string_view filePath, std::string& name) {
    const std::size_t slash = filePath.find_last_of("/\\:");
    name = ToUpper(slash == std::string_view::npos ? filePath : filePath.substr(slash + 1));
    if (name.empty()) return Status::Fail("Add: the file has no name.");
    if (name.size() > kGobNameMax)
        return Status::Fail("Add: the name " + name + " has " + std::to_string(name.size()) +
                            " characters; a GOB member name holds at most 12.");
    return Status::Ok();
}

bool HoldsMarker(const std::string& upperName, std::string_view marker) {
    return upperName.find(marker) != std::string::npos;
}

} // namespace

Status AddResource(CDataLevel& level, std::string_view filePath, std::span<const std::uint8_t> data) {
    std::string name;
    if (Status named = MemberNameFor(filePath, name); !named) return named;
    return level.AddMember(name, data);
}

Status AddResourceFile(CDataLevel& level, const std::filesystem::path& path) {
    const std::string filePath = path.string();
    std::string name;
    if (Status named = MemberNameFor(filePath, name); !named) return named;
    std::vector<std::uint8_t> bytes;
    if (Status read = ReadResourceFile(path, 0xFFFFFFFFu, bytes); !read) return read;
    return AddResource(level, filePath, bytes);
}

Status SaveResourceAs(const CDataLevel& level, std::size_t i, const std::filesystem::path& path) {
    if (i >= level.m_pMembers.size())
        return Status::Fail("Save As: there is no member " + std::to_string(i) + ".");
    const CDataGobEntry& member = *level.m_pMembers[i];
    return WriteFileAtomically(path, [&member](ByteSink& sink) {
        sink.Write(member.data());
        return Status::Ok();
    });
}

ResourceEdit ResourceEditOf(std::string_view memberName) {
    const std::string name = ToUpper(memberName);
    if (HoldsMarker(name, ".VUE")) return ResourceEdit::VueText;
    if (HoldsMarker(name, ".LST")) return ResourceEdit::LstText;
    if (HoldsMarker(name, ".PAL")) return ResourceEdit::Palette;
    return ResourceEdit::None;
}

std::string PreviewExtensionOf(std::string_view memberName) {
    const std::string name = ToUpper(memberName);
    for (std::string_view marker : {".WAX", ".BM", ".FME", ".3DO", ".VOC", ".PAL", ".DLT"})
        if (HoldsMarker(name, marker)) return ToLower(marker);
    return {};
}

Status StoreResourcePalette(CDataLevel& level, std::size_t i, const GamePalette& palette, bool& changed) {
    changed = false;
    if (i >= level.m_pMembers.size())
        return Status::Fail("Edit Palette: there is no member " + std::to_string(i) + ".");
    CDataGobEntry& member = *level.m_pMembers[i];
    if (member.m_nSize < kPaletteSize)
        return Status::Fail(member.m_strName + ": a palette needs 768 bytes, the member holds " +
                            std::to_string(member.m_nSize) + ".");
    if (std::equal(palette.m_Bytes.begin(), palette.m_Bytes.end(), member.data().begin()))
        return Status::Ok();
    std::copy(palette.m_Bytes.begin(), palette.m_Bytes.end(), member.MutableData().begin());
    changed = true;
    return Status::Ok();
}

Status DeleteResource(CDataLevel& level, std::size_t i) {
    if (i >= level.m_pMembers.size())
        return Status::Fail("Delete: there is no member " + std::to_string(i) + ".");
    level.RemoveMember(i);
    return Status::Ok();
}

std::vector<std::string> LevelResourceNames(const CDataLevel& level, std::string_view extension) {
    const std::string ext = ToLower(extension);
    const std::vector<CDataGobEntry*>* list = nullptr;
    if (ext == ".bm")
        list = &level.m_Bitmaps;
    else if (ext == ".fme" || ext == ".wax")
        list = &level.m_Sprites;
    else if (ext == ".3do")
        list = &level.m_Models3D;
    else if (ext == ".voc")
        list = &level.m_Sounds;
    std::vector<std::string> names;
    if (list)
        for (const CDataGobEntry* member : *list)
            names.push_back(member->m_strName);
    return names;
}

} // namespace morvi
