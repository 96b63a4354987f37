#include "mapedit/MapMove.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using testing::AddObject;
using testing::BuildRoomWithPillar;
using testing::BuildTwoRooms;
using testing::EngineView;
using testing::MakeSquareSector;
using testing::Object;
using testing::Points;
using testing::ReferenceFindingsText;
using testing::Sector;
using testing::Vertex;
using testing::Wall;
using Point = std::pair<double, double>;
using Items = std::vector<CMapSelItem>;
using Log = std::vector<std::string>;

const Points kRoom0{{0, 0}, {64, 0}, {64, 64}, {0, 64}};
const Points kRoom1{{64, 0}, {128, 0}, {128, 64}, {64, 64}};

MoveOptions Options(int mode, bool gridOn = false, bool moveVertex = true) {
    return MoveOptions{mode, true, moveVertex, gridOn, 16};
}

// Applies one move to a fresh level and compares both sectors' vertices afterwards.
void ExpectMove(void (*build)(CDataLevel&), CMapSelItem item, const MoveOptions& options, double dx,
                double dz, const Points& first, const Points& second) {
    EngineView v(options.m_nMode, build);
    if (options.m_nMode == kModeVertex) v.sector(1).m_nLayer = 3; // any layer's corners go along
    Items selection{item};
    ASSERT_TRUE(ApplyMove(v.level(), selection, dx, dz, options));
    EXPECT_EQ(v.vertices(0), first);
    EXPECT_EQ(v.vertices(1), second);
    EXPECT_EQ(selection, Items{item});
    EXPECT_EQ(ReferenceFindingsText(v.level()), "");
}

// Adjoined neighbours stay joined: sector and wall drags take the mirror walls' ends along (and
// only those), vertex drags every corner on the same point unless MoveVertex is off.
TEST(MapDrag, MovesKeepNeighboursJoined) {
    ExpectMove(BuildTwoRooms, Sector(0), Options(kModeSector), 16, 8, {{16, 8}, {80, 8}, {80, 72}, {16, 72}},
               {{80, 8}, {128, 0}, {128, 64}, {80, 72}});
    ExpectMove(BuildRoomWithPillar, Sector(1), Options(kModeSector), -8, 16,
               {{0, 0}, {128, 0}, {128, 128}, {0, 128}, {40, 64}, {40, 96}, {72, 96}, {72, 64}},
               {{40, 64}, {72, 64}, {72, 96}, {40, 96}});
    ExpectMove(BuildTwoRooms, Wall(0, 1), Options(kModeWall), 8, 4, {{0, 0}, {72, 4}, {72, 68}, {0, 64}},
               {{72, 4}, {128, 0}, {128, 64}, {72, 68}});
    ExpectMove(BuildTwoRooms, Wall(0, 0), Options(kModeWall), 0, -4, {{0, -4}, {64, -4}, {64, 64}, {0, 64}},
               kRoom1);
    ExpectMove(BuildTwoRooms, Vertex(0, 1), Options(kModeVertex), 0, -16,
               {{0, 0}, {64, -16}, {64, 64}, {0, 64}}, {{64, -16}, {128, 0}, {128, 64}, {64, 64}});
    ExpectMove(BuildTwoRooms, Vertex(0, 1), Options(kModeVertex, false, false), 0, -16,
               {{0, 0}, {64, -16}, {64, 64}, {0, 64}}, kRoom1);
}

TEST(MapDrag, SelectionEntriesAreMovedOnceAndMissingOnesNotAtAll) {
    // (64,0) and (64,64) each selected in both sectors, plus an entry naming no vertex: the
    // coincident later entries go from the selection, and only the survivors move.
    EngineView v(kModeVertex, BuildTwoRooms);
    Items selection{Vertex(0, 1), Vertex(1, 0), Vertex(1, 3), Vertex(0, 2), Vertex(7, 0)};
    ASSERT_TRUE(ApplyMove(v.level(), selection, 4, 0, Options(kModeVertex, false, false)));
    EXPECT_EQ(selection, (Items{Vertex(0, 1), Vertex(1, 3), Vertex(7, 0)}));
    EXPECT_EQ(v.vertices(0), (Points{{0, 0}, {68, 0}, {64, 64}, {0, 64}}));
    EXPECT_EQ(v.vertices(1), (Points{{64, 0}, {128, 0}, {128, 64}, {68, 64}}));

    // Entries naming nothing move nothing.
    EngineView two(kModeSector, BuildTwoRooms);
    for (auto [items, mode] : {std::pair{Items{Sector(5), Sector(-1)}, kModeSector},
                               {Items{Wall(0, 9), Wall(4, 0), Wall(0, -1)}, kModeWall},
                               {Items{Vertex(0, -1), Vertex(0, 4)}, kModeVertex},
                               {Items{Object(0, 0), Object(-1, 0)}, kModeObject}})
        EXPECT_FALSE(ApplyMove(two.level(), items, 16, 16, Options(mode))) << mode;
    EXPECT_EQ(two.vertices(0), kRoom0);
    EXPECT_EQ(two.vertices(1), kRoom1);
}

// The engine's layout maps world (x, z) to pixel (x + 100, 500 - z); the grid is on, 16 units.
struct DragView : EngineView {
    Log log;
    Notifier<>::Connection storeWatch = doc.m_StoreEdits.Connect([this] { log.push_back("store"); });
    Notifier<>::Connection changeWatch = doc.m_SelectionChanged.Connect([this] { log.push_back("changed"); });

    explicit DragView(int mode, void (*build)(CDataLevel&) = BuildTwoRooms) : EngineView(mode, build) {
        doc.m_bGridOn = 1;
        engine.viewport().SetVisibleRect();
        engine.m_Notify.m_Invalidate = [this](bool erase) { log.push_back(erase ? "erase" : "paint"); };
    }
    MapDragTool& drag() { return engine.drag(); }
    // Assigns the objects to sectors, as a paint does.
    void Paint() {
        DisplayList map;
        engine.drawing().DrawMap(map, false);
    }
    DisplayList Ghost() const {
        DisplayList ghost;
        engine.drag().DrawGhost(ghost);
        return ghost;
    }
    // Press, let the timer fire, move through the given points, release.
    bool Drag(ScreenPoint from, std::initializer_list<ScreenPoint> path) {
        drag().OnPress(from, {});
        drag().OnTimer();
        ScreenPoint last = from;
        for (ScreenPoint p : path)
            drag().OnMove(last = p);
        return drag().OnRelease(last);
    }
};

ScreenPoint At(int x, int z) {
    return {x + 100, 500 - z};
}

TEST(MapDragEngine, ClicksStrayReleasesAndDragsBackMoveNothing) {
    DragView v(kModeSector);
    // Without the timer the mouse may go anywhere.
    v.drag().OnPress(At(32, 32), {});
    v.log.clear();
    v.drag().OnMove(At(400, -300));
    EXPECT_FALSE(v.drag().OnRelease(At(400, -300)));
    // Dragged away and back to the press point.
    EXPECT_FALSE(v.Drag(At(32, 32), {At(96, 0), At(32, 32)}));
    EXPECT_FALSE(v.drag().OnRelease(At(200, 200))) << "a release without a press";
    EXPECT_EQ(v.engine.selection(), Items{Sector(0)});
    EXPECT_EQ(v.vertices(0), kRoom0);
    EXPECT_EQ(v.vertices(1), kRoom1);
    EXPECT_EQ(v.log, (Log{"store", "changed"})) << "only the press's selection was announced";
}

TEST(MapDragEngine, DraggingAndItsGhostStartWithTheFirstSnappedChangeAfterTheTimer) {
    DragView v(kModeSector);
    v.drag().OnPress(At(37, 29), {}); // the anchor snaps to (32, 32)
    v.drag().OnMove(At(90, 29));      // before the timer: ignored
    v.drag().OnTimer();
    for (ScreenPoint p : {At(39, 30), At(25, 38)}) { // both still snap to the anchor
        v.drag().OnMove(p);
        EXPECT_TRUE(!v.drag().dragging() && v.Ghost().empty());
    }
    v.drag().OnMove(At(41, 29)); // snaps to (48, 32)
    EXPECT_TRUE(v.drag().dragging() && !v.Ghost().empty());
    EXPECT_TRUE(v.drag().OnRelease(At(41, 29)));
    EXPECT_TRUE(v.Ghost().empty());
    EXPECT_FALSE(v.drag().OnRelease(At(64, 29))) << "a second release does nothing";
    // The snapped anchor gives a whole step; an unsnapped one would give 9, cut to 0 by the grid.
    EXPECT_EQ(v.vertices(0), (Points{{16, 0}, {80, 0}, {80, 64}, {16, 64}}));
    EXPECT_EQ(v.vertices(1), (Points{{80, 0}, {128, 0}, {128, 64}, {80, 64}}));
    EXPECT_EQ(ReferenceFindingsText(v.level()), "");
}

TEST(MapDragEngine, VertexDragTakesTheCoincidentVertexAndLandsOnTheGridLine) {
    DragView v(kModeVertex);
    EXPECT_TRUE(v.Drag(At(64, 0), {At(80, 8), At(96, 16)}));
    ASSERT_EQ(v.engine.selection().size(), 1u);
    EXPECT_EQ(v.log, (Log{"store", "paint", "changed", "changed", "erase"}));
    EXPECT_EQ(v.vertices(0), (Points{{0, 0}, {96, 16}, {64, 64}, {0, 64}}));
    EXPECT_EQ(v.vertices(1), (Points{{96, 16}, {128, 0}, {128, 64}, {64, 64}}));
    // From the off-grid corner (-3, -16) one step left: -19 goes toward zero to the line -16.
    DragView g(kModeVertex, [](CDataLevel& level) {
        level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 0, -64, -64, -3, -16));
    });
    EXPECT_TRUE(g.Drag(At(-3, -16), {At(-19, -16)}));
    EXPECT_EQ(g.vertices(0)[2], Point(-16, -16));
}

TEST(MapDragEngine, ObjectsFollowASectorDragOnlyWithMoveObjects) {
    for (const bool moveObjects : {true, false}) {
        DragView v(kModeSector);
        v.settings.m_bMoveObjects = moveObjects;
        const CDataObjectItem& inside = AddObject(v.level(), 32, 40);
        const CDataObjectItem& outside = AddObject(v.level(), 96, 32);
        v.Paint();
        ASSERT_EQ(inside.m_nSector, 0);
        EXPECT_TRUE(v.Drag(At(20, 20), {At(52, 36)}));
        EXPECT_EQ(v.vertices(0), (Points{{32, 16}, {96, 16}, {96, 80}, {32, 80}}));
        EXPECT_EQ(Point(inside.m_dX, inside.m_dZ), moveObjects ? Point(64, 56) : Point(32, 40));
        EXPECT_EQ(Point(outside.m_dX, outside.m_dZ), Point(96, 32));
        EXPECT_FALSE(v.engine.drawing().objectsDirty());
    }
    // An object drag marks the objects' sectors stale.
    DragView o(kModeObject);
    const CDataObjectItem& object = AddObject(o.level(), 32, 32);
    o.Paint();
    EXPECT_TRUE(o.Drag(At(33, 31), {At(49, 47)}));
    EXPECT_EQ(Point(object.m_dX, object.m_dZ), Point(48, 48));
    EXPECT_TRUE(o.engine.drawing().objectsDirty());
}

} // namespace
} // namespace morvi
