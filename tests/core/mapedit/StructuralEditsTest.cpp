#include "mapedit/StructuralEdits.h"

#include "mapedit/ClipboardLibrary.h"
#include "mapedit/Generators.h"
#include "mapedit/TransformTools.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::BuildRoom;
using testing::BuildRoomWithPillar;
using testing::BuildTwoRooms;
using testing::FindingsText;
using testing::MakeSquareSector;

using Points = std::vector<std::pair<double, double>>;

// The engine over the two adjoined rooms unless a test asks for another level.
struct View : testing::EngineView {
    explicit View(int mode, void (*build)(CDataLevel&) = BuildTwoRooms) : EngineView(mode, build) {}
};

CMapSelItem Sector(int s) {
    return {s, -1, -1, -1};
}
CMapSelItem Wall(int s, int w) {
    return {s, w, -1, -1};
}
CMapSelItem Vertex(int s, int v) {
    return {s, -1, v, -1};
}

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
            EXPECT_EQ(a.m_dX, b.m_dX) << "sector " << s << " wall " << w->m_nIndex;
            EXPECT_EQ(a.m_dZ, b.m_dZ) << "sector " << s << " wall " << w->m_nIndex;
        }
}

CDataObjectItem& AddObject(CDataLevel& level, int sector) {
    auto& objects = level.m_Objects.m_pObjects;
    objects.push_back(std::make_unique<CDataObjectItem>());
    objects.back()->m_nSector = sector;
    objects.back()->m_strClass = "SAFE";
    objects.back()->m_strData = "safe";
    objects.back()->m_nIndex = static_cast<int>(objects.size()) - 1;
    return *objects.back();
}

// ---- Split ------------------------------------------------------------------------------------------

TEST(StructuralEditsSplit, SolidWallGetsMidpointAndKeepsWallIStartingAtVertexI) {
    View v(kModeWall, BuildRoom);
    v.wall(0, 0).m_nLight = 7;
    const EditResult r = SplitWall(v.level(), 0, 0);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {32, 0}, {64, 0}, {64, 64}, {0, 64}}));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(v.wall(0, i).m_nLeft, i);
        EXPECT_EQ(v.wall(0, i).m_nRight, (i + 1) % 5);
    }
    EXPECT_EQ(v.wall(0, 1).m_nLight, 7);
    EXPECT_EQ(v.wall(0, 1).m_Mid.m_nTexture, v.wall(0, 0).m_Mid.m_nTexture);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsSplit, MidpointIsRoundedToHundredths) {
    View v(kModeWall, BuildRoom);
    v.sector(0).m_pVertices[1]->m_dX = 64.03;
    SplitWall(v.level(), 0, 0);
    EXPECT_DOUBLE_EQ(v.sector(0).m_pVertices[1]->m_dX, 32.02);
}

TEST(StructuralEditsSplit, AdjoinedWallGivesTwoMirrorPairsOverTheMidpoint) {
    View v(kModeWall);
    SplitWall(v.level(), 0, 1);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {64, 32}, {64, 64}, {0, 64}}));
    EXPECT_EQ(Outline(v.sector(1)), (Points{{64, 0}, {128, 0}, {128, 64}, {64, 64}, {64, 32}}));
    EXPECT_EQ(v.wall(0, 1).m_nMirror, 4);
    EXPECT_EQ(v.wall(0, 2).m_nMirror, 3);
    EXPECT_EQ(v.wall(1, 3).m_nMirror, 2);
    EXPECT_EQ(v.wall(1, 4).m_nMirror, 1);
    EXPECT_EQ(v.wall(1, 4).m_nAdjoin, 0);
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsSplit, WallsAfterTheSplitKeepTheirPartnersPointingAtThem) {
    View v(kModeWall);
    SplitWall(v.level(), 0, 0);
    EXPECT_EQ(v.wall(0, 2).m_nAdjoin, 1);
    EXPECT_EQ(v.wall(1, 3).m_nMirror, 2);
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsSplit, RenumbersInfWallsOfBothNamedSides) {
    View v(kModeWall);
    v.sector(0).m_strName = "door";
    v.sector(1).m_strName = "hall";
    AddItem(v.level().m_Inf, "line", "door", 3, {"class:\ttrigger"});
    AddItem(v.level().m_Inf, "line", "door", 1, {"class:\ttrigger", "message:\tdoor(2) m_trigger"});
    AddItem(v.level().m_Inf, "line", "hall", 3, {"class:\ttrigger"});
    AddItem(v.level().m_Inf, "line", "hall", 0, {"class:\ttrigger"});
    const EditResult r = SplitWall(v.level(), 0, 1);
    EXPECT_TRUE(r.m_bInfChanged);
    const auto& items = v.level().m_Inf.m_pItems;
    EXPECT_EQ(items[0]->m_nNum, 4);
    EXPECT_EQ(items[1]->m_nNum, 1);
    EXPECT_EQ(items[1]->m_Lines[1], "message:\tdoor(3) m_trigger");
    EXPECT_EQ(items[2]->m_nNum, 3); // the split wall of the neighbour keeps its first half
    EXPECT_EQ(items[3]->m_nNum, 0);
}

TEST(StructuralEditsSplit, InsertInVertexModeSplitsTheWallStartingThere) {
    View v(kModeVertex, BuildRoom);
    v.Select({Vertex(0, 2)});
    EXPECT_TRUE(InsertAtSelection(v.engine).m_bChanged);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {64, 64}, {32, 64}, {0, 64}}));
    v.sector(0).m_pVertices.push_back(std::make_unique<CDataVertex>(5, 5));
    v.Select({Vertex(0, 5)});
    EXPECT_FALSE(InsertAtSelection(v.engine).m_bChanged);
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 5u);
}

// ---- Delete walls and vertices -------------------------------------------------------------------

TEST(StructuralEditsDelete, TwoWallsOfOneSectorGoHighestFirst) {
    View v(kModeWall, BuildRoom);
    SplitWall(v.level(), 0, 0); // (0,0) (32,0) (64,0) (64,64) (0,64)
    v.Select({Wall(0, 1), Wall(0, 3)});
    const EditResult r = DeleteSelection(v.engine);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage, "");
    // Wall 3 takes corner (64, 64), then wall 1 corner (32, 0).
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {0, 64}}));
    EXPECT_EQ(v.sector(0).m_pVertices.size(), 3u);
    EXPECT_TRUE(v.engine.selection().empty());
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, TriangleRefusesWallAndVertexDeletion) {
    View v(kModeWall, BuildRoom);
    ASSERT_TRUE(DeleteWall(v.level(), 0, 3).m_bChanged);
    const Points triangle = Outline(v.sector(0));
    ASSERT_EQ(triangle.size(), 3u);
    v.Select({Wall(0, 1)});
    EditResult r = DeleteSelection(v.engine);
    EXPECT_FALSE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage, "Deletion of wall not possible.\n\nSectors must have at least three walls.");
    v.doc.m_nMode = kModeVertex;
    v.Select({Vertex(0, 0)});
    r = DeleteSelection(v.engine);
    EXPECT_FALSE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage, "Deletion of vertex not possible.\n\nSectors must have at least three walls.");
    EXPECT_EQ(Outline(v.sector(0)), triangle);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, AdjoinedWallTakesTheSameCornerFromItsPartner) {
    View v(kModeWall);
    SplitWall(v.level(), 1, 0); // sector 1 gets five walls; its wall 4 mirrors sector 0 wall 1
    v.sector(1).m_strName = "hall";
    AddItem(v.level().m_Inf, "line", "hall", 4, {"class:\ttrigger"});
    AddItem(v.level().m_Inf, "line", "hall", 3, {"class:\ttrigger"});
    v.Select({Wall(0, 1)});
    const EditResult r = DeleteSelection(v.engine);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_TRUE(r.m_bInfChanged);
    // The neighbour's items follow too: the removed wall's item goes, the others keep their walls.
    ASSERT_EQ(v.level().m_Inf.m_pItems.size(), 1u);
    EXPECT_EQ(v.level().m_Inf.m_pItems[0]->m_nNum, 3);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 64}, {0, 64}}));
    // Both sides lose the corner at (64, 0).
    EXPECT_EQ(Outline(v.sector(1)), (Points{{64, 64}, {96, 0}, {128, 0}, {128, 64}}));
    for (const auto& w : v.sector(1).m_pWalls)
        EXPECT_EQ(w->m_nAdjoin, -1);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, BothWallsOfAPairSelectedDeleteThePairOnce) {
    View v(kModeWall);
    SplitWall(v.level(), 0, 0);
    SplitWall(v.level(), 1, 0);
    ASSERT_EQ(v.wall(0, 2).m_nMirror, 4);
    // Sector 1 wall 4 goes first and takes sector 0 wall 2 along; that entry must not delete again.
    v.Select({Wall(0, 2), Wall(1, 4)});
    const EditResult r = DeleteSelection(v.engine);
    EXPECT_EQ(r.m_strMessage, "");
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 4u);
    EXPECT_EQ(v.sector(1).m_pWalls.size(), 4u);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, WallWhosePartnerLoopIsATriangleIsRefused) {
    View v(kModeWall);
    DeleteWall(v.level(), 1, 0); // sector 1 becomes a triangle, still adjoined
    ASSERT_EQ(v.sector(1).m_pWalls.size(), 3u);
    SplitWall(v.level(), 0, 0);
    const int linked = v.wall(0, 2).m_nAdjoin;
    ASSERT_EQ(linked, 1);
    EXPECT_EQ(DeleteWall(v.level(), 0, 2).m_strMessage, kWallDeletionRefused);
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 5u);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, VertexDeletesTheWallStartingThere) {
    View v(kModeVertex, BuildRoom);
    SplitWall(v.level(), 0, 0);
    v.sector(0).m_strName = "lift";
    AddItem(v.level().m_Inf, "line", "lift", 3, {"class:\ttrigger"});
    v.Select({Vertex(0, 1)});
    const EditResult r = DeleteSelection(v.engine);
    EXPECT_TRUE(r.m_bInfChanged);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {64, 64}, {0, 64}}));
    EXPECT_EQ(v.level().m_Inf.m_pItems[0]->m_nNum, 2);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDelete, ObjectsGoByTheirOwnIndex) {
    View v(kModeObject, BuildTwoRooms);
    for (int s : {1, 0, 0})
        AddObject(v.level(), s);
    v.level().m_Objects.m_pObjects[1]->m_nDiff = 9;
    // Sorted by sector first, object 0 (sector 1) would go before object 2 (sector 0).
    v.Select({{0, -1, -1, 2}, {1, -1, -1, 0}});
    EXPECT_TRUE(DeleteSelection(v.engine).m_bChanged);
    ASSERT_EQ(v.level().m_Objects.m_pObjects.size(), 1u);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[0]->m_nDiff, 9);
    EXPECT_TRUE(v.engine.drawing().objectsDirty());
}

// ---- Delete sectors ------------------------------------------------------------------------------

TEST(StructuralEditsDeleteSector, NeighboursKeepTheirSharedWallsUnlinked) {
    View v(kModeSector);
    v.sector(0).m_strName = "gone";
    AddItem(v.level().m_Inf, "sector", "GONE", -1, {"class:\televator basic"});
    AddItem(v.level().m_Inf, "level", "", -1, {"class:\tlevel"});
    AddObject(v.level(), 0);
    AddObject(v.level(), 1);
    v.Select({Sector(0)});
    const EditResult r = DeleteSelection(v.engine);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_TRUE(r.m_bInfChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 1u);
    EXPECT_EQ(v.sector(0).m_nIndex, 0);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{64, 0}, {128, 0}, {128, 64}, {64, 64}}));
    EXPECT_EQ(v.wall(0, 3).m_nAdjoin, -1);
    EXPECT_EQ(v.wall(0, 3).m_nMirror, -1);
    EXPECT_EQ(v.wall(0, 3).m_nWalk, -1);
    ASSERT_EQ(v.level().m_Inf.m_pItems.size(), 1u);
    EXPECT_EQ(v.level().m_Inf.m_pItems[0]->m_strType, "level");
    ASSERT_EQ(v.level().m_Objects.m_pObjects.size(), 1u);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[0]->m_nSector, 0);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDeleteSector, IslandClosesItsHole) {
    View v(kModeSector, BuildRoomWithPillar);
    v.Select({Sector(1)});
    DeleteSelection(v.engine);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 1u);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {128, 0}, {128, 128}, {0, 128}}));
    EXPECT_EQ(v.sector(0).m_pVertices.size(), 4u);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDeleteSector, ContainerTakesItsIslandAlong) {
    View v(kModeSector, BuildRoomWithPillar);
    v.level().m_Lev.m_pSectors.push_back(MakeSquareSector(v.level().m_Lev, 2, 200, 200, 264, 264));
    v.sector(1).m_strName = "pillar";
    AddItem(v.level().m_Inf, "sector", "pillar", -1, {"class:\televator move_floor"});
    AddObject(v.level(), 1);
    AddObject(v.level(), 2);
    v.Select({Sector(0)});
    DeleteSelection(v.engine);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 1u);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{200, 200}, {264, 200}, {264, 264}, {200, 264}}));
    EXPECT_TRUE(v.level().m_Inf.m_pItems.empty());
    ASSERT_EQ(v.level().m_Objects.m_pObjects.size(), 2u);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[0]->m_nSector, -1);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[1]->m_nSector, 0);
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDeleteSector, BothOfAContainerAndItsIslandSelected) {
    View v(kModeSector, BuildRoomWithPillar);
    v.Select({Sector(0), Sector(1)});
    EXPECT_TRUE(DeleteSelection(v.engine).m_bChanged);
    EXPECT_TRUE(v.level().m_Lev.m_pSectors.empty());
    EXPECT_EQ(FindingsText(v.level()), "");
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
    AddItem(v.level().m_Inf, "line", "end", 3, {"class:\ttrigger", "message:\tend(3) m_trigger"});
    AddObject(v.level(), 5);
    v.Select({Sector(3)});
    DeleteSelection(v.engine);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 5u);
    EXPECT_EQ(v.wall(3, 1).m_nAdjoin, 4);
    EXPECT_EQ(v.wall(3, 1).m_nWalk, 4);
    EXPECT_EQ(v.wall(3, 1).m_nMirror, 3);
    EXPECT_EQ(v.wall(4, 3).m_nAdjoin, 3);
    EXPECT_EQ(v.wall(4, 3).m_nWalk, 3);
    EXPECT_EQ(v.wall(3, 3).m_nAdjoin, -1);
    EXPECT_EQ(v.wall(2, 1).m_nAdjoin, -1);
    EXPECT_EQ(v.wall(1, 1).m_nAdjoin, 2);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[0]->m_nSector, 4);
    EXPECT_EQ(v.level().m_Inf.m_pItems[0]->m_nNum, 3);
    EXPECT_EQ(v.level().m_Inf.m_pItems[0]->m_Lines[1], "message:\tend(3) m_trigger");
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsDeleteSector, TwoSectorsInOneGoShiftEverythingOnce) {
    View v(kModeSector, BuildSixRooms);
    AddObject(v.level(), 5);
    AddObject(v.level(), 3);
    v.Select({Sector(1), Sector(4)});
    DeleteSelection(v.engine);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 4u); // old 0, 2, 3, 5
    EXPECT_EQ(Outline(v.sector(3))[0], (std::pair<double, double>{320, 0}));
    EXPECT_EQ(v.wall(1, 1).m_nAdjoin, 2);
    EXPECT_EQ(v.wall(2, 3).m_nAdjoin, 1);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[0]->m_nSector, 3);
    EXPECT_EQ(v.level().m_Objects.m_pObjects[1]->m_nSector, 2);
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
}

// ---- Insert ---------------------------------------------------------------------------------------

TEST(StructuralEditsInsert, ObjectAtTheViewCentreBecomesTheSelection) {
    View v(kModeObject);
    AddObject(v.level(), 0);
    const EditResult r = InsertAtSelection(v.engine);
    EXPECT_TRUE(r.m_bChanged);
    EXPECT_TRUE(r.m_bSelectionChanged);
    ASSERT_EQ(v.level().m_Objects.m_pObjects.size(), 2u);
    const CDataObjectItem& o = *v.level().m_Objects.m_pObjects[1];
    EXPECT_EQ(o.m_strClass, "SPRITE");
    EXPECT_EQ(o.m_strData, "STORMFIN.WAX");
    EXPECT_EQ(o.m_nIndex, 1);
    EXPECT_DOUBLE_EQ(o.m_dX, v.engine.viewport().ScreenToWorldX(400));
    EXPECT_DOUBLE_EQ(o.m_dZ, v.engine.viewport().ScreenToWorldZ(300));
    ASSERT_EQ(v.level().m_Objects.m_Sprs.size(), 1u);
    EXPECT_EQ(v.level().m_Objects.m_Sprs[0].m_strName, "STORMFIN.WAX");
    ASSERT_EQ(v.engine.selection().size(), 1u);
    EXPECT_EQ(v.engine.selection()[0].m_nObject, 1);
    EXPECT_TRUE(v.engine.drawing().objectsDirty());
    EXPECT_EQ(FindingsText(v.level()), "");
}

// ---- Link and unlink -----------------------------------------------------------------------------

void BuildTwoLooseRooms(CDataLevel& level) {
    BuildTwoRooms(level);
    for (auto& s : level.m_Lev.m_pSectors)
        for (auto& w : s->m_pWalls)
            w->m_nAdjoin = w->m_nMirror = w->m_nWalk = -1;
}

TEST(StructuralEditsLink, WallFindsTheExactOppositeWall) {
    View v(kModeWall, BuildTwoLooseRooms);
    v.Select({Wall(1, 3)});
    ASSERT_TRUE(CanLink(v.engine));
    EXPECT_TRUE(LinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(v.wall(1, 3).m_nAdjoin, 0);
    EXPECT_EQ(v.wall(1, 3).m_nWalk, 0);
    EXPECT_EQ(v.wall(1, 3).m_nMirror, 1);
    EXPECT_EQ(v.wall(0, 1).m_nMirror, 3);
    EXPECT_FALSE(CanLink(v.engine));
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsLink, AThousandthApartIsNoPartner) {
    View v(kModeWall, BuildTwoLooseRooms);
    v.sector(1).m_pVertices[0]->m_dX = 64.001;
    v.Select({Wall(0, 1)});
    EXPECT_FALSE(LinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(v.wall(0, 1).m_nAdjoin, -1);
}

TEST(StructuralEditsLink, SectorBecomesAnIslandOfItsContainer) {
    View v(kModeSector, BuildRoom);
    v.level().m_Lev.m_pSectors.push_back(MakeSquareSector(v.level().m_Lev, 1, 16, 16, 32, 48));
    v.Select({Sector(1)});
    ASSERT_TRUE(CanLink(v.engine));
    EXPECT_TRUE(LinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(GetEnclosedSectors(v.sector(0)), std::vector<int>{1});
    EXPECT_EQ(Outline(v.sector(0)),
              (Points{{0, 0}, {64, 0}, {64, 64}, {0, 64}, {16, 16}, {16, 48}, {32, 48}, {32, 16}}));
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
    // Deleting the island takes the new hole away again.
    DeleteSelection(v.engine);
    EXPECT_EQ(Outline(v.sector(0)), (Points{{0, 0}, {64, 0}, {64, 64}, {0, 64}}));
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsLink, SectorOutsideEverySectorOrOnAnotherLayerStaysAlone) {
    View v(kModeSector, BuildRoom);
    v.level().m_Lev.m_pSectors.push_back(MakeSquareSector(v.level().m_Lev, 1, 16, 16, 32, 48));
    v.sector(0).m_nLayer = 1;
    v.Select({Sector(1)});
    EXPECT_FALSE(LinkSelection(v.engine).m_bChanged);
    v.sector(0).m_nLayer = 0;
    v.sector(1).m_pVertices[2]->m_dX = 80;
    EXPECT_FALSE(LinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(v.sector(0).m_pWalls.size(), 4u);
}

TEST(StructuralEditsLink, UnlinkFreesBothSides) {
    View v(kModeWall);
    v.Select({Wall(0, 1)});
    ASSERT_TRUE(CanUnlink(v.engine));
    EXPECT_TRUE(UnlinkSelection(v.engine).m_bChanged);
    EXPECT_EQ(v.wall(0, 1).m_nAdjoin, -1);
    EXPECT_EQ(v.wall(0, 1).m_nWalk, -1);
    EXPECT_EQ(v.wall(1, 3).m_nMirror, -1);
    EXPECT_FALSE(CanUnlink(v.engine));
    EXPECT_EQ(FindingsText(v.level()), "");
}

// ---- Extrude ------------------------------------------------------------------------------------

// A clockwise room, as the game's sectors run: (64,0) (0,0) (0,64) (64,64).
void BuildClockwiseRoom(CDataLevel& level) {
    level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 0, 64, 0, 0, 64));
}

TEST(StructuralEditsExtrude, BuildsALinkedQuadOutwardOnTheSameLayer) {
    View v(kModeWall, BuildClockwiseRoom);
    v.doc.m_bGridOn = 0;
    v.sector(0).m_nLayer = 2;
    v.sector(0).m_nAmbient = 12;
    v.sector(0).m_dFloorAltitude = 4;
    v.wall(0, 2).m_nLight = -3;
    v.wall(0, 2).m_nFlags1 = 16;
    v.wall(0, 2).m_Sign.m_nTexture = v.level().m_Lev.FindOrAddTexture("SIGN.BM");
    v.Select({Wall(0, 2)});
    const EditResult r = ExtrudeSelection(v.engine);
    EXPECT_TRUE(r.m_bChanged);
    ASSERT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
    const CDataSector& quad = v.sector(1);
    EXPECT_EQ(Outline(quad), (Points{{0, 64}, {0, 72}, {64, 72}, {64, 64}}));
    EXPECT_EQ(quad.m_nLayer, 2);
    EXPECT_EQ(quad.m_nAmbient, 12);
    EXPECT_EQ(quad.m_dFloorAltitude, 4);
    EXPECT_EQ(v.level().m_Lev.GetTextureName(quad.m_FloorTexture.m_nTexture), "IF3.BM");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(v.wall(1, i).m_nLight, -3);
        EXPECT_EQ(v.wall(1, i).m_nFlags1, 16);
        EXPECT_EQ(v.wall(1, i).m_Sign.m_nTexture, v.wall(0, 2).m_Sign.m_nTexture);
    }
    EXPECT_EQ(v.wall(1, 3).m_nAdjoin, 0);
    EXPECT_EQ(v.wall(1, 3).m_nMirror, 2);
    EXPECT_EQ(v.wall(0, 2).m_nAdjoin, 1);
    EXPECT_EQ(v.wall(0, 2).m_nWalk, 1);
    EXPECT_EQ(v.wall(0, 2).m_nMirror, 3);
    EXPECT_EQ(v.engine.selection(), (std::vector<CMapSelItem>{Wall(1, 3)}));
    ExpectMirrorsOpposite(v.level());
    EXPECT_EQ(FindingsText(v.level()), "");
}

TEST(StructuralEditsExtrude, AdjoinedWallIsRefused) {
    View v(kModeWall);
    v.Select({Wall(0, 1)});
    const EditResult r = ExtrudeSelection(v.engine);
    EXPECT_FALSE(r.m_bChanged);
    EXPECT_EQ(r.m_strMessage, "Extruding of wall not possible since\nthe wall is linked to another wall.");
    EXPECT_EQ(v.level().m_Lev.m_pSectors.size(), 2u);
}

// ---- Enable rules ---------------------------------------------------------------------------------

TEST(StructuralEditsEnable, CommandsFollowModeAndSelection) {
    View v(kModeWall);
    EXPECT_FALSE(CanInsert(v.engine));
    EXPECT_FALSE(CanDelete(v.engine));
    EXPECT_FALSE(CanExtrude(v.engine));
    v.Select({Wall(0, 0)});
    EXPECT_TRUE(CanInsert(v.engine));
    EXPECT_TRUE(CanDelete(v.engine));
    EXPECT_TRUE(CanExtrude(v.engine));
    EXPECT_TRUE(CanLink(v.engine));
    v.Select({Wall(0, 0), Wall(0, 2)});
    EXPECT_FALSE(CanInsert(v.engine));
    EXPECT_FALSE(CanLink(v.engine));
    v.doc.m_nMode = kModeSector;
    EXPECT_TRUE(CanInsert(v.engine));
    v.Select({Sector(0)});
    EXPECT_FALSE(CanLink(v.engine)); // one of its walls is adjoined
    EXPECT_FALSE(CanUnlink(v.engine));
    v.doc.m_nMode = kModeObject;
    v.engine.ClearSelection();
    EXPECT_TRUE(CanInsert(v.engine));
}

} // namespace
} // namespace morvi

namespace morvi {
namespace {

// A wall read from a damaged file names a vertex its sector lacks: every edit that would touch
// that sector, directly or through an adjoin, refuses by name and changes nothing; objects can
// still be edited.
TEST(DamagedLevel, EditsRefuseToTouchADamagedSector) {
    using Edit = std::function<EditResult(const EditContext&)>;
    const std::pair<CMapSelItem, Edit> cases[] = {
        {Wall(0, 1), InsertAtSelection},
        {Vertex(1, 0), InsertAtSelection},
        {Sector(1), DeleteSelection},
        {Wall(0, 2), [](const EditContext& c) { return ExtrudeSelection(c, 8.0); }},
        {Wall(0, 1), UnlinkSelection},
        {Sector(0), [](const EditContext& c) { return RotateSectors(c, 90.0); }},
        {Sector(0), [](const EditContext& c) { return ChangeOffsets(c, 8.0, 0.0, 8.0); }},
        {Sector(1),
         [](const EditContext& c) {
             return InsertPolygon(c, {4, 4.0, PolygonKind::Subsector, false});
         }},
        {Sector(0),
         [](const EditContext& c) {
             ClipboardBuffer clipboard;
             return Copy(c, clipboard);
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
}

} // namespace
} // namespace morvi
