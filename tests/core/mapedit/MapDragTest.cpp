#include "mapedit/MapMove.h"
#include "model/LevelChecker.h"
#include "model/ModelOps.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace morvi {
namespace {

using testing::BuildRoom;
using testing::BuildRoomWithPillar;
using testing::BuildTwoRooms;
using testing::MakeSquareSector;

using Points = std::vector<std::pair<double, double>>;

Points VerticesOf(const CDataLevel& level, int sector) {
    Points points;
    for (const auto& v : level.m_Lev.m_pSectors[static_cast<std::size_t>(sector)]->m_pVertices)
        points.emplace_back(v->m_dX, v->m_dZ);
    return points;
}

CDataObjectItem& AddObject(CDataLevel& level, double x, double z, int sector) {
    auto object = std::make_unique<CDataObjectItem>();
    object->m_nIndex = static_cast<int>(level.m_Objects.m_pObjects.size());
    object->m_dX = x;
    object->m_dY = -4;
    object->m_dZ = z;
    object->m_nSector = sector;
    SetObjectDataIndex(level.m_Objects, *object);
    level.m_Objects.m_pObjects.push_back(std::move(object));
    return *level.m_Objects.m_pObjects.back();
}

MoveOptions Options(int mode, bool gridOn = false, double step = 16) {
    MoveOptions options;
    options.m_nMode = mode;
    options.m_bGridOn = gridOn;
    options.m_dGridStep = step;
    return options;
}

CMapSelItem SectorEntry(int s) {
    return {s, -1, -1, -1};
}
CMapSelItem WallEntry(int s, int w) {
    return {s, w, -1, -1};
}
CMapSelItem VertexEntry(int s, int v) {
    return {s, -1, v, -1};
}
CMapSelItem ObjectEntry(int o, int s) {
    return {s, -1, -1, o};
}

TEST(MapDrag, SectorDragTakesTheNeighbourMirrorWallEndsOnly) {
    CDataLevel level;
    BuildTwoRooms(level);
    std::vector<CMapSelItem> selection{SectorEntry(0)};
    // Walls in order, each left then right; wall 1's mirror (sector 1 wall 3) runs v3 -> v0.
    const std::vector<VertexRef> expected{{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 0}, {0, 3}};
    EXPECT_EQ(BuildMoveList(level, selection, kModeSector, true), expected);

    ASSERT_TRUE(ApplyMove(level, selection, 16, 8, Options(kModeSector)));
    EXPECT_EQ(VerticesOf(level, 0), (Points{{16, 8}, {80, 8}, {80, 72}, {16, 72}}));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{80, 8}, {128, 0}, {128, 64}, {80, 72}}));
    EXPECT_EQ(selection, std::vector<CMapSelItem>{SectorEntry(0)});
    EXPECT_TRUE(checkLevel(level).empty());
}

TEST(MapDrag, PillarDragMovesTheHoleButNotTheRoomsOuterCorners) {
    CDataLevel level;
    BuildRoomWithPillar(level);
    std::vector<CMapSelItem> selection{SectorEntry(1)};
    ASSERT_TRUE(ApplyMove(level, selection, -8, 16, Options(kModeSector)));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{40, 64}, {72, 64}, {72, 96}, {40, 96}}));
    EXPECT_EQ(VerticesOf(level, 0),
              (Points{{0, 0}, {128, 0}, {128, 128}, {0, 128}, {40, 64}, {40, 96}, {72, 96}, {72, 64}}));
    EXPECT_TRUE(checkLevel(level).empty());
}

TEST(MapDrag, WallDragTakesTheMirrorWallAlongAndALoneWallItsOwnEnds) {
    CDataLevel level;
    BuildTwoRooms(level);
    std::vector<CMapSelItem> selection{WallEntry(0, 1)};
    EXPECT_EQ(BuildMoveList(level, selection, kModeWall, true),
              (std::vector<VertexRef>{{0, 1}, {0, 2}, {1, 3}, {1, 0}}));
    ASSERT_TRUE(ApplyMove(level, selection, 8, 4, Options(kModeWall)));
    EXPECT_EQ(VerticesOf(level, 0), (Points{{0, 0}, {72, 4}, {72, 68}, {0, 64}}));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{72, 4}, {128, 0}, {128, 64}, {72, 68}}));
    EXPECT_TRUE(checkLevel(level).empty());

    // A wall without adjoin moves alone, even when its end is a corner of the neighbour.
    selection = {WallEntry(0, 0)};
    ASSERT_TRUE(ApplyMove(level, selection, 0, -4, Options(kModeWall)));
    EXPECT_EQ(VerticesOf(level, 0), (Points{{0, -4}, {72, 0}, {72, 68}, {0, 64}}));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{72, 4}, {128, 0}, {128, 64}, {72, 68}}));
    EXPECT_TRUE(checkLevel(level).empty());
}

TEST(MapDrag, MoveVertexTakesCoincidentCornersOnEveryLayerAndOffSeparatesThem) {
    CDataLevel level;
    BuildTwoRooms(level);
    level.m_Lev.m_pSectors[1]->m_nLayer = 3;
    const std::vector<CMapSelItem> one{VertexEntry(0, 1)};
    EXPECT_EQ(BuildMoveList(level, one, kModeVertex, true), (std::vector<VertexRef>{{0, 1}, {1, 0}}));
    EXPECT_EQ(BuildMoveList(level, one, kModeVertex, false), (std::vector<VertexRef>{{0, 1}}));

    CDataLevel joined;
    BuildTwoRooms(joined);
    joined.m_Lev.m_pSectors[1]->m_nLayer = 3;
    std::vector<CMapSelItem> selection = one;
    MoveOptions options = Options(kModeVertex);
    ASSERT_TRUE(ApplyMove(joined, selection, 0, -16, options));
    EXPECT_EQ(VerticesOf(joined, 0)[1], std::make_pair(64.0, -16.0));
    EXPECT_EQ(VerticesOf(joined, 1)[0], std::make_pair(64.0, -16.0));
    EXPECT_TRUE(checkLevel(joined).empty());

    options.m_bMoveVertex = false;
    selection = one;
    ASSERT_TRUE(ApplyMove(level, selection, 0, -16, options));
    EXPECT_EQ(VerticesOf(level, 0)[1], std::make_pair(64.0, -16.0));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{64, 0}, {128, 0}, {128, 64}, {64, 64}}));
    EXPECT_TRUE(checkLevel(level).empty());
}

TEST(MapDrag, CoincidentVertexEntriesArePrunedBeforeTheMove) {
    CDataLevel level;
    BuildTwoRooms(level);
    // (64,0) and (64,64) each selected in both sectors, plus an entry naming no vertex.
    std::vector<CMapSelItem> selection{VertexEntry(0, 1), VertexEntry(1, 0), VertexEntry(1, 3),
                                       VertexEntry(0, 2), VertexEntry(7, 0)};
    MoveOptions options = Options(kModeVertex);
    options.m_bMoveVertex = false;
    ASSERT_TRUE(ApplyMove(level, selection, 4, 0, options));
    EXPECT_EQ(selection, (std::vector<CMapSelItem>{VertexEntry(0, 1), VertexEntry(1, 3), VertexEntry(7, 0)}));
    // Only the survivors move: sector 1's (64,0) stays, sector 0's (64,64) stays.
    EXPECT_EQ(VerticesOf(level, 0), (Points{{0, 0}, {68, 0}, {64, 64}, {0, 64}}));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{64, 0}, {128, 0}, {128, 64}, {68, 64}}));

    // A zero offset changes nothing, not even the selection.
    selection = {VertexEntry(0, 0), VertexEntry(0, 0)};
    EXPECT_FALSE(ApplyMove(level, selection, 0, 0, options));
    EXPECT_EQ(selection.size(), 2U);
}

TEST(MapDrag, ASectorsSecondVertexOnTheSamePointIsLeftBehind) {
    CDataLevel level;
    BuildRoom(level);
    CDataSector& room = *level.m_Lev.m_pSectors[0];
    room.m_pVertices.push_back(std::make_unique<CDataVertex>(64, 0));
    room.m_pWalls[1]->m_nLeft = 4;
    const std::vector<CMapSelItem> selection{VertexEntry(0, 1)};
    // Wall 0 reaches v1 first; wall 1's v4 on the same point of the same sector is dropped.
    EXPECT_EQ(BuildMoveList(level, selection, kModeVertex, true), (std::vector<VertexRef>{{0, 1}}));
}

TEST(MapDrag, GridSnapPutsTheFirstThingOnTheGridLineTowardZero) {
    EXPECT_DOUBLE_EQ(SnapOffset(3, 16, 16), 13);
    EXPECT_DOUBLE_EQ(SnapOffset(-3, -16, 16), -13);
    EXPECT_DOUBLE_EQ(SnapOffset(5, 0, 16), -5);
    EXPECT_DOUBLE_EQ(SnapOffset(5, 7, 0), 7);

    CDataLevel level;
    level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 0, 3, 0, 64, 64));
    level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 1, -3, 100, -64, 164));
    std::vector<CMapSelItem> selection{VertexEntry(0, 0)};
    ASSERT_TRUE(ApplyMove(level, selection, 16, 0, Options(kModeVertex, true, 16)));
    EXPECT_EQ(VerticesOf(level, 0)[0], std::make_pair(16.0, 0.0));
    selection = {VertexEntry(1, 0)};
    ASSERT_TRUE(ApplyMove(level, selection, -16, 0, Options(kModeVertex, true, 16)));
    EXPECT_EQ(VerticesOf(level, 1)[0], std::make_pair(-16.0, 96.0));
    EXPECT_TRUE(checkLevel(level).empty());

    // A move the snap takes back to where it started changes nothing.
    selection = {VertexEntry(0, 0)};
    EXPECT_FALSE(ApplyMove(level, selection, 5, 3, Options(kModeVertex, true, 16)));
    EXPECT_EQ(VerticesOf(level, 0)[0], std::make_pair(16.0, 0.0));
}

TEST(MapDrag, ObjectsFollowTheirSectorWhenMoveObjectsIsOn) {
    for (const bool gridOn : {false, true}) {
        CDataLevel level;
        BuildTwoRooms(level);
        AddObject(level, 32, 30, 0);
        AddObject(level, 96, 30, 1);
        AddObject(level, 500, 500, -1);
        std::vector<CMapSelItem> selection{SectorEntry(0)};
        // With the grid the offset (20, 10) becomes (16, 0): the first vertex sits at (0, 0).
        ASSERT_TRUE(ApplyMove(level, selection, 20, 10, Options(kModeSector, gridOn)));
        const auto& objects = level.m_Objects.m_pObjects;
        const auto& corner = *level.m_Lev.m_pSectors[0]->m_pVertices[0];
        EXPECT_EQ(corner.m_dX, gridOn ? 16 : 20);
        EXPECT_DOUBLE_EQ(objects[0]->m_dX - corner.m_dX, 32);
        EXPECT_DOUBLE_EQ(objects[0]->m_dZ - corner.m_dZ, 30);
        EXPECT_EQ(objects[0]->m_dY, -4);
        EXPECT_EQ(std::make_pair(objects[1]->m_dX, objects[1]->m_dZ), std::make_pair(96.0, 30.0));
        EXPECT_EQ(std::make_pair(objects[2]->m_dX, objects[2]->m_dZ), std::make_pair(500.0, 500.0));
        EXPECT_TRUE(checkLevel(level).empty());
    }
    CDataLevel level;
    BuildTwoRooms(level);
    AddObject(level, 32, 30, 0);
    std::vector<CMapSelItem> selection{SectorEntry(0)};
    MoveOptions options = Options(kModeSector);
    options.m_bMoveObjects = false;
    ASSERT_TRUE(ApplyMove(level, selection, 20, 10, options));
    EXPECT_EQ(level.m_Objects.m_pObjects[0]->m_dX, 32);
    EXPECT_EQ(level.m_Objects.m_pObjects[0]->m_dZ, 30);
}

TEST(MapDrag, ObjectModeMovesTheSelectedObjectsOnceEach) {
    CDataLevel level;
    BuildRoom(level);
    AddObject(level, 10, 20, 0);
    AddObject(level, 40, 40, 0);
    AddObject(level, 50, 50, 0);
    std::vector<CMapSelItem> selection{ObjectEntry(0, 0), ObjectEntry(1, 0), ObjectEntry(0, 0),
                                       ObjectEntry(9, -1)};
    EXPECT_EQ(SelectedObjects(level, selection), (std::vector<int>{0, 1}));
    // Grid 16 from the first object at (10, 20): 26 -> 16 and 4 -> 0, so the offset is (6, -20).
    ASSERT_TRUE(ApplyMove(level, selection, 16, -16, Options(kModeObject, true, 16)));
    const auto& objects = level.m_Objects.m_pObjects;
    EXPECT_EQ(std::make_pair(objects[0]->m_dX, objects[0]->m_dZ), std::make_pair(16.0, 0.0));
    EXPECT_EQ(std::make_pair(objects[1]->m_dX, objects[1]->m_dZ), std::make_pair(46.0, 20.0));
    EXPECT_EQ(std::make_pair(objects[2]->m_dX, objects[2]->m_dZ), std::make_pair(50.0, 50.0));
    EXPECT_EQ(VerticesOf(level, 0), (Points{{0, 0}, {64, 0}, {64, 64}, {0, 64}}));
    EXPECT_TRUE(checkLevel(level).empty());
}

TEST(MapDrag, EntriesNamingMissingRecordsMoveNothing) {
    CDataLevel level;
    BuildTwoRooms(level);
    std::vector<CMapSelItem> selection{SectorEntry(5), SectorEntry(-1)};
    EXPECT_TRUE(BuildMoveList(level, selection, kModeSector, true).empty());
    EXPECT_FALSE(ApplyMove(level, selection, 16, 16, Options(kModeSector)));
    selection = {WallEntry(0, 9), WallEntry(4, 0), WallEntry(0, -1)};
    EXPECT_FALSE(ApplyMove(level, selection, 16, 16, Options(kModeWall)));
    selection = {VertexEntry(0, -1), VertexEntry(0, 4)};
    EXPECT_FALSE(ApplyMove(level, selection, 16, 16, Options(kModeVertex)));
    selection = {ObjectEntry(0, 0), ObjectEntry(-1, 0)};
    EXPECT_FALSE(ApplyMove(level, selection, 16, 16, Options(kModeObject)));
    selection = {SectorEntry(0)};
    EXPECT_FALSE(ApplyMove(level, selection, 16, 16, Options(kModePerspective)));
    EXPECT_EQ(VerticesOf(level, 0), (Points{{0, 0}, {64, 0}, {64, 64}, {0, 64}}));
    EXPECT_EQ(VerticesOf(level, 1), (Points{{64, 0}, {128, 0}, {128, 64}, {64, 64}}));
}

} // namespace
} // namespace morvi
