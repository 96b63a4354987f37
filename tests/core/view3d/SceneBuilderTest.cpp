#include "view3d/LevelSceneSource.h"
#include "view3d/Scene3D.h"
#include "view3d/SceneTextures.h"

#include "gamefiles/GobArchive.h"
#include "mapedit/MapTypes.h"
#include "model/LevelGeometry.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/Model3D.h"
#include "resources/ResourceCache.h"
#include "resources/SpriteEncoder.h"
#include "support/LevelBuilders.h"
#include "support/SyntheticLevel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

IndexedImage Picture(int width, int height) {
    IndexedImage image;
    image.Create(GamePalette(), kPaletteMultiplier, width, height, false);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            image.setPixel(c, r, static_cast<std::uint8_t>(1 + (c + 3 * r) % 200));
    return image;
}

// Members by upper-case name, counting how often each name is asked for.
class FakeSource : public SceneResourceSource {
public:
    bool Find(std::string_view name, Bytes& bytes) override {
        ++m_Asked[ToUpper(name)];
        const auto it = m_Members.find(ToUpper(name));
        if (it != m_Members.end()) bytes = it->second;
        return it != m_Members.end();
    }
    void AddBm(const std::string& name, int width, int height) {
        EXPECT_TRUE(EncodeBm(Picture(width, height), kBmPlain, m_Members[ToUpper(name)]).ok());
    }
    std::map<std::string, Bytes> m_Members;
    std::map<std::string, int> m_Asked;
};

struct Built {
    FakeSource source;
    Scene3D scene;
    void Build(const CDataLevel& level, SceneOptions options = {}) {
        SceneBuilder(source, options).Build(level, scene);
    }

    std::vector<const SceneFace*> Faces(FaceKind kind, int sector, int wall = -1) const {
        std::vector<const SceneFace*> out;
        for (const SceneFace& f : scene.m_Faces)
            if (f.m_Kind == kind && f.m_nSector == sector && f.m_nWall == wall) out.push_back(&f);
        return out;
    }
    std::span<const SceneVertex> Corners(const SceneFace& f) const {
        return std::span(scene.m_Vertices).subspan(f.m_nFirstVertex, f.m_nVertexCount);
    }
    // Signed area on the map of the faces of a kind in a sector, in level units.
    double Area(FaceKind kind, int sector) const {
        double area = 0.0;
        for (const SceneFace* f : Faces(kind, sector)) {
            std::vector<PlanePoint> corners;
            for (const SceneVertex& v : Corners(*f))
                corners.push_back({v.x / kSceneScale, v.z / kSceneScale});
            area += LoopArea(corners);
        }
        return area;
    }
};

// An object at (32, 16) on the floor.
CDataObjectItem& AddObject(CDataLevel& level, const char* cls, const char* data, double yaw) {
    auto& object = level.m_Objects.m_pObjects.emplace_back(std::make_unique<CDataObjectItem>());
    object->m_strClass = cls;
    object->m_strData = data;
    object->m_dX = 32;
    object->m_dZ = 16;
    object->m_dYaw = yaw;
    return *object;
}

// The area between the sector's largest loop and its other loops.
double SectorArea(const CDataSector& sector) {
    std::vector<int> starts;
    BuildLoopStarts(sector, starts);
    double outer = 0.0, all = 0.0;
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        std::vector<PlanePoint> corners;
        for (int w = starts[k]; w < starts[k + 1]; ++w) {
            const CDataVertex& v = *sector.m_pVertices[static_cast<std::size_t>(
                sector.m_pWalls[static_cast<std::size_t>(w)]->m_nLeft)];
            corners.push_back({v.m_dX, v.m_dZ});
        }
        outer = std::max(outer, std::fabs(LoopArea(corners)));
        all += std::fabs(LoopArea(corners));
    }
    return 2 * outer - all;
}

TEST(SceneTexture, SidesAreRoundedUpToPowersOfTwoAndTheRestIsZero) {
    for (const auto& [w, h, w2, h2, stride] : {std::tuple(64, 64, 64, 64, 64), std::tuple(40, 20, 64, 32, 64),
                                               std::tuple(2, 3, 2, 4, 4), std::tuple(1, 1, 1, 1, 4)}) {
        const IndexedImage picture = Picture(w, h);
        const SceneTexture t = MakeSceneTexture("X.BM", picture, false);
        EXPECT_EQ(std::tuple(t.m_nWidth2, t.m_nHeight2, t.m_nStride), std::tuple(w2, h2, stride))
            << w << "x" << h;
        ASSERT_EQ(t.m_Pixels.size(), static_cast<std::size_t>(stride * h2));
        for (int r = 0; r < h2; ++r)
            for (int c = 0; c < stride; ++c)
                ASSERT_EQ(t.m_Pixels[static_cast<std::size_t>(r * stride + c)],
                          r < h && c < w ? picture.pixel(c, r) : 0)
                    << w << "x" << h << " at " << c << "," << r;
    }
}

// The room is 64 long and 16 high; sector 1 of the two rooms has floor 4 and ceiling 12.
TEST(SceneBuilder, WallPartsMapTheirTexturesAtEightTexelsAUnit) {
    struct Case {
        int width, height;
        double offX, offY;
        FaceKind kind;
        float u0, u1, v0, v1; // along the part and from its bottom edge
    };
    for (const Case& c :
         {Case{64, 64, 0, 0, FaceKind::Mid, 0, 8, 0, 2}, Case{40, 20, 0, 0, FaceKind::Mid, 0, 8, 0, 4},
          Case{64, 64, 2, -4, FaceKind::Mid, -0.25f, 7.75f, 0.5f, 2.5f},
          Case{64, 64, 8, 0, FaceKind::Top, -1, 7, 0, 0.5f},
          Case{128, 16, 0, 1, FaceKind::Bottom, 0, 4, -0.5f, 1.5f}}) {
        CDataLevel level;
        testing::BuildTwoRooms(level);
        level.m_Lev.m_pSectors[1]->m_dFloorAltitude = -4;
        level.m_Lev.m_pSectors[1]->m_dCeilingAltitude = -12;
        const int wall = c.kind == FaceKind::Mid ? 0 : 1;
        CDataWall& w = *level.m_Lev.m_pSectors[0]->m_pWalls[static_cast<std::size_t>(wall)];
        CDataTexture& slot = c.kind == FaceKind::Mid   ? w.m_Mid
                             : c.kind == FaceKind::Top ? w.m_Top
                                                       : w.m_Bottom;
        slot.m_nTexture = level.m_Lev.FindOrAddTexture("PART.BM");
        slot.m_dOffsetX = c.offX;
        slot.m_dOffsetY = c.offY;
        Built b;
        b.source.AddBm("PART.BM", c.width, c.height);
        b.Build(level);
        const auto faces = b.Faces(c.kind, 0, wall);
        ASSERT_EQ(faces.size(), 1u);
        const auto q = b.Corners(*faces[0]);
        // Bottom-start, top-start, top-end, bottom-end; adjoined parts start at the right vertex.
        const float start = c.kind == FaceKind::Mid ? 0.0f : 64 * kSceneScale;
        EXPECT_EQ(std::tuple(q[0].x, q[1].z, q[1].y > q[0].y), std::tuple(start, start, true));
        for (const auto& [v, u, t] : {std::tuple(q[0], c.u0, c.v0), std::tuple(q[1], c.u0, c.v1),
                                      std::tuple(q[2], c.u1, c.v1), std::tuple(q[3], c.u1, c.v0)}) {
            EXPECT_FLOAT_EQ(v.u, u) << c.width << " " << static_cast<int>(c.kind);
            EXPECT_FLOAT_EQ(v.v, t) << c.width << " " << static_cast<int>(c.kind);
        }
    }
}

TEST(SceneBuilder, AdjoinedWallsGetTheNonEmptySpansOnly) {
    struct Case {
        double floor1, ceiling1;                  // altitudes of sector 1 (sector 0: 0 and -16)
        std::vector<std::pair<float, float>> top; // heights in level units
        std::vector<std::pair<float, float>> bottom;
    };
    for (const Case& c : {Case{0, -16, {}, {}}, Case{0, -10, {{10, 16}}, {}}, Case{-3, -16, {}, {{0, 3}}},
                          Case{-20, -30, {}, {{0, 16}}}, Case{8, 4, {{0, 16}}, {}}, Case{2, -18, {}, {}}}) {
        CDataLevel level;
        testing::BuildTwoRooms(level);
        level.m_Lev.m_pSectors[1]->m_dFloorAltitude = c.floor1;
        level.m_Lev.m_pSectors[1]->m_dCeilingAltitude = c.ceiling1;
        Built b;
        b.Build(level);
        EXPECT_TRUE(b.Faces(FaceKind::Mid, 0, 1).empty());
        for (const auto& [kind, spans] :
             {std::pair(FaceKind::Top, c.top), std::pair(FaceKind::Bottom, c.bottom)}) {
            std::vector<std::pair<float, float>> got;
            for (const SceneFace* f : b.Faces(kind, 0, 1))
                got.emplace_back(std::round(b.Corners(*f)[0].y / kSceneScale),
                                 std::round(b.Corners(*f)[1].y / kSceneScale));
            EXPECT_EQ(got, spans) << c.floor1 << " " << c.ceiling1 << " " << static_cast<int>(kind);
        }
    }
}

TEST(SceneBuilder, FloorsAndCeilingsCoverTheSectorsAreaFacingOppositeWays) {
    CDataLevel pillar, synthetic;
    testing::BuildRoomWithPillar(pillar);
    testing::BuildSyntheticLevel(synthetic, testing::SyntheticLevelOptions::Small());
    for (const CDataLevel* level : {&pillar, &synthetic}) {
        Built b;
        b.Build(*level);
        const auto& sectors = level->m_Lev.m_pSectors;
        for (std::size_t s = 0; s < sectors.size(); ++s) {
            if (sectors[s]->m_pWalls.empty()) continue;
            const double area = SectorArea(*sectors[s]);
            const int i = static_cast<int>(s);
            const bool pit = sectors[s]->m_nFlags1 & kSectorPit, sky = sectors[s]->m_nFlags1 & kSectorSky;
            EXPECT_NEAR(b.Area(pit ? FaceKind::Pit : FaceKind::Floor, i), -area, 1e-3 * area) << s;
            EXPECT_NEAR(b.Area(sky ? FaceKind::Sky : FaceKind::Ceiling, i), area, 1e-3 * area) << s;
        }
        EXPECT_TRUE(std::is_sorted(
            b.scene.m_Faces.begin(), b.scene.m_Faces.end(),
            [](const SceneFace& x, const SceneFace& y) { return x.m_nTexture < y.m_nTexture; }));
    }
}

TEST(SceneBuilder, MissingTexturesAreReportedOnceAndRebuildsKeepIndices) {
    CDataLevel level;
    testing::BuildRoom(level); // IF3.BM floor, IPBIGLT.BM ceiling, RWRWALL1.BM walls
    Built b;
    b.source.m_Members["SECBASE.PAL"] = Bytes(kPaletteSize, 9);
    b.source.AddBm("IF3.BM", 64, 64);
    b.source.AddBm("RWRWALL1.BM", 32, 32);
    b.Build(level);
    EXPECT_EQ(b.scene.m_Missing, std::vector<std::string>{"IPBIGLT.BM"});
    EXPECT_EQ(b.source.m_Asked["IPBIGLT.BM"], 1);
    EXPECT_EQ(b.Faces(FaceKind::Ceiling, 0).front()->m_nTexture, -1);
    const int floor = b.Faces(FaceKind::Floor, 0).front()->m_nTexture;
    const int wall = b.Faces(FaceKind::Mid, 0, 0).front()->m_nTexture;
    ASSERT_EQ(b.scene.m_Textures.size(), 2u);

    // An edit adds a texture: the known ones keep their places and are not read again.
    b.source.AddBm("NEW.BM", 16, 16);
    level.m_Lev.m_pSectors[0]->m_pWalls[2]->m_Mid.m_nTexture = level.m_Lev.FindOrAddTexture("NEW.BM");
    b.Build(level);
    EXPECT_EQ(b.source.m_Asked["IF3.BM"], 1);
    EXPECT_EQ(std::tuple(b.Faces(FaceKind::Floor, 0).front()->m_nTexture,
                         b.Faces(FaceKind::Mid, 0, 0).front()->m_nTexture,
                         b.Faces(FaceKind::Mid, 0, 2).front()->m_nTexture,
                         b.scene.m_Textures.back().m_strName),
              std::tuple(floor, wall, 2, "NEW.BM"));
}

TEST(SceneBuilder, LightFollowsTheColourMapAndTheOption) {
    for (const auto& [lighting, cmpSize, rows, wallLight, floorLight] :
         {std::tuple(true, 8320, 8192, 25, 20), std::tuple(true, 8192, 8192, 25, 20),
          std::tuple(true, 8000, 0, 31, 31), std::tuple(false, 8320, 0, 31, 31),
          std::tuple(true, 0, 0, 31, 31)}) {
        CDataLevel level;
        testing::BuildRoom(level); // level SECBASE, ambient 20
        level.m_Lev.m_pSectors[0]->m_pWalls[0]->m_nLight = 5;
        level.m_Lev.m_pSectors[0]->m_pWalls[1]->m_nLight = 40;
        Built b;
        if (cmpSize) b.source.m_Members["SECBASE.CMP"] = Bytes(static_cast<std::size_t>(cmpSize), 7);
        b.Build(level, {lighting, true});
        EXPECT_EQ(b.scene.m_ColourMap.size(), static_cast<std::size_t>(rows)) << cmpSize;
        EXPECT_EQ(b.Faces(FaceKind::Mid, 0, 0).front()->m_nLight, wallLight) << cmpSize;
        EXPECT_EQ(b.Faces(FaceKind::Mid, 0, 1).front()->m_nLight, 31) << cmpSize;
        EXPECT_EQ(b.Faces(FaceKind::Floor, 0).front()->m_nLight, floorLight) << cmpSize;
    }
}

TEST(SceneBuilder, BrokenIndicesAreSkippedWithoutHarm) {
    CDataLevel level;
    testing::BuildTwoRooms(level);
    CDataSector& s = *level.m_Lev.m_pSectors[0];
    s.m_pWalls[0]->m_nLeft = 99;
    s.m_pWalls[1]->m_nAdjoin = 77; // treated as no adjoin
    s.m_pWalls[2]->m_Mid.m_nTexture = 500;
    s.m_pWalls[2]->m_Sign.m_nTexture = -7;
    s.m_pWalls[3]->m_nRight = -1;
    s.m_FloorTexture.m_nTexture = 1000;
    AddObject(level, "3D", "NONE.3DO", 0).m_nSector = 12;
    Built b;
    b.Build(level);
    EXPECT_EQ(std::tuple(b.Faces(FaceKind::Mid, 0, 0).size(), b.Faces(FaceKind::Mid, 0, 1).size(),
                         b.Faces(FaceKind::Mid, 0, 3).size(), b.Faces(FaceKind::Mid, 0, 2).at(0)->m_nTexture),
              std::tuple(0u, 1u, 0u, -1));
    EXPECT_EQ(b.scene.m_Missing.back(), "NONE.3DO");
}

TEST(SceneBuilder, ObjectsBecomeSpritesModelsSoundsAndTheStart) {
    CDataLevel level;
    testing::BuildRoom(level);
    AddObject(level, "FRAME", "KEY.FME", 0);
    AddObject(level, "3D", "BOX.3DO", 90);
    AddObject(level, "SOUND", "HUM.VOC", 0);
    AddObject(level, "SPRITE", "TROOP.WAX", 0)
        .m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "player"));
    Built b;
    b.source.m_Members["KEY.FME"] = EncodeFme(Picture(40, 24), -20, -30, false, false);
    WaxEncoder wax;
    const int view = wax.AddView({wax.AddFrame(wax.AddCell(Picture(16, 32), true), -8, -32, true)});
    wax.AddState(0, 0, 0, {view, view});
    EXPECT_TRUE(wax.Write(b.source.m_Members["TROOP.WAX"]).ok());
    std::string box;
    Model3D model;
    model.m_Objects = {{"a", -1, {{0, 0, 0}, {0, -2, 0}, {0, 0, 4}}, {}, {{0, 1, 2, 9, "FLAT"}}, {}, {}, {}}};
    Write3DO(model, box);
    b.source.m_Members["BOX.3DO"].assign(box.begin(), box.end());
    b.Build(level);

    ASSERT_EQ(b.scene.m_Sprites.size(), 2u);
    const SpriteView& frame = b.scene.m_Sprites[0].m_Views.at(0);
    EXPECT_EQ(std::tuple(frame.m_fLeft, frame.m_fBottom, frame.m_fWidth, frame.m_fHeight,
                         b.scene.m_Textures.at(static_cast<std::size_t>(frame.m_nTexture)).m_bDecal),
              std::tuple(-2.5f, 0.75f, 5.0f, 3.0f, true));
    const auto& views = b.scene.m_Sprites[1].m_Views;
    EXPECT_EQ(std::tuple(views.size(), views.at(1).m_nTexture, views[1].m_fLeft, views[1].m_fBottom,
                         views[1].m_fHeight, views[1].m_bFlip),
              std::tuple(2u, views[0].m_nTexture, -1.0f, 0.0f, 4.0f, true));
    // Turned by 90 degrees the model's +z points east (+x); its y points down.
    const auto polygons = b.Faces(FaceKind::Model, 0);
    EXPECT_EQ(std::tuple(polygons.size(), polygons.at(0)->m_nObject, polygons[0]->m_nColour,
                         polygons[0]->m_nTexture),
              std::tuple(1u, 1, 9, -1));
    const auto c = b.Corners(*polygons[0]);
    const auto units = [](float v) { return std::lround(v / kSceneScale * 10); };
    EXPECT_EQ(std::tuple(units(c[1].y), units(c[2].x), units(c[2].z)), std::tuple(20, 360, 160));
    EXPECT_EQ(b.scene.m_Sounds.at(0).m_strName, "HUM.VOC");
    EXPECT_EQ(b.scene.m_Missing,
              (std::vector<std::string>{"SECBASE.PAL", "RWRWALL1.BM", "IF3.BM", "IPBIGLT.BM"}));
    // No SPIRIT: the object whose logic is the player's is the start, at eye height over the floor.
    const SceneStart& start = b.scene.m_Start;
    EXPECT_EQ(std::tuple(start.m_bFound, start.m_nSector, units(start.x), units(start.y), units(start.z)),
              std::tuple(true, 0, 320, 58, 160));
}

// The level's own member wins; other names go to the archive of their extension, and what is found
// there is not added to the level.
TEST(LevelSceneSource, ReadsTheLevelsMembersThenTheArchiveOfTheExtension) {
    testing::TempDir cd;
    GobArchive dark;
    ASSERT_TRUE(dark.AddMember("LEVEL.CMP", Bytes(3, 1)).ok() && dark.AddMember("OWN.3DO", Bytes(2, 2)).ok());
    ASSERT_TRUE(WriteGobFile(dark, cd.path() / "DARK.GOB").ok());
    ResourceCache cache(cd.path(), cd.path());
    CDataLevel level;
    ASSERT_TRUE(level.AddMember("OWN.3DO", Bytes(1, 9)).ok());
    LevelSceneSource source(level, cache);
    for (const auto& [name, found, expected] :
         {std::tuple("own.3do", true, Bytes(1, 9)), std::tuple("level.cmp", true, Bytes(3, 1)),
          std::tuple("LEVEL.BM", false, Bytes()), std::tuple("LEVEL", false, Bytes())}) {
        Bytes bytes;
        EXPECT_EQ(std::pair(source.Find(name, bytes), bytes), std::pair(found, expected)) << name;
    }
    EXPECT_EQ(level.m_pMembers.size(), 1u);
}

} // namespace
} // namespace morvi
