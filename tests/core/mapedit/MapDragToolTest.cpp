#include "mapedit/CMapEngine.h"
#include "model/LevelChecker.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using testing::BuildRoom;
using testing::BuildTwoRooms;
using testing::MakeSquareSector;

using Points = std::vector<std::pair<double, double>>;
using Log = std::vector<std::string>;
using Items = std::vector<CMapSelItem>;

// A real layout: the default device at zoom 6 gives scale 4096 (one pixel per world unit), grid
// level 4 a step of 16, and the scroll puts world (0, 0) at pixel (100, 500) of an 800 x 600
// view, so pixel x = X + 100 and y = 500 - Z exactly.
struct DragView {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
    Log log;
    Notifier<>::Connection storeWatch = doc.m_StoreEdits.Connect([this] { log.push_back("store"); });
    Notifier<>::Connection changeWatch = doc.m_SelectionChanged.Connect([this] { log.push_back("changed"); });

    explicit DragView(int mode, void (*build)(CDataLevel&) = BuildTwoRooms) {
        build(doc.level());
        doc.m_nMode = mode;
        doc.m_nZoom = 6;
        doc.m_nGridLevel = 4;
        doc.m_bGridOn = 1;
        doc.m_dScrollX = 1948;
        doc.m_dScrollZ = 1548;
        engine.viewport().RecalcLayout(MapDevice{}, ClientRect{0, 0, 800, 600});
        engine.viewport().SetVisibleRect();
        engine.m_Notify.m_Invalidate = [this](bool erase) { log.push_back(erase ? "erase" : "paint"); };
    }
    static ScreenPoint At(int x, int z) { return {x + 100, 500 - z}; }
    Points Vertices(int sector) const {
        Points points;
        for (const auto& v : doc.level().m_Lev.m_pSectors[static_cast<std::size_t>(sector)]->m_pVertices)
            points.emplace_back(v->m_dX, v->m_dZ);
        return points;
    }
    CDataObjectItem& AddObject(double x, double z) {
        auto& objects = doc.level().m_Objects.m_pObjects;
        objects.push_back(std::make_unique<CDataObjectItem>());
        objects.back()->m_dX = x;
        objects.back()->m_dY = -4;
        objects.back()->m_dZ = z;
        return *objects.back();
    }
    // Press, let the timer fire, move through the given points, release.
    bool Drag(ScreenPoint from, std::initializer_list<ScreenPoint> path) {
        engine.drag().OnPress(from, {});
        engine.drag().OnTimer();
        ScreenPoint last = from;
        for (ScreenPoint p : path) {
            engine.drag().OnMove(p);
            last = p;
        }
        return engine.drag().OnRelease(last);
    }
};

const Points kRoom0{{0, 0}, {64, 0}, {64, 64}, {0, 64}};
const Points kRoom1{{64, 0}, {128, 0}, {128, 64}, {64, 64}};

CMapSelItem Sector(int s) {
    return {s, -1, -1, -1};
}
CMapSelItem Wall(int s, int w) {
    return {s, w, -1, -1};
}
CMapSelItem Vertex(int s, int v) {
    return {s, -1, v, -1};
}
CMapSelItem Object(int o, int s) {
    return {s, -1, -1, o};
}

TEST(MapDragEngine, LayoutMapsPixelsToWholeWorldUnits) {
    DragView v(kModeSector);
    EXPECT_EQ(v.engine.viewport().m_dScale, 4096.0);
    EXPECT_EQ(v.engine.viewport().m_dGridStep, 16.0);
    EXPECT_EQ(v.engine.viewport().WorldToScreen(0, 0), (ScreenPoint{100, 500}));
    EXPECT_EQ(v.engine.viewport().WorldToScreen(-37, 21), DragView::At(-37, 21));
    EXPECT_EQ(v.engine.viewport().ScreenToWorldX(137), 37.0);
    EXPECT_EQ(v.engine.viewport().ScreenToWorldZ(479), 21.0);
}

TEST(MapDragEngine, ClickWithoutTimerNeverMovesHoweverFarTheMouseWent) {
    DragView v(kModeSector);
    v.engine.drag().OnPress(DragView::At(32, 32), {});
    ASSERT_EQ(v.engine.selection(), Items{Sector(0)});
    v.log.clear();
    v.engine.drag().OnMove(DragView::At(400, -300));
    v.engine.drag().OnMove(DragView::At(200, 200));
    EXPECT_FALSE(v.engine.drag().dragging());
    DisplayList ghost;
    v.engine.drag().DrawGhost(ghost);
    EXPECT_TRUE(ghost.empty());
    EXPECT_FALSE(v.engine.drag().OnRelease(DragView::At(200, 200)));
    EXPECT_EQ(v.Vertices(0), kRoom0);
    EXPECT_EQ(v.Vertices(1), kRoom1);
    EXPECT_TRUE(v.log.empty());
}

TEST(MapDragEngine, DragBackToThePressPointMovesNothing) {
    DragView v(kModeSector);
    v.engine.drag().OnPress(DragView::At(32, 32), {});
    v.engine.drag().OnTimer();
    v.engine.drag().OnMove(DragView::At(96, 0));
    EXPECT_TRUE(v.engine.drag().dragging());
    v.engine.drag().OnMove(DragView::At(32, 32));
    v.log.clear();
    EXPECT_FALSE(v.engine.drag().OnRelease(DragView::At(32, 32)));
    EXPECT_EQ(v.Vertices(0), kRoom0);
    EXPECT_EQ(v.Vertices(1), kRoom1);
    EXPECT_TRUE(v.log.empty());
    EXPECT_EQ(v.engine.selection(), Items{Sector(0)});
}

TEST(MapDragEngine, VertexDragTakesTheCoincidentVertexAlongAndNotifiesInOrder) {
    DragView v(kModeVertex);
    // (64, 0) is corner 1 of room 0 and corner 0 of room 1; the click keeps one of them.
    EXPECT_TRUE(v.Drag(DragView::At(64, 0), {DragView::At(80, 8), DragView::At(96, 16)}));
    ASSERT_EQ(v.engine.selection().size(), 1u);
    EXPECT_EQ(v.log, (Log{"store", "paint", "changed", "changed", "erase"}));
    EXPECT_EQ(v.Vertices(0), (Points{{0, 0}, {96, 16}, {64, 64}, {0, 64}}));
    EXPECT_EQ(v.Vertices(1), (Points{{96, 16}, {128, 0}, {128, 64}, {64, 64}}));
    EXPECT_TRUE(checkLevel(v.doc.level()).empty());

    // A second drag of the same vertex leaves the selection as it is.
    const Items before = v.engine.selection();
    v.log.clear();
    EXPECT_TRUE(v.Drag(DragView::At(96, 16), {DragView::At(96, 0)}));
    EXPECT_EQ(v.engine.selection(), before);
    EXPECT_EQ(v.log, (Log{"store", "changed", "changed", "erase"}));
    EXPECT_EQ(v.Vertices(0)[1], (std::pair<double, double>{96, 0}));
    EXPECT_EQ(v.Vertices(1)[0], (std::pair<double, double>{96, 0}));
}

TEST(MapDragEngine, VertexDragWithoutMoveVertexSeparatesTheSectors) {
    DragView v(kModeVertex);
    v.settings.m_bMoveVertex = false;
    v.engine.drag().OnPress(DragView::At(64, 64), {});
    ASSERT_EQ(v.engine.selection().size(), 1u);
    const CMapSelItem picked = v.engine.selection().front();
    v.engine.drag().OnTimer();
    v.engine.drag().OnMove(DragView::At(64, 96));
    EXPECT_TRUE(v.engine.drag().OnRelease(DragView::At(64, 96)));
    EXPECT_EQ(v.engine.selection(), Items{picked});
    Points room0 = kRoom0, room1 = kRoom1;
    (picked.m_nSector == 0 ? room0[2] : room1[3]) = {64, 96};
    EXPECT_EQ(v.Vertices(0), room0);
    EXPECT_EQ(v.Vertices(1), room1);
}

TEST(MapDragEngine, GridStepFromAnOffGridVertexLandsOnTheGridLine) {
    const auto offGridRoom = [](CDataLevel& level) {
        level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 0, 3, 0, 64, 64));
        level.m_Lev.m_pSectors.push_back(MakeSquareSector(level.m_Lev, 1, -64, -64, -3, -16));
    };
    DragView v(kModeVertex, offGridRoom);
    // The anchor snaps (3, 0) to (0, 0); the cursor at 19 snaps to 16: an offset of 16, then
    // 3 + 16 = 19 goes down to the grid line 16.
    EXPECT_TRUE(v.Drag(DragView::At(3, 0), {DragView::At(19, 0)}));
    EXPECT_EQ(v.Vertices(0)[0], (std::pair<double, double>{16, 0}));
    // From (-3, -16) left by one step: -19 truncates toward zero to -16.
    v.engine.ClearSelection();
    EXPECT_TRUE(v.Drag(DragView::At(-3, -16), {DragView::At(-19, -16)}));
    EXPECT_EQ(v.Vertices(1)[2], (std::pair<double, double>{-16, -16}));
}

TEST(MapDragEngine, OffGridPressAndOneStepMoveGiveAWholeStep) {
    DragView v(kModeSector);
    // Pressed at 37, the anchor is 32; 16 pixels on the cursor is at 53, snapped to 48. An
    // unsnapped anchor would give 11, which the grid step of the release cuts to 0.
    EXPECT_TRUE(v.Drag(DragView::At(37, 29), {DragView::At(53, 29)}));
    EXPECT_EQ(v.Vertices(0), (Points{{16, 0}, {80, 0}, {80, 64}, {16, 64}}));
    EXPECT_EQ(v.Vertices(1), (Points{{80, 0}, {128, 0}, {128, 64}, {80, 64}}));
    EXPECT_TRUE(checkLevel(v.doc.level()).empty());
}

TEST(MapDragEngine, DraggingStartsWithTheFirstSnappedChangeAfterTheTimer) {
    DragView v(kModeSector);
    EXPECT_FALSE(v.engine.drag().dragging());
    v.engine.drag().OnPress(DragView::At(37, 29), {});
    EXPECT_FALSE(v.engine.drag().dragging());
    v.engine.drag().OnMove(DragView::At(90, 29)); // before the timer: ignored
    EXPECT_FALSE(v.engine.drag().dragging());
    v.engine.drag().OnTimer();
    EXPECT_FALSE(v.engine.drag().dragging());
    v.engine.drag().OnMove(DragView::At(39, 30)); // still snaps to the anchor (32, 32)
    EXPECT_FALSE(v.engine.drag().dragging());
    v.engine.drag().OnMove(DragView::At(25, 38)); // (32, 32) again, from the other side
    EXPECT_FALSE(v.engine.drag().dragging());
    v.engine.drag().OnMove(DragView::At(41, 29)); // snaps to (48, 32)
    EXPECT_TRUE(v.engine.drag().dragging());
    v.engine.drag().OnRelease(DragView::At(41, 29));
    EXPECT_FALSE(v.engine.drag().dragging());
    EXPECT_EQ(v.Vertices(0), (Points{{16, 0}, {80, 0}, {80, 64}, {16, 64}}));
}

TEST(MapDragEngine, ObjectDragMarksTheObjectsDirty) {
    DragView v(kModeObject);
    v.AddObject(32, 32);
    DisplayList map;
    v.engine.drawing().DrawMap(map, false);
    ASSERT_FALSE(v.engine.drawing().objectsDirty());
    ASSERT_EQ(v.doc.level().m_Objects.m_pObjects[0]->m_nSector, 0);
    EXPECT_TRUE(v.Drag(DragView::At(33, 31), {DragView::At(49, 47)}));
    EXPECT_EQ(v.engine.selection(), Items{Object(0, 0)});
    const CDataObjectItem& object = *v.doc.level().m_Objects.m_pObjects[0];
    EXPECT_EQ(object.m_dX, 48);
    EXPECT_EQ(object.m_dZ, 48);
    EXPECT_TRUE(v.engine.drawing().objectsDirty());
    EXPECT_EQ(v.Vertices(0), kRoom0);
}

TEST(MapDragEngine, SectorDragTakesItsObjectsOnlyWithMoveObjects) {
    for (const bool moveObjects : {true, false}) {
        DragView v(kModeSector);
        v.settings.m_bMoveObjects = moveObjects;
        v.AddObject(32, 40);
        v.AddObject(96, 32);
        DisplayList map;
        v.engine.drawing().DrawMap(map, false);
        const auto& objects = v.doc.level().m_Objects.m_pObjects;
        ASSERT_EQ(objects[0]->m_nSector, 0);
        ASSERT_EQ(objects[1]->m_nSector, 1);
        EXPECT_TRUE(v.Drag(DragView::At(20, 20), {DragView::At(52, 36)}));
        EXPECT_EQ(v.Vertices(0), (Points{{32, 16}, {96, 16}, {96, 80}, {32, 80}}));
        using Point = std::pair<double, double>;
        const Point expected = moveObjects ? Point{64, 56} : Point{32, 40};
        EXPECT_EQ((Point{objects[0]->m_dX, objects[0]->m_dZ}), expected);
        EXPECT_EQ(objects[1]->m_dX, 96);
        EXPECT_EQ(objects[1]->m_dZ, 32);
        EXPECT_FALSE(v.engine.drawing().objectsDirty());
    }
}

TEST(MapDragEngine, RubberBandFollowsTheCursorNormalised) {
    DragView v(kModeSector);
    v.engine.drag().OnPress({50, 400}, {});
    ASSERT_TRUE(v.engine.selection().empty());
    EXPECT_EQ(v.engine.drag().rubberBand(), (ClientRect{50, 400, 50, 400}));
    v.engine.drag().OnMove({300, 550});
    EXPECT_EQ(v.engine.drag().rubberBand(), (ClientRect{50, 400, 300, 550}));
    v.engine.drag().OnMove({10, 380});
    EXPECT_EQ(v.engine.drag().rubberBand(), (ClientRect{10, 380, 50, 400}));
    v.engine.drag().OnTimer();
    v.engine.drag().OnMove({20, 390});
    EXPECT_EQ(v.engine.drag().rubberBand(), (ClientRect{20, 390, 50, 400}));
    EXPECT_FALSE(v.engine.drag().OnRelease({20, 390}));
    EXPECT_FALSE(v.engine.drag().rubberBand().has_value());
    EXPECT_TRUE(v.engine.selection().empty());
    EXPECT_EQ(v.Vertices(0), kRoom0);
}

TEST(MapDragEngine, PressOnAnItemStartsNoRubberBand) {
    DragView v(kModeSector);
    v.engine.drag().OnPress(DragView::At(32, 32), {});
    EXPECT_FALSE(v.engine.drag().rubberBand().has_value());
}

TEST(MapDragEngine, FlatRubberBandSelectsNothingWhereAThinOneSelects) {
    // Bands along the column X = 0 and the row Z = 64, each first one pixel thick, then flat.
    struct Case {
        ScreenPoint from;
        ScreenPoint to;
        Items expected;
    };
    const Case cases[] = {
        {{100, 400}, {101, 520}, {Vertex(0, 0), Vertex(0, 3)}},
        {{100, 400}, {100, 520}, {}},
        {{80, 436}, {300, 437}, {Vertex(0, 2), Vertex(0, 3), Vertex(1, 2), Vertex(1, 3)}},
        {{80, 436}, {300, 436}, {}},
        {{80, 436}, {80, 436}, {}},
    };
    for (const Case& c : cases) {
        DragView v(kModeVertex);
        v.engine.drag().OnPress(c.from, {});
        ASSERT_TRUE(v.engine.selection().empty());
        v.engine.drag().OnMove(c.to);
        EXPECT_FALSE(v.engine.drag().OnRelease(c.to));
        EXPECT_EQ(v.engine.selection(), c.expected) << c.to.x << "," << c.to.y;
    }
}

TEST(MapDragEngine, RubberBandSelectsTheModesItemsInside) {
    // Dragged up-left from below right of room 0: the band covers world X -10..75 and Z -15..70.
    const ScreenPoint from{175, 515};
    const ScreenPoint to{90, 430};
    struct Case {
        int mode;
        Items expected;
    };
    const Case cases[] = {
        {kModeSector, {Sector(0)}},
        {kModeWall, {Wall(0, 0), Wall(0, 1), Wall(0, 2), Wall(0, 3), Wall(1, 3)}},
        {kModeVertex, {Vertex(0, 0), Vertex(0, 1), Vertex(0, 2), Vertex(0, 3), Vertex(1, 0), Vertex(1, 3)}},
        {kModeObject, {Object(0, 0)}},
    };
    for (const Case& c : cases) {
        DragView v(c.mode);
        v.AddObject(32, 32);
        v.AddObject(96, 32);
        DisplayList map;
        v.engine.drawing().DrawMap(map, false);
        v.engine.drag().OnPress(from, {});
        ASSERT_TRUE(v.engine.selection().empty()) << c.mode;
        v.engine.drag().OnMove(to);
        EXPECT_FALSE(v.engine.drag().OnRelease(to));
        EXPECT_EQ(v.engine.selection(), c.expected) << c.mode;
        EXPECT_EQ(v.Vertices(0), kRoom0);
    }
}

TEST(MapDragEngine, GhostIsEmptyUntilTheDragStarts) {
    DragView v(kModeSector);
    DisplayList ghost;
    v.engine.drag().DrawGhost(ghost);
    EXPECT_TRUE(ghost.empty());
    v.engine.drag().OnPress(DragView::At(32, 32), {});
    v.engine.drag().DrawGhost(ghost);
    EXPECT_TRUE(ghost.empty());
    v.engine.drag().OnMove(DragView::At(48, 48));
    v.engine.drag().DrawGhost(ghost);
    EXPECT_TRUE(ghost.empty());
    v.engine.drag().OnTimer();
    v.engine.drag().DrawGhost(ghost);
    EXPECT_TRUE(ghost.empty());
    v.engine.drag().OnMove(DragView::At(48, 48));
    v.engine.drag().DrawGhost(ghost);
    EXPECT_FALSE(ghost.empty());
    v.engine.drag().OnRelease(DragView::At(48, 48));
    ghost.Clear();
    v.engine.drag().DrawGhost(ghost);
    EXPECT_TRUE(ghost.empty());
}

TEST(MapDragEngine, SectorGhostIsTheSelectedWallsAtTheOffset) {
    DragView v(kModeSector);
    v.engine.drag().OnPress(DragView::At(32, 32), {});
    v.engine.drag().OnPress(DragView::At(96, 32), {true, false});
    ASSERT_EQ(v.engine.selection(), (Items{Sector(0), Sector(1)}));
    v.engine.drag().OnTimer();
    // The anchor is the last press's, (96, 32).
    v.engine.drag().OnMove(DragView::At(112, 16));
    DisplayList ghost, expected, unmoved;
    v.engine.drag().DrawGhost(ghost);
    v.engine.drawing().DrawSectorWalls(expected, 0, 16, -16);
    v.engine.drawing().DrawSectorWalls(expected, 1, 16, -16);
    v.engine.drawing().DrawSectorWalls(unmoved, 0, 0, 0);
    v.engine.drawing().DrawSectorWalls(unmoved, 1, 0, 0);
    EXPECT_FALSE(ghost.empty());
    EXPECT_EQ(ghost.primitives(), expected.primitives());
    EXPECT_NE(ghost.primitives(), unmoved.primitives());
}

TEST(MapDragEngine, WallGhostIsOneRedLinePerSelectedWall) {
    DragView v(kModeWall);
    // A wall answers a click on its outer side only for these counter-clockwise rooms.
    v.engine.drag().OnPress(DragView::At(32, -2), {});
    ASSERT_EQ(v.engine.selection(), Items{Wall(0, 0)});
    v.engine.drag().OnTimer();
    v.engine.drag().OnMove(DragView::At(48, 14));
    DisplayList ghost;
    v.engine.drag().DrawGhost(ghost);
    // Wall 0 runs (0, 0) -> (64, 0); shifted by (16, 16) it is (16, 16) -> (80, 16).
    ASSERT_EQ(ghost.size(), 1u);
    const Primitive& line = ghost.primitives()[0];
    EXPECT_EQ(line.m_Kind, PrimitiveKind::Line);
    EXPECT_EQ(line.m_crColour, MapColour::kRed);
    EXPECT_EQ((std::vector<int>{line.m_nX1, line.m_nY1, line.m_nX2, line.m_nY2}),
              (std::vector<int>{116, 484, 180, 484}));
}

TEST(MapDragEngine, VertexAndObjectGhostsAreTheirMarksAtTheOffset) {
    {
        DragView v(kModeVertex);
        v.engine.drag().OnPress(DragView::At(0, 64), {});
        ASSERT_EQ(v.engine.selection(), Items{Vertex(0, 3)});
        v.engine.drag().OnTimer();
        v.engine.drag().OnMove(DragView::At(16, 48));
        DisplayList ghost, expected;
        v.engine.drag().DrawGhost(ghost);
        v.engine.drawing().DrawVertexMark(expected, 16, 48, true);
        EXPECT_FALSE(ghost.empty());
        EXPECT_EQ(ghost.primitives(), expected.primitives());
    }
    {
        DragView v(kModeObject);
        CDataObjectItem& object = v.AddObject(32, 32);
        DisplayList map;
        v.engine.drawing().DrawMap(map, false);
        v.engine.drag().OnPress(DragView::At(32, 32), {});
        ASSERT_EQ(v.engine.selection(), Items{Object(0, 0)});
        v.engine.drag().OnTimer();
        v.engine.drag().OnMove(DragView::At(0, 48));
        DisplayList ghost, expected;
        v.engine.drag().DrawGhost(ghost);
        v.engine.drawing().DrawObject(expected, object, true, -32, 16);
        EXPECT_FALSE(ghost.empty());
        EXPECT_EQ(ghost.primitives(), expected.primitives());
    }
}

TEST(MapDragEngine, ReleaseWithoutPressChangesNothing) {
    DragView v(kModeSector);
    v.engine.AddToSelection(Sector(0));
    EXPECT_FALSE(v.engine.drag().OnRelease(DragView::At(200, 200)));
    v.engine.drag().OnMove(DragView::At(100, 100));
    v.engine.drag().OnTimer();
    EXPECT_FALSE(v.engine.drag().dragging());
    EXPECT_FALSE(v.engine.drag().OnRelease(DragView::At(100, 100)));
    EXPECT_TRUE(v.log.empty());
    EXPECT_EQ(v.engine.selection(), Items{Sector(0)});
    EXPECT_EQ(v.Vertices(0), kRoom0);
    // After a completed drag a stray second release does nothing either.
    EXPECT_TRUE(v.Drag(DragView::At(32, 32), {DragView::At(48, 32)}));
    const Points moved = v.Vertices(0);
    v.log.clear();
    EXPECT_FALSE(v.engine.drag().OnRelease(DragView::At(64, 32)));
    EXPECT_EQ(v.Vertices(0), moved);
    EXPECT_TRUE(v.log.empty());
}

} // namespace
} // namespace morvi
