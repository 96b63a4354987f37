#include "model/ModelOps.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvi {
namespace {

TEST(ModelOps, RoundHundredthsRoundsHalfAwayFromZero) {
    // Values beyond the 32-bit hundredths range are clamped, not undefined.
    for (const auto& [value, rounded] :
         {std::pair(2.5, 2.5), std::pair(1.006, 1.01), std::pair(-1.006, -1.01), std::pair(-1.234, -1.23),
          std::pair(-0.004, 0.0), std::pair(1e300, 21474836.47)})
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

} // namespace
} // namespace morvi
