#include "mapedit/StructuralEdits.h"

#include "mapedit/Generators.h"
#include "mapedit/TransformTools.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::BuildRoom;
using testing::BuildTwoRooms;
using testing::FindingsText;
using testing::MakeSquareSector;
using testing::Points;
using testing::Sector;
using testing::Vertex;
using testing::Wall;

// The engine over the two adjoined rooms unless a test asks for another level.
struct View : testing::EngineView {
    explicit View(int mode, void (*build)(CDataLevel&) = BuildTwoRooms) : EngineView(mode, build) {}
};

// The points the walls of a sector run through, in wall order (each wall's left end).
Points Outline(const CDataSector& s) {
    Points points;
    for (const auto& w : s.m_pWalls) {
        const CDataVertex& v = *s.m_pVertices[static_cast<std::size_t>(w->m_nLeft)];
        points.emplace_back(v.m_dX, v.m_dZ);
    }
    return points;
}

// Every adjoined pair runs over the same two points in opposite directions.
void ExpectMirrorsOpposite(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        for (const auto& w : sectors[s]->m_pWalls) {
            if (w->m_nAdjoin < 0) continue;
            const CDataSector& o = *sectors[static_cast<std::size_t>(w->m_nAdjoin)];
            const CDataWall& m = *o.m_pWalls[static_cast<std::size_t>(w->m_nMirror)];
            const CDataVertex& a = *sectors[s]->m_pVertices[static_cast<std::size_t>(w->m_nLeft)];
            const CDataVertex& b = *o.m_pVertices[static_cast<std::size_t>(m.m_nRight)];
            EXPECT_EQ(std::pair(a.m_dX, a.m_dZ), std::pair(b.m_dX, b.m_dZ))
                << "sector " << s << " wall " << w->m_nIndex;
        }
}

TEST(StructuralEditsSplit, SolidWallGetsAMidpointInHundredthsAndWallIStillStartsAtVertexI) {
    View v(kModeWall, BuildRoom);
    v.vertex(0, 1).m_dX = 64.03;
    EXPECT_TRUE(SplitWall(v.level(), 0, 0).m_bChanged);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {32.02, 0}, {64.03, 0}, {64, 64}, {0, 64}}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::pair(v.wall(0, i).m_nLeft, v.wall(0, i).m_nRight), std::pair(i, (i + 1) % 5));
}

TEST(StructuralEditsSplit, AdjoinedWallsKeepTheirPartners) {
    View v(kModeWall);
    SplitWall(v.level(), 0, 1); // the adjoined wall: two mirror pairs over the midpoint
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {64, 32}, {64, 64}, {0, 64}}));
    EXPECT_EQ(Outline(v.sector(1)), (Points{{64, 0}, {128, 0}, {128, 64}, {64, 64}, {64, 32}}));
    EXPECT_EQ(std::tuple(v.wall(0, 1).m_nMirror, v.wall(0, 2).m_nMirror, v.wall(1, 3).m_nMirror,
                         v.wall(1, 4).m_nMirror),
              std::tuple(4, 3, 2, 1));
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
    // A wall before an adjoined one: the partner follows it to its new number.
    View w(kModeWall);
    SplitWall(w.level(), 0, 0);
    EXPECT_EQ(w.wall(1, 3).m_nMirror, 2);
    ExpectMirrorsOpposite(w.level());
}

// Two adjoined rooms, each named, with line items on walls after those the tests split.
void BuildNamedRooms(CDataLevel& level) {
    BuildTwoRooms(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door";
    level.m_Lev.m_pSectors[1]->m_strName = "hall";
    AddItem(level.m_Inf, "line", "door", 3, {"class:\ttrigger", "message:\tdoor(2) m_trigger"});
    AddItem(level.m_Inf, "line", "hall", 3, {"class:\ttrigger"});
}

// Deleting the half that a split added to a solid wall gives the level back: the partners and
// mirrors of the later walls and the INF wall numbers follow both ways.
TEST(StructuralEditsDelete, SplitThenDeleteRestoresTheLevel) {
    for (const auto& [s, w] : {std::pair{0, 0}, {1, 2}}) {
        View v(kModeWall, BuildNamedRooms);
        CDataLevel original;
        BuildNamedRooms(original);
        SplitWall(v.level(), s, w);
        ASSERT_TRUE(DeleteWall(v.level(), s, w + 1).m_bChanged);
        EXPECT_EQ(FindingsText(v.level()), "") << s << " " << w;
        EXPECT_EQ(testing::CountDifferences(v.level(), original), 0) << s << " " << w;
    }
}

TEST(StructuralEditsDelete, TriangleRefusesWallAndVertexDeletion) {
    View v(kModeWall, BuildRoom);
    ASSERT_TRUE(DeleteWall(v.level(), 0, 3).m_bChanged);
    const Points triangle = Outline(v.sector(0));
    v.Select({Wall(0, 1)});
    EXPECT_EQ(DeleteSelection(v.engine).m_strMessage, kWallDeletionRefused);
    v.doc.m_nMode = kModeVertex;
    v.Select({Vertex(0, 0)});
    EXPECT_EQ(DeleteSelection(v.engine).m_strMessage, kVertexDeletionRefused);
    EXPECT_EQ(Outline(v.sector(0)), triangle);
}

TEST(StructuralEditsDelete, AdjoinedWallTakesTheSameCornerFromItsPartner) {
    View v(kModeWall);
    SplitWall(v.level(), 1, 0); // sector 1 gets five walls; its wall 4 mirrors sector 0 wall 1
    v.sector(1).m_strName = "hall";
    AddItem(v.level().m_Inf, "line", "hall", 4, {"class:\ttrigger"});
    v.Select({Wall(0, 1)});
    EXPECT_TRUE(DeleteSelection(v.engine).m_bInfChanged); // the partner's line item goes with it
    EXPECT_TRUE(v.level().m_Inf.m_pItems.empty());
    // Both sides lose the corner at (64, 0), and the pair is solid now.
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 64}, {0, 64}}));
    EXPECT_EQ(Outline(v.sector(1)), (Points{{64, 64}, {96, 0}, {128, 0}, {128, 64}}));
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, BothWallsOfAPairSelectedDeleteThePairOnce) {
    View v(kModeWall);
    SplitWall(v.level(), 0, 0);
    SplitWall(v.level(), 1, 0);
    // Sector 1 wall 4 goes first and takes sector 0 wall 2 along; that entry must not delete again.
    v.Select({Wall(0, 2), Wall(1, 4)});
    EXPECT_EQ(DeleteSelection(v.engine).m_strMessage, "");
    EXPECT_EQ(std::pair(v.sector(0).m_pWalls.size(), v.sector(1).m_pWalls.size()),
              std::pair(std::size_t{4}, std::size_t{4}));
    EXPECT_EQ(FindingsText(v.level()), "");
}

// A deletion whose moved wall would part from its partner or cross a wall is refused whole; once the
// pair is unlinked the same deletion leaves a sound level.
TEST(StructuralEditsDelete, RefusedWhenAMovedWallWouldPartOrCross) {
    // Sector 0's wall 2 starts at (64,64): without that corner its wall 1 would run (64,0)->(0,64),
    // away from sector 1's wall 3.
    for (const auto& [mode, item, refusal] : {std::tuple(kModeWall, Wall(0, 2), kWallDeletionParts),
                                              std::tuple(kModeVertex, Vertex(0, 2), kVertexDeletionParts)}) {
        View v(mode);
        v.Select({item});
        EXPECT_EQ(DeleteSelection(v.engine).m_strMessage, refusal);
        EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {64, 64}, {0, 64}}));
        v.doc.m_nMode = kModeWall;
        v.Select({Wall(0, 1)});
        ASSERT_TRUE(UnlinkSelection(v.engine).m_bChanged);
        EXPECT_TRUE(DeleteWall(v.level(), 0, 2).m_bChanged);
        EXPECT_EQ(FindingsText(v.level()), "");
    }
    // A spike rises from the bottom into the triangle (0,0) (10,20) (20,0): without the top corner
    // the bottom wall would cross it.
    View spike(kModeVertex, [](CDataLevel& level) {
        auto s = NewGeneratedSector(level.m_Lev, 0, 0);
        AppendLoop(level.m_Lev, *s,
                   std::vector<CDataVertex>{
                       {0, 0}, {10, 20}, {20, 0}, {20, -10}, {12, -10}, {10, 5}, {8, -10}, {0, -10}});
        level.m_Lev.m_pSectors.push_back(std::move(s));
    });
    spike.Select({Vertex(0, 1)});
    EXPECT_EQ(DeleteSelection(spike.engine).m_strMessage, kVertexDeletionCrosses);
    EXPECT_EQ(spike.sector(0).m_pWalls.size(), 8u);
}

// Six rooms in a row, each adjoined to the next: sector i wall 1 mirrors sector i+1 wall 3.
void BuildSixRooms(CDataLevel& level) {
    auto& sectors = level.m_Lev.m_pSectors;
    for (int i = 0; i < 6; ++i)
        sectors.push_back(MakeSquareSector(level.m_Lev, i, 64 * i, 0, 64 * (i + 1), 64));
    for (std::size_t i = 0; i + 1 < 6; ++i) {
        CDataWall& a = *sectors[i]->m_pWalls[1];
        CDataWall& b = *sectors[i + 1]->m_pWalls[3];
        a.m_nAdjoin = a.m_nWalk = static_cast<int>(i) + 1;
        a.m_nMirror = 3;
        b.m_nAdjoin = b.m_nWalk = static_cast<int>(i);
        b.m_nMirror = 1;
    }
}

TEST(StructuralEditsDeleteSector, LaterSectorsAndTheirReferencesShiftDown) {
    View v(kModeSector, BuildSixRooms);
    v.wall(4, 1).m_nWalk = 0; // the walk follows the adjoin whatever it was
    v.sector(5).m_strName = "end";
    v.sector(3).m_strName = "gone";
    AddItem(v.level().m_Inf, "sector", "GONE", -1, {"class:\televator basic"});
    AddItem(v.level().m_Inf, "line", "end", 3, {"class:\ttrigger", "message:\tend(3) m_trigger"});
    testing::AddObject(v.level(), 0, 0, 3);
    testing::AddObject(v.level(), 0, 0, 5);
    v.Select({Sector(3)});
    EXPECT_TRUE(DeleteSelection(v.engine).m_bInfChanged); // the deleted sector's item and object go
    ASSERT_EQ(std::tuple(v.level().m_Lev.m_pSectors.size(), v.level().m_Inf.m_pItems.size(),
                         v.level().m_Objects.m_pObjects.size()),
              std::tuple(5u, 1u, 1u));
    EXPECT_EQ(std::tie(v.wall(3, 1).m_nAdjoin, v.wall(3, 1).m_nWalk, v.wall(3, 1).m_nMirror),
              std::tuple(4, 4, 3));
    EXPECT_EQ(std::tie(v.wall(4, 3).m_nAdjoin, v.wall(4, 3).m_nWalk), std::tuple(3, 3));
    EXPECT_EQ(std::tie(v.wall(1, 1).m_nAdjoin, v.wall(2, 1).m_nAdjoin, v.wall(3, 3).m_nAdjoin),
              std::tuple(2, -1, -1));
    EXPECT_EQ(std::tie(v.level().m_Objects.m_pObjects[0]->m_nSector, v.level().m_Inf.m_pItems[0]->m_nNum,
                       v.level().m_Inf.m_pItems[0]->m_Lines[1]),
              std::tuple(4, 3, "message:\tend(3) m_trigger"));
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsLink, UnlinkFreesBothSidesAndLinkFindsTheExactOppositeWall) {
    View v(kModeWall);
    v.Select({Wall(0, 1)});
    EXPECT_TRUE(UnlinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(std::tie(v.wall(0, 1).m_nAdjoin, v.wall(0, 1).m_nWalk, v.wall(1, 3).m_nMirror),
              std::tuple(-1, -1, -1));
    v.vertex(1, 0).m_dX = 64.001; // a thousandth apart is no partner
    EXPECT_FALSE(LinkSelection(v.engine).m_bChanged);
    v.vertex(1, 0).m_dX = 64;
    v.Select({Wall(1, 3)});
    EXPECT_TRUE(LinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(std::tie(v.wall(1, 3).m_nAdjoin, v.wall(1, 3).m_nWalk, v.wall(1, 3).m_nMirror,
                       v.wall(0, 1).m_nMirror),
              std::tuple(0, 0, 1, 3));
}

// A clockwise room, as the game's sectors run: (64,0) (0,0) (0,64) (64,64).
void BuildClockwiseRoom(CDataLevel& level) {
    level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 0, 64, 0, 0, 64));
}

TEST(StructuralEditsExtrude, BuildsALinkedQuadOutwardOnTheSameLayer) {
    View v(kModeWall, BuildClockwiseRoom);
    v.doc.m_bGridOn = 0;
    v.sector(0).m_nLayer = 2;
    v.Select({Wall(0, 2)});
    EXPECT_TRUE(ExtrudeSelection(v.engine).m_bChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
    EXPECT_EQ(Outline(v.sector(1)), (Points{{0, 64}, {0, 72}, {64, 72}, {64, 64}}));
    EXPECT_EQ(v.sector(1).m_nLayer, 2);
    EXPECT_EQ(std::tie(v.wall(1, 3).m_nAdjoin, v.wall(1, 3).m_nMirror), std::tuple(0, 2));
    EXPECT_EQ(std::tie(v.wall(0, 2).m_nAdjoin, v.wall(0, 2).m_nWalk, v.wall(0, 2).m_nMirror),
              std::tuple(1, 1, 3));
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{Wall(1, 3)}));
    EXPECT_EQ(FindingsText(v.level()), "");
    // The wall is linked now: a second extrusion is refused.
    EXPECT_EQ(ExtrudeSelection(v.engine).m_strMessage,
              "Extruding of wall not possible since\nthe wall is linked to another wall.");
}

// Far corners that the grid puts back on the wall, or a depth that turns the sector inside out, make
// no sector.
TEST(StructuralEditsExtrude, RefusedWhenTheFarCornersCollapse) {
    for (const auto& [depth, grid, message] :
         {std::tuple(4.0, 4, kExtrudeTooShallowForGrid), std::tuple(8.0, 3, kExtrudeTooShallowForGrid),
          std::tuple(0.004, -1, kExtrudeTooShallow), std::tuple(-8.0, -1, kExtrudeTooShallow),
          std::tuple(12.0, 4, "")}) {
        View v(kModeWall, BuildClockwiseRoom);
        v.doc.m_bGridOn = grid >= 0 ? 1 : 0;
        v.doc.m_nGridLevel = std::max(grid, 0);
        v.Select({Wall(0, 2)});
        const EditResult r = ExtrudeSelection(v.engine, depth);
        EXPECT_EQ(std::tuple(r.m_strMessage, r.m_bChanged, v.level().m_Lev.m_pSectors.size()),
                  std::tuple(std::string(message), *message == 0, *message == 0 ? 2u : 1u))
            << depth;
        EXPECT_EQ(FindingsText(v.level()), "");
    }
}

// A wall read from a damaged file names a vertex its sector lacks: every edit that would touch
// that sector, directly or through an adjoin, refuses by name and changes nothing; objects can
// still be edited.
TEST(DamagedLevel, EditsRefuseToTouchADamagedSector) {
    using C = const EditContext&;
    const std::pair<CMapSelItem, EditResult (*)(C)> cases[] = {
        {Vertex(1, 0), InsertAtSelection},
        {Sector(1), DeleteSelection},
        {Wall(0, 1), UnlinkSelection},
        {Wall(0, 2), [](C c) { return ExtrudeSelection(c, 8.0); }},
        {Sector(0), [](C c) { return RotateSectors(c, 90.0); }},
        {Sector(0), [](C c) { return ChangeOffsets(c, 8.0, 0.0, 8.0); }},
        {Sector(1),
         [](C c) {
             return InsertPolygon(c, {4, 4.0, PolygonKind::Subsector, false});
         }},
    };
    for (const auto& [item, edit] : cases) {
        const int mode = item.m_nWall >= 0 ? kModeWall : item.m_nVertex >= 0 ? kModeVertex : kModeSector;
        View v(mode);
        v.wall(1, 2).m_nRight = 999;
        CDataLevel before;
        BuildTwoRooms(before);
        before.m_Lev.m_pSectors[1]->m_pWalls[2]->m_nRight = 999;
        v.Select({item});
        const EditResult r = edit(v.engine);
        EXPECT_EQ(r.m_strMessage,
                  "Sector 1 wall 2 uses vertex 999, which the sector does not have; repair the level first.");
        EXPECT_FALSE(r.m_bChanged);
        EXPECT_EQ(testing::CountDifferences(v.level(), before), 0);
    }
    View objects(kModeObject);
    objects.wall(1, 2).m_nRight = 999;
    EXPECT_TRUE(InsertAtSelection(objects.engine).m_bChanged);
    // The damage may lie two adjoins away: an edit reads the neighbours' neighbours too.
    View chain(kModeSector, BuildSixRooms);
    chain.wall(2, 0).m_nRight = 999;
    chain.Select({Sector(0)});
    EXPECT_EQ(RotateSectors(chain.engine, 90).m_strMessage,
              "Sector 2 wall 0 uses vertex 999, which the sector does not have; repair the level first.");
    EXPECT_EQ(chain.vertex(0, 1).m_dX, 64);
}

} // namespace
} // namespace morvi
