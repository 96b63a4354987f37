#include "resources/WaxFile.h"

#include "support/RawBytes.h"
#include "support/SpriteWriter.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::Succeeded;

IndexedImage Filled(int width, int height, std::uint8_t seed) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, false);
    for (int c = 0; c < width; ++c)
        for (int r = 0; r < height; ++r)
            image.setPixel(c, r, static_cast<std::uint8_t>(r % 3 == 0 ? 0 : seed + c + r));
    return image;
}

bool SamePixels(const IndexedImage& a, const IndexedImage& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int r = 0; r < a.height(); ++r)
        for (int c = 0; c < a.width(); ++c)
            if (a.pixel(c, r) != b.pixel(c, r)) return false;
    return true;
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// An enemy-like sprite: three cells, four frames sharing them, a walking state of 32 views of
// three frames each (every view one of two shared sequences), and two 8-view states reusing views.
struct Enemy {
    Enemy() {
        m_Cells = {Filled(3, 5, 10), Filled(4, 200, 40), Filled(2, 2, 90)};
        const int plain = m_Writer.AddCell(m_Cells[0], false);
        const int packed = m_Writer.AddCell(m_Cells[1], true);
        const int small = m_Writer.AddCell(m_Cells[2], false);
        const int f0 = m_Writer.AddFrame(plain, -1, 2, false);
        const int f1 = m_Writer.AddFrame(packed, 3, -4, true);
        const int f2 = m_Writer.AddFrame(plain, 5, 6, true); // the first cell again, mirrored
        const int f3 = m_Writer.AddFrame(small, 0, 0, false);
        const int front = m_Writer.AddView({f0, f1, f2});
        const int back = m_Writer.AddView({f2, f1, f0});
        const int dead = m_Writer.AddView({f3});
        std::vector<int> walk;
        for (int v = 0; v < 32; ++v)
            walk.push_back(v % 2 == 0 ? front : back);
        m_Writer.AddState(60, 50, 8, walk);
        m_Writer.AddState(60, 50, 4, std::vector<int>(8, dead));
        m_Writer.AddState(60, 50, 0, {back, front, back, front, back, front, back, front});
        m_Bytes = m_Writer.Write();
    }

    std::vector<SpriteFrame> Decode(WaxSelection& selection) const {
        std::vector<SpriteFrame> frames;
        EXPECT_TRUE(Succeeded(DecodeWax(m_Bytes, "ENEMY.WAX", GamePalette(), true, selection, frames)));
        return frames;
    }

    testing::WaxWriter m_Writer;
    std::vector<IndexedImage> m_Cells;
    Bytes m_Bytes;
};

std::string Refusal(const Bytes& bytes) {
    WaxSelection selection;
    std::vector<SpriteFrame> frames(1);
    const Status status = DecodeWax(bytes, "ENEMY.WAX", GamePalette(), true, selection, frames);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(selection.m_nStateCount, 0);
    return status.message();
}

TEST(WaxFileTest, HandMadeWaxIsFollowedByOffsets) {
    // Header, then a cell, the frame, the view and the state, each found only through offsets.
    testing::RawBytes raw;
    raw.u32(0x00011000).zeros(28).u32(408).zeros(124);             // header: the state is at 408
    raw.u32(1).u32(2).u32(0).u32(0).zeros(8).u8(7).u8(9).zeros(6); // cell at 160: 1 x 2, plain
    raw.u32(5).u32(6).u32(1).u32(160).zeros(16);                   // frame at 192
    raw.zeros(16).u32(192).zeros(124);                             // view at 224
    raw.zeros(40);
    raw.u32(20).u32(30).u32(12).zeros(16).u32(224).zeros(124); // state at 408
    const Bytes& bytes = raw.m_Bytes;
    ASSERT_EQ(bytes.size(), 408u + 156u);
    WaxFile wax;
    ASSERT_TRUE(Succeeded(WaxFile::Read(bytes, "ENEMY.WAX", wax)));
    ASSERT_EQ(wax.m_States.size(), 1u);
    EXPECT_EQ(wax.m_States[0].m_nWorldWidth, 20);
    EXPECT_EQ(wax.m_States[0].m_nWorldHeight, 30);
    EXPECT_EQ(wax.m_States[0].m_nFrameRate, 12);
    ASSERT_EQ(wax.m_Frames.size(), 1u);
    EXPECT_EQ(wax.m_Frames[0].m_nX, 5);
    EXPECT_TRUE(wax.m_Frames[0].m_bFlip);

    WaxSelection selection;
    std::vector<SpriteFrame> frames;
    ASSERT_TRUE(Succeeded(DecodeWax(bytes, "ENEMY.WAX", GamePalette(), false, selection, frames)));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].m_Image.pixel(0, 0), 7);
    EXPECT_EQ(frames[0].m_Image.pixel(0, 1), 9);
    EXPECT_EQ(selection.m_nFrameRate, 12);
}

TEST(WaxFileTest, SharedViewsFramesAndCellsAreReadOnce) {
    const Enemy enemy;
    WaxFile wax;
    ASSERT_TRUE(Succeeded(WaxFile::Read(enemy.m_Bytes, "ENEMY.WAX", wax)));
    ASSERT_EQ(wax.m_States.size(), 3u);
    EXPECT_EQ(wax.m_Views.size(), 3u);
    EXPECT_EQ(wax.m_Frames.size(), 4u);
    EXPECT_EQ(wax.m_Cells.size(), 3u);
    EXPECT_EQ(wax.m_States[0].m_Views.size(), 32u);
    EXPECT_EQ(wax.m_States[1].m_Views.size(), 8u);
    // Views 0 and 2 of the walk are one sequence; the third state names it too.
    EXPECT_EQ(wax.m_States[0].m_Views[0], wax.m_States[0].m_Views[2]);
    EXPECT_EQ(wax.m_States[2].m_Views[1], wax.m_States[0].m_Views[0]);
    const WaxView& front = wax.m_Views[static_cast<std::size_t>(wax.m_States[0].m_Views[0])];
    ASSERT_EQ(front.m_Frames.size(), 3u);
    EXPECT_EQ(wax.m_Frames[front.m_Frames[0]].m_nCell, wax.m_Frames[front.m_Frames[2]].m_nCell);
    EXPECT_EQ(wax.m_Cells[1].m_Header.m_nCompressed, 1);
}

TEST(WaxFileTest, SelectionCountsAndDecodesTheChosenFrame) {
    const Enemy enemy;
    WaxSelection selection;
    std::vector<SpriteFrame> frames = enemy.Decode(selection);
    EXPECT_EQ(selection.m_nStateCount, 3);
    EXPECT_EQ(selection.m_nViewCount, 32);
    EXPECT_EQ(selection.m_nFrameCount, 3);
    EXPECT_EQ(selection.m_nFrameRate, 8);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(SamePixels(frames[0].m_Image, enemy.m_Cells[0]));
    EXPECT_EQ(frames[0].m_nX, -1);

    selection.m_nSelectedView = 31; // a "back" view: frames f2, f1, f0
    selection.m_nSelectedFrame = 1;
    frames = enemy.Decode(selection);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].m_bCompressed);
    EXPECT_TRUE(frames[0].m_bFlip);
    EXPECT_EQ(frames[0].m_nY, -4);
    EXPECT_TRUE(SamePixels(frames[0].m_Image, enemy.m_Cells[1]));

    selection.m_nSelectedState = 1;
    selection.m_nSelectedView = 7;
    selection.m_nSelectedFrame = 0;
    frames = enemy.Decode(selection);
    EXPECT_EQ(selection.m_nViewCount, 8);
    EXPECT_EQ(selection.m_nFrameCount, 1);
    EXPECT_EQ(selection.m_nFrameRate, 4);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(SamePixels(frames[0].m_Image, enemy.m_Cells[2]));
}

TEST(WaxFileTest, OutOfRangeStateFallsBackAndShowAllGivesTheWholeView) {
    const Enemy enemy;
    WaxSelection selection;
    selection.m_nSelectedState = 3;
    selection.m_nSelectedView = 1;
    selection.m_bShowAllFrames = true;
    const std::vector<SpriteFrame> frames = enemy.Decode(selection);
    EXPECT_EQ(selection.m_nSelectedState, 0);
    EXPECT_EQ(selection.m_nSelectedView, 1);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].m_nX, 5); // f2, f1, f0
    EXPECT_EQ(frames[1].m_nX, 3);
    EXPECT_EQ(frames[2].m_nX, -1);

    // Two views naming one sequence show the same frames.
    selection.m_nSelectedState = 2;
    selection.m_nSelectedView = 0;
    const std::vector<SpriteFrame> same = enemy.Decode(selection);
    ASSERT_EQ(same.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(same[i].m_nX, frames[i].m_nX);

    selection.m_bShowAllFrames = false;
    selection.m_nSelectedFrame = 3;
    EXPECT_TRUE(enemy.Decode(selection).empty());
    EXPECT_EQ(selection.m_nFrameCount, 3);
}

TEST(WaxFileTest, BothVersionWordsLoadAndAnEmptyStateListShowsNothing) {
    Enemy enemy;
    const Bytes older = enemy.m_Writer.Write(0x00011000);
    EXPECT_EQ(Bytes(older.begin() + 4, older.end()), Bytes(enemy.m_Bytes.begin() + 4, enemy.m_Bytes.end()));
    WaxSelection selection;
    std::vector<SpriteFrame> frames;
    ASSERT_TRUE(Succeeded(DecodeWax(older, "OLD.WAX", GamePalette(), false, selection, frames)));
    EXPECT_EQ(frames.size(), 1u);

    testing::WaxWriter empty;
    ASSERT_TRUE(Succeeded(DecodeWax(empty.Write(), "EMPTY.WAX", GamePalette(), false, selection, frames)));
    EXPECT_EQ(selection.m_nStateCount, 0);
    EXPECT_TRUE(frames.empty());
}

TEST(WaxFileTest, BadStructuresAreRefused) {
    const Enemy enemy;
    const testing::WaxWriter& layout = enemy.m_Writer;
    EXPECT_EQ(Refusal(Bytes(100, 0)), "ENEMY.WAX: the header at offset 0 lies outside the 100-byte file.");

    Bytes bytes = enemy.m_Bytes;
    Put32(bytes, 32 + 4, 0xFFFFFFF0); // second state
    EXPECT_EQ(Refusal(bytes), "ENEMY.WAX: the state at offset 4294967280 lies outside the " +
                                  std::to_string(bytes.size()) + "-byte file.");

    // A view whose second frame is the view itself: the structures point into each other.
    bytes = enemy.m_Bytes;
    const std::uint32_t view = layout.m_ViewOffsets[0];
    Put32(bytes, view + 16 + 4, view);
    EXPECT_EQ(Refusal(bytes), "ENEMY.WAX: the frame at offset " + std::to_string(view) +
                                  " overlaps the view at offset " + std::to_string(view) + ".");

    // A state naming the header as one of its views.
    bytes = enemy.m_Bytes;
    Put32(bytes, layout.m_StateOffsets[1] + 28, 16);
    EXPECT_EQ(Refusal(bytes), "ENEMY.WAX: the view at offset 16 overlaps the header at offset 0.");

    bytes = enemy.m_Bytes;
    Put32(bytes, layout.m_CellOffsets[2], 5000);
    Put32(bytes, layout.m_CellOffsets[2] + 4, 5000);
    EXPECT_EQ(Refusal(bytes), "ENEMY.WAX: the cell at offset " + std::to_string(layout.m_CellOffsets[2]) +
                                  " of 5000 x 5000 pixels is outside 1 to 4096 a side.");

    bytes = enemy.m_Bytes;
    Put32(bytes, layout.m_CellOffsets[2], 4000);
    Put32(bytes, layout.m_CellOffsets[2] + 4, 4000);
    EXPECT_NE(Refusal(bytes).find("promises more data than"), std::string::npos);
}

TEST(WaxFileTest, StateAndViewNames) {
    EXPECT_EQ(WaxStateName(0), "Normal Walk");
    EXPECT_EQ(WaxStateName(3), "Dying with flash");
    EXPECT_EQ(WaxStateName(13), "Special action");
    EXPECT_EQ(WaxStateName(14), "Enemy State 15");
    EXPECT_EQ(WaxStateName(31), "Enemy State 32");
    EXPECT_EQ(WaxStateName(-1), "");
    EXPECT_EQ(WaxViewName(0), "000.00");
    EXPECT_EQ(WaxViewName(1), "011.25");
    EXPECT_EQ(WaxViewName(2), "022.50");
    EXPECT_EQ(WaxViewName(9), "101.25");
    EXPECT_EQ(WaxViewName(31), "348.75");
}

} // namespace
} // namespace morvi
