#include "resources/FmeFile.h"

#include "model/ByteStream.h"

#include <algorithm>
#include <string>
#include <vector>

namespace morvi {

namespace {

constexpr std::size_t kLongestCopy = 128;

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

class CellDecoder {
public:
    CellDecoder(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                bool withHeader)
        : m_Bytes(bytes), m_Name(name), m_Palette(palette), m_bWithHeader(withHeader) {}

    Status Fail(const std::string& problem) const {
        return Status::Fail(std::string(m_Name) + ": " + problem);
    }

    Status DecodeFrame(std::uint64_t offset, SpriteFrame& out) const {
        if (offset > m_Bytes.size() || m_Bytes.size() - offset < kSpriteFrameHeaderSize)
            return Fail("the frame header at offset " + std::to_string(offset) + " lies outside the " +
                        std::to_string(m_Bytes.size()) + "-byte file.");
        ByteReader in(m_Bytes.subspan(offset, kSpriteFrameHeaderSize));
        SpriteFrame frame;
        frame.m_nX = in.i32();
        frame.m_nY = in.i32();
        frame.m_bFlip = in.i32() != 0;
        const std::uint32_t cellOffset = in.u32();
        if (Status cell = DecodeCell(cellOffset, frame); !cell) return cell;
        out = std::move(frame);
        return Status::Ok();
    }

private:
    Status DecodeCell(std::uint64_t offset, SpriteFrame& frame) const {
        SpriteCellHeader header;
        if (Status read = ReadSpriteCellHeader(m_Bytes, offset, m_Name, header); !read) return read;
        if (header.m_nWidth < 1 || header.m_nHeight < 1 || header.m_nWidth > kMaxPictureSide ||
            header.m_nHeight > kMaxPictureSide)
            return Fail("the cell of " + SizeText(header.m_nWidth, header.m_nHeight) +
                        " pixels is outside 1 to 4096 a side.");
        frame.m_bCompressed = header.m_nCompressed != 0;
        const std::uint64_t body = offset + kSpriteCellHeaderSize;
        if (!frame.m_bCompressed) return DecodePlain(body, header, frame.m_Image);
        return DecodeCompressed(body, header, frame);
    }

    IndexedImage MakeImage(const SpriteCellHeader& header) const {
        IndexedImage image;
        image.Create(m_Palette, kPaletteMultiplier, header.m_nWidth, header.m_nHeight, m_bWithHeader);
        return image;
    }

    Status DecodePlain(std::uint64_t body, const SpriteCellHeader& header, IndexedImage& out) const {
        const std::uint64_t count = std::uint64_t(header.m_nWidth) * std::uint64_t(header.m_nHeight);
        const std::uint64_t available = m_Bytes.size() - body;
        if (count > available)
            return Fail("the cell promises " + SizeText(header.m_nWidth, header.m_nHeight) +
                        " pixels, but only " + std::to_string(available) + " bytes follow its header.");
        out = MakeImage(header);
        const std::size_t height = static_cast<std::size_t>(header.m_nHeight);
        for (int c = 0; c < header.m_nWidth; ++c)
            out.SetColumn(c, m_Bytes.subspan(body + std::uint64_t(c) * height, height));
        return Status::Ok();
    }

    // The run data is the data size bytes after the column table; a data size reaching past the
    // member is read as the rest of the member. Every column needs a control byte per 128 pixels,
    // so a cell cannot promise more pixels than that.
    Status DecodeCompressed(std::uint64_t body, const SpriteCellHeader& header, SpriteFrame& frame) const {
        const std::uint64_t tableSize = 4 * std::uint64_t(header.m_nWidth);
        if (tableSize > m_Bytes.size() - body)
            return Fail("the table of " + std::to_string(header.m_nWidth) +
                        " column offsets runs past the end of the " + std::to_string(m_Bytes.size()) +
                        "-byte file.");
        const std::uint64_t runStart = body + tableSize;
        const std::uint64_t runSize = std::min<std::uint64_t>(std::uint64_t(std::max(header.m_nDataSize, 0)),
                                                              m_Bytes.size() - runStart);
        const std::uint64_t perColumn = (std::uint64_t(header.m_nHeight) + kLongestCopy - 1) / kLongestCopy;
        if (perColumn * std::uint64_t(header.m_nWidth) > runSize)
            return Fail("the cell promises " + SizeText(header.m_nWidth, header.m_nHeight) +
                        " pixels, but only " + std::to_string(runSize) +
                        " bytes of run data follow its column table.");
        const auto runs = m_Bytes.subspan(runStart, runSize);
        ByteReader offsets(m_Bytes.subspan(body, tableSize));
        IndexedImage image = MakeImage(header);
        std::vector<std::uint8_t> column(static_cast<std::size_t>(header.m_nHeight));
        for (int c = 0; c < header.m_nWidth; ++c) {
            if (Status decoded = DecodeColumn(runs, offsets.u32(), header, c, column, frame.m_nCutRuns);
                !decoded)
                return decoded;
            image.SetColumn(c, column);
        }
        frame.m_Image = std::move(image);
        return Status::Ok();
    }

    // Expands one column. A copy or run passing the column's top is cut there and counted.
    Status DecodeColumn(std::span<const std::uint8_t> runs, std::uint32_t offset,
                        const SpriteCellHeader& header, int c, std::span<std::uint8_t> column,
                        int& cutRuns) const {
        const std::uint64_t first = kSpriteCellHeaderSize + 4 * std::uint64_t(header.m_nWidth);
        if (offset < first || offset - first >= runs.size())
            return Fail("column " + std::to_string(c) + " starts at offset " + std::to_string(offset) +
                        ", outside the cell's run data.");
        std::size_t pos = offset - first;
        std::size_t r = 0;
        while (r < column.size()) {
            if (pos >= runs.size()) return PastEnd(c);
            const std::size_t control = runs[pos++];
            const std::size_t wanted = control <= kLongestCopy ? control : control - kLongestCopy;
            const std::size_t n = std::min(wanted, column.size() - r);
            if (n < wanted) ++cutRuns;
            if (control <= kLongestCopy) {
                if (n > runs.size() - pos) return PastEnd(c);
                std::copy_n(runs.begin() + static_cast<std::ptrdiff_t>(pos), n, column.begin() + r);
                pos += wanted <= runs.size() - pos ? wanted : n;
            } else {
                std::fill_n(column.begin() + r, n, std::uint8_t{0});
            }
            r += n;
        }
        return Status::Ok();
    }

    Status PastEnd(int c) const {
        return Fail("column " + std::to_string(c) + " runs past the end of the cell's run data.");
    }

    std::span<const std::uint8_t> m_Bytes;
    std::string_view m_Name;
    const GamePalette& m_Palette;
    bool m_bWithHeader;
};

} // namespace

Status ReadSpriteCellHeader(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::string_view name,
                            SpriteCellHeader& out) {
    if (offset > bytes.size() || bytes.size() - offset < kSpriteCellHeaderSize)
        return Status::Fail(std::string(name) + ": the cell header at offset " + std::to_string(offset) +
                            " lies outside the " + std::to_string(bytes.size()) + "-byte file.");
    ByteReader in(bytes.subspan(offset, kSpriteCellHeaderSize));
    out.m_nWidth = in.i32();
    out.m_nHeight = in.i32();
    out.m_nCompressed = in.i32();
    out.m_nDataSize = in.i32();
    return Status::Ok();
}

Status DecodeSpriteFrame(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::string_view name,
                         const GamePalette& palette, bool withHeader, SpriteFrame& out) {
    return CellDecoder(bytes, name, palette, withHeader).DecodeFrame(offset, out);
}

Status DecodeFme(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                 bool withHeader, SpriteFrame& out) {
    return DecodeSpriteFrame(bytes, 0, name, palette, withHeader, out);
}

} // namespace morvi
