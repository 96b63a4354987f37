#include "resources/FmeFile.h"
#include "resources/WaxFile.h"

#include "PictureHelpers.h"
#include "support/SpriteWriter.h"

namespace morvi {
namespace {

using namespace testing;

// FME bytes by hand, so that the decoder is checked against the layout and not only our writer.
struct RawFme : testing::RawBytesOf<RawFme> {
    RawFme& frame(std::int32_t x, std::int32_t y, std::uint32_t flip, std::uint32_t cellOffset) {
        return u32(std::uint32_t(x)).u32(std::uint32_t(y)).u32(flip).u32(cellOffset).zeros(16);
    }
    RawFme& cell(std::uint32_t width, std::uint32_t height, std::uint32_t compressed,
                 std::uint32_t dataSize) {
        return u32(width).u32(height).u32(compressed).u32(dataSize).zeros(8);
    }
};

// Where the frame stands, whether it is mirrored and compressed, how many runs were cut.
using Look = std::tuple<int, int, bool, bool, int>;

Look LookOf(const SpriteFrame& frame) {
    return Look(frame.m_nX, frame.m_nY, frame.m_bFlip, frame.m_bCompressed, frame.m_nCutRuns);
}

// A plain cell stores columns bottom first; flip only tells the caller how to draw. A compressed
// cell has a column table (offsets from the cell) and runs: copies up to 128, transparent runs
// above, filling to the column's end. Runs that pass the end are cut and counted. Our writer's
// cells, longer than one copy or run, read back to the same pixels.
TEST(SpriteFileTest, FmeDecodesHandMadeCellsAndRoundTripsOurs) {
    // One column all opaque, one of 130 clear pixels under 170 opaque ones, the others short runs.
    const IndexedImage image = PictureOf(7, 300, [](int c, int r) {
        const bool clear = c == 0 ? false : c == 1 ? r < 130 : (c * 7 + r * 3) % 5 == 0;
        return clear ? 0 : 1 + (c * 31 + r) % 250;
    });
    const Bytes runs{2, 9, 8, 131, 129, 4, 1, 2, 3, 4};
    const std::vector<std::tuple<Bytes, Look, Columns>> cases{
        {RawFme().frame(-12, 34, 1, 32).cell(2, 3, 0, 0).bytes({1, 2, 3, 4, 5, 6}).m_Bytes,
         Look{-12, 34, true, false, 0},
         {{1, 2, 3}, {4, 5, 6}}},
        {RawFme().frame(0, 0, 0, 32).cell(2, 5, 1, 10).u32(32).u32(36).bytes(runs).m_Bytes,
         Look{0, 0, false, true, 0},
         {{9, 8, 0, 0, 0}, {0, 1, 2, 3, 4}}},
        {RawFme().frame(0, 0, 0, 32).cell(1, 64, 1, 2).u32(28).u8(200).u8(5).m_Bytes,
         Look{0, 0, false, true, 1},
         {Bytes(64, 0)}},
        {EncodeFme(image, 5, -6, false, false), Look(5, -6, false, false, 0), ColumnsOf(image)},
        {EncodeFme(image, 5, -6, false, true), Look(5, -6, false, true, 0), ColumnsOf(image)},
    };
    for (const auto& [bytes, look, columns] : cases) {
        SpriteFrame frame;
        ASSERT_TRUE(Succeeded(DecodeFme(bytes, "ENEMY.FME", GamePalette(), true, frame)));
        EXPECT_EQ(std::tuple(LookOf(frame), ColumnsOf(frame.m_Image)), std::tuple(look, columns));
    }
}

TEST(SpriteFileTest, FmeBadFramesAreRefusedWithTheMemberName) {
    const auto cell = [](std::uint32_t width, std::uint32_t height, std::uint32_t compressed,
                         std::uint32_t size) {
        return RawFme().frame(0, 0, 0, 32).cell(width, height, compressed, size);
    };
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(20, 0), "the frame header at offset 0 lies outside the 20-byte file."},
        {cell(0xFFFFFFFF, 2, 0, 0).m_Bytes, "the cell of -1 x 2 pixels is outside 1 to 4096 a side."},
        // Transparent runs need a control byte per 128 pixels at least.
        {cell(4, 4096, 1, 1000).u32(40).u32(40).u32(40).u32(40).zeros(100).m_Bytes,
         "the cell promises 4 x 4096 pixels, but only 100 bytes of run data follow its column table."},
        // A second column 64 high holding only a copy of 3.
        {cell(2, 64, 1, 5).u32(32).u32(33).u8(200).u8(3).u8(7).u8(7).u8(7).m_Bytes,
         "column 1 runs past the end of the cell's run data."},
    };
    for (const auto& [bytes, message] : cases) {
        SpriteFrame frame;
        EXPECT_EQ(DecodeFme(bytes, "ENEMY.FME", GamePalette(), true, frame).message(),
                  "ENEMY.FME: " + message);
        EXPECT_EQ(frame.m_Image.width(), 0) << message;
    }
}

// An enemy-like sprite: two cells, three frames sharing them, a walking state of 32 views of
// three frames each (every view one of two shared sequences), and an 8-view state reusing them.
struct Enemy {
    Enemy() {
        m_Cells = {Numbered(3, 5, 10), Numbered(4, 200, 40)};
        const int plain = m_Writer.AddCell(m_Cells[0], false);
        const int packed = m_Writer.AddCell(m_Cells[1], true);
        const int f0 = m_Writer.AddFrame(plain, -1, 2, false);
        const int f1 = m_Writer.AddFrame(packed, 3, -4, true);
        const int f2 = m_Writer.AddFrame(plain, 5, 6, true); // the first cell again, mirrored
        const int front = m_Writer.AddView({f0, f1, f2}), back = m_Writer.AddView({f2, f1, f0});
        std::vector<int> walk;
        for (int v = 0; v < 32; ++v)
            walk.push_back(v % 2 == 0 ? front : back);
        m_Writer.AddState(60, 50, 8, walk);
        m_Writer.AddState(60, 50, 0, {back, front, back, front, back, front, back, front});
        m_Bytes = testing::WaxBytes(m_Writer);
    }
    WaxEncoder m_Writer;
    std::vector<IndexedImage> m_Cells;
    Bytes m_Bytes;
};

// The selection's counters are recounted for the chosen state and view (a state out of range
// becomes 0); it gives the chosen frame, or the whole view, or nothing for a frame out of range.
TEST(SpriteFileTest, WaxSelectionCountsAndDecodesTheChosenFrames) {
    struct Case {
        WaxSelection chosen;
        std::tuple<int, int, int, int, int> counts; // states, views, frames, frame rate, state chosen
        std::vector<std::tuple<int, int, bool, std::size_t>> frames; // x, y, flip and cell of each
    };
    const std::tuple<int, int, bool, std::size_t> f0{-1, 2, false, 0}, f1{3, -4, true, 1}, f2{5, 6, true, 0};
    const std::vector<Case> cases{
        {{.m_nSelectedState = 0, .m_nSelectedView = 31, .m_nSelectedFrame = 1}, {2, 32, 3, 8, 0}, {f1}},
        {{.m_nSelectedState = 3, .m_nSelectedView = 1, .m_bShowAllFrames = true},
         {2, 32, 3, 8, 0},
         {f2, f1, f0}},
        {{.m_nSelectedState = 1, .m_nSelectedFrame = 3}, {2, 8, 3, 0, 1}, {}},
    };
    const Enemy enemy;
    for (const Case& c : cases) {
        WaxSelection selection = c.chosen;
        std::vector<SpriteFrame> frames;
        ASSERT_TRUE(Succeeded(DecodeWax(enemy.m_Bytes, "ENEMY.WAX", GamePalette(), true, selection, frames)));
        EXPECT_EQ(std::tuple(selection.m_nStateCount, selection.m_nViewCount, selection.m_nFrameCount,
                             selection.m_nFrameRate, selection.m_nSelectedState),
                  c.counts);
        ASSERT_EQ(frames.size(), c.frames.size()) << c.chosen.m_nSelectedState;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const auto& [x, y, flip, cell] = c.frames[i];
            EXPECT_EQ(LookOf(frames[i]), Look(x, y, flip, cell == 1, 0));
            EXPECT_EQ(ColumnsOf(frames[i].m_Image), ColumnsOf(enemy.m_Cells[cell])) << i;
        }
    }
}

TEST(SpriteFileTest, WaxBadStructuresAreRefused) {
    const Enemy enemy;
    const WaxEncoder& layout = enemy.m_Writer;
    const std::string view = std::to_string(layout.m_ViewOffsets[0]);
    const std::uint32_t cell = layout.m_CellOffsets[0];
    const std::vector<std::pair<std::vector<std::pair<std::size_t, std::uint32_t>>, std::string>> cases{
        {{{32 + 4, 0xFFFFFFF0}}, // the second state
         "the state at offset 4294967280 lies outside the " + std::to_string(enemy.m_Bytes.size()) +
             "-byte file."},
        // A view whose second frame is the view itself: the structures point into each other.
        {{{layout.m_ViewOffsets[0] + 16 + 4, layout.m_ViewOffsets[0]}},
         "the frame at offset " + view + " overlaps the view at offset " + view + "."},
        {{{cell, 5000}, {cell + 4, 5000}},
         "the cell at offset " + std::to_string(cell) +
             " of 5000 x 5000 pixels is outside 1 to 4096 a side."},
    };
    for (const auto& [patches, message] : cases) {
        Bytes bytes = enemy.m_Bytes;
        for (const auto& [at, value] : patches)
            for (std::size_t i = 0; i < 4; ++i)
                bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        WaxSelection selection;
        std::vector<SpriteFrame> frames(1);
        const std::string refusal =
            DecodeWax(bytes, "ENEMY.WAX", GamePalette(), true, selection, frames).message();
        EXPECT_NE(refusal.find(message), std::string::npos) << refusal;
        EXPECT_EQ(refusal.rfind("ENEMY.WAX: ", 0), 0u) << refusal;
        EXPECT_TRUE(frames.empty()) << refusal;
        EXPECT_EQ(selection.m_nStateCount, 0) << refusal;
    }
}

} // namespace
} // namespace morvi
