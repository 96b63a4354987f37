#include "demo/DemoDark.h"

#include "demo/DemoPalette.h"
#include "resources/GamePalette.h"
#include "resources/Model3D.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

std::string Text(const CDataGobEntry& member) {
    return std::string(member.text());
}

std::vector<std::uint8_t> Bytes(GobArchive& gob) {
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(WriteGob(gob, out).ok());
    return out;
}

void ExpectSameObject(const ModelObject& a, const ModelObject& b) {
    EXPECT_EQ(a.m_strName, b.m_strName);
    EXPECT_EQ(a.m_nTextureIndex, b.m_nTextureIndex);
    ASSERT_EQ(a.m_Vertices.size(), b.m_Vertices.size());
    for (std::size_t i = 0; i < a.m_Vertices.size(); ++i) {
        EXPECT_EQ(a.m_Vertices[i].m_dX, b.m_Vertices[i].m_dX);
        EXPECT_EQ(a.m_Vertices[i].m_dY, b.m_Vertices[i].m_dY);
        EXPECT_EQ(a.m_Vertices[i].m_dZ, b.m_Vertices[i].m_dZ);
    }
    ASSERT_EQ(a.m_Quads.size(), b.m_Quads.size());
    for (std::size_t i = 0; i < a.m_Quads.size(); ++i) {
        const ModelQuad &p = a.m_Quads[i], &q = b.m_Quads[i];
        EXPECT_EQ(std::vector<int>({p.m_nA, p.m_nB, p.m_nC, p.m_nD, p.m_nColor}),
                  std::vector<int>({q.m_nA, q.m_nB, q.m_nC, q.m_nD, q.m_nColor}));
        EXPECT_EQ(p.m_strFill, q.m_strFill);
    }
    ASSERT_EQ(a.m_Triangles.size(), b.m_Triangles.size());
    for (std::size_t i = 0; i < a.m_Triangles.size(); ++i) {
        const ModelTriangle &p = a.m_Triangles[i], &q = b.m_Triangles[i];
        EXPECT_EQ(std::vector<int>({p.m_nA, p.m_nB, p.m_nC, p.m_nColor}),
                  std::vector<int>({q.m_nA, q.m_nB, q.m_nC, q.m_nColor}));
        EXPECT_EQ(p.m_strFill, q.m_strFill);
    }
    ASSERT_EQ(a.m_TextureVertices.size(), b.m_TextureVertices.size());
    for (std::size_t i = 0; i < a.m_TextureVertices.size(); ++i) {
        EXPECT_EQ(a.m_TextureVertices[i].m_dX, b.m_TextureVertices[i].m_dX);
        EXPECT_EQ(a.m_TextureVertices[i].m_dY, b.m_TextureVertices[i].m_dY);
    }
    EXPECT_EQ(a.m_TextureQuads.size(), b.m_TextureQuads.size());
    EXPECT_EQ(a.m_TextureTriangles.size(), b.m_TextureTriangles.size());
}

TEST(DemoDark, HoldsEveryLevelPaletteWhole) {
    GobArchive gob = BuildDarkGob();
    std::vector<std::string> names;
    for (std::string_view level : DemoLevelNames())
        names.push_back(std::string(level) + ".PAL");
    names.push_back("DARK.PAL");
    ASSERT_EQ(names.size(), 15u);
    for (const std::string& name : names) {
        CDataGobEntry* member = gob.FindMember(name);
        ASSERT_NE(member, nullptr) << name;
        EXPECT_EQ(member->m_nSize, kPaletteSize) << name;
        GamePalette palette;
        EXPECT_TRUE(GamePalette::Read(member->data(), name, palette).ok()) << name;
    }
    EXPECT_EQ(gob.FindMember("DARK.PAL")->data()[3u * Shade(Ramp::White, 15)], 63);
}

TEST(DemoDark, HoldsTheModelsTheGameNames) {
    GobArchive gob = BuildDarkGob();
    for (const char* name :
         {"GUN.3DO", "WELDARM.3DO", "WELDBASE.3DO", "MOUSEBOT.3DO", "CARGO.3DO", "DEATH.3DO", "HUMAN3.3DO",
          "RAMENG.3DO", "TB_FAN.3DO", "TIELO-3.3DO", "KYL3DO.3DO"})
        EXPECT_NE(gob.FindMember(name), nullptr) << name;
    EXPECT_EQ(gob.m_pMembers.size(), 15u + DemoModelNames().size());
    EXPECT_TRUE(BuildDemoModel("NOSUCH.3DO").m_Objects.empty());
}

// Each model reads back as built, and writing what was read gives the same text again.
TEST(DemoDark, ModelsReadBackUnchanged) {
    GobArchive gob = BuildDarkGob();
    for (std::string_view name : DemoModelNames()) {
        SCOPED_TRACE(std::string(name));
        const Model3D built = BuildDemoModel(name);
        const std::string text = Text(*gob.FindMember(name));
        TextNotes notes;
        const Model3D read = Read3DO(text, &notes);
        EXPECT_TRUE(notes.empty());
        std::string again;
        Write3DO(read, again);
        EXPECT_EQ(again, text);

        EXPECT_EQ(read.m_strName, built.m_strName);
        ASSERT_EQ(read.m_Textures.size(), built.m_Textures.size());
        for (std::size_t i = 0; i < read.m_Textures.size(); ++i)
            EXPECT_EQ(read.m_Textures[i].m_strName, built.m_Textures[i].m_strName);
        ASSERT_EQ(read.m_Objects.size(), built.m_Objects.size());
        for (std::size_t i = 0; i < read.m_Objects.size(); ++i)
            ExpectSameObject(read.m_Objects[i], built.m_Objects[i]);
    }
}

// What a viewer needs: several parts, both polygon kinds with valid corners, a textured part
// whose texture polygons pair with its polygons, colours from the material ramps.
TEST(DemoDark, ModelsAreWholeAndTextured) {
    for (std::string_view name : DemoModelNames()) {
        SCOPED_TRACE(std::string(name));
        const Model3D model = BuildDemoModel(name);
        EXPECT_GE(model.m_Objects.size(), 3u);
        std::size_t quads = 0, triangles = 0, textured = 0;
        std::set<std::string> fills;
        for (const ModelObject& o : model.m_Objects) {
            quads += o.m_Quads.size();
            triangles += o.m_Triangles.size();
            for (const ModelQuad& q : o.m_Quads) {
                EXPECT_TRUE(q.IndicesWithin(o.m_Vertices.size()));
                EXPECT_GE(q.m_nColor, kFirstRampIndex);
                fills.insert(q.m_strFill);
            }
            for (const ModelTriangle& t : o.m_Triangles) {
                EXPECT_TRUE(t.IndicesWithin(o.m_Vertices.size()));
                fills.insert(t.m_strFill);
            }
            if (o.m_TextureVertices.empty()) {
                EXPECT_EQ(o.m_nTextureIndex, -1);
                continue;
            }
            ++textured;
            ASSERT_TRUE(o.m_nTextureIndex >= 0 && std::size_t(o.m_nTextureIndex) < model.m_Textures.size());
            EXPECT_EQ(o.m_TextureQuads.size(), o.m_Quads.size());
            EXPECT_EQ(o.m_TextureTriangles.size(), o.m_Triangles.size());
            for (const ModelTexQuad& q : o.m_TextureQuads)
                EXPECT_TRUE(q.IndicesWithin(o.m_TextureVertices.size()));
        }
        EXPECT_GT(quads, 0u);
        EXPECT_GT(triangles, 0u);
        EXPECT_GT(textured, 0u);
        EXPECT_GE(fills.size(), 2u);
    }
}

TEST(DemoDark, TwoBuildsGiveTheSameBytes) {
    GobArchive a = BuildDarkGob();
    GobArchive b = BuildDarkGob();
    EXPECT_EQ(Bytes(a), Bytes(b));
}

} // namespace
} // namespace morvi::demo
