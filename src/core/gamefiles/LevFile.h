#pragma once

#include "gamefiles/TextNotes.h"
#include "model/CDataLev.h"

#include <string>
#include <string_view>

namespace morvi {

// Appends the LEV text of lev to out. Sets every wall's m_nIndex to its position as it goes.
void WriteLev(CDataLev& lev, std::string_view generatorTitle, std::string& out);
// Parses a LEV text into an empty LEV part. Never fails: see the reader's rules in LevFile.cpp.
void ReadLev(CDataLev& lev, std::string_view text, TextNotes* notes = nullptr);

} // namespace morvi
