#include "gamefiles/LineReader.h"
#include "gamefiles/TextWriter.h"
#include "gamefiles/Tokenizer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace morvi {
namespace {

std::vector<std::string> Lines(std::string_view text) {
    LineReader reader(text);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(LineReader, LineEndsFromTheField) {
    EXPECT_EQ(Lines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Lines("a\r\n\r\nb\r\n\x1a"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Lines("a\nb\x1a"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Lines(std::string(700, 'x') + "\n"), std::vector<std::string>{std::string(700, 'x')});
    EXPECT_TRUE(Lines("").empty());
}

TEST(Tokenizer, SeparatorSetsPerCallAndLeadingNumbers) {
    Tokenizer tok("  WALL LEFT:  12 RIGHT:13 MID: -4 2.50");
    EXPECT_EQ(tok.nextInt(CharSet("WALL EFT: ")), 12);
    EXPECT_EQ(tok.nextInt(CharSet("RIGHT: ")), 13);
    EXPECT_EQ(tok.nextInt(CharSet("MID: ")), -4);
    EXPECT_DOUBLE_EQ(tok.nextDouble(CharSet(": ")), 2.5);
    EXPECT_TRUE(tok.next(CharSet(" ")).empty());
    EXPECT_EQ(LeadingInt(" +7x"), 7);
    EXPECT_EQ(LeadingInt("99999999999"), 2147483647);
    EXPECT_EQ(LeadingInt("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingDouble("1.5e1z"), 15.0);
    EXPECT_DOUBLE_EQ(LeadingDouble("inf"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDouble("+-1"), 0.0);
}

TEST(TextWriter, MatchesPrintfForTheFormatsTheGameTextsUse) {
    const double reals[] = {0.0,    -0.0,    0.005,     0.015, -0.004, 1.125,
                            12.345, -2048.0, 99999.999, 1e15,  -1.5e-7};
    const long long ints[] = {0, 5, -5, 42, -123, 1000, -2147483648LL};
    for (double v : reals) {
        for (auto [width, prec] : {std::pair{0, 2}, {5, 2}, {8, 2}, {0, 4}}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%*.*f", width, prec, v);
            std::string out;
            TextWriter(out).fixed(v, prec, width);
            EXPECT_EQ(out, expected) << v << " %" << width << "." << prec << "f";
        }
    }
    for (long long v : ints) {
        char expected[64];
        std::string out;
        std::snprintf(expected, sizeof expected, "%3lld|%02lld|%lld|%2lld", v, v, v, v);
        TextWriter(out).integer(v, 3).raw("|").integer(v, 2, true).raw("|").integer(v).raw("|").integer(v, 2);
        EXPECT_EQ(out, expected);
    }
    std::string out;
    TextWriter(out).left("IF3.BM", 14).raw("|").right("ab", 4).raw("|").left("LONGER_THAN_WIDTH", 4);
    EXPECT_EQ(out, "IF3.BM        |  ab|LONGER_THAN_WIDTH");
}

} // namespace
} // namespace morvi
