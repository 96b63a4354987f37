#pragma once

#include "resources/SpriteEncoder.h"

#include <cstdint>
#include <vector>

namespace morvi::testing {

// The WAX the encoder holds, its parts in the reverse of the game's order (cells right after the
// header, states last) so that the readers under test must follow the offsets.
std::vector<std::uint8_t> WaxBytes(WaxEncoder& wax, std::uint32_t version = kWaxVersion);

} // namespace morvi::testing
