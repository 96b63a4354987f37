#pragma once

#include "gamefiles/LevelArchive.h"
#include "mapedit/EditHistory.h"
#include "mapedit/EditResult.h"
#include "model/CMorviDoc.h"
#include "model/Status.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace morvi::ui {

// One open document: the core document (level and shared map state), its undo history and its
// file. The map views, tool windows and the main frame listen to its signals; every change of the
// level goes through it so that undo, the modified marker and the views stay in step.
class MorviDocument : public QObject {
    Q_OBJECT
public:
    explicit MorviDocument(QObject* parent = nullptr);
    ~MorviDocument() override;

    CMorviDoc& doc() { return *m_pDoc; }
    CDataLevel& level() { return m_pDoc->level(); }
    EditHistory& history() { return m_History; }

    // The file the document was read from or last saved to; empty for a new document.
    QString path() const { return m_strPath; }
    // The title shown in window captions: the file name, or "Untitled" for a new document.
    QString title() const;
    bool isModified() const { return m_pDoc->m_bModified; }
    // Marks a change that is not an undo step (a text member edited, the level header).
    void markModified();

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

    // Runs one map command as one undo step on the engine: a step is kept only when the command
    // changed the level. The views are updated and the modified marker set.
    EditResult runEdit(CMapEngine& engine, const QString& label, const std::function<EditResult()>& command);
    // Brackets a change made outside runEdit (a mouse drag) as one undo step.
    void beginEdit(CMapEngine& engine);
    void endEdit(const QString& label, bool changed);
    bool undo(CMapEngine& engine);
    bool redo(CMapEngine& engine);

    // Every view of the document lays itself out again and repaints (hint: kHintZoom, kHintGrid,
    // kHintOther).
    void updateAllViews(int hint = kHintOther);
    // The selection of the document's active engine changed.
    void notifySelectionChanged() { emit selectionChanged(); }
    // The INF part was replaced outside the INF editor (the raw text editor): its views reload.
    void notifyInfChanged() { emit infChanged(); }

signals:
    void updated(int hint);
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    void selectionChanged();
    void infChanged();
    void historyChanged();
    // A change that is not an undo step (markModified), each time, even when already modified.
    void edited();

private:
    void setModified(bool modified);

    std::unique_ptr<CMorviDoc> m_pDoc;
    EditHistory m_History;
    QString m_strPath;
    // A change no undo step covers: the document stays modified until saved.
    bool m_bUntracked = false;
};

} // namespace morvi::ui
