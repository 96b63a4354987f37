#include "app/Tips.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <tuple>

namespace morvi {
namespace {

class TipsTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& text) {
        const auto path = m_Dir.path() / "tips.txt";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    testing::TempDir m_Dir;
};

TEST(TipTimeStampTest, CtimeFormPadsTheDayWithABlank) {
    std::tm time{};
    std::tie(time.tm_year, time.tm_mon, time.tm_mday, time.tm_wday, time.tm_hour, time.tm_min, time.tm_sec) =
        std::tuple(98, 5, 3, 3, 9, 5, 7);
    EXPECT_EQ(FormatCtime(time), "Wed Jun  3 09:05:07 1998");
    std::tie(time.tm_year, time.tm_mon, time.tm_mday, time.tm_wday, time.tm_hour) =
        std::tuple(126, 11, 24, 4, 23);
    EXPECT_EQ(FormatCtime(time), "Thu Dec 24 23:05:07 2026");
}

TEST_F(TipsTest, TimeStampFollowsTheFileAndIsEmptyWithoutOne) {
    const auto path = Write("Tip\n");
    const std::string before = FileTimeStamp(path);
    ASSERT_EQ(before.size(), 24u);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(49));
    EXPECT_NE(FileTimeStamp(path), before);
    EXPECT_EQ(FileTimeStamp(m_Dir.path() / "none.txt"), "");
}

// Comments and indented lines are no tips; a long line is cut and its rest is no tip.
TEST_F(TipsTest, SkipsCommentsCutsLongLinesAndWrapsToTheFirstTip) {
    const auto path = Write("; heading\nFirst tip\n\n  indented\n\tTabbed\nSecond tip\r\n;end\n" +
                            std::string(1500, 'a') + "\n");
    TipState state;
    TipFile tips;
    EXPECT_EQ(tips.Start(path, state), "First tip");
    EXPECT_EQ(state.m_strTimeStamp, FileTimeStamp(path));
    EXPECT_EQ(tips.Next(), "Second tip");
    EXPECT_EQ(tips.Next(), std::string(kMaxTipLength, 'a'));
    EXPECT_EQ(tips.Next(), "First tip");
    EXPECT_EQ(tips.Offset(), 20);
}

// The stored offset is used only while the file keeps its time stamp; one past the end wraps,
// a negative one is trouble.
TEST_F(TipsTest, StartsAtTheStoredOffsetOfAnUnchangedFile) {
    const auto path = Write("One\nTwo\nThree\n");
    const std::string stamp = FileTimeStamp(path);
    const std::tuple<std::int64_t, std::string, std::string, std::int64_t> cases[] = {
        {4, stamp, "Two", 4},
        {8, "Mon Jan  1 00:00:00 1990", "One", 0},
        {5000, stamp, "One", 5000},
        {-3, stamp, std::string(kTipsFileTrouble), -3},
    };
    for (const auto& [offset, timeStamp, first, storedAfter] : cases) {
        SCOPED_TRACE(offset);
        TipState state{0, offset, timeStamp};
        TipFile tips;
        EXPECT_EQ(tips.Start(path, state), first);
        EXPECT_EQ(state.m_nFilePos, storedAfter);
        EXPECT_EQ(state.m_strTimeStamp, stamp);
    }
}

TEST_F(TipsTest, FilesWithoutTipsEndTheSearch) {
    for (const std::string text : {"", "; only comments\n\n   \n", "\n\n\n\n"}) {
        const auto path = Write(text);
        TipState state;
        TipFile tips;
        EXPECT_EQ(tips.Start(path, state), kTipsFileEmpty) << text;
        EXPECT_EQ(tips.Next(), kTipsFileEmpty);
    }
    // A missing file, or a folder in its place, says so and leaves the state alone.
    for (const auto& path : {m_Dir.path() / "missing.txt", m_Dir.path()}) {
        TipState state{0, 12, "stamp"};
        TipFile tips;
        EXPECT_EQ(tips.Start(path, state), kTipsFileMissing);
        EXPECT_FALSE(tips.IsOpen());
        EXPECT_EQ(tips.Offset(), -1);
        EXPECT_EQ(std::tie(state.m_nFilePos, state.m_strTimeStamp), std::tuple(12, "stamp"));
    }
}

} // namespace
} // namespace morvi
