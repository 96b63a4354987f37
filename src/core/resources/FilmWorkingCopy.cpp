#include "resources/FilmWorkingCopy.h"

#include <algorithm>

namespace morvi {

FilmWorkingCopy::FilmWorkingCopy() : m_Film(MakeNewFilm()) {
    ChooseBlock(0);
}

FilmBlock* FilmWorkingCopy::ChosenBlock() {
    if (m_nBlock < 0 || m_nBlock >= static_cast<int>(m_Film.m_Blocks.size())) return nullptr;
    return &m_Film.m_Blocks[static_cast<std::size_t>(m_nBlock)];
}

// Blocks of a film that was read have whole commands (the reader checks them), and every block
// made here does, so the rows of the chosen block always read.
void FilmWorkingCopy::ReadRows() {
    m_Rows.clear();
    if (const FilmBlock* block = ChosenBlock()) ReadFilmCommands(*block, m_Rows);
    if (m_nRow >= static_cast<int>(m_Rows.size())) m_nRow = -1;
}

void FilmWorkingCopy::ChooseBlock(int index) {
    m_nBlock = index >= 0 && index < static_cast<int>(m_Film.m_Blocks.size()) ? index : -1;
    m_nRow = -1;
    ReadRows();
}

void FilmWorkingCopy::ChooseRow(int row) {
    m_nRow = row >= 0 && row < static_cast<int>(m_Rows.size()) ? row : -1;
}

Status FilmWorkingCopy::Open(const std::filesystem::path& path) {
    FilmFile film;
    if (Status read = ReadFilmFile(path, film); !read) return read;
    m_Film = std::move(film);
    m_bModified = false;
    ChooseBlock(0);
    return Status::Ok();
}

Status FilmWorkingCopy::Save(const std::filesystem::path& path) {
    if (Status written = WriteFilmFile(m_Film, path); !written) return written;
    m_bModified = false;
    return Status::Ok();
}

Status FilmWorkingCopy::AddResource(std::string_view fileName) {
    FilmBlock block;
    if (Status made = MakeResourceFilmBlock(fileName, block); !made) return made;
    m_Film.m_Blocks.push_back(std::move(block));
    m_bModified = true;
    ChooseBlock(static_cast<int>(m_Film.m_Blocks.size()) - 1);
    return Status::Ok();
}

void FilmWorkingCopy::AddBlock(NewBlock kind) {
    m_Film.m_Blocks.push_back(kind == NewBlock::View ? MakeViewFilmBlock() : MakeCustomFilmBlock());
    m_bModified = true;
    ChooseBlock(static_cast<int>(m_Film.m_Blocks.size()) - 1);
}

Status FilmWorkingCopy::Rebuild(const std::vector<FilmCommandRow>& rows) {
    FilmBlock* block = ChosenBlock();
    if (!block) return Status::Ok();
    const std::vector<std::uint8_t> before = block->m_Commands;
    if (Status rebuilt = RebuildFilmBlock(*block, rows); !rebuilt) return rebuilt;
    m_bModified = m_bModified || block->m_Commands != before;
    ReadRows();
    return Status::Ok();
}

Status FilmWorkingCopy::AddEndCommand() {
    if (m_nRow < 0) return Status::Ok();
    std::vector<FilmCommandRow> rows = m_Rows;
    FilmCommandRow end;
    end.m_strName = "END";
    rows.push_back(std::move(end));
    if (Status rebuilt = Rebuild(rows); !rebuilt) return rebuilt;
    m_nRow = static_cast<int>(m_Rows.size()) - 1;
    return Status::Ok();
}

bool FilmWorkingCopy::Delete() {
    if (m_nRow >= 0) {
        std::vector<FilmCommandRow> rows = m_Rows;
        rows.erase(rows.begin() + m_nRow);
        m_nRow = -1;
        // Fewer rows always fit the block.
        Rebuild(rows);
        return true;
    }
    if (!ChosenBlock()) return false;
    m_Film.m_Blocks.erase(m_Film.m_Blocks.begin() + m_nBlock);
    m_bModified = true;
    ChooseBlock(std::min(m_nBlock, static_cast<int>(m_Film.m_Blocks.size()) - 1));
    return true;
}

Status FilmWorkingCopy::EditRow(std::string_view name,
                                const std::array<std::string, kFilmMaxParams>& params) {
    if (m_nRow < 0) return Status::Ok();
    std::vector<FilmCommandRow> rows = m_Rows;
    FilmCommandRow& row = rows[static_cast<std::size_t>(m_nRow)];
    row.m_strName = std::string(name);
    row.m_strParams = params;
    return Rebuild(rows);
}

} // namespace morvi
