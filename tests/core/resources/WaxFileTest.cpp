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
        m_Bytes = testing::WaxBytes(m_Writer);
    }

    std::vector<SpriteFrame> Decode(WaxSelection& selection) const {
        std::vector<SpriteFrame> frames;
        EXPECT_TRUE(Succeeded(DecodeWax(m_Bytes, "ENEMY.WAX", GamePalette(), true, selection, frames)));
        return frames;
    }

    WaxEncoder m_Writer;
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
    const WaxState& state = wax.m_States[0];
    EXPECT_EQ(std::tuple(state.m_nWorldWidth, state.m_nWorldHeight, state.m_nFrameRate),
              std::tuple(20, 30, 12));
    ASSERT_EQ(wax.m_Frames.size(), 1u);
    EXPECT_EQ(std::tuple(wax.m_Frames[0].m_nX, wax.m_Frames[0].m_nY, wax.m_Frames[0].m_bFlip),
              std::tuple(5, 6, true));

    WaxSelection selection;
    std::vector<SpriteFrame> frames;
    ASSERT_TRUE(Succeeded(DecodeWax(bytes, "ENEMY.WAX", GamePalette(), false, selection, frames)));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::pair(frames[0].m_Image.pixel(0, 0), frames[0].m_Image.pixel(0, 1)),
              (std::pair<std::uint8_t, std::uint8_t>(7, 9)));
    EXPECT_EQ(selection.m_nFrameRate, 12);
}

// The selection's counters are recounted for the chosen state and view (a state out of range
// becomes 0); it gives the chosen frame, or the whole view, or nothing for a frame out of range.
// Views naming one sequence show the same frames.
TEST(WaxFileTest, SelectionCountsAndDecodesTheChosenFrames) {
    struct Case {
        int state, view, frame;
        bool all;
        std::tuple<int, int, int, int, int> counts; // states, views, frames, frame rate, state chosen
        std::vector<std::tuple<int, int, bool, std::size_t>> frames; // x, y, flip and cell of each
    };
    const std::tuple<int, int, bool, std::size_t> f0{-1, 2, false, 0}, f1{3, -4, true, 1}, f2{5, 6, true, 0};
    const std::vector<Case> cases{
        {0, 0, 0, false, {3, 32, 3, 8, 0}, {f0}},
        {0, 31, 1, false, {3, 32, 3, 8, 0}, {f1}},
        {1, 7, 0, false, {3, 8, 1, 4, 1}, {{0, 0, false, 2}}},
        {3, 1, 0, true, {3, 32, 3, 8, 0}, {f2, f1, f0}},
        {2, 0, 0, true, {3, 8, 3, 0, 2}, {f2, f1, f0}},
        {2, 0, 3, false, {3, 8, 3, 0, 2}, {}},
    };
    const Enemy enemy;
    for (const Case& c : cases) {
        WaxSelection selection;
        selection.m_nSelectedState = c.state;
        selection.m_nSelectedView = c.view;
        selection.m_nSelectedFrame = c.frame;
        selection.m_bShowAllFrames = c.all;
        const std::vector<SpriteFrame> frames = enemy.Decode(selection);
        EXPECT_EQ(std::tuple(selection.m_nStateCount, selection.m_nViewCount, selection.m_nFrameCount,
                             selection.m_nFrameRate, selection.m_nSelectedState),
                  c.counts);
        ASSERT_EQ(frames.size(), c.frames.size()) << c.state << " " << c.view;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const auto& [x, y, flip, cell] = c.frames[i];
            EXPECT_EQ(std::tuple(frames[i].m_nX, frames[i].m_nY, frames[i].m_bFlip), std::tuple(x, y, flip));
            EXPECT_TRUE(SamePixels(frames[i].m_Image, enemy.m_Cells[cell]))
                << c.state << " " << c.view << " " << i;
            EXPECT_EQ(frames[i].m_bCompressed, cell == 1);
        }
    }
}

TEST(WaxFileTest, BothVersionWordsLoadAndAnEmptyStateListShowsNothing) {
    Enemy enemy;
    const Bytes older = testing::WaxBytes(enemy.m_Writer, 0x00011000);
    EXPECT_EQ(Bytes(older.begin() + 4, older.end()), Bytes(enemy.m_Bytes.begin() + 4, enemy.m_Bytes.end()));
    WaxSelection selection;
    std::vector<SpriteFrame> frames;
    ASSERT_TRUE(Succeeded(DecodeWax(older, "OLD.WAX", GamePalette(), false, selection, frames)));
    EXPECT_EQ(frames.size(), 1u);

    WaxEncoder empty;
    ASSERT_TRUE(
        Succeeded(DecodeWax(testing::WaxBytes(empty), "EMPTY.WAX", GamePalette(), false, selection, frames)));
    EXPECT_EQ(selection.m_nStateCount, 0);
    EXPECT_TRUE(frames.empty());
}

TEST(WaxFileTest, BadStructuresAreRefused) {
    const Enemy enemy;
    const WaxEncoder& layout = enemy.m_Writer;
    EXPECT_EQ(Refusal(Bytes(100, 0)), "ENEMY.WAX: the header at offset 0 lies outside the 100-byte file.");
    const std::string view = std::to_string(layout.m_ViewOffsets[0]);
    const std::uint32_t cell = layout.m_CellOffsets[2];
    const std::vector<std::pair<std::vector<std::pair<std::size_t, std::uint32_t>>, std::string>> cases{
        {{{32 + 4, 0xFFFFFFF0}}, // the second state
         "the state at offset 4294967280 lies outside the " + std::to_string(enemy.m_Bytes.size()) +
             "-byte file."},
        // A view whose second frame is the view itself: the structures point into each other.
        {{{layout.m_ViewOffsets[0] + 16 + 4, layout.m_ViewOffsets[0]}},
         "the frame at offset " + view + " overlaps the view at offset " + view + "."},
        // A state naming the header as one of its views.
        {{{layout.m_StateOffsets[1] + 28, 16}}, "the view at offset 16 overlaps the header at offset 0."},
        {{{cell, 5000}, {cell + 4, 5000}},
         "the cell at offset " + std::to_string(cell) +
             " of 5000 x 5000 pixels is outside 1 to 4096 a side."},
        {{{cell, 4000}, {cell + 4, 4000}}, "promises more data than"},
    };
    for (const auto& [patches, message] : cases) {
        Bytes bytes = enemy.m_Bytes;
        for (const auto& [at, value] : patches)
            Put32(bytes, at, value);
        const std::string refusal = Refusal(bytes);
        EXPECT_NE(refusal.find(message), std::string::npos) << refusal;
        EXPECT_EQ(refusal.rfind("ENEMY.WAX: ", 0), 0u) << refusal;
    }
}

} // namespace
} // namespace morvi
