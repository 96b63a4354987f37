// The demo archives together: every name the sample level, the template, the editor's generators,
// the object catalogue and the picker categories refer to is there, and the game-side lookups
// (archive cache, preview loader, level palette) find it as they would in the game's folders.
#include "demo/DemoBriefing.h"
#include "demo/DemoDark.h"
#include "demo/DemoSounds.h"
#include "demo/DemoSprites.h"
#include "demo/DemoTextures.h"
#include "demo/SampleLevel.h"
#include "document/CMorviDoc.h"
#include "gamefiles/GobArchive.h"
#include "model/StringUtil.h"
#include "properties/ObjectCatalogue.h"
#include "resources/LevelPalette.h"
#include "resources/Model3D.h"
#include "resources/PickerRules.h"
#include "resources/ResourceCache.h"
#include "resources/ResourcePreview.h"
#include "support/StatusAssertions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace morvi::demo {
namespace {

using morvi::testing::Succeeded;

// The four archives written once into one folder, which serves as both game folders.
class DemoArchives : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_pDir = new testing::TempDir;
        s_pTextures = new GobArchive(BuildTexturesGob());
        s_pSprites = new GobArchive(BuildSpritesGob());
        s_pDark = new GobArchive(BuildDarkGob());
        s_pSounds = new GobArchive(BuildSoundsGob());
        // Upper-case file names as on the game's CD; the cache must find them all the same.
        ASSERT_TRUE(WriteGobFile(*s_pTextures, s_pDir->path() / "TEXTURES.GOB"));
        ASSERT_TRUE(WriteGobFile(*s_pSprites, s_pDir->path() / "SPRITES.GOB"));
        ASSERT_TRUE(WriteGobFile(*s_pDark, s_pDir->path() / "DARK.GOB"));
        ASSERT_TRUE(WriteGobFile(*s_pSounds, s_pDir->path() / "sounds.gob"));
    }
    static void TearDownTestSuite() {
        delete s_pTextures;
        delete s_pSprites;
        delete s_pDark;
        delete s_pSounds;
        delete s_pDir;
    }

    // Where an object's resource file lives, by its extension.
    static GobArchive* ArchiveFor(std::string_view file) {
        const std::string name = ToLower(file);
        if (name.ends_with(".wax") || name.ends_with(".fme")) return s_pSprites;
        if (name.ends_with(".3do")) return s_pDark;
        if (name.ends_with(".voc")) return s_pSounds;
        return nullptr;
    }

    static inline testing::TempDir* s_pDir = nullptr;
    static inline GobArchive* s_pTextures = nullptr;
    static inline GobArchive* s_pSprites = nullptr;
    static inline GobArchive* s_pDark = nullptr;
    static inline GobArchive* s_pSounds = nullptr;
};

TEST_F(DemoArchives, EveryNameTheLevelsAndGeneratorsUseExists) {
    for (const char* name :
         {"IF3.BM", "IPBIGLT.BM", "RWRWALL1.BM", "ZDREBL1.BM", "IWCOMWAL.BM", "DEFAULT.BM"})
        EXPECT_NE(s_pTextures->FindMember(name), nullptr) << name;
    for (auto build : {BuildNewDocument, BuildSampleLevel}) {
        CMorviDoc doc;
        build(doc);
        const CDataLevel& level = doc.level();
        for (const CDataNameEntry& texture : level.m_Lev.m_Textures)
            EXPECT_NE(s_pTextures->FindMember(texture.m_strName), nullptr) << texture.m_strName;
        for (const auto& object : level.m_Objects.m_pObjects) {
            if (GobArchive* archive = ArchiveFor(object->m_strData)) {
                EXPECT_NE(archive->FindMember(object->m_strData), nullptr) << object->m_strData;
            }
        }
        EXPECT_NE(s_pDark->FindMember(level.m_Lev.m_strPalette), nullptr) << level.m_Lev.m_strPalette;
    }
}

TEST_F(DemoArchives, EveryCatalogueObjectAndModelTextureExists) {
    int found = 0;
    for (const CatalogueEntry& entry : ObjectCatalogue()) {
        GobArchive* archive = ArchiveFor(entry.m_strFile);
        if (!archive) continue; // the two position markers have no file
        EXPECT_NE(archive->FindMember(entry.m_strFile), nullptr) << entry.m_strFile;
        ++found;
    }
    EXPECT_EQ(found, 89);
    // Two sprites beyond the catalogue: the fusion cutter under the name the game's logic table
    // gives it, and a lamp.
    for (const char* name : {"IFUSIONT.FME", "TRIPLT.WAX"})
        EXPECT_NE(s_pSprites->FindMember(name), nullptr) << name;
    for (std::string_view name : DemoModelNames())
        for (const ModelTexture& texture : BuildDemoModel(name).m_Textures)
            EXPECT_NE(s_pTextures->FindMember(texture.m_strName), nullptr)
                << name << " " << texture.m_strName;
}

// Member names are upper case and unique, every picker category offers a choice of three or more,
// and no member is hidden from the picker's full list.
TEST_F(DemoArchives, EveryPickerCategoryOffersAChoice) {
    const std::pair<std::string_view, const GobArchive*> kinds[] = {{".bm", s_pTextures},
                                                                    {".fme", s_pSprites},
                                                                    {".wax", s_pSprites},
                                                                    {".3do", s_pDark},
                                                                    {".voc", s_pSounds}};
    for (const auto& [extension, archive] : kinds) {
        std::vector<std::string> names;
        std::set<std::string> unique;
        for (const auto& m : archive->m_pMembers) {
            EXPECT_EQ(m->m_strName, ToUpper(m->m_strName));
            EXPECT_TRUE(unique.insert(m->m_strName).second) << m->m_strName;
            if (ToLower(m->m_strName).ends_with(extension)) names.push_back(ToLower(m->m_strName));
        }
        EXPECT_EQ(PickerList(extension, 0, names, {}).size(), names.size()) << extension;
        for (std::size_t c = 0; c < PickerCategories(extension).size(); ++c)
            EXPECT_GE(PickerList(extension, c, names, {}).size(), 3u)
                << extension << " " << PickerCategories(extension)[c];
    }
}

// Every archive comes out byte for byte the same on every build and reads back to the same bytes.
TEST_F(DemoArchives, SameBytesOnEveryBuildAndThroughARoundTrip) {
    struct Build {
        GobArchive* m_pArchive;
        GobArchive (*m_Build)();
        std::size_t m_nLimit;
    };
    const Build builds[] = {{s_pTextures, BuildTexturesGob, 3u << 20},
                            {s_pSprites, BuildSpritesGob, 8u << 20},
                            {s_pDark, BuildDarkGob, 1u << 20},
                            {s_pSounds, BuildSoundsGob, 2u << 20}};
    for (const Build& build : builds) {
        std::vector<std::uint8_t> bytes, again, reread;
        ASSERT_TRUE(Succeeded(WriteGob(*build.m_pArchive, bytes)));
        GobArchive second = build.m_Build();
        ASSERT_TRUE(Succeeded(WriteGob(second, again)));
        EXPECT_EQ(bytes, again);
        EXPECT_LT(bytes.size(), build.m_nLimit);
        GobArchive read;
        ASSERT_TRUE(Succeeded(ReadGob(bytes, "demo.gob", read)));
        ASSERT_TRUE(Succeeded(WriteGob(read, reread)));
        EXPECT_EQ(reread, bytes);
    }
    EXPECT_EQ(BuildBriefingLfd().Write(), BuildBriefingLfd().Write());
}

TEST_F(DemoArchives, GameLookupsFindTheDemoAsTheyWouldTheGame) {
    ResourceCache cache(s_pDir->path(), s_pDir->path());
    EXPECT_GT(cache.textureSize("rwrwall1"), 0);
    CMorviDoc doc;
    BuildSampleLevel(doc);
    CDataLevel& level = doc.level();
    // Without its own palette member the level finds SECBASE.PAL in the dark archive.
    for (std::size_t i = 0; i < level.m_pMembers.size(); ++i)
        if (level.m_pMembers[i]->m_strName == "SECBASE.PAL") level.RemoveMember(i--);
    ASSERT_EQ(level.FindMember("SECBASE.PAL"), nullptr);
    Status message;
    ASSERT_TRUE(currentLevelPalette(&level, cache, &message).has_value()) << message.message();
    EXPECT_NE(level.FindMember("SECBASE.PAL"), nullptr); // kept with the level from now on

    ResourcePreview preview(&level, cache);
    const std::pair<const char*, const char*> members[] = {{".bm", "ZASWIT1.BM"},
                                                           {".wax", "STORMFIN.WAX"},
                                                           {".fme", "IMEDKIT.FME"},
                                                           {".3do", "GUN.3DO"},
                                                           {".voc", "DOOR.VOC"}};
    for (const auto& [extension, name] : members) {
        ASSERT_TRUE(preview.load(extension, name, true)) << name;
        EXPECT_TRUE(preview.lastMessage()) << preview.lastMessage().message();
    }
    EXPECT_FALSE(preview.sound().m_Samples.empty());
    ASSERT_TRUE(preview.load(".bm", "ZASWIT1.BM", true));
    EXPECT_EQ(preview.frames().size(), 2u); // off and on
}

} // namespace
} // namespace morvi::demo
