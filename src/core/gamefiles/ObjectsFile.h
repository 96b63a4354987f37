#pragma once

#include "gamefiles/TextNotes.h"
#include "model/CDataObjects.h"

#include <string>
#include <string_view>

namespace morvi {

// Appends the O text of objects to out.
void WriteObjects(const CDataObjects& objects, std::string_view generatorTitle, std::string& out);
// Parses an O text into an empty O part. Never fails.
void ReadObjects(CDataObjects& objects, std::string_view text, TextNotes* notes = nullptr);

} // namespace morvi
