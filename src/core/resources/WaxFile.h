#pragma once

#include "model/Status.h"
#include "resources/FmeFile.h"
#include "resources/GamePalette.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// A WAX is an animated sprite: a 160-byte header with up to 32 state offsets (from offset 32), each
// state (156 bytes: world width, world height, frame rate, then 32 view offsets from offset 28)
// naming up to 32 view sequences (144 bytes, 32 frame offsets from offset 16), each naming sprite
// frames. A 0 ends every list. Views, frames and cells may be shared, and nothing need be in order.
inline constexpr std::size_t kWaxHeaderSize = 160;
inline constexpr std::size_t kWaxStateSize = 156;
inline constexpr std::size_t kWaxViewSize = 144;
inline constexpr int kWaxListLength = 32;

// The structures of a WAX as read. Shared structures appear once; the others refer to them by
// their index in WaxFile.
struct WaxState {
    std::uint32_t m_nOffset = 0;
    std::int32_t m_nWorldWidth = 0;
    std::int32_t m_nWorldHeight = 0;
    std::int32_t m_nFrameRate = 0;
    std::vector<int> m_Views; // indices into WaxFile::m_Views
};

struct WaxView {
    std::uint32_t m_nOffset = 0;
    std::vector<int> m_Frames; // indices into WaxFile::m_Frames
};

struct WaxFrame {
    std::uint32_t m_nOffset = 0;
    std::int32_t m_nX = 0;
    std::int32_t m_nY = 0;
    bool m_bFlip = false;
    int m_nCell = 0; // index into WaxFile::m_Cells
};

struct WaxCell {
    std::uint32_t m_nOffset = 0;
    SpriteCellHeader m_Header;
};

struct WaxFile {
    // Reads the whole structure of a WAX member. Every offset must lie inside bytes, every cell
    // be 1 to 4096 pixels a side (a plain one no larger than the bytes after it), and no two
    // structures may overlap unless they are the same structure shared, which refuses offsets that
    // point back into a state or view. On failure out is left as it was.
    static Status Read(std::span<const std::uint8_t> bytes, std::string_view name, WaxFile& out);

    std::vector<WaxState> m_States; // in file order, one per entry of the header's list
    std::vector<WaxView> m_Views;
    std::vector<WaxFrame> m_Frames;
    std::vector<WaxCell> m_Cells;
};

// What the viewer shows of a WAX: the choice (selected state, view, frame, show all frames) and
// the counters recounted from the file on every decode.
struct WaxSelection {
    int m_nStateCount = 0;
    int m_nViewCount = 0;  // views of the selected state
    int m_nFrameCount = 0; // frames of the selected view
    int m_nSelectedState = 0;
    int m_nSelectedView = 0;
    int m_nSelectedFrame = 0;
    int m_nFrameRate = 0; // of the selected state
    bool m_bShowAllFrames = false;
};

// Recounts the selection's counters (a selected state out of range becomes 0) and returns the
// indices into wax.m_Frames of the frames to show: the selected frame, or every frame of the
// selected view when m_bShowAllFrames is set; none when the view or frame is out of range.
std::vector<int> SelectWaxFrames(const WaxFile& wax, WaxSelection& selection);

// Reads a WAX member, recounts the selection and decodes the frames it selects into frames.
// On failure frames is empty, the counters are 0 and the message names the member.
Status DecodeWax(std::span<const std::uint8_t> bytes, std::string_view name, const GamePalette& palette,
                 bool withHeader, WaxSelection& selection, std::vector<SpriteFrame>& frames);

// The name the user sees for state index (from 0): the fourteen named states, then "Enemy State N"
// with N = index + 1. Empty for a negative index.
std::string WaxStateName(int index);

// The name of view index: its angle, index x 11.25 degrees, as "000.00", "011.25" ... "348.75".
std::string WaxViewName(int index);

} // namespace morvi
