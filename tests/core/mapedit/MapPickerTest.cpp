#include "mapedit/CMapEngine.h"
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
    CDataObjectItem& AddObject(double x, double z, int sector) {
        auto& objects = doc.level().m_Objects.m_pObjects;
        objects.push_back(std::make_unique<CDataObjectItem>());
        objects.back()->m_dX = x;
        objects.back()->m_dZ = z;
        objects.back()->m_nSector = sector;
        return *objects.back();
    }
    void Click(double x, double z, bool ctrl = false) {
        engine.picker().PickAt(engine.viewport().WorldToScreen(x, z), KeyState{ctrl, false});
    }
    std::vector<CMapSelItem> Selection() const { return engine.selection(); }
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
CMapSelItem Object(int o, int s) {
    return {s, -1, -1, o};
}
using Items = std::vector<CMapSelItem>;
using Log = std::vector<std::string>;

void AddLoop(CDataSector& sector, const std::vector<std::pair<double, double>>& points) {
    const int first = static_cast<int>(sector.m_pVertices.size());
    const int n = static_cast<int>(points.size());
    for (const auto& [x, z] : points)
        sector.m_pVertices.push_back(std::make_unique<CDataVertex>(x, z));
    for (int i = 0; i < n; ++i) {
        auto wall = std::make_unique<CDataWall>();
        wall->m_nIndex = static_cast<int>(sector.m_pWalls.size());
        wall->m_nLeft = first + i;
        wall->m_nRight = first + (i + 1) % n;
        sector.m_pWalls.push_back(std::move(wall));
    }
}

TEST(MapPicking, SectorClickPrefersTheNearestOutlineOnTheCurrentLayer) {
    Fixture f;
    f.AddRoom(0, 0, 128, 128);
    f.AddRoom(40, 40, 60, 60);
    f.Click(50, 50);
    EXPECT_EQ(f.Selection(), Items{Sector(1)});
    f.Click(100, 100);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    // Equal scores: the higher index wins.
    f.AddRoom(40, 40, 60, 60);
    f.Click(50, 50);
    EXPECT_EQ(f.Selection(), Items{Sector(2)});
    // Other layers are never clicked, even with all layers shown.
    f.lev().m_pSectors[1]->m_nLayer = 1;
    f.lev().m_pSectors[2]->m_nLayer = 1;
    f.doc.m_bAllLayers = 1;
    f.Click(50, 50);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    f.Click(500, 500);
    EXPECT_TRUE(f.Selection().empty());
}

TEST(MapPicking, IslandIsPickedOnlyThroughItsFirstLoop) {
    Fixture f;
    testing::BuildRoomWithPillar(f.doc.level());
    f.Click(64, 64);
    EXPECT_EQ(f.Selection(), Items{Sector(1)});
    f.Click(20, 20);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    // A sector whose first loop lies elsewhere is not found inside its second loop.
    Fixture g;
    g.AddRoom(0, 0, 128, 128);
    CDataSector& odd = g.AddRoom(200, 200, 210, 210);
    AddLoop(odd, {{40, 40}, {40, 60}, {60, 60}, {60, 40}});
    g.Click(50, 50);
    EXPECT_EQ(g.Selection(), Items{Sector(0)});
    g.Click(205, 205);
    EXPECT_EQ(g.Selection(), Items{Sector(1)});
}

// The sector rule taken literally, every sector's polygon tested: picking must give the same
// answers however it narrows the search.
int ReferenceSectorPick(const CMapEngine& engine, const CMorviDoc& doc, ScreenPoint point) {
    const auto& sectors = doc.level().m_Lev.m_pSectors;
    double best = std::numeric_limits<double>::infinity();
    int found = -1;
    for (int i = static_cast<int>(sectors.size()) - 1; i >= 0; --i) {
        const CDataSector& sector = *sectors[static_cast<std::size_t>(i)];
        if (sector.m_nLayer != doc.m_nCurrentLayer) continue;
        std::vector<ScreenPoint> polygon;
        for (int w = 0; w < MapDrawing::FirstLoopLength(sector); ++w) {
            const CDataVertex& v = *sector.m_pVertices[static_cast<std::size_t>(
                sector.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft)];
            polygon.push_back(engine.viewport().WorldToScreen(v.m_dX, v.m_dZ));
        }
        if (!MapPicker::PointInPolygon(polygon, point)) continue;
        double score = 0;
        for (ScreenPoint p : polygon)
            score += std::hypot(p.x - point.x, p.y - point.y);
        if (score < best) {
            best = score;
            found = i;
        }
    }
    return found;
}

TEST(MapPicking, SectorPickMatchesTheRuleOnEveryPolygon) {
    Fixture f;
    testing::BuildSyntheticLevel(f.doc.level(), testing::SyntheticLevelOptions::Small());
    f.engine.viewport().m_dScale = 1536.0;
    f.doc.m_dScrollX = 100;
    f.doc.m_dScrollZ = 60;
    int hits = 0;
    for (int layer = -1; layer <= 1; ++layer) {
        f.doc.m_nCurrentLayer = layer;
        for (int y = 0; y < 1536; y += 17) {
            for (int x = 0; x < 1536; x += 17) {
                f.engine.ClearSelection();
                f.engine.picker().PickAt({x, y}, {});
                const int expected = ReferenceSectorPick(f.engine, f.doc, {x, y});
                const int got = f.Selection().empty() ? -1 : f.Selection().front().m_nSector;
                ASSERT_EQ(got, expected) << "layer " << layer << " at " << x << ", " << y;
                hits += got >= 0;
            }
        }
    }
    EXPECT_GT(hits, 5000) << hits;
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
    // Every step-th pixel of the view on the current layer; returns the clicks that hit.
    int ExpectPicksMatchTheRule(int step, int offset = 3) {
        int hits = 0;
        for (int y = offset; y < 1080; y += step)
            for (int x = offset; x < 1920; x += step) {
                engine.ClearSelection();
                engine.picker().PickAt({x, y}, {});
                const int expected = ReferenceSectorPick(engine, doc, {x, y});
                const int got = Selection().empty() ? -1 : Selection().front().m_nSector;
                EXPECT_EQ(got, expected) << "layer " << doc.m_nCurrentLayer << " at " << x << ", " << y;
                if (got != expected) return -1;
                hits += got >= 0;
            }
        return hits;
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

TEST(MapPicking, SectorPickFollowsAnEngineDrag) {
    LargeFixture f;
    CDataSector& moved = *f.lev().m_pSectors[1500];
    f.doc.m_nCurrentLayer = moved.m_nLayer;
    const ScreenPoint from = InsideOf(f.engine, moved);
    ASSERT_EQ(f.PickedAt(from), 1500); // the grid is built here
    const double x0 = moved.m_pVertices[0]->m_dX;
    // Dragged 400 pixels right and 150 down, beyond where it was listed.
    f.engine.drag().OnPress(from, {});
    f.engine.drag().OnTimer();
    f.engine.drag().OnMove({from.x + 200, from.y + 80});
    f.engine.drag().OnMove({from.x + 400, from.y + 150});
    ASSERT_TRUE(f.engine.drag().OnRelease({from.x + 400, from.y + 150}));
    ASSERT_NE(moved.m_pVertices[0]->m_dX, x0);
    EXPECT_EQ(f.PickedAt(InsideOf(f.engine, moved)), 1500);
    EXPECT_GE(f.ExpectPicksMatchTheRule(89, 5), 0);
}

TEST(MapPicking, SectorPickAfterOutsideEdits) {
    LargeFixture f;
    f.doc.m_nCurrentLayer = 0;
    ASSERT_GE(f.ExpectPicksMatchTheRule(151), 0);
    // Moved far outside the level's bounds, then announced.
    int target = -1;
    for (std::size_t i = 0; i < f.lev().m_pSectors.size() && target < 0; ++i)
        if (f.lev().m_pSectors[i]->m_nLayer == 0) target = static_cast<int>(i);
    ASSERT_GE(target, 0);
    f.Shift(target, 3000, -500);
    f.engine.picker().MarkGeometryDirty();
    const CDataSector& s = *f.lev().m_pSectors[static_cast<std::size_t>(target)];
    EXPECT_EQ(f.PickedAt(InsideOf(f.engine, s)), target);
    EXPECT_GE(f.ExpectPicksMatchTheRule(113, 11), 0);
    // Moved back and only repainted: the paint notices the changed box.
    f.Shift(target, -3000, 500);
    DisplayList list;
    f.engine.Draw(list, MapDevice{});
    EXPECT_EQ(f.PickedAt(InsideOf(f.engine, s)), target);
    EXPECT_GE(f.ExpectPicksMatchTheRule(113, 11), 0);
    // A small sector added in the middle is found without any call: the count changed.
    const double cx = f.engine.viewport().ScreenToWorldX(960), cz = f.engine.viewport().ScreenToWorldZ(540);
    f.AddRoom(cx - 20, cz - 20, cx + 20, cz + 20, 0);
    EXPECT_EQ(f.PickedAt({960, 540}), static_cast<int>(f.lev().m_pSectors.size()) - 1);
    EXPECT_GE(f.ExpectPicksMatchTheRule(113, 11), 0);
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

TEST(MapPicking, WallToleranceIsTenPixelsInsideTheWallsBox) {
    Fixture f;
    f.doc.m_nMode = kModeWall;
    f.AddRoom(0, 0, 64, 64); // wall 1 is the left side X = 0
    f.Click(9, 32);
    EXPECT_EQ(f.Selection(), Items{Wall(0, 1)});
    f.Click(10, 32);
    EXPECT_TRUE(f.Selection().empty());
    f.Click(-3, 32); // outside the room: the wall faces the other way
    EXPECT_TRUE(f.Selection().empty());
    // At scale 512 ten pixels are 80 world units; the click lands on (16, 32).
    f.engine.viewport().m_dScale = 512.0;
    f.Click(20, 30);
    EXPECT_EQ(f.Selection(), Items{Wall(0, 1)});
}

TEST(MapPicking, VertexUnderTenIntegerPixels) {
    Fixture f;
    f.doc.m_nMode = kModeVertex;
    f.AddRoom(0, 0, 64, 64); // vertex 1 at (0,0), pixel (2048, 2048)
    f.engine.picker().PickAt({2054, 2056}, {});
    EXPECT_TRUE(f.Selection().empty());
    f.engine.picker().PickAt({2057, 2052}, {}); // sqrt(97)
    EXPECT_EQ(f.Selection(), Items{Vertex(0, 1)});
    // The vertex's pixel is truncated: 9.99 pixels in the world become 10 on screen.
    Fixture g;
    g.doc.m_nMode = kModeVertex;
    g.engine.viewport().m_dScale = 512.0;
    g.AddRoom(-79.9, 0, -300, -64); // vertex 1 at pixel (246, 256), the others far
    g.engine.picker().PickAt({256, 256}, {});
    EXPECT_TRUE(g.Selection().empty());
    g.engine.picker().PickAt({255, 256}, {});
    EXPECT_EQ(g.Selection(), Items{Vertex(0, 1)});
}

TEST(MapPicking, VertexClickDropsCoincidentEntries) {
    Fixture f;
    f.doc.m_nMode = kModeVertex;
    testing::BuildTwoRooms(f.doc.level());
    f.Click(64, 0); // sector 0 vertex 1 and sector 1 vertex 0 lie there: the first one answers
    EXPECT_EQ(f.Selection(), Items{Vertex(0, 1)});
    f.engine.ClearSelection();
    const ScreenPoint p = f.engine.viewport().WorldToScreen(64, 0);
    f.engine.picker().RubberBandSelect({p.x - 2, p.y - 2, p.x + 2, p.y + 2});
    ASSERT_EQ(f.Selection(), (Items{Vertex(0, 1), Vertex(1, 0)}));
    f.log.clear();
    f.Click(0, 0, true);
    EXPECT_EQ(f.Selection(), (Items{Vertex(0, 1), Vertex(0, 0)}));
    EXPECT_EQ(f.log, (Log{"store", "erase", "changed"}));
}

TEST(MapPicking, CtrlTogglesAndPlainClicksReplace) {
    Fixture f;
    testing::BuildTwoRooms(f.doc.level());
    f.Click(32, 32);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    EXPECT_EQ(f.log, (Log{"store", "paint", "changed"}));
    f.log.clear();
    f.Click(96, 32, true);
    EXPECT_EQ(f.Selection(), (Items{Sector(0), Sector(1)}));
    EXPECT_EQ(f.log, (Log{"store", "paint", "changed"}));
    f.log.clear();
    f.Click(32, 32); // a plain click on a selected item keeps all, so a drag can start there
    EXPECT_EQ(f.Selection(), (Items{Sector(0), Sector(1)}));
    EXPECT_EQ(f.log, (Log{"store", "changed"}));
    f.log.clear();
    f.Click(32, 32, true);
    EXPECT_EQ(f.Selection(), Items{Sector(1)});
    EXPECT_EQ(f.log, (Log{"store", "erase", "changed"}));
    f.log.clear();
    f.Click(32, 32);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    EXPECT_EQ(f.log, (Log{"store", "erase", "changed"}));
    f.log.clear();
    f.Click(500, 500, true);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    EXPECT_EQ(f.log, (Log{"store", "changed"}));
    f.log.clear();
    f.Click(500, 500);
    EXPECT_TRUE(f.Selection().empty());
    EXPECT_EQ(f.log, (Log{"store", "erase", "changed"}));
    f.log.clear();
    f.Click(500, 500);
    EXPECT_EQ(f.log, (Log{"store", "changed"}));
}

TEST(MapPicking, ObjectsOfOtherLayersCannotBeClicked) {
    Fixture f;
    f.doc.m_nMode = kModeObject;
    f.AddRoom(0, 0, 64, 64);
    f.AddRoom(100, 0, 164, 64, 1);
    f.AddObject(120, 20, 1);
    f.AddObject(300, 300, -1);
    f.AddObject(20, 20, 0);
    f.AddObject(24, 20, 0); // four pixels right of object 2: object 2 is nearer to (21, 20)
    f.doc.m_bAllLayers = 1;
    f.Click(120, 20);
    EXPECT_TRUE(f.Selection().empty());
    f.Click(303, 300);
    EXPECT_EQ(f.Selection(), Items{Object(1, -1)});
    f.Click(21, 20);
    EXPECT_EQ(f.Selection(), Items{Object(2, 0)});
    f.Click(24, 21);
    EXPECT_EQ(f.Selection(), Items{Object(3, 0)});
}

TEST(MapPicking, RubberBandSectorsNeedEveryVertexInsideAndVisible) {
    Fixture f;
    f.AddRoom(0, 0, 64, 64);
    f.AddRoom(100, 0, 164, 64);
    f.AddRoom(200, 0, 264, 64);
    f.AddRoom(0, 100, 64, 164, 1);
    // The band is half open: its right edge at room 2's right side (pixel 2312) leaves it out.
    const ScreenPoint topLeft = f.engine.viewport().WorldToScreen(-10, 200);
    const ScreenPoint rightEdge = f.engine.viewport().WorldToScreen(264, 0);
    const ClientRect band{rightEdge.x, rightEdge.y + 1, topLeft.x, topLeft.y}; // given the wrong way round
    f.engine.viewport().m_dVisRight = 163.99;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    EXPECT_EQ(f.log, Log{"paint"});
    f.engine.ClearSelection();
    f.engine.viewport().m_dVisRight = 164;
    f.doc.m_bAllLayers = 1;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), (Items{Sector(0), Sector(1), Sector(3)}));
    f.log.clear();
    f.engine.ClearSelection();
    f.engine.picker().RubberBandSelect({0, 0, 10, 10});
    EXPECT_TRUE(f.Selection().empty());
    EXPECT_TRUE(f.log.empty());
}

TEST(MapPicking, RubberBandWallsVerticesAndObjects) {
    Fixture f;
    f.AddRoom(0, 0, 64, 64);
    f.AddRoom(0, 100, 64, 164, 1);
    f.AddObject(32, 32, 0);
    f.AddObject(32, 132, 1);
    f.AddObject(32, 90, -1);
    // X from -5 up to 33 (excluded), Z from 200 down to -5: the rooms' sides at X = 0.
    const ClientRect band{f.engine.viewport().WorldToScreenX(-5), f.engine.viewport().WorldToScreenY(200),
                          f.engine.viewport().WorldToScreenX(33), f.engine.viewport().WorldToScreenY(-5)};
    f.doc.m_nMode = kModeWall;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), Items{Wall(0, 1)}); // X = 0 side, (0,0)->(0,64)
    f.engine.ClearSelection();
    f.doc.m_nMode = kModeVertex;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), (Items{Vertex(0, 1), Vertex(0, 2)}));
    f.engine.ClearSelection();
    f.doc.m_nMode = kModeObject;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), (Items{Object(0, 0), Object(2, -1)}));
    f.engine.ClearSelection();
    f.doc.m_bAllLayers = 1;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), (Items{Object(0, 0), Object(1, 1), Object(2, -1)}));
    f.engine.ClearSelection();
    f.doc.m_nMode = kModeVertex;
    f.engine.picker().RubberBandSelect(band);
    EXPECT_EQ(f.Selection(), (Items{Vertex(0, 1), Vertex(0, 2), Vertex(1, 1), Vertex(1, 2)}));
}

TEST(MapPicking, ModeChangesKeepOnlyWhatTheNewModeShows) {
    Fixture f;
    testing::BuildTwoRooms(f.doc.level());
    f.Click(32, 32);
    EXPECT_FALSE(f.engine.picker().SetMode(kModeSector));
    EXPECT_TRUE(f.engine.picker().SetMode(kModePerspective));
    EXPECT_TRUE(f.engine.picker().SetMode(kModeSector));
    EXPECT_EQ(f.Selection(), Items{Sector(0)});
    EXPECT_TRUE(f.engine.picker().SetMode(kModeVertex));
    EXPECT_TRUE(f.Selection().empty());
    EXPECT_TRUE(f.engine.picker().SetMode(kModeSector));
    f.Click(32, 32);
    EXPECT_TRUE(f.engine.picker().SetMode(kModeWall));
    EXPECT_TRUE(f.Selection().empty());
    f.Click(62, 32);
    ASSERT_EQ(f.Selection().size(), 1U);
    EXPECT_TRUE(f.engine.picker().SetMode(kModePerspective));
    EXPECT_TRUE(f.engine.picker().SetMode(kModeWall));
    EXPECT_EQ(f.Selection().size(), 1U);
    EXPECT_TRUE(f.engine.picker().SetMode(kModeSector));
    EXPECT_TRUE(f.Selection().empty());
    EXPECT_EQ(f.doc.m_nMode, kModeSector);
    EXPECT_FALSE(f.engine.picker().SetMode(7));
    EXPECT_EQ(f.doc.m_nMode, kModeSector);
}

TEST(MapPicking, StatusPanesNameModeToolOrFirstEntry) {
    Fixture f;
    testing::BuildTwoRooms(f.doc.level());
    f.lev().m_pSectors[1]->m_strName = "door";
    using Panes = std::pair<std::string, std::string>;
    f.doc.m_nTool = kToolSkiesPits;
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Sector mode", "Skies & Pits"}));
    f.doc.m_nTool = kToolAmbiance;
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Sector mode", "Ambiance"}));
    f.Click(96, 32);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Sector 1", "door"}));
    f.engine.picker().SetMode(kModeWall);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Wall mode", ""}));
    f.Click(62, 32);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"door", "Wall 3"}));
    f.engine.picker().SetMode(kModeVertex);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Vertex mode", ""}));
    f.Click(128, 64);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"door", "Vertex 2"}));
    f.engine.picker().SetMode(kModeObject);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Object mode", ""}));
    CDataObjectItem& o = f.AddObject(10, 10, 0);
    o.m_strClass = "SPIRIT";
    o.m_strData = "sTORMfin.WAX";
    f.Click(10, 10);
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Spirit", "Stormfin.wax"}));
    o.m_strData.clear();
    EXPECT_EQ(f.engine.picker().StatusPanes(), (Panes{"Spirit", ""}));
}

} // namespace
} // namespace morvi
