#include "DemoSpriteWriter.h"

#include "model/ByteStream.h"
#include "resources/FmeFile.h"
#include "resources/WaxFile.h"

#include <stdexcept>

namespace morvi::demo {

namespace {

constexpr int kLongestCopy = 128;
constexpr int kLongestRun = 127;
// The version word the game's own sprites carry.
constexpr std::uint32_t kWaxVersion = 0x00100100;

// One column bottom pixel first; a copy stops at the first transparent pixel, a run at the first
// opaque one, so that the decoder's column ends exactly at the cell's top.
void EncodeColumn(const IndexedImage& picture, int c, ByteWriter& out) {
    const int height = picture.height();
    int r = 0;
    while (r < height) {
        const bool clear = picture.pixel(c, r) == 0;
        const int longest = clear ? kLongestRun : kLongestCopy;
        int n = 0;
        while (r + n < height && n < longest && (picture.pixel(c, r + n) == 0) == clear)
            ++n;
        out.u8(static_cast<std::uint8_t>(clear ? 128 + n : n));
        if (!clear)
            for (int k = 0; k < n; ++k)
                out.u8(picture.pixel(c, r + k));
        r += n;
    }
}

void WriteOffsetList(ByteWriter& out, const std::vector<std::uint32_t>& offsets) {
    if (offsets.size() > static_cast<std::size_t>(kWaxListLength))
        throw std::length_error("a WAX list holds at most 32 offsets");
    for (std::size_t i = 0; i < static_cast<std::size_t>(kWaxListLength); ++i)
        out.u32(i < offsets.size() ? offsets[i] : 0);
}

void Zeros(ByteWriter& out, int words) {
    for (int i = 0; i < words; ++i)
        out.u32(0);
}

} // namespace

std::vector<std::uint8_t> EncodeCell(const IndexedImage& picture, bool compressed) {
    const int width = picture.width();
    std::vector<std::uint8_t> runs;
    std::vector<std::uint32_t> columns;
    if (compressed) {
        ByteWriter runOut(runs);
        const std::size_t first = kSpriteCellHeaderSize + 4 * static_cast<std::size_t>(width);
        for (int c = 0; c < width; ++c) {
            columns.push_back(static_cast<std::uint32_t>(first + runs.size()));
            EncodeColumn(picture, c, runOut);
        }
    }
    std::vector<std::uint8_t> cell;
    ByteWriter out(cell);
    out.i32(width);
    out.i32(picture.height());
    out.i32(compressed ? 1 : 0);
    out.u32(static_cast<std::uint32_t>(runs.size()));
    Zeros(out, 2);
    if (compressed) {
        for (const std::uint32_t offset : columns)
            out.u32(offset);
        out.bytes(runs);
    } else {
        for (int c = 0; c < width; ++c)
            for (int r = 0; r < picture.height(); ++r)
                out.u8(picture.pixel(c, r));
    }
    return cell;
}

std::vector<std::uint8_t> EncodeFrameFile(const IndexedImage& picture, std::int32_t x, std::int32_t y,
                                          bool compressed) {
    std::vector<std::uint8_t> fme;
    ByteWriter out(fme);
    out.i32(x);
    out.i32(y);
    out.i32(0);
    out.u32(static_cast<std::uint32_t>(kSpriteFrameHeaderSize));
    Zeros(out, 4);
    out.bytes(EncodeCell(picture, compressed));
    return fme;
}

int WaxBuilder::AddCell(const IndexedImage& picture, bool compressed) {
    m_Cells.push_back({EncodeCell(picture, compressed), picture.width(), picture.height()});
    return static_cast<int>(m_Cells.size()) - 1;
}

int WaxBuilder::AddFrame(int cell, bool flip) {
    const Cell& c = m_Cells.at(static_cast<std::size_t>(cell));
    return AddFrame(cell, -c.m_nWidth / 2, -c.m_nHeight, flip);
}

int WaxBuilder::AddFrame(int cell, std::int32_t x, std::int32_t y, bool flip) {
    m_Frames.push_back({cell, x, y, flip});
    return static_cast<int>(m_Frames.size()) - 1;
}

int WaxBuilder::AddView(std::vector<int> frames) {
    m_Views.push_back(std::move(frames));
    return static_cast<int>(m_Views.size()) - 1;
}

int WaxBuilder::AddState(std::int32_t worldWidth, std::int32_t worldHeight, std::int32_t frameRate,
                         std::vector<int> views) {
    m_States.push_back({worldWidth, worldHeight, frameRate, std::move(views)});
    return static_cast<int>(m_States.size()) - 1;
}

std::vector<std::uint8_t> WaxBuilder::Write() const {
    // Every part has a fixed size except the cells, so all offsets are known before writing.
    std::uint32_t at = kWaxHeaderSize;
    const auto place = [&at](std::size_t count, std::size_t size) {
        std::vector<std::uint32_t> offsets;
        for (std::size_t i = 0; i < count; ++i, at += static_cast<std::uint32_t>(size))
            offsets.push_back(at);
        return offsets;
    };
    const auto states = place(m_States.size(), kWaxStateSize);
    const auto views = place(m_Views.size(), kWaxViewSize);
    const auto frames = place(m_Frames.size(), kSpriteFrameHeaderSize);
    std::vector<std::uint32_t> cells;
    for (const Cell& cell : m_Cells) {
        cells.push_back(at);
        at += static_cast<std::uint32_t>(cell.m_Bytes.size());
    }
    std::vector<std::uint8_t> wax;
    wax.reserve(at);
    ByteWriter out(wax);
    out.u32(kWaxVersion);
    out.u32(static_cast<std::uint32_t>(m_Views.size()));
    out.u32(static_cast<std::uint32_t>(m_Frames.size()));
    out.u32(static_cast<std::uint32_t>(m_Cells.size()));
    Zeros(out, 4);
    WriteOffsetList(out, states);
    for (const State& state : m_States) {
        out.i32(state.m_nWorldWidth);
        out.i32(state.m_nWorldHeight);
        out.i32(state.m_nFrameRate);
        Zeros(out, 4);
        std::vector<std::uint32_t> list;
        for (const int v : state.m_Views)
            list.push_back(views.at(static_cast<std::size_t>(v)));
        WriteOffsetList(out, list);
    }
    for (const auto& view : m_Views) {
        Zeros(out, 4);
        std::vector<std::uint32_t> list;
        for (const int f : view)
            list.push_back(frames.at(static_cast<std::size_t>(f)));
        WriteOffsetList(out, list);
    }
    for (const Frame& frame : m_Frames) {
        out.i32(frame.m_nX);
        out.i32(frame.m_nY);
        out.i32(frame.m_bFlip ? 1 : 0);
        out.u32(cells.at(static_cast<std::size_t>(frame.m_nCell)));
        Zeros(out, 4);
    }
    for (const Cell& cell : m_Cells)
        out.bytes(cell.m_Bytes);
    return wax;
}

} // namespace morvi::demo
