#include "model/ModelOps.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

TEST(ModelOps, RoundHundredthsRoundsHalfAwayFromZero) {
    EXPECT_DOUBLE_EQ(RoundHundredths(2.5), 2.5);
    EXPECT_DOUBLE_EQ(RoundHundredths(1.006), 1.01);
    EXPECT_DOUBLE_EQ(RoundHundredths(-1.006), -1.01);
    EXPECT_DOUBLE_EQ(RoundHundredths(-0.004), 0.0);
    // Values beyond the 32-bit hundredths range are clamped, not undefined.
    EXPECT_DOUBLE_EQ(RoundHundredths(1e300), 21474836.47);
}

TEST(ModelOps, LoopsOfARoomWithAPillar) {
    CDataLevel level;
    testing::BuildRoomWithPillar(level);
    const CDataSector& room = *level.m_Lev.m_pSectors[0];
    std::vector<int> starts;
    BuildLoopStarts(room, starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4, 8}));
    EXPECT_EQ(GetEnclosedSectors(room), std::vector<int>{1});
    EXPECT_EQ(GetLoopLength(room, 5), 4);
    EXPECT_EQ(GetLoopLength(room, 8), 0);

    // A hole wall that adjoins nothing makes the hole enclose nothing.
    room.m_pWalls[6]->m_nAdjoin = -1;
    EXPECT_TRUE(GetEnclosedSectors(room).empty());
}

TEST(ModelOps, OpenLoopSpansAllWalls) {
    CDataLevel level;
    testing::BuildRoom(level);
    CDataSector& room = *level.m_Lev.m_pSectors[0];
    room.m_pWalls[3]->m_nRight = 2;
    std::vector<int> starts;
    BuildLoopStarts(room, starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4}));
}

} // namespace
} // namespace morvi

namespace morvi {
namespace {

CDataObjectItem ObjectOf(const char* cls, const char* data = "STORMFIN.WAX") {
    CDataObjectItem o;
    o.m_strClass = cls;
    o.m_strData = data;
    o.m_crColour = 0x123456; // a colour no rule gives
    return o;
}

Colour ColourAfter(CDataObjectItem o, const char* key, const char* value) {
    AssignObjectColour(o);
    const CDataObjectSeq seq(key, value);
    AssignObjectColour(o, &seq);
    return o.m_crColour;
}

TEST(ObjectColour, ClassesAndLogicLines) {
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "LOGIC", "D_TROOP1"), 0xFF0000u);
    EXPECT_EQ(ColourAfter(ObjectOf("sprite"), "logic", "remote"), 0xFFFFFFu);
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "LOGIC", "I_OFFICERR"), 0xFF00FFu);  // before the "i_officer" rule
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "LOGIC", "I_OFFICER3"), 0xFF0000u);
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "LOGIC", "ITEM SHIELD"), 0x0080FFu);
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "LOGIC", "MY_GENERATOR"), 0x00FFFFu);
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "TYPE", "ANYTHING"), 0xFF0000u);
    // An unknown logic and an unknown key leave the colour alone.
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "LOGIC", "WANDER"), 0x123456u);
    EXPECT_EQ(ColourAfter(ObjectOf("SPRITE"), "EYE", "TRUE"), 0x123456u);
    EXPECT_EQ(ColourAfter(ObjectOf("SOUND"), "LOGIC", "TROOP"), 0x123456u);

    EXPECT_EQ(ColourAfter(ObjectOf("FRAME", "IMEDKIT.FME"), "LOGIC", "ITEM ENERGY"), 0x0080FFu);
    EXPECT_EQ(ColourAfter(ObjectOf("FRAME", "IPOWER.FME"), "LOGIC", "ITEM ENERGY"), 0xFFFF00u);
    EXPECT_EQ(ColourAfter(ObjectOf("FRAME"), "LOGIC", "GOGGLES"), 0x808000u);
    EXPECT_EQ(ColourAfter(ObjectOf("3D"), "LOGIC", "ANIM"), 0x808080u);
    EXPECT_EQ(ColourAfter(ObjectOf("SAFE"), "LOGIC", "TROOP"), 0x808080u);
    EXPECT_EQ(ColourAfter(ObjectOf("SPIRIT"), "LOGIC", "PLAYER"), 0x00FF00u);
}

TEST(ObjectDataIndex, NamesAreComparedExactlyInTheClassTable) {
    CDataObjects objects;
    CDataObjectItem a = ObjectOf("SPRITE", "STORMFIN.WAX");
    CDataObjectItem b = ObjectOf("SPRITE", "stormfin.wax");
    CDataObjectItem c = ObjectOf("3D", "TURRET.3DO");
    CDataObjectItem d = ObjectOf("SPIRIT", "spirit");
    d.m_nData = 9;
    for (CDataObjectItem* o : {&a, &b, &c, &d}) SetObjectDataIndex(objects, *o);
    EXPECT_EQ(a.m_nData, 0);
    EXPECT_EQ(b.m_nData, 1);
    EXPECT_EQ(c.m_nData, 0);
    EXPECT_EQ(d.m_nData, 0);
    ASSERT_EQ(objects.m_Sprs.size(), 2u);
    EXPECT_EQ(objects.m_Sprs[1].m_nIndex, 1);
    EXPECT_EQ(objects.m_Pods.size(), 1u);
    SetObjectDataIndex(objects, a);
    EXPECT_EQ(objects.m_Sprs.size(), 2u);
}

TEST(TextureTable, LookupIgnoresCaseAndAppendsMissingNames) {
    CDataLev lev;
    for (const char* name : {"A.BM", "B.BM", "C.BM", "WALL.BM"}) lev.FindOrAddTexture(name);
    EXPECT_EQ(lev.FindOrAddTexture("wall.bm"), 3);
    EXPECT_EQ(lev.m_Textures.size(), 4u);
    EXPECT_EQ(lev.FindOrAddTexture("NEW.BM"), 4);
    EXPECT_EQ(lev.m_Textures[4].m_nIndex, 4);
    EXPECT_EQ(lev.FindOrAddTexture(""), -1);
    EXPECT_EQ(lev.GetTextureName(-1), "");
    EXPECT_EQ(lev.GetTextureName(99), "");
    EXPECT_EQ(lev.GetTextureName(1), "B.BM");
}

} // namespace
} // namespace morvi
