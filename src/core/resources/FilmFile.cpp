#include "resources/FilmFile.h"

#include "model/ByteStream.h"
#include "model/StringUtil.h"
#include "resources/LfdArchive.h"

#include <algorithm>
#include <charconv>

namespace morvi {

namespace {

constexpr std::uint32_t kFilmCommandHeader = 4;
constexpr std::uint16_t kEndOpcode = 2;
// Every count and length of a film is a 16-bit word, so no valid film comes near this size.
constexpr std::uint64_t kFilmMaxFileBytes = 64ull * 1024 * 1024;

std::string FieldText(std::string_view field) {
    return std::string(field.substr(0, field.find('\0')));
}

void WriteField(ByteWriter& out, std::string_view text, std::size_t width) {
    out.chars(text.substr(0, width));
    for (std::size_t i = std::min(text.size(), width); i < width; ++i)
        out.u8(0);
}

Status CheckBlockFields(std::string_view type, std::string_view name) {
    if (type.empty() || type.size() > 4 || type.find('\0') != std::string_view::npos)
        return Status::Fail("The block type \"" + std::string(type) +
                            "\" is not valid: a film block type has 1 to 4 characters.");
    if (name.empty() || name.size() > 8 || name.find('\0') != std::string_view::npos)
        return Status::Fail("The block name \"" + std::string(name) +
                            "\" is not valid: a film block name has 1 to 8 characters.");
    return Status::Ok();
}

FilmCommandRow RowFromCommand(ByteReader& in, std::uint16_t length) {
    FilmCommandRow row;
    row.m_nOpcode = in.u16();
    row.m_strName = std::string(FilmOpcodeName(row.m_nOpcode));
    const std::size_t params = (length - kFilmCommandHeader) / 2;
    for (std::size_t i = 0; i < params; ++i) {
        const auto value = static_cast<std::int16_t>(in.u16());
        if (i < kFilmMaxParams) row.m_strParams[i] = std::to_string(value);
    }
    return row;
}

Status ParseCommands(const FilmBlock& block, std::vector<FilmCommandRow>& rows) {
    ByteReader in(block.m_Commands);
    while (in.remaining() > 0) {
        const std::size_t at = in.position();
        const std::uint16_t length = in.remaining() >= 2 ? in.u16() : 0;
        if (length < kFilmCommandHeader || length % 2 != 0 || std::size_t(length) - 2 > in.remaining())
            return Status::Fail("block \"" + block.m_strName + "\" (" + block.m_strType +
                                ") holds a damaged command at byte " + std::to_string(at) +
                                " of its data (length " + std::to_string(length) + ").");
        rows.push_back(RowFromCommand(in, length));
    }
    return Status::Ok();
}

// The parameters of a row: its cells up to the first empty one.
Status RowParams(const FilmCommandRow& row, std::size_t rowIndex, std::vector<std::uint16_t>& params) {
    for (std::size_t i = 0; i < row.m_strParams.size(); ++i) {
        if (Trim(row.m_strParams[i]).empty()) break;
        std::uint16_t value = 0;
        if (Status parsed = ParseFilmParam(row.m_strParams[i], value); !parsed)
            return Status::Fail("Command " + std::to_string(rowIndex + 1) + ", P" + std::to_string(i + 1) +
                                ": " + parsed.message());
        params.push_back(value);
    }
    return Status::Ok();
}

class FilmParser {
public:
    FilmParser(std::span<const std::uint8_t> bytes, std::string_view fileName)
        : m_Reader(bytes), m_FileName(fileName) {}

    Status Parse(FilmFile& film) {
        try {
            return ReadBlocks(film);
        } catch (const FormatError& error) {
            return Fail(std::string("the file is truncated: ") + error.what() + ".");
        }
    }

private:
    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_FileName) + ": " + problem);
    }

    Status ReadBlocks(FilmFile& film) {
        if (m_Reader.size() < kFilmHeaderSize)
            return Fail("the file is too short for a film (" + std::to_string(m_Reader.size()) +
                        " bytes, the header alone takes 6).");
        m_Reader.u16();
        m_Reader.u16();
        const std::uint16_t count = m_Reader.u16();
        if (std::uint64_t(count) * kFilmBlockHeaderSize > m_Reader.remaining())
            return Fail("the header counts " + std::to_string(count) + " blocks, more than the " +
                        std::to_string(m_Reader.remaining()) + " bytes after it can hold.");
        film.m_Blocks.resize(count);
        for (std::size_t i = 0; i < film.m_Blocks.size(); ++i)
            if (Status block = ReadBlock(i, film.m_Blocks[i]); !block) return block;
        return Status::Ok();
    }

    Status ReadBlock(std::size_t index, FilmBlock& block) {
        if (m_Reader.remaining() < kFilmBlockHeaderSize)
            return Fail("block " + std::to_string(index + 1) + " lies beyond the end of the file.");
        block.m_strType = FieldText(m_Reader.chars(4));
        block.m_strName = FieldText(m_Reader.chars(8));
        block.m_nSize = m_Reader.u32();
        block.m_nKind = m_Reader.u16();
        block.m_nCommandCount = m_Reader.u16();
        const std::uint16_t length = m_Reader.u16();
        if (length > m_Reader.remaining())
            return Fail("the commands of block " + std::to_string(index + 1) + " (" + block.m_strType +
                        " \"" + block.m_strName + "\", " + std::to_string(length) +
                        " bytes) run beyond the end of the file.");
        const auto data = m_Reader.bytes(length);
        block.m_Commands.assign(data.begin(), data.end());
        std::vector<FilmCommandRow> rows;
        if (Status commands = ParseCommands(block, rows); !commands) return Fail(commands.message());
        return Status::Ok();
    }

    ByteReader m_Reader;
    std::string_view m_FileName;
};

void WriteBlock(ByteWriter& out, const FilmBlock& block) {
    WriteField(out, block.m_strType, 4);
    WriteField(out, block.m_strName, 8);
    out.u32(block.m_nSize);
    out.u16(block.m_nKind);
    out.u16(block.m_nCommandCount);
    out.u16(static_cast<std::uint16_t>(block.m_Commands.size()));
    out.bytes(block.m_Commands);
}

// The closing block the game expects after the counted ones.
void WriteEndBlock(ByteWriter& out) {
    WriteField(out, "END", 4);
    WriteField(out, "untitled", 8);
    out.u32(18);
    out.u16(1);
    out.u16(0);
}

} // namespace

std::string_view FilmOpcodeName(std::uint16_t opcode) {
    for (const FilmOpcode& entry : kFilmOpcodes)
        if (entry.m_nOpcode == opcode) return entry.m_Name;
    return {};
}

std::optional<std::uint16_t> FilmOpcodeByName(std::string_view name) {
    for (const FilmOpcode& entry : kFilmOpcodes)
        if (EqualsNoCase(entry.m_Name, Trim(name))) return entry.m_nOpcode;
    return std::nullopt;
}

Status MakeFilmBlock(std::string_view type, std::string_view name, FilmBlock& out) {
    if (Status checked = CheckBlockFields(type, name); !checked) return checked;
    FilmBlock block;
    block.m_strType = std::string(type);
    block.m_strName = std::string(name);
    AppendEndCommand(block);
    out = std::move(block);
    return Status::Ok();
}

Status MakeResourceFilmBlock(std::string_view fileName, FilmBlock& out) {
    static constexpr std::array<std::array<std::string_view, 2>, 4> kTypes{{
        {"anm", "ANIM"},
        {"dlt", "DELT"},
        {"plt", "PLTT"},
        {"voc", "VOIC"},
    }};
    const std::string lower = ToLower(fileName);
    const std::size_t dot = lower.find('.');
    const std::string_view extension =
        dot == std::string::npos ? std::string_view() : std::string_view(lower).substr(dot + 1);
    for (const auto& [ext, type] : kTypes) {
        if (extension != ext) continue;
        if (Status made = MakeFilmBlock(type, lower.substr(0, dot), out); !made)
            return Status::Fail(std::string(fileName) + ": " + made.message());
        return Status::Ok();
    }
    return Status::Fail(std::string(fileName) + ": the extension \"" + std::string(extension) +
                        "\" names no resource a film block can refer to.");
}

FilmBlock MakeViewFilmBlock() {
    FilmBlock block;
    MakeFilmBlock("VIEW", "untitled", block);
    return block;
}

FilmBlock MakeCustomFilmBlock() {
    FilmBlock block;
    MakeFilmBlock("CUST", "custom", block);
    return block;
}

FilmFile MakeNewFilm() {
    FilmFile film;
    film.m_Blocks.push_back(MakeViewFilmBlock());
    return film;
}

Status ParseFilmParam(std::string_view text, std::uint16_t& value) {
    const std::string_view digits = Trim(text);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || number < -32768 ||
        number > 65535)
        return Status::Fail("\"" + std::string(text) + "\" is not a number from -32768 to 65535.");
    value = static_cast<std::uint16_t>(number);
    return Status::Ok();
}

void AppendEndCommand(FilmBlock& block) {
    ByteWriter out(block.m_Commands);
    out.u16(kFilmCommandHeader);
    out.u16(kEndOpcode);
    block.m_nSize += kFilmCommandHeader;
    ++block.m_nCommandCount;
}

Status ReadFilmCommands(const FilmBlock& block, std::vector<FilmCommandRow>& rows) {
    std::vector<FilmCommandRow> read;
    if (Status parsed = ParseCommands(block, read); !parsed) return parsed;
    rows = std::move(read);
    return Status::Ok();
}

Status RebuildFilmBlock(FilmBlock& block, std::span<const FilmCommandRow> rows) {
    std::vector<std::uint8_t> data;
    ByteWriter out(data);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FilmCommandRow& row = rows[i];
        std::vector<std::uint16_t> params;
        if (Status taken = RowParams(row, i, params); !taken) return taken;
        out.u16(static_cast<std::uint16_t>(kFilmCommandHeader + 2 * params.size()));
        out.u16(FilmOpcodeByName(row.m_strName).value_or(row.m_nOpcode));
        for (std::uint16_t param : params)
            out.u16(param);
    }
    if (data.size() > 0xFFFF || rows.size() > 0xFFFF)
        return Status::Fail("Block \"" + block.m_strName +
                            "\" would hold more commands than a film block can (" +
                            std::to_string(data.size()) + " bytes, at most 65535).");
    block.m_Commands = std::move(data);
    block.m_nCommandCount = static_cast<std::uint16_t>(rows.size());
    block.m_nSize = kFilmBlockHeaderSize + static_cast<std::uint32_t>(block.m_Commands.size());
    return Status::Ok();
}

Status ReadFilm(std::span<const std::uint8_t> bytes, std::string_view fileName, FilmFile& out) {
    FilmFile film;
    if (Status parsed = FilmParser(bytes, fileName).Parse(film); !parsed) return parsed;
    out = std::move(film);
    return Status::Ok();
}

Status ReadFilmFile(const std::filesystem::path& path, FilmFile& out) {
    std::vector<std::uint8_t> bytes;
    if (Status read = ReadResourceFile(path, kFilmMaxFileBytes, bytes); !read) return read;
    return ReadFilm(bytes, path.string(), out);
}

Status WriteFilm(const FilmFile& film, std::vector<std::uint8_t>& out) {
    if (film.m_Blocks.size() > 0xFFFF)
        return Status::Fail("The film has " + std::to_string(film.m_Blocks.size()) +
                            " blocks; a film holds at most 65535.");
    for (const FilmBlock& block : film.m_Blocks) {
        // Blocks read from a file may carry empty fields; only what cannot be written is refused.
        if (block.m_strType.size() > 4 || block.m_strName.size() > 8)
            return Status::Fail("Block \"" + block.m_strName + "\" (" + block.m_strType +
                                ") has a type or name too long for a film block.");
        if (block.m_Commands.size() > 0xFFFF)
            return Status::Fail("Block \"" + block.m_strName + "\" holds more than 65535 bytes of commands.");
    }
    std::vector<std::uint8_t> bytes;
    ByteWriter writer(bytes);
    writer.u16(kFilmVersion);
    writer.u16(0);
    writer.u16(static_cast<std::uint16_t>(film.m_Blocks.size()));
    for (const FilmBlock& block : film.m_Blocks)
        WriteBlock(writer, block);
    WriteEndBlock(writer);
    out = std::move(bytes);
    return Status::Ok();
}

Status WriteFilmFile(const FilmFile& film, const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    if (Status written = WriteFilm(film, bytes); !written) return written;
    return WriteFileAtomically(path, [&bytes](ByteSink& sink) {
        sink.Write(bytes);
        return Status::Ok();
    });
}

} // namespace morvi
