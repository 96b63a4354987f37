#include "demo/DemoBriefing.h"

#include "resources/DeltPicture.h"
#include "resources/FilmFile.h"
#include "resources/PlttPalette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

const LfdMember* Find(const LfdArchive& lfd, std::string_view type, std::string_view name) {
    for (const LfdMember& m : lfd.members())
        if (m.m_strType == type && m.m_strName == name) return &m;
    return nullptr;
}

// Pixels other than the transparent index.
std::size_t Drawn(const IndexedImage& image) {
    std::size_t n = 0;
    for (int r = 0; r < image.height(); ++r)
        for (std::uint8_t p : image.row(r))
            n += p != 0;
    return n;
}

class DemoBriefing : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::uint8_t> bytes = BuildBriefingLfd().Write();
        ASSERT_TRUE(m_Lfd.Read(bytes, "brief.lfd").ok());
        const LfdMember* pltt = Find(m_Lfd, "PLTT", "brief");
        ASSERT_NE(pltt, nullptr);
        PlttPalette palette;
        ASSERT_TRUE(ReadPltt(pltt->m_Data, "brief", palette).ok());
        EXPECT_EQ(palette.m_nFirst, 0);
        EXPECT_EQ(palette.m_nLast, 255);
        ApplyPltt(palette, m_Palette);
    }

    LfdArchive m_Lfd;
    GamePalette m_Palette;
};

TEST_F(DemoBriefing, PicturesDecodeUnderItsPalette) {
    const LfdMember* title = Find(m_Lfd, "DELT", "title");
    const LfdMember* planet = Find(m_Lfd, "DELT", "planet");
    ASSERT_TRUE(title && planet);
    DeltPicture picture;
    ASSERT_TRUE(DecodeDelt(title->m_Data, "title", m_Palette, true, picture).ok());
    EXPECT_EQ(picture.m_Image.width(), 320);
    EXPECT_EQ(Drawn(picture.m_Image), 320u * 48u); // a card: no transparent holes
    ASSERT_TRUE(DecodeDelt(planet->m_Data, "planet", m_Palette, true, picture).ok());
    EXPECT_EQ(picture.m_nOffsetX, 180);
    // A round world: its corners stay transparent, its middle is drawn.
    const IndexedImage& world = picture.m_Image;
    EXPECT_EQ(world.pixel(0, 0), 0);
    EXPECT_EQ(world.pixel(world.width() - 1, world.height() - 1), 0);
    EXPECT_NE(world.pixel(world.width() / 2, world.height() / 2), 0);
}

TEST_F(DemoBriefing, AnimationFramesDecodeAndDiffer) {
    const LfdMember* spin = Find(m_Lfd, "ANIM", "spin");
    ASSERT_NE(spin, nullptr);
    std::vector<DeltPicture> frames;
    ASSERT_TRUE(DecodeAnim(spin->m_Data, "spin", m_Palette, false, frames).ok());
    ASSERT_EQ(frames.size(), 8u);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        EXPECT_GT(Drawn(frames[f].m_Image), 100u) << f;
        const std::size_t next = (f + 1) % frames.size();
        const auto a = frames[f].m_Image.bits(), b = frames[next].m_Image.bits();
        EXPECT_FALSE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << f;
    }
}

// Every resource block names a member of the archive with its type, and every block's commands
// read back and end with END.
TEST_F(DemoBriefing, FilmNamesTheMembers) {
    const LfdMember* member = Find(m_Lfd, "FILM", "brief");
    ASSERT_NE(member, nullptr);
    FilmFile film;
    ASSERT_TRUE(ReadFilm(member->m_Data, "brief", film).ok());
    ASSERT_EQ(film.m_Blocks.size(), 5u);
    EXPECT_EQ(film.m_Blocks[0].m_strType, "VIEW");
    std::size_t resources = 0;
    for (const FilmBlock& block : film.m_Blocks) {
        SCOPED_TRACE(block.m_strType + " " + block.m_strName);
        std::vector<FilmCommandRow> rows;
        ASSERT_TRUE(ReadFilmCommands(block, rows).ok());
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows.back().m_strName, "END");
        EXPECT_EQ(rows.front().m_strName, "TIME");
        if (block.m_strType == "VIEW") continue;
        ++resources;
        EXPECT_NE(Find(m_Lfd, block.m_strType, block.m_strName), nullptr);
    }
    EXPECT_EQ(resources, 4u);
}

TEST(DemoBriefingBuild, TwoBuildsGiveTheSameBytes) {
    const std::vector<std::uint8_t> a = BuildBriefingLfd().Write();
    EXPECT_EQ(a, BuildBriefingLfd().Write());
    EXPECT_GT(a.size(), 5u * 32u);
}

} // namespace
} // namespace morvi::demo
