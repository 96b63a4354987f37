// What the level's resource lists, pickers and palette offer: the members of the level's archive and
// of the game's, as the game would find them.
#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "model/LevelChecker.h"
#include "resources/LevelPalette.h"
#include "resources/LevelResourceFiles.h"
#include "resources/MemberFileTypes.h"
#include "resources/PickerRules.h"
#include "resources/ResourceCache.h"

#include "PictureHelpers.h"
#include "support/TempDir.h"

#include <fstream>
#include <optional>

namespace morvi {
namespace {

using namespace testing;

Bytes Filled(std::size_t n, std::uint8_t seed = 0x5A) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>((i + seed) % 64);
    return bytes;
}

Bytes FileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

// The names of a level's members or of one of its kind lists.
template <class List> Names NamesOf(const List& list) {
    Names names;
    for (const auto& m : list)
        names.push_back(m->m_strName);
    return names;
}

CDataLevel Archive(std::initializer_list<const char*> names) {
    CDataLevel level;
    for (const char* name : names)
        EXPECT_TRUE(level.AddMember(name, Filled(4)));
    level.m_LevelNames = {"SECBASE", "TALAY"};
    return level;
}

// Names are listed in lower case under their own extension only; interface pictures and weapon
// sprites are never offered for walls; objects need only contain the extension. The level's own
// resources follow the game's and may repeat them; palettes are not picked.
TEST(PickerRules, CategoriesListWhatTheirRulesAcceptAndTheLevelsOwn) {
    const std::vector<std::tuple<std::string_view, Names, Names, Names>> cases{
        {".bm", {"WALL.BM", "Fwall.bm", "zacomp1.bmp", "xstatus1.bm", "WALL.PAL"}, {}, {"wall.bm"}},
        {".3do", {"X.3DO", "y.3do.bak", "z.3d"}, {}, {"x.3do", "y.3do.bak"}},
        {".WAX", {"ENEMY.WAX", "b.wax"}, {"ENEMY.WAX", "ENEMY.FME"}, {"enemy.wax", "b.wax", "enemy.wax"}},
        {".pal", {"secbase.pal"}, {"secbase.pal"}, {}},
    };
    for (const auto& [extension, game, level, listed] : cases)
        EXPECT_EQ(PickerList(extension, 0, game, level), listed) << extension;
}

// Added names are the file's, upper-cased; the kind lists follow additions and deletions, and
// frames are picked from WAX and FME members alike. Offsets follow each other from the header's
// eight bytes; a layout past 4 GB is refused and leaves the offsets as they were.
TEST(LevelResourceFiles, AddAndDeleteKeepTheKindListsInStep) {
    CDataLevel level = Archive({"SECBASE.LEV", "A.WAX", "C.BM", "D.3DO"});
    ASSERT_TRUE(AddResource(level, "C:\\levels\\art/b.fme", Filled(3)));
    ASSERT_TRUE(AddResource(level, "abcdefgh.voc", Filled(3)));
    EXPECT_EQ(NamesOf(level.m_pMembers),
              (Names{"SECBASE.LEV", "A.WAX", "C.BM", "D.3DO", "B.FME", "ABCDEFGH.VOC"}));
    EXPECT_EQ(LevelResourceNames(level, ".FME"), (Names{"A.WAX", "B.FME"}));
    EXPECT_EQ(PickerList(".fme", 0, Names{}, LevelResourceNames(level, ".fme")), (Names{"b.fme"}));
    EXPECT_EQ(AddResource(level, "dir/abcdefghi.wax", Filled(3)).message(),
              "Add: the name ABCDEFGHI.WAX has 13 characters; a GOB member name holds at most 12.");
    ASSERT_TRUE(DeleteResource(level, 2));
    ASSERT_TRUE(DeleteResource(level, 1));
    EXPECT_TRUE(checkLevel(level).empty());
    EXPECT_EQ(NamesOf(level.m_pMembers), (Names{"SECBASE.LEV", "D.3DO", "B.FME", "ABCDEFGH.VOC"}));
    EXPECT_EQ(std::pair(NamesOf(level.m_Sprites), NamesOf(level.m_Bitmaps)),
              std::pair(Names{"B.FME"}, Names{}));
    const auto offsets = [&level] {
        std::vector<std::uint32_t> all;
        for (const auto& m : level.m_pMembers)
            all.push_back(m->m_nOffset);
        return all;
    };
    ASSERT_TRUE(Succeeded(RecomputeOffsets(level)));
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{8, 12, 16, 19}));
    level.m_pMembers[0]->m_nSize = 0xFFFFFFFFu; // only the sizes take part in the layout
    EXPECT_EQ(RecomputeOffsets(level).message(),
              "Files: the members together exceed the 4 GB a GOB can hold.");
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{8, 12, 16, 19}));
}

// The level's own palette comes first, whatever its case; otherwise the first of that name in
// dark.gob joins the level, which answers from then on without the archive. Without a level only
// dark.gob answers; only whole palettes are returned, and nothing else joins the level.
TEST(LevelPalette, TheLevelsOwnPaletteComesFirstThenOneFromDarkGobJoinsIt) {
    CDataLevel level = Archive({}), talay = Archive({});
    ASSERT_TRUE(Succeeded(level.AddMember("SECBASE.PAL", Filled(768, 2))));
    ASSERT_TRUE(Succeeded(level.AddMember("OWN.PAL", Filled(4))));
    level.m_pMembers[0]->m_strName = "secbase.pal";
    talay.m_nCurrentLevel = 1;
    const auto bytesOf = [](const std::optional<GamePalette>& palette) {
        return palette ? Bytes(palette->m_Bytes.begin(), palette->m_Bytes.end()) : Bytes();
    };
    {
        TempDir folder;
        GobArchive gob;
        for (const auto& [name, data] :
             std::vector<std::pair<std::string, Bytes>>{{"SECBASE.PAL", Filled(768, 1)},
                                                        {"talay.pal", Filled(768, 3)},
                                                        {"TALAY.PAL", Filled(768, 4)},
                                                        {"SHORT.PAL", Filled(767)},
                                                        {"LONG.PAL", Filled(769)}})
            ASSERT_TRUE(Succeeded(gob.AddMember(name, data)));
        ASSERT_TRUE(Succeeded(WriteGobFile(gob, folder.path() / "DARK.GOB")));
        ResourceCache cache(folder.path(), {});
        EXPECT_EQ(bytesOf(currentLevelPalette(&talay, cache)), Filled(768, 3));
        EXPECT_EQ(bytesOf(currentLevelPalette(&level, cache)), Filled(768, 2));
        Status message;
        EXPECT_FALSE(currentLevelPalette(nullptr, cache, &message));
        EXPECT_EQ(bytesOf(paletteByName(nullptr, cache, "TALAY.PAL")), Filled(768, 3));
        for (const char* name : {"SHORT.PAL", "long.pal", "OWN.PAL"}) {
            EXPECT_FALSE(paletteByName(&level, cache, name, &message)) << name;
            EXPECT_NE(message.message().find("768"), std::string::npos) << message.message();
        }
        EXPECT_EQ(level.m_pMembers.size(), 2u);
    }
    ASSERT_EQ(NamesOf(talay.m_pMembers), Names{"TALAY.PAL"});
    ResourceCache noGame;
    EXPECT_EQ(bytesOf(currentLevelPalette(&talay, noGame)), Filled(768, 3));
}

// The marker is anywhere in the name: "SECBASE.O" is no resource of the level (the GOB manager's
// table takes it for an O file), unmarked names save under any name, "LOGO.BMP" counts as a BM.
TEST(LevelFiles, SaveAsTypeEditAndPreviewFollowTheName) {
    const std::vector<std::tuple<std::string_view, std::string_view, ResourceEdit, std::string>> cases{
        {"ENEMY.WAX", "wax", ResourceEdit::None, ".wax"},
        {"secbase.pal", "pal", ResourceEdit::Palette, ".pal"},
        {"DOOR.VUE", "vue", ResourceEdit::VueText, ""},
        {"LOGO.BMP", "bm", ResourceEdit::None, ".bm"},
        {"SECBASE.O", "", ResourceEdit::None, ""},
        {"BRIEF.LFD", "", ResourceEdit::None, ""},
    };
    for (const auto& [name, extension, edit, preview] : cases) {
        EXPECT_EQ(FindMemberFileType(name, kLevelFileTypes, kAnyFileType).m_Extension, extension) << name;
        EXPECT_EQ(ResourceEditOf(name), edit) << name;
        EXPECT_EQ(PreviewExtensionOf(name), preview) << name;
    }
}

// A file comes in whole under its upper-cased name and goes out exactly as held. A name that
// cannot be held is refused before the file is even looked at; a file that is not there is named.
TEST(LevelFiles, FilesComeInAndGoOutByteForByte) {
    TempDir folder;
    const Bytes wax = Filled(1000, 3);
    std::ofstream(folder.path() / "enemy.wax", std::ios::binary)
        .write(reinterpret_cast<const char*>(wax.data()), static_cast<std::streamsize>(wax.size()));
    CDataLevel level;
    ASSERT_TRUE(Succeeded(AddResourceFile(level, folder.path() / "enemy.wax")));
    EXPECT_EQ(NamesOf(level.m_Sprites), Names{"ENEMY.WAX"});
    ASSERT_TRUE(Succeeded(SaveResourceAs(level, 0, folder.path() / "copy.wax")));
    EXPECT_EQ(FileBytes(folder.path() / "copy.wax"), wax);

    EXPECT_EQ(AddResourceFile(level, folder.path() / "abcdefghi.wax").message(),
              "Add: the name ABCDEFGHI.WAX has 13 characters; a GOB member name holds at most 12.");
    EXPECT_NE(AddResourceFile(level, folder.path() / "gone.bm").message().find("gone.bm"), std::string::npos);
    EXPECT_EQ(level.m_pMembers.size(), 1u);
}

// A click picks by integer division of the point over the grid's own width and height; the
// chosen colour keeps its top 6 bits. Storing copies the 768 bytes over the member and keeps what
// follows them; storing them again changes nothing; a member too short for a palette is refused.
TEST(LevelFiles, PalettePickAndStore) {
    const std::vector<std::tuple<int, int, int, int, std::optional<std::size_t>>> picks{
        {255, 255, 256, 256, 255}, {15, 16, 256, 256, 16}, {9, 0, 10, 10, 14}, {100, 50, 200, 100, 136},
        {256, 0, 256, 256, {}},    {0, -1, 256, 256, {}},  {0, 0, 0, 0, {}},
    };
    for (const auto& [x, y, width, height, entry] : picks)
        EXPECT_EQ(PaletteGridEntry(x, y, width, height), entry) << x << "," << y << " of " << width;

    GamePalette palette = GamePalette::Grey(), expected = GamePalette::Grey();
    expected.SetEntry(17, 63, 32, 0);
    palette.SetDisplayColour(17, 255, 130, 3);
    EXPECT_EQ(palette.m_Bytes, expected.m_Bytes);

    CDataLevel level;
    const Bytes old = Filled(770, 1);
    ASSERT_TRUE(Succeeded(level.AddMember("SECBASE.PAL", old)));
    ASSERT_TRUE(Succeeded(level.AddMember("SHORT.PAL", Filled(767, 1))));
    bool changed = false;
    ASSERT_TRUE(Succeeded(StoreResourcePalette(level, 0, palette, changed)) && changed);
    Bytes stored(palette.m_Bytes.begin(), palette.m_Bytes.end());
    stored.insert(stored.end(), old.end() - 2, old.end());
    EXPECT_EQ(Bytes(level.m_pMembers[0]->data().begin(), level.m_pMembers[0]->data().end()), stored);
    ASSERT_TRUE(Succeeded(StoreResourcePalette(level, 0, palette, changed)) && !changed);
    EXPECT_FALSE(StoreResourcePalette(level, 1, palette, changed) || changed);
    EXPECT_EQ(Bytes(level.m_pMembers[1]->data().begin(), level.m_pMembers[1]->data().end()), Filled(767, 1));
}

} // namespace
} // namespace morvi
