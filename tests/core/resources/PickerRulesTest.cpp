#include "resources/PickerRules.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using Names = std::vector<std::string>;

// For each extension: the game's names, then what each category lists, "All" first. The names hold
// excluded first letters and interface parts, wrong extensions, near misses of the exact lists and
// names that fall into two categories; the past-the-end category lists nothing.
TEST(PickerRules, EachCategoryListsWhatItsRuleAccepts) {
    struct Case {
        std::string_view extension;
        Names game;
        std::vector<Names> lists;
    };
    const std::vector<Case> cases{
        {".bm",
         {"ABC.BM",     "Fwall.bm",    "lava.bm",     "mwall.bm",    "pwall.bm",     "wall.bm",
          "WALL.PAL",   "zacomp1.bmp", "xstatus1.bm", "ywait.bm",    "znarshada.bm", "ZACOMP1.BM",
          "zaeye.bm",   "zaeye2.bm",   "zaswit01.bm", "cesunset.bm", "resky03.bm",   "idgroove.bm",
          "iddoor.bm",  "gdlift.bm",   "zdgate.bm",   "iwdoor.bm",   "idmgrey.bm",   "zpsgr1.bm",
          "nssign2.bm", "zsbx.bm",     "ida1.bm",     "rpconvb.bm"},
         {{"wall.bm", "zacomp1.bm", "zaeye.bm", "zaeye2.bm", "zaswit01.bm", "cesunset.bm", "resky03.bm",
           "idgroove.bm", "iddoor.bm", "gdlift.bm", "zdgate.bm", "iwdoor.bm", "idmgrey.bm", "zpsgr1.bm",
           "nssign2.bm", "zsbx.bm", "ida1.bm", "rpconvb.bm"},
          {"zacomp1.bm", "zaeye.bm", "zaswit01.bm"},
          {"cesunset.bm"},
          {"iddoor.bm", "gdlift.bm", "zdgate.bm", "idmgrey.bm", "ida1.bm"},
          {"idmgrey.bm", "zpsgr1.bm"},
          {"nssign2.bm", "zsbx.bm"},
          {"ida1.bm", "rpconvb.bm"}}},
        {".FME",
         {"bullet.fme", "BULLET2.FME", "abc.fme", "bar.fme", "ikey1.fme", "ipile.fme", "det1.fme",
          "idata1.fme", "smallx.fme", "smax.fme", "iobx.fme", "wpower.fme", "wpower.wax", ""},
         {{"bullet.fme", "bullet2.fme", "abc.fme", "bar.fme", "ikey1.fme", "ipile.fme", "det1.fme",
           "idata1.fme", "smallx.fme", "smax.fme", "iobx.fme", "wpower.fme"},
          {"det1.fme", "idata1.fme", "smax.fme", "wpower.fme"}, // bullet.fme is under "All" only
          {"ikey1.fme", "ipile.fme", "det1.fme", "idata1.fme"},
          {"abc.fme", "bar.fme", "smallx.fme", "smax.fme", "iobx.fme"}}},
        {".wax",
         {"BOSSK.WAX", "gamor.wax", "iarmor.wax", "idkey.wax", "ipx.wax", "inava.wax", "inavb.wax",
          "bullet.wax", "ball.wax", "h1.wax", "lamp.wax", "t.wax", "rox.wax", "rax.wax", "bossk.fme"},
         {{"bossk.wax", "gamor.wax", "iarmor.wax", "idkey.wax", "ipx.wax", "inava.wax", "inavb.wax",
           "bullet.wax", "ball.wax", "h1.wax", "lamp.wax", "t.wax", "rox.wax", "rax.wax"},
          {"bossk.wax", "gamor.wax"},
          {"iarmor.wax"},
          {"idkey.wax", "ipx.wax", "inava.wax"},
          {"ball.wax", "h1.wax", "lamp.wax", "t.wax", "rox.wax"}}},
        // Objects need only contain the extension.
        {".3do", {"X.3DO", "y.3do.bak", "z.3d", "w.voc"}, {{"x.3do", "y.3do.bak"}}},
        {".Voc",
         {"WIND1.VOC", "m0.voc", "m2.voc", "beep-01.voc", "beep-10.voc", "st.voc", "ex-big.voc", "door.voc",
          "keyx.voc", "kyle.voc", "wind.wav", "random.voc"},
         {{"wind1.voc", "m0.voc", "m2.voc", "beep-01.voc", "beep-10.voc", "st.voc", "ex-big.voc", "door.voc",
           "keyx.voc", "kyle.voc", "random.voc"},
          {"wind1.voc"},
          {"m0.voc", "beep-01.voc"},
          {"st.voc", "random.voc"},
          {"beep-10.voc", "ex-big.voc"},
          {"door.voc"},
          {"keyx.voc", "kyle.voc"}}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(PickerCategories(c.extension).size(), c.lists.size()) << c.extension;
        for (std::size_t category = 0; category <= c.lists.size(); ++category)
            EXPECT_EQ(PickerList(c.extension, category, c.game, {}),
                      category < c.lists.size() ? c.lists[category] : Names{})
                << c.extension << " category " << category;
    }
    EXPECT_TRUE(PickerCategories("bm").empty());
}

TEST(PickerRules, LevelResourcesFollowTheGameAndRepeatIt) {
    EXPECT_EQ(PickerList(".WAX", 0, Names{"ENEMY.WAX", "b.wax"}, Names{"ENEMY.WAX", "ENEMY.FME"}),
              (Names{"enemy.wax", "b.wax", "enemy.wax"}));
    EXPECT_TRUE(PickerList(".pal", 0, Names{"secbase.pal"}, Names{"secbase.pal"}).empty());
}

TEST(PickerRules, SelectionIsTheExactNameOrTheFirstRow) {
    const Names listed{"a.bm", "b.bm", "c.bm"};
    EXPECT_EQ(PickerSelection(listed, "b.bm"), 1);
    EXPECT_EQ(PickerSelection(listed, "B.BM"), 0);
    EXPECT_EQ(PickerSelection(listed, "zz.bm"), 0);
    EXPECT_EQ(PickerSelection(Names{}, "a.bm"), -1);
}

} // namespace
} // namespace morvi
