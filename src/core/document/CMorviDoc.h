#pragma once

#include "document/ChangeFlags.h"
#include "document/EditHistory.h"
#include "document/Notifier.h"
#include "document/Selection.h"
#include "gamefiles/DocumentData.h"
#include "gamefiles/LevelArchive.h"
#include "model/Status.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

// The document every window and command works on: the level with its archive, the map state its
// views share, the selection, and the history. Every change, from any window or command, goes
// through one funnel (BeginChange ... EndChange) and becomes one undo step; observers learn of it
// through the notifiers. Views keep only their viewport.
class CMorviDoc : public DocumentData {
public:
    // ---- Files ----------------------------------------------------------------------------------
    // Reads a document file or GOB archive; on success it replaces the level and the map state,
    // the selection is empty, the history forgotten and the document unmodified. On failure
    // nothing changes.
    Status Open(const std::filesystem::path& path, const LevelChooser& chooser);
    // Saves in the encoding the path's name selects (atomically); the path becomes the
    // document's and the document counts as unmodified. A failed save keeps the old file.
    Status SaveAs(const std::filesystem::path& path);
    // The current state is one no file holds (a recovered copy): modified until saved.
    void MarkUnsaved();

    // ---- Selection ------------------------------------------------------------------------------
    const std::vector<CMapSelItem>& selection() const { return m_Selection; }
    // For code that rebuilds the selection in place; it tells the observers itself (SetSelection,
    // or the flags of the change it makes).
    std::vector<CMapSelItem>& selection() { return m_Selection; }
    // Tool windows store what was typed, then the selection is replaced and observers are told.
    void SetSelection(std::vector<CMapSelItem> items);

    // ---- The funnel -----------------------------------------------------------------------------
    // Starts a change. Changes nest: only the outermost one makes a step. A change that stays
    // within a scope (a few records' values) may name it: its undo step then keeps only those, so
    // that editing one sector of a large level costs what that sector costs.
    void BeginChange(const ChangeScope* scope = nullptr);
    // Ends the change begun last. When the outermost change touched the level (any flag but the
    // selection) it becomes one undo step called label and the document is modified; a change of
    // the selection alone makes no step. Observers are told what changed.
    void EndChange(std::string_view label, unsigned changed);
    bool InChange() const { return m_nChangeDepth > 0; }
    // While observers are told of a change that named a scope: that scope; nullptr otherwise.
    const ChangeScope* NotifiedScope() const { return m_pNotifiedScope; }

    bool CanUndo() const { return m_History.CanUndo(); }
    bool CanRedo() const { return m_History.CanRedo(); }
    // The names of the steps Undo and Redo would take ("Paste", "Move"); empty when none.
    const std::string& UndoLabel() const { return m_History.UndoLabel(); }
    const std::string& RedoLabel() const { return m_History.RedoLabel(); }
    bool Undo();
    bool Redo();
    // Every step's name, oldest first, and how many of them are done: the History list.
    std::vector<std::string> HistoryLabels() const;
    std::size_t HistoryPosition() const { return m_History.UndoCount(); }
    // Undoes or redoes until position steps are done.
    void GoToHistoryPosition(std::size_t position);
    bool IsModified() const { return m_History.IsModified(); }
    const EditHistory& history() const { return m_History; }

    // ---- Notifiers ------------------------------------------------------------------------------
    // Before the selection changes: tool windows store what was typed.
    Notifier<> m_StoreEdits;
    Notifier<> m_SelectionChanged;
    Notifier<> m_GeometryChanged;
    Notifier<> m_InfChanged;
    Notifier<> m_MembersChanged;
    // Steps were added, undone or redone, or the modified state changed.
    Notifier<> m_HistoryChanged;
    // The shared map state changed (zoom, grid, layer, mode, tool): every view lays itself out
    // again. The hint says what changed (kHintZoom, kHintGrid, kHintOther of the map engine).
    Notifier<int> m_MapStateChanged;

    // The display tool of sector mode (not stored in the document file).
    int m_nTool = 0;
    // The lowest and highest sector layer, recomputed by every map draw.
    int m_nMinLayer = 0;
    int m_nMaxLayer = 0;

private:
    void Notify(unsigned changed);

    std::vector<CMapSelItem> m_Selection;
    EditHistory m_History;
    int m_nChangeDepth = 0;
    unsigned m_nPendingChanges = kChangedNothing;
    std::optional<ChangeScope> m_PendingScope;
    const ChangeScope* m_pNotifiedScope = nullptr;
};

} // namespace morvi
