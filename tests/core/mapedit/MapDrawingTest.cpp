#include "mapedit/CMapEngine.h"

#include "properties/ItemProperties.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::MakeSquareSector;
using Colours = std::vector<std::uint32_t>;
using Points = std::vector<ScreenPoint>;

// One world unit per pixel: a world point (x, z) lands on pixel (x + 100, 200 - z), and the
// visible world rectangle (the client widened by 10 pixels) is X -110..910, Z -110..210.
struct Fixture {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine{doc, settings};
    DisplayList list;

    Fixture() {
        engine.viewport().m_dScale = 4096;
        engine.viewport().m_rcClient = {0, 0, 1000, 300};
        doc.m_dScrollX = 1948;
        doc.m_dScrollZ = 1848;
        doc.m_bGridOn = 0;
    }
    CDataLevel& level() { return doc.level(); }
    CDataSector& AddSquare(double x0, double z0, double x1, double z1) {
        auto& sectors = level().m_Lev.m_pSectors;
        sectors.push_back(MakeSquareSector(level().m_Lev, static_cast<int>(sectors.size()), x0, z0, x1, z1));
        return *sectors.back();
    }
    const DisplayList& Map() {
        list.Clear();
        engine.drawing().DrawMap(list, false);
        return list;
    }
};

void Adjoin(CDataLevel& level, int s1, int w1, int s2, int w2) {
    CDataWall& a =
        *level.m_Lev.m_pSectors[static_cast<std::size_t>(s1)]->m_pWalls[static_cast<std::size_t>(w1)];
    CDataWall& b =
        *level.m_Lev.m_pSectors[static_cast<std::size_t>(s2)]->m_pWalls[static_cast<std::size_t>(w2)];
    a.m_nAdjoin = a.m_nWalk = s2;
    a.m_nMirror = w2;
    b.m_nAdjoin = b.m_nWalk = s1;
    b.m_nMirror = w1;
}

void Sign(CDataSector& sector, int wall) {
    sector.m_pWalls[static_cast<std::size_t>(wall)]->m_Sign.m_nTexture = 0;
}

// The colours of the lines drawn for wall `wall` of a 64-unit square at x0 on the Z = 0 row
// (0 bottom, 1 right, 2 top, 3 left), in drawing order.
Colours WallColours(const DisplayList& list, int x0, int wall) {
    const int l = x0 + 100, r = x0 + 164;
    const int ends[4][4] = {{l, 200, r, 200}, {r, 200, r, 136}, {r, 136, l, 136}, {l, 136, l, 200}};
    const int* e = ends[wall];
    Colours colours;
    for (const Primitive& p : list.primitives())
        if (p.m_Kind == PrimitiveKind::Line && p.m_nX1 == e[0] && p.m_nY1 == e[1] && p.m_nX2 == e[2] &&
            p.m_nY2 == e[3])
            colours.push_back(p.m_crColour);
    return colours;
}

std::vector<Primitive> OfKind(const DisplayList& list, PrimitiveKind kind) {
    std::vector<Primitive> result;
    std::copy_if(list.primitives().begin(), list.primitives().end(), std::back_inserter(result),
                 [kind](const Primitive& p) { return p.m_Kind == kind; });
    return result;
}

Points Corners(const DisplayList& list, const Primitive& polygon) {
    const auto points = list.points(polygon);
    return Points(points.begin(), points.end());
}

TEST(MapDrawing, WallPensFollowTheRulesInTheirOrder) {
    Fixture f;
    CDataSector& door = f.AddSquare(0, 0, 64, 64); // 0
    door.m_nFlags1 = kSectorDoor;
    Sign(door, 0);
    CDataSector& lift = f.AddSquare(100, 0, 164, 64); // 1
    lift.m_strName = "lift";
    Sign(lift, 1);
    AddItem(f.level().m_Inf, "sector", "LIFT", -1, {"class:\televator move_floor", "speed:\t20"});
    Sign(f.AddSquare(200, 0, 264, 64), 0); // 2
    Sign(f.AddSquare(264, 0, 328, 64), 3); // 3
    Adjoin(f.level(), 2, 1, 3, 3);
    f.AddSquare(400, 0, 464, 64); // 4
    f.AddSquare(464, 0, 528, 64); // 5
    Adjoin(f.level(), 4, 1, 5, 3);
    CDataSector& secret = f.AddSquare(600, 0, 664, 64); // 6
    secret.m_nFlags1 = kSectorSecret;
    Sign(secret, 0);
    CDataSector& upstairs = f.AddSquare(700, 0, 764, 64); // 7
    upstairs.m_nLayer = 1;
    upstairs.m_nFlags1 = kSectorDoor;
    Adjoin(f.level(), 1, 3, 0, 1); // the elevator's adjoined wall, whose mirror has no sign
    f.doc.m_bAllLayers = 1;
    f.engine.AddToSelection({5, -1, -1, -1});

    const DisplayList& list = f.Map();
    const struct {
        int x0, wall;
        Colours expected;
    } cases[] = {
        {0, 0, {MapColour::kYellow}},   // door flag before the sign
        {100, 0, {MapColour::kYellow}}, // elevator, solid
        {100, 3, {MapColour::kYellow}}, // elevator, adjoined
        {100, 1, {MapColour::kCyan}},   // elevator's sign wall
        {200, 0, {MapColour::kCyan}},   // own sign
        {200, 1, {MapColour::kCyan}},   // the mirror's sign
        {200, 2, {MapColour::kGreen}},
        {400, 1, {MapColour::kDarkGreen}},
        {464, 3, {MapColour::kRed, MapColour::kRed}}, // selected: drawn again on top of the neighbour
        {600, 0, {MapColour::kMagenta}},
        {700, 0, {MapColour::kGrey}}, // another layer beats the door
    };
    for (const auto& c : cases)
        EXPECT_EQ(WallColours(list, c.x0, c.wall), c.expected) << "square " << c.x0 << " wall " << c.wall;
    // The selection's red walls are two pixels wide, in sector and in wall mode; the rest one.
    for (const Primitive& p : OfKind(list, PrimitiveKind::Line))
        EXPECT_EQ(p.m_nWidth, p.m_crColour == MapColour::kRed ? 2 : 1);
    f.doc.m_nMode = kModeWall;
    f.doc.selection() = {testing::Wall(0, 2)};
    EXPECT_EQ(std::ranges::count(OfKind(f.Map(), PrimitiveKind::Line), 2, &Primitive::m_nWidth), 1);
}

// A print fills the page on the level's limiting side, centred, even for a level reaching the
// world's edges on a page wider than the world.
TEST(MapDrawing, PrintFitsTheLevelToThePage) {
    Fixture f;
    f.AddSquare(-2000, -300, -1900, -200);
    f.AddSquare(1900, 200, 2000, 300);
    for (const ClientRect& page : {ClientRect{0, 0, 4760, 6814}, ClientRect{0, 0, 6000, 500}}) {
        DisplayList list;
        f.engine.drawing().DrawPrint(list, MapDevice{page.right, 200, true}, page);
        int l = page.right, r = 0, t = page.bottom, b = 0;
        for (const Primitive& p : OfKind(list, PrimitiveKind::Line))
            l = std::min({l, p.m_nX1, p.m_nX2}), r = std::max({r, p.m_nX1, p.m_nX2}),
            t = std::min({t, p.m_nY1, p.m_nY2}), b = std::max({b, p.m_nY1, p.m_nY2});
        EXPECT_GE(std::max((r - l) / 0.9 / page.right, (b - t) / 0.9 / page.bottom), 1.0) << page.right;
        EXPECT_NEAR(l, page.right - r, 2) << page.right;
        EXPECT_NEAR(t, page.bottom - b, 2) << page.right;
    }
}

TEST(MapDrawing, FillsAreClippedAndHolesFilledLikeTheOuterLoop) {
    Fixture f;
    testing::BuildRoomWithPillar(f.level());
    f.AddSquare(-500, 0, 64, 64);   // reaches past the left edge
    f.AddSquare(-900, 0, -600, 64); // wholly outside: no polygon, no lines
    f.AddSquare(-400, 0, -110, 64); // ends exactly on the visible rectangle's left edge
    for (auto& s : f.level().m_Lev.m_pSectors)
        s->m_nFlags1 = kSectorSky;
    f.doc.m_nTool = kToolSkiesPits;
    const DisplayList& list = f.Map();
    const auto fills = OfKind(list, PrimitiveKind::Polygon);
    ASSERT_EQ(fills.size(), 4u); // room outline, its hole, the pillar, the clipped sector
    EXPECT_EQ(Corners(list, fills[1]), (Points{{148, 152}, {148, 120}, {180, 120}, {180, 152}}));
    EXPECT_EQ(Corners(list, fills[3]), (Points{{-10, 200}, {164, 200}, {164, 136}, {-10, 136}}));
    for (const Primitive& p : OfKind(list, PrimitiveKind::Line))
        EXPECT_GE(std::max(p.m_nX1, p.m_nX2), 0);
}

// The assignment visits objects row by row; a plain scan of every sector for every object must
// agree with it on a level full of rooms, doors and objects at all heights.
TEST(MapDrawing, ObjectSectorsAgreeWithAPlainScan) {
    Fixture f;
    testing::BuildSyntheticLevel(f.level(), testing::SyntheticLevelOptions::Small());
    f.engine.viewport().m_dScale = 2048;
    f.doc.m_dScrollX = f.doc.m_dScrollZ = 0;
    f.engine.drawing().AssignObjectSectors();
    const auto& sectors = f.level().m_Lev.m_pSectors;
    int assigned = 0;
    for (const auto& object : f.level().m_Objects.m_pObjects) {
        int expected = -1;
        const ScreenPoint at = f.engine.viewport().WorldToScreen(object->m_dX, object->m_dZ);
        for (std::size_t i = 0; i < sectors.size() && expected == -1; ++i) {
            const CDataSector& s = *sectors[i];
            if (object->m_dY < s.m_dCeilingAltitude || object->m_dY > s.m_dFloorAltitude) continue;
            Points loop;
            for (int w = 0; w < MapDrawing::FirstLoopLength(s); ++w) {
                const CDataVertex& v = *s.m_pVertices[static_cast<std::size_t>(s.m_pWalls[w]->m_nLeft)];
                loop.push_back(f.engine.viewport().WorldToScreen(v.m_dX, v.m_dZ));
            }
            if (MapPicker::PointInPolygon(loop, at)) expected = static_cast<int>(i);
        }
        EXPECT_EQ(object->m_nSector, expected);
        assigned += expected != -1;
    }
    EXPECT_GT(assigned, 10);
}

} // namespace
} // namespace morvi

namespace morvi {
namespace {

// A pane apply names what it touches; the map then brings only that up to date (the objects that
// can have left or entered the sectors, the walls facing a sign). It must end where drawing it all
// afresh ends.
TEST(MapDrawing, ScopedChangesKeepObjectSectorsAndSignPens) {
    testing::EngineView v(kModeSector);
    testing::BuildSyntheticLevel(v.level(), testing::SyntheticLevelOptions::Small());
    DisplayList list;
    v.engine.drawing().DrawMap(list, false);
    const auto sectorsOfObjects = [&] {
        std::vector<int> out;
        for (const auto& o : v.level().m_Objects.m_pObjects)
            out.push_back(o->m_nSector);
        return out;
    };
    // Floors raised above what stands on them, and one lowered back, sector by sector.
    for (const int s : {0, 3, 5, 0}) {
        v.doc.selection() = {testing::Sector(s)};
        std::vector<std::string> texts = ReadPane(PaneKind::Sector, v.level(), v.doc.selection()).m_Texts;
        texts[static_cast<std::size_t>(FindPaneField(PaneKind::Sector, "floor-altitude"))] =
            s == 0 ? "-50" : "50";
        ASSERT_TRUE(ApplyPaneChange(v.doc, PaneKind::Sector, texts).m_Status.ok());
        v.engine.drawing().DrawMap(list, false);
        const std::vector<int> scoped = sectorsOfObjects();
        v.engine.drawing().AssignObjectSectors();
        EXPECT_EQ(scoped, sectorsOfObjects()) << "after sector " << s;
    }
    // A sign on a wall with a mirror: the wall behind it turns cyan, and back again on undo.
    const CMapSelItem wall = [&] {
        for (int s = 0;; ++s)
            for (int w = 0; w < static_cast<int>(v.sector(s).m_pWalls.size()); ++w)
                if (v.wall(s, w).m_nAdjoin >= 0 && v.wall(s, w).m_nMirror >= 0) return testing::Wall(s, w);
    }();
    const int behind = v.wall(wall.m_nSector, wall.m_nWall).m_nMirror;
    const int adjoin = v.wall(wall.m_nSector, wall.m_nWall).m_nAdjoin;
    v.doc.m_nMode = kModeWall;
    v.doc.m_nCurrentLayer = v.sector(adjoin).m_nLayer;
    v.doc.selection() = {wall};
    std::vector<std::string> texts = ReadPane(PaneKind::Wall, v.level(), v.doc.selection()).m_Texts;
    texts[static_cast<std::size_t>(FindPaneField(PaneKind::Wall, "sign-texture"))] = "sign.bm";
    ASSERT_TRUE(ApplyPaneChange(v.doc, PaneKind::Wall, texts).m_Status.ok());
    v.engine.drawing().DrawMap(list, false);
    EXPECT_EQ(v.engine.drawing().WallColour(adjoin, behind), MapColour::kCyan);
    ASSERT_TRUE(v.doc.Undo());
    v.engine.drawing().DrawMap(list, false);
    EXPECT_NE(v.engine.drawing().WallColour(adjoin, behind), MapColour::kCyan);
}

} // namespace
} // namespace morvi
