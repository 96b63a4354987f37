// The GOB directory reader on arbitrary bytes: bad offsets, sizes and counts are refused, and an
// archive that reads writes out to bytes that read back to the same members and write the same
// bytes again.
#include "gamefiles/GobArchive.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool SameMembers(const morvi::GobArchive& a, const morvi::GobArchive& b) {
    return std::ranges::equal(a.m_pMembers, b.m_pMembers, [](const auto& x, const auto& y) {
        return x->m_strName == y->m_strName && std::ranges::equal(x->data(), y->data());
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::GobArchive first;
    if (!morvi::ReadGob(std::span(data, size), "fuzz.gob", first)) return 0;
    std::vector<std::uint8_t> once, twice;
    if (!morvi::WriteGob(first, once)) return 0;
    morvi::GobArchive second;
    const bool read = static_cast<bool>(morvi::ReadGob(once, "once.gob", second));
    if (read && morvi::WriteGob(second, twice) && once == twice && SameMembers(first, second)) return 0;
    std::fputs("a written archive does not read back to the same members and bytes\n", stderr);
    std::abort();
}
