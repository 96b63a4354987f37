#include "model/ModelOps.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvi {
namespace {

TEST(ModelOps, RoundHundredthsRoundsHalfAwayFromZero) {
    // Values beyond the 32-bit hundredths range are clamped, not undefined.
    for (const auto& [value, rounded] :
         {std::pair(2.5, 2.5), std::pair(1.006, 1.01), std::pair(-1.006, -1.01), std::pair(-0.004, 0.0),
          std::pair(1e300, 21474836.47)})
        EXPECT_DOUBLE_EQ(RoundHundredths(value), rounded) << value;
}

TEST(ModelOps, LoopsAndHoles) {
    CDataLevel level;
    testing::BuildRoomWithPillar(level);
    const CDataSector& room = *level.m_Lev.m_pSectors[0];
    std::vector<int> starts;
    BuildLoopStarts(room, starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4, 8}));
    EXPECT_EQ(GetEnclosedSectors(room), std::vector<int>{1});
    EXPECT_EQ(std::tuple(GetLoopLength(room, 5), GetLoopLength(room, 8)), std::tuple(4, 0));
    // A hole wall that adjoins nothing makes the hole enclose nothing.
    room.m_pWalls[6]->m_nAdjoin = -1;
    EXPECT_TRUE(GetEnclosedSectors(room).empty());

    // A loop that does not close spans all walls.
    CDataLevel open;
    testing::BuildRoom(open);
    open.m_Lev.m_pSectors[0]->m_pWalls[3]->m_nRight = 2;
    starts.clear();
    BuildLoopStarts(*open.m_Lev.m_pSectors[0], starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4}));
}

// The colour rules the O reader's tests do not reach: precedence among logics, keys and classes
// that decide nothing, items told apart by their picture.
TEST(ObjectColour, ClassesAndLogicLines) {
    const std::tuple<const char*, const char*, const char*, const char*, Colour> cases[] = {
        {"SPRITE", "STORMFIN.WAX", "LOGIC", "I_OFFICERR", 0xFF00FFu}, // before the "i_officer" rule
        {"SPRITE", "STORMFIN.WAX", "LOGIC", "I_OFFICER3", 0xFF0000u},
        {"SPRITE", "STORMFIN.WAX", "LOGIC", "ITEM SHIELD", 0x0080FFu},
        {"SPRITE", "STORMFIN.WAX", "LOGIC", "MY_GENERATOR", 0x00FFFFu},
        {"SPRITE", "STORMFIN.WAX", "TYPE", "ANYTHING", 0xFF0000u},
        {"SPRITE", "STORMFIN.WAX", "LOGIC", "WANDER", 0x123456u},
        {"SPRITE", "STORMFIN.WAX", "EYE", "TRUE", 0x123456u},
        {"SOUND", "STORMFIN.WAX", "LOGIC", "TROOP", 0x123456u},
        {"FRAME", "IPOWER.FME", "LOGIC", "ITEM ENERGY", 0xFFFF00u},
        {"FRAME", "STORMFIN.WAX", "LOGIC", "GOGGLES", 0x808000u},
    };
    for (const auto& [cls, data, key, value, colour] : cases) {
        CDataObjectItem o;
        o.m_strClass = cls;
        o.m_strData = data;
        o.m_crColour = 0x123456; // a colour no rule gives
        AssignObjectColour(o);
        const CDataObjectSeq seq(key, value);
        AssignObjectColour(o, &seq);
        EXPECT_EQ(o.m_crColour, colour) << cls << " " << key << " " << value;
    }
}

TEST(ObjectDataIndex, NamesAreComparedExactlyInTheClassTable) {
    CDataObjects objects;
    std::vector<int> data;
    for (const auto& [cls, name] : {std::pair("SPRITE", "STORMFIN.WAX"), std::pair("SPRITE", "stormfin.wax"),
                                    std::pair("3D", "TURRET.3DO"), std::pair("SPIRIT", "spirit"),
                                    std::pair("SPRITE", "STORMFIN.WAX")}) {
        CDataObjectItem o;
        std::tie(o.m_strClass, o.m_strData, o.m_nData) = std::tuple(cls, name, 9);
        SetObjectDataIndex(objects, o);
        data.push_back(o.m_nData);
    }
    EXPECT_EQ(data, (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(std::tuple(objects.m_Sprs.size(), objects.m_Sprs[1].m_nIndex, objects.m_Pods.size()),
              std::tuple(2u, 1, 1u));
}

TEST(TextureTable, LookupIgnoresCaseAndAppendsMissingNames) {
    CDataLev lev;
    for (const char* name : {"A.BM", "B.BM", "C.BM", "WALL.BM"})
        lev.FindOrAddTexture(name);
    EXPECT_EQ(lev.FindOrAddTexture("wall.bm"), 3);
    EXPECT_EQ(lev.FindOrAddTexture("NEW.BM"), 4);
    EXPECT_EQ(std::tuple(lev.m_Textures.size(), lev.m_Textures[4].m_nIndex), std::tuple(5u, 4));
    EXPECT_EQ(lev.FindOrAddTexture(""), -1);
    EXPECT_EQ(std::tuple(lev.GetTextureName(-1), lev.GetTextureName(99), lev.GetTextureName(1)),
              std::tuple("", "", "B.BM"));
}

} // namespace
} // namespace morvi
