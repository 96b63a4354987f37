#include "demo/DemoTextures.h"

#include "demo/DemoArt.h"
#include "resources/BmFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace morvi::demo {
namespace {

// Every member decodes, draws only on the palette's ramps (or leaves index 0 transparent), and is
// see-through exactly when it is stored with zero runs, the one encoding that keeps holes; all
// three encodings occur, and animated textures hold several pictures.
TEST(DemoTextures, EveryMemberDecodesOnTheRampsWithHolesOnlyWhereStoredSo) {
    const GobArchive archive = BuildTexturesGob();
    const std::vector<std::string> names = DemoTextureNames();
    ASSERT_EQ(names.size(), archive.m_pMembers.size());
    std::set<int> compressions;
    int animated = 0, withHoles = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const CDataGobEntry& member = *archive.m_pMembers[i];
        SCOPED_TRACE(member.m_strName);
        EXPECT_EQ(member.m_strName, names[i]);
        std::vector<IndexedImage> frames;
        ASSERT_TRUE(DecodeBm(member.data(), member.m_strName, LevelPalette("DARK"), false, frames).ok());
        ASSERT_FALSE(frames.empty());
        // A single picture keeps its compression as a 16-bit number at byte 14.
        const int compression = frames.size() == 1 ? member.data()[14] | member.data()[15] << 8 : -1;
        if (compression >= 0) compressions.insert(compression);
        animated += frames.size() > 1;
        bool holes = false;
        for (const IndexedImage& frame : frames)
            for (int y = 0; y < frame.height(); ++y)
                for (const std::uint8_t index : frame.row(y)) {
                    EXPECT_TRUE(index == 0 || index >= kFirstRampIndex) << "index " << int(index);
                    holes |= index == 0;
                }
        EXPECT_EQ(holes, compression == kBmZeroRuns);
        withHoles += holes;
    }
    EXPECT_EQ(compressions, (std::set<int>{kBmPlain, kBmRunLength, kBmZeroRuns}));
    EXPECT_GE(animated, 5);
    EXPECT_GE(withHoles, 3);
}

} // namespace
} // namespace morvi::demo
