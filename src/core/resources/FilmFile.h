#pragma once

#include "gamefiles/AtomicFile.h"
#include "model/Status.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// An FLM film: a 6-byte header (u16 version, u16 unused, u16 block count), the counted blocks,
// and a closing 20-byte END block that readers do not look at. A block is a 22-byte header
// (4-character type, 8-character NUL-padded name, u32 size = 22 + data length, u16 kind, u16
// command count, u16 data length) and its commands. A command is u16 length in bytes
// (4 + 2 x parameters), u16 opcode and signed 16-bit parameters.
inline constexpr std::uint32_t kFilmHeaderSize = 6;
inline constexpr std::uint32_t kFilmBlockHeaderSize = 22;
inline constexpr std::size_t kFilmMaxParams = 7;
inline constexpr std::uint16_t kFilmVersion = 4;

struct FilmOpcode {
    std::string_view m_Name;
    std::uint16_t m_nOpcode;
};

inline constexpr std::array<FilmOpcode, 13> kFilmOpcodes{{
    {"END", 2},
    {"TIME", 3},
    {"MOVE", 4},
    {"SPEED", 5},
    {"LAYER", 6},
    {"ANIMATE", 8},
    {"CUE", 9},
    {"WINDOW", 11},
    {"SWITCH", 13},
    {"PALETTE", 15},
    {"CUT", 18},
    {"SOUND", 25},
    {"STEREO", 28},
}};

// The name of an opcode; empty when the table does not know it.
std::string_view FilmOpcodeName(std::uint16_t opcode);
// The opcode of a name, ignoring case; nothing when the table does not know it.
std::optional<std::uint16_t> FilmOpcodeByName(std::string_view name);

struct FilmBlock {
    std::string m_strType;
    std::string m_strName;
    std::uint32_t m_nSize = kFilmBlockHeaderSize;
    // Read and written back unchanged; blocks made here carry 0.
    std::uint16_t m_nKind = 0;
    std::uint16_t m_nCommandCount = 0;
    // The data length word is the size of this buffer.
    std::vector<std::uint8_t> m_Commands;
};

// One command as the user edits it: the opcode's name and the parameter cells P1 to P7 as text.
// The parameters end at the first empty cell.
struct FilmCommandRow {
    std::string m_strName;
    std::array<std::string, kFilmMaxParams> m_strParams;
    // The opcode read from the file, kept for rows whose name the table does not know.
    std::uint16_t m_nOpcode = 0;
};

struct FilmFile {
    std::vector<FilmBlock> m_Blocks;
};

// A block of this type and name holding one END command; refuses a type of no or more than 4
// characters and a name of no or more than 8.
Status MakeFilmBlock(std::string_view type, std::string_view name, FilmBlock& out);
// The block the Add command makes for a resource file: its lower-cased name split at the first
// dot, the extension anm, dlt, plt or voc giving the type ANIM, DELT, PLTT or VOIC and the part
// before the dot the name. The file itself is not read: the block only names the resource.
Status MakeResourceFilmBlock(std::string_view fileName, FilmBlock& out);
// The blocks the New command makes: VIEW "untitled" and CUST "custom".
FilmBlock MakeViewFilmBlock();
FilmBlock MakeCustomFilmBlock();
// A new film: one VIEW block named "untitled" with one END command.
FilmFile MakeNewFilm();

// A parameter cell as the user types it: a decimal from -32768 to 65535, blanks around it allowed,
// kept in 16 bits (so -1 and 65535 are both 0xFFFF). Anything else is refused, naming the text.
Status ParseFilmParam(std::string_view text, std::uint16_t& value);

// Appends an END command (length 4, opcode 2) to the block.
void AppendEndCommand(FilmBlock& block);
// The block's commands as rows, parameters shown as signed decimals; refuses command data that
// does not divide into whole commands.
Status ReadFilmCommands(const FilmBlock& block, std::vector<FilmCommandRow>& rows);
// Replaces the block's commands by the rows: each gets the opcode of its name (or, for a name the
// table does not know, the row's own opcode) and its parameters up to the first empty cell
// (ParseFilmParam). Size, command count and data length follow. A cell that is not a parameter
// is refused, naming its row and column, and leaves the block as it was.
Status RebuildFilmBlock(FilmBlock& block, std::span<const FilmCommandRow> rows);

// Reads a film; fileName is named in messages. A damaged film is refused and leaves out unchanged.
Status ReadFilm(std::span<const std::uint8_t> bytes, std::string_view fileName, FilmFile& out);
Status ReadFilmFile(const std::filesystem::path& path, FilmFile& out);
// Writes version 4, the blocks and the closing END block; refuses more than 65535 blocks.
Status WriteFilm(const FilmFile& film, std::vector<std::uint8_t>& out);
// Replaces the file only when the whole film is written.
Status WriteFilmFile(const FilmFile& film, const std::filesystem::path& path);

} // namespace morvi
