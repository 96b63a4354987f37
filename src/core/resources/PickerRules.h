#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// Which game folder a picker class reads its archive from.
enum class GameFolder { CdRom, Installed };

// One entry of the picker's "Class:" box.
struct PickerClass {
    std::string_view m_strEntry;
    std::string_view m_strArchive; // relative to the folder, with the leading backslash
    GameFolder m_Folder;
    std::string_view m_strExtension;
    std::string_view m_strClassText;
};

// The picker classes in the order the "Class:" box shows them.
std::span<const PickerClass> PickerClasses();

// The category names for an extension (".bm", ".fme", ".wax", ".3do", ".voc"; any case), index 0
// first; empty for any other extension.
std::span<const std::string_view> PickerCategories(std::string_view extension);

// The names the picker lists for a category: the game archive's names first, then the level's
// own, each kept when the category's rule accepts it. Names are compared and returned
// lower-cased; a name present in both lists is listed twice. Empty for an unknown extension or
// category.
std::vector<std::string> PickerList(std::string_view extension, std::size_t category,
                                    std::span<const std::string> gameNames,
                                    std::span<const std::string> levelNames);

// The row to select after a list is filled: the row equal to current, else 0; -1 when empty.
int PickerSelection(std::span<const std::string> listed, std::string_view current);

} // namespace morvi
