#pragma once

#include "resources/IndexedImage.h"

#include <cstdint>
#include <vector>

namespace morvi::demo {

// Writes the sprite pictures of the demo archive: FME frames and WAX sprites whose frames share
// cells, views share frames and states share views, as the game's own sprites do.

// A cell: its header, then the columns plain, or a column table and runs (copies of at most 128
// pixels, runs of at most 127 transparent ones) when compressed.
std::vector<std::uint8_t> EncodeCell(const IndexedImage& picture, bool compressed);

// An FME: the frame header placing the picture at x, y from the anchor, then its cell.
std::vector<std::uint8_t> EncodeFrameFile(const IndexedImage& picture, std::int32_t x, std::int32_t y,
                                          bool compressed);

// Collects the parts of a WAX by index and writes them in file order: header, states, views,
// frames, cells.
class WaxBuilder {
public:
    int AddCell(const IndexedImage& picture, bool compressed);
    // A frame of the cell anchored at its bottom centre, mirrored when flip is set.
    int AddFrame(int cell, bool flip);
    int AddFrame(int cell, std::int32_t x, std::int32_t y, bool flip);
    int AddView(std::vector<int> frames);
    int AddState(std::int32_t worldWidth, std::int32_t worldHeight, std::int32_t frameRate,
                 std::vector<int> views);
    int StateCount() const { return static_cast<int>(m_States.size()); }

    std::vector<std::uint8_t> Write() const;

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

} // namespace morvi::demo
