#pragma once

#include "resources/FilmFile.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// What the FILM Manager edits: a film, its chosen block with that block's commands as rows, and
// the chosen row. Every change rebuilds the chosen block from its rows and marks the copy as
// changed until it is opened or saved. Indices are -1 when nothing is chosen.
class FilmWorkingCopy {
public:
    enum class NewBlock { View, Cust };

    // A new film: one VIEW block named "untitled" with one END command, that block chosen.
    FilmWorkingCopy();

    const FilmFile& Film() const { return m_Film; }
    int CurrentBlock() const { return m_nBlock; }
    int CurrentRow() const { return m_nRow; }
    // The chosen block's commands; empty without a chosen block.
    const std::vector<FilmCommandRow>& Rows() const { return m_Rows; }
    bool IsModified() const { return m_bModified; }

    // Chooses a block (no row); an index out of range chooses none.
    void ChooseBlock(int index);
    // Chooses a row of the chosen block; an index out of range chooses none.
    void ChooseRow(int row);

    // Replaces the film by the file's, its first block chosen; a film that cannot be read is
    // refused and the copy stays as it was.
    Status Open(const std::filesystem::path& path);
    // Writes the film (the file is replaced only when the whole film is written).
    Status Save(const std::filesystem::path& path);

    // Appends the block naming a resource file (MakeResourceFilmBlock) and chooses it.
    Status AddResource(std::string_view fileName);
    // Appends a VIEW "untitled" or a CUST "custom" block and chooses it.
    void AddBlock(NewBlock kind);
    // With a row chosen: appends an END command to the chosen block and chooses it.
    Status AddEndCommand();
    // Deletes the chosen row, or without one the chosen block (the next one is chosen then).
    // False when nothing was chosen.
    bool Delete();
    // Gives the chosen row this name and these parameter cells and rebuilds the block (a name the
    // table does not know keeps the row's opcode); a cell that is no parameter (ParseFilmParam) is
    // refused and changes nothing. The rows then show what the block holds.
    Status EditRow(std::string_view name, const std::array<std::string, kFilmMaxParams>& params);

private:
    FilmBlock* ChosenBlock();
    Status Rebuild(const std::vector<FilmCommandRow>& rows);
    void ReadRows();

    FilmFile m_Film;
    std::vector<FilmCommandRow> m_Rows;
    int m_nBlock = -1;
    int m_nRow = -1;
    bool m_bModified = false;
};

} // namespace morvi
