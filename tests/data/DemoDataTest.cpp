// The demo archives and the sample level come out the same on every build, decode with our
// readers and hold every name the editor uses.
#include "demo/DemoBriefing.h"
#include "demo/DemoDark.h"
#include "demo/DemoPalette.h"
#include "demo/DemoSounds.h"
#include "demo/DemoSprites.h"
#include "demo/DemoTextures.h"
#include "demo/SampleLevel.h"
#include "document/CMorviDoc.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/GobArchive.h"
#include "gamefiles/LevelArchive.h"
#include "infedit/InfChecker.h"
#include "infedit/InfPages.h"
#include "model/LevelChecker.h"
#include "model/StringUtil.h"
#include "properties/ObjectCatalogue.h"
#include "resources/BmFile.h"
#include "resources/DeltPicture.h"
#include "resources/FilmFile.h"
#include "resources/FmeFile.h"
#include "resources/Model3D.h"
#include "resources/PlttPalette.h"
#include "resources/VocSound.h"
#include "resources/WaxFile.h"
#include "support/StatusAssertions.h"
#include "view3d/ColourMap.h"

#include <gtest/gtest.h>

#include <set>

namespace morvi::demo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using morvi::testing::Succeeded;

// Decodes a member with the reader its extension calls for.
Status DecodeMember(const CDataGobEntry& member, const GamePalette& palette) {
    const std::string name = ToUpper(member.m_strName);
    if (name.ends_with(".BM")) {
        std::vector<IndexedImage> frames;
        return DecodeBm(member.data(), name, palette, false, frames);
    }
    if (name.ends_with(".FME")) {
        SpriteFrame frame;
        return DecodeFme(member.data(), name, palette, false, frame);
    }
    if (name.ends_with(".WAX")) {
        WaxFile wax;
        Status status = WaxFile::Read(member.data(), name, wax);
        for (std::size_t i = 0; status && i < wax.m_Frames.size(); ++i) {
            SpriteFrame frame;
            status = DecodeSpriteFrame(member.data(), wax.m_Frames[i].m_nOffset, name, palette, false, frame);
        }
        return status;
    }
    if (name.ends_with(".3DO")) {
        TextNotes notes;
        std::string again;
        Write3DO(Read3DO(member.text(), &notes), again);
        return notes.empty() && again == member.text() ? Status() : Status::Fail(name + ": read with notes");
    }
    if (name.ends_with(".VOC")) {
        VocSound sound;
        return ReadVoc(name, member.data(), sound);
    }
    if (name.ends_with(".CMP")) {
        std::vector<std::uint8_t> rows;
        return member.m_nSize == kColourMapRowsSize + kColourMapHeadlightSize
                   ? ReadColourMap(member.data(), name, rows)
                   : Status::Fail(name + ": not the game's colour map size");
    }
    GamePalette read;
    return name.ends_with(".PAL") ? GamePalette::Read(member.data(), name, read)
                                  : Status::Fail(name + ": no reader");
}

TEST(DemoData, BuildsTheSameBytesEveryTimeAndEveryMemberDecodes) {
    for (GobArchive (*build)() : {BuildTexturesGob, BuildSpritesGob, BuildDarkGob, BuildSoundsGob}) {
        GobArchive archive = build(), again = build();
        Bytes bytes, second;
        ASSERT_TRUE(Succeeded(WriteGob(archive, bytes)));
        ASSERT_TRUE(Succeeded(WriteGob(again, second)));
        EXPECT_EQ(bytes, second);
        std::set<std::string> names;
        for (const auto& member : archive.m_pMembers) {
            EXPECT_TRUE(names.insert(member->m_strName).second) << member->m_strName;
            EXPECT_TRUE(Succeeded(DecodeMember(*member, LevelPalette("SECBASE"))));
        }
    }

    // The briefing: its pictures decode under its own palette, and every block of its film reads,
    // starts with TIME, ends with END and names a member of the archive.
    EXPECT_EQ(BuildBriefingLfd().Write(), BuildBriefingLfd().Write());
    LfdArchive lfd;
    ASSERT_TRUE(Succeeded(lfd.Read(BuildBriefingLfd().Write(), "brief.lfd")));
    const auto find = [&lfd](std::string_view type, std::string_view name) -> const LfdMember* {
        for (const LfdMember& m : lfd.members())
            if (m.m_strType == type && m.m_strName == name) return &m;
        return nullptr;
    };
    PlttPalette overlay;
    ASSERT_NE(find("PLTT", "brief"), nullptr);
    ASSERT_TRUE(Succeeded(ReadPltt(find("PLTT", "brief")->m_Data, "brief", overlay)));
    GamePalette palette;
    ApplyPltt(overlay, palette);
    for (const LfdMember& m : lfd.members()) {
        DeltPicture picture;
        std::vector<DeltPicture> frames;
        if (m.m_strType == "DELT") {
            EXPECT_TRUE(Succeeded(DecodeDelt(m.m_Data, m.m_strName, palette, true, picture)));
        } else if (m.m_strType == "ANIM") {
            EXPECT_TRUE(Succeeded(DecodeAnim(m.m_Data, m.m_strName, palette, false, frames)));
        }
    }
    FilmFile film;
    ASSERT_NE(find("FILM", "brief"), nullptr);
    ASSERT_TRUE(Succeeded(ReadFilm(find("FILM", "brief")->m_Data, "brief", film)));
    for (const FilmBlock& block : film.m_Blocks) {
        SCOPED_TRACE(block.m_strType + " " + block.m_strName);
        std::vector<FilmCommandRow> rows;
        ASSERT_TRUE(Succeeded(ReadFilmCommands(block, rows)));
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows.front().m_strName, "TIME");
        EXPECT_EQ(rows.back().m_strName, "END");
        EXPECT_TRUE(block.m_strType == "VIEW" || find(block.m_strType, block.m_strName));
    }
}

TEST(DemoData, EveryNameInUseIsThere) {
    GobArchive textures = BuildTexturesGob(), sprites = BuildSpritesGob(), dark = BuildDarkGob(),
               sounds = BuildSoundsGob();
    const auto archiveFor = [&](std::string_view file) -> GobArchive* {
        const std::string name = ToLower(file);
        if (name.ends_with(".wax") || name.ends_with(".fme")) return &sprites;
        if (name.ends_with(".3do")) return &dark;
        if (name.ends_with(".voc")) return &sounds;
        return nullptr;
    };
    for (const char* name : {"IF3.BM", "IPBIGLT.BM", "RWRWALL1.BM", "ZDREBL1.BM", "IWCOMWAL.BM"})
        EXPECT_NE(textures.FindMember(name), nullptr) << name; // the map generators' textures
    for (auto build : {BuildNewDocument, BuildSampleLevel}) {
        CMorviDoc doc;
        build(doc);
        const CDataLevel& level = doc.level();
        for (const CDataNameEntry& texture : level.m_Lev.m_Textures)
            EXPECT_NE(textures.FindMember(texture.m_strName), nullptr) << texture.m_strName;
        for (const auto& object : level.m_Objects.m_pObjects) {
            if (GobArchive* archive = archiveFor(object->m_strData)) {
                EXPECT_NE(archive->FindMember(object->m_strData), nullptr) << object->m_strData;
            }
        }
        EXPECT_NE(dark.FindMember(level.m_Lev.m_strPalette), nullptr) << level.m_Lev.m_strPalette;
        EXPECT_NE(dark.FindMember(level.m_Lev.m_strLevelName + ".CMP"), nullptr)
            << level.m_Lev.m_strLevelName;
    }
    for (const CatalogueEntry& entry : ObjectCatalogue()) {
        if (GobArchive* archive = archiveFor(entry.m_strFile)) { // the position markers have no file
            EXPECT_NE(archive->FindMember(entry.m_strFile), nullptr) << entry.m_strFile;
        }
    }
    for (std::string_view name : DemoModelNames())
        for (const ModelTexture& texture : BuildDemoModel(name).m_Textures)
            EXPECT_NE(textures.FindMember(texture.m_strName), nullptr) << name << " " << texture.m_strName;
}

// The sample level and the new document are valid (INF included), come out the same on every build
// (also into a used document), and read back to the same bytes from the document file and from the
// GOB. Every INF line of theirs is shown by a page of the INF editor and keeps its meaning there.
TEST(DemoData, SampleLevelIsValidAndRoundTrips) {
    for (auto build : {&BuildSampleLevel, &BuildNewDocument}) {
        CMorviDoc doc, other, loaded;
        build(doc);
        build(other);
        build(other);
        for (const auto& finding : CheckWholeLevel(doc.level()))
            ADD_FAILURE() << finding.m_strText;
        const CDataInf& inf = doc.level().m_Inf;
        for (const auto& item : inf.m_pItems)
            for (const std::string& line : item->m_Lines)
                EXPECT_TRUE(PageLoadingLine(*item, line)) << line;
        for (const InfRoundTripChange& change : InfRoundTripChanges(inf, MakeInfVocabulary(doc.level(), {})))
            ADD_FAILURE() << change.m_strBefore << " -> " << change.m_strAfter;
        Bytes bytes, fromOther, fromLoaded, gob, gobAgain;
        ASSERT_TRUE(Succeeded(WriteDocumentBytes(doc, bytes)));
        ASSERT_TRUE(Succeeded(WriteDocumentBytes(other, fromOther)));
        EXPECT_EQ(fromOther, bytes);
        ASSERT_TRUE(Succeeded(ReadDocumentBytes(loaded, bytes, "sample.mrv", {})));
        ASSERT_TRUE(Succeeded(WriteDocumentBytes(loaded, fromLoaded)));
        EXPECT_EQ(fromLoaded, bytes);

        ASSERT_TRUE(Succeeded(WriteLevelBytes(doc.level(), gob)));
        CDataLevel read;
        ASSERT_TRUE(Succeeded(LoadLevelBytes(read, gob, "sample.gob", nullptr)));
        EXPECT_TRUE(checkLevel(read).empty());
        ASSERT_TRUE(Succeeded(WriteLevelBytes(read, gobAgain)));
        EXPECT_EQ(gobAgain, gob);
    }
}

} // namespace
} // namespace morvi::demo
