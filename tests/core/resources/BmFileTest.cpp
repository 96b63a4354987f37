#include "resources/BmFile.h"

#include "PictureHelpers.h"

namespace morvi {
namespace {

using namespace testing;

// BM bytes by hand, so that the decoder is tested against the format and not only our encoder.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    // The 32-byte header with the fields the decoder reads.
    RawBytes& header(std::uint16_t width, std::uint16_t height, std::uint16_t count,
                     std::uint16_t compression, std::uint32_t dataSize) {
        u8('B').u8('M').u8(' ').u8(0x1E).u16(width).u16(height).u16(0).u16(count).u8(0).u8(0);
        return u16(compression).u32(dataSize).zeros(12);
    }
    // A compressed picture: header, run data, then the column offsets.
    RawBytes& runs(std::uint16_t compression, std::uint16_t height, const Bytes& data,
                   const std::vector<std::uint32_t>& offsets) {
        header(static_cast<std::uint16_t>(offsets.size()), height, 0, compression,
               static_cast<std::uint32_t>(data.size()))
            .bytes(data);
        for (const std::uint32_t offset : offsets)
            u32(offset);
        return *this;
    }
};

std::vector<Columns> Decoded(const Bytes& bytes) {
    std::vector<IndexedImage> frames;
    EXPECT_TRUE(Succeeded(DecodeBm(bytes, "WALL.BM", GamePalette(), false, frames)));
    std::vector<Columns> all;
    for (const IndexedImage& frame : frames)
        all.push_back(testing::ColumnsOf(frame));
    return all;
}

IndexedImage Picture(const Columns& columns) {
    return testing::PictureOf(static_cast<int>(columns.size()), static_cast<int>(columns[0].size()),
                              [&](int c, int r) { return columns[std::size_t(c)][std::size_t(r)]; });
}

// Plain pictures store columns bottom first. Run-length columns (compression 1) carry a value
// byte after each run, zero-run columns (compression 2) do not; control bytes up to 128 copy,
// above it run. Column offsets count from the run data; runs that pass a column's top are cut
// there. A picture one pixel wide and more than one high is an animated texture whose sub-picture
// offsets count from the table's start.
TEST(BmFileTest, ReadsEveryLayoutAndWritesPlainAndRunsByteForByte) {
    RawBytes animated;
    animated.header(1, 60, 2, 0, 0).u8(10).u8(2).u32(8).u32(8 + 28 + 4);
    animated.u16(2).u16(2).zeros(24).bytes(Bytes{1, 2, 3, 4}).u16(1).u16(3).zeros(24).bytes(Bytes{7, 8, 9});
    // clang-format off
    const std::vector<std::pair<Bytes, std::vector<Columns>>> cases{
        {RawBytes().header(2, 3, 3, 0, 0).bytes({1, 2, 3, 4, 5, 6}).m_Bytes, {{{1, 2, 3}, {4, 5, 6}}}},
        {RawBytes().runs(1, 4, {2, 5, 6, 130, 7, 132, 9, 0, 1, 8, 131, 0xAA}, {0, 5, 7}).m_Bytes,
         {{{5, 6, 7, 7}, {9, 9, 9, 9}, {8, 0xAA, 0xAA, 0xAA}}}},
        {RawBytes().runs(2, 4, {130, 2, 7, 8, 1, 4, 131}, {0, 4}).m_Bytes, {{{0, 0, 7, 8}, {4, 0, 0, 0}}}},
        {animated.m_Bytes, {{{1, 2}, {3, 4}}, {{7, 8, 9}}}},
    };
    // Size, the size again, the opaque flag, the height's power of two, compression, data size.
    const auto header = [](std::uint16_t compression, std::uint32_t dataSize) {
        return RawBytes().text("BM \x1e").bytes({2, 0, 4, 0, 2, 0, 4, 0, 0x36, 2}).u16(compression).u32(dataSize).zeros(12);
    };
    // clang-format on
    for (const auto& [bytes, frames] : cases)
        EXPECT_EQ(Decoded(bytes), frames);
    Bytes plain, runs;
    ASSERT_TRUE(Succeeded(EncodeBm(Picture({{1, 2, 3, 4}, {5, 6, 7, 8}}), kBmPlain, plain)));
    EXPECT_EQ(plain, header(0, 0).bytes(Bytes{1, 2, 3, 4, 5, 6, 7, 8}).m_Bytes);
    ASSERT_TRUE(Succeeded(EncodeBm(Picture({{1, 2, 3, 4}, {5, 6, 7, 8}}), kBmRunLength, runs)));
    EXPECT_EQ(runs, header(1, 10).bytes(Bytes{4, 1, 2, 3, 4, 4, 5, 6, 7, 8}).u32(0).u32(5).m_Bytes);
}

// Tall columns with long runs, zeros and noise cross the longest run and copy lengths.
TEST(BmFileTest, EncodedPicturesDecodeToTheSamePixels) {
    const Columns columns = testing::ColumnsOf(testing::PictureOf(5, 300, [](int c, int r) {
        return r < 140 ? c * 3 : r < 200 ? (r * 7 + c) % 5 : (r / 50) * c;
    }));
    for (BmCompression compression : {kBmPlain, kBmRunLength, kBmZeroRuns}) {
        Bytes bm;
        ASSERT_TRUE(Succeeded(EncodeBm(Picture(columns), compression, bm)));
        EXPECT_EQ(Decoded(bm), std::vector<Columns>{columns}) << "compression " << compression;
    }
    const std::vector<Columns> animation{{{1, 2}, {3, 4}}, {{5}, {6}, {7}}};
    Bytes multi;
    ASSERT_TRUE(
        Succeeded(EncodeMultiBm(std::vector{Picture(animation[0]), Picture(animation[1])}, 12, multi)));
    EXPECT_EQ(Decoded(multi), animation);
}

TEST(BmFileTest, RefusesDamagedFilesAndPicturesItCannotStore) {
    RawBytes repeated;
    // Many offsets pointing at one picture would decode it again and again.
    repeated.header(1, 40, 4, 0, 0).zeros(2).u32(16).u32(16).u32(16).u32(16).u16(8).u16(8).zeros(24 + 64);
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(31, 0), "the file is too short for a BM header (31 bytes, 32 needed)."},
        {RawBytes().header(2, 3, 0, 0, 0).zeros(5).m_Bytes,
         "the header promises 2 x 3 pixels, but only 5 bytes follow it."},
        {RawBytes().runs(1, 3, {131, 1, 3, 2}, {0, 2}).m_Bytes,
         "column 1 runs past the end of the run data."},
        {repeated.m_Bytes, "the sub-pictures promise more pixels than the 142-byte file holds."},
    };
    for (const auto& [bytes, message] : cases) {
        std::vector<IndexedImage> frames(1);
        EXPECT_EQ(DecodeBm(bytes, "WALL.BM", GamePalette(), true, frames).message(), "WALL.BM: " + message);
        EXPECT_TRUE(frames.empty()) << message;
    }
    Bytes out;
    EXPECT_EQ(
        EncodeBm(Picture({{1, 2, 3, 4}}), kBmPlain, out).message(),
        "BM: a picture one pixel wide must be one pixel high, or it reads back as an animated texture.");
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace morvi
