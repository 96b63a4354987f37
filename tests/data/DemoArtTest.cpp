#include "demo/DemoArt.h"

#include <gtest/gtest.h>

#include <set>

namespace morvi::demo {
namespace {

TEST(DemoPalette, RampsFillTheTableAndRunFromDarkToLight) {
    EXPECT_EQ(Shade(Ramp::Grey, 0), kFirstRampIndex);
    EXPECT_EQ(Shade(Ramp::Glow, 15), 255);
    EXPECT_EQ(Shade(Ramp::Red, 99), Shade(Ramp::Red, 15));
    EXPECT_EQ(Shade(Ramp::Red, -3), Shade(Ramp::Red, 0));
    const GamePalette palette = LevelPalette("DARK");
    for (int r = 0; r < kRampCount; ++r) {
        const auto ramp = static_cast<Ramp>(r);
        auto brightness = [&](int s) {
            const std::size_t i = 3u * Shade(ramp, s);
            return palette.m_Bytes[i] + palette.m_Bytes[i + 1] + palette.m_Bytes[i + 2];
        };
        for (int s = 1; s < kShades; ++s)
            EXPECT_GE(brightness(s), brightness(s - 1)) << "ramp " << r << " shade " << s;
        Ramp back;
        int shade;
        ASSERT_TRUE(RampOf(Shade(ramp, 7), back, shade));
        EXPECT_EQ(back, ramp);
        EXPECT_EQ(shade, 7);
    }
    EXPECT_EQ(palette.m_Bytes[0] + palette.m_Bytes[1] + palette.m_Bytes[2], 0); // transparent black
    // Level palettes differ in tint.
    EXPECT_NE(LevelPalette("SECBASE").m_Bytes, LevelPalette("TALAY").m_Bytes);
}

TEST(DemoArt, RandomSequenceIsFixedBySeedAndStaysInItsRange) {
    DemoRandom a(7), b(7), c(8);
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(a.next(), b.next());
        seen.insert(c.between(-3, 3));
    }
    EXPECT_EQ(seen, (std::set<int>{-3, -2, -1, 0, 1, 2, 3}));
}

TEST(DemoArt, CanvasCountsRowsFromTheTopAndClips) {
    IndexedImage image = BlankPicture(8, 4);
    Canvas canvas(image);
    canvas.Plot(1, 0, 9); // top row is the picture's last row
    EXPECT_EQ(image.pixel(1, 3), 9);
    canvas.FillRect(-5, -5, 100, 100, 3); // clipped, no write outside
    EXPECT_EQ(image.pixel(7, 0), 3);
    canvas.Fill(0);
    EXPECT_EQ(canvas.Text(0, 0, "T", 5), 4);
    // T: a full top bar and a stem in the middle column.
    EXPECT_EQ(canvas.At(0, 0), 5);
    EXPECT_EQ(canvas.At(2, 0), 5);
    EXPECT_EQ(canvas.At(1, 3), 5);
    EXPECT_EQ(canvas.At(0, 3), 0);
    EXPECT_EQ(Canvas::TextWidth("AB"), 7);
}

} // namespace
} // namespace morvi::demo
