#include "resources/LfdArchive.h"

#include "model/ByteStream.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <system_error>

namespace morvi {

namespace {

// The largest archive whose offsets still fit the 32-bit words of the format.
constexpr std::uint64_t kLfdMaxBytes = 0xFFFFFFFFull;

// A field's text ends at its first NUL: what follows in the field is left-over garbage.
std::string FieldText(std::string_view field) {
    return std::string(field.substr(0, field.find('\0')));
}

// Member names from damaged files may hold control characters; messages show them as '?'.
std::string Printable(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
    return out;
}

std::string Describe(const LfdMember& member) {
    return "\"" + Printable(member.m_strName) + "\" (" + Printable(member.m_strType) + ")";
}

void WriteField(ByteWriter& out, std::string_view text, std::size_t width) {
    out.chars(text.substr(0, width));
    for (std::size_t i = std::min(text.size(), width); i < width; ++i)
        out.u8(0);
}

void WriteRecord(ByteWriter& out, std::string_view type, std::string_view name, std::uint32_t size) {
    WriteField(out, type, kLfdTypeField);
    WriteField(out, name, kLfdNameField);
    out.u32(size);
}

std::uint64_t ArchiveBytes(const std::vector<LfdMember>& members) {
    std::uint64_t total = kLfdRecordSize + 2 * kLfdRecordSize * std::uint64_t(members.size());
    for (const LfdMember& member : members)
        total += member.m_Data.size();
    return total;
}

// Reads the map and then each member's data where the running offset puts it: the member headers
// repeat the map records and are skipped, the map is what the game trusts.
class LfdParser {
public:
    LfdParser(std::span<const std::uint8_t> bytes, std::string_view fileName)
        : m_Bytes(bytes), m_Reader(bytes), m_FileName(fileName) {}

    Status Parse(std::vector<LfdMember>& members) {
        try {
            std::uint64_t count = 0;
            if (Status map = ReadMapHeader(count); !map) return map;
            return ReadMembers(count, members);
        } catch (const FormatError& error) {
            return Fail(std::string("the file is truncated: ") + error.what() + ".");
        }
    }

private:
    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_FileName) + ": " + problem);
    }

    Status ReadMapHeader(std::uint64_t& count) {
        if (m_Bytes.size() < kLfdRecordSize)
            return Fail("the file is too short for an LFD archive (" + std::to_string(m_Bytes.size()) +
                        " bytes, the resource map header alone takes 16).");
        m_Reader.chars(kLfdTypeField + kLfdNameField);
        const std::uint32_t mapSize = m_Reader.u32();
        if (mapSize % kLfdRecordSize != 0)
            return Fail("the resource map size " + std::to_string(mapSize) +
                        " is not a multiple of 16 (a damaged map header).");
        count = mapSize / kLfdRecordSize;
        // Each member takes a map record and a header of its own, so the count is checked against the
        // file before anything is allocated for it.
        if (kLfdRecordSize + 2 * kLfdRecordSize * count > m_Bytes.size())
            return Fail("the resource map lists " + std::to_string(count) + " members, more than the " +
                        std::to_string(m_Bytes.size()) +
                        " bytes of the file can hold (the map runs beyond the end of the file).");
        return Status::Ok();
    }

    Status ReadMembers(std::uint64_t count, std::vector<LfdMember>& members) {
        std::uint64_t offset = kLfdRecordSize + kLfdRecordSize * count + kLfdRecordSize;
        members.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < members.size(); ++i) {
            LfdMember& member = members[i];
            member.m_strType = FieldText(m_Reader.chars(kLfdTypeField));
            member.m_strName = FieldText(m_Reader.chars(kLfdNameField));
            const std::uint32_t size = m_Reader.u32();
            if (offset + size > m_Bytes.size())
                return Fail("member " + Describe(member) + " (entry " + std::to_string(i + 1) +
                            ") lies beyond the end of the file: its " + std::to_string(size) +
                            " bytes at offset " + std::to_string(offset) + " end past the " +
                            std::to_string(m_Bytes.size()) + " bytes of the file.");
            const auto data = m_Bytes.subspan(static_cast<std::size_t>(offset), size);
            member.m_Data.assign(data.begin(), data.end());
            offset += size + kLfdRecordSize;
        }
        return Status::Ok();
    }

    std::span<const std::uint8_t> m_Bytes;
    ByteReader m_Reader;
    std::string_view m_FileName;
};

Status CheckField(std::string_view what, std::string_view text, std::size_t width) {
    if (text.empty() || text.size() > width || text.find('\0') != std::string_view::npos)
        return Status::Fail("The member " + std::string(what) + " \"" + Printable(text) +
                            "\" is not valid: an LFD member " + std::string(what) + " has 1 to " +
                            std::to_string(width) + " characters.");
    return Status::Ok();
}

} // namespace

Status ReadResourceFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                        std::vector<std::uint8_t>& out) {
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(path, ec);
    if (ec) return Status::Fail(path.string() + ": cannot open the file: " + ec.message());
    if (size > maxBytes)
        return Status::Fail(path.string() + ": the file is too large (" + std::to_string(size) +
                            " bytes, at most " + std::to_string(maxBytes) + " are read).");
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file || !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return Status::Fail(path.string() + ": cannot read the file.");
    out = std::move(bytes);
    return Status::Ok();
}

const LfdFileType* FindLfdTypeByType(std::string_view type) {
    for (const LfdFileType& entry : kLfdFileTypes)
        if (EqualsNoCase(entry.m_Type, type)) return &entry;
    return nullptr;
}

const LfdFileType* FindLfdTypeByExtension(std::string_view extension) {
    for (const LfdFileType& entry : kLfdFileTypes)
        if (EqualsNoCase(entry.m_Extension, extension)) return &entry;
    return nullptr;
}

Status LfdArchive::Read(std::span<const std::uint8_t> bytes, std::string_view fileName) {
    std::vector<LfdMember> members;
    if (Status parsed = LfdParser(bytes, fileName).Parse(members); !parsed) return parsed;
    m_Members = std::move(members);
    UpdateOffsets();
    return Status::Ok();
}

Status LfdArchive::ReadFile(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    if (Status read = ReadResourceFile(path, kLfdMaxBytes, bytes); !read) return read;
    return Read(bytes, path.string());
}

Status LfdArchive::Append(std::span<const std::uint8_t> bytes, std::string_view fileName) {
    std::vector<LfdMember> members;
    if (Status parsed = LfdParser(bytes, fileName).Parse(members); !parsed) return parsed;
    return AppendMembers(std::move(members), std::string(fileName));
}

Status LfdArchive::AddMember(std::string_view type, std::string_view name, std::vector<std::uint8_t> data) {
    if (Status checked = CheckField("type", type, kLfdTypeField); !checked) return checked;
    if (Status checked = CheckField("name", name, kLfdNameField); !checked) return checked;
    std::vector<LfdMember> added(1);
    added[0].m_strType = std::string(type);
    added[0].m_strName = std::string(name);
    added[0].m_Data = std::move(data);
    return AppendMembers(std::move(added), "The member \"" + std::string(name) + "\"");
}

Status LfdArchive::AddFile(std::string_view fileName, std::span<const std::uint8_t> contents) {
    const std::string lower = ToLower(fileName);
    const std::size_t dot = lower.find('.');
    const std::string_view extension =
        dot == std::string::npos ? std::string_view() : std::string_view(lower).substr(dot + 1);
    if (extension == "lfd") return Append(contents, fileName);
    const LfdFileType* type = FindLfdTypeByExtension(extension);
    if (type == nullptr)
        return Status::Fail(std::string(fileName) + ": the extension \"" + std::string(extension) +
                            "\" is not one an LFD member can be added from.");
    if (Status checked = CheckField("name", lower.substr(0, dot), kLfdNameField); !checked)
        return Status::Fail(std::string(fileName) + ": " + checked.message());
    return AddMember(type->m_Type, lower.substr(0, dot), {contents.begin(), contents.end()});
}

Status LfdArchive::AddFile(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    if (Status read = ReadResourceFile(path, kLfdMaxBytes, bytes); !read) return read;
    return AddFile(path.filename().string(), bytes);
}

bool LfdArchive::DeleteMember(std::size_t index) {
    if (index >= m_Members.size()) return false;
    m_Members.erase(m_Members.begin() + static_cast<std::ptrdiff_t>(index));
    UpdateOffsets();
    return true;
}

Status LfdArchive::AppendMembers(std::vector<LfdMember> members, std::string_view what) {
    std::uint64_t total = ArchiveBytes(m_Members) + ArchiveBytes(members) - kLfdRecordSize;
    if (total > kLfdMaxBytes)
        return Status::Fail(std::string(what) +
                            " would make the archive larger than 4 GB, which an LFD archive cannot hold.");
    m_Members.insert(m_Members.end(), std::make_move_iterator(members.begin()),
                     std::make_move_iterator(members.end()));
    UpdateOffsets();
    return Status::Ok();
}

void LfdArchive::UpdateOffsets() {
    std::uint64_t offset = kLfdRecordSize + mapSize() + kLfdRecordSize;
    for (LfdMember& member : m_Members) {
        member.m_nOffset = static_cast<std::uint32_t>(offset);
        offset += member.m_Data.size() + kLfdRecordSize;
    }
}

void LfdArchive::Write(ByteSink& sink) const {
    std::vector<std::uint8_t> head;
    ByteWriter out(head);
    WriteRecord(out, "RMAP", "resource", mapSize());
    for (const LfdMember& member : m_Members)
        WriteRecord(out, member.m_strType, member.m_strName, member.size());
    sink.Write(head);
    for (const LfdMember& member : m_Members) {
        head.clear();
        WriteRecord(out, member.m_strType, member.m_strName, member.size());
        sink.Write(head);
        sink.Write(member.m_Data);
    }
}

std::vector<std::uint8_t> LfdArchive::Write() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(ArchiveBytes(m_Members)));
    VectorSink sink(bytes);
    Write(sink);
    return bytes;
}

Status LfdArchive::WriteFile(const std::filesystem::path& path) const {
    return WriteFileAtomically(path, [this](ByteSink& sink) {
        Write(sink);
        return Status::Ok();
    });
}

} // namespace morvi
