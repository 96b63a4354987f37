#include "resources/IndexedImage.h"

#include "model/ByteStream.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace morvi {

namespace {

constexpr std::uint16_t kBmpType = 0x4D42; // "BM"
constexpr std::uint32_t kOs2HeaderSize = 12;

int StrideOf(int width) {
    return (width + 3) & ~3;
}

Status Fail(std::string_view name, const std::string& problem) {
    return Status::Fail(std::string(name) + ": " + problem);
}

// What the headers of a BMP file say, whichever header kind it has.
struct BmpLayout {
    std::uint32_t m_nPixelOffset = 0;
    std::uint32_t m_nHeaderSize = 0;
    std::int64_t m_nWidth = 0;
    std::int64_t m_nHeight = 0; // negative for rows stored top-down
    std::uint16_t m_nBitCount = 0;
    std::uint32_t m_nCompression = 0;
    std::uint32_t m_nColoursUsed = 0;
};

Status ReadInfoHeader(ByteReader& in, std::string_view name, BmpLayout& layout) {
    layout.m_nHeaderSize = in.u32();
    if (layout.m_nHeaderSize == kOs2HeaderSize) {
        layout.m_nWidth = in.u16();
        layout.m_nHeight = in.u16();
        in.u16(); // planes
        layout.m_nBitCount = in.u16();
        return Status::Ok();
    }
    if (layout.m_nHeaderSize < kBmpInfoHeaderSize)
        return Fail(name, "the picture header of " + std::to_string(layout.m_nHeaderSize) +
                              " bytes is of no known kind.");
    layout.m_nWidth = in.i32();
    layout.m_nHeight = in.i32();
    in.u16(); // planes
    layout.m_nBitCount = in.u16();
    layout.m_nCompression = in.u32();
    in.bytes(12); // image size and resolution
    layout.m_nColoursUsed = in.u32();
    // Later header versions append fields; the colour table follows the whole header.
    in.seek(kBmpFileHeaderSize + layout.m_nHeaderSize);
    return Status::Ok();
}

Status CheckLayout(const BmpLayout& layout, std::string_view name) {
    if (layout.m_nBitCount != 8)
        return Fail(name, "only 256-colour (8-bit) pictures can be read; this one has " +
                              std::to_string(layout.m_nBitCount) + " bits per pixel.");
    if (layout.m_nCompression != 0)
        return Fail(name, "compressed BMP pictures cannot be read (compression " +
                              std::to_string(layout.m_nCompression) + ").");
    const std::int64_t height = std::abs(layout.m_nHeight);
    if (layout.m_nWidth < 1 || layout.m_nWidth > kMaxPictureSide || height < 1 || height > kMaxPictureSide)
        return Fail(name, "the picture size " + std::to_string(layout.m_nWidth) + " x " +
                              std::to_string(layout.m_nHeight) + " is outside 1 to 4096 pixels.");
    if (layout.m_nColoursUsed > kPaletteEntries)
        return Fail(name,
                    "the header lists " + std::to_string(layout.m_nColoursUsed) + " colours, more than 256.");
    return Status::Ok();
}

Status ReadLayout(ByteReader& in, std::string_view name, BmpLayout& layout) {
    if (in.u16() != kBmpType) return Fail(name, "this is not a BMP file (it does not start with \"BM\").");
    in.bytes(8); // file size and reserved words: the pixel offset and header say all we need
    layout.m_nPixelOffset = in.u32();
    if (Status header = ReadInfoHeader(in, name, layout); !header) return header;
    return CheckLayout(layout, name);
}

// Reads the colour table into the blue, green, red, 0 entries of an info block; an OS/2 file
// stores three bytes per entry.
void ReadColourTable(ByteReader& in, const BmpLayout& layout, std::vector<std::uint8_t>& info) {
    const bool os2 = layout.m_nHeaderSize == kOs2HeaderSize;
    const std::size_t count = layout.m_nColoursUsed != 0 ? layout.m_nColoursUsed : kPaletteEntries;
    const std::size_t entrySize = os2 ? 3 : 4;
    const std::span<const std::uint8_t> table = in.bytes(count * entrySize);
    for (std::size_t i = 0; i < count; ++i)
        std::copy_n(table.begin() + i * entrySize, 3, info.begin() + kBmpInfoHeaderSize + 4 * i);
}

// Reads the headers, the colour table into info and the rows, as stored, into bits.
Status ReadBmpParts(std::span<const std::uint8_t> bytes, std::string_view name, BmpLayout& layout,
                    std::vector<std::uint8_t>& info, std::vector<std::uint8_t>& bits) {
    try {
        ByteReader in(bytes);
        if (Status header = ReadLayout(in, name, layout); !header) return header;
        ReadColourTable(in, layout, info);
    } catch (const FormatError& error) {
        return Fail(name, std::string(error.what()) + ".");
    }
    const std::uint64_t pixelBytes =
        std::uint64_t(StrideOf(static_cast<int>(layout.m_nWidth))) * std::abs(layout.m_nHeight);
    if (layout.m_nPixelOffset > bytes.size() || pixelBytes > bytes.size() - layout.m_nPixelOffset)
        return Fail(name, "the header promises " + std::to_string(pixelBytes) + " pixel bytes at offset " +
                              std::to_string(layout.m_nPixelOffset) + ", but the file holds only " +
                              std::to_string(bytes.size()) + " bytes.");
    const auto first = bytes.begin() + layout.m_nPixelOffset;
    bits.assign(first, first + static_cast<std::ptrdiff_t>(pixelBytes));
    return Status::Ok();
}

} // namespace

bool IndexedImage::Create(const GamePalette& palette, int multiplier, int width, int height,
                          bool withHeader) {
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
    m_nWidth = width;
    m_nHeight = height;
    m_nStride = StrideOf(width);
    m_Bits.assign(static_cast<std::size_t>(m_nStride) * height, 0);
    m_Info.clear();
    m_DisplayColours.clear();
    if (withHeader) {
        BuildInfo();
        SetPalette(palette, multiplier);
    }
    return true;
}

void IndexedImage::BuildInfo() {
    m_Info.clear();
    ByteWriter out(m_Info);
    out.u32(kBmpInfoHeaderSize);
    out.i32(m_nWidth);
    out.i32(m_nHeight);
    out.u16(1); // planes
    out.u16(8); // bits per pixel
    m_Info.resize(kBmpInfoSize, 0);
}

void IndexedImage::SetPalette(const GamePalette& palette, int multiplier) {
    const DisplayColours colours = palette.AllDisplayColours(multiplier);
    m_DisplayColours.assign(colours.begin(), colours.end());
    if (!hasInfo()) return;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        std::uint8_t* entry = &m_Info[kBmpInfoHeaderSize + 4 * i];
        entry[0] = static_cast<std::uint8_t>(colours[i] >> 16);
        entry[1] = static_cast<std::uint8_t>(colours[i] >> 8);
        entry[2] = static_cast<std::uint8_t>(colours[i]);
        entry[3] = 0;
    }
}

void IndexedImage::SetColumn(int x, std::span<const std::uint8_t> bottomUp) {
    const std::size_t count = std::min(bottomUp.size(), static_cast<std::size_t>(m_nHeight));
    const std::size_t stride = static_cast<std::size_t>(m_nStride);
    std::uint8_t* pixel = m_Bits.data() + x;
    for (std::size_t r = 0; r < count; ++r, pixel += stride)
        *pixel = bottomUp[r];
}

std::span<const std::uint8_t> IndexedImage::row(int r) const {
    return std::span(m_Bits).subspan(static_cast<std::size_t>(r) * m_nStride, m_nWidth);
}

std::span<std::uint8_t> IndexedImage::row(int r) {
    return std::span(m_Bits).subspan(static_cast<std::size_t>(r) * m_nStride, m_nWidth);
}

Status IndexedImage::ReadBmp(std::span<const std::uint8_t> bytes, std::string_view name) {
    BmpLayout layout;
    std::vector<std::uint8_t> info(kBmpInfoSize, 0);
    std::vector<std::uint8_t> bits;
    if (Status read = ReadBmpParts(bytes, name, layout, info, bits); !read) return read;

    const std::vector<std::uint8_t> table(info.begin() + kBmpInfoHeaderSize, info.end());
    m_nWidth = static_cast<int>(layout.m_nWidth);
    m_nHeight = static_cast<int>(std::abs(layout.m_nHeight));
    m_nStride = StrideOf(m_nWidth);
    m_Bits = std::move(bits);
    if (layout.m_nHeight < 0) // stored top-down: turn into our bottom-up rows
        for (int r = 0; r < m_nHeight / 2; ++r)
            std::swap_ranges(row(r).begin(), row(r).end(), row(m_nHeight - 1 - r).begin());
    BuildInfo();
    std::copy(table.begin(), table.end(), m_Info.begin() + kBmpInfoHeaderSize);
    m_DisplayColours.resize(kPaletteEntries);
    for (std::size_t i = 0; i < kPaletteEntries; ++i)
        m_DisplayColours[i] = std::uint32_t(table[4 * i + 2]) | (std::uint32_t(table[4 * i + 1]) << 8) |
                              (std::uint32_t(table[4 * i]) << 16);
    return Status::Ok();
}

Status IndexedImage::WriteBmp(std::vector<std::uint8_t>& out) const {
    if (!hasInfo()) return Status::Fail("BMP: a picture without a colour header cannot be written as a BMP.");
    ByteWriter writer(out);
    writer.u16(kBmpType);
    writer.u32(static_cast<std::uint32_t>(m_Bits.size() + kBmpPixelOffset));
    writer.u32(0); // two reserved words
    writer.u32(kBmpPixelOffset);
    writer.bytes(m_Info);
    writer.bytes(m_Bits);
    return Status::Ok();
}

} // namespace morvi
