// The GOB directory reader on arbitrary bytes: bad offsets, sizes and counts are refused.
#include "gamefiles/GobArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::GobArchive gob;
    if (morvi::ReadGob(std::span(data, size), "fuzz.gob", gob)) {
        std::vector<std::uint8_t> out;
        (void)morvi::WriteGob(gob, out);
    }
    return 0;
}
