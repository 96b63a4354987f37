#pragma once

#include <span>
#include <string_view>

namespace morvi {

// One ready-made object of the game: the "Select Object" dialog lists these by category so that
// the user can place an object without knowing its resource file.
struct CatalogueEntry {
    int m_nCategory = 0;        // index into ObjectCategories()
    std::string_view m_strFile; // lower case, the object's resource name ("spirit", "safe" for markers)
    std::string_view m_strDescription;
};

// The ten category names in the order of the dialog's category list.
std::span<const std::string_view> ObjectCategories();

// The 91 entries in catalogue order, grouped by category.
std::span<const CatalogueEntry> ObjectCatalogue();

// The entry whose file name equals fileName exactly (the dialog selects the current name's row
// only on an exact match); nullptr when none.
const CatalogueEntry* FindCatalogueEntry(std::string_view fileName);

} // namespace morvi
