#include "support/SpriteWriter.h"

#include <stdexcept>

namespace morvi::testing {

std::vector<std::uint8_t> WaxBytes(WaxEncoder& wax, std::uint32_t version) {
    std::vector<std::uint8_t> bytes;
    if (Status written = wax.Write(bytes, WaxEncoder::Order::CellsFirst, version); !written)
        throw std::runtime_error(written.message());
    return bytes;
}

} // namespace morvi::testing
