#pragma once

#include "gamefiles/TextNotes.h"
#include "model/CDataInf.h"

#include <string>
#include <string_view>

namespace morvi {

class RecordArchive;

// Appends the INF text of inf to out.
void WriteInf(const CDataInf& inf, std::string_view generatorTitle, std::string& out);
// Parses an INF text into an empty INF part. Never fails.
void ReadInf(CDataInf& inf, std::string_view text, TextNotes* notes = nullptr);

// Keeps an item's name and its message/target/client/slave/adjoin lines in step with a sector rename.
void RenameSectorReference(CDataInfItem& item, std::string_view oldName, std::string_view newName);
void RenameSector(CDataInf& inf, std::string_view oldName, std::string_view newName);
// Exact mode (shift false): references to wall n of the sector become wall value. Shift mode:
// references to walls above n grow by value. True when any item or line changed.
bool RenumberWall(CDataInf& inf, std::string_view sectorName, int n, int value, bool shift);
// Moves the altitude stops of the sector's items by delta.
void ShiftStopAltitudes(CDataInf& inf, std::string_view sectorName, double delta);
// Storing: writes the items of sector name as a record array. Loading: reads such an array,
// renames the items from name to newName and appends them.
void SerializeItemsOfSector(CDataInf& inf, RecordArchive& ar, std::string_view name, std::string_view newName);

} // namespace morvi
