#include "resources/BmFile.h"

#include "support/RawBytes.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds BM bytes by hand, so that the decoder is tested against the format and not only against
// our own encoder.
struct RawBytes : testing::RawBytesOf<RawBytes> {
    // The 32-byte header with the fields the decoder reads.
    RawBytes& header(std::uint16_t width, std::uint16_t height, std::uint16_t count,
                     std::uint16_t compression, std::uint32_t dataSize) {
        u8('B').u8('M').u8(' ').u8(0x1E).u16(width).u16(height).u16(0).u16(count).u8(0).u8(0);
        return u16(compression).u32(dataSize).zeros(12);
    }
};

using testing::Succeeded;

GamePalette TestPalette() {
    GamePalette palette;
    palette.SetEntry(3, 63, 32, 1);
    return palette;
}

// The columns of a picture, each bottom pixel first.
std::vector<Bytes> Columns(const IndexedImage& image) {
    std::vector<Bytes> columns(static_cast<std::size_t>(image.width()));
    for (int c = 0; c < image.width(); ++c)
        for (int r = 0; r < image.height(); ++r)
            columns[c].push_back(image.pixel(c, r));
    return columns;
}

std::vector<IndexedImage> Decode(const Bytes& bytes, bool withHeader = false) {
    std::vector<IndexedImage> frames;
    const Status status = DecodeBm(bytes, "WALL.BM", TestPalette(), withHeader, frames);
    EXPECT_TRUE(Succeeded(status));
    return frames;
}

std::string Refusal(const Bytes& bytes) {
    std::vector<IndexedImage> frames(1);
    const Status status = DecodeBm(bytes, "WALL.BM", TestPalette(), true, frames);
    EXPECT_TRUE(frames.empty());
    return status.message();
}

IndexedImage Picture(int width, int height, const std::vector<Bytes>& columns) {
    IndexedImage image;
    image.Create(TestPalette(), kPaletteMultiplier, width, height, false);
    for (int c = 0; c < width; ++c)
        for (int r = 0; r < height; ++r)
            image.setPixel(c, r, columns[c][r]);
    return image;
}

TEST(BmFileTest, PlainColumnsBecomeBottomUpRows) {
    const Bytes pixels{1, 2, 3, 4, 5, 6};
    const std::vector<IndexedImage> frames =
        Decode(RawBytes().header(2, 3, 3, 0, 0).bytes(pixels).m_Bytes, true);
    ASSERT_EQ(frames.size(), 1u);
    const IndexedImage& image = frames[0];
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(Columns(image), (std::vector<Bytes>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(Bytes(image.row(0).begin(), image.row(0).end()), (Bytes{1, 4}));
    ASSERT_TRUE(image.hasInfo());
    EXPECT_EQ(image.displayColours()[3], 0x0480FCu);

    // One pixel wide and one high is an ordinary picture, not an animated texture.
    const std::vector<IndexedImage> dot = Decode(RawBytes().header(1, 1, 0, 0, 0).u8(9).m_Bytes);
    ASSERT_EQ(dot.size(), 1u);
    EXPECT_EQ(dot[0].pixel(0, 0), 9);
    EXPECT_FALSE(dot[0].hasInfo());
}

TEST(BmFileTest, RunLengthColumnsCarryTheirValues) {
    RawBytes runs;
    runs.u8(2).u8(5).u8(6).u8(130).u8(7);    // column 0 at 0: copy 5 6, run of two 7s
    runs.u8(132).u8(9);                      // column 1 at 5: a run of four ends the column
    runs.u8(0).u8(1).u8(8).u8(131).u8(0xAA); // column 2 at 7: empty copy, copy 8, run of three
    const Bytes data = runs.m_Bytes;
    RawBytes bm;
    bm.header(3, 4, 0, 1, static_cast<std::uint32_t>(data.size())).bytes(data).u32(0).u32(5).u32(7);
    const std::vector<IndexedImage> frames = Decode(bm.m_Bytes);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Columns(frames[0]), (std::vector<Bytes>{{5, 6, 7, 7}, {9, 9, 9, 9}, {8, 0xAA, 0xAA, 0xAA}}));
}

TEST(BmFileTest, ZeroRunColumnsHaveNoValueByte) {
    // The same run data read as zero runs: the byte after a run byte is the next control byte.
    RawBytes runs;
    runs.u8(130).u8(2).u8(7).u8(8); // two zeros, then copy 7 8
    runs.u8(1).u8(4).u8(131);       // copy 4, then three zeros ending the column
    const Bytes data = runs.m_Bytes;
    RawBytes bm;
    bm.header(2, 4, 0, 2, static_cast<std::uint32_t>(data.size())).bytes(data).u32(0).u32(4);
    const std::vector<IndexedImage> frames = Decode(bm.m_Bytes);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Columns(frames[0]), (std::vector<Bytes>{{0, 0, 7, 8}, {4, 0, 0, 0}}));
}

TEST(BmFileTest, ControlByte128CopiesAnd129Runs) {
    Bytes data{128};
    for (int i = 0; i < 128; ++i)
        data.push_back(static_cast<std::uint8_t>(i));
    data.insert(data.end(), {129, 200});         // column 0: 128 copied pixels and a run of one
    data.insert(data.end(), {255, 77, 130, 78}); // column 1 at 131: the longest run, then two
    const Bytes bm = RawBytes().header(2, 129, 0, 1, 135).bytes(data).u32(0).u32(131).m_Bytes;
    const std::vector<IndexedImage> frames = Decode(bm);
    ASSERT_EQ(frames.size(), 1u);
    const std::vector<Bytes> columns = Columns(frames[0]);
    EXPECT_EQ(Bytes(columns[0].begin(), columns[0].begin() + 128),
              Bytes(data.begin() + 1, data.begin() + 129));
    EXPECT_EQ(columns[0][128], 200);
    EXPECT_EQ(columns[1][126], 77);
    EXPECT_EQ(columns[1][127], 78);
    EXPECT_EQ(columns[1][128], 78);
}

TEST(BmFileTest, RunsPastTheTopOfAColumnAreCutThere) {
    // Columns of three pixels: a run of five, then a copy of three after one pixel; the columns
    // after them must not see any of it.
    const Bytes data{133, 4, 1, 9, 3, 1, 2, 3, 131, 6};
    const Bytes bm = RawBytes().header(3, 3, 0, 1, 10).bytes(data).u32(0).u32(2).u32(8).m_Bytes;
    std::vector<IndexedImage> frames = Decode(bm);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Columns(frames[0]), (std::vector<Bytes>{{4, 4, 4}, {9, 1, 2}, {6, 6, 6}}));
}

TEST(BmFileTest, AnimatedTextureHoldsItsSubPicturesInOrder) {
    RawBytes bm;
    bm.header(1, 60, 2, 0, 0).u8(10).u8(2);
    bm.u32(8).u32(8 + 28 + 4);                           // offsets count from the table's start
    bm.u16(2).u16(2).zeros(24).bytes(Bytes{1, 2, 3, 4}); // sub-picture 0
    bm.u16(1).u16(3).zeros(24).bytes(Bytes{7, 8, 9});    // sub-picture 1
    const std::vector<IndexedImage> frames = Decode(bm.m_Bytes);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Columns(frames[0]), (std::vector<Bytes>{{1, 2}, {3, 4}}));
    EXPECT_EQ(Columns(frames[1]), (std::vector<Bytes>{{7, 8, 9}}));
}

TEST(BmFileTest, EncoderWritesThePlainLayoutByteForByte) {
    const IndexedImage image = Picture(2, 4, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    Bytes out;
    ASSERT_TRUE(Succeeded(EncodeBm(image, kBmPlain, out)));
    RawBytes expected;
    expected.u8('B').u8('M').u8(' ').u8(0x1E).u16(2).u16(4).u16(2).u16(4).u8(0x36).u8(2);
    expected.u16(0).u32(0).zeros(12).bytes(Bytes{1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(out, expected.m_Bytes);

    Bytes compressed;
    ASSERT_TRUE(Succeeded(EncodeBm(image, kBmRunLength, compressed)));
    RawBytes expectedCompressed;
    expectedCompressed.u8('B').u8('M').u8(' ').u8(0x1E).u16(2).u16(4).u16(2).u16(4).u8(0x36).u8(2);
    expectedCompressed.u16(1).u32(10).zeros(12).bytes(Bytes{4, 1, 2, 3, 4, 4, 5, 6, 7, 8}).u32(0).u32(5);
    EXPECT_EQ(compressed, expectedCompressed.m_Bytes);
}

TEST(BmFileTest, EncodedPicturesDecodeToTheSamePixels) {
    // Tall columns with long runs, zeros and noise cross the longest run and copy lengths.
    std::vector<Bytes> columns(5, Bytes(300));
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 300; ++r)
            columns[c][r] = static_cast<std::uint8_t>(r < 140   ? c * 3
                                                      : r < 200 ? (r * 7 + c) % 5
                                                                : (r / 50) * c);
    const IndexedImage image = Picture(5, 300, columns);
    for (BmCompression compression : {kBmPlain, kBmRunLength, kBmZeroRuns}) {
        Bytes bm;
        ASSERT_TRUE(Succeeded(EncodeBm(image, compression, bm)));
        const std::vector<IndexedImage> frames = Decode(bm);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(Columns(frames[0]), columns) << "compression " << compression;
        if (compression != kBmPlain) {
            EXPECT_LT(bm.size(), 32u + 5 * 300);
        }
    }

    const std::vector<IndexedImage> animation{Picture(2, 2, {{1, 2}, {3, 4}}),
                                              Picture(3, 1, {{5}, {6}, {7}})};
    Bytes multi;
    ASSERT_TRUE(Succeeded(EncodeMultiBm(animation, 12, multi)));
    const std::vector<IndexedImage> frames = Decode(multi);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Columns(frames[0]), Columns(animation[0]));
    EXPECT_EQ(Columns(frames[1]), Columns(animation[1]));
}

TEST(BmFileTest, EncoderRefusesWhatCannotBeStored) {
    Bytes out;
    EXPECT_EQ(
        EncodeBm(Picture(1, 4, {{1, 2, 3, 4}}), kBmPlain, out).message(),
        "BM: a picture one pixel wide must be one pixel high, or it reads back as an animated texture.");
    EXPECT_EQ(EncodeBm(IndexedImage(), kBmPlain, out).message(), "BM: the picture has no pixels.");
    EXPECT_EQ(EncodeBm(Picture(1, 1, {{1}}), static_cast<BmCompression>(3), out).message(),
              "BM: compression 3 is not 0, 1 or 2.");
    EXPECT_EQ(EncodeMultiBm({}, 0, out).message(),
              "BM: an animated texture holds 1 to 1024 pictures, not 0.");
    EXPECT_TRUE(out.empty());
}

TEST(BmFileTest, RefusesDamagedPictures) {
    EXPECT_EQ(Refusal(Bytes(31, 0)), "WALL.BM: the file is too short for a BM header (31 bytes, 32 needed).");
    EXPECT_EQ(Refusal(RawBytes().header(5000, 5000, 0, 0, 0).m_Bytes),
              "WALL.BM: the picture of 5000 x 5000 pixels is outside 1 to 4096 a side.");
    EXPECT_EQ(Refusal(RawBytes().header(0, 4, 0, 0, 0).m_Bytes),
              "WALL.BM: the picture of 0 x 4 pixels is outside 1 to 4096 a side.");
    EXPECT_EQ(Refusal(RawBytes().header(2, 3, 0, 0, 0).zeros(5).m_Bytes),
              "WALL.BM: the header promises 2 x 3 pixels, but only 5 bytes follow it.");
    EXPECT_EQ(
        Refusal(RawBytes().header(2, 3, 0, 1, 4).bytes(Bytes{131, 1, 131, 2}).u32(0).m_Bytes),
        "WALL.BM: the header promises 4 bytes of run data and 2 column offsets, but only 8 bytes follow it.");
    EXPECT_EQ(Refusal(RawBytes().header(2, 3, 0, 1, 4).bytes(Bytes{131, 1, 131, 2}).u32(0).u32(4).m_Bytes),
              "WALL.BM: column 1 starts at offset 4, outside the 4 bytes of run data.");
    EXPECT_EQ(Refusal(RawBytes().header(2, 3, 0, 1, 4).bytes(Bytes{131, 1, 3, 2}).u32(0).u32(2).m_Bytes),
              "WALL.BM: column 1 runs past the end of the run data.");
    EXPECT_EQ(Refusal(RawBytes().header(2, 3, 0, 1, 1).u8(131).u32(0).u32(0).m_Bytes),
              "WALL.BM: column 0 runs past the end of the run data.");
}

TEST(BmFileTest, RefusesDamagedAnimatedTextures) {
    EXPECT_EQ(Refusal(RawBytes().header(1, 40, 0, 0, 0).zeros(2).m_Bytes),
              "WALL.BM: an animated texture of 0 pictures is outside 1 to 1024 pictures.");
    EXPECT_EQ(Refusal(RawBytes().header(1, 40, 2, 0, 0).zeros(2).u32(8).m_Bytes),
              "WALL.BM: the table of 2 sub-picture offsets runs past the end of the 38-byte file.");
    RawBytes outside;
    outside.header(1, 40, 2, 0, 0).zeros(2).u32(8).u32(1000).u16(1).u16(1).zeros(24).u8(5);
    EXPECT_EQ(Refusal(outside.m_Bytes),
              "WALL.BM: sub-picture 1 at offset 1000 lies outside the 71-byte file.");
    RawBytes huge;
    huge.header(1, 40, 1, 0, 0).zeros(2).u32(4).u16(4096).u16(5000).zeros(24);
    EXPECT_EQ(Refusal(huge.m_Bytes),
              "WALL.BM: sub-picture 0 of 4096 x 5000 pixels is outside 1 to 4096 a side.");
    // Many offsets pointing at one picture would decode it again and again.
    RawBytes repeated;
    repeated.header(1, 40, 4, 0, 0).zeros(2);
    for (int i = 0; i < 4; ++i)
        repeated.u32(16);
    repeated.u16(8).u16(8).zeros(24 + 64);
    EXPECT_EQ(Refusal(repeated.m_Bytes),
              "WALL.BM: the sub-pictures promise more pixels than the 142-byte file holds.");
}

} // namespace
} // namespace morvi
