#include "resources/SoundManager.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Calls = std::vector<std::string>;

Bytes Voc(std::uint8_t nTimeConstant, std::uint16_t nRepeatCount, Bytes samples) {
    VocSound sound;
    sound.m_nTimeConstant = nTimeConstant;
    sound.m_nRepeatCount = nRepeatCount;
    sound.m_Samples = std::move(samples);
    Bytes bytes;
    EXPECT_TRUE(WriteVoc(sound, bytes));
    return bytes;
}

// Sounds load in order without playing, only those repeating without end into static buffers, and
// play and stop by handle; a sound that does not read or that the device refuses leaves the
// loaded ones as they were; going away, the manager stops what plays and releases every buffer.
TEST(SoundManager, LoadsPlaysAndStopsByHandleAndReleasesAllAtTheEnd) {
    NullSoundOutput output;
    {
        SoundManager manager(output);
        EXPECT_EQ(0, manager.LoadVoc("a.voc", Voc(156, 0, {1, 2, 3})));
        EXPECT_EQ(1, manager.LoadVoc("b.voc", Voc(0, 0, {4, 5})));
        EXPECT_EQ(2, manager.LoadVoc("endless.voc", Voc(156, kVocEndlessRepeat, {1})));
        EXPECT_EQ((Calls{"create 0 10000 3", "fill 0 3", "create 1 3906 2", "fill 1 2",
                         "create 2 10000 1 static", "fill 2 1"}),
                  output.m_Calls);
        EXPECT_EQ((Bytes{4, 5}), output.m_Contents[1]);
        output.m_Calls.clear();
        Status status;
        EXPECT_EQ(-1, manager.LoadVoc("cut.voc", Bytes(10), &status));
        EXPECT_NE(status.message().find("cut.voc"), std::string::npos) << status.message();
        output.m_bRefuseCreate = true;
        EXPECT_EQ(-1, manager.LoadVoc("big.voc", Voc(156, 0, {1}), &status));
        EXPECT_EQ("big.voc: the sound device refused the sound", status.message());
        EXPECT_EQ(3u, manager.SoundCount());
        EXPECT_TRUE(manager.Play(2));
        EXPECT_TRUE(manager.Play(0));
        EXPECT_TRUE(manager.Stop(1)); // not playing: nothing to stop
        EXPECT_TRUE(manager.Stop(2));
        EXPECT_FALSE(manager.Play(3));
        EXPECT_FALSE(manager.Stop(-1));
        manager.Play(1);
        EXPECT_EQ((Calls{"create refused", "play 2", "play 0", "stop 2", "play 1"}), output.m_Calls);
        output.m_Calls.clear();
    }
    EXPECT_EQ((Calls{"stop 0", "release 0", "stop 1", "release 1", "release 2"}), output.m_Calls);
    EXPECT_TRUE(output.m_Live.empty());

    NullSoundOutput none(false);
    Status status;
    EXPECT_EQ(-1, SoundManager(none).LoadVoc("a.voc", Voc(156, 0, {1}), &status));
    EXPECT_EQ("a.voc: there is no sound device", status.message());
    EXPECT_TRUE(none.m_Calls.empty());
}

// In play-on-load mode a new sound replaces every other, stopping only those still playing, even
// when the new sound fails.
TEST(SoundManager, PlayOnLoadReplacesEverySoundAndPlays) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.LoadVoc("a.voc", Voc(156, 0, {1}));
    manager.LoadVoc("b.voc", Voc(156, 0, {1}));
    manager.Play(1);
    output.m_Calls.clear();
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    EXPECT_EQ(0, manager.LoadVoc("c.voc", Voc(156, 0, {2, 3})));
    EXPECT_EQ((Calls{"release 0", "stop 1", "release 1", "create 2 10000 2", "fill 2 2", "play 2"}),
              output.m_Calls);
    EXPECT_EQ(2, manager.BufferOf(0));
    output.Finish(2);
    output.m_Calls.clear();
    EXPECT_EQ(0, manager.LoadVoc("d.voc", Voc(156, 0, {1})));
    EXPECT_EQ(-1, manager.LoadVoc("cut.voc", Bytes(10)));
    EXPECT_EQ((Calls{"release 2", "create 3 10000 1", "fill 3 1", "play 3", "stop 3", "release 3"}),
              output.m_Calls);
    EXPECT_EQ(0u, manager.SoundCount());
}

} // namespace
} // namespace morvi
