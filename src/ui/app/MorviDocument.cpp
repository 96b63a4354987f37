#include "app/MorviDocument.h"

#include "gamefiles/DocumentFile.h"
#include "mapedit/CMapEngine.h"

#include <QFileInfo>

#include <filesystem>

namespace morvi::ui {

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

MorviDocument::MorviDocument(QObject* parent) : QObject(parent), m_pDoc(std::make_unique<CMorviDoc>()) {
    connectNotifiers();
}

MorviDocument::~MorviDocument() = default;

void MorviDocument::connectNotifiers() {
    CMorviDoc& doc = *m_pDoc;
    m_Connections.push_back(doc.m_StoreEdits.Connect([this] { emit storeEdits(); }));
    m_Connections.push_back(doc.m_SelectionChanged.Connect([this] { emit selectionChanged(); }));
    m_Connections.push_back(doc.m_GeometryChanged.Connect([this] { emit updated(kHintOther); }));
    m_Connections.push_back(doc.m_InfChanged.Connect([this] { emit infChanged(); }));
    m_Connections.push_back(doc.m_MembersChanged.Connect([this] { emit membersChanged(); }));
    m_Connections.push_back(doc.m_HistoryChanged.Connect([this] { onHistoryChanged(); }));
    m_MapStateConnection = doc.m_MapStateChanged.Connect([this](int hint) { emit updated(hint); });
}

void MorviDocument::onHistoryChanged() {
    emit historyChanged();
    const bool modified = m_pDoc->IsModified();
    if (modified == m_bWasModified) return;
    m_bWasModified = modified;
    emit modifiedChanged(modified);
}

QString MorviDocument::title() const {
    return m_strPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_strPath).fileName();
}

Status MorviDocument::open(const QString& path, const LevelChooser& chooser) {
    if (Status status = m_pDoc->Open(ToPath(path), chooser); !status) return status;
    m_strPath = path;
    emit pathChanged(m_strPath);
    return Status::Ok();
}

Status MorviDocument::openCopy(const QString& copyPath, const QString& originalPath) {
    if (Status status = open(copyPath, {}); !status) return status;
    m_pDoc->m_strPathName = originalPath.toStdString();
    m_strPath = originalPath;
    emit pathChanged(m_strPath);
    m_pDoc->MarkUnsaved();
    return Status::Ok();
}

void MorviDocument::startNew(const QString& templatePath) {
    // A template is no file of the user's: the first view does not fit it on screen.
    if (m_pDoc->Open(ToPath(templatePath), {})) m_pDoc->m_bNormalizeOnOpen = false;
    m_pDoc->m_strPathName.clear();
    m_strPath.clear();
}

Status MorviDocument::saveAs(const QString& path) {
    if (path.isEmpty()) return Status::Fail("The document has no file name yet.");
    if (Status status = m_pDoc->SaveAs(ToPath(path)); !status) return status;
    m_pDoc->m_strPathName = path.toStdString();
    if (m_strPath != path) {
        m_strPath = path;
        emit pathChanged(m_strPath);
    }
    return Status::Ok();
}

void MorviDocument::change(const QString& label, const std::function<unsigned()>& apply) {
    m_pDoc->BeginChange();
    m_pDoc->EndChange(label.toStdString(), apply());
}

EditResult MorviDocument::runEdit(const QString& label, const std::function<EditResult()>& command) {
    EditResult result;
    change(label, [&] {
        result = command();
        return ChangesOf(result);
    });
    return result;
}

void MorviDocument::beginEdit() {
    m_pDoc->BeginChange();
}

void MorviDocument::endEdit(const QString& label, unsigned changed) {
    m_pDoc->EndChange(label.toStdString(), changed);
}

void MorviDocument::updateAllViews(int hint) {
    m_pDoc->m_MapStateChanged(hint);
}

} // namespace morvi::ui
