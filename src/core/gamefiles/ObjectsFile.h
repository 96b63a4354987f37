#pragma once

#include "model/CDataObjects.h"
#include "model/TextNotes.h"

#include <string>
#include <string_view>

namespace morvi {

// Appends the O text of objects to out, CR LF line ends, the object block in upper case. Objects
// are written with their m_nData as stored: SetObjectDataIndex keeps it current.
void WriteObjects(const CDataObjects& objects, std::string_view generatorTitle, std::string& out);
// The same with the author the header names in place of the O part's own.
void WriteObjects(const CDataObjects& objects, std::string_view author, std::string_view generatorTitle,
                  std::string& out);
// Parses an O text into an empty O part. Never fails: unknown lines are skipped, a truncated
// text still gives the announced number of objects, and what was passed over or repaired is
// recorded in notes when given. See the reader's rules in ObjectsFile.cpp.
void ReadObjects(CDataObjects& objects, std::string_view text, TextNotes* notes = nullptr);

} // namespace morvi
