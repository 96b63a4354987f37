#include "resources/DeltPicture.h"

#include "model/ByteStream.h"

#include <string>
#include <utility>

namespace morvi {
namespace {

// Longest run a control byte can describe: its upper seven bits.
constexpr std::size_t kMaxRun = 127;
// Identical pixels worth a repeat run rather than a stretch of raw bytes.
constexpr std::size_t kMinRepeat = 3;

// Places the pixels of one line from its start, dropping any that fall outside the canvas.
class LineWriter {
public:
    LineWriter(IndexedImage& image, std::uint16_t x, std::uint16_t y) : m_nColumn(x) {
        // Canvas rows run top-down, the picture's rows bottom-up.
        if (y < image.height()) m_Row = image.row(image.height() - 1 - y);
    }
    void Put(std::uint8_t index) {
        if (m_nColumn < m_Row.size()) m_Row[m_nColumn] = index;
        ++m_nColumn;
    }
    void Put(std::span<const std::uint8_t> indices) {
        for (std::uint8_t index : indices)
            Put(index);
    }

private:
    std::span<std::uint8_t> m_Row;
    std::size_t m_nColumn;
};

// Reads a compressed line's runs until count pixels are placed; the last run may overshoot.
void DecodeRuns(ByteReader& reader, std::size_t count, LineWriter& line) {
    for (std::size_t placed = 0; placed < count;) {
        const std::uint8_t control = reader.u8();
        const std::size_t n = control >> 1;
        if (control & 1) {
            const std::uint8_t index = reader.u8();
            for (std::size_t i = 0; i < n; ++i)
                line.Put(index);
        } else {
            line.Put(reader.bytes(n));
        }
        placed += n;
    }
}

// Applies line records until the bytes run out or a line of no pixels comes.
void DecodeLines(ByteReader& reader, IndexedImage& image) {
    while (reader.remaining() >= 2) {
        const std::uint16_t word = reader.u16();
        const std::size_t count = word >> 1;
        if (count == 0) return;
        const std::uint16_t x = reader.u16();
        const std::uint16_t y = reader.u16();
        LineWriter line(image, x, y);
        if (word & 1)
            DecodeRuns(reader, count, line);
        else
            line.Put(reader.bytes(count));
    }
}

Status DecodeDeltOrThrow(std::span<const std::uint8_t> bytes, std::string_view name,
                         const GamePalette& palette, bool withHeader, DeltPicture& out) {
    ByteReader reader(bytes);
    DeltPicture picture;
    picture.m_nOffsetX = static_cast<std::int16_t>(reader.u16());
    picture.m_nOffsetY = static_cast<std::int16_t>(reader.u16());
    const int width = reader.u16() + 1;
    const int height = reader.u16() + 1;
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        return Status::Fail(std::string(name) + ": the picture is " + std::to_string(width) + " x " +
                            std::to_string(height) + ", larger than 4096 x 4096.");
    picture.m_Image.Create(palette, kPaletteMultiplier, width, height, withHeader);
    DecodeLines(reader, picture.m_Image);
    out = std::move(picture);
    return Status::Ok();
}

// Length of the stretch of identical pixels starting at begin, at most kMaxRun.
std::size_t RepeatLength(std::span<const std::uint8_t> pixels, std::size_t begin) {
    std::size_t end = begin + 1;
    while (end < pixels.size() && end - begin < kMaxRun && pixels[end] == pixels[begin])
        ++end;
    return end - begin;
}

// Writes pixels as runs: repeats for kMinRepeat or more identical pixels, raw bytes between them.
void EncodeRuns(std::span<const std::uint8_t> pixels, ByteWriter& writer) {
    std::size_t i = 0;
    while (i < pixels.size()) {
        const std::size_t repeat = RepeatLength(pixels, i);
        if (repeat >= kMinRepeat) {
            writer.u8(static_cast<std::uint8_t>((repeat << 1) | 1));
            writer.u8(pixels[i]);
            i += repeat;
            continue;
        }
        std::size_t end = i;
        while (end < pixels.size() && end - i < kMaxRun && RepeatLength(pixels, end) < kMinRepeat)
            ++end;
        writer.u8(static_cast<std::uint8_t>((end - i) << 1));
        writer.bytes(pixels.subspan(i, end - i));
        i = end;
    }
}

// Writes one compressed line per stretch of non-zero pixels of canvas row y.
void EncodeRow(std::span<const std::uint8_t> row, int y, ByteWriter& writer) {
    std::size_t x = 0;
    while (x < row.size()) {
        while (x < row.size() && row[x] == 0)
            ++x;
        const std::size_t start = x;
        while (x < row.size() && row[x] != 0)
            ++x;
        if (x == start) return;
        writer.u16(static_cast<std::uint16_t>(((x - start) << 1) | 1));
        writer.u16(static_cast<std::uint16_t>(start));
        writer.u16(static_cast<std::uint16_t>(y));
        EncodeRuns(row.subspan(start, x - start), writer);
    }
}

void WriteHeader(const DeltPicture& picture, int width, int height, ByteWriter& writer) {
    writer.u16(static_cast<std::uint16_t>(picture.m_nOffsetX));
    writer.u16(static_cast<std::uint16_t>(picture.m_nOffsetY));
    writer.u16(static_cast<std::uint16_t>(width - 1));
    writer.u16(static_cast<std::uint16_t>(height - 1));
}

// An empty ANIM picture keeps the offsets its header holds, when it has them.
void ReadEmptyOffsets(std::span<const std::uint8_t> delt, DeltPicture& frame) {
    if (delt.size() < 4) return;
    ByteReader reader(delt);
    frame.m_nOffsetX = static_cast<std::int16_t>(reader.u16());
    frame.m_nOffsetY = static_cast<std::int16_t>(reader.u16());
}

bool HasPixels(const IndexedImage& image) {
    return image.width() > 0 && image.height() > 0;
}

} // namespace

Status DecodeDelt(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                  bool withHeader, DeltPicture& out) {
    try {
        return DecodeDeltOrThrow(bytes, name, palette, withHeader, out);
    } catch (const FormatError& error) {
        return Status::Fail(std::string(name) + ": " + error.what());
    }
}

Status DecodeAnim(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                  bool withHeader, std::vector<DeltPicture>& frames) {
    frames.clear();
    std::vector<DeltPicture> decoded;
    try {
        ByteReader reader(bytes);
        const std::size_t count = reader.u16();
        // Every picture needs at least its 4-byte size.
        if (count * 4 > reader.remaining())
            return Status::Fail(std::string(name) + ": " + std::to_string(count) +
                                " pictures cannot fit in " + std::to_string(bytes.size()) + " bytes.");
        decoded.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::span<const std::uint8_t> delt = reader.bytes(reader.u32());
            if (delt.size() <= kAnimEmptyPictureSize) {
                ReadEmptyOffsets(delt, decoded[i]);
                continue;
            }
            const std::string pictureName = std::string(name) + " picture " + std::to_string(i + 1);
            Status status = DecodeDelt(delt, pictureName, palette, withHeader, decoded[i]);
            if (!status) return status;
        }
    } catch (const FormatError& error) {
        return Status::Fail(std::string(name) + ": " + error.what());
    }
    frames = std::move(decoded);
    return Status::Ok();
}

Status EncodeDelt(const DeltPicture& picture, std::vector<std::uint8_t>& out) {
    const IndexedImage& image = picture.m_Image;
    if (!HasPixels(image) || image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return Status::Fail("DELT: a picture must be 1 to 4096 pixels a side, not " +
                            std::to_string(image.width()) + " x " + std::to_string(image.height()) + ".");
    ByteWriter writer(out);
    WriteHeader(picture, image.width(), image.height(), writer);
    for (int y = 0; y < image.height(); ++y)
        EncodeRow(image.row(image.height() - 1 - y), y, writer);
    writer.u16(0);
    return Status::Ok();
}

Status EncodeAnim(std::span<const DeltPicture> frames, std::vector<std::uint8_t>& out) {
    if (frames.size() > 0xFFFF)
        return Status::Fail("ANIM: at most 65535 pictures, not " + std::to_string(frames.size()) + ".");
    std::vector<std::uint8_t> anim;
    ByteWriter writer(anim);
    writer.u16(static_cast<std::uint16_t>(frames.size()));
    for (const DeltPicture& frame : frames) {
        std::vector<std::uint8_t> delt;
        ByteWriter deltWriter(delt);
        if (!HasPixels(frame.m_Image)) {
            WriteHeader(frame, 1, 1, deltWriter);
            deltWriter.u16(0);
        } else if (Status status = EncodeDelt(frame, delt); !status) {
            return status;
        }
        writer.u32(static_cast<std::uint32_t>(delt.size()));
        writer.bytes(delt);
    }
    out.insert(out.end(), anim.begin(), anim.end());
    return Status::Ok();
}

} // namespace morvi
