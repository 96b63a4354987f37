#pragma once

#include "model/Status.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// A Creative Voice file: a 26-byte header whose text we never look at (sounds from the field carry
// all kinds of headers), then blocks of a type byte, a 24-bit little-endian body length and the body.
inline constexpr std::size_t kVocHeaderSize = 26;
inline constexpr std::uint32_t kVocMaxBlockBody = 0xFFFFFF;
inline constexpr std::uint8_t kVocTerminator = 0;
inline constexpr std::uint8_t kVocSoundData = 1;
inline constexpr std::uint8_t kVocRepeatStart = 6;
inline constexpr std::uint8_t kVocRepeatEnd = 7;
// The repeat count that marks a sound repeated without end.
inline constexpr std::uint16_t kVocEndlessRepeat = 0xFFFF;

// One sound: unsigned 8-bit mono PCM samples.
struct VocSound {
    std::uint8_t m_nTimeConstant = 0;
    std::uint32_t m_nSampleRate = 0;
    // The count of the last repeat-start block before the samples; 0 when there is none.
    std::uint16_t m_nRepeatCount = 0;
    std::vector<std::uint8_t> m_Samples;

    bool IsEndless() const { return m_nRepeatCount == kVocEndlessRepeat; }
};

// Samples per second for a time constant: 1,000,000 / (256 - tc), truncated.
std::uint32_t VocSampleRate(std::uint8_t nTimeConstant);

// Reads the first sound block of a VOC and the repeat count before it. Skips blocks of other
// types, ignores everything after the sound. On failure sound is left empty and the message
// starts with name.
Status ReadVoc(std::string_view name, std::span<const std::uint8_t> bytes, VocSound& sound);

// Appends one block (type, 24-bit length, body); refuses bodies longer than kVocMaxBlockBody.
Status AppendVocBlock(std::vector<std::uint8_t>& out, std::uint8_t nType, std::span<const std::uint8_t> body);

// Writes a whole VOC: the Creative header, a repeat-start block when the repeat count is not 0,
// the sound block (with the time constant, codec 0 and the samples), the matching repeat-end
// block and the terminator. Refuses a sound without samples or too long for one block.
Status WriteVoc(const VocSound& sound, std::vector<std::uint8_t>& out);

} // namespace morvi
