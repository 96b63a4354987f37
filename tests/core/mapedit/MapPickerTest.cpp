#include "mapedit/CMapEngine.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace morvi {
namespace {

using testing::MakeSquareSector;
using testing::Object;
using testing::Sector;
using testing::Vertex;
using testing::Wall;

// At scale 4096 with no scroll one pixel is one world unit: pixel x = X + 2048, y = 2048 - Z.
struct Fixture {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
    std::vector<std::string> log;
    Notifier<>::Connection storeWatch = doc.m_StoreEdits.Connect([this] { log.push_back("store"); });
    Notifier<>::Connection changeWatch = doc.m_SelectionChanged.Connect([this] { log.push_back("changed"); });

    Fixture() {
        engine.viewport().m_dScale = 4096.0;
        engine.viewport().m_rcClient = {0, 0, 4096, 4096};
        engine.m_Notify.m_Invalidate = [this](bool erase) { log.push_back(erase ? "erase" : "paint"); };
    }
    CDataLev& lev() { return doc.level().m_Lev; }
    // The game's sectors wind clockwise on the map (X right, Z up); the builders' squares wind
    // the other way unless given with the X bounds swapped.
    CDataSector& AddRoom(double x0, double z0, double x1, double z1, int layer = 0) {
        auto& sectors = lev().m_pSectors;
        sectors.push_back(MakeSquareSector(lev(), static_cast<int>(sectors.size()), x1, z0, x0, z1));
        sectors.back()->m_nLayer = layer;
        return *sectors.back();
    }
    void AddObject(double x, double z, int sector) { testing::AddObject(doc.level(), x, z, sector); }
    void Click(double x, double z, bool ctrl = false) {
        engine.picker().PickAt(engine.viewport().WorldToScreen(x, z), KeyState{ctrl, false});
    }
    std::vector<CMapSelItem> Selection() const { return engine.selection(); }
};

using Items = std::vector<CMapSelItem>;
using Log = std::vector<std::string>;

// Clicks every step-th pixel of a width x height view on the current layer and compares each
// answer with the rule; returns the clicks that hit a sector, or -1 at the first disagreement.
int PicksMatchTheRule(Fixture& f, int width, int height, int step, int offset) {
    int hits = 0;
    std::vector<ScreenPoint> polygon;
    for (int y = offset; y < height; y += step)
        for (int x = offset; x < width; x += step) {
            f.engine.ClearSelection();
            f.engine.picker().PickAt({x, y}, {});
            const int expected = testing::ReferenceSectorPick(f.engine, f.doc, {x, y}, polygon);
            const int got = f.Selection().empty() ? -1 : f.Selection().front().m_nSector;
            EXPECT_EQ(got, expected) << "layer " << f.doc.m_nCurrentLayer << " at " << x << ", " << y;
            if (got != expected) return -1;
            hits += got >= 0;
        }
    return hits;
}

// The synthetic level's largest size fitted into a 1920 x 1080 view, in sector mode.
struct LargeFixture : Fixture {
    LargeFixture() {
        testing::BuildSyntheticLevel(doc.level(), testing::SyntheticLevelOptions{});
        double minX = 1e11, maxX = -1e11, minZ = 1e11, maxZ = -1e11;
        for (const auto& s : lev().m_pSectors)
            for (const auto& v : s->m_pVertices) {
                minX = std::min(minX, v->m_dX), maxX = std::max(maxX, v->m_dX);
                minZ = std::min(minZ, v->m_dZ), maxZ = std::max(maxZ, v->m_dZ);
            }
        engine.viewport().m_rcClient = {0, 0, 1920, 1080};
        engine.viewport().m_dScale = 4096 * std::min(1920 / (maxX - minX), 1080 / (maxZ - minZ));
        const double unitsPerPixel = 4096 / engine.viewport().m_dScale;
        doc.m_dScrollX = (minX + maxX) / 2 + 2048 - 960 * unitsPerPixel;
        doc.m_dScrollZ = (engine.viewport().m_dScale - 540) * unitsPerPixel - 2048 - (minZ + maxZ) / 2;
        doc.m_nMode = kModeSector;
    }
    int ExpectPicksMatchTheRule(int step, int offset = 3) {
        return PicksMatchTheRule(*this, 1920, 1080, step, offset);
    }
    // Moves every vertex of a sector by hand, as an edit outside the engine would.
    void Shift(int sector, double dx, double dz) {
        for (auto& v : lev().m_pSectors[static_cast<std::size_t>(sector)]->m_pVertices)
            v->m_dX += dx, v->m_dZ += dz;
    }
    int PickedAt(ScreenPoint p) {
        engine.ClearSelection();
        engine.picker().PickAt(p, {});
        return Selection().empty() ? -1 : Selection().front().m_nSector;
    }
};

// A point of the view inside the sector's first loop: its first vertex nudged towards the mean.
ScreenPoint InsideOf(const CMapEngine& engine, const CDataSector& s) {
    double x = 0, z = 0;
    for (const auto& v : s.m_pVertices)
        x += v->m_dX, z += v->m_dZ;
    const double n = static_cast<double>(s.m_pVertices.size());
    return engine.viewport().WorldToScreen(x / n, z / n);
}

TEST(MapPicking, SectorPickMatchesTheRuleOnTheLargeLevel) {
    LargeFixture f;
    int hits = 0;
    for (int layer = -1; layer <= 1; ++layer) {
        f.doc.m_nCurrentLayer = layer;
        const int h = f.ExpectPicksMatchTheRule(89);
        ASSERT_GE(h, 0);
        hits += h;
    }
    // 22 x 13 clicks per layer, each layer covering a third of the level's rows, with gaps
    // between the rooms.
    EXPECT_GT(hits, 120) << hits;
}

// The grid behind picking follows a drag, a change announced from outside, a change seen only by a
// paint, and a sector added without any call.
TEST(MapPicking, SectorPickFollowsDragsAndOutsideEdits) {
    LargeFixture f;
    CDataSector& moved = *f.lev().m_pSectors[1500];
    f.doc.m_nCurrentLayer = moved.m_nLayer;
    const ScreenPoint from = InsideOf(f.engine, moved);
    ASSERT_EQ(f.PickedAt(from), 1500); // the grid is built here
    // Dragged 400 pixels right and 150 down, beyond where it was listed.
    f.engine.drag().OnPress(from, {});
    f.engine.drag().OnTimer();
    f.engine.drag().OnMove({from.x + 200, from.y + 80});
    f.engine.drag().OnMove({from.x + 400, from.y + 150});
    ASSERT_TRUE(f.engine.drag().OnRelease({from.x + 400, from.y + 150}));
    EXPECT_EQ(f.PickedAt(InsideOf(f.engine, moved)), 1500);
    EXPECT_GE(f.ExpectPicksMatchTheRule(89, 5), 0);
    // Moved far outside the level's bounds, then announced.
    f.Shift(1500, 3000, -500);
    f.engine.picker().MarkGeometryDirty();
    EXPECT_EQ(f.PickedAt(InsideOf(f.engine, moved)), 1500);
    EXPECT_GE(f.ExpectPicksMatchTheRule(113, 11), 0);
    // Moved back and only repainted: the paint notices the changed box.
    f.Shift(1500, -3000, 500);
    DisplayList list;
    f.engine.Draw(list, MapDevice{});
    EXPECT_EQ(f.PickedAt(InsideOf(f.engine, moved)), 1500);
    EXPECT_GE(f.ExpectPicksMatchTheRule(113, 11), 0);
    // A small sector added in the middle is found without any call: the count changed.
    const double cx = f.engine.viewport().ScreenToWorldX(960), cz = f.engine.viewport().ScreenToWorldZ(540);
    f.AddRoom(cx - 20, cz - 20, cx + 20, cz + 20, f.doc.m_nCurrentLayer);
    EXPECT_EQ(f.PickedAt({960, 540}), static_cast<int>(f.lev().m_pSectors.size()) - 1);
}

TEST(MapPicking, CoincidentWallsAnswerFromTheClicksSide) {
    Fixture f;
    f.doc.m_nMode = kModeWall;
    // Room 0 wall 3 runs (64,64)->(64,0), room 1 wall 1 runs (64,0)->(64,64).
    f.AddRoom(0, 0, 64, 64);
    f.AddRoom(64, 0, 128, 64);
    f.Click(62, 32);
    EXPECT_EQ(f.Selection(), Items{Wall(0, 3)});
    f.Click(66, 32);
    EXPECT_EQ(f.Selection(), Items{Wall(1, 1)});
    // The side is the wall's own: the builder's rooms wind the other way and answer across.
    Fixture g;
    g.doc.m_nMode = kModeWall;
    testing::BuildTwoRooms(g.doc.level());
    g.Click(62, 32);
    EXPECT_EQ(g.Selection(), Items{Wall(1, 3)});
}

TEST(MapPicking, WallsAndVerticesAnswerWithinTenPixels) {
    Fixture f;
    f.doc.m_nMode = kModeWall;
    f.AddRoom(0, 0, 64, 64); // wall 1 is the left side X = 0, vertex 1 the corner (0, 0)
    // -2 and -3: behind the wall, which faces in; -2 is within the two pixels a drawn wall takes.
    const std::pair<double, bool> walls[] = {{9, true}, {10, false}, {-2, true}, {-3, false}};
    for (const auto& [x, hit] : walls) {
        f.Click(x, 32);
        EXPECT_EQ(f.Selection(), hit ? Items{Wall(0, 1)} : Items{}) << x;
    }
    f.doc.m_nMode = kModeVertex;
    f.engine.picker().PickAt({2054, 2056}, {}); // (2048, 2048) is 10 pixels away
    EXPECT_TRUE(f.Selection().empty());
    f.engine.picker().PickAt({2057, 2052}, {}); // sqrt(97)
    EXPECT_EQ(f.Selection(), Items{Vertex(0, 1)});
}

// An object's square keeps a clickable size zoomed out and its world size zoomed in; a click on
// its drawn edge picks it, one pixel beyond does not.
TEST(MapPicking, ObjectsAnswerOnTheirDrawnSquare) {
    for (const auto& [zoom, side] : {std::pair{0, 9}, {14, 49}}) {
        testing::EngineView v(kModeObject);
        testing::AddObject(v.level(), 10, 20);
        v.doc.m_nZoom = zoom;
        v.engine.viewport().RecalcLayout(MapDevice{}, ClientRect{0, 0, 800, 600});
        v.engine.viewport().CenterOn(10, 20);
        DisplayList list;
        v.engine.drawing().DrawMap(list, false);
        const auto square = list.points(list.primitives().at(0)); // without its right and bottom edges
        const int l = square[0].x, r = square[2].x - 1, y = square[0].y + 2;
        EXPECT_EQ(r - l + 1, side) << zoom;
        for (const auto& [x, hit] : {std::pair{l, true}, {l - 1, false}, {r, true}, {r + 1, false}}) {
            v.engine.picker().PickAt({x, y}, {});
            EXPECT_EQ(v.engine.selection().size(), hit ? 1u : 0u) << zoom << " at " << x;
        }
    }
}

// A plain click on a selected item keeps the selection, so that a drag can start there.
TEST(MapPicking, CtrlTogglesAndPlainClicksReplace) {
    Fixture f;
    testing::BuildTwoRooms(f.doc.level());
    const struct {
        double x;
        bool ctrl;
        Items expected;
        Log log;
    } clicks[] = {
        {32, false, {Sector(0)}, {"store", "paint", "changed"}},
        {96, true, {Sector(0), Sector(1)}, {"store", "paint", "changed"}},
        {32, false, {Sector(0), Sector(1)}, {"store", "changed"}},
        {32, true, {Sector(1)}, {"store", "erase", "changed"}},
        {500, true, {Sector(1)}, {"store", "changed"}},
        {500, false, {}, {"store", "erase", "changed"}},
    };
    for (const auto& c : clicks) {
        f.log.clear();
        f.Click(c.x, 32, c.ctrl);
        EXPECT_EQ(f.Selection(), c.expected) << c.x << (c.ctrl ? " ctrl" : "");
        EXPECT_EQ(f.log, c.log) << c.x << (c.ctrl ? " ctrl" : "");
    }
}

TEST(MapPicking, RubberBandWallsVerticesAndObjectsOfTheShownLayers) {
    Fixture f;
    f.AddRoom(0, 0, 64, 64);
    f.AddRoom(0, 100, 64, 164, 1);
    f.AddObject(32, 32, 0);
    f.AddObject(32, 132, 1);
    f.AddObject(32, 90, -1);
    // X from -5 up to 33 (excluded), Z from 200 down to -5: the rooms' sides at X = 0.
    const ClientRect band{f.engine.viewport().WorldToScreenX(-5), f.engine.viewport().WorldToScreenY(200),
                          f.engine.viewport().WorldToScreenX(33), f.engine.viewport().WorldToScreenY(-5)};
    const struct {
        int mode;
        bool allLayers;
        Items expected;
    } cases[] = {
        {kModeWall, false, {Wall(0, 1)}},
        {kModeVertex, true, {Vertex(0, 1), Vertex(0, 2), Vertex(1, 1), Vertex(1, 2)}},
        {kModeObject, false, {Object(0, 0), Object(2, -1)}},
        {kModeObject, true, {Object(0, 0), Object(1, 1), Object(2, -1)}},
    };
    for (const auto& c : cases) {
        f.engine.ClearSelection();
        f.doc.m_nMode = c.mode;
        f.doc.m_bAllLayers = c.allLayers;
        f.engine.picker().RubberBandSelect(band);
        EXPECT_EQ(f.Selection(), c.expected) << c.mode << " " << c.allLayers;
    }
}

} // namespace
} // namespace morvi

namespace morvi {
namespace {

// From wall to sector mode the walls' sectors stay selected, each once; from sector to wall mode
// nothing does (a sector names no one wall); vertex and object modes start empty.
TEST(MapPicking, ModeSwitchKeepsWhatStillMakesSense) {
    struct Case {
        int from, to;
        std::vector<CMapSelItem> before, after;
    };
    const Case cases[] = {
        {kModeWall,
         kModeSector,
         {testing::Wall(1, 0), testing::Wall(0, 2), testing::Wall(1, 3)},
         {testing::Sector(1), testing::Sector(0)}},
        {kModeSector, kModeWall, {testing::Sector(1)}, {}},
        {kModeWall, kModePerspective, {testing::Wall(1, 0)}, {testing::Wall(1, 0)}},
        {kModeSector, kModeVertex, {testing::Sector(1)}, {}},
    };
    for (const Case& c : cases) {
        testing::EngineView v(c.from, testing::BuildTwoRooms);
        v.Select(c.before);
        ASSERT_TRUE(v.engine.picker().SetMode(c.to));
        EXPECT_EQ(v.engine.selection(), c.after) << c.from << " -> " << c.to;
    }
}

} // namespace
} // namespace morvi
