#include "properties/ItemProperties.h"
#include "document/ChangeFlags.h"

#include "document/CMorviDoc.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using testing::Object;
using testing::Sector;
using testing::Vertex;
using testing::Wall;

// Applies key=value edits to the pane's texts as read, as a user typing into the pane.
ApplyResult Edit(PaneKind kind, CDataLevel& level, const std::vector<CMapSelItem>& selection,
                 const std::vector<std::pair<std::string_view, std::string>>& edits) {
    std::vector<std::string> texts = ReadPane(kind, level, selection).m_Texts;
    for (const auto& [key, value] : edits) {
        const int f = FindPaneField(kind, key);
        EXPECT_GE(f, 0) << key;
        texts[static_cast<std::size_t>(f)] = value;
    }
    return ApplyPane(kind, level, selection, texts);
}

std::string Shown(PaneKind kind, const CDataLevel& level, const std::vector<CMapSelItem>& selection,
                  std::string_view key) {
    return ReadPane(kind, level, selection).m_Texts[static_cast<std::size_t>(FindPaneField(kind, key))];
}

TEST(ItemProperties, SectorFieldsAreCheckedNegatedAndRounded) {
    struct Case {
        std::string_view key;
        std::string typed;
        std::string message; // empty: accepted
        double stored;
        std::string shown;
    };
    const Case cases[] = {
        {"floor-altitude", "12.345", "", -12.35, "12.35"},
        {"floor-altitude", "-0.005", "", 0.01, "-0.01"},
        {"floor-altitude", "1e12", "Please enter a number.", 0.0, "0"},
        {"floor-altitude", "4 m", "Please enter a number.", 0.0, "0"},
        {"layer", "11", "Please enter an integer between -10 and 10.", 0.0, ""},
        {"layer", "2.5", "Please enter an integer.", 0.0, ""},
        {"floor-texture", "abcdefghijklmn", "Please enter no more than 13 characters.", 0.0, ""},
    };
    for (const Case& c : cases) {
        CDataLevel level;
        testing::BuildRoom(level);
        const std::string before = Shown(PaneKind::Sector, level, {Sector(0)}, c.key);
        const ApplyResult result = Edit(PaneKind::Sector, level, {Sector(0)}, {{c.key, c.typed}});
        EXPECT_EQ(result.m_Status.message(), c.message) << c.typed;
        if (!c.message.empty()) {
            EXPECT_EQ(result.m_nChanged, 0u);
            EXPECT_EQ(Shown(PaneKind::Sector, level, {Sector(0)}, c.key), before);
            continue;
        }
        EXPECT_DOUBLE_EQ(level.m_Lev.m_pSectors[0]->m_dFloorAltitude, c.stored);
        EXPECT_EQ(Shown(PaneKind::Sector, level, {Sector(0)}, c.key), c.shown);
    }
}

TEST(ItemProperties, FurtherSectorsTakeAmbientAndTexturesOnly) {
    testing::EngineView v(kModeSector, testing::BuildTwoRooms);
    CDataLevel& level = v.level();
    v.sector(1).m_FloorTexture.m_dOffsetX = 3.0;
    const ApplyResult result =
        Edit(PaneKind::Sector, level, {Sector(0), Sector(1)},
             {{"floor-texture", "newfloor.bm"}, {"floor-altitude", "2"}, {"ambient", "7"}});
    ASSERT_TRUE(result.m_Status.ok());
    EXPECT_EQ(result.m_nChanged, unsigned(kChangedGeometry));
    EXPECT_EQ(level.m_Lev.GetTextureName(v.sector(1).m_FloorTexture.m_nTexture), "NEWFLOOR.BM");
    EXPECT_EQ(v.sector(1).m_FloorTexture.m_dOffsetX, v.sector(0).m_FloorTexture.m_dOffsetX);
    EXPECT_EQ(v.sector(1).m_nAmbient, 7);
    EXPECT_EQ(v.sector(0).m_dFloorAltitude, -2.0);
    EXPECT_EQ(v.sector(1).m_dFloorAltitude, 0.0);
    EXPECT_TRUE(testing::FindingsText(level).empty());
}

TEST(ItemProperties, RenameReachesInfButAnEmptyNameDoesNot) {
    CDataLevel level;
    testing::BuildRoom(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door1";
    testing::AddItem(level.m_Inf, "sector", "door1", -1, {"class:\televator change_light"});
    testing::AddItem(level.m_Inf, "sector", "other", -1, {"slave:\tdoor1"});

    EXPECT_EQ(Edit(PaneKind::Sector, level, {Sector(0)}, {{"name", "door2"}}).m_nChanged,
              unsigned(kChangedGeometry | kChangedInf));
    EXPECT_EQ(level.m_Inf.m_pItems[0]->m_strName, "door2");
    EXPECT_EQ(level.m_Inf.m_pItems[1]->m_Lines[0], "slave:\tdoor2");

    Edit(PaneKind::Sector, level, {Sector(0)}, {{"name", ""}});
    EXPECT_EQ(level.m_Lev.m_pSectors[0]->m_strName, "");
    EXPECT_EQ(level.m_Inf.m_pItems[0]->m_strName, "door2");
}

TEST(ItemProperties, UntouchedFieldsKeepStoredValuesExactly) {
    CDataLevel level;
    testing::BuildRoom(level);
    CDataSector& s = *level.m_Lev.m_pSectors[0];
    // A table naming one texture twice, and a value finer than hundredths, as files have them.
    level.m_Lev.m_Textures.emplace_back(static_cast<int>(level.m_Lev.m_Textures.size()),
                                        level.m_Lev.GetTextureName(s.m_FloorTexture.m_nTexture));
    s.m_FloorTexture.m_nTexture = static_cast<int>(level.m_Lev.m_Textures.size()) - 1;
    s.m_dCeilingAltitude = -8.125;
    EXPECT_EQ(Edit(PaneKind::Sector, level, {Sector(0)}, {}).m_nChanged, 0u);
    EXPECT_EQ(Edit(PaneKind::Sector, level, {Sector(0)}, {{"ambient", "5"}}).m_nChanged,
              unsigned(kChangedGeometry));
    EXPECT_EQ(s.m_FloorTexture.m_nTexture, static_cast<int>(level.m_Lev.m_Textures.size()) - 1);
    EXPECT_EQ(s.m_dCeilingAltitude, -8.125);
}

TEST(ItemProperties, WallsShareTexturesButNeverJoins) {
    testing::EngineView v(kModeWall, testing::BuildTwoRooms);
    ASSERT_TRUE(Edit(PaneKind::Wall, v.level(), {Wall(0, 0), Wall(0, 1)},
                     {{"flag-1", "32768"},
                      {"top-texture", "sign.bm"},
                      {"adjoin", "-1"},
                      {"mirror", "-1"},
                      {"walk", "-1"}})
                    .m_Status.ok());
    EXPECT_EQ(v.wall(0, 1).m_nFlags1, 32768);
    EXPECT_EQ(v.wall(0, 1).m_Top.m_nTexture, v.wall(0, 0).m_Top.m_nTexture);
    EXPECT_EQ(v.wall(0, 1).m_nAdjoin, 1);
}

TEST(ItemProperties, VertexTakesAlongTheAdjoinedCorner) {
    testing::EngineView v(kModeVertex, testing::BuildTwoRooms);
    const auto before = v.vertices(1);
    const std::string x = Shown(PaneKind::Vertex, v.level(), {Vertex(0, 1)}, "x");
    ASSERT_TRUE(Edit(PaneKind::Vertex, v.level(), {Vertex(0, 1)}, {{"x", x}, {"z", "7.777"}}).m_Status.ok());
    EXPECT_EQ(v.vertex(0, 1).m_dZ, 7.78);
    EXPECT_NE(v.vertices(1), before);
    EXPECT_TRUE(testing::FindingsText(v.level()).empty());
    // Two vertices selected: the pane has no item and applies nothing.
    const std::vector<CMapSelItem> two{Vertex(0, 1), Vertex(0, 2)};
    EXPECT_FALSE(ReadPane(PaneKind::Vertex, v.level(), two).m_bHasItem);
}

TEST(ItemProperties, ObjectLogicDifficultyAndClass) {
    CDataLevel level;
    CDataObjectItem& o = testing::AddObject(level, 1.0, 2.0);
    o.m_nDiff = 1;
    o.m_dY = -4.0;
    EXPECT_EQ(Shown(PaneKind::Object, level, {Object(0, -1)}, "difficulty"), "All levels");
    EXPECT_EQ(Shown(PaneKind::Object, level, {Object(0, -1)}, "y"), "4");

    ASSERT_TRUE(
        Edit(PaneKind::Object, level, {Object(0, -1)},
             {{"logic", "logic:\ttroop\r\neye:\ttrue\r\nno tab here\r\nradius:\t0\r\n"}, {"y", "1.5"}})
            .m_Status.ok());
    ASSERT_EQ(o.m_pSeqs.size(), 2u);
    EXPECT_EQ(o.m_pSeqs[0]->m_strKey + "/" + o.m_pSeqs[0]->m_strValue, "LOGIC/TROOP");
    EXPECT_EQ(o.m_pSeqs[1]->m_strKey + "/" + o.m_pSeqs[1]->m_strValue, "EYE/TRUE");
    EXPECT_EQ(o.m_dY, -1.5);
    EXPECT_EQ(o.m_nDiff, 1); // untouched: the file's value stays

    Edit(PaneKind::Object, level, {Object(0, -1)},
         {{"difficulty", "Medium & Hard"}, {"class", "Frame"}, {"name", "ikeyr.fme"}});
    EXPECT_EQ(o.m_nDiff, 2);
    EXPECT_EQ(o.m_strClass + " " + o.m_strData, "FRAME IKEYR.FME");
    ASSERT_TRUE(ValidIndex(level.m_Objects.m_Fmes.size(), o.m_nData));
    EXPECT_EQ(level.m_Objects.m_Fmes[static_cast<std::size_t>(o.m_nData)].m_strName, "IKEYR.FME");
    EXPECT_EQ(
        Edit(PaneKind::Object, level, {Object(0, -1)}, {{"difficulty", "Sometimes"}}).m_Status.message(),
        "Please choose one of the list's entries.");

    // A sprite chosen in the picker brings its class and the catalogue's logic; a texture target
    // the object pane does not have changes nothing.
    const std::vector<CMapSelItem> one{Object(0, -1)};
    std::vector<std::string> texts = ReadPane(PaneKind::Object, level, one).m_Texts;
    EXPECT_FALSE(ApplyPickerResult(PaneKind::Object, 1, "X.BM", "", texts));
    EXPECT_EQ(PaneResourceExtension(PaneKind::Object, "3D"), ".3do");
    EXPECT_EQ(PaneResourceExtension(PaneKind::Object, "Safe"), "");
    EXPECT_EQ(PaneResourceExtension(PaneKind::Wall, ""), ".bm");
    ASSERT_TRUE(ApplyPickerResult(PaneKind::Object, 0, "STORMFIN.WAX", "Sprite", texts));
    ASSERT_TRUE(ApplyPane(PaneKind::Object, level, one, texts).m_Status.ok());
    EXPECT_EQ(o.m_strClass + " " + o.m_strData, "SPRITE STORMFIN.WAX");
    ASSERT_EQ(o.m_pSeqs.size(), 1u);
    EXPECT_EQ(o.m_pSeqs[0]->m_strKey + "/" + o.m_pSeqs[0]->m_strValue, "LOGIC/TROOP");
}

// Applies through the document keep only the records they touch for undo; undo and redo must still
// give back every byte, the grown tables and the renamed INF included.
TEST(ItemProperties, ScopedUndoGivesBackEveryByte) {
    struct Case {
        PaneKind kind;
        std::vector<CMapSelItem> selection;
        std::vector<std::pair<std::string_view, std::string>> edits;
    };
    const Case cases[] = {
        {PaneKind::Sector,
         {Sector(1), Sector(0)},
         {{"name", "lift"}, {"ceiling-texture", "new.bm"}, {"ambient", "9"}}},
        {PaneKind::Wall, {Wall(0, 1), Wall(1, 0)}, {{"sign-texture", "sign.bm"}, {"light", "3"}}},
        {PaneKind::Object,
         {Object(0, -1)},
         {{"class", "Frame"}, {"name", "ikeyy.fme"}, {"logic", "logic:\tyellow"}}},
        {PaneKind::Vertex, {Vertex(0, 1)}, {{"x", "-3.5"}}},
    };
    for (const Case& c : cases) {
        CMorviDoc doc;
        testing::BuildTwoRooms(doc.level());
        doc.level().m_Lev.m_pSectors[1]->m_strName = "door";
        testing::AddItem(doc.level().m_Inf, "sector", "door", -1, {"class:\televator change_light"});
        testing::AddObject(doc.level(), 1.0, 1.0);
        const testing::GameTexts before = testing::WriteGameTexts(doc.level());
        doc.selection() = c.selection;
        std::vector<std::string> texts = ReadPane(c.kind, doc.level(), doc.selection()).m_Texts;
        for (const auto& [key, value] : c.edits)
            texts[static_cast<std::size_t>(FindPaneField(c.kind, key))] = value;
        ASSERT_TRUE(ApplyPaneChange(doc, c.kind, texts).m_Status.ok());
        const testing::GameTexts after = testing::WriteGameTexts(doc.level());
        ASSERT_NE(after, before);
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(testing::WriteGameTexts(doc.level()), before) << PaneChangeLabel(c.kind);
        EXPECT_EQ(doc.selection(), c.selection);
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(testing::WriteGameTexts(doc.level()), after) << PaneChangeLabel(c.kind);
    }
}

} // namespace
} // namespace morvi
