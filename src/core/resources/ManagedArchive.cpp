#include "resources/ManagedArchive.h"

#include "gamefiles/AtomicFile.h"
#include "gamefiles/GobArchive.h"
#include "model/StringUtil.h"
#include "resources/LfdArchive.h"

#include <algorithm>
#include <functional>

namespace morvi {

namespace {

// Members are copied from the opened file in slices of this size, so that progress moves and a
// cancel is seen within a fraction of a second.
constexpr std::size_t kCopySlice = std::size_t{1} << 20;

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Indices sorted from the last to the first, without duplicates or indices out of range.
std::vector<std::size_t> DescendingIndices(std::span<const std::size_t> indices, std::size_t count) {
    std::vector<std::size_t> sorted;
    for (std::size_t i : indices)
        if (i < count) sorted.push_back(i);
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

Status CancelledOr(const TaskProgress& progress, Status status) {
    return progress.Cancelled() ? Status::Fail(std::string(kWorkCancelled)) : status;
}

// The preview's extension for GOB members by the marker their name holds, in this order.
struct PreviewMarker {
    std::string_view m_Marker;
    std::string_view m_Extension;
};
constexpr PreviewMarker kGobPreviewMarkers[] = {
    {".WAX", ".wax"}, {".BM", ".bm"}, {".FME", ".fme"}, {".3DO", ".3do"},
    {".VOC", ".voc"}, {".VUE", ""},   {".LST", ""},     {".PAL", ".pal"},
};

constexpr std::string_view kGobAddFilter =
    "LEV Files (*.lev)|*.lev|INF Files (*.inf)|*.inf|O Files (*.o)|*.o|3DO Files (*.3do)|*.3do|"
    "GOL Files (*.gol)|*.gol|VUE Files (*.vue)|*.vue|WAX Files (*.wax)|*.wax|FME Files (*.fme)|*.fme|"
    "BM Files (*.bm)|*.bm|LST Files (*.lst)|*.lst|GMD Files (*.gmd)|*.gmd|VOC Files (*.voc)|*.voc|"
    "LVL Files (*.lvl)|*.lvl|CMP Files (*.cmp)|*.cmp|PAL Files (*.pal)|*.pal|MSG Files (*.msg)|*.msg|"
    "LFD Files (*.lfd)|*.lfd||";
constexpr std::string_view kLfdArchiveFilter = "LFD Files (*.lfd)|*.lfd||";
constexpr std::string_view kLfdAddFilter =
    "LFD Files (*.lfd)|*.lfd|ANIM Files (*.anm)|*.anm|DELT Files (*.dlt)|*.dlt|FILM Files (*.flm)|*.flm|"
    "FONT Files (*.fon)|*.fon|GMD Files (*.gmd)|*.gmd|PLTT Files (*.plt)|*.plt|VOIC Files (*.voc)|*.voc||";

// A GOB: the directory of the opened file, and the data of members added since in memory.
class GobManagedArchive final : public ManagedArchive {
public:
    ArchiveKind kind() const override { return ArchiveKind::Gob; }

    Status Open(const std::filesystem::path& path, TaskProgress& progress) override {
        auto source = std::make_shared<FileSource>();
        if (Status opened = source->Open(path); !opened) return opened;
        GobDirectory directory;
        if (Status read = ReadGobDirectory(*source, path.string(), directory); !read) return read;
        progress.Advance(directory.size());
        std::vector<Stored> stored(directory.size());
        for (std::size_t i = 0; i < directory.size(); ++i)
            stored[i].m_nSourceOffset = directory[i].m_nOffset;
        m_pSource = std::move(source);
        m_Stored = std::move(stored);
        m_Members.assign(directory.size(), {});
        for (std::size_t i = 0; i < directory.size(); ++i) {
            m_Members[i].m_strName = std::move(directory[i].m_strName);
            m_Members[i].m_nSize = directory[i].m_nSize;
        }
        m_bModified = false;
        return Layout();
    }

    Status AddFile(std::string_view fileName, std::vector<std::uint8_t> contents) override {
        const std::string name = ToUpper(FileNameOf(fileName));
        if (name.empty() || name.size() > kGobNameMax)
            return Status::Fail("Add: the file name \"" + name +
                                "\" does not fit a GOB member name, which has 1 to 12 characters.");
        if (contents.size() > 0xFFFFFFFFu) return Status::Fail("Add: " + name + " is larger than 4 GB.");
        ManagedMember member;
        member.m_strName = name;
        member.m_nSize = static_cast<std::uint32_t>(contents.size());
        m_Members.push_back(std::move(member));
        m_Stored.push_back({0, std::make_shared<const std::vector<std::uint8_t>>(std::move(contents))});
        if (Status laid = Layout(); !laid) {
            m_Members.pop_back();
            m_Stored.pop_back();
            Layout();
            return laid;
        }
        m_bModified = true;
        return Status::Ok();
    }

    void Delete(std::span<const std::size_t> indices) override {
        for (std::size_t i : DescendingIndices(indices, m_Members.size())) {
            m_Members.erase(m_Members.begin() + static_cast<std::ptrdiff_t>(i));
            m_Stored.erase(m_Stored.begin() + static_cast<std::ptrdiff_t>(i));
            m_bModified = true;
        }
        Layout();
    }

    Status ReadMember(std::size_t i, std::vector<std::uint8_t>& out) override {
        if (i >= m_Members.size()) return Status::Fail("There is no member " + std::to_string(i + 1) + ".");
        if (m_Stored[i].m_pData) {
            out = *m_Stored[i].m_pData;
            return Status::Ok();
        }
        std::vector<std::uint8_t> bytes(m_Members[i].m_nSize);
        if (!m_pSource || !m_pSource->ReadAt(m_Stored[i].m_nSourceOffset, bytes))
            return Status::Fail(m_Members[i].m_strName + " cannot be read from the archive.");
        out = std::move(bytes);
        return Status::Ok();
    }

    Status Save(const std::filesystem::path& path, TaskProgress& progress) override {
        GobDirectory entries(m_Members.size());
        std::uint64_t total = 0;
        for (std::size_t i = 0; i < m_Members.size(); ++i) {
            entries[i].m_strName = m_Members[i].m_strName;
            entries[i].m_nSize = m_Members[i].m_nSize;
            total += m_Members[i].m_nSize;
        }
        progress.m_nTotal = total;
        // Members that follow each other in the opened file are read together, a slice at a time.
        std::vector<std::uint8_t> slice;
        std::uint64_t sliceStart = 0;
        const auto writeData = [&](std::size_t i, ByteSink& sink) -> Status {
            if (progress.Cancelled()) return Status::Fail(std::string(kWorkCancelled));
            if (m_Stored[i].m_pData) {
                sink.Write(*m_Stored[i].m_pData);
                progress.Advance(m_Stored[i].m_pData->size());
                return Status::Ok();
            }
            const std::uint64_t end = m_Stored[i].m_nSourceOffset + m_Members[i].m_nSize;
            for (std::uint64_t at = m_Stored[i].m_nSourceOffset; at < end;) {
                if (at < sliceStart || at >= sliceStart + slice.size()) {
                    if (progress.Cancelled()) return Status::Fail(std::string(kWorkCancelled));
                    const std::uint64_t room =
                        m_pSource ? m_pSource->size() - std::min(at, m_pSource->size()) : 0;
                    slice.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kCopySlice, room)));
                    sliceStart = at;
                    if (slice.empty() || !m_pSource->ReadAt(at, slice)) {
                        slice.clear();
                        return Status::Fail(m_Members[i].m_strName + " cannot be read from the archive.");
                    }
                }
                const std::size_t from = static_cast<std::size_t>(at - sliceStart);
                const std::size_t n =
                    static_cast<std::size_t>(std::min<std::uint64_t>(slice.size() - from, end - at));
                sink.Write(std::span<const std::uint8_t>(slice.data() + from, n));
                at += n;
                progress.Advance(n);
            }
            return Status::Ok();
        };
        const Status written = WriteFileAtomically(
            path, [&](ByteSink& sink) { return WriteGobStreamed(entries, writeData, sink); });
        if (!written) return CancelledOr(progress, written);
        // The new file holds every member where the directory just written says.
        auto source = std::make_shared<FileSource>();
        if (Status opened = source->Open(path); !opened) return opened;
        m_pSource = std::move(source);
        for (std::size_t i = 0; i < m_Stored.size(); ++i)
            m_Stored[i] = {entries[i].m_nOffset, nullptr};
        m_bModified = false;
        return Status::Ok();
    }

    MemberFileType SaveAsType(std::size_t i) const override {
        return i < m_Members.size()
                   ? FindMemberFileType(m_Members[i].m_strName, kGobMemberTypes, kGobArchiveType)
                   : kGobArchiveType;
    }

    std::string SuggestedFileName(std::size_t i) const override {
        return i < m_Members.size() ? m_Members[i].m_strName : std::string();
    }

    std::string PreviewExtension(std::size_t i) const override {
        if (i >= m_Members.size()) return {};
        const std::string upper = ToUpper(m_Members[i].m_strName);
        for (const PreviewMarker& marker : kGobPreviewMarkers)
            if (upper.find(marker.m_Marker) != std::string::npos) return std::string(marker.m_Extension);
        return {};
    }

    std::string_view ArchiveFilter() const override { return kGobArchiveType.m_Filter; }
    std::string_view AddFilter() const override { return kGobAddFilter; }

private:
    // The members' offsets as the writer lays them out: the first block at 8, the next ones after.
    Status Layout() {
        std::uint64_t offset = kGobHeaderSize;
        for (ManagedMember& member : m_Members) {
            member.m_nOffset = static_cast<std::uint32_t>(std::min<std::uint64_t>(offset, 0xFFFFFFFFu));
            offset += member.m_nSize;
        }
        if (offset + 4 + m_Members.size() * std::uint64_t(kGobIndexEntrySize) > 0xFFFFFFFFu)
            return Status::Fail("The archive would be larger than 4 GB, which a GOB archive cannot hold.");
        return Status::Ok();
    }

    struct Stored {
        std::uint64_t m_nSourceOffset = 0;
        std::shared_ptr<const std::vector<std::uint8_t>> m_pData;
    };
    std::shared_ptr<FileSource> m_pSource;
    std::vector<Stored> m_Stored;
};

// An LFD, held whole in memory.
class LfdManagedArchive final : public ManagedArchive {
public:
    ArchiveKind kind() const override { return ArchiveKind::Lfd; }

    Status Open(const std::filesystem::path& path, TaskProgress& progress) override {
        LfdArchive read;
        if (Status s = read.ReadFile(path); !s) return s;
        progress.Advance(read.members().size());
        m_Lfd = std::move(read);
        m_bModified = false;
        Rows();
        return Status::Ok();
    }

    Status AddFile(std::string_view fileName, std::vector<std::uint8_t> contents) override {
        if (Status added = m_Lfd.AddFile(FileNameOf(fileName), contents); !added) return added;
        m_bModified = true;
        Rows();
        return Status::Ok();
    }

    void Delete(std::span<const std::size_t> indices) override {
        for (std::size_t i : DescendingIndices(indices, m_Members.size()))
            m_bModified = m_Lfd.DeleteMember(i) || m_bModified;
        Rows();
    }

    Status ReadMember(std::size_t i, std::vector<std::uint8_t>& out) override {
        if (i >= m_Lfd.members().size())
            return Status::Fail("There is no member " + std::to_string(i + 1) + ".");
        out = m_Lfd.members()[i].m_Data;
        return Status::Ok();
    }

    Status Save(const std::filesystem::path& path, TaskProgress& progress) override {
        progress.m_nTotal = 1;
        if (progress.Cancelled()) return Status::Fail(std::string(kWorkCancelled));
        if (Status written = m_Lfd.WriteFile(path); !written) return written;
        progress.Advance(1);
        m_bModified = false;
        return Status::Ok();
    }

    MemberFileType SaveAsType(std::size_t i) const override {
        const LfdFileType* type = i < m_Members.size() ? FindLfdTypeByType(m_Members[i].m_strType) : nullptr;
        if (!type) return {"", "All Files (*.*)|*.*||", ""};
        return {type->m_Type, type->m_Filter, type->m_Extension};
    }

    std::string SuggestedFileName(std::size_t i) const override {
        if (i >= m_Members.size()) return {};
        const LfdFileType* type = FindLfdTypeByType(m_Members[i].m_strType);
        return type ? m_Members[i].m_strName + "." + std::string(type->m_Extension) : m_Members[i].m_strName;
    }

    std::string PreviewExtension(std::size_t i) const override {
        if (i >= m_Members.size()) return {};
        const std::string type = ToUpper(m_Members[i].m_strType);
        if (type == "DELT") return ".dlt";
        if (type == "PLTT") return ".plt";
        if (type == "ANIM") return ".anm";
        if (type == "VOIC") return ".voc";
        return {};
    }

    std::string_view ArchiveFilter() const override { return kLfdArchiveFilter; }
    std::string_view AddFilter() const override { return kLfdAddFilter; }

private:
    void Rows() {
        m_Members.clear();
        for (const LfdMember& member : m_Lfd.members())
            m_Members.push_back({member.m_strType, member.m_strName, member.m_nOffset, member.size()});
    }

    LfdArchive m_Lfd;
};

} // namespace

std::vector<std::size_t> MemberRows(const std::vector<ManagedMember>& members, std::string_view filter,
                                    std::optional<MemberColumn> sortBy, bool descending) {
    std::vector<std::size_t> rows;
    rows.reserve(members.size());
    for (std::size_t i = 0; i < members.size(); ++i)
        if (filter.empty() || ContainsNoCase(members[i].m_strName, filter)) rows.push_back(i);
    if (!sortBy) return rows;
    const auto compare = [&](std::size_t a, std::size_t b) {
        const ManagedMember& x = members[descending ? b : a];
        const ManagedMember& y = members[descending ? a : b];
        switch (*sortBy) {
        case MemberColumn::Type:
            return LessNoCase(x.m_strType, y.m_strType);
        case MemberColumn::Name:
            return LessNoCase(x.m_strName, y.m_strName);
        case MemberColumn::Offset:
            return x.m_nOffset < y.m_nOffset;
        case MemberColumn::Size:
            return x.m_nSize < y.m_nSize;
        }
        return false;
    };
    std::stable_sort(rows.begin(), rows.end(), compare);
    return rows;
}

std::unique_ptr<ManagedArchive> ManagedArchive::Make(ArchiveKind kind) {
    if (kind == ArchiveKind::Gob) return std::make_unique<GobManagedArchive>();
    return std::make_unique<LfdManagedArchive>();
}

} // namespace morvi
