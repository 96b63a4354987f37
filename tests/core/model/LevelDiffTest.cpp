#include "model/LevelDiff.h"

#include "gamefiles/LevelArchive.h"
#include "mapedit/StructuralEdits.h"
#include "model/ModelOps.h"
#include "model/SequenceAlign.h"
#include "model/StringUtil.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
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

TEST(SequenceAlign, OneInsertionOrDeletionIsOneUnpairedRecord) {
    using Keys = std::vector<std::uint64_t>;
    using Pairs = std::vector<AlignedPair>;
    const std::tuple<Keys, Keys, Pairs> cases[] = {
        {{1, 2, 3, 4}, {1, 3, 4}, {{0, 0}, {1, -1}, {2, 1}, {3, 2}}},
        {{1, 3}, {1, 2, 3}, {{0, 0}, {-1, 1}, {1, 2}}},
        // A changed record between two matches is paired; surplus records stay unpaired.
        {{1, 5, 3}, {1, 6, 7, 3}, {{0, 0}, {1, 1}, {-1, 2}, {2, 3}}},
        // A record moved to the front reads as removed and added.
        {{7, 8, 9}, {9, 7, 8}, {{-1, 0}, {0, 1}, {1, 2}, {2, -1}}},
    };
    for (const auto& [a, b, expected] : cases)
        EXPECT_EQ(AlignSequences(a, b), expected);
}

TEST(LevelDiff, SavesOfOneLevelMeanTheSameAndAnEditReadsAsThatEdit) {
    CDataLevel level;
    testing::BuildSyntheticLevel(level, testing::SyntheticLevelOptions::Small());
    CDataLevel first = Saved(level);
    // Another generator title changes the texts' header, not the level.
    EXPECT_EQ(Texts(DiffLevels(level, first)), Strings{});
    EXPECT_EQ(DiffLevels(first, Saved(first, "1.00")).Summary(), "no differences");
    // Values are compared as the texts carry them: hundredths, object names in any case.
    CDataLevel copy = Saved(first);
    copy.m_Lev.m_pSectors[0]->m_dFloorAltitude += 0.001;
    copy.m_Objects.m_pObjects[3]->m_strClass = ToLower(copy.m_Objects.m_pObjects[3]->m_strClass);
    EXPECT_TRUE(DiffLevels(first, copy).Same());

    // A moved vertex and a changed flags word read as exactly that.
    CDataLevel after = Saved(first);
    CDataVertex& v = *after.m_Lev.m_pSectors[7]->m_pVertices[2];
    const auto at = [&] {
        char buf[64];
        std::snprintf(buf, sizeof buf, "(%.2f, %.2f)", v.m_dX, v.m_dZ);
        return std::string(buf);
    };
    const std::string from = at();
    v.m_dX -= 8.0;
    after.m_Lev.m_pSectors[9]->m_nFlags3 ^= 8;
    const LevelDiff moved = DiffLevels(first, Saved(after));
    ASSERT_EQ(moved.m_Changes.size(), 2u) << ::testing::PrintToString(Texts(moved));
    EXPECT_EQ(moved.m_Changes[0].m_strText, "sector 7 vertex 2: position " + from + " -> " + at());
    EXPECT_EQ(std::tuple(moved.m_Changes[1].m_nA, moved.m_Changes[1].m_strField), std::tuple(9, "flags 3"));
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

    std::map<std::string, std::size_t> parts;
    for (const LevelChange& c : DiffLevels(before, after).m_Changes) {
        ++parts[c.m_strPart];
        EXPECT_TRUE(c.m_strPart != "sector" || c.m_nA == doomed) << c.m_strText;
        // Only links of walls change; the other side of each is the deleted sector or nothing.
        if (c.m_strPart == "wall") {
            EXPECT_TRUE((c.m_strField == "adjoin" || c.m_strField == "mirror" || c.m_strField == "walk") &&
                        c.m_strAfter == "-1")
                << c.m_strText;
        } else {
            EXPECT_EQ(c.m_Kind, LevelChange::Kind::Removed) << c.m_strText;
        }
    }
    const std::size_t sectorsGone = parts["sector"], objectsGone = parts["object"], links = parts["wall"];
    EXPECT_EQ(std::tuple(sectorsGone, objectsGone, parts.size() - parts.count("inf")),
              std::tuple(1u, objects, 3u));
    EXPECT_GT(links, 0u);
}

TEST(LevelDiff, MembersByNameAndBytes) {
    CDataLevel a = SavedSynthetic();
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
