#include "resources/SpriteEncoder.h"

#include "model/ByteStream.h"
#include "resources/FmeFile.h"
#include "resources/WaxFile.h"

#include <limits>
#include <string>

namespace morvi {

namespace {

constexpr int kLongestCopy = 128;
constexpr int kLongestRun = 127;

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

void Zeros(ByteWriter& out, int words) {
    for (int i = 0; i < words; ++i)
        out.u32(0);
}

void WriteList(ByteWriter& out, const std::vector<std::uint32_t>& offsets) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(kWaxListLength); ++i)
        out.u32(i < offsets.size() ? offsets[i] : 0);
}

} // namespace

// A plain cell's fourth word is its size, as the game's tools write it; a compressed one's the size
// of its runs.
std::vector<std::uint8_t> EncodeSpriteCell(const IndexedImage& picture, bool compressed) {
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
    out.u32(compressed ? static_cast<std::uint32_t>(runs.size())
                       : static_cast<std::uint32_t>(width * picture.height()));
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

std::vector<std::uint8_t> EncodeFme(const IndexedImage& picture, std::int32_t x, std::int32_t y, bool flip,
                                    bool compressed) {
    std::vector<std::uint8_t> fme;
    ByteWriter out(fme);
    out.i32(x);
    out.i32(y);
    out.i32(flip ? 1 : 0);
    out.u32(static_cast<std::uint32_t>(kSpriteFrameHeaderSize));
    Zeros(out, 4);
    out.bytes(EncodeSpriteCell(picture, compressed));
    return fme;
}

int WaxEncoder::AddCell(const IndexedImage& picture, bool compressed) {
    m_Cells.push_back({EncodeSpriteCell(picture, compressed), picture.width(), picture.height()});
    return static_cast<int>(m_Cells.size()) - 1;
}

int WaxEncoder::AddFrame(int cell, std::int32_t x, std::int32_t y, bool flip) {
    m_Frames.push_back({cell, x, y, flip});
    return static_cast<int>(m_Frames.size()) - 1;
}

int WaxEncoder::AddFrame(int cell, bool flip) {
    const bool known = cell >= 0 && static_cast<std::size_t>(cell) < m_Cells.size();
    const Cell c = known ? m_Cells[static_cast<std::size_t>(cell)] : Cell{{}, 0, 0};
    return AddFrame(cell, -c.m_nWidth / 2, -c.m_nHeight, flip);
}

int WaxEncoder::AddView(std::vector<int> frames) {
    m_Views.push_back(std::move(frames));
    return static_cast<int>(m_Views.size()) - 1;
}

int WaxEncoder::AddState(std::int32_t worldWidth, std::int32_t worldHeight, std::int32_t frameRate,
                         std::vector<int> views) {
    m_States.push_back({worldWidth, worldHeight, frameRate, std::move(views)});
    return static_cast<int>(m_States.size()) - 1;
}

Status WaxEncoder::Write(std::vector<std::uint8_t>& out, Order order, std::uint32_t version) {
    // Every part but the cells has a fixed size, so all offsets are known before writing.
    const auto tooLong = [](std::size_t n) { return n > static_cast<std::size_t>(kWaxListLength); };
    for (const auto& view : m_Views)
        if (tooLong(view.size())) return Status::Fail("WAX: a view lists more than 32 frames.");
    for (const State& state : m_States)
        if (tooLong(state.m_Views.size())) return Status::Fail("WAX: a state lists more than 32 views.");
    if (tooLong(m_States.size())) return Status::Fail("WAX: more than 32 states.");

    std::uint64_t at = kWaxHeaderSize;
    const auto place = [&at](std::vector<std::uint32_t>& offsets, std::size_t count, auto sizeOf) {
        offsets.clear();
        for (std::size_t i = 0; i < count; ++i) {
            offsets.push_back(static_cast<std::uint32_t>(at));
            at += sizeOf(i);
        }
    };
    const auto states = [&] {
        place(m_StateOffsets, m_States.size(), [](std::size_t) { return kWaxStateSize; });
    };
    const auto views = [&] {
        place(m_ViewOffsets, m_Views.size(), [](std::size_t) { return kWaxViewSize; });
    };
    const auto frames = [&] {
        place(m_FrameOffsets, m_Frames.size(), [](std::size_t) { return kSpriteFrameHeaderSize; });
    };
    const auto cells = [&] {
        place(m_CellOffsets, m_Cells.size(), [this](std::size_t i) { return m_Cells[i].m_Bytes.size(); });
    };
    if (order == Order::FileOrder) {
        states();
        views();
        frames();
        cells();
    } else {
        cells();
        frames();
        views();
        states();
    }
    if (at > std::numeric_limits<std::uint32_t>::max())
        return Status::Fail("WAX: the pictures need " + std::to_string(at) +
                            " bytes, more than a WAX can hold.");

    const auto offsetsOf = [](const std::vector<int>& parts, const std::vector<std::uint32_t>& offsets,
                              std::vector<std::uint32_t>& list) {
        list.clear();
        for (const int p : parts) {
            if (p < 0 || static_cast<std::size_t>(p) >= offsets.size()) return false;
            list.push_back(offsets[static_cast<std::size_t>(p)]);
        }
        return true;
    };
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(at));
    ByteWriter w(bytes);
    w.u32(version);
    w.u32(static_cast<std::uint32_t>(m_Views.size()));
    w.u32(static_cast<std::uint32_t>(m_Frames.size()));
    w.u32(static_cast<std::uint32_t>(m_Cells.size()));
    Zeros(w, 4);
    WriteList(w, m_StateOffsets);
    std::vector<std::uint32_t> list;
    const auto writeStates = [&] {
        for (const State& state : m_States) {
            w.i32(state.m_nWorldWidth);
            w.i32(state.m_nWorldHeight);
            w.i32(state.m_nFrameRate);
            Zeros(w, 4);
            if (!offsetsOf(state.m_Views, m_ViewOffsets, list)) return false;
            WriteList(w, list);
        }
        return true;
    };
    const auto writeViews = [&] {
        for (const auto& view : m_Views) {
            Zeros(w, 4);
            if (!offsetsOf(view, m_FrameOffsets, list)) return false;
            WriteList(w, list);
        }
        return true;
    };
    const auto writeFrames = [&] {
        for (const Frame& frame : m_Frames) {
            if (frame.m_nCell < 0 || static_cast<std::size_t>(frame.m_nCell) >= m_CellOffsets.size())
                return false;
            w.i32(frame.m_nX);
            w.i32(frame.m_nY);
            w.i32(frame.m_bFlip ? 1 : 0);
            w.u32(m_CellOffsets[static_cast<std::size_t>(frame.m_nCell)]);
            Zeros(w, 4);
        }
        return true;
    };
    const auto writeCells = [&] {
        for (const Cell& cell : m_Cells)
            w.bytes(cell.m_Bytes);
        return true;
    };
    const bool whole = order == Order::FileOrder
                           ? writeStates() && writeViews() && writeFrames() && writeCells()
                           : writeCells() && writeFrames() && writeViews() && writeStates();
    if (!whole) return Status::Fail("WAX: a part names a part that does not exist.");
    out.insert(out.end(), bytes.begin(), bytes.end());
    return Status::Ok();
}

} // namespace morvi
