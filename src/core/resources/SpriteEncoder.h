#pragma once

#include "model/Status.h"
#include "resources/IndexedImage.h"

#include <cstdint>
#include <vector>

namespace morvi {

// The version word the game's own sprites carry.
inline constexpr std::uint32_t kWaxVersion = 0x00100100;

// A sprite cell: its header, then the columns bottom pixel first, plain, or when compressed a
// column table and runs (copies of at most 128 pixels, runs of at most 127 transparent ones).
std::vector<std::uint8_t> EncodeSpriteCell(const IndexedImage& picture, bool compressed);

// An FME: the frame header placing the picture at x, y from the anchor (mirrored when flip is
// set), then its cell.
std::vector<std::uint8_t> EncodeFme(const IndexedImage& picture, std::int32_t x, std::int32_t y, bool flip,
                                    bool compressed);

// Builds a WAX from parts referred to by index, so that frames can share cells, views frames and
// states views, as the game's own sprites do.
class WaxEncoder {
public:
    // FileOrder: header, states, views, frames, cells, as the game's files run. CellsFirst: the
    // reverse after the header, so that a reader must follow the offsets.
    enum class Order { FileOrder, CellsFirst };

    int AddCell(const IndexedImage& picture, bool compressed);
    int AddFrame(int cell, std::int32_t x, std::int32_t y, bool flip);
    // A frame of the cell anchored at its bottom centre.
    int AddFrame(int cell, bool flip);
    int AddView(std::vector<int> frames);
    // views lists a state's 32 view slots from the first (fewer leave the rest empty).
    int AddState(std::int32_t worldWidth, std::int32_t worldHeight, std::int32_t frameRate,
                 std::vector<int> views);
    int StateCount() const { return static_cast<int>(m_States.size()); }

    // Appends the WAX to out. Refused when it would need more than the 32-bit offsets can reach,
    // or a part names a part that does not exist or a list holds more than 32 entries.
    Status Write(std::vector<std::uint8_t>& out, Order order = Order::FileOrder,
                 std::uint32_t version = kWaxVersion);

    // Where the last Write put each part.
    std::vector<std::uint32_t> m_CellOffsets;
    std::vector<std::uint32_t> m_FrameOffsets;
    std::vector<std::uint32_t> m_ViewOffsets;
    std::vector<std::uint32_t> m_StateOffsets;

private:
    struct Cell {
        std::vector<std::uint8_t> m_Bytes;
        std::int32_t m_nWidth, m_nHeight;
    };
    struct Frame {
        int m_nCell;
        std::int32_t m_nX, m_nY;
        bool m_bFlip;
    };
    struct State {
        std::int32_t m_nWorldWidth, m_nWorldHeight, m_nFrameRate;
        std::vector<int> m_Views;
    };

    std::vector<Cell> m_Cells;
    std::vector<Frame> m_Frames;
    std::vector<std::vector<int>> m_Views;
    std::vector<State> m_States;
};

} // namespace morvi
