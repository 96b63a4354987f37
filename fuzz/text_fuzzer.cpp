// The forgiving LEV, O or INF text reader (MORVI_FUZZ_TEXT names which) on arbitrary text: it must
// never crash, hang or allocate absurdly, and a save of what it read must be stable: the written
// text reads back to the same level and writes the same bytes again.
#include "support/TextRoundTrip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string faults =
        morvi::testing::TextRoundTripFaults(morvi::testing::LevelText::MORVI_FUZZ_TEXT,
                                            std::string_view(reinterpret_cast<const char*>(data), size));
    if (faults.empty()) return 0;
    std::fputs(faults.c_str(), stderr);
    std::abort();
}
