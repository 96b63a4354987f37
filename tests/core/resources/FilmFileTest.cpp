#include "resources/FilmFile.h"

#include "support/RawBytes.h"
#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds film bytes by hand, so that the reader is tested against the format and not against our
// own writer.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    // One command or a run of parameters: 16-bit words.
    RawBytes& words(std::initializer_list<std::uint16_t> values) {
        for (std::uint16_t v : values)
            u16(v);
        return *this;
    }
    RawBytes& header(std::uint16_t version, std::uint16_t second, std::uint16_t count) {
        return u16(version).u16(second).u16(count);
    }
    RawBytes& block(std::string_view type, std::string_view name, std::uint32_t size, std::uint16_t kind,
                    std::uint16_t commands, std::uint16_t length) {
        return field(type, 4).field(name, 8).u32(size).u16(kind).u16(commands).u16(length);
    }
    RawBytes& endBlock() { return field("END", 4).field("untitled", 8).u32(18).u16(1).u16(0); }
};

using testing::Succeeded;

// A VIEW block with WINDOW 0 0 319 -1 and END, and an ANIM block of kind 3 with CUE 7 and an
// opcode the table does not know.
Bytes SmallFilm(std::uint16_t version = 4, std::uint16_t second = 0) {
    return RawBytes()
        .header(version, second, 2)
        .block("VIEW", "untitled", 22 + 16, 1, 2, 16)
        .words({12, 11, 0, 0, 319, 0xFFFF, 4, 2})
        .block("ANIM", "bigcity", 22 + 12, 3, 2, 12)
        .words({6, 9, 7, 6, 99, 1234})
        .endBlock()
        .m_Bytes;
}

Bytes Written(const FilmFile& film) {
    Bytes bytes;
    EXPECT_TRUE(Succeeded(WriteFilm(film, bytes)));
    return bytes;
}

std::vector<FilmCommandRow> Rows(const FilmBlock& block) {
    std::vector<FilmCommandRow> rows;
    EXPECT_TRUE(Succeeded(ReadFilmCommands(block, rows)));
    return rows;
}

FilmCommandRow Row(std::string name, std::vector<std::string> params) {
    FilmCommandRow row;
    row.m_strName = std::move(name);
    std::copy(params.begin(), params.end(), row.m_strParams.begin());
    return row;
}

TEST(FilmFileTest, ReadsAndWritesFilmsExactly) {
    EXPECT_EQ(
        Written(MakeNewFilm()),
        RawBytes().header(4, 0, 1).block("VIEW", "untitled", 26, 0, 1, 4).words({4, 2}).endBlock().m_Bytes);
    FilmFile film;
    ASSERT_TRUE(Succeeded(ReadFilm(SmallFilm(), "small.flm", film)));
    ASSERT_EQ(film.m_Blocks.size(), 2u);
    EXPECT_EQ(Written(film), SmallFilm());

    // Another version and second word are read, but written as 4 and 0; the END block is not read,
    // so a film without one loads the same.
    Bytes other = SmallFilm(3, 77);
    other.resize(other.size() - 20);
    FilmFile again;
    ASSERT_TRUE(Succeeded(ReadFilm(other, "other.flm", again)));
    EXPECT_EQ(Written(again), SmallFilm());
}

// The rows of a block as text, one line each: name, then the parameters up to the first empty one.
std::string Text(const std::vector<FilmCommandRow>& rows) {
    std::string text;
    for (const FilmCommandRow& row : rows) {
        text += row.m_strName;
        for (const std::string& param : row.m_strParams)
            if (!param.empty()) text += " " + param;
        text += "\n";
    }
    return text;
}

TEST(FilmFileTest, CommandsShowAsRowsAndBlocksRebuildFromRows) {
    FilmFile film;
    ASSERT_TRUE(Succeeded(ReadFilm(SmallFilm(), "small.flm", film)));
    EXPECT_EQ(Text(Rows(film.m_Blocks[0])), "WINDOW 0 0 319 -1\nEND\n");
    const std::vector<FilmCommandRow> anim = Rows(film.m_Blocks[1]);
    EXPECT_EQ(Text(anim), "CUE 7\n 1234\n");

    // Unchanged rows give back the same bytes, the unknown opcode included.
    FilmBlock rebuilt = film.m_Blocks[1];
    ASSERT_TRUE(Succeeded(RebuildFilmBlock(rebuilt, anim)));
    EXPECT_EQ(rebuilt.m_Commands, film.m_Blocks[1].m_Commands);

    // Parameters stop at the first empty cell; -1 is stored as 0xFFFF; names ignore case.
    const std::vector<FilmCommandRow> rows{Row("move", {"", "5"}), Row("SOUND", {"-1", "40", " 7"}),
                                           Row("NOSUCH", {"2"})};
    ASSERT_TRUE(Succeeded(RebuildFilmBlock(rebuilt, rows)));
    EXPECT_EQ(rebuilt.m_Commands,
              RawBytes().words({4, 4}).words({10, 25, 0xFFFF, 40, 7}).words({6, 0, 2}).m_Bytes);
    EXPECT_EQ(std::tuple(rebuilt.m_nCommandCount, rebuilt.m_nSize, rebuilt.m_nKind),
              std::tuple(3, 22u + 20, 3));
    EXPECT_EQ(Text(Rows(rebuilt)), "MOVE\nSOUND -1 40 7\n 2\n");

    // A block for a resource takes its type from the extension and its name from the file.
    FilmBlock block;
    ASSERT_TRUE(Succeeded(MakeResourceFilmBlock("BigCity.ANM", block)));
    EXPECT_EQ(std::tuple(block.m_strType, block.m_strName, block.m_Commands),
              std::tuple("ANIM", "bigcity", Bytes{4, 0, 2, 0}));
    for (const char* refused : {"a.flm", "intro.film.anm", "ninechars.anm"})
        EXPECT_FALSE(MakeResourceFilmBlock(refused, block)) << refused;
}

TEST(FilmFileTest, RefusesDamagedFilmsAndKeepsWhatItHad) {
    const Bytes good = SmallFilm();
    const auto patched = [&good](std::size_t at, std::uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return bytes;
    };
    // The block count, the first block's data length, its first command's length.
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(good.begin(), good.begin() + 5), "too short"},
        {patched(4, 0xFF), "counts 255 blocks"},
        {Bytes(good.begin(), good.begin() + 6 + 38 + 10), "block 2 lies beyond the end"},
        {patched(6 + 20, 200), "block 1 (VIEW \"untitled\", 200 bytes) run beyond the end"},
        {patched(6 + 22, 0), "damaged command at byte 0"},
        {patched(6 + 22, 18), "damaged command at byte 0 of its data (length 18)"},
    };
    for (const auto& [bytes, problem] : cases) {
        FilmFile film = MakeNewFilm();
        const Status read = ReadFilm(bytes, "damaged.flm", film);
        ASSERT_FALSE(read) << problem;
        EXPECT_EQ(read.message().rfind("damaged.flm: ", 0), 0u) << read.message();
        EXPECT_NE(read.message().find(problem), std::string::npos) << read.message();
        EXPECT_EQ(Written(film), Written(MakeNewFilm()));
    }

    FilmBlock block;
    block.m_Commands = {4, 0};
    std::vector<FilmCommandRow> rows;
    EXPECT_FALSE(ReadFilmCommands(block, rows));
    FilmFile tooLong = MakeNewFilm();
    tooLong.m_Blocks[0].m_strName = "ninechars";
    Bytes out;
    EXPECT_FALSE(WriteFilm(tooLong, out));
}

} // namespace
} // namespace morvi
