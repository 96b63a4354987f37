#pragma once

#include "gamefiles/GobArchive.h"
#include "model/Status.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// The four game archives whose directories the resource pickers and previews search.
enum class ResourceList { Textures, Sprites, Objects, Sounds };
inline constexpr std::size_t kResourceListCount = 4;

// The archive file of a list ("textures.gob" ...) and whether it lives in the installed folder
// (sounds) rather than on the CD-ROM folder (all others).
std::string_view ResourceArchiveName(ResourceList list);
bool ResourceArchiveIsInstalled(ResourceList list);

// The file in folder whose name equals fileName ignoring case (the game's archives come as
// TEXTURES.GOB from the CD and as textures.gob from copies); empty when there is none.
std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view fileName);

// Copies size bytes at offset of source into out with one read; name is used in the message when
// those bytes lie outside the source or cannot be read.
Status ReadSourceBlock(ByteSource& source, std::uint64_t offset, std::uint32_t size, std::string_view name,
                       std::vector<std::uint8_t>& out);

// The directories of the game's archives, each read the first time it is needed and kept for the
// whole run: the game does not change its archives while the editor works, and pickers ask for
// names far too often to reread 2,000-entry directories. A list whose archive is missing or
// damaged stays empty and is not tried again.
class ResourceCache {
public:
    ResourceCache() = default;
    ResourceCache(std::filesystem::path cdFolder, std::filesystem::path installedFolder);

    // New game folders (the settings changed): the lists of a folder that changed are read
    // afresh on their next use, the others are kept.
    void SetFolders(std::filesystem::path cdFolder, std::filesystem::path installedFolder);
    const std::filesystem::path& cdFolder() const { return m_CdFolder; }
    const std::filesystem::path& installedFolder() const { return m_InstalledFolder; }

    // Reads the list's directory on its first use; afterwards returns the outcome of that read.
    const Status& loadDirectory(ResourceList list);
    const GobDirectory& entries(ResourceList list);
    // The first member of that name, ignoring case; nullptr when absent.
    const GobDirectoryEntry* find(ResourceList list, std::string_view name);
    // The archive file the list was read from; empty when it was not found.
    const std::filesystem::path& archivePath(ResourceList list);

    // Reads one member of the list's archive whole, with one read, checked against the file's
    // current size (the file may have been replaced since its directory was read).
    Status readMember(ResourceList list, const GobDirectoryEntry& entry, std::vector<std::uint8_t>& out);

    // The width of the first texture whose name contains name (both lower-cased), from its BM
    // header; -1 when no texture matches or its header cannot be read.
    int textureSize(std::string_view name);

    // How many times an archive's directory has been read from disk during this cache's life.
    int directoryReads() const { return m_nDirectoryReads; }

private:
    struct List {
        bool m_bTried = false;
        Status m_Status;
        std::filesystem::path m_Path;
        GobDirectory m_Entries;
    };

    List& loaded(ResourceList list);
    void read(ResourceList list, List& into);

    std::filesystem::path m_CdFolder;
    std::filesystem::path m_InstalledFolder;
    std::array<List, kResourceListCount> m_Lists;
    int m_nDirectoryReads = 0;
};

} // namespace morvi
