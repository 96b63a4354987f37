#pragma once

#include "model/CDataLev.h"
#include "model/TextNotes.h"

#include <string>
#include <string_view>

namespace morvi {

// Appends the LEV text of lev to out (CR LF line ends).
void WriteLev(const CDataLev& lev, std::string_view generatorTitle, std::string& out);

// Parses a LEV text into an empty LEV part. Never fails: keywords are matched ignoring case,
// unknown ones are skipped, missing numbers read as 0, omitted sector lines keep the record
// defaults, and a text that ends early keeps what was read. A sector's m_nIndex is its position,
// as the game counts sectors; a SECTOR number that differs is noted. The sector array holds the
// NUMSECTORS count (empty sectors fill a text that ends early) unless the count exceeds the lines
// the text has, which keeps a tiny text from making the reader allocate for an absurd count.
// Texture, vertex and wall lists announced longer than they are end at the next block's keyword
// (NUMSECTORS, WALLS, SECTOR) instead of swallowing it. Notes, when asked for, say what was
// skipped or repaired and on which line.
void ReadLev(CDataLev& lev, std::string_view text, TextNotes* notes = nullptr);

} // namespace morvi
