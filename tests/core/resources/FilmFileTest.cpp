#include "resources/FilmFile.h"

#include "PictureHelpers.h"

namespace morvi {
namespace {

using namespace testing;

// Film bytes by hand, so that the reader is tested against the format and not our own writer.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    RawBytes& words(std::initializer_list<std::uint16_t> values) {
        for (std::uint16_t v : values)
            u16(v);
        return *this;
    }
    RawBytes& block(std::string_view type, std::string_view name, std::uint32_t size, std::uint16_t kind,
                    std::uint16_t commands, std::uint16_t length) {
        return field(type, 4).field(name, 8).u32(size).u16(kind).u16(commands).u16(length);
    }
    RawBytes& endBlock() { return field("END", 4).field("untitled", 8).u32(18).u16(1).u16(0); }
};

// A VIEW block with WINDOW 0 0 319 -1 and END, and an ANIM block of kind 3 with CUE 7 and an
// opcode the table does not know.
Bytes SmallFilm(std::uint16_t version = 4, std::uint16_t second = 0) {
    return RawBytes()
        .words({version, second, 2})
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

// The rows of a block as text, one line each: name, then the parameters up to the first empty one.
std::string Text(const FilmBlock& block) {
    std::vector<FilmCommandRow> rows;
    EXPECT_TRUE(Succeeded(ReadFilmCommands(block, rows)));
    std::string text;
    for (const FilmCommandRow& row : rows) {
        text += row.m_strName;
        for (const std::string& param : row.m_strParams)
            if (!param.empty()) text += " " + param;
        text += "\n";
    }
    return text;
}

// Another version and second word are read, but written as 4 and 0; the END block is not read,
// so a film without one loads the same. Commands show as rows, the unknown opcode included, and
// unchanged rows rebuild the same bytes.
TEST(FilmFileTest, ReadsAndWritesFilmsExactlyAndRebuildsBlocksFromRows) {
    EXPECT_EQ(
        Written(MakeNewFilm()),
        RawBytes().words({4, 0, 1}).block("VIEW", "untitled", 26, 0, 1, 4).words({4, 2}).endBlock().m_Bytes);
    Bytes other = SmallFilm(3, 77);
    other.resize(other.size() - 20);
    for (const Bytes& bytes : {SmallFilm(), other}) {
        FilmFile film;
        ASSERT_TRUE(Succeeded(ReadFilm(bytes, "small.flm", film)));
        EXPECT_EQ(Written(film), SmallFilm());
        EXPECT_EQ(Text(film.m_Blocks[0]) + Text(film.m_Blocks[1]), "WINDOW 0 0 319 -1\nEND\nCUE 7\n 1234\n");
        std::vector<FilmCommandRow> rows;
        ASSERT_TRUE(Succeeded(ReadFilmCommands(film.m_Blocks[1], rows)));
        FilmBlock rebuilt = film.m_Blocks[1];
        ASSERT_TRUE(Succeeded(RebuildFilmBlock(rebuilt, rows)));
        EXPECT_EQ(rebuilt.m_Commands, film.m_Blocks[1].m_Commands);
    }
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
        {Bytes(good.begin(), good.begin() + 6 + 38 + 10), "block 2 lies beyond the end"},
        {patched(6 + 20, 200), "block 1 (VIEW \"untitled\", 200 bytes) run beyond the end"},
        {patched(6 + 22, 18), "damaged command at byte 0 of its data (length 18)"},
    };
    for (const auto& [bytes, problem] : cases) {
        FilmFile film = MakeNewFilm();
        const std::string message = ReadFilm(bytes, "damaged.flm", film).message();
        EXPECT_EQ(message.rfind("damaged.flm: ", 0), 0u) << message;
        EXPECT_NE(message.find(problem), std::string::npos) << message;
        EXPECT_EQ(Written(film), Written(MakeNewFilm()));
    }
}

} // namespace
} // namespace morvi
