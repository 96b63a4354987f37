#pragma once

#include "model/Status.h"
#include "model/TaskProgress.h"
#include "resources/MemberFileTypes.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

enum class ArchiveKind { Gob, Lfd };

// One member as the managers list it.
struct ManagedMember {
    // The LFD member type; empty in a GOB.
    std::string m_strType;
    std::string m_strName;
    // Where the member's data would lie if the archive were written now.
    std::uint32_t m_nOffset = 0;
    std::uint32_t m_nSize = 0;
};

// An archive as the GOB and LFD managers edit it: opened from a file, members added and deleted,
// written back. A GOB's members stay in the opened file until they are needed, so that opening a
// large archive reads its directory only; an LFD is read whole.
//   auto archive = ManagedArchive::Make(ArchiveKind::Gob);
//   TaskProgress progress;
//   if (Status s = archive->Open("dark.gob", progress); !s) ...
class ManagedArchive {
public:
    static std::unique_ptr<ManagedArchive> Make(ArchiveKind kind);
    ManagedArchive() = default;
    ManagedArchive(const ManagedArchive&) = delete;
    ManagedArchive& operator=(const ManagedArchive&) = delete;
    virtual ~ManagedArchive() = default;

    virtual ArchiveKind kind() const = 0;
    // Replaces the members with those of the archive at path; a damaged archive is refused with
    // the file named and leaves them as they were.
    virtual Status Open(const std::filesystem::path& path, TaskProgress& progress) = 0;
    // Adds a file by its name (any folder part dropped). GOB: one member named by the upper-cased
    // file name; names beyond the 12 characters a GOB entry holds are refused. LFD: an .lfd file
    // appends its members; a file of a member type's extension becomes one member.
    virtual Status AddFile(std::string_view fileName, std::vector<std::uint8_t> contents) = 0;
    // Removes the members at these indices (any order; indices out of range are ignored).
    virtual void Delete(std::span<const std::size_t> indices) = 0;
    // Member i's data.
    virtual Status ReadMember(std::size_t i, std::vector<std::uint8_t>& out) = 0;
    // Writes the whole archive to path atomically; members still in the opened file are copied in
    // slices, counted in progress. Cancelled or failed, the file at path is left as it was.
    // Afterwards the archive reads its members from the new file.
    virtual Status Save(const std::filesystem::path& path, TaskProgress& progress) = 0;

    const std::vector<ManagedMember>& members() const { return m_Members; }
    // Added or deleted members since the archive was opened or saved.
    bool modified() const { return m_bModified; }
    // What saving member i as a file offers: the filter and extension of its kind.
    virtual MemberFileType SaveAsType(std::size_t i) const = 0;
    // The file name Save As suggests for member i.
    virtual std::string SuggestedFileName(std::size_t i) const = 0;
    // The extension the preview decodes member i as (".wax", ".bm", ".fme", ".3do", ".voc", ".pal",
    // ".dlt", ".anm", ".plt"); empty when member i is not shown.
    virtual std::string PreviewExtension(std::size_t i) const = 0;
    // The filters of the Open and Add questions and of saving the whole archive.
    virtual std::string_view ArchiveFilter() const = 0;
    virtual std::string_view AddFilter() const = 0;

protected:
    std::vector<ManagedMember> m_Members;
    bool m_bModified = false;
};

enum class MemberColumn { Type, Name, Offset, Size };

// The members a list shows: those whose name holds filter (any case), in member order or sorted by
// a column (numbers by value, texts ignoring case, equal ones in member order).
std::vector<std::size_t> MemberRows(const std::vector<ManagedMember>& members, std::string_view filter,
                                    std::optional<MemberColumn> sortBy, bool descending);

} // namespace morvi
