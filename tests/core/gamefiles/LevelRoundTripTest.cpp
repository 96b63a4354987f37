// Whole levels through the archive: everything the LEV, O and INF texts carry comes back.
#include "gamefiles/LevelArchive.h"
#include "model/LevelChecker.h"
#include "model/LevelDiff.h"
#include "support/LevelCompare.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

void ExpectArchiveRoundTrip(const testing::SyntheticLevelOptions& options) {
    CDataLevel original;
    testing::BuildSyntheticLevel(original, options);
    std::vector<std::uint8_t> first;
    ASSERT_TRUE(WriteLevelBytes(original, first));

    CDataLevel loaded;
    ASSERT_TRUE(LoadLevelBytes(loaded, first, "synth.gob", nullptr));
    EXPECT_EQ(testing::CountDifferences(original, loaded, {.members = false, .objectSectors = false}), 0);
    EXPECT_EQ(DiffLevels(original, loaded).Summary(), "no differences");
    EXPECT_TRUE(checkLevel(loaded).empty());

    std::vector<std::uint8_t> second;
    ASSERT_TRUE(WriteLevelBytes(loaded, second));
    EXPECT_EQ(first, second);
}

TEST(LevelRoundTrip, SmallSyntheticLevelComesBackFieldForField) { ExpectArchiveRoundTrip(testing::SyntheticLevelOptions::Small()); }

TEST(LevelRoundTrip, LargestLevelSizeComesBackFieldForField) { ExpectArchiveRoundTrip(testing::SyntheticLevelOptions{}); }

} // namespace
} // namespace morvi
