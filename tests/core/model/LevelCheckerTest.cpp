#include "model/LevelChecker.h"

#include "model/CDataLevel.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <functional>

namespace morvi {
namespace {

using Strings = std::vector<std::string>;

// Each finding as "kind sector wall object: text".
Strings Findings(const CDataLevel& level) {
    static const char* const kinds[] = {"sector", "wall", "vertex", "object", "item", "level"};
    Strings texts;
    for (const auto& f : checkLevel(level))
        texts.push_back(std::string(kinds[static_cast<int>(f.m_Kind)]) + " " + std::to_string(f.m_nSector) +
                        " " + std::to_string(f.m_nWall) + " " + std::to_string(f.m_nObject) + ": " +
                        f.m_strText);
    return texts;
}

TEST(LevelChecker, FindsEveryBrokenInvariantWithTheItemToJumpTo) {
    const auto twoRooms = [](std::function<void(CDataLevel&)> edit) {
        return [edit](CDataLevel& level) {
            testing::BuildTwoRooms(level);
            edit(level);
        };
    };
    const std::pair<std::function<void(CDataLevel&)>, Strings> cases[] = {
        {testing::BuildRoomWithPillar, {}},
        // Both ends of a broken pair are reported.
        {twoRooms([](CDataLevel& level) { level.m_Lev.m_pSectors[1]->m_pWalls[3]->m_nMirror = 2; }),
         {"wall 0 1 -1: Sector 0 wall 1 mirrors Sector 1 wall 3, which points back at sector 0 wall 2",
          "wall 1 3 -1: Sector 1 wall 3 mirrors Sector 0 wall 2, which points back at sector -1 wall -1"}},
        {twoRooms([](CDataLevel& level) {
             CDataSector& s0 = *level.m_Lev.m_pSectors[0];
             s0.m_pWalls[0]->m_nAdjoin = 5;        // not a sector
             s0.m_pWalls[2]->m_nLeft = 9;          // not a vertex
             s0.m_pWalls[2]->m_Mid.m_nTexture = 3; // one past the table
             s0.m_pWalls[3]->m_nRight = 2;         // the loop no longer closes
             level.m_Lev.m_pSectors[1]->m_nIndex = 7;
         }),
         {"wall 0 0 -1: Sector 0 wall 0: adjoin 5 is not a sector",
          "wall 0 2 -1: Sector 0 wall 2: vertex 9 is outside the sector's 4 vertices",
          "wall 0 2 -1: Sector 0 wall 2: mid texture 3 is outside the texture table (3 entries)",
          "sector 0 0 -1: Sector 0: the walls from wall 0 on do not close a loop",
          "sector 1 -1 -1: Sector 1 has index 7"}},
        {[](CDataLevel& level) {
             testing::BuildRoom(level);
             auto& walls = level.m_Lev.m_pSectors[0]->m_pWalls;
             walls.resize(2);
             walls[1]->m_nRight = 0;
             auto object = std::make_unique<CDataObjectItem>();
             object->m_strClass = "FRAME";
             object->m_nData = 3;
             level.m_Objects.m_pObjects.push_back(std::move(object));
         },
         {"sector 0 -1 -1: Sector 0 has 2 walls (at least 3 needed)",
          "object -1 -1 0: Object 0 (FRAME STORMFIN.WAX): data index 3 is outside its name table (0 "
          "entries)",
          // A sector whose records do not hold together holds no object either.
          "object -1 -1 0: Object 0 (FRAME STORMFIN.WAX) at (0.00, 0.00) lies in no sector"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CDataLevel level;
        cases[i].first(level);
        EXPECT_EQ(Findings(level), cases[i].second) << "case " << i;
    }
}

// Geometry on small built levels: each case breaks one thing once, and each finding is
// reported with its problem, its severity and the item to focus.
TEST(LevelChecker, FindsWhatTheGameCannotTakeOnceEach) {
    using P = LevelFinding::Problem;
    using Edit = std::function<void(CDataLevel&)>;
    const auto vertex = [](CDataLevel& level, int s, int v) -> CDataVertex& {
        return *level.m_Lev.m_pSectors[static_cast<std::size_t>(s)]->m_pVertices[static_cast<std::size_t>(v)];
    };
    const auto addSquare = [](CDataLevel& level, double x0, double z0, double x1, double z1) {
        auto& sectors = level.m_Lev.m_pSectors;
        sectors.push_back(
            testing::MakeSquareSector(level.m_Lev, static_cast<int>(sectors.size()), x0, z0, x1, z1));
    };
    struct Case {
        void (*build)(CDataLevel&);
        Edit edit;
        P problem;
        std::string finding; // "kind sector wall object: text", then "error" or "warning"
    };
    const Case cases[] = {
        {testing::BuildRoom, [&](CDataLevel& l) { vertex(l, 0, 1).m_dX = 40000; }, P::IllegalVertex,
         "vertex 0 -1 -1: Sector 0 vertex 1 lies at (40000.00, 0.00), beyond the game's map of -32767 to "
         "32767 "
         "error"},
        {testing::BuildRoom, [&](CDataLevel& l) { vertex(l, 0, 2) = vertex(l, 0, 1); }, P::ZeroLengthWall,
         "wall 0 1 -1: Sector 0 wall 1 has no length: vertex 1 and vertex 2 lie on one point error"},
        {testing::BuildRoom,
         [&](CDataLevel& l) {
             l.m_Lev.m_pSectors[0]->m_pVertices.push_back(std::make_unique<CDataVertex>(vertex(l, 0, 0)));
         },
         P::OverlappingVertices, "vertex 0 -1 -1: Sector 0: vertex 0 and vertex 4 lie on one point warning"},
        {testing::BuildRoom, [&](CDataLevel& l) { std::swap(vertex(l, 0, 1), vertex(l, 0, 2)); },
         P::CrossingWalls, "wall 0 0 -1: Sector 0 wall 0 crosses wall 2 error"},
        {testing::BuildTwoRooms, [&](CDataLevel& l) { vertex(l, 1, 0).m_dZ = -8; }, P::MirrorMismatch,
         "wall 0 1 -1: Sector 0 wall 1 and its mirror, sector 1 wall 3, do not share their end points error"},
        // Overlap by crossing walls, and by one sector lying wholly inside another; not on other layers.
        {testing::BuildRoom, [&](CDataLevel& l) { addSquare(l, 32, 32, 96, 96); }, P::OverlappingSectors,
         "sector 1 -1 -1: Sector 1 overlaps sector 0 on layer 0 warning"},
        {testing::BuildRoom, [&](CDataLevel& l) { addSquare(l, 16, 16, 32, 32); }, P::OverlappingSectors,
         "sector 1 -1 -1: Sector 1 overlaps sector 0 on layer 0 warning"},
        {testing::BuildRoom,
         [&](CDataLevel& l) {
             addSquare(l, 16, 16, 32, 32);
             l.m_Lev.m_pSectors[1]->m_nLayer = 1;
             auto object = std::make_unique<CDataObjectItem>();
             object->m_strClass = "SPIRIT";
             object->m_strData = "SPIRIT";
             object->m_dX = 100;
             object->m_dZ = 20;
             l.m_Objects.m_pObjects.push_back(std::move(object));
         },
         P::ObjectOutside,
         "object -1 -1 0: Object 0 (SPIRIT SPIRIT) at (100.00, 20.00) lies in no sector warning"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CDataLevel level;
        cases[i].build(level);
        cases[i].edit(level);
        Strings found = Findings(level);
        const auto findings = checkLevel(level);
        for (std::size_t k = 0; k < findings.size(); ++k) {
            EXPECT_EQ(findings[k].m_Problem, cases[i].problem) << "case " << i << ": " << found[k];
            found[k] += findings[k].m_Severity == LevelFinding::Severity::Error ? " error" : " warning";
        }
        EXPECT_EQ(found, Strings{cases[i].finding}) << "case " << i;
    }
}

} // namespace
} // namespace morvi
