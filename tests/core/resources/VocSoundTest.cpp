#include "resources/VocSound.h"
#include "model/CDataGobEntry.h"
#include "resources/ResourceCache.h"
#include "resources/ResourcePreview.h"
#include "resources/SoundManager.h"

#include "PictureHelpers.h"

namespace morvi {
namespace {

using namespace testing;

VocSound MakeSound(std::uint8_t nTimeConstant, std::uint16_t nRepeatCount, Bytes samples) {
    VocSound sound;
    sound.m_nTimeConstant = nTimeConstant;
    sound.m_nSampleRate = VocSampleRate(nTimeConstant);
    sound.m_nRepeatCount = nRepeatCount;
    sound.m_Samples = std::move(samples);
    return sound;
}

Bytes Written(const VocSound& sound) {
    Bytes bytes;
    EXPECT_TRUE(Succeeded(WriteVoc(sound, bytes)));
    return bytes;
}

// Our writer's header followed by the given blocks, without a terminator unless one is listed.
Bytes WithBlocks(const std::vector<std::pair<std::uint8_t, Bytes>>& blocks) {
    const Bytes written = Written(MakeSound(156, 0, {1}));
    Bytes bytes(written.begin(), written.begin() + kVocHeaderSize);
    for (const auto& [nType, body] : blocks)
        EXPECT_TRUE(Succeeded(AppendVocBlock(bytes, nType, body)));
    return bytes;
}

auto Fields(const VocSound& sound) {
    return std::tuple(sound.m_nTimeConstant, sound.m_nSampleRate, sound.m_nRepeatCount, sound.m_Samples);
}

// Our sounds, with and without a repeat, read back to what was written.
TEST(VocSound, WritesTheExactBytesAndReadsThemBackAndTheFirstSoundOfOthers) {
    const Bytes expectedHeader{'C', 'r', 'e', 'a', 't', 'i', 'v',  'e',  ' ',  'V',  'o',  'i',  'c',
                               'e', ' ', 'F', 'i', 'l', 'e', 0x1A, 0x1A, 0x00, 0x0A, 0x01, 0x29, 0x11};
    Bytes expected = expectedHeader;
    expected.insert(expected.end(), {0x06, 0x02, 0x00, 0x00, 0x03, 0x00,                   // repeat 3
                                     0x01, 0x05, 0x00, 0x00, 0x9C, 0x00, 0x80, 0x00, 0xFF, // sound
                                     0x07, 0x00, 0x00, 0x00,                               // repeat end
                                     0x00});
    EXPECT_EQ(expected, Written(MakeSound(156, 3, {0x80, 0x00, 0xFF})));

    Bytes plain = expectedHeader;
    plain.insert(plain.end(), {0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x7F, 0x00});
    EXPECT_EQ(plain, Written(MakeSound(0, 0, {0x7F})));

    for (const std::uint16_t nRepeat : {std::uint16_t(0), kVocEndlessRepeat}) {
        const VocSound original = MakeSound(166, nRepeat, {0, 0x80, 0xFF});
        VocSound read;
        ASSERT_TRUE(Succeeded(ReadVoc("loop.voc", Written(original), read)));
        EXPECT_EQ(Fields(read), Fields(original));
        EXPECT_EQ(nRepeat == kVocEndlessRepeat, read.IsEndless());
    }
    // Only the first sound block is read, with the last repeat block before it; blocks of other
    // types before it are skipped whole (their bodies would read as a terminator or a sound block).
    const Bytes bytes = WithBlocks({{kVocRepeatStart, {0xFF, 0xFF}},
                                    {kVocRepeatStart, {0x05, 0x00, 0xAA}},
                                    {0x42, {0x00, 0x01, 0x04, 0x00}},
                                    {kVocSoundData, {131, 0, 9, 8}},
                                    {kVocRepeatStart, {0xFF, 0xFF}},
                                    {kVocTerminator, {}}});
    VocSound read;
    ASSERT_TRUE(Succeeded(ReadVoc("r.voc", bytes, read)));
    EXPECT_EQ(Fields(read), Fields(MakeSound(131, 5, {9, 8})));
}

TEST(VocSound, BadFilesAreRefusedWithAMessageAndOversizedSoundsNotWritten) {
    Bytes beyondEnd = Written(MakeSound(156, 0, {1, 2, 3}));
    beyondEnd[kVocHeaderSize + 1] = 0x40; // the sound block claims 64 bytes

    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(10, 0), "bad.voc: the file is shorter than a VOC header (10 bytes)"},
        {WithBlocks({{kVocTerminator, {}}, {kVocSoundData, {156, 0, 1}}}),
         "bad.voc: the sound ends before any sound data"},
        {beyondEnd, "bad.voc: the block at offset 26 claims 64 bytes but only 6 follow"},
    };
    for (const auto& [bytes, message] : cases) {
        VocSound sound = MakeSound(7, 3, {1, 2, 3});
        EXPECT_EQ(message, ReadVoc("bad.voc", bytes, sound).message());
        EXPECT_EQ(Fields(sound), Fields(VocSound())) << message;
    }
    // The writer refuses what one block cannot hold.
    Bytes out{1, 2};
    EXPECT_FALSE(WriteVoc(MakeSound(156, 0, Bytes(kVocMaxBlockBody - 1)), out));
    EXPECT_EQ((Bytes{1, 2}), out);
}

using Calls = std::vector<std::string>;

// Sounds load in order without playing, only those repeating without end into static buffers, and
// play and stop by handle; a sound that does not read or that the device refuses leaves the
// loaded ones as they were; going away, the manager stops what plays and releases every buffer.
TEST(SoundManager, LoadsPlaysAndStopsByHandleAndReleasesAllAtTheEnd) {
    NullSoundOutput output;
    {
        SoundManager manager(output);
        EXPECT_EQ(0, manager.LoadVoc("a.voc", Written(MakeSound(156, 0, {1, 2, 3}))));
        EXPECT_EQ(1, manager.LoadVoc("b.voc", Written(MakeSound(0, 0, {4, 5}))));
        EXPECT_EQ(2, manager.LoadVoc("endless.voc", Written(MakeSound(156, kVocEndlessRepeat, {1}))));
        EXPECT_EQ((Calls{"create 0 10000 3", "fill 0 3", "create 1 3906 2", "fill 1 2",
                         "create 2 10000 1 static", "fill 2 1"}),
                  output.m_Calls);
        EXPECT_EQ((Bytes{4, 5}), output.m_Contents[1]);
        output.m_Calls.clear();
        Status status;
        output.m_bRefuseCreate = true;
        EXPECT_EQ(-1, manager.LoadVoc("big.voc", Written(MakeSound(156, 0, {1})), &status));
        EXPECT_EQ("big.voc: the sound device refused the sound", status.message());
        EXPECT_TRUE(manager.Play(2) && manager.Play(0));
        EXPECT_TRUE(manager.Stop(1)); // not playing: nothing to stop
        EXPECT_TRUE(manager.Stop(2));
        EXPECT_FALSE(manager.Play(3));
        EXPECT_EQ((Calls{"create refused", "play 2", "play 0", "stop 2"}), output.m_Calls);
        output.m_Calls.clear();
    }
    EXPECT_EQ((Calls{"stop 0", "release 0", "release 1", "release 2"}), output.m_Calls);
    EXPECT_TRUE(output.m_Live.empty());
}

// In play-on-load mode a new sound replaces every other, stopping only those still playing, even
// when the new sound fails.
TEST(SoundManager, PlayOnLoadReplacesEverySoundAndPlays) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.LoadVoc("a.voc", Written(MakeSound(156, 0, {1})));
    manager.LoadVoc("b.voc", Written(MakeSound(156, 0, {1})));
    manager.Play(1);
    output.m_Calls.clear();
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    EXPECT_EQ(0, manager.LoadVoc("c.voc", Written(MakeSound(156, 0, {2, 3}))));
    EXPECT_EQ(-1, manager.LoadVoc("cut.voc", Bytes(10)));
    EXPECT_EQ((Calls{"release 0", "stop 1", "release 1", "create 2 10000 2", "fill 2 2", "play 2", "stop 2",
                     "release 2"}),
              output.m_Calls);
    EXPECT_EQ(0u, manager.SoundCount());
}

// Previews sharing a play-on-load manager: a sound loaded plays at once; loading anything else stops
// it; a preview stops only its own sound, not another preview's loaded since under its handle.
TEST(ResourcePreview, PlaysTheSoundsItLoadsAndStopsOnlyItsOwn) {
    NullSoundOutput output;
    SoundManager manager(output);
    manager.SetSoundMode(SoundManager::kPlayOnLoad);
    ResourceCache cache;
    ResourcePreview first(nullptr, cache), second(nullptr, cache);
    first.setSoundManager(&manager);
    second.setSoundManager(&manager);
    const CDataGobEntry wind("WIND.VOC", Written(MakeSound(156, kVocEndlessRepeat, {1, 2})));
    const CDataGobEntry door("DOOR.VOC", Written(MakeSound(0, 0, {3}))), wall("WALL.BM", Bytes(3));
    const struct {
        ResourcePreview& preview;
        const CDataGobEntry* entry; // nullptr: stopSound()
        Calls calls;
    } steps[] = {
        {first, &wind, {"create 0 10000 2 static", "fill 0 2", "play 0"}},
        {first, &wall, {"stop 0"}},
        {first, &door, {"release 0", "create 1 3906 1", "fill 1 1", "play 1"}},
        {second, &wind, {"stop 1", "release 1", "create 2 10000 2 static", "fill 2 2", "play 2"}},
        {first, nullptr, {}},
        {second, nullptr, {"stop 2"}},
    };
    for (const auto& step : steps) {
        output.m_Calls.clear();
        if (const CDataGobEntry* entry = step.entry)
            EXPECT_TRUE(step.preview.load(entry->m_strName.substr(entry->m_strName.find('.')),
                                          entry->m_strName, true, entry));
        else
            step.preview.stopSound();
        EXPECT_EQ(step.calls, output.m_Calls);
    }
}

} // namespace
} // namespace morvi
