#pragma once

#include "gamefiles/AtomicFile.h"
#include "model/Status.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// Reads a whole file of at most maxBytes into out; out is left alone when that fails.
Status ReadResourceFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                        std::vector<std::uint8_t>& out);

// An LFD archive: a 16-byte resource map header (type, name, u32 map size), the map with one
// 16-byte record per member (4-character type, 8-character name, u32 size), then every member as
// a copy of its map record followed by its data. Character fields are NUL-padded, or full without
// a NUL.
inline constexpr std::uint32_t kLfdRecordSize = 16;
inline constexpr std::size_t kLfdTypeField = 4;
inline constexpr std::size_t kLfdNameField = 8;

struct LfdMember {
    std::string m_strType;
    std::string m_strName;
    // Where the data lies in the archive as it is written now; kept up to date by LfdArchive.
    std::uint32_t m_nOffset = 0;
    std::vector<std::uint8_t> m_Data;

    std::uint32_t size() const { return static_cast<std::uint32_t>(m_Data.size()); }
};

// A member type, the extension of its files and the filter of the file dialogs.
struct LfdFileType {
    std::string_view m_Type;
    std::string_view m_Extension;
    std::string_view m_Filter;
};

inline constexpr std::array<LfdFileType, 7> kLfdFileTypes{{
    {"ANIM", "anm", "ANIM Files (*.anm)|*.anm||"},
    {"DELT", "dlt", "DELT Files (*.dlt)|*.dlt||"},
    {"FILM", "flm", "FILM Files (*.flm)|*.flm||"},
    {"FONT", "fon", "FONT Files (*.fon)|*.fon||"},
    {"GMID", "gmd", "GMD Files (*.gmd)|*.gmd||"},
    {"PLTT", "plt", "PLTT Files (*.plt)|*.plt||"},
    {"VOIC", "voc", "VOIC Files (*.voc)|*.voc||"},
}};

// The table entry of a member type or of a file extension (both compared ignoring case); nullptr
// when the table has none.
const LfdFileType* FindLfdTypeByType(std::string_view type);
const LfdFileType* FindLfdTypeByExtension(std::string_view extension);

// The members of one LFD in archive order. Every change keeps the offsets right and the whole
// archive within the 4 GB its 32-bit offsets can address.
class LfdArchive {
public:
    // Replaces the members with those of the LFD in bytes; fileName is named in messages. A damaged
    // archive is refused and leaves this one unchanged.
    Status Read(std::span<const std::uint8_t> bytes, std::string_view fileName);
    Status ReadFile(const std::filesystem::path& path);
    // Appends every member of the LFD in bytes; nothing is appended when it is damaged.
    Status Append(std::span<const std::uint8_t> bytes, std::string_view fileName);

    // Appends one member; refuses a type of no or more than 4 characters, a name of no or more
    // than 8, NUL characters, and data that would push the archive past 4 GB.
    Status AddMember(std::string_view type, std::string_view name, std::vector<std::uint8_t> data);
    // Adds a file by its name, lower-cased and split at the first dot: an "lfd" file appends its
    // members, an extension of kLfdFileTypes one member of that type named after the part before
    // the dot and holding the whole contents. Any other extension is refused.
    Status AddFile(std::string_view fileName, std::span<const std::uint8_t> contents);
    Status AddFile(const std::filesystem::path& path);
    // Removes the member at index; false when there is none.
    bool DeleteMember(std::size_t index);
    void Clear() { m_Members.clear(); }

    const std::vector<LfdMember>& members() const { return m_Members; }
    // The size word of the resource map header.
    std::uint32_t mapSize() const { return static_cast<std::uint32_t>(m_Members.size() * kLfdRecordSize); }

    // Writes the archive: the map header as type "RMAP" named "resource", the map, the members.
    void Write(ByteSink& sink) const;
    std::vector<std::uint8_t> Write() const;
    // Replaces the file only when the whole archive is written.
    Status WriteFile(const std::filesystem::path& path) const;

private:
    Status AppendMembers(std::vector<LfdMember> members, std::string_view what);
    void UpdateOffsets();

    std::vector<LfdMember> m_Members;
};

} // namespace morvi
