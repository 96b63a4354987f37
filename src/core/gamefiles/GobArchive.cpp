#include "gamefiles/GobArchive.h"

#include "model/StringUtil.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace morvi {

namespace {

std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

void StoreU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The name ends at the first NUL; whatever follows it in the field is old garbage.
std::string NameFromField(const std::uint8_t* field) {
    const char* chars = reinterpret_cast<const char*>(field);
    const std::size_t length = std::find(chars, chars + kGobNameField, '\0') - chars;
    return ToUpper(std::string_view(chars, length));
}

// Reads and checks the directory against the archive's size; nothing is allocated per member
// before the count is known to fit in the file.
class DirectoryReader {
public:
    DirectoryReader(ByteSource& source, std::uint64_t base, std::string_view name)
        : m_Source(source), m_nBase(base), m_Name(name),
          m_nTotal(source.size() > base ? source.size() - base : 0) {}

    Status Read(GobArchive& result, std::vector<GobDirectoryEntry>& entries) {
        if (Status header = ReadHeader(result); !header) return header;
        if (Status entriesRead = ReadEntries(result.m_nIndexOffset, entries); !entriesRead)
            return entriesRead;
        return CheckEntries(entries);
    }

    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_Name) + ": " + problem);
    }

private:
    Status ReadHeader(GobArchive& result) {
        std::uint8_t header[kGobHeaderSize];
        if (m_nTotal < kGobHeaderSize)
            return Fail("the file is too short for a GOB archive (" + std::to_string(m_nTotal) +
                        " bytes, the header alone takes 8).");
        if (!m_Source.ReadAt(m_nBase, header)) return Fail("the archive header cannot be read.");
        std::copy_n(header, 4, result.m_Magic.begin());
        result.m_nIndexOffset = LoadU32(header + 4);
        return Status::Ok();
    }

    Status ReadEntries(std::uint32_t indexOffset, std::vector<GobDirectoryEntry>& entries) {
        if (std::uint64_t(indexOffset) + 4 > m_nTotal)
            return Fail("the directory at offset " + std::to_string(indexOffset) +
                        " lies beyond the end of the archive (" + std::to_string(m_nTotal) + " bytes).");
        std::uint8_t countBytes[4];
        if (!m_Source.ReadAt(m_nBase + indexOffset, countBytes)) return Fail("the directory cannot be read.");
        const std::uint64_t count = LoadU32(countBytes);
        const std::uint64_t room = m_nTotal - indexOffset - 4;
        if (count * kGobIndexEntrySize > room)
            return Fail("the directory lists " + std::to_string(count) + " members, but the " +
                        std::to_string(room) + " bytes after it hold at most " +
                        std::to_string(room / kGobIndexEntrySize) + " (a damaged or truncated directory).");
        std::vector<std::uint8_t> index(static_cast<std::size_t>(count * kGobIndexEntrySize));
        if (!m_Source.ReadAt(m_nBase + indexOffset + 4, index)) return Fail("the directory cannot be read.");
        entries.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::uint8_t* p = index.data() + i * kGobIndexEntrySize;
            entries[i] = {LoadU32(p), LoadU32(p + 4), NameFromField(p + 8)};
        }
        return Status::Ok();
    }

    Status CheckEntries(const std::vector<GobDirectoryEntry>& entries) const {
        std::uint64_t claimed = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const GobDirectoryEntry& e = entries[i];
            if (std::uint64_t(e.m_nOffset) + e.m_nSize > m_nTotal)
                return Fail("member " + e.m_strName + " (entry " + std::to_string(i + 1) +
                            ") lies beyond the end of the archive: offset " + std::to_string(e.m_nOffset) +
                            " + size " + std::to_string(e.m_nSize) + " > " + std::to_string(m_nTotal) +
                            " bytes.");
            claimed += e.m_nSize;
        }
        // The blocks of a well-formed archive never share bytes; a directory claiming more data than the
        // file holds would make the loader allocate far beyond the file's size.
        if (claimed > m_nTotal)
            return Fail("the members claim " + std::to_string(claimed) + " bytes together, more than the " +
                        std::to_string(m_nTotal) + " bytes of the archive (a damaged directory).");
        return Status::Ok();
    }

    ByteSource& m_Source;
    std::uint64_t m_nBase;
    std::string_view m_Name;
    std::uint64_t m_nTotal;
};

// Refuses names beyond the name field and archives past the 4 GB their offsets address. entry(i)
// gives the name and size of member i.
template <typename Entry> Status CheckWritable(std::size_t count, Entry entry) {
    std::uint64_t end = kGobHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        const auto [name, size] = entry(i);
        if (name.size() > kGobNameField)
            return Status::Fail("The member name \"" + std::string(name) +
                                "\" is too long: a GOB member name has at most 12 characters.");
        end += size;
    }
    if (end + 4 + count * std::uint64_t(kGobIndexEntrySize) > 0xFFFFFFFFull)
        return Status::Fail("The archive would be larger than 4 GB, which a GOB archive cannot hold.");
    return Status::Ok();
}

// The directory: the count, then offset, size and name of each member as entry(i) gives them.
template <typename Entry> void WriteIndex(std::size_t count, Entry entry, ByteSink& sink) {
    std::vector<std::uint8_t> index(4 + count * kGobIndexEntrySize, 0);
    StoreU32(index.data(), static_cast<std::uint32_t>(count));
    std::uint8_t* p = index.data() + 4;
    for (std::size_t i = 0; i < count; ++i) {
        const GobDirectoryEntry& e = entry(i);
        StoreU32(p, e.m_nOffset);
        StoreU32(p + 4, e.m_nSize);
        std::memcpy(p + 8, e.m_strName.data(), e.m_strName.size());
        p += kGobIndexEntrySize;
    }
    sink.Write(index);
}

void WriteHeader(const std::array<std::uint8_t, 4>& magic, std::uint32_t indexOffset, ByteSink& sink) {
    std::uint8_t header[kGobHeaderSize];
    std::copy(magic.begin(), magic.end(), header);
    StoreU32(header + 4, indexOffset);
    sink.Write(header);
}

} // namespace

bool SpanSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) {
    if (offset > m_Bytes.size() || dest.size() > m_Bytes.size() - offset) return false;
    if (!dest.empty()) std::memcpy(dest.data(), m_Bytes.data() + offset, dest.size());
    return true;
}

Status FileSource::Open(const std::filesystem::path& path) {
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(path, ec);
    if (ec) return Status::Fail(path.string() + ": cannot open the file: " + ec.message());
    m_Buffer.resize(1 << 16);
    m_File.rdbuf()->pubsetbuf(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
    m_File.open(path, std::ios::binary);
    if (!m_File) return Status::Fail(path.string() + ": cannot open the file for reading.");
    m_nSize = size;
    m_nPosition = 0;
    return Status::Ok();
}

bool FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) {
    if (offset > m_nSize || dest.size() > m_nSize - offset) return false;
    if (dest.empty()) return true;
    if (offset != m_nPosition && !m_File.seekg(static_cast<std::streamoff>(offset))) return false;
    m_nPosition = offset;
    if (!m_File.read(reinterpret_cast<char*>(dest.data()), static_cast<std::streamsize>(dest.size()))) {
        m_File.clear();
        m_nPosition = ~std::uint64_t(0);
        return false;
    }
    m_nPosition += dest.size();
    return true;
}

Status GobArchive::AddMember(std::string_view name, std::span<const std::uint8_t> data) {
    if (name.empty() || name.size() > kGobNameMax)
        return Status::Fail("The member name \"" + std::string(name) +
                            "\" is not valid: a GOB member name has 1 to 12 characters.");
    if (data.size() > 0xFFFFFFFFu)
        return Status::Fail("The member \"" + std::string(name) + "\" is larger than 4 GB.");
    m_pMembers.push_back(std::make_unique<CDataGobEntry>(ToUpper(name), data));
    return Status::Ok();
}

CDataGobEntry* GobArchive::FindMember(std::string_view name) {
    for (auto& member : m_pMembers)
        if (EqualsNoCase(member->m_strName, name)) return member.get();
    return nullptr;
}

bool GobArchive::RemoveMember(std::string_view name) {
    auto it = std::find_if(m_pMembers.begin(), m_pMembers.end(),
                           [&](const auto& member) { return EqualsNoCase(member->m_strName, name); });
    if (it == m_pMembers.end()) return false;
    m_pMembers.erase(it);
    return true;
}

Status ReadGob(ByteSource& source, std::uint64_t base, std::string_view name, GobArchive& out) {
    DirectoryReader directory(source, base, name);
    GobArchive result;
    std::vector<GobDirectoryEntry> entries;
    if (Status read = directory.Read(result, entries); !read) return read;
    result.m_pMembers.reserve(entries.size());
    for (GobDirectoryEntry& e : entries) {
        auto member = std::make_unique<CDataGobEntry>();
        member->m_strName = std::move(e.m_strName);
        member->m_nOffset = e.m_nOffset;
        std::uint8_t* block = member->Allocate(e.m_nSize);
        if (!source.ReadAt(base + e.m_nOffset, std::span<std::uint8_t>(block, e.m_nSize)))
            return directory.Fail("member " + member->m_strName + " cannot be read.");
        result.m_pMembers.push_back(std::move(member));
    }
    out = std::move(result);
    return Status::Ok();
}

Status ReadGobDirectory(ByteSource& source, std::string_view name, GobDirectory& out) {
    DirectoryReader directory(source, 0, name);
    GobArchive header;
    GobDirectory entries;
    if (Status read = directory.Read(header, entries); !read) return read;
    out = std::move(entries);
    return Status::Ok();
}

Status ReadGob(std::span<const std::uint8_t> bytes, std::string_view name, GobArchive& out) {
    SpanSource source(bytes);
    return ReadGob(source, 0, name, out);
}

Status ReadGobFile(const std::filesystem::path& path, GobArchive& out) {
    FileSource source;
    if (Status opened = source.Open(path); !opened) return opened;
    return ReadGob(source, 0, path.string(), out);
}

Status WriteGobMembers(const std::array<std::uint8_t, 4>& magic, GobMembers& members,
                       std::uint32_t& indexOffset, ByteSink& sink) {
    const auto nameAndSize = [&](std::size_t i) {
        return std::pair<std::string_view, std::uint64_t>(members[i]->m_strName, members[i]->m_nSize);
    };
    if (Status writable = CheckWritable(members.size(), nameAndSize); !writable) return writable;
    std::uint32_t offset = kGobHeaderSize;
    for (auto& member : members) {
        member->m_nOffset = offset;
        offset += member->m_nSize;
    }
    indexOffset = offset;
    WriteHeader(magic, indexOffset, sink);
    for (const auto& member : members)
        sink.Write(member->data());
    GobDirectoryEntry entry;
    WriteIndex(
        members.size(),
        [&](std::size_t i) -> const GobDirectoryEntry& {
            entry = {members[i]->m_nOffset, members[i]->m_nSize, members[i]->m_strName};
            return entry;
        },
        sink);
    return Status::Ok();
}

Status WriteGobStreamed(GobDirectory& entries, const std::function<Status(std::size_t, ByteSink&)>& writeData,
                        ByteSink& sink, const std::array<std::uint8_t, 4>& magic) {
    const auto nameAndSize = [&](std::size_t i) {
        return std::pair<std::string_view, std::uint64_t>(entries[i].m_strName, entries[i].m_nSize);
    };
    if (Status writable = CheckWritable(entries.size(), nameAndSize); !writable) return writable;
    std::uint32_t offset = kGobHeaderSize;
    for (GobDirectoryEntry& e : entries) {
        e.m_nOffset = offset;
        offset += e.m_nSize;
    }
    WriteHeader(magic, offset, sink);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (Status written = writeData(i, sink); !written) return written;
    WriteIndex(
        entries.size(), [&](std::size_t i) -> const GobDirectoryEntry& { return entries[i]; }, sink);
    return Status::Ok();
}

Status WriteGob(GobArchive& archive, ByteSink& sink) {
    return WriteGobMembers(archive.m_Magic, archive.m_pMembers, archive.m_nIndexOffset, sink);
}

Status WriteGob(GobArchive& archive, std::vector<std::uint8_t>& out) {
    VectorSink sink(out);
    return WriteGob(archive, sink);
}

Status WriteGobFile(GobArchive& archive, const std::filesystem::path& path) {
    return WriteFileAtomically(path, [&](ByteSink& sink) { return WriteGob(archive, sink); });
}

Status WriteGobFile(const GobArchive& archive, const std::filesystem::path& path, TaskProgress& progress) {
    const GobMembers& members = archive.m_pMembers;
    GobDirectory entries(members.size());
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
        entries[i].m_strName = members[i]->m_strName;
        entries[i].m_nSize = members[i]->m_nSize;
        total += members[i]->m_nSize;
    }
    progress.m_nTotal = total;
    const auto writeData = [&](std::size_t i, ByteSink& sink) -> Status {
        if (progress.Cancelled()) return Status::Fail(std::string(kWorkCancelled));
        sink.Write(members[i]->data());
        progress.Advance(members[i]->m_nSize);
        return Status::Ok();
    };
    return WriteFileAtomically(
        path, [&](ByteSink& sink) { return WriteGobStreamed(entries, writeData, sink, archive.m_Magic); });
}

} // namespace morvi
