#include "demo/SampleLevel.h"
#include "support/EditSequence.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace morvi::demo {
namespace {

// The sample level has what the synthetic one lacks: several layers, elevators and doors with
// INF items naming walls, a sky courtyard and a pit.
TEST(SampleEditSequence, RandomEditsStayValidAndUndoToTheStart) {
    for (std::uint64_t seed : {0x5A3Dull, 0xBEEFull}) {
        CMorviDoc doc;
        BuildSampleLevel(doc);
        testing::EditSequence sequence(doc);
        const testing::SequenceOutcome outcome = sequence.Run(seed, 150);
        ASSERT_TRUE(outcome.ok()) << outcome.m_strFailure;
        int changed = 0;
        for (const auto& [name, counts] : outcome.m_Counts)
            changed += counts.m_nChanged;
        EXPECT_GT(changed, 30) << "seed " << seed;
    }
}

} // namespace
} // namespace morvi::demo
