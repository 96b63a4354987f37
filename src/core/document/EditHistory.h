#pragma once

#include "document/LevelSnapshot.h"
#include "document/ScopedSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace morvi {

// Undo and redo for one document: one step per change, each holding the level (members
// included), the selection and the edit mode as they were on the other side of it. A change is
// bracketed by Begin and Commit (or Cancel when it refused or changed nothing, so that it leaves
// no step).
//
// Steps are dropped oldest first once they hold more than the memory budget; at least the newest
// step is always kept. The history also knows whether the level differs from the last save, so
// the modified marker follows undo and redo.
class EditHistory {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;

    explicit EditHistory(std::size_t memoryBudget = kDefaultBudget) : m_nBudget(memoryBudget) {}

    // The state before a change. A Begin without Commit or Cancel is replaced by the next one.
    // With a scope, only what the scope names is kept: the change must stay within it.
    void Begin(const CDataLevel& level, std::span<const CMapSelItem> selection, int mode,
               const ChangeScope* scope = nullptr);
    bool InTransaction() const { return m_Pending.has_value(); }
    // The change is done: the state from Begin becomes an undo step; redo is lost.
    void Commit(std::string label);
    void Cancel() { m_Pending.reset(); }

    bool CanUndo() const { return !m_Undo.empty(); }
    bool CanRedo() const { return !m_Redo.empty(); }
    // The label of the step Undo or Redo would take back or repeat; empty when there is none.
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    // Return the level, selection and mode to the state before the last step (after it for
    // Redo). False when there is nothing to undo (redo).
    bool Undo(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode);
    bool Redo(CDataLevel& level, std::vector<CMapSelItem>& selection, int& mode);

    // The current state is what the file holds now.
    void MarkSaved() { m_nSavedState = m_nState; }
    // The current state differs from every file (a recovered copy): modified until saved.
    void MarkUnsaved() { m_nSavedState = kNoState; }
    bool IsModified() const { return m_nState != m_nSavedState; }
    // Forgets every step (a document reloaded from its file); the current state counts as saved.
    void Clear();

    std::size_t UndoCount() const { return m_Undo.size(); }
    std::size_t RedoCount() const { return m_Redo.size(); }
    // The labels of the steps Undo would take back, oldest first, and those Redo would repeat,
    // next first: together the document's history around its present state.
    std::vector<std::string> UndoLabels() const;
    std::vector<std::string> RedoLabels() const;
    std::size_t MemoryBytes() const;

private:
    using State = std::variant<LevelSnapshot, ScopedSnapshot>;
    // The level now, kept the way state was (whole, or the same scope).
    static State CaptureLike(const State& state, const CDataLevel& level,
                             std::span<const CMapSelItem> selection, int mode);
    static void Restore(const State& state, CDataLevel& level, std::vector<CMapSelItem>& selection,
                        int& mode);
    static std::size_t MemoryBytes(const State& state);

    struct Step {
        Step(State snapshot, std::string label, std::uint64_t state)
            : m_Snapshot(std::move(snapshot)), m_strLabel(std::move(label)), m_nState(state),
              m_nBytes(EditHistory::MemoryBytes(m_Snapshot)) {}
        State m_Snapshot; // the state this step returns to
        std::string m_strLabel;
        static constexpr std::uint64_t kNoState = ~std::uint64_t{0};
        std::uint64_t m_nState = 0; // the id of that state
        std::size_t m_nBytes = 0;   // what m_Snapshot holds, counted once
    };
    void Push(std::deque<Step>& steps, Step step);
    Step Pop(std::deque<Step>& steps);
    void Trim();

    std::size_t m_nBudget;
    std::optional<State> m_Pending;
    std::deque<Step> m_Undo;
    std::deque<Step> m_Redo;
    // The bytes of every step in m_Undo and m_Redo.
    std::size_t m_nBytes = 0;
    // Every distinct level state gets an id; the saved one is remembered to tell modified apart.
    static constexpr std::uint64_t kNoState = ~std::uint64_t{0};
    std::uint64_t m_nState = 0;
    std::uint64_t m_nSavedState = 0;
    std::uint64_t m_nNextState = 1;
};

} // namespace morvi
