// The WAX structure walk and frame decoder on arbitrary bytes, for a few selections.
#include "resources/WaxFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::GamePalette palette;
    for (int state : {0, 1}) {
        morvi::WaxSelection selection{};
        selection.m_nSelectedState = state;
        selection.m_nSelectedView = state * 3;
        selection.m_bShowAllFrames = state == 1;
        std::vector<morvi::SpriteFrame> frames;
        (void)morvi::DecodeWax(std::span(data, size), "fuzz.wax", palette, true, selection, frames);
    }
    return 0;
}
