// The LFD archive reader on arbitrary bytes: bad maps, offsets and counts are refused, and an
// archive that reads writes out to bytes that read back and write the same bytes again.
#include "resources/LfdArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::LfdArchive first;
    if (!first.Read(std::span(data, size), "fuzz.lfd")) return 0;
    const std::vector<std::uint8_t> once = first.Write();
    morvi::LfdArchive second;
    if (second.Read(once, "once.lfd") && second.Write() == once) return 0;
    std::fputs("a written LFD does not read back to the same bytes\n", stderr);
    std::abort();
}
