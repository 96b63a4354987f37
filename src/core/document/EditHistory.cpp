#include "document/EditHistory.h"

#include <utility>

namespace morvi {

namespace {

const std::string kNoLabel;

} // namespace

void EditHistory::Begin(const CDataLevel& level, std::span<const CMapSelItem> selection, int mode,
                        const ChangeScope* scope) {
    if (scope)
        m_Pending.emplace(ScopedSnapshot::Capture(level, *scope, selection, mode));
    else
        m_Pending.emplace(LevelSnapshot::Capture(level, selection, mode));
}

EditHistory::State EditHistory::CaptureLike(const State& state, const CDataLevel& level,
                                            std::span<const CMapSelItem> selection, int mode) {
    if (const auto* scoped = std::get_if<ScopedSnapshot>(&state))
        return ScopedSnapshot::Capture(level, scoped->scope(), selection, mode);
    return LevelSnapshot::Capture(level, selection, mode);
}

void EditHistory::Restore(const State& state, CDataLevel& level, std::vector<CMapSelItem>& selection,
                          int& mode) {
    std::visit([&](const auto& snapshot) { snapshot.Restore(level, selection, mode); }, state);
}

std::size_t EditHistory::MemoryBytes(const State& state) {
    return std::visit([](const auto& snapshot) { return snapshot.MemoryBytes(); }, state);
}

void EditHistory::Push(std::deque<Step>& steps, Step step) {
    m_nBytes += step.m_nBytes;
    steps.push_back(std::move(step));
}

EditHistory::Step EditHistory::Pop(std::deque<Step>& steps) {
    Step step = std::move(steps.back());
    steps.pop_back();
    m_nBytes -= step.m_nBytes;
    return step;
}

void EditHistory::Commit(std::string label) {
    if (!m_Pending) return;
    Push(m_Undo, Step(std::move(*m_Pending), std::move(label), m_nState));
    m_Pending.reset();
    for (const Step& step : m_Redo)
        m_nBytes -= step.m_nBytes;
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
    Step step = Pop(m_Undo);
    Push(m_Redo, Step(CaptureLike(step.m_Snapshot, level, selection, mode), step.m_strLabel, m_nState));
    Restore(step.m_Snapshot, level, selection, mode);
    m_nState = step.m_nState;
    return true;
}

bool EditHistory::Redo(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode) {
    if (m_Redo.empty()) return false;
    m_Pending.reset();
    Step step = Pop(m_Redo);
    Push(m_Undo, Step(CaptureLike(step.m_Snapshot, level, selection, mode), step.m_strLabel, m_nState));
    Restore(step.m_Snapshot, level, selection, mode);
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
    m_nBytes = 0;
    m_nSavedState = m_nState;
}

std::size_t EditHistory::MemoryBytes() const {
    return m_nBytes;
}

void EditHistory::Trim() {
    std::size_t drop = 0;
    while (drop + 1 < m_Undo.size() && m_nBytes > m_nBudget) {
        m_nBytes -= m_Undo[drop].m_nBytes;
        ++drop;
    }
    m_Undo.erase(m_Undo.begin(), m_Undo.begin() + static_cast<std::ptrdiff_t>(drop));
}

} // namespace morvi
