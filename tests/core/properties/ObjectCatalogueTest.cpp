#include "properties/ObjectCatalogue.h"
#include "properties/FlagLists.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace morvi {
namespace {

// The logic lines a name gives for an index of the "Sequence:" list (0 for its "1").
TEST(ObjectCatalogue, LogicTextBySequence) {
    const std::tuple<std::string, int, std::string> cases[] = {
        {"stormfin.wax", 0, "logic:\ttroop\r\n"},
        {"stormfin.wax", 1, "logic:\tstorm1\r\n"},
        {"offcfin.wax", 8, "logic:\ti_officer5\r\n"},
        {"offcfin.wax", 9, ""},
        {"kyl3do.3do", 2,
         "logic:\tkey\r\npause:\ttrue\r\nvue:\tweapon_t.vue \"kyles\"\r\nvue_append:\tweapon_l.vue "
         "\"kyles\"\r\n"},
        {"kyl3do.3do", 8, ""},
        // Lines that do not depend on the sequence hold for any index.
        {"idata.fme", 3, "logic:\tdatatape\r\nradius:\t1.5\r\nlogic:\tupdate\r\n"},
        {"Tielo-3.3DO", 0, "logic:\tkey\r\nvue:\ttie.vue \"pit\"\r\nvue_append:\ttie.vue \"pit01\"\r\n"},
        {"IMEDKIT.FME", 0, "logic:\tmedkit\r\n"},
        {"ifusion.fme", 0, ""},
        {"safe", 0, ""},
    };
    for (const auto& [name, sequence, text] : cases)
        EXPECT_EQ(CatalogueLogicText(name, sequence), text) << name << " " << sequence;
}

TEST(ObjectCatalogue, SequenceCountAndClass) {
    EXPECT_EQ(SequenceEntryCount(CatalogueLogicText("offcfin.wax", 0), "offcfin.wax"), 9);
    EXPECT_EQ(SequenceEntryCount(GeneratorTemplate(), "offcfin.wax"), 1);
    EXPECT_EQ(SequenceEntryCount("LOGIC:\tGENERATOR I_OFFICER\r\n", "kyl3do.3do"), 1);
    EXPECT_EQ(SequenceEntryCount("", "kyl3do.3do"), 8);
    EXPECT_EQ(SequenceEntryCount("", "reeyees.wax"), 2);
    EXPECT_EQ(SequenceEntryCount("", "gun.3do"), 1);
    for (const auto& [name, type] :
         {std::pair("stormfin.wax", "sprite"), std::pair("ikeyb.fme", "frame"), std::pair("gun.3do", "3d"),
          std::pair("door.voc", "sound"), std::pair("safe", "safe"), std::pair("spirit", "spirit"),
          std::pair("safe.wax", "sprite"), std::pair("", "spirit")})
        EXPECT_EQ(CatalogueClassFor(name), type) << name;
}

// The listed bits follow the selection; the bits beyond the list stay as they were.
TEST(FlagLists, WordFromSelectionKeepsUnlistedBits) {
    const std::tuple<FlagList, int, std::vector<bool>, int> cases[] = {
        {FlagList::Wall3, 0x10 | 0x2, {true, false, false, true}, 0x10 | 0x9},
        {FlagList::Wall, (1 << 16) | (1 << 15), {true}, (1 << 16) | 1},
        {FlagList::Sector, -1, std::vector<bool>(20, false), ~((1 << 20) - 1)},
        {FlagList::Sector, 0, std::vector<bool>(25, true), (1 << 20) - 1},
    };
    for (const auto& [list, previous, selected, word] : cases)
        EXPECT_EQ(FlagWordFromSelection(list, previous, selected), word) << previous;
    EXPECT_EQ(FlagSelectionFromWord(FlagList::Wall3, 0x10 | 0x9),
              (std::vector<bool>{true, false, false, true}));
}

} // namespace
} // namespace morvi
