#include "resources/PickerRules.h"

#include <gtest/gtest.h>

namespace morvi {
namespace {

using Names = std::vector<std::string>;

Names List(std::string_view ext, std::size_t category, const Names& game, const Names& level = {}) {
    return PickerList(ext, category, game, level);
}

TEST(PickerRules, ClassTable) {
    const auto classes = PickerClasses();
    ASSERT_EQ(classes.size(), 5u);
    const std::vector<std::array<std::string_view, 4>> expected{
        {"Sprites", "\\sprites.gob", ".wax", "Sprite"},
        {"Textures", "\\textures.gob", ".bm", ""},
        {"Frames", "\\sprites.gob", ".fme", "Frame"},
        {"3DOs", "\\dark.gob", ".3do", "3d"},
        {"Sounds", "\\sounds.gob", ".voc", "Sound"}};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(classes[i].m_strEntry, expected[i][0]);
        EXPECT_EQ(classes[i].m_strArchive, expected[i][1]);
        EXPECT_EQ(classes[i].m_strExtension, expected[i][2]);
        EXPECT_EQ(classes[i].m_strClassText, expected[i][3]);
        // Only the sounds come from the installed game; the rest from the CD-ROM.
        EXPECT_EQ(classes[i].m_Folder, i == 4 ? GameFolder::Installed : GameFolder::CdRom);
    }
}

TEST(PickerRules, CategoriesByExtension) {
    auto names = [](std::string_view ext) {
        const auto c = PickerCategories(ext);
        return std::vector<std::string_view>(c.begin(), c.end());
    };
    EXPECT_EQ(names(".bm"),
              (std::vector<std::string_view>{"All Textures", "Switches & Animated", "Skys",
                                             "Doors & Doortracks", "Cargo", "Signs", "Assembly Lines"}));
    EXPECT_EQ(names(".FME"), (std::vector<std::string_view>{"All Frames", "Weapons & Powerups",
                                                            "Goal Objects & Keys", "Decorative"}));
    EXPECT_EQ(names(".wax"), (std::vector<std::string_view>{"All Waxes", "Monsters", "Weapons & Powerups",
                                                            "Goal Objects", "Decorative"}));
    EXPECT_EQ(names(".3do"), (std::vector<std::string_view>{"All 3D Objects"}));
    EXPECT_EQ(names(".Voc"), (std::vector<std::string_view>{"All Sounds", "Ambient", "Page", "Enemy",
                                                            "Weapon", "Door/Elev/Switch", "Player/Engine"}));
    EXPECT_TRUE(names(".pal").empty());
    EXPECT_TRUE(names("bm").empty());
}

TEST(PickerRules, Textures) {
    // Excluded first letters and interface parts, a wrong extension, near misses of the exact lists,
    // and names that fall into two categories (idmg.., ida.. are also doors).
    const Names game{"ABC.BM",     "Fwall.bm",    "lava.bm",     "mwall.bm",    "pwall.bm",     "wall.bm",
                     "WALL.PAL",   "zacomp1.bmp", "xstatus1.bm", "ywait.bm",    "znarshada.bm", "ZACOMP1.BM",
                     "zaeye.bm",   "zaeye2.bm",   "zaswit01.bm", "cesunset.bm", "resky03.bm",   "idgroove.bm",
                     "iddoor.bm",  "gdlift.bm",   "zdgate.bm",   "iwdoor.bm",   "idmgrey.bm",   "zpsgr1.bm",
                     "nssign2.bm", "zsbx.bm",     "ida1.bm",     "rpconvb.bm"};
    EXPECT_EQ(List(".bm", 0, game),
              (Names{"wall.bm", "zacomp1.bm", "zaeye.bm", "zaeye2.bm", "zaswit01.bm", "cesunset.bm",
                     "resky03.bm", "idgroove.bm", "iddoor.bm", "gdlift.bm", "zdgate.bm", "iwdoor.bm",
                     "idmgrey.bm", "zpsgr1.bm", "nssign2.bm", "zsbx.bm", "ida1.bm", "rpconvb.bm"}));
    EXPECT_EQ(List(".bm", 1, game), (Names{"zacomp1.bm", "zaeye.bm", "zaswit01.bm"}));
    EXPECT_EQ(List(".bm", 2, game), (Names{"cesunset.bm"}));
    EXPECT_EQ(List(".bm", 3, game), (Names{"iddoor.bm", "gdlift.bm", "zdgate.bm", "idmgrey.bm", "ida1.bm"}));
    EXPECT_EQ(List(".bm", 4, game), (Names{"idmgrey.bm", "zpsgr1.bm"}));
    EXPECT_EQ(List(".bm", 5, game), (Names{"nssign2.bm", "zsbx.bm"}));
    EXPECT_EQ(List(".bm", 6, game), (Names{"ida1.bm", "rpconvb.bm"}));
    EXPECT_TRUE(List(".bm", 7, game).empty());
}

TEST(PickerRules, Frames) {
    const Names game{
        "bullet.fme", "BULLET2.FME", "abc.fme",  "bar.fme",  "ikey1.fme",  "ipile.fme",  "det1.fme",
        "idata1.fme", "smallx.fme",  "smax.fme", "iobx.fme", "wpower.fme", "wpower.wax", ""};
    EXPECT_EQ(List(".fme", 0, game),
              (Names{"bullet.fme", "bullet2.fme", "abc.fme", "bar.fme", "ikey1.fme", "ipile.fme", "det1.fme",
                     "idata1.fme", "smallx.fme", "smax.fme", "iobx.fme", "wpower.fme"}));
    // bullet.fme is listed under "All Frames" only.
    EXPECT_EQ(List(".fme", 1, game), (Names{"det1.fme", "idata1.fme", "smax.fme", "wpower.fme"}));
    EXPECT_EQ(List(".fme", 2, game), (Names{"ikey1.fme", "ipile.fme", "det1.fme", "idata1.fme"}));
    EXPECT_EQ(List(".fme", 3, game), (Names{"abc.fme", "bar.fme", "smallx.fme", "smax.fme", "iobx.fme"}));
}

TEST(PickerRules, Waxes) {
    const Names game{"BOSSK.WAX", "gamor.wax", "iarmor.wax", "idkey.wax", "ipx.wax",
                     "inava.wax", "inavb.wax", "bullet.wax", "ball.wax",  "h1.wax",
                     "lamp.wax",  "t.wax",     "rox.wax",    "rax.wax",   "bossk.fme"};
    EXPECT_EQ(List(".wax", 0, game),
              (Names{"bossk.wax", "gamor.wax", "iarmor.wax", "idkey.wax", "ipx.wax", "inava.wax", "inavb.wax",
                     "bullet.wax", "ball.wax", "h1.wax", "lamp.wax", "t.wax", "rox.wax", "rax.wax"}));
    EXPECT_EQ(List(".wax", 1, game), (Names{"bossk.wax", "gamor.wax"}));
    EXPECT_EQ(List(".wax", 2, game), (Names{"iarmor.wax"}));
    EXPECT_EQ(List(".wax", 3, game), (Names{"idkey.wax", "ipx.wax", "inava.wax"}));
    EXPECT_EQ(List(".wax", 4, game), (Names{"ball.wax", "h1.wax", "lamp.wax", "t.wax", "rox.wax"}));
}

TEST(PickerRules, ObjectsNeedOnlyContainTheExtension) {
    const Names game{"X.3DO", "y.3do.bak", "z.3d", "w.voc"};
    EXPECT_EQ(List(".3do", 0, game), (Names{"x.3do", "y.3do.bak"}));
    EXPECT_TRUE(List(".3do", 1, game).empty());
}

TEST(PickerRules, Sounds) {
    const Names game{"WIND1.VOC",  "m0.voc",   "m2.voc",   "beep-01.voc", "beep-10.voc", "st.voc",
                     "ex-big.voc", "door.voc", "keyx.voc", "kyle.voc",    "wind.wav",    "random.voc"};
    EXPECT_EQ(List(".voc", 0, game),
              (Names{"wind1.voc", "m0.voc", "m2.voc", "beep-01.voc", "beep-10.voc", "st.voc", "ex-big.voc",
                     "door.voc", "keyx.voc", "kyle.voc", "random.voc"}));
    EXPECT_EQ(List(".voc", 1, game), (Names{"wind1.voc"}));
    EXPECT_EQ(List(".voc", 2, game), (Names{"m0.voc", "beep-01.voc"}));
    EXPECT_EQ(List(".voc", 3, game), (Names{"st.voc", "random.voc"}));
    EXPECT_EQ(List(".voc", 4, game), (Names{"beep-10.voc", "ex-big.voc"}));
    EXPECT_EQ(List(".voc", 5, game), (Names{"door.voc"}));
    EXPECT_EQ(List(".voc", 6, game), (Names{"keyx.voc", "kyle.voc"}));
}

TEST(PickerRules, LevelResourcesFollowTheGameAndRepeatIt) {
    EXPECT_EQ(List(".WAX", 0, {"ENEMY.WAX", "b.wax"}, {"ENEMY.WAX", "ENEMY.FME"}),
              (Names{"enemy.wax", "b.wax", "enemy.wax"}));
    EXPECT_TRUE(List(".pal", 0, {"secbase.pal"}, {"secbase.pal"}).empty());
}

TEST(PickerRules, SelectionFallsBackToFirstRow) {
    const Names listed{"a.bm", "b.bm", "c.bm"};
    EXPECT_EQ(PickerSelection(listed, "b.bm"), 1);
    // The match is exact, and a name not listed selects the first row.
    EXPECT_EQ(PickerSelection(listed, "B.BM"), 0);
    EXPECT_EQ(PickerSelection(listed, "zz.bm"), 0);
    EXPECT_EQ(PickerSelection(Names{}, "a.bm"), -1);
}

} // namespace
} // namespace morvi
