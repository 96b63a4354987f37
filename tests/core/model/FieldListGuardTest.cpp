// Every field of every record goes through the undo snapshot, the test comparer and, where the
// format carries it, the record encoding. A field added to a record changes the record's size and
// stops this file compiling until it is listed here, so the three cannot drift apart again.
#include "document/LevelSnapshot.h"
#include "model/RecordArchive.h"
#include "support/LevelBuilders.h"
#include "support/LevelCompare.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace morvi {
namespace {

static_assert(sizeof(CDataTexture) == 40 && sizeof(CDataVertex) == 24 && sizeof(CDataWall) == 216 &&
                  sizeof(CDataSector) == 224 && sizeof(CDataObjectItem) == 176 &&
                  sizeof(CDataObjectSeq) == 72 && sizeof(CDataInfItem) == 104 &&
                  sizeof(CDataNameEntry) == 40 && sizeof(CDataLev) == 224 && sizeof(CDataObjects) == 216 &&
                  sizeof(CDataInf) == 136 && sizeof(CDataLevel) == 792,
              "a record gained or lost a field: list it below");

// Which record's encoding carries a field.
enum class Record { None, Sector, Object, Item };

struct Field {
    std::string m_strName;
    Record m_Record;
    bool m_bEncoded;
    std::function<void(CDataLevel&, int)> m_Set;
};

// Two rooms, a texture, a sprite with a SEQ line, an INF item, a member: one of each record.
void Build(CDataLevel& level) {
    testing::BuildTwoRooms(level);
    level.m_Objects.m_Sprs.emplace_back(0, "A.WAX");
    level.m_Objects.m_pObjects.push_back(std::make_unique<CDataObjectItem>());
    level.m_Objects.m_pObjects[0]->m_pSeqs.push_back(std::make_unique<CDataObjectSeq>("LOGIC", "TROOP"));
    testing::AddItem(level.m_Inf, "sector", "a", -1, {"class:\televator"});
    ASSERT_TRUE(level.AddMember("A.BM", std::vector<std::uint8_t>{1}));
    level.m_LevelNames = {"SECBASE", "TALAY"};
}

constexpr auto Sector = [](CDataLevel& l) -> CDataSector& { return *l.m_Lev.m_pSectors[0]; };
constexpr auto Wall = [](CDataLevel& l) -> CDataWall& { return *Sector(l).m_pWalls[0]; };
constexpr auto Object = [](CDataLevel& l) -> CDataObjectItem& { return *l.m_Objects.m_pObjects[0]; };
constexpr auto Text = [](int v) { return "F" + std::to_string(v); };

void AddTextureFields(std::vector<Field>& f, const std::string& s, CDataTexture& (*of)(CDataLevel&)) {
    // Textures are encoded by name: another entry of the table.
    f.push_back({s + " texture", Record::Sector, true,
                 [of](CDataLevel& l, int) { of(l).m_nTexture = of(l).m_nTexture == 0; }});
    f.push_back(
        {s + " offset x", Record::Sector, true, [of](CDataLevel& l, int v) { of(l).m_dOffsetX = v; }});
    f.push_back(
        {s + " offset y", Record::Sector, true, [of](CDataLevel& l, int v) { of(l).m_dOffsetY = v; }});
    f.push_back({s + " flag", Record::Sector, true, [of](CDataLevel& l, int v) { of(l).m_nTexFlag = v; }});
}

std::vector<Field> Fields() {
    using L = CDataLevel;
    std::vector<Field> f = {
        {"LEV version", Record::None, false, [](L& l, int v) { l.m_Lev.m_strVersion = Text(v); }},
        {"LEV level name", Record::None, false, [](L& l, int v) { l.m_Lev.m_strLevelName = Text(v); }},
        {"palette", Record::None, false, [](L& l, int v) { l.m_Lev.m_strPalette = Text(v); }},
        {"music", Record::None, false, [](L& l, int v) { l.m_Lev.m_strMusic = Text(v); }},
        {"parallax 1", Record::None, false, [](L& l, int v) { l.m_Lev.m_dParallax1 = v; }},
        {"parallax 2", Record::None, false, [](L& l, int v) { l.m_Lev.m_dParallax2 = v; }},
        {"LEV author", Record::None, false, [](L& l, int v) { l.m_Lev.m_strAuthor = Text(v); }},
        {"texture name", Record::None, false, [](L& l, int v) { l.m_Lev.m_Textures[0].m_strName = Text(v); }},
        {"texture index", Record::None, false, [](L& l, int v) { l.m_Lev.m_Textures[0].m_nIndex = v; }},
        {"sector index", Record::Sector, true, [](L& l, int v) { Sector(l).m_nIndex = v; }},
        {"sector name", Record::Sector, true, [](L& l, int v) { Sector(l).m_strName = Text(v); }},
        {"ambient", Record::Sector, true, [](L& l, int v) { Sector(l).m_nAmbient = v; }},
        {"floor altitude", Record::Sector, true, [](L& l, int v) { Sector(l).m_dFloorAltitude = v; }},
        {"ceiling altitude", Record::Sector, true, [](L& l, int v) { Sector(l).m_dCeilingAltitude = v; }},
        {"second altitude", Record::Sector, true, [](L& l, int v) { Sector(l).m_dSecondAltitude = v; }},
        {"sector flags 1", Record::Sector, true, [](L& l, int v) { Sector(l).m_nFlags1 = v; }},
        {"sector flags 2", Record::Sector, true, [](L& l, int v) { Sector(l).m_nFlags2 = v; }},
        {"sector flags 3", Record::Sector, true, [](L& l, int v) { Sector(l).m_nFlags3 = v; }},
        // A pasted sector lands on the layer being edited.
        {"layer", Record::Sector, false, [](L& l, int v) { Sector(l).m_nLayer = v; }},
        {"vertices", Record::Sector, true, [](L& l, int) { Sector(l).m_pVertices.pop_back(); }},
        {"walls", Record::Sector, true, [](L& l, int) { Sector(l).m_pWalls.pop_back(); }},
        {"vertex x", Record::Sector, true, [](L& l, int v) { Sector(l).m_pVertices[0]->m_dX = v; }},
        {"vertex z", Record::Sector, true, [](L& l, int v) { Sector(l).m_pVertices[0]->m_dZ = v; }},
        {"wall index", Record::Sector, true, [](L& l, int v) { Wall(l).m_nIndex = v; }},
        {"left", Record::Sector, true, [](L& l, int v) { Wall(l).m_nLeft = v; }},
        {"right", Record::Sector, true, [](L& l, int v) { Wall(l).m_nRight = v; }},
        {"adjoin", Record::Sector, true, [](L& l, int v) { Wall(l).m_nAdjoin = v; }},
        {"mirror", Record::Sector, true, [](L& l, int v) { Wall(l).m_nMirror = v; }},
        {"walk", Record::Sector, true, [](L& l, int v) { Wall(l).m_nWalk = v; }},
        {"wall flags 1", Record::Sector, true, [](L& l, int v) { Wall(l).m_nFlags1 = v; }},
        {"wall flags 2", Record::Sector, true, [](L& l, int v) { Wall(l).m_nFlags2 = v; }},
        {"wall flags 3", Record::Sector, true, [](L& l, int v) { Wall(l).m_nFlags3 = v; }},
        {"light", Record::Sector, true, [](L& l, int v) { Wall(l).m_nLight = v; }},
        // A working value of the flip and rotate tools, never stored.
        {"old mirror", Record::Sector, false, [](L& l, int v) { Wall(l).m_nOldMirror = v; }},
        {"O version", Record::None, false, [](L& l, int v) { l.m_Objects.m_strVersion = Text(v); }},
        {"O level name", Record::None, false, [](L& l, int v) { l.m_Objects.m_strLevelName = Text(v); }},
        {"O author", Record::None, false, [](L& l, int v) { l.m_Objects.m_strAuthor = Text(v); }},
        {"pods", Record::None, false, [](L& l, int v) { l.m_Objects.m_Pods.emplace_back(0, Text(v)); }},
        {"sprs", Record::None, false, [](L& l, int v) { l.m_Objects.m_Sprs[0].m_strName = Text(v); }},
        {"fmes", Record::None, false, [](L& l, int v) { l.m_Objects.m_Fmes.emplace_back(0, Text(v)); }},
        {"sounds", Record::None, false, [](L& l, int v) { l.m_Objects.m_Sounds.emplace_back(0, Text(v)); }},
        {"object index", Record::Object, true, [](L& l, int v) { Object(l).m_nIndex = v; }},
        {"class", Record::Object, true, [](L& l, int v) { Object(l).m_strClass = Text(v); }},
        {"data", Record::Object, true, [](L& l, int v) { Object(l).m_strData = Text(v); }},
        {"data number", Record::Object, true, [](L& l, int v) { Object(l).m_nData = v; }},
        {"x", Record::Object, true, [](L& l, int v) { Object(l).m_dX = v; }},
        {"y", Record::Object, true, [](L& l, int v) { Object(l).m_dY = v; }},
        {"z", Record::Object, true, [](L& l, int v) { Object(l).m_dZ = v; }},
        {"pitch", Record::Object, true, [](L& l, int v) { Object(l).m_dPitch = v; }},
        {"yaw", Record::Object, true, [](L& l, int v) { Object(l).m_dYaw = v; }},
        {"roll", Record::Object, true, [](L& l, int v) { Object(l).m_dRoll = v; }},
        {"difficulty", Record::Object, true, [](L& l, int v) { Object(l).m_nDiff = v; }},
        {"colour", Record::Object, true, [](L& l, int v) { Object(l).m_crColour = static_cast<Colour>(v); }},
        // The sector an object stands in is worked out again wherever it lands.
        {"object sector", Record::Object, false, [](L& l, int v) { Object(l).m_nSector = v; }},
        {"SEQ key", Record::Object, true, [](L& l, int v) { Object(l).m_pSeqs[0]->m_strKey = Text(v); }},
        {"SEQ value", Record::Object, true, [](L& l, int v) { Object(l).m_pSeqs[0]->m_strValue = Text(v); }},
        {"INF version", Record::None, false, [](L& l, int v) { l.m_Inf.m_strVersion = Text(v); }},
        {"INF level name", Record::None, false, [](L& l, int v) { l.m_Inf.m_strLevelName = Text(v); }},
        {"INF parallax 1", Record::None, false, [](L& l, int v) { l.m_Inf.m_dParallax1 = v; }},
        {"INF parallax 2", Record::None, false, [](L& l, int v) { l.m_Inf.m_dParallax2 = v; }},
        {"INF author", Record::None, false, [](L& l, int v) { l.m_Inf.m_strAuthor = Text(v); }},
        {"item type", Record::Item, true, [](L& l, int v) { l.m_Inf.m_pItems[0]->m_strType = Text(v); }},
        {"item name", Record::Item, true, [](L& l, int v) { l.m_Inf.m_pItems[0]->m_strName = Text(v); }},
        {"item wall", Record::Item, true, [](L& l, int v) { l.m_Inf.m_pItems[0]->m_nNum = v; }},
        {"item lines", Record::Item, true, [](L& l, int v) { l.m_Inf.m_pItems[0]->m_Lines[0] = Text(v); }},
        {"member name", Record::None, false, [](L& l, int v) { l.m_pMembers[0]->m_strName = Text(v); }},
        {"member bytes", Record::None, false, [](L& l, int v) { l.m_pMembers[0]->SetData(Text(v)); }},
        {"level names", Record::None, false, [](L& l, int v) { l.m_LevelNames[1] = Text(v); }},
        {"current level", Record::None, false, [](L& l, int v) { l.m_nCurrentLevel = v; }},
    };
    AddTextureFields(f, "floor", [](CDataLevel& l) -> CDataTexture& { return Sector(l).m_FloorTexture; });
    AddTextureFields(f, "ceiling", [](CDataLevel& l) -> CDataTexture& { return Sector(l).m_CeilingTexture; });
    AddTextureFields(f, "mid", [](CDataLevel& l) -> CDataTexture& { return Wall(l).m_Mid; });
    AddTextureFields(f, "top", [](CDataLevel& l) -> CDataTexture& { return Wall(l).m_Top; });
    AddTextureFields(f, "bottom", [](CDataLevel& l) -> CDataTexture& { return Wall(l).m_Bottom; });
    AddTextureFields(f, "sign", [](CDataLevel& l) -> CDataTexture& { return Wall(l).m_Sign; });
    return f;
}

// The record's encoding; the texture table a record names textures by is the level's own.
std::vector<std::uint8_t> Encoded(CDataLevel& level, Record record) {
    RecordArchive ar(RecordArchive::Context{&level.m_Lev, 0});
    if (record == Record::Sector) ar.WriteObject(&Sector(level));
    if (record == Record::Object) ar.WriteObject(&Object(level));
    if (record == Record::Item) ar.WriteObject(level.m_Inf.m_pItems[0].get());
    return ar.bytes();
}

TEST(FieldListGuard, EveryFieldGoesThroughTheSnapshotTheComparerAndTheEncoding) {
    const std::vector<Field> fields = Fields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const Field& field = fields[k];
        SCOPED_TRACE(field.m_strName);
        CDataLevel base, changed, restored;
        Build(base);
        Build(changed);
        field.m_Set(changed, 1000 + static_cast<int>(k));
        EXPECT_GT(testing::CountDifferences(base, changed), 0) << "the comparer does not see it";
        LevelSnapshot::Capture(changed).RestoreLevel(restored);
        EXPECT_EQ(testing::CountDifferences(restored, changed), 0) << "the snapshot does not carry it";
        if (field.m_Record != Record::None) {
            EXPECT_EQ(Encoded(base, field.m_Record) != Encoded(changed, field.m_Record), field.m_bEncoded);
        }
    }
}

} // namespace
} // namespace morvi
