#include "demo/DemoTextures.h"

#include "demo/DemoArt.h"
#include "model/StringUtil.h"
#include "resources/BmFile.h"
#include "resources/PickerRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace morvi::demo {
namespace {

std::vector<std::uint8_t> Written(GobArchive& archive) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(WriteGob(archive, bytes).ok());
    return bytes;
}

std::vector<IndexedImage> Decoded(const CDataGobEntry& member) {
    std::vector<IndexedImage> frames;
    const Status status = DecodeBm(member.data(), member.m_strName, LevelPalette("DARK"), false, frames);
    EXPECT_TRUE(status.ok()) << status.message();
    return frames;
}

// The header keeps a single picture's compression as a 16-bit number at byte 14.
int CompressionOf(const CDataGobEntry& member) {
    return member.data()[14] | member.data()[15] << 8;
}

// Built once: the tests below only read it.
GobArchive& Archive() {
    static GobArchive archive = BuildTexturesGob();
    return archive;
}

std::vector<std::string> LowerNames(const GobArchive& archive) {
    std::vector<std::string> names;
    for (const auto& member : archive.m_pMembers)
        names.push_back(ToLower(member->m_strName));
    return names;
}

TEST(DemoTextures, HoldsEveryNameTheSampleLevelAndGeneratorsUse) {
    GobArchive& archive = Archive();
    for (const char* name :
         {"IF3.BM", "IPBIGLT.BM", "RWRWALL1.BM", "ZDREBL1.BM", "IWCOMWAL.BM", "ZDOOR1.BM", "ZASWIT1.BM",
          "RESKY01.BM", "IDMGCRT1.BM", "IWFUELS1.BM", "IWACONV1.BM", "RWSTONE1.BM", "IFGRATE1.BM",
          "SWATER1.BM", "IWMETAL1.BM", "IWLIGHT1.BM", "ZSBSIGN1.BM", "DEFAULT.BM"})
        EXPECT_NE(archive.FindMember(name), nullptr) << name;
    const std::vector<std::string> names = DemoTextureNames();
    ASSERT_EQ(names.size(), archive.m_pMembers.size());
    EXPECT_GE(names.size(), 60u);
    EXPECT_LE(names.size(), 100u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "duplicate name";
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(archive.m_pMembers[i]->m_strName, names[i]);
        EXPECT_EQ(ToUpper(names[i]), names[i]);
    }
}

TEST(DemoTextures, FillsEveryPickerCategory) {
    const std::vector<std::string> names = LowerNames(Archive());
    const auto categories = PickerCategories(".bm");
    ASSERT_EQ(categories.size(), 7u);
    for (std::size_t c = 0; c < categories.size(); ++c)
        EXPECT_GE(PickerList(".bm", c, names, {}).size(), 3u) << categories[c];
    // Every texture is offered for walls and floors: none is hidden by the picker's exclusions.
    EXPECT_EQ(PickerList(".bm", 0, names, {}).size(), names.size());
    const std::vector<std::string> skies = PickerList(".bm", 2, names, {});
    EXPECT_EQ(skies.size(), 10u);
    const std::vector<std::string> animated = PickerList(".bm", 1, names, {});
    for (const char* name : {"zacomp1.bm", "zaeye.bm", "zanav.bm", "zaspin.bm", "zaswit1.bm"})
        EXPECT_NE(std::find(animated.begin(), animated.end(), name), animated.end()) << name;
}

TEST(DemoTextures, EveryMemberDecodesToDrawnPicturesOnTheRamps) {
    GobArchive& archive = Archive();
    std::set<int> compressions;
    for (const auto& member : archive.m_pMembers) {
        const std::string& name = member->m_strName;
        ASSERT_GE(member->m_nSize, kBmHeaderSize) << name;
        const std::vector<IndexedImage> frames = Decoded(*member);
        ASSERT_FALSE(frames.empty()) << name;
        if (frames.size() == 1) compressions.insert(CompressionOf(*member));
        for (const IndexedImage& frame : frames) {
            std::set<int> used;
            for (int y = 0; y < frame.height(); ++y)
                for (std::uint8_t index : frame.row(y))
                    used.insert(index);
            EXPECT_GE(used.size(), 8u) << name << " looks flat";
            for (int index : used)
                EXPECT_TRUE(index == 0 || index >= kFirstRampIndex) << name << " uses index " << index;
        }
    }
    EXPECT_EQ(compressions, (std::set<int>{kBmPlain, kBmRunLength, kBmZeroRuns}));
}

TEST(DemoTextures, AnimatedTexturesHoldSeveralDifferentFrames) {
    GobArchive& archive = Archive();
    auto frameCount = [&](const char* name) {
        const CDataGobEntry* member = archive.FindMember(name);
        return member ? Decoded(*member).size() : 0u;
    };
    for (const char* name : {"ZASWIT1.BM", "ZASWIT2.BM", "ZASWIT3.BM"})
        EXPECT_EQ(frameCount(name), 2u) << name;
    for (const char* name :
         {"IWACONV1.BM", "ZACOMP1.BM", "ZAEYE.BM", "ZANAV.BM", "ZASPIN.BM", "SWATER2.BM"}) {
        EXPECT_GE(frameCount(name), 4u) << name;
        EXPECT_LE(frameCount(name), 8u) << name;
    }
    // The frames of an animation must move: no two neighbours alike.
    for (const auto& member : archive.m_pMembers) {
        const std::vector<IndexedImage> frames = Decoded(*member);
        for (std::size_t i = 1; i < frames.size(); ++i)
            EXPECT_FALSE(std::ranges::equal(frames[i - 1].bits(), frames[i].bits()))
                << member->m_strName << " frame " << i;
    }
}

TEST(DemoTextures, SeeThroughTexturesHaveHolesAndOthersNone) {
    GobArchive& archive = Archive();
    int withHoles = 0;
    for (const auto& member : archive.m_pMembers) {
        const std::vector<IndexedImage> frames = Decoded(*member);
        bool holes = false;
        for (int y = 0; y < frames.front().height(); ++y)
            holes = holes ||
                    std::ranges::find(frames.front().row(y), std::uint8_t{0}) != frames.front().row(y).end();
        const bool zeroRuns = frames.size() == 1 && CompressionOf(*member) == kBmZeroRuns;
        EXPECT_EQ(holes, zeroRuns) << member->m_strName;
        withHoles += holes;
    }
    EXPECT_GE(withHoles, 3);
}

TEST(DemoTextures, BuildsTheSameBytesEveryTimeAndRoundTrips) {
    GobArchive first = BuildTexturesGob(), second = BuildTexturesGob();
    const std::vector<std::uint8_t> bytes = Written(first);
    EXPECT_EQ(bytes, Written(second));
    EXPECT_LT(bytes.size(), 3u * 1024 * 1024);

    GobArchive read;
    const Status status = ReadGob(bytes, "textures.gob", read);
    ASSERT_TRUE(status.ok()) << status.message();
    ASSERT_EQ(read.m_pMembers.size(), first.m_pMembers.size());
    EXPECT_EQ(Written(read), bytes);
}

} // namespace
} // namespace morvi::demo
