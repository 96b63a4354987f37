// What the level's resource lists, pickers and palette offer: the members of the level's archive and
// of the game's, as the game would find them.
#include "gamefiles/GobArchive.h"
#include "model/CDataLevel.h"
#include "model/LevelChecker.h"
#include "resources/LevelPalette.h"
#include "resources/LevelResourceFiles.h"
#include "resources/PickerRules.h"
#include "resources/ResourceCache.h"

#include "PictureHelpers.h"
#include "support/TempDir.h"

namespace morvi {
namespace {

using namespace testing;

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t seed = 0x5A) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>((i + seed) % 64);
    return bytes;
}

Names MemberNames(const CDataLevel& level) {
    Names names;
    for (const auto& m : level.m_pMembers)
        names.push_back(m->m_strName);
    return names;
}

Names ListNames(const std::vector<CDataGobEntry*>& list) {
    Names names;
    for (const CDataGobEntry* m : list)
        names.push_back(m->m_strName);
    return names;
}

CDataLevel Archive(std::initializer_list<const char*> names) {
    CDataLevel level;
    for (const char* name : names)
        EXPECT_TRUE(level.AddMember(name, Bytes(4)));
    level.m_LevelNames = {"SECBASE", "TALAY"};
    return level;
}

std::vector<std::uint8_t> BytesOf(const std::optional<GamePalette>& palette) {
    return palette ? std::vector<std::uint8_t>(palette->m_Bytes.begin(), palette->m_Bytes.end())
                   : std::vector<std::uint8_t>();
}

// A CD folder whose dark.gob holds the given members.
struct DarkGob {
    explicit DarkGob(const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members) {
        GobArchive gob;
        for (const auto& [name, data] : members)
            EXPECT_TRUE(Succeeded(gob.AddMember(name, data)));
        EXPECT_TRUE(Succeeded(WriteGobFile(gob, m_Folder.path() / "DARK.GOB")));
    }
    testing::TempDir m_Folder;
};

// Names are listed in lower case under their own extension only; interface pictures and weapon
// sprites are never offered for walls; a category's exceptions stay out of it; objects need only
// contain the extension; the category past the last lists nothing.
TEST(PickerRules, CategoriesListWhatTheirRulesAcceptAndTheLevelsOwn) {
    struct Case {
        std::string_view extension;
        std::size_t category;
        Names game, listed;
    };
    const std::vector<Case> cases{
        {".bm", 0, {"WALL.BM", "Fwall.bm", "zacomp1.bmp", "xstatus1.bm", "WALL.PAL"}, {"wall.bm"}},
        {".3do", 0, {"X.3DO", "y.3do.bak", "z.3d"}, {"x.3do", "y.3do.bak"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PickerList(c.extension, c.category, c.game, {}), c.listed)
            << c.extension << " " << c.category;
    // The level's own resources follow the game's and may repeat them; palettes are not picked.
    EXPECT_EQ(PickerList(".WAX", 0, Names{"ENEMY.WAX", "b.wax"}, Names{"ENEMY.WAX", "ENEMY.FME"}),
              (Names{"enemy.wax", "b.wax", "enemy.wax"}));
    EXPECT_TRUE(PickerList(".pal", 0, Names{"secbase.pal"}, Names{"secbase.pal"}).empty());
}

// Added names are the file's, upper-cased; the kind lists follow additions and deletions, and
// frames are picked from WAX and FME members alike. Offsets follow each other from the header's
// eight bytes; a layout past 4 GB is refused and leaves the offsets as they were.
TEST(LevelResourceFiles, AddAndDeleteKeepTheKindListsInStep) {
    CDataLevel level = Archive({"SECBASE.LEV", "A.WAX", "C.BM", "D.3DO"});
    ASSERT_TRUE(AddResource(level, "C:\\levels\\art/b.fme", Bytes(3)));
    ASSERT_TRUE(AddResource(level, "abcdefgh.voc", Bytes(3)));
    EXPECT_EQ(MemberNames(level), (Names{"SECBASE.LEV", "A.WAX", "C.BM", "D.3DO", "B.FME", "ABCDEFGH.VOC"}));
    EXPECT_EQ(LevelResourceNames(level, ".FME"), (Names{"A.WAX", "B.FME"}));
    EXPECT_EQ(PickerList(".fme", 0, Names{}, LevelResourceNames(level, ".fme")), (Names{"b.fme"}));
    EXPECT_EQ(AddResource(level, "dir/abcdefghi.wax", Bytes(3)).message(),
              "Add: the name ABCDEFGHI.WAX has 13 characters; a GOB member name holds at most 12.");

    ASSERT_TRUE(DeleteResource(level, 2));
    ASSERT_TRUE(DeleteResource(level, 1));
    EXPECT_TRUE(checkLevel(level).empty());
    EXPECT_EQ(MemberNames(level), (Names{"SECBASE.LEV", "D.3DO", "B.FME", "ABCDEFGH.VOC"}));
    EXPECT_EQ(ListNames(level.m_Sprites), (Names{"B.FME"}));
    EXPECT_TRUE(ListNames(level.m_Bitmaps).empty());
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
// dark.gob joins the level, which answers from then on without the archive. Without a level
// nothing is looked for; only whole palettes are returned, and nothing else joins the level.
TEST(LevelPalette, TheLevelsOwnPaletteComesFirstThenOneFromDarkGobJoinsIt) {
    CDataLevel level = Archive({}), talay = Archive({});
    ASSERT_TRUE(Succeeded(level.AddMember("SECBASE.PAL", Bytes(768, 2))));
    ASSERT_TRUE(Succeeded(level.AddMember("OWN.PAL", Bytes(4))));
    level.m_pMembers[0]->m_strName = "secbase.pal";
    talay.m_nCurrentLevel = 1;
    {
        DarkGob dark({{"SECBASE.PAL", Bytes(768, 1)},
                      {"talay.pal", Bytes(768, 3)},
                      {"TALAY.PAL", Bytes(768, 4)},
                      {"SHORT.PAL", Bytes(767)},
                      {"LONG.PAL", Bytes(769)}});
        ResourceCache cache(dark.m_Folder.path(), {});
        EXPECT_EQ(BytesOf(currentLevelPalette(&talay, cache)), Bytes(768, 3));
        EXPECT_EQ(BytesOf(currentLevelPalette(&level, cache)), Bytes(768, 2));
        Status message;
        EXPECT_FALSE(currentLevelPalette(nullptr, cache, &message));
        for (const char* name : {"SHORT.PAL", "long.pal", "OWN.PAL"}) {
            EXPECT_FALSE(paletteByName(&level, cache, name, &message)) << name;
            EXPECT_NE(message.message().find("768"), std::string::npos) << message.message();
        }
        EXPECT_EQ(level.m_pMembers.size(), 2u);
    }
    ASSERT_EQ(MemberNames(talay), Names{"TALAY.PAL"});
    ResourceCache noGame;
    EXPECT_EQ(BytesOf(currentLevelPalette(&talay, noGame)), Bytes(768, 3));
}

} // namespace
} // namespace morvi
