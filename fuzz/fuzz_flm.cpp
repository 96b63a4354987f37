// The FLM reader on arbitrary bytes, with every block shown as command rows and rebuilt.
#include "resources/FilmFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvi::FilmFile film;
    if (!morvi::ReadFilm(std::span(data, size), "fuzz.flm", film)) return 0;
    for (morvi::FilmBlock& block : film.m_Blocks) {
        std::vector<morvi::FilmCommandRow> rows;
        if (morvi::ReadFilmCommands(block, rows)) (void)morvi::RebuildFilmBlock(block, rows);
    }
    std::vector<std::uint8_t> out;
    (void)morvi::WriteFilm(film, out);
    return 0;
}
