#pragma once

#include "gamefiles/AtomicFile.h"
#include "model/CDataGobEntry.h"
#include "model/Status.h"
#include "model/TaskProgress.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// A GOB archive: "GOB\n", u32 index offset, the member data blocks, then at the index offset the
// u32 member count and per member u32 offset, u32 size and a 13-byte NUL-padded name. Offsets
// count from the archive's first byte, which is not the file's first byte inside a document file.
inline constexpr std::array<std::uint8_t, 4> kGobMagic{{'G', 'O', 'B', '\n'}};
inline constexpr std::uint32_t kGobHeaderSize = 8;
inline constexpr std::uint32_t kGobNameField = 13;
inline constexpr std::uint32_t kGobIndexEntrySize = 8 + kGobNameField;

using GobMembers = std::vector<std::unique_ptr<CDataGobEntry>>;

// A member as the directory lists it, without its data: what a cache of a game archive keeps so
// that a member is read from the file only when it is needed.
struct GobDirectoryEntry {
    std::uint32_t m_nOffset = 0;
    std::uint32_t m_nSize = 0;
    std::string m_strName;
};
using GobDirectory = std::vector<GobDirectoryEntry>;

// Random access to the bytes an archive is read from: a buffer in memory or a file.
class ByteSource {
public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    virtual ~ByteSource() = default;

    virtual std::uint64_t size() const = 0;
    // Fills dest from offset on; false when those bytes cannot be read.
    virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) = 0;
};

class SpanSource final : public ByteSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : m_Bytes(bytes) {}
    std::uint64_t size() const override { return m_Bytes.size(); }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) override;

private:
    std::span<const std::uint8_t> m_Bytes;
};

// Reads straight into the caller's blocks, so that loading a member costs one copy from the disk.
class FileSource final : public ByteSource {
public:
    Status Open(const std::filesystem::path& path);
    std::uint64_t size() const override { return m_nSize; }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) override;

private:
    std::vector<char> m_Buffer;
    std::ifstream m_File;
    std::uint64_t m_nSize = 0;
    // Members usually follow each other; reading on from here needs no seek.
    std::uint64_t m_nPosition = 0;
};

// Any GOB held in memory: the archive tools work on it, a level keeps its own member array.
class GobArchive {
public:
    // Appends a member under the upper-cased name; refuses names of no or more than 12 characters.
    Status AddMember(std::string_view name, std::span<const std::uint8_t> data);
    // The first member whose name equals name ignoring case; nullptr when none.
    CDataGobEntry* FindMember(std::string_view name);
    // Removes the first member of that name (ignoring case); false when there is none.
    bool RemoveMember(std::string_view name);

    std::array<std::uint8_t, 4> m_Magic = kGobMagic;
    std::uint32_t m_nIndexOffset = 0;
    GobMembers m_pMembers;
};

// Reads the archive that starts at byte base of source; name is the file named in messages. The
// directory is checked against the size of the source before anything is allocated, and out is
// replaced only when the whole archive has been read.
Status ReadGob(ByteSource& source, std::uint64_t base, std::string_view name, GobArchive& out);
Status ReadGob(std::span<const std::uint8_t> bytes, std::string_view name, GobArchive& out);
Status ReadGobFile(const std::filesystem::path& path, GobArchive& out);

// Reads only the directory of the archive that starts the source (names upper-cased, in directory
// order), with the same checks as ReadGob: one read of the header, one of the member count and one
// of all entries. out is replaced only when the whole directory is sound.
Status ReadGobDirectory(ByteSource& source, std::string_view name, GobDirectory& out);

// Writes an archive of these members: the first block at 8, the blocks in member order, the index
// after the last block. Sets every member's offset and indexOffset to what was written. Refuses
// names longer than the name field and archives beyond 4 GB before writing anything.
Status WriteGobMembers(const std::array<std::uint8_t, 4>& magic, GobMembers& members,
                       std::uint32_t& indexOffset, ByteSink& sink);
// Writes a GOB whose member blocks come from writeData(i, sink), which must write exactly entry i's
// size: the header, the blocks in order, the directory. Sets the entries' offsets to where their
// blocks go; refuses what WriteGobMembers refuses, and stops at the first failure of writeData.
Status WriteGobStreamed(GobDirectory& entries, const std::function<Status(std::size_t, ByteSink&)>& writeData,
                        ByteSink& sink, const std::array<std::uint8_t, 4>& magic = kGobMagic);
Status WriteGob(GobArchive& archive, ByteSink& sink);
Status WriteGob(GobArchive& archive, std::vector<std::uint8_t>& out);
// Replaces the file only when the whole archive is written.
Status WriteGobFile(GobArchive& archive, const std::filesystem::path& path);
// The same for long work: progress counts the member bytes written, and a cancel wish stops the
// write with the old file left in place. The archive itself is not changed.
Status WriteGobFile(const GobArchive& archive, const std::filesystem::path& path, TaskProgress& progress);

} // namespace morvi
