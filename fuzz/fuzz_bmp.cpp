// The 8-bit BMP reader on arbitrary bytes, and the writer on whatever reads.
#include "resources/IndexedImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::IndexedImage image;
    if (image.ReadBmp(std::span(data, size), "fuzz.bmp")) {
        std::vector<std::uint8_t> out;
        (void)image.WriteBmp(out);
    }
    return 0;
}
