#include "properties/FlagLists.h"

#include <array>
#include <cstddef>

namespace morvi {
namespace {

constexpr std::array<std::string_view, 20> kSectorFlags{
    "Exterior - No ceiling (Sky)",
    "Door",
    "Shot Reflextion / Mag. Seal",
    "Exterior Adjoin",
    "Ice Floor (Skating)",
    "Snow Floor",
    "Exploding Wall/Door",
    "Exterior - No Floor (Pit)",
    "Exterior Floor Adjoin",
    "Crushing Sector",
    "No Wall Draw (Horizon)",
    "Low Damage",
    "High Damage (both => Gas",
    "No smart object reaction",
    "Smart object reaction",
    "Subsector",
    "Safe Sector",
    "Rendered (do not use)",
    "Player (do not use)",
    "Secret Sector",
};

constexpr std::array<std::string_view, 16> kWallFlags{
    "Adjoining Mid Texture",
    "Illuminated Sign",
    "Flip Texture horizontally",
    "Elevation can change wall light",
    "Wall Texture anchored",
    "Wall morph with Sector",
    "Allow scroll top Texture",
    "Allow scroll mid Texture",
    "Allow scroll bot Texture",
    "Allow scroll sign Texture",
    "Hide on Map",
    "Show on Map",
    "Sign anchored",
    "Wall damages player",
    "Show as ledge on Map",
    "Show as door on Map",
};

constexpr std::array<std::string_view, 4> kWall3Flags{
    "Cannot always walk",
    "Cannot walk through wall",
    "Fence - Keep enemies in",
    "Cannot fire through wall",
};

} // namespace

std::span<const std::string_view> FlagEntries(FlagList list) {
    switch (list) {
    case FlagList::Sector:
        return kSectorFlags;
    case FlagList::Wall:
        return kWallFlags;
    case FlagList::Wall3:
        break;
    }
    return kWall3Flags;
}

std::string_view FlagDialogTitle(FlagList list) {
    return list == FlagList::Sector ? "Sector Flag" : "Wall Flag";
}

std::vector<bool> FlagSelectionFromWord(FlagList list, int word) {
    const std::size_t count = FlagEntries(list).size();
    std::vector<bool> selected(count);
    for (std::size_t k = 0; k < count; ++k)
        selected[k] = ((word >> k) & 1) != 0;
    return selected;
}

int FlagWordFromSelection(FlagList list, int previousWord, const std::vector<bool>& selected) {
    const std::size_t count = FlagEntries(list).size();
    int word = previousWord & ~((1 << count) - 1);
    for (std::size_t k = 0; k < count && k < selected.size(); ++k)
        if (selected[k]) word |= 1 << k;
    return word;
}

} // namespace morvi
