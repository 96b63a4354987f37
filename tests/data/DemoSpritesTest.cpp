#include "demo/DemoSprites.h"
#include "demo/DemoArt.h"

#include "model/StringUtil.h"
#include "resources/FmeFile.h"
#include "resources/WaxFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

class DemoSprites : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_pGob = new GobArchive(BuildSpritesGob()); }
    static void TearDownTestSuite() {
        delete s_pGob;
        s_pGob = nullptr;
    }
    static WaxFile ReadWax(std::string_view name) {
        WaxFile wax;
        const CDataGobEntry* member = s_pGob->FindMember(name);
        EXPECT_TRUE(member && WaxFile::Read(member->data(), name, wax));
        return wax;
    }

    static inline GobArchive* s_pGob = nullptr;
};

// Every frame of every sprite decodes whole, shows something and stands on the floor: its anchor
// is the picture's bottom centre. Both kinds of FME cell occur.
TEST_F(DemoSprites, EveryFrameDecodesStandingOnTheFloor) {
    const GamePalette palette = LevelPalette("SECBASE");
    std::set<bool> fmeKinds;
    for (const auto& member : s_pGob->m_pMembers) {
        SCOPED_TRACE(member->m_strName);
        const bool isWax = ToLower(member->m_strName).ends_with(".wax");
        std::vector<std::uint32_t> offsets{0}; // an FME's frame header comes first
        if (isWax) {
            const WaxFile wax = ReadWax(member->m_strName);
            ASSERT_FALSE(wax.m_States.empty());
            for (const WaxState& state : wax.m_States) {
                EXPECT_EQ(state.m_Views.size(), 32u);
                EXPECT_GT(state.m_nWorldWidth, 0);
            }
            offsets.clear();
            for (const WaxFrame& frame : wax.m_Frames)
                offsets.push_back(frame.m_nOffset);
        }
        for (const std::uint32_t offset : offsets) {
            SpriteFrame frame;
            ASSERT_TRUE(DecodeSpriteFrame(member->data(), offset, member->m_strName, palette, false, frame));
            const IndexedImage& image = frame.m_Image;
            EXPECT_EQ(frame.m_nCutRuns, 0);
            EXPECT_EQ(frame.m_nX, -image.width() / 2) << "frame at " << offset;
            EXPECT_EQ(frame.m_nY, -image.height()) << "frame at " << offset;
            const auto bits = image.bits();
            EXPECT_GE(16 * (bits.size() - static_cast<std::size_t>(std::count(bits.begin(), bits.end(), 0))),
                      static_cast<std::size_t>(image.width() * image.height()))
                << "frame at " << offset << " is nearly empty";
            if (!isWax) fmeKinds.insert(frame.m_bCompressed);
        }
    }
    EXPECT_EQ(fmeKinds.size(), 2u);
}

// Enemies walk, attack, fall and lie dead: walking and attacking from eight sides, each side
// filling four consecutive view slots; mirrored sides and repeated steps share cells; the dead
// body is one view for all sides. Animated props have one state of one view.
TEST_F(DemoSprites, EnemiesAndPropsHaveTheirStates) {
    for (const std::string_view name :
         {"STORMFIN.WAX", "OFFCFIN.WAX", "BOBAFETT.WAX", "PHASE1.WAX", "KELL.WAX", "SEWERBUG.WAX",
          "PROBE.WAX", "REMOTE.WAX", "INTDROID.WAX"}) {
        SCOPED_TRACE(name);
        const WaxFile wax = ReadWax(name);
        ASSERT_GE(wax.m_States.size(), 5u);
        for (const std::size_t s : {0u, 1u}) {
            const std::vector<int>& slots = wax.m_States[s].m_Views;
            EXPECT_EQ(std::set<int>(slots.begin(), slots.end()).size(), 8u);
            for (std::size_t slot = 0; slot < slots.size(); ++slot)
                EXPECT_EQ(slots[slot], slots[slot / 4 * 4]);
        }
        EXPECT_LT(wax.m_Cells.size(), wax.m_Frames.size());
        EXPECT_TRUE(std::ranges::any_of(wax.m_Frames, [](const WaxFrame& f) { return f.m_bFlip; }));
        const std::vector<int>& dead = wax.m_States[4].m_Views;
        EXPECT_EQ(std::set<int>(dead.begin(), dead.end()).size(), 1u);
    }
    for (const std::string_view name : {"LIT1.WAX", "CFLAME.WAX", "BULLEXP.WAX", "IARMOR.WAX", "WMSL.WAX"}) {
        SCOPED_TRACE(name);
        const WaxFile wax = ReadWax(name);
        ASSERT_EQ(wax.m_States.size(), 1u);
        EXPECT_EQ(wax.m_Views.size(), 1u);
        EXPECT_GE(wax.m_Frames.size(), 2u);
        EXPECT_GT(wax.m_States[0].m_nFrameRate, 0);
    }
}

} // namespace
} // namespace morvi::demo
