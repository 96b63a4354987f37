#include "app/MorviDocument.h"

#include "gamefiles/DocumentFile.h"

#include <QFileInfo>

#include <filesystem>

namespace morvi::ui {

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

MorviDocument::MorviDocument(QObject* parent) : QObject(parent), m_pDoc(std::make_unique<CMorviDoc>()) {}

MorviDocument::~MorviDocument() = default;

QString MorviDocument::title() const {
    return m_strPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_strPath).fileName();
}

void MorviDocument::markModified() {
    m_bUntracked = true;
    setModified(true);
    emit edited();
}

void MorviDocument::setModified(bool modified) {
    if (m_pDoc->m_bModified == modified) return;
    m_pDoc->m_bModified = modified;
    emit modifiedChanged(modified);
}

Status MorviDocument::open(const QString& path, const LevelChooser& chooser) {
    auto fresh = std::make_unique<CMorviDoc>();
    if (Status status = LoadDocument(*fresh, ToPath(path), chooser); !status) return status;
    m_pDoc = std::move(fresh);
    m_History.Clear();
    m_bUntracked = false;
    m_strPath = path;
    emit pathChanged(m_strPath);
    emit modifiedChanged(false);
    emit historyChanged();
    return Status::Ok();
}

Status MorviDocument::openCopy(const QString& copyPath, const QString& originalPath) {
    if (Status status = open(copyPath, {}); !status) return status;
    m_pDoc->m_strPathName = originalPath.toStdString();
    m_strPath = originalPath;
    emit pathChanged(m_strPath);
    markModified();
    return Status::Ok();
}

void MorviDocument::startNew(const QString& templatePath) {
    auto fresh = std::make_unique<CMorviDoc>();
    if (LoadDocument(*fresh, ToPath(templatePath), {})) {
        m_pDoc = std::move(fresh);
        // A template is no file of the user's: the first view does not fit it on screen.
        m_pDoc->m_bNormalizeOnOpen = false;
    }
    m_pDoc->m_strPathName.clear();
    m_History.Clear();
    m_strPath.clear();
}

Status MorviDocument::saveAs(const QString& path) {
    if (path.isEmpty()) return Status::Fail("The document has no file name yet.");
    if (Status status = SaveDocument(*m_pDoc, ToPath(path)); !status) return status;
    m_pDoc->m_strPathName = path.toStdString();
    m_History.MarkSaved();
    m_bUntracked = false;
    if (m_strPath != path) {
        m_strPath = path;
        emit pathChanged(m_strPath);
    }
    setModified(false);
    emit historyChanged();
    return Status::Ok();
}

EditResult MorviDocument::runEdit(CMapEngine& engine, const QString& label,
                                  const std::function<EditResult()>& command) {
    beginEdit(engine);
    EditResult result = command();
    endEdit(label, result.m_bChanged);
    if (result.m_bSelectionChanged) emit selectionChanged();
    if (result.m_bInfChanged) emit infChanged();
    return result;
}

void MorviDocument::beginEdit(CMapEngine& engine) {
    m_History.Begin(engine);
}

void MorviDocument::endEdit(const QString& label, bool changed) {
    if (!changed) {
        m_History.Cancel();
        return;
    }
    m_History.Commit(label.toStdString());
    setModified(true);
    emit historyChanged();
    updateAllViews();
}

bool MorviDocument::undo(CMapEngine& engine) {
    if (!m_History.Undo(engine)) return false;
    setModified(m_bUntracked || m_History.IsModified());
    emit historyChanged();
    emit selectionChanged();
    emit infChanged();
    updateAllViews();
    return true;
}

bool MorviDocument::redo(CMapEngine& engine) {
    if (!m_History.Redo(engine)) return false;
    setModified(m_bUntracked || m_History.IsModified());
    emit historyChanged();
    emit selectionChanged();
    emit infChanged();
    updateAllViews();
    return true;
}

void MorviDocument::updateAllViews(int hint) {
    emit updated(hint);
}

} // namespace morvi::ui
