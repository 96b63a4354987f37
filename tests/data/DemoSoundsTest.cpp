#include "demo/DemoSounds.h"

#include "resources/VocSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace morvi::demo {
namespace {

// Every sound reads back as built at 11 kHz, lasts 0.2 to 2 seconds and is audible; the ambient
// loops repeat without end.
TEST(DemoSounds, EverySoundReadsBackAsBuiltAndAmbientOnesLoop) {
    const GobArchive gob = BuildSoundsGob();
    ASSERT_EQ(gob.m_pMembers.size(), DemoSoundNames().size());
    std::size_t endless = 0;
    for (const auto& member : gob.m_pMembers) {
        SCOPED_TRACE(member->m_strName);
        VocSound sound;
        ASSERT_TRUE(ReadVoc(member->m_strName, member->data(), sound).ok());
        EXPECT_EQ(sound.m_Samples, BuildDemoSound(member->m_strName).m_Samples);
        EXPECT_EQ(sound.m_nSampleRate, 10989u);
        EXPECT_GE(sound.m_Samples.size(), sound.m_nSampleRate / 5);
        EXPECT_LE(sound.m_Samples.size(), sound.m_nSampleRate * 2);
        const auto [low, high] = std::minmax_element(sound.m_Samples.begin(), sound.m_Samples.end());
        EXPECT_GE(*high - *low, 40);
        const bool ambient = member->m_strName.starts_with("WIND") || member->m_strName.starts_with("WATER");
        EXPECT_TRUE(sound.IsEndless() || !ambient);
        endless += sound.IsEndless();
    }
    EXPECT_GE(endless, 3u);
    EXPECT_TRUE(BuildDemoSound("NOSUCH.VOC").m_Samples.empty());
}

} // namespace
} // namespace morvi::demo
