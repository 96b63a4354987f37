#include "resources/LevelPalette.h"

#include "model/CDataLevel.h"
#include "model/StringUtil.h"
#include "resources/ResourceCache.h"

namespace morvi {

namespace {

std::optional<GamePalette> PaletteOf(std::span<const std::uint8_t> bytes, std::string_view name,
                                     Status* message) {
    if (bytes.size() != kPaletteSize) {
        if (message)
            *message =
                Status::Fail(std::string(name) + ": a palette holds exactly 768 bytes, this member holds " +
                             std::to_string(bytes.size()) + ".");
        return std::nullopt;
    }
    GamePalette palette;
    std::copy(bytes.begin(), bytes.end(), palette.m_Bytes.begin());
    return palette;
}

void SetMessage(Status* message, Status status) {
    if (message) *message = std::move(status);
}

} // namespace

std::optional<GamePalette> paletteByName(CDataLevel* level, ResourceCache& cache, std::string_view name,
                                         Status* message) {
    SetMessage(message, Status::Ok());
    if (name.empty()) {
        SetMessage(message, Status::Fail("There is no level whose palette could be looked up."));
        return std::nullopt;
    }
    if (const CDataGobEntry* own = level ? level->FindMember(name) : nullptr)
        return PaletteOf(own->data(), own->m_strName, message);
    const GobDirectoryEntry* entry = cache.find(ResourceList::Objects, name);
    if (!entry) {
        SetMessage(message,
                   Status::Fail(std::string(name) + ": neither the level nor dark.gob holds this palette."));
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    if (Status read = cache.readMember(ResourceList::Objects, *entry, bytes); !read) {
        SetMessage(message, std::move(read));
        return std::nullopt;
    }
    std::optional<GamePalette> palette = PaletteOf(bytes, entry->m_strName, message);
    // A name too long for the level's archive is still a palette worth showing; it is just not kept.
    if (palette && level) (void)level->AddMember(entry->m_strName, bytes);
    return palette;
}

std::optional<GamePalette> currentLevelPalette(CDataLevel* level, ResourceCache& cache, Status* message) {
    const std::string levelName = level ? level->CurrentLevelName() : std::string();
    return paletteByName(level, cache, levelName.empty() ? std::string() : levelName + ".PAL", message);
}

std::vector<std::string> paletteListNames(const CDataLevel* level) {
    std::vector<std::string> names;
    if (level)
        for (const auto& member : level->m_pMembers)
            if (ContainsNoCase(member->m_strName, ".pal")) names.push_back(member->m_strName);
    names.emplace_back("dark.pal");
    return names;
}

} // namespace morvi
