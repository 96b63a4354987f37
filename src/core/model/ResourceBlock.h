#pragma once

#include <string_view>

namespace morvi {

class CDataLevel;
class RecordArchive;

// The version tag of library files written by this program; "Morvi 1.00" files carry no
// resource block.
inline constexpr std::string_view kLibraryVersionTag = "Morvi 3.00";
inline constexpr std::string_view kLibraryVersionTagWithoutResources = "Morvi 1.00";

// Storing: every member of the level whose name contains .WAX, .BM, .FME, .3DO or .VOC, as
// size, name and data, closed by a zero size. Loading: each entry replaces the member of that
// name or is added as a new member; nothing is changed unless the whole block reads cleanly.
void SerializeResourceBlock(CDataLevel& level, RecordArchive& ar, std::string_view versionTag);

} // namespace morvi
