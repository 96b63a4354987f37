// The LFD archive reader on arbitrary bytes: bad maps, offsets and counts are refused.
#include "resources/LfdArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::LfdArchive lfd;
    if (lfd.Read(std::span(data, size), "fuzz.lfd")) (void)lfd.Write();
    return 0;
}
