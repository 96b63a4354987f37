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

TEST(DemoDark, HoldsEveryLevelPaletteWholeAndEveryModel) {
    GobArchive gob = BuildDarkGob();
    std::vector<std::string> names{"DARK.PAL"};
    for (std::string_view level : DemoLevelNames())
        names.push_back(std::string(level) + ".PAL");
    for (const std::string& name : names) {
        const CDataGobEntry* member = gob.FindMember(name);
        ASSERT_NE(member, nullptr) << name;
        EXPECT_EQ(member->m_nSize, kPaletteSize) << name;
    }
    for (std::string_view name : DemoModelNames())
        EXPECT_NE(gob.FindMember(name), nullptr) << name;
    EXPECT_EQ(gob.m_pMembers.size(), names.size() + DemoModelNames().size());
    EXPECT_TRUE(BuildDemoModel("NOSUCH.3DO").m_Objects.empty());
}

// Each model reads back without a repair and writes the same text again; what a viewer needs is
// there: several parts, both polygon kinds, colours from the material ramps, textured parts whose
// texture polygons pair with their polygons and whose texture is in the table.
TEST(DemoDark, ModelsReadBackUnchangedWholeAndTextured) {
    GobArchive gob = BuildDarkGob();
    for (std::string_view name : DemoModelNames()) {
        SCOPED_TRACE(std::string(name));
        const std::string text(gob.FindMember(name)->text());
        TextNotes notes;
        const Model3D model = Read3DO(text, &notes);
        EXPECT_TRUE(notes.empty());
        std::string again;
        Write3DO(model, again);
        EXPECT_EQ(again, text);

        EXPECT_GE(model.m_Objects.size(), 3u);
        std::size_t quads = 0, triangles = 0, textured = 0;
        std::set<std::string> fills;
        for (const ModelObject& o : model.m_Objects) {
            quads += o.m_Quads.size();
            triangles += o.m_Triangles.size();
            for (const ModelQuad& q : o.m_Quads) {
                EXPECT_GE(q.m_nColor, kFirstRampIndex);
                fills.insert(q.m_strFill);
            }
            for (const ModelTriangle& t : o.m_Triangles)
                fills.insert(t.m_strFill);
            if (o.m_TextureVertices.empty()) {
                EXPECT_EQ(o.m_nTextureIndex, -1);
                continue;
            }
            ++textured;
            EXPECT_TRUE(o.m_nTextureIndex >= 0 && std::size_t(o.m_nTextureIndex) < model.m_Textures.size());
            EXPECT_EQ(o.m_TextureQuads.size(), o.m_Quads.size());
            EXPECT_EQ(o.m_TextureTriangles.size(), o.m_Triangles.size());
        }
        EXPECT_GT(quads, 0u);
        EXPECT_GT(triangles, 0u);
        EXPECT_GT(textured, 0u);
        EXPECT_GE(fills.size(), 2u);
    }
}

} // namespace
} // namespace morvi::demo
