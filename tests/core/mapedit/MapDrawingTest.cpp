#include "mapedit/CMapEngine.h"

#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace morvi {
namespace {

using testing::AddItem;
using testing::MakeSquareSector;

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
    CDataObjectItem& AddObject(double x, double z, double y = -8) {
        auto object = std::make_unique<CDataObjectItem>();
        object->m_dX = x;
        object->m_dZ = z;
        object->m_dY = y;
        object->m_crColour = 0x123456;
        level().m_Objects.m_pObjects.push_back(std::move(object));
        return *level().m_Objects.m_pObjects.back();
    }
    const DisplayList& Map(bool blackWhite = false) {
        list.Clear();
        engine.drawing().DrawMap(list, blackWhite);
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

// The colours of every line from (x1, y1) to (x2, y2), in drawing order.
std::vector<std::uint32_t> LineColours(const DisplayList& list, int x1, int y1, int x2, int y2) {
    std::vector<std::uint32_t> colours;
    for (const Primitive& p : list.primitives())
        if (p.m_Kind == PrimitiveKind::Line && p.m_nX1 == x1 && p.m_nY1 == y1 && p.m_nX2 == x2 &&
            p.m_nY2 == y2)
            colours.push_back(p.m_crColour);
    return colours;
}

// Walls of a 64-unit square at x0 on the Z = 0 row: 0 bottom, 1 right, 2 top, 3 left.
std::vector<std::uint32_t> WallColours(const DisplayList& list, int x0, int wall) {
    const int l = x0 + 100, r = x0 + 164;
    switch (wall) {
    case 0:
        return LineColours(list, l, 200, r, 200);
    case 1:
        return LineColours(list, r, 200, r, 136);
    case 2:
        return LineColours(list, r, 136, l, 136);
    default:
        return LineColours(list, l, 136, l, 200);
    }
}

using Colours = std::vector<std::uint32_t>;

std::vector<Primitive> OfKind(const DisplayList& list, PrimitiveKind kind) {
    std::vector<Primitive> result;
    for (const Primitive& p : list.primitives())
        if (p.m_Kind == kind) result.push_back(p);
    return result;
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
    CDataSector& plain = f.AddSquare(200, 0, 264, 64); // 2
    Sign(plain, 0);
    CDataSector& signed_ = f.AddSquare(264, 0, 328, 64); // 3
    Sign(signed_, 3);
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
    EXPECT_EQ(WallColours(list, 0, 0), Colours{MapColour::kYellow});   // door flag before the sign
    EXPECT_EQ(WallColours(list, 100, 0), Colours{MapColour::kYellow}); // elevator, solid
    EXPECT_EQ(WallColours(list, 100, 3), Colours{MapColour::kYellow}); // elevator, adjoined
    EXPECT_EQ(WallColours(list, 100, 1), Colours{MapColour::kCyan});   // elevator's sign wall
    EXPECT_EQ(WallColours(list, 200, 0), Colours{MapColour::kCyan});   // own sign
    EXPECT_EQ(WallColours(list, 200, 1), Colours{MapColour::kCyan});   // the mirror's sign
    EXPECT_EQ(WallColours(list, 200, 2), Colours{MapColour::kGreen});
    EXPECT_EQ(WallColours(list, 400, 1), Colours{MapColour::kDarkGreen});
    // Selected: red, and drawn again on top of the neighbours.
    EXPECT_EQ(WallColours(list, 464, 3), (Colours{MapColour::kRed, MapColour::kRed}));
    EXPECT_EQ(WallColours(list, 600, 0), Colours{MapColour::kMagenta});
    EXPECT_EQ(WallColours(list, 700, 0), Colours{MapColour::kGrey}); // another layer beats the door
    EXPECT_EQ(f.engine.drawing().WallColour(0, 0), MapColour::kYellow);
    EXPECT_EQ(f.engine.drawing().WallColour(1, 0), MapColour::kYellow);
    EXPECT_EQ(f.engine.drawing().WallColour(7, 0), MapColour::kGrey);

    // The selected sector's rings sit at its first wall's left vertex (464, 0) -> pixel (564, 200).
    EXPECT_EQ(OfKind(list, PrimitiveKind::Ellipse).size(), 4u);
    EXPECT_EQ(OfKind(list, PrimitiveKind::Ellipse)[0],
              (Primitive{PrimitiveKind::Ellipse, MapColour::kRed, 560, 196, 568, 205, 0, 0}));

    f.doc.m_nMode = kModeVertex;
    for (const Primitive& p : f.Map().primitives())
        if (p.m_Kind == PrimitiveKind::Line && p.m_nX2 - p.m_nX1 != 3) {
            EXPECT_EQ(p.m_crColour, MapColour::kGrey);
        }
    EXPECT_EQ(f.engine.drawing().WallColour(0, 0), MapColour::kGrey);
}

TEST(MapDrawing, ElevatorNeedsANamedSectorItemThatMoves) {
    Fixture f;
    CDataSector& s = f.AddSquare(0, 0, 64, 64);
    EXPECT_FALSE(MapDrawing::IsElevatorSector(f.level(), s)); // unnamed
    s.m_strName = "Gate";
    AddItem(f.level().m_Inf, "line", "gate", 0, {"class:\televator move_floor"});
    AddItem(f.level().m_Inf, "sector", "gate", -1, {"class:\televator door"});
    EXPECT_FALSE(MapDrawing::IsElevatorSector(f.level(), s));
    AddItem(f.level().m_Inf, "sector", "GATE", -1, {"class:\televator inv"});
    EXPECT_TRUE(MapDrawing::IsElevatorSector(f.level(), s));
    f.level().m_Inf.m_pItems.back()->m_Lines = {"class:\televator move_ceiling"};
    EXPECT_TRUE(MapDrawing::IsElevatorSector(f.level(), s));
    f.level().m_Inf.m_pItems.back()->m_Lines = {"class:\televator scroll_floor"};
    EXPECT_FALSE(MapDrawing::IsElevatorSector(f.level(), s));
}

TEST(MapDrawing, OtherLayersAreGreyWithTheirFillsOnlyWithAllLayers) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64).m_nAmbient = 20; // (20 * 4 + 96) & 255 = 176
    CDataSector& up = f.AddSquare(100, 0, 164, 64);
    up.m_nLayer = 1;
    up.m_nAmbient = 60; // 336 & 255 = 80
    f.doc.m_nTool = kToolAmbiance;

    const DisplayList& current = f.Map();
    EXPECT_EQ(f.doc.m_nMinLayer, 0);
    EXPECT_EQ(f.doc.m_nMaxLayer, 1);
    ASSERT_EQ(OfKind(current, PrimitiveKind::Polygon).size(), 1u);
    EXPECT_EQ(OfKind(current, PrimitiveKind::Polygon)[0].m_crColour, 0xB0B0B0u);
    EXPECT_TRUE(WallColours(current, 100, 0).empty());

    f.doc.m_bAllLayers = 1;
    const DisplayList& all = f.Map();
    const auto fills = OfKind(all, PrimitiveKind::Polygon);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].m_crColour, 0x505050u);
    const auto corners = all.points(fills[1]);
    EXPECT_EQ(std::vector<ScreenPoint>(corners.begin(), corners.end()),
              (std::vector<ScreenPoint>{{200, 200}, {264, 200}, {264, 136}, {200, 136}}));
    EXPECT_EQ(WallColours(all, 100, 2), Colours{MapColour::kGrey});
    // Fill first, then the sector's own walls: a later fill covers earlier lines.
    EXPECT_EQ(all.primitives()[5].m_Kind, PrimitiveKind::Polygon);

    f.doc.m_nMode = kModeWall; // fills belong to sector mode
    EXPECT_TRUE(OfKind(f.Map(), PrimitiveKind::Polygon).empty());
}

TEST(MapDrawing, ToolFillsFollowTheSectorFlags) {
    struct Case {
        int tool;
        int flags;
        double second;
        std::optional<std::uint32_t> brush;
    };
    const Case cases[] = {
        {kToolNormal, kSectorSky, 5, std::nullopt},
        {kToolObjects, kSectorSky, 5, std::nullopt},
        {kToolDamage, 0, 0, std::nullopt},
        {kToolDamage, kSectorExploding, 0, 96},
        {kToolDamage, kSectorLowDamage, 0, 64},
        {kToolDamage, kSectorHighDamage, 0, 80},
        {kToolDamage, kSectorExploding | kSectorLowDamage | kSectorHighDamage, 0, 240},
        {kToolAltitude, 0, 0.0, std::nullopt},
        {kToolAltitude, 0, -0.0, std::nullopt},
        {kToolAltitude, 0, -2.5, 0x008000},
        {kToolSkiesPits, 0, 0, std::nullopt},
        {kToolSkiesPits, kSectorSky, 0, 128u << 16},
        {kToolSkiesPits, kSectorPit, 0, 96u << 16},
        {kToolSkiesPits, kSectorSky | kSectorPit, 0, 224u << 16},
    };
    for (const Case& c : cases) {
        Fixture f;
        CDataSector& s = f.AddSquare(0, 0, 64, 64);
        s.m_nFlags1 = c.flags;
        s.m_dSecondAltitude = c.second;
        f.doc.m_nTool = c.tool;
        const auto fills = OfKind(f.Map(), PrimitiveKind::Polygon);
        SCOPED_TRACE(::testing::Message() << "tool " << c.tool << " flags " << c.flags);
        if (!c.brush) {
            EXPECT_TRUE(fills.empty());
            continue;
        }
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].m_crColour, *c.brush);
    }
}

TEST(MapDrawing, FillsAreClippedAndHolesFilledLikeTheOuterLoop) {
    Fixture f;
    testing::BuildRoomWithPillar(f.level());
    f.AddSquare(-500, 0, 64, 64);   // reaches past the left edge
    f.AddSquare(-900, 0, -600, 64); // wholly outside: no polygon, no lines
    f.AddSquare(-400, 0, -110, 64); // ends exactly on the visible rectangle's left edge
    for (auto& s : f.level().m_Lev.m_pSectors)
        s.get()->m_nFlags1 = kSectorSky;
    f.doc.m_nTool = kToolSkiesPits;
    const DisplayList& list = f.Map();
    const auto fills = OfKind(list, PrimitiveKind::Polygon);
    ASSERT_EQ(fills.size(), 4u); // room outline, its hole, the pillar, the clipped sector
    const auto hole = list.points(fills[1]);
    EXPECT_EQ(std::vector<ScreenPoint>(hole.begin(), hole.end()),
              (std::vector<ScreenPoint>{{148, 152}, {148, 120}, {180, 120}, {180, 152}}));
    const auto clipped = list.points(fills[3]);
    EXPECT_EQ(std::vector<ScreenPoint>(clipped.begin(), clipped.end()),
              (std::vector<ScreenPoint>{{-10, 200}, {164, 200}, {164, 136}, {-10, 136}}));
    // The sector on the edge draws nothing: its walls lie on or beyond the edge.
    for (const Primitive& p : list.primitives())
        if (p.m_Kind == PrimitiveKind::Line) {
            EXPECT_GE(std::max(p.m_nX1, p.m_nX2), 0);
        }
}

TEST(MapDrawing, ClipSegmentCutsZThenXAndRejectsEdgesAndPoints) {
    Fixture f;
    f.engine.viewport().SetVisibleRect();
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dVisLeft, -110);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dVisRight, 910);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dVisTop, 210);
    EXPECT_DOUBLE_EQ(f.engine.viewport().m_dVisBottom, -110);
    double x1 = -110, z1 = 0, x2 = -110, z2 = 100; // on the left edge
    EXPECT_FALSE(f.engine.viewport().ClipSegment(x1, z1, x2, z2));
    x1 = 0, z1 = 210, x2 = 50, z2 = 300; // from the top edge outwards
    EXPECT_FALSE(f.engine.viewport().ClipSegment(x1, z1, x2, z2));
    x1 = 5, z1 = 5, x2 = 5, z2 = 5;
    EXPECT_FALSE(f.engine.viewport().ClipSegment(x1, z1, x2, z2));
    x1 = -210, z1 = -210, x2 = 0, z2 = 0; // enters through the corner
    ASSERT_TRUE(f.engine.viewport().ClipSegment(x1, z1, x2, z2));
    EXPECT_DOUBLE_EQ(x1, -110);
    EXPECT_DOUBLE_EQ(z1, -110);
    EXPECT_DOUBLE_EQ(x2, 0);
    x1 = 0, z1 = 0, x2 = 1010, z2 = 410; // leaves through the top (Z first), then the right
    ASSERT_TRUE(f.engine.viewport().ClipSegment(x1, z1, x2, z2));
    EXPECT_DOUBLE_EQ(z2, 210);
    EXPECT_DOUBLE_EQ(x2, 1010.0 * 210 / 410);
    x1 = 2000, z1 = 100, x2 = 0, z2 = 100; // right to left
    ASSERT_TRUE(f.engine.viewport().ClipSegment(x1, z1, x2, z2));
    EXPECT_DOUBLE_EQ(x1, 910);
    EXPECT_TRUE(f.engine.viewport().IsVisible(-110, 210)); // bounds included
    EXPECT_FALSE(f.engine.viewport().IsVisible(-110.01, 0));
}

TEST(MapDrawing, VertexModeMarksOnlyTheCurrentLayer) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64);
    f.AddSquare(100, 0, 164, 64).m_nLayer = 1;
    f.doc.m_bAllLayers = 1;
    f.doc.m_nMode = kModeVertex;
    f.engine.AddToSelection({0, -1, 2, -1});
    const DisplayList& list = f.Map();
    std::vector<Primitive> marks;
    for (const Primitive& p : OfKind(list, PrimitiveKind::Line))
        if (p.m_nX2 - p.m_nX1 == 3) marks.push_back(p);
    ASSERT_EQ(marks.size(), 12u); // 4 vertices of layer 0, 3 lines each
    // Vertex (0, 0) is pixel (100, 200).
    EXPECT_EQ(marks[0], (Primitive{PrimitiveKind::Line, MapColour::kGreen, 99, 199, 102, 199, 0, 0}));
    EXPECT_EQ(marks[2], (Primitive{PrimitiveKind::Line, MapColour::kGreen, 99, 201, 102, 201, 0, 0}));
    // Vertex 2 (64, 64) is marked: pixel (164, 136).
    const auto rings = OfKind(list, PrimitiveKind::Ellipse);
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_EQ(rings[0], (Primitive{PrimitiveKind::Ellipse, MapColour::kRed, 160, 132, 168, 141, 0, 0}));
    EXPECT_EQ(rings[1], (Primitive{PrimitiveKind::Ellipse, MapColour::kRed, 161, 133, 167, 140, 0, 0}));
}

TEST(MapDrawing, WallModeMarksTheSegmentAndItsLeftVertex) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64);
    f.doc.m_nMode = kModeWall;
    f.engine.AddToSelection({0, 1, -1, -1});
    const DisplayList& list = f.Map();
    EXPECT_EQ(WallColours(list, 0, 1), (Colours{MapColour::kGreen, MapColour::kRed}));
    const auto rings = OfKind(list, PrimitiveKind::Ellipse);
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_EQ(rings[0], (Primitive{PrimitiveKind::Ellipse, MapColour::kRed, 160, 196, 168, 205, 0, 0}));
}

TEST(MapDrawing, ObjectsOfOtherLayersHideButOutsidersShow) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64);
    f.AddSquare(100, 0, 164, 64).m_nLayer = 1;
    f.AddObject(32, 32);   // in sector 0
    f.AddObject(132, 32);  // in sector 1, another layer
    f.AddObject(300, 100); // outside every sector
    f.AddObject(5000, 0);  // outside the view
    f.doc.m_bAllLayers = 1;
    f.doc.m_nMode = kModeObject;
    const DisplayList& list = f.Map();
    EXPECT_EQ(f.level().m_Objects.m_pObjects[1]->m_nSector, 1);
    EXPECT_EQ(f.level().m_Objects.m_pObjects[2]->m_nSector, -1);
    const auto pixels = OfKind(list, PrimitiveKind::Pixel);
    ASSERT_EQ(pixels.size(), 18u);
    EXPECT_EQ(pixels[0], (Primitive{PrimitiveKind::Pixel, 0x123456, 131, 167, 131, 167, 0, 0}));
    EXPECT_EQ(pixels[9].m_nX1, 399);
    EXPECT_EQ(pixels[9].m_nY1, 99);

    // The Objects tool shows them in sector mode too, and nothing else does.
    f.doc.m_nMode = kModeSector;
    EXPECT_TRUE(OfKind(f.Map(), PrimitiveKind::Pixel).empty());
    f.doc.m_nTool = kToolObjects;
    EXPECT_EQ(OfKind(f.Map(), PrimitiveKind::Pixel).size(), 18u);
}

TEST(MapDrawing, ObjectMarksFramesAndHeadings) {
    Fixture f;
    CDataObjectItem& frame = f.AddObject(0, 0);
    frame.m_strClass = "Frame";
    frame.m_dYaw = 90; // a = 90 * 44 / 2520 = 1.5714, a little past a right angle
    f.engine.drawing().DrawObject(f.list, frame, true, 10, 20);
    // Moved by (10, 20): pixel (110, 180).
    const auto& all = f.list.primitives();
    ASSERT_EQ(all.size(), 4u + 9u + 2u);
    EXPECT_EQ(all[0], (Primitive{PrimitiveKind::Pixel, 0x123456, 108, 180, 108, 180, 0, 0}));
    EXPECT_EQ(all[3], (Primitive{PrimitiveKind::Pixel, 0x123456, 110, 182, 110, 182, 0, 0}));
    EXPECT_EQ(all[13], (Primitive{PrimitiveKind::Ellipse, MapColour::kRed, 106, 176, 114, 185, 0, 0}));
    // 15 sin a = 14.99999 truncates to 14; -15 cos a = +0.0095 truncates to 0.
    EXPECT_EQ(all[14], (Primitive{PrimitiveKind::Line, MapColour::kRed, 110, 180, 124, 180, 0, 0}));

    f.list.Clear();
    frame.m_dYaw = 0;
    frame.m_strClass = "SPRITE";
    f.engine.drawing().DrawObject(f.list, frame, true, 0, 0);
    ASSERT_EQ(f.list.size(), 11u);
    EXPECT_EQ(f.list.primitives()[10],
              (Primitive{PrimitiveKind::Line, MapColour::kRed, 100, 200, 100, 185, 0, 0}));
}

TEST(MapDrawing, BlackAndWhitePrintingDrawsEveryPenInBlack) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64).m_nFlags1 = kSectorDoor;
    f.AddObject(32, 32);
    f.doc.m_bGridOn = 1;
    f.engine.viewport().m_dGridStep = 16;
    f.doc.m_nMode = kModeObject;
    f.engine.AddToSelection({0, -1, -1, 0});
    DisplayList printed;
    f.engine.Draw(printed, MapDevice{1024, 320, true});
    ASSERT_EQ(printed.size(), 4u + 9u + 2u); // no grid on paper
    for (const Primitive& p : printed.primitives())
        EXPECT_EQ(p.m_crColour, 0u);

    f.settings.m_bBlackWhite = false;
    DisplayList colour;
    f.engine.Draw(colour, MapDevice{1024, 320, true});
    EXPECT_EQ(WallColours(colour, 0, 0), Colours{MapColour::kYellow});

    DisplayList screen;
    f.engine.Draw(screen, MapDevice{});
    EXPECT_GT(screen.size(), 15u); // the grid's dots come first
    EXPECT_EQ(screen.primitives()[0].m_crColour, MapColour::kGridDot);

    f.doc.m_nMode = kModePerspective;
    DisplayList none;
    f.engine.Draw(none, MapDevice{});
    EXPECT_TRUE(none.empty());
}

TEST(MapDrawing, PrintingFitsTheSelectionAndRestoresTheView) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64);
    f.AddSquare(512, 0, 576, 64);
    f.doc.m_nZoom = 3;
    f.doc.m_nGridLevel = 2;
    f.engine.viewport().RecalcLayout(MapDevice{}, {0, 0, 800, 600});
    const double scrollX = f.doc.m_dScrollX, scrollZ = f.doc.m_dScrollZ, scale = f.engine.viewport().m_dScale;
    f.engine.AddToSelection({1, -1, -1, -1});

    DisplayList page;
    f.engine.drawing().DrawPrint(page, MapDevice{4800, 200, true}, {0, 0, 4800, 6600}, MapDevice{},
                                 {0, 0, 800, 600});
    // Only the selected square fills the page: its walls are long and black, no grid dots.
    ASSERT_FALSE(page.empty());
    int longest = 0;
    for (const Primitive& p : page.primitives()) {
        EXPECT_EQ(p.m_crColour, 0u);
        EXPECT_NE(p.m_Kind, PrimitiveKind::Pixel);
        if (p.m_Kind == PrimitiveKind::Line) longest = std::max(longest, std::abs(p.m_nX2 - p.m_nX1));
    }
    EXPECT_GT(longest, 2400); // the 64-unit wall spans more than half the page's width
    EXPECT_EQ(f.doc.m_nZoom, 3);
    EXPECT_EQ(f.doc.m_nGridLevel, 2);
    EXPECT_EQ(f.doc.m_dScrollX, scrollX);
    EXPECT_EQ(f.doc.m_dScrollZ, scrollZ);
    EXPECT_EQ(f.engine.viewport().m_dScale, scale);
    EXPECT_EQ(f.engine.viewport().m_rcClient, (ClientRect{0, 0, 800, 600}));
}

TEST(MapDrawing, GridDotsKeepTheFirstCellsSpacing) {
    CMorviDoc doc;
    Settings settings;
    CMapEngine engine(doc, settings);
    engine.viewport().m_dScale = 512; // 8 world units a pixel, a 256-unit cell is 32 pixels
    engine.viewport().m_dGridStep = 256;
    engine.viewport().m_rcClient = {0, 0, 100, 70};
    doc.m_dScrollX = 100;
    // Left edge X = -1948; the first grid line X = -1792 is pixel 156 / 8 = 19.5 -> 19, the next
    // one 412 / 8 = 51.5 -> 51: 32 pixels on. Top edge Z = 2048 is a grid line at row 0.
    DisplayList list;
    engine.drawing().DrawGrid(list);
    std::vector<ScreenPoint> dots;
    for (const Primitive& p : list.primitives()) {
        EXPECT_EQ(p.m_Kind, PrimitiveKind::Pixel);
        EXPECT_EQ(p.m_crColour, MapColour::kGridDot);
        dots.push_back({p.m_nX1, p.m_nY1});
    }
    EXPECT_EQ(dots,
              (std::vector<ScreenPoint>{
                  {19, 0}, {19, 32}, {19, 64}, {51, 0}, {51, 32}, {51, 64}, {83, 0}, {83, 32}, {83, 64}}));
    // A 16-unit grid would put dots 2 pixels apart: every fourth line is drawn, 8 pixels apart.
    engine.viewport().m_dGridStep = 16;
    list.Clear();
    engine.drawing().DrawGrid(list);
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list.primitives()[1].m_nY1 - list.primitives()[0].m_nY1, 8);
    doc.m_bGridOn = 0;
    list.Clear();
    engine.drawing().DrawGrid(list);
    EXPECT_TRUE(list.empty());
}

TEST(MapDrawing, ObjectsTakeTheFirstSectorHoldingThemOnScreen) {
    Fixture f;
    f.AddSquare(0, 0, 64, 64);                      // floor 0, ceiling -16
    f.AddSquare(0, 0, 64, 64).m_dFloorAltitude = 8; // the same place, lower floor
    f.AddObject(32, 32, -16);
    f.AddObject(32, 32, 0);
    f.AddObject(32, 32, 4); // only the second sector's heights hold it
    f.AddObject(32, 32, 8.01);
    f.AddObject(32, 32, -16.01);
    f.AddObject(90, 32, -8); // beside both
    EXPECT_TRUE(f.engine.drawing().objectsDirty());
    f.Map();
    EXPECT_FALSE(f.engine.drawing().objectsDirty());
    const auto& objects = f.level().m_Objects.m_pObjects;
    const int expected[] = {0, 0, 1, -1, -1, -1};
    for (std::size_t i = 0; i < objects.size(); ++i)
        EXPECT_EQ(objects[i]->m_nSector, expected[i]) << i;

    // A clean assignment is kept until something marks it stale.
    objects[0]->m_dY = 100;
    f.Map();
    EXPECT_EQ(objects[0]->m_nSector, 0);
    f.engine.drawing().MarkObjectsDirty();
    f.Map();
    EXPECT_EQ(objects[0]->m_nSector, -1);
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
            std::vector<ScreenPoint> loop;
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

// Culling sectors by their boxes must change nothing: the list equals the sectors' walls drawn one
// by one without it.
TEST(MapDrawing, CullingKeepsTheListOfAnUnculledDraw) {
    Fixture f;
    testing::BuildSyntheticLevel(f.level(), testing::SyntheticLevelOptions::Small());
    double minX = 1e9, maxX = -1e9, minZ = 1e9, maxZ = -1e9;
    for (const auto& s : f.level().m_Lev.m_pSectors)
        for (const auto& v : s->m_pVertices) {
            minX = std::min(minX, v->m_dX), maxX = std::max(maxX, v->m_dX);
            minZ = std::min(minZ, v->m_dZ), maxZ = std::max(maxZ, v->m_dZ);
        }
    // A window over the middle of the level, so that sectors lie inside, across and outside it.
    f.engine.viewport().m_rcClient = {0, 0, static_cast<int>((maxX - minX) / 3),
                                      static_cast<int>((maxZ - minZ) / 3)};
    f.doc.m_dScrollX = minX + (maxX - minX) / 3 + 2048;
    f.doc.m_dScrollZ = 2048 - (maxZ - (maxZ - minZ) / 3);
    f.doc.m_bAllLayers = 1;
    const DisplayList& culled = f.Map();
    DisplayList plain;
    for (std::size_t i = 0; i < f.level().m_Lev.m_pSectors.size(); ++i)
        f.engine.drawing().DrawSectorWalls(plain, static_cast<int>(i), 0, 0);
    EXPECT_GT(plain.size(), 20u);
    EXPECT_LT(plain.size(), f.level().m_Lev.m_pSectors.size() * 4);
    EXPECT_EQ(culled.primitives(), plain.primitives());
}

} // namespace
} // namespace morvi
