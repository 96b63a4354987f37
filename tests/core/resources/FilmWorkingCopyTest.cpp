#include "resources/FilmWorkingCopy.h"

#include "PictureHelpers.h"

namespace morvi {
namespace {

using namespace testing;
using Cells = std::array<std::string, kFilmMaxParams>;

TEST(FilmWorkingCopyTest, TakesParametersFromMinus32768To65535Only) {
    const std::vector<std::pair<std::string, int>> cases{
        {"-1", 0xFFFF}, {"65535", 0xFFFF}, {" 12 ", 12}, {"-32768", 0x8000}, {"65536", -1},
        {"-32769", -1}, {"abc", -1},       {"12x", -1},  {"", -1},           {"1.5", -1},
    };
    for (const auto& [text, expected] : cases) {
        std::uint16_t value = 7;
        const Status parsed = ParseFilmParam(text, value);
        EXPECT_EQ(parsed.ok() ? int(value) : -1, expected) << text;
        EXPECT_EQ(parsed.message(),
                  expected < 0 ? "\"" + text + "\" is not a number from -32768 to 65535." : std::string());
    }
}

// Which block and row stay chosen, and which changes count as unsaved. Parameters stop at the
// first empty cell; a refused cell names its place and changes nothing.
TEST(FilmWorkingCopyTest, KeepsChoicesAndCountsOnlyRealChanges) {
    FilmWorkingCopy copy;
    copy.ChooseRow(0);
    ASSERT_TRUE(Succeeded(copy.EditRow("end", Cells{})));
    EXPECT_FALSE(copy.IsModified()); // the same command again
    ASSERT_TRUE(Succeeded(copy.AddEndCommand()));
    EXPECT_EQ(copy.CurrentRow(), 1);
    ASSERT_TRUE(Succeeded(copy.EditRow("", Cells{"65535", "", "9"}))); // no name: the row keeps END
    const Bytes edited = copy.Film().m_Blocks[0].m_Commands;
    EXPECT_EQ(edited, (Bytes{4, 0, 2, 0, 6, 0, 2, 0, 0xFF, 0xFF}));
    EXPECT_EQ(copy.Rows()[1].m_strParams[0], "-1");
    EXPECT_EQ(copy.EditRow("CUE", Cells{"1", "2", "70000"}).message(),
              "Command 2, P3: \"70000\" is not a number from -32768 to 65535.");
    EXPECT_EQ(copy.Film().m_Blocks[0].m_Commands, edited);
    EXPECT_TRUE(copy.IsModified());

    copy.AddBlock(FilmWorkingCopy::NewBlock::Cust);
    EXPECT_EQ(copy.CurrentBlock(), 1);
    copy.ChooseBlock(0);
    EXPECT_TRUE(copy.Delete());
    EXPECT_EQ(copy.CurrentBlock(), 0);
    EXPECT_TRUE(copy.Delete());
    EXPECT_EQ(copy.CurrentBlock(), -1);
    EXPECT_FALSE(copy.Delete());
}

} // namespace
} // namespace morvi
