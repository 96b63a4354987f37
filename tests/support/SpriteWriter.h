#pragma once

#include "resources/IndexedImage.h"

#include <cstdint>
#include <vector>

namespace morvi::testing {

// Our own FME and WAX encoder, so that sprite tests and seeds build their inputs from pictures.

// The cell of a picture: header, then plain columns or a column table and runs (copies of at most
// 128 pixels, runs of at most 127 transparent pixels). Offsets in it count from its first byte.
std::vector<std::uint8_t> EncodeSpriteCell(const IndexedImage& image, bool compressed);

// An FME: the frame header with x, y, flip and a cell offset of 32, then the cell.
std::vector<std::uint8_t> EncodeFme(const IndexedImage& image, std::int32_t x, std::int32_t y, bool flip,
                                    bool compressed);

// Builds a WAX from parts referred to by index, so that frames can share cells, views frames and
// states views. The parts are written in the reverse of their natural order (cells right after
// the header, states last) so that readers must follow offsets.
class WaxWriter {
public:
    int AddCell(const IndexedImage& image, bool compressed);
    int AddFrame(int cell, std::int32_t x, std::int32_t y, bool flip);
    int AddView(std::vector<int> frames);
    int AddState(std::int32_t worldWidth, std::int32_t worldHeight, std::int32_t frameRate,
                 std::vector<int> views);

    std::vector<std::uint8_t> Write(std::uint32_t version = 0x00100100);

    // Where the last Write put each part.
    std::vector<std::uint32_t> m_CellOffsets;
    std::vector<std::uint32_t> m_FrameOffsets;
    std::vector<std::uint32_t> m_ViewOffsets;
    std::vector<std::uint32_t> m_StateOffsets;

private:
    struct Frame {
        int m_nCell;
        std::int32_t m_nX, m_nY;
        bool m_bFlip;
    };
    struct State {
        std::int32_t m_nWorldWidth, m_nWorldHeight, m_nFrameRate;
        std::vector<int> m_Views;
    };

    std::vector<std::vector<std::uint8_t>> m_Cells;
    std::vector<Frame> m_Frames;
    std::vector<std::vector<int>> m_Views;
    std::vector<State> m_States;
};

} // namespace morvi::testing
