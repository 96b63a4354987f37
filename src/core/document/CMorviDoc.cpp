#include "document/CMorviDoc.h"

#include "gamefiles/DocumentFile.h"

namespace morvi {

Status CMorviDoc::Open(const std::filesystem::path& path, const LevelChooser& chooser) {
    DocumentData fresh;
    if (Status status = LoadDocument(fresh, path, chooser); !status) return status;
    static_cast<DocumentData&>(*this) = std::move(fresh);
    m_strPathName = path.string();
    m_Selection.clear();
    // A document saved while in 3D opens on its map: the 3D view starts only when asked for.
    if (m_nMode == kModePerspective) m_nMode = kModeSector;
    m_History.Clear();
    m_nChangeDepth = 0;
    m_nPendingChanges = kChangedNothing;
    Notify(kChangedEverything);
    m_HistoryChanged();
    return Status::Ok();
}

Status CMorviDoc::SaveAs(const std::filesystem::path& path) {
    if (Status status = SaveDocument(*this, path); !status) return status;
    m_strPathName = path.string();
    m_History.MarkSaved();
    m_HistoryChanged();
    return Status::Ok();
}

void CMorviDoc::MarkUnsaved() {
    m_History.MarkUnsaved();
    m_HistoryChanged();
}

void CMorviDoc::SetSelection(std::vector<CMapSelItem> items) {
    m_StoreEdits();
    m_Selection = std::move(items);
    m_SelectionChanged();
}

void CMorviDoc::BeginChange(const ChangeScope* scope) {
    if (m_nChangeDepth++ > 0) return;
    m_nPendingChanges = kChangedNothing;
    m_History.Begin(level(), m_Selection, m_nMode, scope);
    m_PendingScope.reset();
    if (scope) m_PendingScope = *scope;
}

void CMorviDoc::EndChange(std::string_view label, unsigned changed) {
    if (m_nChangeDepth == 0) return;
    m_nPendingChanges |= changed;
    if (--m_nChangeDepth > 0) return;
    const unsigned all = m_nPendingChanges;
    m_nPendingChanges = kChangedNothing;
    if ((all & ~kChangedSelection) == 0) {
        m_History.Cancel();
        Notify(all);
        return;
    }
    m_History.Commit(std::string(label));
    m_pNotifiedScope = m_PendingScope ? &*m_PendingScope : nullptr;
    Notify(all);
    m_pNotifiedScope = nullptr;
    m_HistoryChanged();
}

bool CMorviDoc::Undo() {
    if (InChange() || !m_History.Undo(level(), m_Selection, m_nMode)) return false;
    Notify(kChangedEverything);
    m_HistoryChanged();
    return true;
}

bool CMorviDoc::Redo() {
    if (InChange() || !m_History.Redo(level(), m_Selection, m_nMode)) return false;
    Notify(kChangedEverything);
    m_HistoryChanged();
    return true;
}

std::vector<std::string> CMorviDoc::HistoryLabels() const {
    std::vector<std::string> labels = m_History.UndoLabels();
    for (std::string& label : m_History.RedoLabels())
        labels.push_back(std::move(label));
    return labels;
}

void CMorviDoc::GoToHistoryPosition(std::size_t position) {
    if (InChange()) return;
    bool moved = false;
    while (m_History.UndoCount() > position && m_History.Undo(level(), m_Selection, m_nMode))
        moved = true;
    while (m_History.UndoCount() < position && m_History.Redo(level(), m_Selection, m_nMode))
        moved = true;
    if (!moved) return;
    Notify(kChangedEverything);
    m_HistoryChanged();
}

void CMorviDoc::Notify(unsigned changed) {
    if (changed & kChangedGeometry) m_GeometryChanged();
    if (changed & kChangedInf) m_InfChanged();
    if (changed & kChangedMembers) m_MembersChanged();
    if (changed & kChangedSelection) m_SelectionChanged();
}

} // namespace morvi
