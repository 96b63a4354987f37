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

int TotalChanged(const SequenceOutcome& outcome) {
    int changed = 0;
    for (const auto& [name, counts] : outcome.m_Counts)
        changed += counts.m_nChanged;
    return changed;
}

int Changed(const SequenceOutcome& outcome, const std::string& name) {
    const auto it = outcome.m_Counts.find(name);
    return it == outcome.m_Counts.end() ? 0 : it->second.m_nChanged;
}

SequenceOutcome RunOn(void (*build)(CDataLevel&), std::uint64_t seed) {
    CMorviDoc doc;
    build(doc.level());
    EditSequence sequence(doc);
    return sequence.Run(seed, kSteps);
}

void BuildSmallSynthetic(CDataLevel& level) {
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
}

TEST(EditSequence, RandomEditsOnTheSyntheticLevelStayValidAndUndoToTheStart) {
    int changed = 0;
    int splits = 0, deletions = 0, pastes = 0, drags = 0, rotations = 0, generated = 0;
    for (std::uint64_t seed : {0x51ull, 0xC0FFEEull, 0x2026ull}) {
        const SequenceOutcome outcome = RunOn(BuildSmallSynthetic, seed);
        ASSERT_TRUE(outcome.ok()) << outcome.m_strFailure;
        EXPECT_EQ(outcome.m_nSteps, kSteps);
        changed += TotalChanged(outcome);
        splits += Changed(outcome, "split wall");
        deletions += Changed(outcome, "delete sectors") + Changed(outcome, "delete walls");
        pastes += Changed(outcome, "paste");
        drags += Changed(outcome, "drag");
        rotations += Changed(outcome, "rotate");
        generated +=
            Changed(outcome, "insert polygon") + Changed(outcome, "cylinder") + Changed(outcome, "passage");
    }
    // The property is only worth something when the edits really happened.
    EXPECT_GT(changed, kSteps);
    EXPECT_GT(splits, 0);
    EXPECT_GT(deletions, 0);
    EXPECT_GT(pastes, 0);
    EXPECT_GT(drags, 0);
    EXPECT_GT(rotations, 0);
    EXPECT_GT(generated, 0);
}

TEST(EditSequence, RandomEditsOnSmallRooms) {
    for (auto build : {testing::BuildRoomWithPillar, testing::BuildTwoRooms}) {
        for (std::uint64_t seed : {7ull, 0xABCDull}) {
            const SequenceOutcome outcome = RunOn(build, seed);
            ASSERT_TRUE(outcome.ok()) << outcome.m_strFailure;
            EXPECT_GT(TotalChanged(outcome), 0) << "seed " << seed;
        }
    }
}

TEST(EditSequence, SameSeedSameSequence) {
    const SequenceOutcome a = RunOn(BuildSmallSynthetic, 99);
    const SequenceOutcome b = RunOn(BuildSmallSynthetic, 99);
    ASSERT_TRUE(a.ok()) << a.m_strFailure;
    ASSERT_EQ(a.m_Counts.size(), b.m_Counts.size());
    for (const auto& [name, counts] : a.m_Counts) {
        EXPECT_EQ(counts.m_nRuns, b.m_Counts.at(name).m_nRuns) << name;
        EXPECT_EQ(counts.m_nChanged, b.m_Counts.at(name).m_nChanged) << name;
    }
}

// Operations added by a caller run with the built-in ones; only the extra one here, so that every
// step uses it.
TEST(EditSequence, AddedOperationRunsAndIsUndone) {
    CMorviDoc doc;
    testing::BuildTwoRooms(doc.level());
    EditSequence sequence(doc);
    const std::size_t builtIn = sequence.operations().size();
    sequence.AddOperation(
        {"raise floor", [](CMapEngine& e, Rng& rng) { testing::SelectRandom(e, rng, kModeSector, 1); },
         [](CMapEngine& e, Rng&) {
             EditResult r;
             for (const CMapSelItem& item : e.selection()) {
                 e.level().m_Lev.m_pSectors[static_cast<std::size_t>(item.m_nSector)]->m_dFloorAltitude += 1;
                 r.m_bChanged = true;
             }
             return r;
         }});
    ASSERT_EQ(sequence.operations().size(), builtIn + 1);
    const double floor0 = doc.level().m_Lev.m_pSectors[0]->m_dFloorAltitude;
    const SequenceOutcome outcome = sequence.Run(5, 400);
    ASSERT_TRUE(outcome.ok()) << outcome.m_strFailure;
    EXPECT_GT(outcome.m_Counts.at("raise floor").m_nChanged, 0);
    // Undone: the floor is back where it started.
    EXPECT_EQ(doc.level().m_Lev.m_pSectors[0]->m_dFloorAltitude, floor0);
}

// The harness itself: a broken edit must be reported with its seed, step and name.
TEST(EditSequence, ReportsAnEditThatBreaksTheLevel) {
    CMorviDoc doc;
    testing::BuildTwoRooms(doc.level());
    EditSequence sequence(doc);
    sequence.AddOperation({"wallless", nullptr, [](CMapEngine& e, Rng&) {
                               auto& sectors = e.level().m_Lev.m_pSectors;
                               sectors.push_back(std::make_unique<CDataSector>());
                               sectors.back()->m_nIndex = static_cast<int>(sectors.size()) - 1;
                               EditResult r;
                               r.m_bChanged = true;
                               return r;
                           }});
    const SequenceOutcome outcome = sequence.Run(0x1234, 500);
    ASSERT_FALSE(outcome.ok());
    EXPECT_NE(outcome.m_strFailure.find("seed 0x1234, step "), std::string::npos) << outcome.m_strFailure;
    EXPECT_NE(outcome.m_strFailure.find("(wallless)"), std::string::npos) << outcome.m_strFailure;
    EXPECT_LT(outcome.m_nSteps, 500);
}

TEST(EditSequence, ReportsAnEditThatChangesTheLevelButSaysItDidNot) {
    CMorviDoc doc;
    testing::BuildRoom(doc.level());
    EditSequence sequence(doc);
    sequence.AddOperation({"silent", nullptr, [](CMapEngine& e, Rng&) {
                               e.level().m_Lev.m_dParallax1 += 1;
                               return EditResult::Refused("No.");
                           }});
    const SequenceOutcome outcome = sequence.Run(3, 500);
    ASSERT_FALSE(outcome.ok());
    EXPECT_NE(outcome.m_strFailure.find("(silent): reported no change (message \"No.\")"), std::string::npos)
        << outcome.m_strFailure;
}

} // namespace
} // namespace morvi
