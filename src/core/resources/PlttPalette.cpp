#include "resources/PlttPalette.h"

#include <algorithm>
#include <string>

namespace morvi {

Status ReadPltt(std::span<const std::uint8_t> bytes, std::string_view name, PlttPalette& out) {
    if (bytes.size() < kPlttHeaderSize)
        return Status::Fail(std::string(name) + ": a PLTT needs its first and last colour index.");
    const std::uint8_t first = bytes[0];
    const std::uint8_t last = bytes[1];
    if (first > last)
        return Status::Fail(std::string(name) + ": the first colour index " + std::to_string(first) +
                            " is above the last " + std::to_string(last) + ".");
    // The triples follow the two index bytes directly, whatever the first index.
    const std::size_t colourBytes = 3 * (std::size_t(last) - first + 1);
    if (bytes.size() - kPlttHeaderSize < colourBytes)
        return Status::Fail(std::string(name) + ": colours " + std::to_string(first) + " to " +
                            std::to_string(last) + " need " + std::to_string(colourBytes) + " bytes, only " +
                            std::to_string(bytes.size() - kPlttHeaderSize) + " follow.");
    const auto colours = bytes.subspan(kPlttHeaderSize, colourBytes);
    out.m_nFirst = first;
    out.m_nLast = last;
    out.m_Colours.assign(colours.begin(), colours.end());
    return Status::Ok();
}

void ApplyPltt(const PlttPalette& pltt, GamePalette& palette) {
    if (pltt.m_nFirst > pltt.m_nLast) return;
    // A PlttPalette built by hand may hold fewer colours than its range; only those are copied.
    // The range ends at most at entry 255, so the copy stays inside the palette.
    const std::size_t start = 3 * std::size_t(pltt.m_nFirst);
    const std::size_t n =
        std::min(3 * (std::size_t(pltt.m_nLast) - pltt.m_nFirst + 1), pltt.m_Colours.size());
    std::copy_n(pltt.m_Colours.begin(), n, palette.m_Bytes.begin() + static_cast<std::ptrdiff_t>(start));
}

} // namespace morvi
