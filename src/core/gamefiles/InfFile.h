#pragma once

#include "model/TextNotes.h"
#include "model/CDataInf.h"

#include <string>
#include <string_view>

namespace morvi {

class RecordArchive;

// Appends the INF text of inf to out.
void WriteInf(const CDataInf& inf, std::string_view generatorTitle, std::string& out);
// Parses an INF text into an empty INF part. Never fails: unknown header keywords and stray lines
// are skipped, every item present is read whatever the items count says, an item without its
// seqend ends at the next item line or the end of the text, and seq lines are held as "keyword:",
// a tab and the value (a line without a colon is kept whole). What was passed over or repaired is
// recorded in notes.
void ReadInf(CDataInf& inf, std::string_view text, TextNotes* notes = nullptr);

// Keeps an item's name and its message/target/client/slave/adjoin lines in step with a sector rename.
// The new name is lower-cased; only whole-word occurrences of the old name are replaced.
void RenameSectorReference(CDataInfItem& item, std::string_view oldName, std::string_view newName);
void RenameSector(CDataInf& inf, std::string_view oldName, std::string_view newName);
// Exact mode (shift false): references to wall n of the sector become wall value. Shift mode:
// references to walls above n grow by value. True when any item or line changed.
bool RenumberWall(CDataInf& inf, std::string_view sectorName, int n, int value, bool shift);
// Moves the altitude stops of the sector's items by delta. Relative ("@") and named stops, and
// elevators whose stops are not altitudes, are left alone.
void ShiftStopAltitudes(CDataInf& inf, std::string_view sectorName, double delta);
// Storing: writes the items of sector name as a record array. Loading: reads such an array,
// renames the items from name to newName and appends them.
void SerializeItemsOfSector(CDataInf& inf, RecordArchive& ar, std::string_view name,
                            std::string_view newName);

} // namespace morvi
