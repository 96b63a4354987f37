// The forgiving O texts reader on arbitrary text: it must never crash, hang or allocate absurdly,
// and what it reads must write out again.
#include "gamefiles/ObjectsFile.h"
#include "model/CDataLevel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::CDataLevel level;
    morvi::TextNotes notes;
    morvi::ReadObjects(level.m_Objects, std::string_view(reinterpret_cast<const char*>(data), size), &notes);
    std::string out;
    morvi::WriteObjects(level.m_Objects, morvi::kGeneratorTitle, out);
    return 0;
}
