#include "resources/GamePalette.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace morvi {
namespace {

TEST(GamePaletteTest, ReadsTheFirst768BytesAndRefusesShortFiles) {
    std::vector<std::uint8_t> bytes(800);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 64);
    GamePalette palette;
    ASSERT_TRUE(GamePalette::Read(bytes, "SECBASE.PAL", palette));
    EXPECT_TRUE(std::equal(palette.m_Bytes.begin(), palette.m_Bytes.end(), bytes.begin()));

    bytes.resize(767);
    GamePalette untouched;
    const Status shortFile = GamePalette::Read(bytes, "SECBASE.PAL", untouched);
    EXPECT_EQ(shortFile.message(), "SECBASE.PAL: a palette needs 768 bytes, the file holds 767.");
    EXPECT_EQ(untouched.m_Bytes, GamePalette().m_Bytes);
}

TEST(GamePaletteTest, DisplayColoursScaleEachComponentIn8Bits) {
    GamePalette palette;
    palette.SetEntry(1, 63, 0, 1);
    palette.SetEntry(2, 10, 20, 30);
    palette.SetEntry(255, 100, 64, 63); // out-of-range components wrap like the game's arithmetic
    EXPECT_EQ(palette.DisplayColour(0), 0x000000u);
    EXPECT_EQ(palette.DisplayColour(1), 0x0400FCu); // red 252, green 0, blue 4
    EXPECT_EQ(palette.DisplayColour(2), 0x785028u);
    EXPECT_EQ(palette.DisplayColour(255), 0xFC0090u); // 400 -> 144, 256 -> 0
    EXPECT_EQ(palette.DisplayColour(2, 1), 0x1E140Au);

    const DisplayColours all = palette.AllDisplayColours();
    EXPECT_EQ(all[1], 0x0400FCu);
    EXPECT_EQ(all[255], 0xFC0090u);
}

} // namespace
} // namespace morvi
