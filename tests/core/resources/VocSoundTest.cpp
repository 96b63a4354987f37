#include "resources/VocSound.h"

#include "support/StatusAssertions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace morvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::Succeeded;

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

TEST(VocSound, WriterProducesTheExactBytes) {
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
}

TEST(VocSound, RoundTripsSoundsWithAndWithoutRepeat) {
    Bytes samples(70'000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 7);
    for (const std::uint16_t nRepeat : {std::uint16_t(0), std::uint16_t(3), kVocEndlessRepeat}) {
        const VocSound original = MakeSound(166, nRepeat, samples);
        VocSound read;
        ASSERT_TRUE(Succeeded(ReadVoc("loop.voc", Written(original), read)));
        EXPECT_EQ(Fields(read), Fields(original));
        EXPECT_EQ(nRepeat == kVocEndlessRepeat, read.IsEndless());
    }
}

// Only the first sound block is read, with the last repeat block before it; blocks of other
// types before it are skipped whole, and nothing after it is looked at. The header's text is not
// examined.
TEST(VocSound, ReadsTheFirstSoundWithTheLastRepeatBeforeIt) {
    std::vector<std::pair<std::uint8_t, Bytes>> others;
    for (const std::uint8_t nType : {2, 3, 4, 5, 7, 8, 9, 0x42, 0xFF})
        // Bodies that would read as a terminator or a sound block if they were not skipped.
        others.push_back({nType, Bytes{0x00, 0x01, 0x04, 0x00, nType}});
    others.push_back({kVocSoundData, {131, 0, 0x10, 0x20}});
    Bytes twoSounds = WithBlocks({{kVocSoundData, {156, 0, 1, 2}}, {kVocSoundData, {0, 0, 3, 4}}});
    twoSounds.insert(twoSounds.end(), {0x05, 0xFF, 0xFF, 0xFF, 0x00}); // claims far more than there is
    Bytes anyHeader = WithBlocks({{kVocSoundData, {166, 0, 7}}});
    std::fill(anyHeader.begin(), anyHeader.begin() + kVocHeaderSize, std::uint8_t{0xFF});
    const std::vector<std::pair<Bytes, VocSound>> cases{
        {WithBlocks({{kVocRepeatStart, {0xFF, 0xFF}},
                     {kVocRepeatStart, {0x05, 0x00, 0xAA}},
                     {kVocSoundData, {156, 0, 9, 8}},
                     {kVocRepeatStart, {0xFF, 0xFF}},
                     {kVocTerminator, {}}}),
         MakeSound(156, 5, {9, 8})},
        {WithBlocks(others), MakeSound(131, 0, {0x10, 0x20})},
        {twoSounds, MakeSound(156, 0, {1, 2})},
        {anyHeader, MakeSound(166, 0, {7})},
    };
    for (const auto& [bytes, expected] : cases) {
        VocSound read;
        ASSERT_TRUE(Succeeded(ReadVoc("r.voc", bytes, read)));
        EXPECT_EQ(Fields(read), Fields(expected));
    }
}

TEST(VocSound, BadFilesAreRefusedWithAMessageAndOversizedSoundsNotWritten) {
    Bytes beyondEnd = Written(MakeSound(156, 0, {1, 2, 3}));
    beyondEnd[kVocHeaderSize + 1] = 0x40; // the sound block claims 64 bytes
    Bytes cutHead = WithBlocks({});
    cutHead.insert(cutHead.end(), {0x01, 0x05});

    const std::vector<std::pair<Bytes, std::string>> cases{
        {Bytes(10, 0), "bad.voc: the file is shorter than a VOC header (10 bytes)"},
        {WithBlocks({}), "bad.voc: the file holds no sound data"},
        {WithBlocks({{kVocTerminator, {}}, {kVocSoundData, {156, 0, 1}}}),
         "bad.voc: the sound ends before any sound data"},
        {beyondEnd, "bad.voc: the block at offset 26 claims 64 bytes but only 6 follow"},
        {WithBlocks({{kVocSoundData, {}}, {kVocTerminator, {}}}),
         "bad.voc: the sound block at offset 26 is too short to hold its time constant and codec"},
        {WithBlocks({{kVocSoundData, {156, 0}}}), "bad.voc: the sound block at offset 26 holds no samples"},
        {WithBlocks({{kVocRepeatStart, {0xFF}}, {kVocSoundData, {156, 0, 1}}}),
         "bad.voc: the repeat block at offset 26 has no count"},
        {cutHead, "bad.voc: the data ends early (2 bytes needed at offset 27 of 28)"},
    };
    for (const auto& [bytes, message] : cases) {
        VocSound sound = MakeSound(7, 3, {1, 2, 3});
        const Status status = ReadVoc("bad.voc", bytes, sound);
        EXPECT_FALSE(status);
        EXPECT_EQ(message, status.message());
        EXPECT_TRUE(sound.m_Samples.empty());
        EXPECT_EQ(0u, sound.m_nSampleRate);
        EXPECT_EQ(0, sound.m_nRepeatCount);
    }
    // The writer refuses what one block cannot hold.
    Bytes out{1, 2};
    EXPECT_FALSE(WriteVoc(MakeSound(156, 0, {}), out));
    EXPECT_EQ((Bytes{1, 2}), out);
    EXPECT_FALSE(WriteVoc(MakeSound(156, 0, Bytes(kVocMaxBlockBody - 1)), out));
    EXPECT_EQ((Bytes{1, 2}), out);
    EXPECT_TRUE(Succeeded(WriteVoc(MakeSound(156, 0, Bytes(kVocMaxBlockBody - 2)), out)));
    VocSound sound;
    ASSERT_TRUE(Succeeded(ReadVoc("big.voc", out, sound)));
    EXPECT_EQ(kVocMaxBlockBody - 2, sound.m_Samples.size());
}

} // namespace
} // namespace morvi
