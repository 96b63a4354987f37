#include "view3d/LevelSceneSource.h"

#include "model/CDataLevel.h"
#include "model/StringUtil.h"
#include "resources/ResourceCache.h"

#include <optional>

namespace morvi {

namespace {

std::optional<ResourceList> ArchiveOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string extension = ToLower(name.substr(dot));
    if (extension == ".bm") return ResourceList::Textures;
    if (extension == ".wax" || extension == ".fme") return ResourceList::Sprites;
    if (extension == ".3do" || extension == ".pal" || extension == ".cmp") return ResourceList::Objects;
    if (extension == ".voc") return ResourceList::Sounds;
    return std::nullopt;
}

} // namespace

bool LevelSceneSource::Find(std::string_view name, std::vector<std::uint8_t>& bytes) {
    if (const CDataGobEntry* own = m_Level.FindMember(name)) {
        const auto data = own->data();
        bytes.assign(data.begin(), data.end());
        return true;
    }
    const std::optional<ResourceList> list = ArchiveOf(name);
    if (!list) return false;
    const GobDirectoryEntry* entry = m_Cache.find(*list, name);
    return entry && m_Cache.readMember(*list, *entry, bytes).ok();
}

} // namespace morvi
