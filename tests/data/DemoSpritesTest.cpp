#include "demo/DemoSprites.h"
#include "demo/DemoArt.h"
#include "demo/DemoSpriteWriter.h"

#include "model/StringUtil.h"
#include "properties/ObjectCatalogue.h"
#include "resources/FmeFile.h"
#include "resources/PickerRules.h"
#include "resources/WaxFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

// Long runs of both kinds cross the 127 and 128 limits of a control byte, in a column taller than
// one control byte can cover.
TEST(DemoSpriteWriter, CellsDecodeToThePictureDrawn) {
    IndexedImage picture = BlankPicture(5, 300);
    for (int r = 0; r < 300; ++r) {
        picture.setPixel(1, r, static_cast<std::uint8_t>(1 + r % 250)); // one copy after another
        if (r >= 130) picture.setPixel(2, r, 7);                        // 130 clear, then 170 opaque
        if (r % 3 == 0) picture.setPixel(3, r, 9);                      // short runs
    }
    picture.setPixel(4, 299, 200); // only the top pixel
    for (const bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        const std::vector<std::uint8_t> fme = EncodeFrameFile(picture, -2, -300, compressed);
        SpriteFrame frame;
        ASSERT_TRUE(DecodeFme(fme, "TEST.FME", GamePalette(), false, frame));
        EXPECT_EQ(frame.m_bCompressed, compressed);
        EXPECT_EQ(frame.m_nCutRuns, 0);
        EXPECT_EQ(frame.m_nX, -2);
        EXPECT_EQ(frame.m_nY, -300);
        ASSERT_EQ(frame.m_Image.width(), 5);
        ASSERT_EQ(frame.m_Image.height(), 300);
        for (int x = 0; x < 5; ++x)
            for (int r = 0; r < 300; ++r)
                ASSERT_EQ(frame.m_Image.pixel(x, r), picture.pixel(x, r)) << x << "," << r;
    }
    // Transparent columns cost a byte or two, not a byte per pixel.
    EXPECT_LT(EncodeCell(picture, true).size(), EncodeCell(picture, false).size() * 2 / 3);
}

TEST(DemoSpriteWriter, WaxSharesWhatTheBuilderShares) {
    IndexedImage picture = BlankPicture(4, 6);
    Canvas(picture).FillRect(1, 1, 2, 5, 40);
    WaxBuilder builder;
    const int cell = builder.AddCell(picture, true);
    const int plain = builder.AddFrame(cell, false);
    const int flipped = builder.AddFrame(cell, true);
    const int view = builder.AddView({plain, flipped, plain});
    builder.AddState(65536, 65536, 5, std::vector<int>(32, view));
    builder.AddState(65536, 65536, 0, {view});
    const std::vector<std::uint8_t> bytes = builder.Write();
    WaxFile wax;
    ASSERT_TRUE(WaxFile::Read(bytes, "TEST.WAX", wax));
    ASSERT_EQ(wax.m_States.size(), 2u);
    EXPECT_EQ(wax.m_States[0].m_nFrameRate, 5);
    EXPECT_EQ(wax.m_States[0].m_Views.size(), 32u);
    EXPECT_EQ(wax.m_States[1].m_Views.size(), 1u);
    EXPECT_EQ(wax.m_Views.size(), 1u);
    EXPECT_EQ(wax.m_Views[0].m_Frames, (std::vector<int>{0, 1, 0}));
    ASSERT_EQ(wax.m_Frames.size(), 2u);
    EXPECT_EQ(wax.m_Cells.size(), 1u);
    EXPECT_TRUE(wax.m_Frames[1].m_bFlip);
    EXPECT_EQ(wax.m_Frames[0].m_nX, -2);
    EXPECT_EQ(wax.m_Frames[0].m_nY, -6);
    // The header counts what was written.
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[12], 1);
}

class DemoSprites : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_pGob = new GobArchive(BuildSpritesGob()); }
    static void TearDownTestSuite() {
        delete s_pGob;
        s_pGob = nullptr;
    }

    static std::span<const std::uint8_t> Bytes(const CDataGobEntry& member) { return member.data(); }

    static std::vector<std::uint8_t> Pixels(const IndexedImage& image) {
        std::vector<std::uint8_t> pixels;
        for (int r = 0; r < image.height(); ++r)
            for (int x = 0; x < image.width(); ++x)
                pixels.push_back(image.pixel(x, r));
        return pixels;
    }

    static std::vector<std::string> Names(std::string_view extension) {
        std::vector<std::string> names;
        for (const auto& member : s_pGob->m_pMembers) {
            const std::string lower = ToLower(member->m_strName);
            if (lower.ends_with(extension)) names.push_back(lower);
        }
        return names;
    }

    static int Opaque(const IndexedImage& image) {
        int count = 0;
        for (int r = 0; r < image.height(); ++r)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, r) != 0 ? 1 : 0;
        return count;
    }

    static inline GobArchive* s_pGob = nullptr;
    const GamePalette m_Palette = LevelPalette("SECBASE");
};

TEST_F(DemoSprites, HoldsEverySpriteOfTheCatalogue) {
    for (const CatalogueEntry& entry : ObjectCatalogue()) {
        if (!entry.m_strFile.ends_with(".wax") && !entry.m_strFile.ends_with(".fme")) continue;
        EXPECT_NE(s_pGob->FindMember(entry.m_strFile), nullptr) << entry.m_strFile;
    }
    // The game's logic table names the fusion cutter differently from the catalogue; both are there.
    EXPECT_NE(s_pGob->FindMember("ifusiont.fme"), nullptr);
    EXPECT_NE(s_pGob->FindMember("triplt.wax"), nullptr);
    std::set<std::string> unique;
    for (const auto& member : s_pGob->m_pMembers) {
        EXPECT_EQ(member->m_strName, ToUpper(member->m_strName));
        EXPECT_TRUE(unique.insert(member->m_strName).second) << member->m_strName;
    }
}

TEST_F(DemoSprites, EveryPickerCategoryOffersAChoice) {
    for (const std::string_view extension : {std::string_view(".wax"), std::string_view(".fme")}) {
        const std::vector<std::string> names = Names(extension);
        const auto categories = PickerCategories(extension);
        for (std::size_t c = 0; c < categories.size(); ++c)
            EXPECT_GE(PickerList(extension, c, names, {}).size(), 3u) << categories[c];
    }
    // A laser bolt is neither a weapon to pick up nor a decoration.
    const std::vector<std::string> frames = Names(".fme");
    for (std::size_t c = 1; c < 4; ++c) {
        const auto listed = PickerList(".fme", c, frames, {});
        EXPECT_EQ(std::count(listed.begin(), listed.end(), "bullet.fme"), 0) << c;
    }
}

TEST_F(DemoSprites, EveryWaxFrameDecodes) {
    for (const auto& member : s_pGob->m_pMembers) {
        if (!ToLower(member->m_strName).ends_with(".wax")) continue;
        SCOPED_TRACE(member->m_strName);
        WaxFile wax;
        ASSERT_TRUE(WaxFile::Read(Bytes(*member), member->m_strName, wax)) << member->m_strName;
        ASSERT_FALSE(wax.m_States.empty());
        for (const WaxState& state : wax.m_States) {
            EXPECT_EQ(state.m_Views.size(), 32u);
            EXPECT_GT(state.m_nWorldWidth, 0);
        }
        for (const WaxFrame& frame : wax.m_Frames) {
            SpriteFrame decoded;
            ASSERT_TRUE(DecodeSpriteFrame(Bytes(*member), frame.m_nOffset, member->m_strName, m_Palette,
                                          false, decoded));
            EXPECT_EQ(decoded.m_nCutRuns, 0);
            // Even a card seen edge-on or the first spark of an explosion shows something.
            const int opaque = Opaque(decoded.m_Image);
            EXPECT_GE(opaque, 12) << "frame at " << frame.m_nOffset;
            EXPECT_GE(opaque * 16, decoded.m_Image.width() * decoded.m_Image.height())
                << "frame at " << frame.m_nOffset;
            // Standing on the floor: the anchor is the picture's bottom centre.
            EXPECT_EQ(frame.m_nX, -decoded.m_Image.width() / 2);
            EXPECT_EQ(frame.m_nY, -decoded.m_Image.height());
        }
    }
}

TEST_F(DemoSprites, EnemiesWalkAttackDieAndLieDeadFromEightSides) {
    for (const std::string_view name :
         {"STORMFIN.WAX", "OFFCFIN.WAX", "BOBAFETT.WAX", "PHASE1.WAX", "KELL.WAX", "SEWERBUG.WAX",
          "PROBE.WAX", "REMOTE.WAX", "INTDROID.WAX"}) {
        SCOPED_TRACE(name);
        CDataGobEntry* member = s_pGob->FindMember(name);
        ASSERT_NE(member, nullptr);
        WaxFile wax;
        ASSERT_TRUE(WaxFile::Read(Bytes(*member), name, wax));
        ASSERT_GE(wax.m_States.size(), 5u);
        // Walking and attacking: eight views, each filling four consecutive slots.
        for (const std::size_t s : {0u, 1u}) {
            const std::vector<int>& slots = wax.m_States[s].m_Views;
            EXPECT_EQ(std::set<int>(slots.begin(), slots.end()).size(), 8u);
            for (std::size_t slot = 0; slot < slots.size(); ++slot)
                EXPECT_EQ(slots[slot], slots[slot / 4 * 4]);
        }
        const auto frameCount = [&](std::size_t state) {
            return wax.m_Views[static_cast<std::size_t>(wax.m_States[state].m_Views[0])].m_Frames.size();
        };
        EXPECT_EQ(frameCount(0), 4u);
        EXPECT_EQ(frameCount(1), 2u);
        EXPECT_EQ(frameCount(2), 4u);
        EXPECT_EQ(frameCount(4), 1u);
        // Mirrored views and repeated steps share cells; the dead body is one view for all sides.
        EXPECT_LT(wax.m_Cells.size(), wax.m_Frames.size());
        EXPECT_TRUE(std::any_of(wax.m_Frames.begin(), wax.m_Frames.end(),
                                [](const WaxFrame& f) { return f.m_bFlip; }));
        const std::vector<int>& dead = wax.m_States[4].m_Views;
        EXPECT_EQ(std::set<int>(dead.begin(), dead.end()).size(), 1u);
        // The front and the back look different.
        const WaxView& front = wax.m_Views[static_cast<std::size_t>(wax.m_States[0].m_Views[0])];
        const WaxView& back = wax.m_Views[static_cast<std::size_t>(wax.m_States[0].m_Views[16])];
        SpriteFrame a, b;
        const auto& frames = wax.m_Frames;
        ASSERT_TRUE(DecodeSpriteFrame(Bytes(*member),
                                      frames[static_cast<std::size_t>(front.m_Frames[1])].m_nOffset, name,
                                      m_Palette, false, a));
        ASSERT_TRUE(DecodeSpriteFrame(Bytes(*member),
                                      frames[static_cast<std::size_t>(back.m_Frames[1])].m_nOffset, name,
                                      m_Palette, false, b));
        EXPECT_NE(Pixels(a.m_Image), Pixels(b.m_Image));
    }
}

TEST_F(DemoSprites, AnimatedPropsShowOneViewFromEverySide) {
    for (const std::string_view name : {"LIT1.WAX", "CFLAME.WAX", "BULLEXP.WAX", "IARMOR.WAX", "WMSL.WAX"}) {
        SCOPED_TRACE(name);
        CDataGobEntry* member = s_pGob->FindMember(name);
        ASSERT_NE(member, nullptr);
        WaxFile wax;
        ASSERT_TRUE(WaxFile::Read(Bytes(*member), name, wax));
        ASSERT_EQ(wax.m_States.size(), 1u);
        ASSERT_EQ(wax.m_Views.size(), 1u);
        EXPECT_GE(wax.m_Frames.size(), 2u);
        EXPECT_LE(wax.m_Frames.size(), 6u);
        EXPECT_GT(wax.m_States[0].m_nFrameRate, 0);
    }
}

TEST_F(DemoSprites, EveryFrameDecodesStandingOnTheFloor) {
    bool plain = false, compressed = false;
    for (const auto& member : s_pGob->m_pMembers) {
        if (!ToLower(member->m_strName).ends_with(".fme")) continue;
        SCOPED_TRACE(member->m_strName);
        SpriteFrame frame;
        ASSERT_TRUE(DecodeFme(Bytes(*member), member->m_strName, m_Palette, false, frame));
        EXPECT_EQ(frame.m_nCutRuns, 0);
        EXPECT_GE(Opaque(frame.m_Image) * 6, frame.m_Image.width() * frame.m_Image.height());
        EXPECT_EQ(frame.m_nX, -frame.m_Image.width() / 2);
        EXPECT_EQ(frame.m_nY, -frame.m_Image.height());
        (frame.m_bCompressed ? compressed : plain) = true;
    }
    EXPECT_TRUE(plain);
    EXPECT_TRUE(compressed);
}

TEST_F(DemoSprites, BuildsTheSameBytesEveryTimeAndSurvivesARoundTrip) {
    std::vector<std::uint8_t> first, second, again;
    ASSERT_TRUE(WriteGob(*s_pGob, first));
    GobArchive rebuilt = BuildSpritesGob();
    ASSERT_TRUE(WriteGob(rebuilt, second));
    EXPECT_EQ(first, second);
    EXPECT_LT(first.size(), 8u << 20);
    GobArchive read;
    ASSERT_TRUE(ReadGob(first, "sprites.gob", read));
    ASSERT_EQ(read.m_pMembers.size(), s_pGob->m_pMembers.size());
    ASSERT_TRUE(WriteGob(read, again));
    EXPECT_EQ(again, first);
}

} // namespace
} // namespace morvi::demo
