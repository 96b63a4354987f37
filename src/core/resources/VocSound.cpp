#include "resources/VocSound.h"

#include "model/ByteStream.h"

#include <array>
#include <string>
#include <utility>

namespace morvi {

namespace {

// The text, header size, version 1.10 and its check word of the usual Creative header.
constexpr std::string_view kCreativeText = "Creative Voice File\x1A";
constexpr std::uint16_t kVocVersion = 0x010A;
constexpr std::uint16_t kVocVersionCheck = static_cast<std::uint16_t>(~kVocVersion + 0x1234);
// The time-constant and codec bytes that open a sound block's body.
constexpr std::uint32_t kSoundBlockPrefix = 2;

Status Fail(std::string_view name, const std::string& what) {
    return Status::Fail(std::string(name) + ": " + what);
}

Status ReadSoundBlock(std::string_view name, std::size_t nOffset, std::span<const std::uint8_t> body,
                      std::uint16_t nRepeatCount, VocSound& sound) {
    if (body.size() < kSoundBlockPrefix)
        return Fail(name, "the sound block at offset " + std::to_string(nOffset) +
                              " is too short to hold its time constant and codec");
    if (body.size() == kSoundBlockPrefix)
        return Fail(name, "the sound block at offset " + std::to_string(nOffset) + " holds no samples");
    sound.m_nTimeConstant = body[0];
    sound.m_nSampleRate = VocSampleRate(body[0]);
    sound.m_nRepeatCount = nRepeatCount;
    sound.m_Samples.assign(body.begin() + kSoundBlockPrefix, body.end());
    return Status::Ok();
}

// Walks the blocks from the end of the header to the first sound block.
Status WalkBlocks(std::string_view name, ByteReader& reader, VocSound& sound) {
    std::uint16_t nRepeatCount = 0;
    while (reader.remaining() > 0) {
        const std::size_t nOffset = reader.position();
        // A terminator is the type byte alone.
        const std::uint8_t nType = reader.u8();
        if (nType == kVocTerminator) return Fail(name, "the sound ends before any sound data");
        const std::uint32_t nLength = reader.u16() | (std::uint32_t(reader.u8()) << 16);
        if (nLength > reader.remaining())
            return Fail(name, "the block at offset " + std::to_string(nOffset) + " claims " +
                                  std::to_string(nLength) + " bytes but only " +
                                  std::to_string(reader.remaining()) + " follow");
        const std::span<const std::uint8_t> body = reader.bytes(nLength);
        if (nType == kVocSoundData) return ReadSoundBlock(name, nOffset, body, nRepeatCount, sound);
        if (nType != kVocRepeatStart) continue;
        if (body.size() < 2)
            return Fail(name, "the repeat block at offset " + std::to_string(nOffset) + " has no count");
        nRepeatCount = ByteReader(body).u16();
    }
    return Fail(name, "the file holds no sound data");
}

} // namespace

std::uint32_t VocSampleRate(std::uint8_t nTimeConstant) {
    // The same integer division the game's sounds were made for; the divisor is at least 256.
    return 256'000'000u / (65'536u - std::uint32_t(nTimeConstant) * 256u);
}

Status ReadVoc(std::string_view name, std::span<const std::uint8_t> bytes, VocSound& sound) {
    sound = VocSound();
    if (bytes.size() < kVocHeaderSize)
        return Fail(name,
                    "the file is shorter than a VOC header (" + std::to_string(bytes.size()) + " bytes)");
    ByteReader reader(bytes);
    reader.seek(kVocHeaderSize);
    Status status;
    try {
        status = WalkBlocks(name, reader, sound);
    } catch (const FormatError& error) {
        status = Fail(name, error.what());
    }
    if (!status) sound = VocSound();
    return status;
}

Status AppendVocBlock(std::vector<std::uint8_t>& out, std::uint8_t nType,
                      std::span<const std::uint8_t> body) {
    if (body.size() > kVocMaxBlockBody)
        return Status::Fail("VOC: a block of " + std::to_string(body.size()) +
                            " bytes is longer than a block can hold");
    ByteWriter writer(out);
    writer.u8(nType);
    writer.u16(static_cast<std::uint16_t>(body.size()));
    writer.u8(static_cast<std::uint8_t>(body.size() >> 16));
    writer.bytes(body);
    return Status::Ok();
}

Status WriteVoc(const VocSound& sound, std::vector<std::uint8_t>& out) {
    if (sound.m_Samples.empty()) return Status::Fail("VOC: the sound has no samples");
    std::vector<std::uint8_t> body{sound.m_nTimeConstant, 0};
    body.insert(body.end(), sound.m_Samples.begin(), sound.m_Samples.end());
    std::vector<std::uint8_t> bytes;
    ByteWriter writer(bytes);
    writer.chars(kCreativeText);
    writer.u16(kVocHeaderSize);
    writer.u16(kVocVersion);
    writer.u16(kVocVersionCheck);
    const bool bRepeat = sound.m_nRepeatCount != 0;
    if (bRepeat) {
        const std::array<std::uint8_t, 2> count{static_cast<std::uint8_t>(sound.m_nRepeatCount),
                                                static_cast<std::uint8_t>(sound.m_nRepeatCount >> 8)};
        AppendVocBlock(bytes, kVocRepeatStart, count);
    }
    if (Status status = AppendVocBlock(bytes, kVocSoundData, body); !status) return status;
    if (bRepeat) AppendVocBlock(bytes, kVocRepeatEnd, {});
    writer.u8(kVocTerminator);
    out = std::move(bytes);
    return Status::Ok();
}

} // namespace morvi
