// The BM texture decoder on arbitrary bytes, and the encoder on whatever decodes.
#include "resources/BmFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::GamePalette palette;
    std::vector<morvi::IndexedImage> frames;
    if (!morvi::DecodeBm(std::span(data, size), "fuzz.bm", palette, true, frames)) return 0;
    std::vector<std::uint8_t> out;
    if (frames.size() == 1) (void)morvi::EncodeBm(frames[0], morvi::kBmRunLength, out);
    return 0;
}
