#include "demo/DemoBriefing.h"

#include "resources/DeltPicture.h"
#include "resources/FilmFile.h"
#include "resources/PlttPalette.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvi::demo {
namespace {

const LfdMember* Find(const LfdArchive& lfd, std::string_view type, std::string_view name) {
    for (const LfdMember& m : lfd.members())
        if (m.m_strType == type && m.m_strName == name) return &m;
    return nullptr;
}

// The pictures and the animation decode under the briefing's own palette; every block of the film
// reads back, starts with TIME, ends with END and names a member of the archive.
TEST(DemoBriefing, MembersDecodeAndTheFilmNamesThem) {
    LfdArchive lfd;
    ASSERT_TRUE(lfd.Read(BuildBriefingLfd().Write(), "brief.lfd").ok());
    const LfdMember* pltt = Find(lfd, "PLTT", "brief");
    ASSERT_NE(pltt, nullptr);
    PlttPalette overlay;
    ASSERT_TRUE(ReadPltt(pltt->m_Data, "brief", overlay).ok());
    GamePalette palette;
    ApplyPltt(overlay, palette);
    int pictures = 0;
    for (const LfdMember& m : lfd.members()) {
        SCOPED_TRACE(m.m_strType + " " + m.m_strName);
        if (m.m_strType == "DELT") {
            DeltPicture picture;
            ASSERT_TRUE(DecodeDelt(m.m_Data, m.m_strName, palette, true, picture).ok());
            EXPECT_GT(picture.m_Image.width(), 0);
            ++pictures;
        } else if (m.m_strType == "ANIM") {
            std::vector<DeltPicture> frames;
            ASSERT_TRUE(DecodeAnim(m.m_Data, m.m_strName, palette, false, frames).ok());
            EXPECT_GE(frames.size(), 2u);
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 3);

    const LfdMember* member = Find(lfd, "FILM", "brief");
    ASSERT_NE(member, nullptr);
    FilmFile film;
    ASSERT_TRUE(ReadFilm(member->m_Data, "brief", film).ok());
    ASSERT_EQ(film.m_Blocks.size(), 5u);
    EXPECT_EQ(film.m_Blocks[0].m_strType, "VIEW");
    for (const FilmBlock& block : film.m_Blocks) {
        SCOPED_TRACE(block.m_strType + " " + block.m_strName);
        std::vector<FilmCommandRow> rows;
        ASSERT_TRUE(ReadFilmCommands(block, rows).ok());
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows.front().m_strName, "TIME");
        EXPECT_EQ(rows.back().m_strName, "END");
        EXPECT_TRUE(block.m_strType == "VIEW" || Find(lfd, block.m_strType, block.m_strName));
    }
}

} // namespace
} // namespace morvi::demo
