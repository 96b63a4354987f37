// The WAX map reader on arbitrary text; a map it takes must build into a WAX our reader takes.
#include "resources/SpriteConverter.h"
#include "resources/WaxFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::WaxMap map;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!morvi::ParseWaxMap(text, "fuzz.map", map)) return 0;
    // Small pictures of a few sizes, one per cell.
    std::vector<morvi::IndexedImage> pictures(map.m_CellComp.size());
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        pictures[k].Create(morvi::GamePalette(), morvi::kPaletteMultiplier, int(k % 3) + 1, int(k % 5) + 1,
                           false);
        pictures[k].setPixel(0, 0, static_cast<std::uint8_t>(k));
    }
    std::vector<std::uint8_t> wax;
    if (!morvi::BuildWax(map, pictures, wax)) std::abort();
    morvi::WaxFile read;
    if (!morvi::WaxFile::Read(wax, "fuzz.wax", read)) std::abort();
    morvi::WaxWalk walk;
    if (!morvi::WalkWax(wax, "fuzz.wax", walk)) std::abort();
    return 0;
}
