#include "view3d/ColourMap.h"

#include <string>

namespace morvi {

Status ReadColourMap(std::span<const std::uint8_t> bytes, std::string_view name,
                     std::vector<std::uint8_t>& rows) {
    if (bytes.size() < kColourMapRowsSize)
        return Status::Fail(std::string(name) + ": a colour map holds at least " +
                            std::to_string(kColourMapRowsSize) + " bytes, this member holds " +
                            std::to_string(bytes.size()) + ".");
    rows.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kColourMapRowsSize));
    return Status::Ok();
}

} // namespace morvi
