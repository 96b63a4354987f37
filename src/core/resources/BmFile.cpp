#include "resources/BmFile.h"

#include "model/ByteStream.h"

#include <algorithm>
#include <string>

namespace morvi {

namespace {

struct BmHeader {
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nSubPictures = 0;
    int m_nCompression = 0;
    std::uint32_t m_nDataSize = 0;
};

BmHeader ReadHeader(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    BmHeader header;
    in.u32(); // magic
    header.m_nWidth = in.u16();
    header.m_nHeight = in.u16();
    in.u16();
    header.m_nSubPictures = in.u16();
    in.u16();
    header.m_nCompression = in.u16();
    header.m_nDataSize = in.u32();
    return header;
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// The game's flag byte for an opaque texture.
constexpr std::uint8_t kBmOpaque = 0x36;
// The game marks an animated texture with -2 in the word after the height.
constexpr std::uint16_t kBmAnimatedMark = 0xFFFE;
constexpr std::size_t kLongestRun = 127;
constexpr std::size_t kLongestCopy = 128;

// The row count as a power of two, which the game keeps in the header; 0 for other heights.
std::uint8_t LogHeight(int height) {
    for (std::uint8_t log = 0; log < 13; ++log)
        if (height == 1 << log) return log;
    return 0;
}

// Writes a header; a single picture repeats its size in the two words after it, an animated
// texture has its mark and its picture count there.
void WriteHeader(ByteWriter& out, const BmHeader& header) {
    const bool animated = header.m_nSubPictures != 0;
    out.chars(std::string_view("BM \x1e", 4));
    out.u16(static_cast<std::uint16_t>(header.m_nWidth));
    out.u16(static_cast<std::uint16_t>(header.m_nHeight));
    out.u16(animated ? kBmAnimatedMark : static_cast<std::uint16_t>(header.m_nWidth));
    out.u16(static_cast<std::uint16_t>(animated ? header.m_nSubPictures : header.m_nHeight));
    out.u8(kBmOpaque);
    out.u8(animated ? 0 : LogHeight(header.m_nHeight));
    out.u16(static_cast<std::uint16_t>(header.m_nCompression));
    out.u32(header.m_nDataSize);
    for (int i = 0; i < 3; ++i)
        out.u32(0); // reserved
}

std::vector<std::uint8_t> ColumnOf(const IndexedImage& image, int c) {
    std::vector<std::uint8_t> column(static_cast<std::size_t>(image.height()));
    for (int r = 0; r < image.height(); ++r)
        column[static_cast<std::size_t>(r)] = image.pixel(c, r);
    return column;
}

std::size_t RunLength(std::span<const std::uint8_t> column, std::size_t i) {
    std::size_t n = 1;
    while (i + n < column.size() && n < kLongestRun && column[i + n] == column[i])
        ++n;
    return n;
}

// Whether a run starts at i: with value runs it pays from three equal pixels on, zero runs are
// the only runs of the other kind.
bool RunStarts(std::span<const std::uint8_t> column, std::size_t i, BmCompression compression) {
    if (compression == kBmZeroRuns) return column[i] == 0;
    return RunLength(column, i) >= 3;
}

void EncodeColumn(std::span<const std::uint8_t> column, BmCompression compression, ByteWriter& out) {
    std::size_t i = 0;
    while (i < column.size()) {
        if (RunStarts(column, i, compression)) {
            const std::size_t n = RunLength(column, i);
            out.u8(static_cast<std::uint8_t>(128 + n));
            if (compression == kBmRunLength) out.u8(column[i]);
            i += n;
            continue;
        }
        std::size_t end = i + 1;
        while (end < column.size() && end - i < kLongestCopy && !RunStarts(column, end, compression))
            ++end;
        out.u8(static_cast<std::uint8_t>(end - i));
        out.bytes(column.subspan(i, end - i));
        i = end;
    }
}

Status CheckEncodable(const IndexedImage& image, const std::string& what) {
    if (image.width() < 1 || image.height() < 1) return Status::Fail("BM: " + what + " has no pixels.");
    return Status::Ok();
}

class BmDecoder {
public:
    BmDecoder(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
              bool withHeader)
        : m_Bytes(bytes), m_Name(name), m_Palette(palette), m_bWithHeader(withHeader) {}

    Status Decode(std::vector<IndexedImage>& frames) {
        if (m_Bytes.size() < kBmHeaderSize)
            return Fail("the file is too short for a BM header (" + std::to_string(m_Bytes.size()) +
                        " bytes, 32 needed).");
        const BmHeader header = ReadHeader(m_Bytes);
        if (header.m_nWidth == 1 && header.m_nHeight != 1) return DecodeAnimated(header, frames);
        if (Status size = CheckSize(header.m_nWidth, header.m_nHeight, "the picture"); !size) return size;
        frames.emplace_back();
        if (header.m_nCompression == kBmPlain)
            return DecodePlain(kBmHeaderSize, header.m_nWidth, header.m_nHeight, frames.back());
        return DecodeCompressed(header, frames.back());
    }

private:
    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_Name) + ": " + problem);
    }

    Status CheckSize(int width, int height, const std::string& what) const {
        if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
            return Fail(what + " of " + SizeText(width, height) + " pixels is outside 1 to 4096 a side.");
        return Status::Ok();
    }

    IndexedImage MakeImage(int width, int height) const {
        IndexedImage image;
        image.Create(m_Palette, kPaletteMultiplier, width, height, m_bWithHeader);
        return image;
    }

    Status DecodePlain(std::uint64_t offset, int width, int height, IndexedImage& out) const {
        const std::uint64_t count = std::uint64_t(width) * height;
        if (offset > m_Bytes.size() || count > m_Bytes.size() - offset)
            return Fail("the header promises " + SizeText(width, height) + " pixels, but only " +
                        std::to_string(m_Bytes.size() - std::min<std::uint64_t>(offset, m_Bytes.size())) +
                        " bytes follow it.");
        out = MakeImage(width, height);
        for (int c = 0; c < width; ++c)
            out.SetColumn(c, m_Bytes.subspan(offset + std::uint64_t(c) * height, height));
        return Status::Ok();
    }

    Status DecodeCompressed(const BmHeader& header, IndexedImage& out) const {
        const std::uint64_t tableSize = 4 * std::uint64_t(header.m_nWidth);
        const std::uint64_t available = m_Bytes.size() - kBmHeaderSize;
        if (std::uint64_t(header.m_nDataSize) + tableSize > available)
            return Fail("the header promises " + std::to_string(header.m_nDataSize) +
                        " bytes of run data and " + std::to_string(header.m_nWidth) +
                        " column offsets, but only " + std::to_string(available) + " bytes follow it.");
        const auto runs = m_Bytes.subspan(kBmHeaderSize, header.m_nDataSize);
        ByteReader offsets(m_Bytes.subspan(kBmHeaderSize + header.m_nDataSize, tableSize));
        IndexedImage image = MakeImage(header.m_nWidth, header.m_nHeight);
        std::vector<std::uint8_t> column(static_cast<std::size_t>(header.m_nHeight));
        for (int c = 0; c < header.m_nWidth; ++c) {
            if (Status decoded = DecodeColumn(runs, offsets.u32(), header.m_nCompression, c, column);
                !decoded)
                return decoded;
            image.SetColumn(c, column);
        }
        out = std::move(image);
        return Status::Ok();
    }

    // Expands the runs of one column into column. A run or copy reaching past the column's top is
    // cut there; reading past the run data is refused.
    Status DecodeColumn(std::span<const std::uint8_t> runs, std::uint32_t start, int compression, int c,
                        std::span<std::uint8_t> column) const {
        if (start >= runs.size())
            return Fail("column " + std::to_string(c) + " starts at offset " + std::to_string(start) +
                        ", outside the " + std::to_string(runs.size()) + " bytes of run data.");
        std::size_t pos = start;
        std::size_t r = 0;
        const auto pastEnd = [&] {
            return Fail("column " + std::to_string(c) + " runs past the end of the run data.");
        };
        while (r < column.size()) {
            if (pos >= runs.size()) return pastEnd();
            const std::uint8_t control = runs[pos++];
            if (control <= 128) {
                const std::size_t n = std::min<std::size_t>(control, column.size() - r);
                if (n > runs.size() - pos) return pastEnd();
                std::copy_n(runs.begin() + pos, n, column.begin() + r);
                pos += n;
                r += n;
                continue;
            }
            std::uint8_t value = 0;
            if (compression == kBmRunLength) {
                if (pos >= runs.size()) return pastEnd();
                value = runs[pos++];
            }
            const std::size_t n = std::min<std::size_t>(control - 128u, column.size() - r);
            std::fill_n(column.begin() + r, n, value);
            r += n;
        }
        return Status::Ok();
    }

    Status DecodeAnimated(const BmHeader& header, std::vector<IndexedImage>& frames) const {
        const int count = header.m_nSubPictures;
        if (count < 1 || count > kMaxBmSubPictures)
            return Fail("an animated texture of " + std::to_string(count) +
                        " pictures is outside 1 to 1024 pictures.");
        const std::uint64_t tableEnd = kBmSubOffsetBase + 4 * std::uint64_t(count);
        if (tableEnd > m_Bytes.size())
            return Fail("the table of " + std::to_string(count) +
                        " sub-picture offsets runs past the end of the " + std::to_string(m_Bytes.size()) +
                        "-byte file.");
        ByteReader offsets(m_Bytes.subspan(kBmSubOffsetBase, tableEnd - kBmSubOffsetBase));
        std::uint64_t totalPixels = 0;
        std::vector<IndexedImage> pictures(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            if (Status sub = DecodeSubPicture(i, offsets.u32(), totalPixels, pictures[i]); !sub) return sub;
        frames = std::move(pictures);
        return Status::Ok();
    }

    // Sub-pictures together may not promise more pixels than the file holds, so that offsets
    // pointing many times at one large picture cannot make us allocate without end.
    Status DecodeSubPicture(int i, std::uint32_t offset, std::uint64_t& totalPixels,
                            IndexedImage& out) const {
        const std::uint64_t at = kBmSubOffsetBase + std::uint64_t(offset);
        if (at + kBmSubHeaderSize > m_Bytes.size())
            return Fail("sub-picture " + std::to_string(i) + " at offset " + std::to_string(offset) +
                        " lies outside the " + std::to_string(m_Bytes.size()) + "-byte file.");
        ByteReader in(m_Bytes.subspan(at, kBmSubHeaderSize));
        const int width = in.u16();
        const int height = in.u16();
        if (Status size = CheckSize(width, height, "sub-picture " + std::to_string(i)); !size) return size;
        totalPixels += std::uint64_t(width) * height;
        if (totalPixels > m_Bytes.size())
            return Fail("the sub-pictures promise more pixels than the " + std::to_string(m_Bytes.size()) +
                        "-byte file holds.");
        return DecodePlain(at + kBmSubHeaderSize, width, height, out);
    }

    std::span<const std::uint8_t> m_Bytes;
    std::string_view m_Name;
    const GamePalette& m_Palette;
    bool m_bWithHeader;
};

} // namespace

Status DecodeBm(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                bool withHeader, std::vector<IndexedImage>& frames) {
    frames.clear();
    Status status = BmDecoder(bytes, name, palette, withHeader).Decode(frames);
    if (!status) frames.clear();
    return status;
}

Status EncodeBm(const IndexedImage& image, BmCompression compression, std::vector<std::uint8_t>& out) {
    if (Status size = CheckEncodable(image, "the picture"); !size) return size;
    if (image.width() == 1 && image.height() != 1)
        return Status::Fail("BM: a picture one pixel wide must be one pixel high, or it reads back as an "
                            "animated texture.");
    if (compression > kBmZeroRuns)
        return Status::Fail("BM: compression " + std::to_string(compression) + " is not 0, 1 or 2.");
    std::vector<std::uint8_t> body;
    ByteWriter data(body);
    std::vector<std::uint32_t> offsets;
    for (int c = 0; c < image.width(); ++c) {
        const std::vector<std::uint8_t> column = ColumnOf(image, c);
        offsets.push_back(static_cast<std::uint32_t>(body.size()));
        if (compression == kBmPlain)
            data.bytes(column);
        else
            EncodeColumn(column, compression, data);
    }
    const BmHeader header{image.width(), image.height(), 0, compression,
                          compression == kBmPlain ? 0u : static_cast<std::uint32_t>(body.size())};
    ByteWriter writer(out);
    WriteHeader(writer, header);
    writer.bytes(body);
    if (compression != kBmPlain)
        for (std::uint32_t offset : offsets)
            writer.u32(offset);
    return Status::Ok();
}

Status EncodeMultiBm(std::span<const IndexedImage> frames, std::uint8_t frameRate,
                     std::vector<std::uint8_t>& out) {
    if (frames.empty() || frames.size() > kMaxBmSubPictures)
        return Status::Fail("BM: an animated texture holds 1 to 1024 pictures, not " +
                            std::to_string(frames.size()) + ".");
    std::vector<std::uint8_t> body;
    ByteWriter data(body);
    std::vector<std::uint32_t> offsets;
    const std::size_t tableSize = 4 * frames.size();
    for (const IndexedImage& frame : frames) {
        if (Status size = CheckEncodable(frame, "an animation picture"); !size) return size;
        offsets.push_back(static_cast<std::uint32_t>(tableSize + body.size()));
        for (int side : {frame.width(), frame.height(), frame.width(), frame.height()})
            data.u16(static_cast<std::uint16_t>(side));
        body.resize(body.size() + kBmSubHeaderSize - 8, 0);
        for (int c = 0; c < frame.width(); ++c)
            data.bytes(ColumnOf(frame, c));
    }
    // Animated textures keep the length of everything after the header where the height would be.
    const std::size_t length = std::min<std::size_t>(2 + tableSize + body.size(), 0xFFFF);
    ByteWriter writer(out);
    WriteHeader(writer, BmHeader{1, static_cast<int>(length), static_cast<int>(frames.size()), kBmPlain, 0});
    writer.u8(frameRate);
    writer.u8(2);
    for (std::uint32_t offset : offsets)
        writer.u32(offset);
    writer.bytes(body);
    return Status::Ok();
}

} // namespace morvi
