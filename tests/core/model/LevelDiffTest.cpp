#include "model/LevelDiff.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevelArchive.h"
#include "mapedit/StructuralEdits.h"
#include "model/ModelOps.h"
#include "model/SequenceAlign.h"
#include "model/StringUtil.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace morvi {
namespace {

using Strings = std::vector<std::string>;

// The level as a user's file holds it: saved as an archive and loaded back.
CDataLevel Saved(CDataLevel& level, std::string_view title = kGeneratorTitle) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(WriteLevelBytes(level, bytes, title));
    CDataLevel loaded;
    EXPECT_TRUE(LoadLevelBytes(loaded, bytes, "level.gob", nullptr));
    return loaded;
}

CDataLevel SavedSynthetic() {
    CDataLevel level;
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
    return Saved(level);
}

Strings Texts(const LevelDiff& diff) {
    Strings texts;
    for (const LevelChange& c : diff.m_Changes)
        texts.push_back(c.m_strText);
    return texts;
}

std::string Hundredths(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", x);
    return buf;
}

TEST(SequenceAlign, OneInsertionOrDeletionIsOneUnpairedRecord) {
    using Keys = std::vector<std::uint64_t>;
    using Pairs = std::vector<AlignedPair>;
    struct Case {
        Keys a, b;
        Pairs expected;
    };
    const Case cases[] = {
        {{}, {}, {}},
        {{1, 2, 3}, {1, 2, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{1, 2, 3, 4}, {1, 3, 4}, {{0, 0}, {1, -1}, {2, 1}, {3, 2}}},
        {{1, 3}, {1, 2, 3}, {{0, 0}, {-1, 1}, {1, 2}}},
        // A changed record between two matches is paired; surplus records stay unpaired.
        {{1, 5, 3}, {1, 6, 7, 3}, {{0, 0}, {1, 1}, {-1, 2}, {2, 3}}},
        {{5, 6}, {}, {{0, -1}, {1, -1}}},
        // A record moved to the front reads as removed and added.
        {{7, 8, 9}, {9, 7, 8}, {{-1, 0}, {0, 1}, {1, 2}, {2, -1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AlignSequences(c.a, c.b), c.expected);

    // sameRecord pairs across a gap before the rest goes by position.
    const Keys a{1, 10, 11, 2}, b{1, 20, 21, 2};
    EXPECT_EQ(AlignSequences(a, b, [](int i, int j) { return i == 1 && j == 2; }),
              (Pairs{{0, 0}, {1, 2}, {2, 1}, {3, 3}}));

    // Lists that differ almost everywhere still give a complete pairing.
    Keys many(6000), other(6000);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = i, other[i] = i % 2 ? i : i + 100000;
    const Pairs pairs = AlignSequences(many, other);
    std::size_t pairedA = 0, pairedB = 0;
    for (const AlignedPair& p : pairs)
        pairedA += p.m_nA >= 0, pairedB += p.m_nB >= 0;
    EXPECT_EQ(std::tuple(pairedA, pairedB), std::tuple(many.size(), other.size()));
}

TEST(LevelDiff, SavesOfOneLevelMeanTheSame) {
    CDataLevel level;
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
    CDataLevel first = Saved(level);
    // Another generator title changes the texts' header, not the level.
    const CDataLevel second = Saved(first, "1.00");
    EXPECT_EQ(Texts(DiffLevels(level, first)), Strings{});
    EXPECT_EQ(Texts(DiffLevels(first, second)), Strings{});
    EXPECT_EQ(DiffLevels(first, second).Summary(), "no differences");

    // Values are compared as the texts carry them: hundredths, object names in any case.
    CDataLevel copy = Saved(first);
    copy.m_Lev.m_pSectors[0]->m_dFloorAltitude += 0.001;
    copy.m_Objects.m_pObjects[3]->m_strClass = ToLower(copy.m_Objects.m_pObjects[3]->m_strClass);
    EXPECT_TRUE(DiffLevels(first, copy).Same());
}

// Each edit reads as exactly that edit, whatever index shifts it caused.
TEST(LevelDiff, OneEditReadsAsThatEdit) {
    const CDataLevel before = SavedSynthetic();

    // A vertex moved.
    CDataLevel after = SavedSynthetic();
    CDataVertex& v = *after.m_Lev.m_pSectors[7]->m_pVertices[2];
    const std::string from = "(" + Hundredths(v.m_dX) + ", " + Hundredths(v.m_dZ) + ")";
    v.m_dX -= 8.0;
    const std::string to = "(" + Hundredths(v.m_dX) + ", " + Hundredths(v.m_dZ) + ")";
    EXPECT_EQ(Texts(DiffLevels(before, Saved(after))),
              Strings{"sector 7 vertex 2: position " + from + " -> " + to});

    // An object's logic changed.
    after = SavedSynthetic();
    int object = 0;
    while (after.m_Objects.m_pObjects[static_cast<std::size_t>(object)]->m_pSeqs.empty())
        ++object;
    CDataObjectSeq& seq = *after.m_Objects.m_pObjects[static_cast<std::size_t>(object)]->m_pSeqs[0];
    const std::string old = seq.m_strKey + ": " + seq.m_strValue;
    seq.m_strValue = "ITEM ENERGY";
    const std::string o = "object " + std::to_string(object) + ": SEQ ";
    EXPECT_EQ(Texts(DiffLevels(before, Saved(after))),
              (Strings{o + "lost " + old, o + "gained " + seq.m_strKey + ": ITEM ENERGY"}));

    // A sector referenced by INF renamed: the sector, and only the INF items and lines that
    // named it, change.
    after = SavedSynthetic();
    std::size_t named = 0;
    while (after.m_Lev.m_pSectors[named]->m_strName.empty())
        ++named;
    CDataSector& door = *after.m_Lev.m_pSectors[named];
    const std::string oldName = door.m_strName;
    door.m_strName = "renamed";
    RenameSector(after.m_Inf, oldName, "renamed");
    const LevelDiff renamed = DiffLevels(before, Saved(after));
    ASSERT_FALSE(renamed.Same());
    EXPECT_EQ(renamed.m_Changes[0].m_strText,
              "sector " + std::to_string(named) + " " + oldName + ": name " + oldName + " -> renamed");
    std::size_t infChanges = 0;
    for (std::size_t i = 1; i < renamed.m_Changes.size(); ++i) {
        const LevelChange& c = renamed.m_Changes[i];
        EXPECT_EQ(std::tuple(c.m_strPart, c.m_Kind), std::tuple("inf", LevelChange::Kind::Changed))
            << c.m_strText;
        EXPECT_TRUE(c.m_strBefore.find(oldName) != std::string::npos ||
                    c.m_strAfter.find("renamed") != std::string::npos)
            << c.m_strText;
        ++infChanges;
    }
    EXPECT_GT(infChanges, 0u);
}

// A deleted sector is one removal: the sectors after it are not shifted in the report, only the
// neighbours that lost their links to it change, with its objects and INF items.
TEST(LevelDiff, DeletedSectorIsOneRemoval) {
    const CDataLevel before = SavedSynthetic();
    CDataLevel after = SavedSynthetic();
    // A plain room from the middle: neither an island nor holding one, whose removal would change
    // walls of another sector beyond their links.
    const auto& sectors = after.m_Lev.m_pSectors;
    const auto plain = [&](int s) {
        std::vector<int> starts;
        BuildLoopStarts(*sectors[static_cast<std::size_t>(s)], starts);
        for (const auto& other : sectors)
            for (int island : GetEnclosedSectors(*other))
                if (island == s) return false;
        return starts.size() == 2;
    };
    int doomed = static_cast<int>(sectors.size() / 2);
    while (!plain(doomed))
        ++doomed;
    std::size_t objects = 0;
    for (const auto& o : after.m_Objects.m_pObjects)
        objects += o->m_nSector == doomed;
    ASSERT_TRUE(DeleteSector(after, doomed).m_bChanged);
    after = Saved(after);

    for (const bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "before -> after" : "after -> before");
        const LevelDiff diff = forward ? DiffLevels(before, after) : DiffLevels(after, before);
        const auto gone = forward ? LevelChange::Kind::Removed : LevelChange::Kind::Added;
        std::size_t removedSectors = 0, objectsGone = 0, links = 0;
        for (const LevelChange& c : diff.m_Changes) {
            if (c.m_strPart == "sector") {
                EXPECT_EQ(c.m_Kind, gone) << c.m_strText;
                EXPECT_EQ(forward ? c.m_nA : c.m_nB, doomed);
                ++removedSectors;
            } else if (c.m_strPart == "object") {
                EXPECT_EQ(c.m_Kind, gone) << c.m_strText;
                ++objectsGone;
            } else if (c.m_strPart == "wall") {
                // Only links change; the other side of each is the deleted sector or nothing.
                EXPECT_TRUE(c.m_strField == "adjoin" || c.m_strField == "mirror" || c.m_strField == "walk")
                    << c.m_strText;
                EXPECT_EQ(forward ? c.m_strAfter : c.m_strBefore, "-1") << c.m_strText;
                ++links;
            } else {
                EXPECT_EQ(std::tuple(c.m_strPart, c.m_Kind), std::tuple("inf", gone)) << c.m_strText;
            }
        }
        EXPECT_EQ(removedSectors, 1u);
        EXPECT_EQ(objectsGone, objects);
        EXPECT_GT(links, 0u);
    }
}

TEST(LevelDiff, MembersByNameAndBytes) {
    CDataLevel a;
    testing::BuildSyntheticLevel(a, testing::SyntheticLevelOptions::Small());
    a = Saved(a);
    CDataLevel b = Saved(a);
    const std::uint8_t one[] = {1}, two[] = {1, 2};
    ASSERT_TRUE(a.AddMember("OLD.BM", one));
    ASSERT_TRUE(a.AddMember("SKY.BM", one));
    ASSERT_TRUE(b.AddMember("sky.bm", two));
    ASSERT_TRUE(b.AddMember("NEW.VOC", one));
    EXPECT_EQ(Texts(DiffLevels(a, b)),
              (Strings{"member OLD.BM removed: 1 bytes", "member SKY.BM: contents 1 bytes -> 2 bytes",
                       "member NEW.VOC added: 1 bytes"}));
    EXPECT_EQ(DiffLevels(a, b).Summary(), "3 differences: 1 added, 1 removed, 1 changed");
}

} // namespace
} // namespace morvi
