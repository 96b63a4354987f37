#pragma once

#include <span>
#include <string>
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

// The logic lines the object with this resource file needs, as the object pane's logic text: one
// "key:\tvalue\r\n" line each, the whole text lower-cased. The name is compared without regard to
// case. sequenceIndex is the index in the pane's "Sequence:" list (0 for its "1"); it matters only
// for the files whose lines depend on it, and one outside such a file's range gives no lines. ""
// for a name that needs no lines.
std::string CatalogueLogicText(std::string_view fileName, int sequenceIndex);

// How many entries the object pane's "Sequence:" list offers for its logic text and Name: one for
// a generator (the text names "generator" in any case), else 8 for "kyl3do.3do", 9 for
// "offcfin.wax", 2 for "reeyees.wax" and "stormfin.wax", 1 for any other name.
int SequenceEntryCount(std::string_view logicText, std::string_view name);

// The object class a catalogue file name gives: "sprite" for a ".wax" name, "frame" for ".fme",
// "3d" for ".3do", "sound" for ".voc", "safe" for a name containing "safe", "spirit" otherwise.
std::string_view CatalogueClassFor(std::string_view fileName);

// The logic text of a new generator: seven lines, the enemy's logic left as "??" for the user.
std::string_view GeneratorTemplate();

} // namespace morvi
