#include "demo/DemoSounds.h"

#include "resources/PickerRules.h"
#include "resources/VocSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

std::vector<std::uint8_t> Bytes(GobArchive& gob) {
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(WriteGob(gob, out).ok());
    return out;
}

TEST(DemoSounds, HoldsTheRequiredNames) {
    GobArchive gob = BuildSoundsGob();
    for (const char* name : {"DOOR.VOC", "ELEV2-1.VOC", "SWITCH3.VOC", "WIND01.VOC", "WATER01.VOC",
                             "STORM01.VOC", "RIFLE-1.VOC"})
        EXPECT_NE(gob.FindMember(name), nullptr) << name;
    EXPECT_EQ(gob.m_pMembers.size(), DemoSoundNames().size());
    EXPECT_TRUE(BuildDemoSound("NOSUCH.VOC").m_Samples.empty());
}

// Every sound plays: it reads back at 11 kHz, lasts 0.2 to 2 seconds, is not silent and does
// not sit clipped at the rails; the ambient loops repeat without end.
TEST(DemoSounds, EverySoundReadsBackAndIsAudible) {
    GobArchive gob = BuildSoundsGob();
    std::size_t total = 0, endless = 0;
    for (const auto& member : gob.m_pMembers) {
        SCOPED_TRACE(member->m_strName);
        total += member->m_nSize;
        VocSound sound;
        ASSERT_TRUE(ReadVoc(member->m_strName, member->data(), sound).ok());
        EXPECT_EQ(sound.m_nSampleRate, 10989u);
        EXPECT_GE(sound.m_Samples.size(), sound.m_nSampleRate / 5);
        EXPECT_LE(sound.m_Samples.size(), sound.m_nSampleRate * 2);
        EXPECT_EQ(sound.m_Samples, BuildDemoSound(member->m_strName).m_Samples);
        const auto [low, high] = std::minmax_element(sound.m_Samples.begin(), sound.m_Samples.end());
        EXPECT_GE(*high - *low, 40);
        const auto clipped = std::count_if(sound.m_Samples.begin(), sound.m_Samples.end(),
                                           [](std::uint8_t s) { return s == 0 || s == 255; });
        EXPECT_LT(clipped * 50, static_cast<std::ptrdiff_t>(sound.m_Samples.size()));
        if (sound.IsEndless()) ++endless;
        const bool ambient = member->m_strName.starts_with("WIND") || member->m_strName.starts_with("WATER");
        if (ambient) {
            EXPECT_TRUE(sound.IsEndless());
        }
    }
    EXPECT_GE(endless, 3u);
    EXPECT_LT(total, 2u * 1024 * 1024);
}

TEST(DemoSounds, EveryPickerCategoryListsThree) {
    std::vector<std::string> names;
    for (std::string_view name : DemoSoundNames())
        names.emplace_back(name);
    const auto categories = PickerCategories(".voc");
    ASSERT_EQ(categories.size(), 7u);
    for (std::size_t c = 0; c < categories.size(); ++c)
        EXPECT_GE(PickerList(".voc", c, names, {}).size(), 3u) << categories[c];
    EXPECT_EQ(PickerList(".voc", 0, names, {}).size(), names.size());
}

TEST(DemoSounds, TwoBuildsGiveTheSameBytes) {
    GobArchive a = BuildSoundsGob();
    GobArchive b = BuildSoundsGob();
    EXPECT_EQ(Bytes(a), Bytes(b));
}

} // namespace
} // namespace morvi::demo
