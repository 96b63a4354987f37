#include "resources/ResourceCache.h"

#include "model/StringUtil.h"
#include "resources/BmFile.h"

#include <system_error>

namespace morvi {

namespace {

std::size_t Index(ResourceList list) {
    return static_cast<std::size_t>(list);
}

} // namespace

std::string_view ResourceArchiveName(ResourceList list) {
    switch (list) {
    case ResourceList::Textures:
        return "textures.gob";
    case ResourceList::Sprites:
        return "sprites.gob";
    case ResourceList::Objects:
        return "dark.gob";
    case ResourceList::Sounds:
        return "sounds.gob";
    }
    return {};
}

bool ResourceArchiveIsInstalled(ResourceList list) {
    return list == ResourceList::Sounds;
}

std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view fileName) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return {};
    const std::filesystem::path exact = folder / std::string(fileName);
    if (std::filesystem::is_regular_file(exact, ec)) return exact;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (EqualsNoCase(it->path().filename().string(), fileName) && it->is_regular_file(ec))
            return it->path();
    return {};
}

Status ReadSourceBlock(ByteSource& source, std::uint64_t offset, std::uint32_t size, std::string_view name,
                       std::vector<std::uint8_t>& out) {
    if (offset > source.size() || size > source.size() - offset)
        return Status::Fail(std::string(name) + ": the member (offset " + std::to_string(offset) + ", " +
                            std::to_string(size) + " bytes) lies beyond the end of its archive (" +
                            std::to_string(source.size()) + " bytes).");
    std::vector<std::uint8_t> bytes(size);
    if (!source.ReadAt(offset, bytes))
        return Status::Fail(std::string(name) + ": the member cannot be read.");
    out = std::move(bytes);
    return Status::Ok();
}

ResourceCache::ResourceCache(std::filesystem::path cdFolder, std::filesystem::path installedFolder)
    : m_CdFolder(std::move(cdFolder)), m_InstalledFolder(std::move(installedFolder)) {}

void ResourceCache::SetFolders(std::filesystem::path cdFolder, std::filesystem::path installedFolder) {
    const bool cdChanged = cdFolder != m_CdFolder;
    const bool installedChanged = installedFolder != m_InstalledFolder;
    m_CdFolder = std::move(cdFolder);
    m_InstalledFolder = std::move(installedFolder);
    for (std::size_t i = 0; i < kResourceListCount; ++i) {
        const bool installed = ResourceArchiveIsInstalled(static_cast<ResourceList>(i));
        if (installed ? installedChanged : cdChanged) m_Lists[i] = List{};
    }
}

ResourceCache::List& ResourceCache::loaded(ResourceList list) {
    List& entry = m_Lists[Index(list)];
    if (!entry.m_bTried) {
        entry.m_bTried = true;
        read(list, entry);
    }
    return entry;
}

void ResourceCache::read(ResourceList list, List& into) {
    const std::filesystem::path& folder = ResourceArchiveIsInstalled(list) ? m_InstalledFolder : m_CdFolder;
    const std::string_view fileName = ResourceArchiveName(list);
    into.m_Path = FindFileNoCase(folder, fileName);
    if (into.m_Path.empty()) {
        into.m_Status =
            Status::Fail(std::string(fileName) + ": not found in the folder \"" + folder.string() + "\".");
        return;
    }
    ++m_nDirectoryReads;
    FileSource source;
    into.m_Status = source.Open(into.m_Path);
    if (into.m_Status) into.m_Status = ReadGobDirectory(source, into.m_Path.string(), into.m_Entries);
}

const Status& ResourceCache::loadDirectory(ResourceList list) {
    return loaded(list).m_Status;
}

const GobDirectory& ResourceCache::entries(ResourceList list) {
    return loaded(list).m_Entries;
}

const GobDirectoryEntry* ResourceCache::find(ResourceList list, std::string_view name) {
    for (const GobDirectoryEntry& entry : loaded(list).m_Entries)
        if (EqualsNoCase(entry.m_strName, name)) return &entry;
    return nullptr;
}

const std::filesystem::path& ResourceCache::archivePath(ResourceList list) {
    return loaded(list).m_Path;
}

Status ResourceCache::readMember(ResourceList list, const GobDirectoryEntry& entry,
                                 std::vector<std::uint8_t>& out) {
    const std::filesystem::path& path = archivePath(list);
    if (path.empty()) return loadDirectory(list);
    FileSource source;
    if (Status opened = source.Open(path); !opened) return opened;
    return ReadSourceBlock(source, entry.m_nOffset, entry.m_nSize, path.string() + ": " + entry.m_strName,
                           out);
}

int ResourceCache::textureSize(std::string_view name) {
    const std::string wanted = ToLower(name);
    for (const GobDirectoryEntry& entry : entries(ResourceList::Textures)) {
        if (ToLower(entry.m_strName).find(wanted) == std::string::npos) continue;
        if (entry.m_nSize < kBmHeaderSize) return -1;
        GobDirectoryEntry header = entry;
        header.m_nSize = static_cast<std::uint32_t>(kBmHeaderSize);
        std::vector<std::uint8_t> bytes;
        if (!readMember(ResourceList::Textures, header, bytes)) return -1;
        return bytes[4] | (bytes[5] << 8);
    }
    return -1;
}

} // namespace morvi
