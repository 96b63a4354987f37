#include "support/SpriteWriter.h"

#include "model/ByteStream.h"
#include "resources/FmeFile.h"
#include "resources/WaxFile.h"

#include <algorithm>

namespace morvi::testing {

namespace {

constexpr std::size_t kLongestCopy = 128;
constexpr std::size_t kLongestRun = 127;

std::vector<std::uint8_t> ColumnOf(const IndexedImage& image, int c) {
    std::vector<std::uint8_t> column;
    for (int r = 0; r < image.height(); ++r)
        column.push_back(image.pixel(c, r));
    return column;
}

void EncodeColumn(const std::vector<std::uint8_t>& column, ByteWriter& out) {
    std::size_t i = 0;
    while (i < column.size()) {
        std::size_t n = 0;
        if (column[i] == 0) {
            while (i + n < column.size() && n < kLongestRun && column[i + n] == 0)
                ++n;
            out.u8(static_cast<std::uint8_t>(128 + n));
        } else {
            while (i + n < column.size() && n < kLongestCopy && column[i + n] != 0)
                ++n;
            out.u8(static_cast<std::uint8_t>(n));
            out.bytes(std::span(column).subspan(i, n));
        }
        i += n;
    }
}

void WriteList(ByteWriter& out, const std::vector<std::uint32_t>& offsets) {
    for (int i = 0; i < kWaxListLength; ++i)
        out.u32(i < static_cast<int>(offsets.size()) ? offsets[static_cast<std::size_t>(i)] : 0);
}

} // namespace

std::vector<std::uint8_t> EncodeSpriteCell(const IndexedImage& image, bool compressed) {
    std::vector<std::uint8_t> table;
    std::vector<std::uint8_t> data;
    ByteWriter tableOut(table);
    ByteWriter dataOut(data);
    const std::size_t first = kSpriteCellHeaderSize + 4 * static_cast<std::size_t>(image.width());
    for (int c = 0; c < image.width(); ++c) {
        const std::vector<std::uint8_t> column = ColumnOf(image, c);
        tableOut.u32(static_cast<std::uint32_t>(first + data.size()));
        if (compressed)
            EncodeColumn(column, dataOut);
        else
            dataOut.bytes(column);
    }
    std::vector<std::uint8_t> cell;
    ByteWriter out(cell);
    out.i32(image.width());
    out.i32(image.height());
    out.i32(compressed ? 1 : 0);
    out.u32(compressed ? static_cast<std::uint32_t>(data.size()) : 0);
    out.u32(0);
    out.u32(0);
    if (compressed) out.bytes(table);
    out.bytes(data);
    return cell;
}

std::vector<std::uint8_t> EncodeFme(const IndexedImage& image, std::int32_t x, std::int32_t y, bool flip,
                                    bool compressed) {
    std::vector<std::uint8_t> fme;
    ByteWriter out(fme);
    out.i32(x);
    out.i32(y);
    out.i32(flip ? 1 : 0);
    out.u32(static_cast<std::uint32_t>(kSpriteFrameHeaderSize));
    for (int i = 0; i < 4; ++i)
        out.u32(0);
    out.bytes(EncodeSpriteCell(image, compressed));
    return fme;
}

int WaxWriter::AddCell(const IndexedImage& image, bool compressed) {
    m_Cells.push_back(EncodeSpriteCell(image, compressed));
    return static_cast<int>(m_Cells.size()) - 1;
}

int WaxWriter::AddFrame(int cell, std::int32_t x, std::int32_t y, bool flip) {
    m_Frames.push_back({cell, x, y, flip});
    return static_cast<int>(m_Frames.size()) - 1;
}

int WaxWriter::AddView(std::vector<int> frames) {
    m_Views.push_back(std::move(frames));
    return static_cast<int>(m_Views.size()) - 1;
}

int WaxWriter::AddState(std::int32_t worldWidth, std::int32_t worldHeight, std::int32_t frameRate,
                        std::vector<int> views) {
    m_States.push_back({worldWidth, worldHeight, frameRate, std::move(views)});
    return static_cast<int>(m_States.size()) - 1;
}

std::vector<std::uint8_t> WaxWriter::Write(std::uint32_t version) {
    std::vector<std::uint8_t> body; // everything after the header, offsets counted from the file start
    ByteWriter out(body);
    const auto here = [&] { return static_cast<std::uint32_t>(kWaxHeaderSize + body.size()); };
    m_CellOffsets.clear();
    for (const auto& cell : m_Cells) {
        m_CellOffsets.push_back(here());
        out.bytes(cell);
    }
    m_FrameOffsets.clear();
    for (const Frame& frame : m_Frames) {
        m_FrameOffsets.push_back(here());
        out.i32(frame.m_nX);
        out.i32(frame.m_nY);
        out.i32(frame.m_bFlip ? 1 : 0);
        out.u32(m_CellOffsets[static_cast<std::size_t>(frame.m_nCell)]);
        for (int i = 0; i < 4; ++i)
            out.u32(0);
    }
    m_ViewOffsets.clear();
    for (const auto& view : m_Views) {
        m_ViewOffsets.push_back(here());
        for (int i = 0; i < 4; ++i)
            out.u32(0);
        std::vector<std::uint32_t> frames;
        for (const int f : view)
            frames.push_back(m_FrameOffsets[static_cast<std::size_t>(f)]);
        WriteList(out, frames);
    }
    m_StateOffsets.clear();
    for (const State& state : m_States) {
        m_StateOffsets.push_back(here());
        out.i32(state.m_nWorldWidth);
        out.i32(state.m_nWorldHeight);
        out.i32(state.m_nFrameRate);
        for (int i = 0; i < 4; ++i)
            out.u32(0);
        std::vector<std::uint32_t> views;
        for (const int v : state.m_Views)
            views.push_back(m_ViewOffsets[static_cast<std::size_t>(v)]);
        WriteList(out, views);
    }
    std::vector<std::uint8_t> wax;
    ByteWriter header(wax);
    header.u32(version);
    header.u32(static_cast<std::uint32_t>(m_Views.size()));
    header.u32(static_cast<std::uint32_t>(m_Frames.size()));
    header.u32(static_cast<std::uint32_t>(m_Cells.size()));
    for (int i = 0; i < 4; ++i)
        header.u32(0);
    WriteList(header, m_StateOffsets);
    header.bytes(body);
    return wax;
}

} // namespace morvi::testing
