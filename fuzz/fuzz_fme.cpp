// The FME decoder on arbitrary bytes.
#include "resources/FmeFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::GamePalette palette;
    morvi::SpriteFrame frame;
    (void)morvi::DecodeFme(std::span(data, size), "fuzz.fme", palette, true, frame);
    return 0;
}
