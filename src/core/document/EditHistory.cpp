#include "document/EditHistory.h"

#include <utility>

namespace morvi {

namespace {

const std::string kNoLabel;

} // namespace

void EditHistory::Begin(const CDataLevel& level, std::span<const CMapSelItem> selection, int mode) {
    m_Pending = LevelSnapshot::Capture(level, selection, mode);
}

void EditHistory::Commit(std::string label) {
    if (!m_Pending) return;
    m_Undo.push_back({std::move(*m_Pending), std::move(label), m_nState});
    m_Pending.reset();
    m_Redo.clear();
    m_nState = m_nNextState++;
    Trim();
}

const std::string& EditHistory::UndoLabel() const {
    return m_Undo.empty() ? kNoLabel : m_Undo.back().m_strLabel;
}

const std::string& EditHistory::RedoLabel() const {
    return m_Redo.empty() ? kNoLabel : m_Redo.back().m_strLabel;
}

bool EditHistory::Undo(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) {
    if (m_Undo.empty()) return false;
    m_Pending.reset();
    Step step = std::move(m_Undo.back());
    m_Undo.pop_back();
    m_Redo.push_back({LevelSnapshot::Capture(level, selection, mode), step.m_strLabel, m_nState});
    step.m_Snapshot.Restore(level, selection, mode);
    m_nState = step.m_nState;
    return true;
}

bool EditHistory::Redo(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) {
    if (m_Redo.empty()) return false;
    m_Pending.reset();
    Step step = std::move(m_Redo.back());
    m_Redo.pop_back();
    m_Undo.push_back({LevelSnapshot::Capture(level, selection, mode), step.m_strLabel, m_nState});
    step.m_Snapshot.Restore(level, selection, mode);
    m_nState = step.m_nState;
    Trim();
    return true;
}

std::vector<std::string> EditHistory::UndoLabels() const {
    std::vector<std::string> labels;
    for (const Step& s : m_Undo)
        labels.push_back(s.m_strLabel);
    return labels;
}

std::vector<std::string> EditHistory::RedoLabels() const {
    std::vector<std::string> labels;
    for (auto it = m_Redo.rbegin(); it != m_Redo.rend(); ++it)
        labels.push_back(it->m_strLabel);
    return labels;
}

void EditHistory::Clear() {
    m_Pending.reset();
    m_Undo.clear();
    m_Redo.clear();
    m_nSavedState = m_nState;
}

std::size_t EditHistory::MemoryBytes() const {
    std::size_t bytes = 0;
    for (const Step& s : m_Undo)
        bytes += s.m_Snapshot.MemoryBytes();
    for (const Step& s : m_Redo)
        bytes += s.m_Snapshot.MemoryBytes();
    return bytes;
}

void EditHistory::Trim() {
    std::size_t bytes = MemoryBytes();
    std::size_t drop = 0;
    while (drop + 1 < m_Undo.size() && bytes > m_nBudget) {
        bytes -= m_Undo[drop].m_Snapshot.MemoryBytes();
        ++drop;
    }
    m_Undo.erase(m_Undo.begin(), m_Undo.begin() + static_cast<std::ptrdiff_t>(drop));
}

} // namespace morvi
