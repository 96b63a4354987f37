// The forgiving LEV texts reader on arbitrary text: it must never crash, hang or allocate absurdly,
// and what it reads must write out again.
#include "gamefiles/LevFile.h"
#include "model/CDataLevel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::CDataLevel level;
    morvi::TextNotes notes;
    morvi::ReadLev(level.m_Lev, std::string_view(reinterpret_cast<const char*>(data), size), &notes);
    std::string out;
    morvi::WriteLev(level.m_Lev, morvi::kGeneratorTitle, out);
    return 0;
}
