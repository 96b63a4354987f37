#include "app/Tips.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace morvi {
namespace {

class TipsTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& text) {
        const auto path = m_Dir.path() / "tips.txt";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // A state that matches the file as written, so that Start keeps the stored offset.
    TipState CurrentState(const std::filesystem::path& path, std::int64_t offset) {
        return TipState{0, offset, FileTimeStamp(path)};
    }

    testing::TempDir m_Dir;
};

TEST(TipLineTest, CommentsAndSpacingAreNoTips) {
    EXPECT_TRUE(IsTipLine("Press G."));
    EXPECT_TRUE(IsTipLine("x"));
    EXPECT_FALSE(IsTipLine(""));
    EXPECT_FALSE(IsTipLine(" indented"));
    EXPECT_FALSE(IsTipLine("\tindented"));
    EXPECT_FALSE(IsTipLine("; comment"));
    EXPECT_FALSE(IsTipLine("\r"));
    EXPECT_FALSE(IsTipLine("\n"));
}

TEST(TipTimeStampTest, CtimeFormPadsTheDayWithABlank) {
    std::tm time{};
    time.tm_year = 98;
    time.tm_mon = 5;
    time.tm_mday = 3;
    time.tm_wday = 3;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 7;
    EXPECT_EQ(FormatCtime(time), "Wed Jun  3 09:05:07 1998");
    time.tm_mday = 24;
    time.tm_mon = 11;
    time.tm_wday = 4;
    time.tm_hour = 23;
    time.tm_year = 126;
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

TEST_F(TipsTest, SkipsCommentsAndWrapsToTheFirstTip) {
    const auto path = Write("; heading\nFirst tip\n\n  indented\n\tTabbed\nSecond tip\r\n;end\n");
    TipState state;
    TipFile tips;
    EXPECT_EQ(tips.Start(path, state), "First tip");
    EXPECT_EQ(state.m_strTimeStamp, FileTimeStamp(path));
    EXPECT_EQ(tips.Next(), "Second tip");
    EXPECT_EQ(tips.Next(), "First tip");
    EXPECT_EQ(tips.Offset(), 20);
}

TEST_F(TipsTest, ResumesAtTheStoredOffsetWhenTheFileIsUnchanged) {
    const auto path = Write("One\nTwo\nThree\n");
    TipState state = CurrentState(path, 4);
    TipFile tips;
    EXPECT_EQ(tips.Start(path, state), "Two");
    EXPECT_EQ(tips.Offset(), 8);
    EXPECT_EQ(state.m_nFilePos, 4);
}

TEST_F(TipsTest, AChangedModificationTimeStartsAtTheFirstTip) {
    const auto path = Write("One\nTwo\nThree\n");
    TipState state{0, 8, "Mon Jan  1 00:00:00 1990"};
    TipFile tips;
    EXPECT_EQ(tips.Start(path, state), "One");
    EXPECT_EQ(state.m_nFilePos, 0);
    EXPECT_EQ(state.m_strTimeStamp, FileTimeStamp(path));
}

TEST_F(TipsTest, AnOffsetPastTheEndWrapsAndANegativeOneIsTrouble) {
    const auto path = Write("One\nTwo\n");
    TipState far = CurrentState(path, 5000);
    TipFile tips;
    EXPECT_EQ(tips.Start(path, far), "One");
    TipState negative = CurrentState(path, -3);
    EXPECT_EQ(tips.Start(path, negative), kTipsFileTrouble);
}

TEST_F(TipsTest, AFileWithoutTipsEndsTheSearch) {
    for (const std::string text : {"", "; only comments\n\n   \n", "\n\n\n\n"}) {
        const auto path = Write(text);
        TipState state;
        TipFile tips;
        EXPECT_EQ(tips.Start(path, state), kTipsFileEmpty) << text;
        EXPECT_EQ(tips.Next(), kTipsFileEmpty);
    }
}

TEST_F(TipsTest, AMissingFileSaysSoAndHasNoOffset) {
    TipState state{0, 12, "stamp"};
    TipFile tips;
    EXPECT_EQ(tips.Start(m_Dir.path() / "missing.txt", state), kTipsFileMissing);
    EXPECT_FALSE(tips.IsOpen());
    EXPECT_EQ(tips.Offset(), -1);
    EXPECT_EQ(state.m_nFilePos, 12);
    EXPECT_EQ(state.m_strTimeStamp, "stamp");
}

TEST_F(TipsTest, LongLinesAreCutAndTheirRestIsNoTip) {
    const std::string longLine = std::string(1500, 'a') + "\n";
    const auto path = Write(longLine + "Short\n" + std::string(800, 'b'));
    TipState state;
    TipFile tips;
    EXPECT_EQ(tips.Start(path, state), std::string(kMaxTipLength, 'a'));
    EXPECT_EQ(tips.Next(), "Short");
    EXPECT_EQ(tips.Next(), std::string(800, 'b'));
    EXPECT_EQ(tips.Next(), std::string(kMaxTipLength, 'a'));
}

TEST_F(TipsTest, AFolderInPlaceOfTheFileCountsAsMissing) {
    TipState state;
    TipFile tips;
    EXPECT_EQ(tips.Start(m_Dir.path(), state), kTipsFileMissing);
    EXPECT_FALSE(tips.IsOpen());
}

} // namespace
} // namespace morvi
