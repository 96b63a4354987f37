#pragma once

#include "document/CMorviDoc.h"
#include "gamefiles/LevelArchive.h"
#include "mapedit/EditResult.h"
#include "model/Status.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace morvi::ui {

// The Qt face of one open document: the core document (level, map state, selection, history and
// the one change funnel) and its file. It turns the core document's notifiers into signals, so
// the map views, tool windows and the main frame follow every change made anywhere.
class MorviDocument : public QObject {
    Q_OBJECT
public:
    explicit MorviDocument(QObject* parent = nullptr);
    ~MorviDocument() override;

    CMorviDoc& doc() { return *m_pDoc; }
    const CMorviDoc& doc() const { return *m_pDoc; }
    CDataLevel& level() { return m_pDoc->level(); }
    const EditHistory& history() const { return m_pDoc->history(); }

    // The file the document was read from or last saved to; empty for a new document.
    QString path() const { return m_strPath; }
    // The title shown in window captions: the file name, or "Untitled" for a new document.
    QString title() const;
    bool isModified() const { return m_pDoc->IsModified(); }

    // Reads a document file or GOB archive; the document is replaced only on success.
    Status open(const QString& path, const LevelChooser& chooser);
    // Reads a copy of the document kept elsewhere (an autosaved recovery file) as if it were the
    // file at originalPath, changed since it was saved: the path becomes originalPath (empty for a
    // document never saved) and the document counts as modified.
    Status openCopy(const QString& copyPath, const QString& originalPath);
    // A new document from the template file; an unreadable template leaves the model defaults.
    void startNew(const QString& templatePath);
    // Saves to the path (atomically); on success it becomes the document's path and the document
    // counts as unmodified. A failed save keeps the old file and says why.
    Status saveAs(const QString& path);
    Status save() { return saveAs(m_strPath); }

    // The one way to change the document: apply runs between the start and the end of one
    // change, which becomes one undo step called label when apply reports what it changed
    // (ChangeFlags) and is dropped when it reports nothing.
    void change(const QString& label, const std::function<unsigned()>& apply);
    // Runs one map command as one change: a step is kept only when the command changed the level.
    EditResult runEdit(const QString& label, const std::function<EditResult()>& command);
    // Brackets a change made over several events (a mouse drag) as one change.
    void beginEdit();
    void endEdit(const QString& label, unsigned changed);
    bool undo() { return m_pDoc->Undo(); }
    bool redo() { return m_pDoc->Redo(); }

    // The shared map state changed: every view of the document lays itself out again and
    // repaints (hint: kHintZoom, kHintGrid, kHintOther).
    void updateAllViews(int hint = 0);
    // The selection was changed in place by a map rule: its observers reload.
    void notifySelectionChanged() { m_pDoc->m_SelectionChanged(); }
    // The map view used last (focused, clicked or shown last): it writes the status panes.
    QObject* activeView() const { return m_pActiveView; }
    void setActiveView(QObject* view) { m_pActiveView = view; }

signals:
    // The views lay themselves out again and repaint (the map state or the level changed).
    void updated(int hint);
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    // Tool windows store what was typed: the selection is about to change.
    void storeEdits();
    void selectionChanged();
    void infChanged();
    void membersChanged();
    // Steps were added, undone or redone, or the modified state changed.
    void historyChanged();

private:
    void connectNotifiers();
    void onHistoryChanged();

    std::unique_ptr<CMorviDoc> m_pDoc;
    QPointer<QObject> m_pActiveView;
    QString m_strPath;
    bool m_bWasModified = false;
    std::vector<Notifier<>::Connection> m_Connections;
    Notifier<int>::Connection m_MapStateConnection;
};

} // namespace morvi::ui
