// The document file reader on arbitrary bytes, with the level texts it embeds parsed.
#include "gamefiles/DocumentFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::CMorviDoc doc;
    const morvi::LevelChooser last = [](const std::vector<std::string>& names, int) {
        return std::optional<int>(static_cast<int>(names.size()) - 1);
    };
    if (morvi::ReadDocumentBytes(doc, std::span(data, size), "fuzz.mrv", last)) {
        std::vector<std::uint8_t> out;
        (void)morvi::WriteDocumentBytes(doc, out);
    }
    return 0;
}
