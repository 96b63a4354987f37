#include "resources/PlttPalette.h"

#include "support/RawBytes.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::RawBytes;

using testing::Succeeded;

// A working palette whose every byte differs from what the tests' PLTTs write.
GamePalette WorkingPalette() {
    GamePalette palette;
    for (std::size_t i = 0; i < kPaletteSize; ++i)
        palette.m_Bytes[i] = static_cast<std::uint8_t>(i % 7 + 50);
    return palette;
}

// A PLTT for first to last whose colour bytes count 0, 1, 2 ... modulo 50.
Bytes PlttBytes(std::uint8_t first, std::uint8_t last) {
    RawBytes raw;
    raw.u8(first).u8(last);
    for (std::size_t i = 0; i < 3 * (std::size_t(last) - first + 1); ++i)
        raw.u8(static_cast<std::uint8_t>(i % 50));
    return raw.m_Bytes;
}

GamePalette Applied(const Bytes& bytes) {
    PlttPalette pltt;
    EXPECT_TRUE(Succeeded(ReadPltt(bytes, "TEST.PLT", pltt)));
    GamePalette palette = WorkingPalette();
    ApplyPltt(pltt, palette);
    return palette;
}

TEST(PlttPaletteTest, WholeRangeReplacesTheWholePalette) {
    const GamePalette palette = Applied(PlttBytes(0, 255));
    for (std::size_t i = 0; i < kPaletteSize; ++i)
        ASSERT_EQ(palette.m_Bytes[i], i % 50) << i;
}

TEST(PlttPaletteTest, PartialRangeSetsOnlyItsEntriesFromTheFirstTriple) {
    Bytes bytes = PlttBytes(16, 17);
    bytes.insert(bytes.end(), {61, 62, 63}); // after the last triple: ignored
    const GamePalette palette = Applied(bytes);
    const GamePalette before = WorkingPalette();
    for (std::size_t i = 0; i < kPaletteSize; ++i) {
        const bool inRange = i >= 3 * 16 && i < 3 * 18;
        ASSERT_EQ(palette.m_Bytes[i], inRange ? i - 3 * 16 : before.m_Bytes[i]) << i;
    }
}

TEST(PlttPaletteTest, SingleEntryAtTheTop) {
    const GamePalette palette = Applied(RawBytes().u8(255).u8(255).u8(1).u8(2).u8(3).m_Bytes);
    EXPECT_EQ(palette.m_Bytes[765], 1);
    EXPECT_EQ(palette.m_Bytes[766], 2);
    EXPECT_EQ(palette.m_Bytes[767], 3);
    EXPECT_EQ(palette.m_Bytes[764], WorkingPalette().m_Bytes[764]);
}

TEST(PlttPaletteTest, ReadsRangeAndColours) {
    PlttPalette pltt;
    ASSERT_TRUE(Succeeded(
        ReadPltt(RawBytes().u8(3).u8(4).u8(9).u8(8).u8(7).u8(6).u8(5).u8(4).m_Bytes, "A.PLT", pltt)));
    EXPECT_EQ(pltt.m_nFirst, 3);
    EXPECT_EQ(pltt.m_nLast, 4);
    EXPECT_EQ(pltt.m_Colours, (Bytes{9, 8, 7, 6, 5, 4}));
}

TEST(PlttPaletteTest, RefusesDamagedMembersAndKeepsTheOldOne) {
    struct Case {
        const char* what;
        Bytes bytes;
        const char* message;
    };
    Bytes shortOne = PlttBytes(10, 12);
    shortOne.pop_back();
    const std::vector<Case> cases = {
        {"empty", Bytes{}, "BAD.PLT: a PLTT needs its first and last colour index."},
        {"one byte", Bytes{0}, "BAD.PLT: a PLTT needs its first and last colour index."},
        {"first above last", RawBytes().u8(9).u8(8).zeros(6).m_Bytes,
         "BAD.PLT: the first colour index 9 is above the last 8."},
        {"short", shortOne, "BAD.PLT: colours 10 to 12 need 9 bytes, only 8 follow."},
        {"no colours", Bytes{0, 255}, "BAD.PLT: colours 0 to 255 need 768 bytes, only 0 follow."},
    };
    for (const Case& c : cases) {
        PlttPalette pltt;
        pltt.m_nFirst = 1;
        pltt.m_nLast = 1;
        pltt.m_Colours = {1, 2, 3};
        const Status status = ReadPltt(c.bytes, "BAD.PLT", pltt);
        ASSERT_FALSE(status) << c.what;
        EXPECT_EQ(status.message(), c.message) << c.what;
        EXPECT_EQ(pltt.m_nFirst, 1) << c.what;
        EXPECT_EQ(pltt.m_Colours, (Bytes{1, 2, 3})) << c.what;
    }
}

TEST(PlttPaletteTest, ApplyCopiesNoMoreThanTheRangeOrTheColoursHeld) {
    PlttPalette pltt;
    pltt.m_nFirst = 2;
    pltt.m_nLast = 3;
    pltt.m_Colours = {1, 2, 3, 4};
    GamePalette palette = WorkingPalette();
    ApplyPltt(pltt, palette);
    GamePalette expected = WorkingPalette();
    std::copy(pltt.m_Colours.begin(), pltt.m_Colours.end(), expected.m_Bytes.begin() + 6);
    EXPECT_EQ(palette.m_Bytes, expected.m_Bytes);

    pltt.m_Colours.assign(12, 9); // more than entries 2 and 3 hold
    palette = WorkingPalette();
    ApplyPltt(pltt, palette);
    std::fill(expected.m_Bytes.begin() + 6, expected.m_Bytes.begin() + 12, 9);
    EXPECT_EQ(palette.m_Bytes, expected.m_Bytes);

    pltt.m_nFirst = 4; // above the last: nothing changes
    palette = WorkingPalette();
    ApplyPltt(pltt, palette);
    EXPECT_EQ(palette.m_Bytes, WorkingPalette().m_Bytes);
}

} // namespace
} // namespace morvi
