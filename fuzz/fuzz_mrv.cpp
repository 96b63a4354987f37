// The document file reader on arbitrary bytes, with the level texts it embeds parsed. A document
// that reads writes out to bytes that read back to the same map state and level and write the
// same bytes again.
#include "gamefiles/DocumentFile.h"
#include "model/LevelDiff.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const morvi::LevelChooser last = [](const std::vector<std::string>& names, int) {
        return std::optional<int>(static_cast<int>(names.size()) - 1);
    };
    morvi::DocumentData first;
    if (!morvi::ReadDocumentBytes(first, std::span(data, size), "fuzz.mrv", last)) return 0;
    std::vector<std::uint8_t> once, twice;
    if (!morvi::WriteDocumentBytes(first, once)) return 0;
    morvi::DocumentData second;
    if (!morvi::ReadDocumentBytes(second, once, "once.mrv", last)) {
        std::fputs("a written document does not read back\n", stderr);
        std::abort();
    }
    const morvi::LevelDiff diff = morvi::DiffLevels(first.level(), second.level());
    const bool sameState = static_cast<const morvi::DocumentMapState&>(first) == second;
    if (morvi::WriteDocumentBytes(second, twice) && once == twice && diff.Same() && sameState) return 0;
    std::fprintf(stderr, "a written document reads back changed: %s%s%s\n", diff.Summary().c_str(),
                 sameState ? "" : ", map state differs", once == twice ? "" : ", second write differs");
    for (const morvi::LevelChange& c : diff.m_Changes) std::fprintf(stderr, "  %s\n", c.m_strText.c_str());
    std::abort();
}
