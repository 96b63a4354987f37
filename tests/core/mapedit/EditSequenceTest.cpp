#include "support/EditSequence.h"

#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace morvi {
namespace {

using testing::EditSequence;
using testing::Rng;
using testing::SequenceOutcome;

constexpr int kSteps = 150;

SequenceOutcome RunOn(void (*build)(CDataLevel&), std::uint64_t seed) {
    CMorviDoc doc;
    build(doc.level());
    EditSequence sequence(doc);
    return sequence.Run(seed, kSteps);
}

void BuildSmallSynthetic(CDataLevel& level) {
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
}

// Every step leaves a sound level and one undo step; undoing all of them gives back the start.
TEST(EditSequence, RandomEditsStayValidAndUndoToTheStart) {
    std::map<std::string, int> changed;
    for (std::uint64_t seed : {0x51ull, 0xC0FFEEull, 0x2026ull}) {
        const SequenceOutcome outcome = RunOn(BuildSmallSynthetic, seed);
        ASSERT_TRUE(outcome.ok()) << outcome.m_strFailure;
        EXPECT_EQ(outcome.m_nSteps, kSteps);
        for (const auto& [name, counts] : outcome.m_Counts)
            changed[name] += counts.m_nChanged;
    }
    // The property is only worth something when the edits really happened.
    for (const char* name : {"split wall", "delete sectors", "delete walls", "paste", "drag", "rotate"})
        EXPECT_GT(changed[name], 0) << name;
    EXPECT_GT(changed["insert polygon"] + changed["cylinder"] + changed["passage"], 0);

    for (auto build : {testing::BuildRoomWithPillar, testing::BuildTwoRooms})
        for (std::uint64_t seed : {7ull, 0xABCDull})
            EXPECT_EQ(RunOn(build, seed).m_strFailure, "");
}

// The harness itself: an edit that breaks the level is reported with its seed, step and name.
TEST(EditSequence, ReportsBrokenEdits) {
    CMorviDoc doc;
    testing::BuildTwoRooms(doc.level());
    EditSequence sequence(doc);
    sequence.AddOperation({"bad", nullptr, [](CMapEngine& e, Rng&) {
                               auto& sectors = e.level().m_Lev.m_pSectors;
                               sectors.push_back(std::make_unique<CDataSector>());
                               sectors.back()->m_nIndex = static_cast<int>(sectors.size()) - 1;
                               EditResult r;
                               r.m_bChanged = true;
                               return r;
                           }});
    const SequenceOutcome wallless = sequence.Run(0x1234, 500);
    ASSERT_FALSE(wallless.ok());
    EXPECT_NE(wallless.m_strFailure.find("seed 0x1234, step "), std::string::npos) << wallless.m_strFailure;
    EXPECT_NE(wallless.m_strFailure.find("(bad)"), std::string::npos) << wallless.m_strFailure;
    EXPECT_LT(wallless.m_nSteps, 500);
}

} // namespace
} // namespace morvi
