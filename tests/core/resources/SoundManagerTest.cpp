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

// A VOC whose first block is the terminator.
Bytes EmptyVoc() {
    Bytes bytes = Voc(156, 0, {1});
    bytes.resize(kVocHeaderSize);
    bytes.push_back(kVocTerminator);
    return bytes;
}

// Only sounds repeating without end get static buffers.
TEST(SoundManager, LoadsSoundsInOrderWithoutPlaying) {
    NullSoundOutput output;
    SoundManager manager(output);
    EXPECT_EQ(0, manager.LoadVoc("a.voc", Voc(156, 0, {1, 2, 3})));
    EXPECT_EQ(1, manager.LoadVoc("b.voc", Voc(0, 0, {4, 5})));
    EXPECT_EQ(2, manager.LoadVoc("endless.voc", Voc(156, kVocEndlessRepeat, {1})));
    EXPECT_EQ(3, manager.LoadVoc("thrice.voc", Voc(156, 3, {1})));
    EXPECT_EQ((Calls{"create 0 10000 3", "fill 0 3", "create 1 3906 2", "fill 1 2", "create 2 10000 1 static",
                     "fill 2 1", "create 3 10000 1", "fill 3 1"}),
              output.m_Calls);
    EXPECT_EQ(4u, manager.SoundCount());
    EXPECT_EQ((Bytes{4, 5}), output.m_Contents[1]);
    EXPECT_TRUE(output.m_Playing.empty());
}

// In play-on-load mode a new sound replaces every other, stopping only those still playing.
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
    EXPECT_EQ(1u, manager.SoundCount());
    EXPECT_EQ(2, manager.BufferOf(0));

    // A sound that has played to its end is released without a stop.
    output.Finish(2);
    output.m_Calls.clear();
    EXPECT_EQ(0, manager.LoadVoc("d.voc", Voc(156, 0, {1})));
    EXPECT_EQ((Calls{"release 2", "create 3 10000 1", "fill 3 1", "play 3"}), output.m_Calls);
    EXPECT_EQ((std::vector<int>{3}), output.m_Playing);
    EXPECT_EQ((std::vector<int>{3}), output.m_Live);

    // The others are dropped even when the new sound fails.
    output.m_Calls.clear();
    Status status;
    EXPECT_EQ(-1, manager.LoadVoc("empty.voc", EmptyVoc(), &status));
    EXPECT_EQ("empty.voc: the sound ends before any sound data", status.message());
    EXPECT_EQ((Calls{"stop 3", "release 3"}), output.m_Calls);
    EXPECT_EQ(0u, manager.SoundCount());
}

// A sound that does not read or that the device refuses leaves the loaded ones as they were;
// without a device nothing is loaded; a buffer that cannot be filled stays loaded, silent.
TEST(SoundManager, FailuresLeaveTheLoadedSounds) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.LoadVoc("a.voc", Voc(156, 0, {1}));
    output.m_Calls.clear();
    Status status;
    EXPECT_EQ(-1, manager.LoadVoc("empty.voc", EmptyVoc(), &status));
    EXPECT_EQ("empty.voc: the sound ends before any sound data", status.message());
    EXPECT_TRUE(output.m_Calls.empty());
    output.m_bRefuseCreate = true;
    EXPECT_EQ(-1, manager.LoadVoc("big.voc", Voc(156, 0, {1}), &status));
    EXPECT_EQ("big.voc: the sound device refused the sound", status.message());
    EXPECT_EQ((Calls{"create refused"}), output.m_Calls);
    EXPECT_EQ(1u, manager.SoundCount());
    EXPECT_EQ(0, manager.BufferOf(0));

    NullSoundOutput none(false);
    SoundManager silent(none);
    EXPECT_EQ(-1, silent.LoadVoc("a.voc", Voc(156, 0, {1}), &status));
    EXPECT_EQ("a.voc: there is no sound device", status.message());
    EXPECT_TRUE(none.m_Calls.empty());

    NullSoundOutput locked;
    locked.m_bRefuseFill = true;
    SoundManager unfilled(locked);
    unfilled.SetSoundMode(SoundManager::kPlayOnLoad);
    Status filled;
    EXPECT_EQ(0, unfilled.LoadVoc("a.voc", Voc(156, 0, {1, 2}), &filled));
    EXPECT_TRUE(filled.ok());
    EXPECT_EQ((Calls{"create 0 10000 2", "fill 0 2 refused", "play 0"}), locked.m_Calls);
}

// Going away, the manager stops what plays and releases every buffer.
TEST(SoundManager, PlaysAndStopsByHandleAndReleasesAllAtTheEnd) {
    NullSoundOutput output;
    {
        SoundManager manager(output);
        manager.LoadVoc("a.voc", Voc(156, 0, {1}));
        manager.LoadVoc("b.voc", Voc(156, 0, {1}));
        manager.LoadVoc("c.voc", Voc(156, 0, {1}));
        output.m_Calls.clear();
        EXPECT_TRUE(manager.Play(2));
        EXPECT_TRUE(manager.Play(0));
        EXPECT_TRUE(manager.Stop(1)); // not playing: nothing to stop
        EXPECT_TRUE(manager.Stop(2));
        EXPECT_FALSE(manager.Play(3));
        EXPECT_FALSE(manager.Play(-1));
        EXPECT_FALSE(manager.Stop(3));
        EXPECT_EQ((Calls{"play 2", "play 0", "stop 2"}), output.m_Calls);

        manager.Play(1);
        output.m_Calls.clear();
        manager.StopAll();
        EXPECT_EQ((Calls{"stop 0", "stop 1"}), output.m_Calls);
        EXPECT_EQ(3u, manager.SoundCount());
        manager.Play(1);
        output.m_Calls.clear();
    }
    EXPECT_EQ((Calls{"release 0", "stop 1", "release 1", "release 2"}), output.m_Calls);
    EXPECT_TRUE(output.m_Live.empty());
}

} // namespace
} // namespace morvi
