#include "resources/DeltPicture.h"

#include "PictureHelpers.h"

namespace morvi {
namespace {

using namespace testing;

// A picture from its canvas rows, top row first, as the DELT layout counts them.
DeltPicture PictureOf(const std::vector<Bytes>& canvas, std::int16_t offsetX, std::int16_t offsetY) {
    const int height = static_cast<int>(canvas.size());
    return DeltPicture{
        testing::PictureOf(static_cast<int>(canvas[0].size()), height,
                           [&](int c, int r) { return canvas[std::size_t(height - 1 - r)][std::size_t(c)]; }),
        offsetX, offsetY};
}

// The canvas rows of a picture, top row first.
std::vector<Bytes> CanvasOf(const IndexedImage& image) {
    std::vector<Bytes> canvas;
    for (int r = image.height() - 1; r >= 0; --r)
        canvas.emplace_back(image.row(r).begin(), image.row(r).end());
    return canvas;
}

Bytes Encoded(const DeltPicture& picture) {
    Bytes out;
    EXPECT_TRUE(Succeeded(EncodeDelt(picture, out)));
    return out;
}

DeltPicture Decoded(const Bytes& bytes) {
    DeltPicture picture;
    EXPECT_TRUE(Succeeded(DecodeDelt(bytes, "TEST.DLT", GamePalette(), false, picture)));
    return picture;
}

// A line is a stretch of opaque pixels in one row: u16 size, x and y, then raw pixels (even size)
// or runs of control bytes (odd size), whose low bit marks a repeat and the rest its count. Read,
// the header gives the canvas, largest x and y plus one; pixels outside it are dropped without
// wrapping; reading stops at the end line. A large picture keeps its indices and offsets.
TEST(DeltPictureTest, WritesAndReadsLinesByteForByteAndRoundTrips) {
    // clang-format off
    const std::vector<std::pair<DeltPicture, Bytes>> cases{
        {PictureOf({{4, 0, 0, 4}, {5, 5, 5, 9}, {0, 1, 2, 0}}, -5, 7),
         RawBytes()
             .u16(0xFFFB).u16(7).u16(3).u16(2)                      // offsets, largest x and y
             .u16(3).u16(0).u16(0).u8(2).u8(4)                      // row 0: one pixel at x 0
             .u16(3).u16(3).u16(0).u8(2).u8(4)                      // and one at x 3
             .u16(9).u16(0).u16(1).u8(7).u8(5).u8(2).u8(9)          // repeat 3, then raw 1
             .u16(5).u16(1).u16(2).u8(4).u8(1).u8(2)                // raw 2
             .u16(0).m_Bytes},
        {PictureOf({Bytes(130, 8)}, 0, 0),                          // 127 and 3 of index 8
         RawBytes().u16(0).u16(0).u16(129).u16(0).u16(261).u16(0).u16(0).u8(255).u8(8).u8(7).u8(8).u16(0).m_Bytes},
        {PictureOf({Bytes(3, 0), Bytes(3, 0)}, 2, 3), RawBytes().u16(2).u16(3).u16(2).u16(1).u16(0).m_Bytes},
    };
    for (const auto& [picture, expected] : cases)
        EXPECT_EQ(Encoded(picture), expected);
    const Bytes clipped = RawBytes()
        .u16(1).u16(1).u16(2).u16(1)                                // 3 x 2
        .u16(8).u16(1).u16(0).u8(1).u8(2).u8(3).u8(4)               // raw, past the right edge
        .u16(5).u16(0).u16(1).u8(5).u8(4)                           // repeat 2 of index 4
        .u16(2).u16(0).u16(2).u8(9)                                 // below the last row
        .u16(3).u16(40).u16(1).u8(2).u8(9)                          // right of the canvas
        .u16(255).u16(0xFFFF).u16(0xFFFF).u8(255).u8(5)             // far outside, compressed
        .u16(0).u16(2).u16(0).u16(0).u8(9).m_Bytes;                 // the end line, then a pixel
    // clang-format on
    EXPECT_EQ(CanvasOf(Decoded(clipped).m_Image), (std::vector<Bytes>{{0, 1, 2}, {4, 4, 0}}));
    std::vector<Bytes> canvas(23, Bytes(300, 0));
    for (std::size_t y = 0; y < canvas.size(); ++y)
        for (std::size_t x = 0; x < canvas[y].size(); ++x)
            canvas[y][x] = static_cast<std::uint8_t>((x / (y + 1)) % 7 == 3 ? 0 : (x * 31 + y) / (y % 4 + 1));
    canvas[5].assign(300, 17);
    const DeltPicture back = Decoded(Encoded(PictureOf(canvas, -120, 35)));
    EXPECT_EQ(std::tuple(back.m_nOffsetX, back.m_nOffsetY, CanvasOf(back.m_Image)),
              std::tuple(std::int16_t(-120), std::int16_t(35), canvas));
}

// The count, then each picture with its size in front; an empty frame is a header without lines.
// Read back, the frames keep their pictures and offsets.
TEST(AnimTest, WritesCountThenSizedPicturesAndReadsThemBack) {
    std::vector<DeltPicture> frames;
    frames.push_back(PictureOf({{6}}, 1, 2));
    frames.emplace_back();
    frames.back().m_nOffsetX = 4;
    RawBytes expected;
    expected.u16(2).u32(18).u16(1).u16(2).u16(0).u16(0).u16(3).u16(0).u16(0).u8(2).u8(6).u16(0);
    expected.u32(10).u16(4).u16(0).u16(0).u16(0).u16(0);
    Bytes out{0xAA}; // the writer appends
    ASSERT_TRUE(Succeeded(EncodeAnim(frames, out)));
    EXPECT_EQ(out, RawBytes().u8(0xAA).bytes(expected.m_Bytes).m_Bytes);
    std::vector<DeltPicture> back;
    ASSERT_TRUE(Succeeded(DecodeAnim(expected.m_Bytes, "TEST.ANM", GamePalette(), false, back)));
    ASSERT_EQ(back.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(std::tuple(back[i].m_nOffsetX, back[i].m_nOffsetY, CanvasOf(back[i].m_Image)),
                  std::tuple(frames[i].m_nOffsetX, frames[i].m_nOffsetY, CanvasOf(frames[i].m_Image)));
}

// A damaged DELT keeps the old picture; a damaged ANIM leaves no frames. Neither writer writes
// what it cannot store.
TEST(DeltPictureTest, RefusesDamagedPicturesAndAnims) {
    const Bytes goodDelt =
        RawBytes().u16(0).u16(0).u16(0).u16(0).u16(3).u16(0).u16(0).u8(2).u8(6).u16(0).m_Bytes;
    const std::vector<std::pair<Bytes, const char*>> cases = {
        {RawBytes().u16(0).u16(0).u16(4096).u16(0).u16(0).m_Bytes,
         "X.DLT: the picture is 4097 x 1, larger than 4096 x 4096."},
        // A run without its value.
        {RawBytes().u16(0).u16(0).u16(3).u16(3).u16(9).u16(0).u16(0).u8(9).m_Bytes,
         "X.DLT: the data ends early"},
        {RawBytes().u16(3).u32(0).u32(0).m_Bytes, "X.ANM: 3 pictures cannot fit in 10 bytes."},
        {RawBytes().u16(2).u32(18).bytes(goodDelt).u32(12).zeros(4).u16(5000).zeros(6).m_Bytes,
         "X.ANM picture 2: the picture is 5001 x 1"},
    };
    for (const auto& [bytes, message] : cases) {
        const bool anim = std::string_view(message).starts_with("X.ANM");
        DeltPicture picture = PictureOf({{1, 2}}, 3, 4);
        std::vector<DeltPicture> frames(1);
        const Status status = anim ? DecodeAnim(bytes, "X.ANM", GamePalette(), false, frames)
                                   : DecodeDelt(bytes, "X.DLT", GamePalette(), false, picture);
        EXPECT_EQ(status.message().rfind(message, 0), 0u) << status.message();
        EXPECT_EQ(frames.empty(), anim) << message;
        EXPECT_EQ(std::pair(CanvasOf(picture.m_Image), picture.m_nOffsetX),
                  std::pair(std::vector<Bytes>{{1, 2}}, std::int16_t(3)))
            << message;
    }
    Bytes out{1, 2};
    EXPECT_EQ(EncodeDelt(DeltPicture(), out).message(),
              "DELT: a picture must be 1 to 4096 pixels a side, not 0 x 0.");
    EXPECT_EQ(EncodeAnim(std::vector<DeltPicture>(0x10000), out).message(),
              "ANIM: at most 65535 pictures, not 65536.");
    EXPECT_EQ(out, (Bytes{1, 2}));
}

} // namespace
} // namespace morvi
