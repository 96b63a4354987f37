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

TEST(SoundManager, LoadsSoundsInOrderWithoutPlaying) {
    NullSoundOutput output;
    SoundManager manager(output);
    EXPECT_EQ(0, manager.LoadVoc("a.voc", Voc(156, 0, {1, 2, 3})));
    EXPECT_EQ(1, manager.LoadVoc("b.voc", Voc(0, 0, {4, 5})));
    EXPECT_EQ((Calls{"create 0 10000 3", "fill 0 3", "create 1 3906 2", "fill 1 2"}), output.m_Calls);
    EXPECT_EQ(2u, manager.SoundCount());
    EXPECT_EQ((Bytes{1, 2, 3}), output.m_Contents[0]);
    EXPECT_EQ((Bytes{4, 5}), output.m_Contents[1]);
    EXPECT_TRUE(output.m_Playing.empty());
}

TEST(SoundManager, OnlyEndlessSoundsGetStaticBuffers) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.LoadVoc("endless.voc", Voc(156, kVocEndlessRepeat, {1}));
    manager.LoadVoc("thrice.voc", Voc(156, 3, {1}));
    EXPECT_EQ((Calls{"create 0 10000 1 static", "fill 0 1", "create 1 10000 1", "fill 1 1"}), output.m_Calls);
}

TEST(SoundManager, PlayOnLoadReplacesWhatPlaysAndPlays) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    EXPECT_EQ(0, manager.LoadVoc("a.voc", Voc(156, 0, {1})));
    EXPECT_EQ(0, manager.LoadVoc("b.voc", Voc(156, 0, {2, 3})));
    EXPECT_EQ((Calls{"create 0 10000 1", "fill 0 1", "play 0", "stop 0", "release 0", "create 1 10000 2",
                     "fill 1 2", "play 1"}),
              output.m_Calls);
    EXPECT_EQ(1u, manager.SoundCount());
    EXPECT_EQ(1, manager.BufferOf(0));
    EXPECT_EQ((std::vector<int>{1}), output.m_Playing);
    EXPECT_EQ((std::vector<int>{1}), output.m_Live);
}

TEST(SoundManager, PlayOnLoadDropsEverySoundAndStopsOnlyThosePlaying) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.LoadVoc("a.voc", Voc(156, 0, {1}));
    manager.LoadVoc("b.voc", Voc(156, 0, {1}));
    manager.Play(1);
    output.m_Calls.clear();
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    EXPECT_EQ(0, manager.LoadVoc("c.voc", Voc(156, 0, {1})));
    EXPECT_EQ((Calls{"release 0", "stop 1", "release 1", "create 2 10000 1", "fill 2 1", "play 2"}),
              output.m_Calls);

    // A sound that has played to its end is released without a stop.
    output.Finish(2);
    output.m_Calls.clear();
    manager.LoadVoc("d.voc", Voc(156, 0, {1}));
    EXPECT_EQ((Calls{"release 2", "create 3 10000 1", "fill 3 1", "play 3"}), output.m_Calls);
}

TEST(SoundManager, PlayOnLoadDropsTheOthersEvenWhenTheNewSoundFails) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    manager.LoadVoc("a.voc", Voc(156, 0, {1}));
    output.m_Calls.clear();
    Status status;
    EXPECT_EQ(-1, manager.LoadVoc("empty.voc", EmptyVoc(), &status));
    EXPECT_EQ("empty.voc: the sound ends before any sound data", status.message());
    EXPECT_EQ((Calls{"stop 0", "release 0"}), output.m_Calls);
    EXPECT_EQ(0u, manager.SoundCount());
}

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
}

TEST(SoundManager, WithoutADeviceNothingIsLoaded) {
    NullSoundOutput output(false);
    SoundManager manager(output);
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    Status status;
    EXPECT_EQ(-1, manager.LoadVoc("a.voc", Voc(156, 0, {1}), &status));
    EXPECT_EQ("a.voc: there is no sound device", status.message());
    EXPECT_TRUE(output.m_Calls.empty());
    EXPECT_EQ(0u, manager.SoundCount());
}

TEST(SoundManager, AnUnwritableBufferStaysLoadedSilent) {
    NullSoundOutput output;
    output.m_bRefuseFill = true;
    SoundManager manager(output);
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    Status status;
    EXPECT_EQ(0, manager.LoadVoc("a.voc", Voc(156, 0, {1, 2}), &status));
    EXPECT_TRUE(status.ok());
    EXPECT_EQ((Calls{"create 0 10000 2", "fill 0 2 refused", "play 0"}), output.m_Calls);
    EXPECT_EQ(1u, manager.SoundCount());
}

TEST(SoundManager, PlaysAndStopsByHandle) {
    NullSoundOutput output;
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
}

TEST(SoundManager, DestructionStopsAndReleasesEverySound) {
    NullSoundOutput output;
    {
        SoundManager manager(output);
        manager.LoadVoc("a.voc", Voc(156, 0, {1}));
        manager.LoadVoc("b.voc", Voc(156, 0, {1}));
        manager.Play(1);
        output.m_Calls.clear();
    }
    EXPECT_EQ((Calls{"release 0", "stop 1", "release 1"}), output.m_Calls);
    EXPECT_TRUE(output.m_Live.empty());
}

} // namespace
} // namespace morvi
