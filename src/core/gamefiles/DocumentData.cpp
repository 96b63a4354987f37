#include "gamefiles/DocumentData.h"

#include <bit>

namespace morvi {

std::array<std::uint32_t, 7> DocumentMapState::DefaultFurtherSettings() {
    return {std::bit_cast<std::uint32_t>(30.0f),
            std::bit_cast<std::uint32_t>(60.0f),
            0u,
            std::bit_cast<std::uint32_t>(-5.0f),
            0u,
            0u,
            0u};
}

} // namespace morvi
