#include "resources/ArchiveManagerWindow.h"

#include "app/AppContext.h"
#include "app/DialogKit.h"
#include "app/FileDialogs.h"
#include "app/LongTask.h"
#include "gamefiles/AtomicFile.h"
#include "model/CDataGobEntry.h"
#include "resources/LevelPalette.h"
#include "resources/LfdArchive.h"
#include "resources/ResourceImage.h"
#include "resources/ResourcePreview.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <array>
#include <set>

namespace morvi::ui {

namespace {

// Added files are read whole; a GOB cannot hold more.
constexpr std::uint64_t kMaxMemberFile = 0xFFFFFFFFull;

QString Q(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

Status WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    return WriteFileAtomically(FsPath(path), [&](ByteSink& sink) {
        sink.Write(bytes);
        return Status::Ok();
    });
}

void ShowFailure(QWidget* parent, const Status& status) {
    if (!status && status.message() != kWorkCancelled)
        QMessageBox::warning(parent, QStringLiteral("Morvi"), QString::fromStdString(status.message()));
}

std::array<QPointer<ArchiveManagerWindow>, 2>& Managers() {
    static std::array<QPointer<ArchiveManagerWindow>, 2> windows;
    return windows;
}

} // namespace

// ---- The member list ---------------------------------------------------------------------------

ArchiveMemberModel::ArchiveMemberModel(ManagedArchive& archive, QObject* parent)
    : QAbstractTableModel(parent), m_pArchive(&archive) {
    order();
}

void ArchiveMemberModel::order() {
    m_Rows = MemberRows(m_pArchive->members(), m_strFilter, m_SortBy, m_bDescending);
}

void ArchiveMemberModel::reload() {
    beginResetModel();
    order();
    endResetModel();
}

void ArchiveMemberModel::setArchive(ManagedArchive& archive) {
    m_pArchive = &archive;
    reload();
}

void ArchiveMemberModel::setFilter(const QString& text) {
    m_strFilter = text.toStdString();
    reload();
}

void ArchiveMemberModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged();
    const int field = column - nameColumn() + 1;
    m_SortBy = column < 0 ? std::nullopt : std::optional<MemberColumn>(static_cast<MemberColumn>(field));
    m_bDescending = order == Qt::DescendingOrder;
    this->order();
    emit layoutChanged();
}

int ArchiveMemberModel::nameColumn() const {
    return m_pArchive->kind() == ArchiveKind::Lfd ? 1 : 0;
}

int ArchiveMemberModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Rows.size());
}

int ArchiveMemberModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : nameColumn() + 3;
}

QVariant ArchiveMemberModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ManagedMember& member = m_pArchive->members()[memberAt(index.row())];
    const int column = index.column() - nameColumn();
    if (role == Qt::TextAlignmentRole)
        return column > 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                          : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::UserRole) return {};
    switch (column) {
    case -1:
        return Q(member.m_strType);
    case 0:
        return Q(member.m_strName);
    case 1:
        return role == Qt::UserRole ? QVariant(member.m_nOffset)
                                    : QVariant(QString::number(member.m_nOffset));
    default:
        return role == Qt::UserRole ? QVariant(member.m_nSize) : QVariant(QString::number(member.m_nSize));
    }
}

QVariant ArchiveMemberModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QStringList gob{QStringLiteral("Name"), QStringLiteral("Offset"), QStringLiteral("Size")};
    static const QStringList lfd{QStringLiteral("Type"), QStringLiteral("Name"), QStringLiteral("Offset"),
                                 QStringLiteral("Size")};
    const QStringList& names = m_pArchive->kind() == ArchiveKind::Lfd ? lfd : gob;
    return section >= 0 && section < names.size() ? names[section] : QVariant();
}

Qt::ItemFlags ArchiveMemberModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList ArchiveMemberModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

// Dragged members are written as files of their suggested names into a scratch folder that lives
// as long as the window, so that a file manager can copy them.
QMimeData* ArchiveMemberModel::mimeData(const QModelIndexList& indexes) const {
    if (!m_pScratch) m_pScratch = std::make_unique<QTemporaryDir>();
    std::set<std::size_t> members;
    for (const QModelIndex& index : indexes)
        members.insert(memberAt(index.row()));
    QList<QUrl> urls;
    for (std::size_t i : members) {
        std::vector<std::uint8_t> bytes;
        if (!m_pArchive->ReadMember(i, bytes)) continue;
        const QString path = m_pScratch->filePath(Q(m_pArchive->SuggestedFileName(i)));
        if (WriteBytes(path, bytes)) urls << QUrl::fromLocalFile(path);
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions ArchiveMemberModel::supportedDropActions() const {
    return Qt::CopyAction;
}

Qt::DropActions ArchiveMemberModel::supportedDragActions() const {
    return Qt::CopyAction;
}

bool ArchiveMemberModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                         const QModelIndex&) const {
    return data && data->hasUrls();
}

bool ArchiveMemberModel::dropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex&) {
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        // Members dragged out of this list and dropped back in are not added twice.
        if (url.isLocalFile() && !(m_pScratch && url.toLocalFile().startsWith(m_pScratch->path())))
            paths << url.toLocalFile();
    }
    if (!paths.isEmpty()) emit filesDropped(paths);
    return !paths.isEmpty();
}

// ---- The window ----------------------------------------------------------------------------------

ArchiveManagerWindow::ArchiveManagerWindow(ArchiveKind kind, QWidget* parent)
    : QDialog(parent), m_Kind(kind), m_pArchive(ManagedArchive::Make(kind)),
      m_pPreview(std::make_unique<ResourcePreview>(nullptr, AppContext::instance().resources())) {
    setObjectName(kind == ArchiveKind::Gob ? QStringLiteral("GobManager") : QStringLiteral("LfdManager"));
    setModal(false);
    setSizeGripEnabled(true);
    m_pModel = new ArchiveMemberModel(*m_pArchive, this);

    m_pFilter = new QLineEdit(this);
    m_pFilter->setObjectName(QStringLiteral("filter"));
    m_pFilter->setPlaceholderText(QStringLiteral("Filter"));
    m_pFilter->setClearButtonEnabled(true);
    connect(m_pFilter, &QLineEdit::textChanged, m_pModel, &ArchiveMemberModel::setFilter);

    m_pList = new QTreeView(this);
    m_pList->setObjectName(QStringLiteral("members"));
    m_pList->setModel(m_pModel);
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setDragDropMode(QAbstractItemView::DragDrop);
    m_pList->setDefaultDropAction(Qt::CopyAction);
    m_pList->setDropIndicatorShown(false);
    m_pList->setSortingEnabled(true);
    m_pList->sortByColumn(-1, Qt::AscendingOrder);
    const std::vector<int> widths =
        kind == ArchiveKind::Gob ? std::vector<int>{100, 63, 79} : std::vector<int>{46, 70, 63, 63};
    for (std::size_t c = 0; c < widths.size(); ++c)
        m_pList->setColumnWidth(static_cast<int>(c), widths[c] + 20);
    connect(m_pModel, &ArchiveMemberModel::filesDropped, this, &ArchiveManagerWindow::addFiles);
    const auto selectionChanged = [this] {
        showSelection();
        updateButtons();
    };
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionChanged);
    // A new filter or archive drops the selection without a selection signal.
    connect(m_pModel, &QAbstractItemModel::modelReset, this, selectionChanged);

    m_pArea = new ResourcePreviewArea(this);
    m_pArea->setMinimumSize(240, 200);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* open = button(QStringLiteral("&Open"), "open");
    QPushButton* add = button(QStringLiteral("&Add"), "add");
    m_pSaveAs = button(QStringLiteral("&Save As"), "saveAs");
    m_pDelete = button(QStringLiteral("&Delete"), "delete");
    QPushButton* close = button(QStringLiteral("&Close"), "close");
    QPushButton* help = button(QStringLiteral("&Help"), "help");
    connect(open, &QPushButton::clicked, this, &ArchiveManagerWindow::onOpen);
    connect(add, &QPushButton::clicked, this, &ArchiveManagerWindow::onAdd);
    connect(m_pSaveAs, &QPushButton::clicked, this, &ArchiveManagerWindow::onSaveAs);
    connect(m_pDelete, &QPushButton::clicked, this, &ArchiveManagerWindow::onDelete);
    connect(close, &QPushButton::clicked, this, &ArchiveManagerWindow::reject);
    ConnectHelp(this, help, QStringLiteral("managers.md"));

    // The GOB manager puts Save As before Add, the LFD manager after it.
    QVBoxLayout* buttons = kind == ArchiveKind::Gob
                               ? ButtonColumn({open, m_pSaveAs, add, m_pDelete}, {close, help})
                               : ButtonColumn({open, add, m_pSaveAs, m_pDelete}, {close, help});
    auto* left = new QVBoxLayout;
    left->addWidget(m_pFilter);
    left->addWidget(m_pList, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addWidget(m_pArea, 2);
    layout->addLayout(buttons);
    resize(760, 420);
    updateTitle();
    updateButtons();
}

ArchiveManagerWindow::~ArchiveManagerWindow() {
    // The child widgets outlive the archive the model reads.
    m_pList->setModel(nullptr);
    m_pPreview->stopSound();
}

void ArchiveManagerWindow::updateTitle() {
    const QString title =
        m_Kind == ArchiveKind::Gob ? QStringLiteral("GOB Manager") : QStringLiteral("LFD Manager");
    setWindowTitle(m_strPath.isEmpty() ? title
                                       : title + QStringLiteral(" - ") + QFileInfo(m_strPath).fileName());
}

void ArchiveManagerWindow::updateButtons() {
    // Save As writes the archive with nothing selected, the selected members otherwise.
    m_pSaveAs->setEnabled(!m_strPath.isEmpty() || !m_pArchive->members().empty());
    m_pDelete->setEnabled(!selectedMembers().empty());
}

std::vector<std::size_t> ArchiveManagerWindow::selectedMembers() const {
    std::vector<std::size_t> members;
    for (const QModelIndex& index : m_pList->selectionModel()->selectedRows())
        members.push_back(m_pModel->memberAt(index.row()));
    std::sort(members.begin(), members.end());
    return members;
}

bool ArchiveManagerWindow::openArchive(const QString& path) {
    auto opened = ManagedArchive::Make(m_Kind);
    const Status status =
        RunLongTask(this, QStringLiteral("Reading %1...").arg(QFileInfo(path).fileName()),
                    [&](TaskProgress& progress) { return opened->Open(FsPath(path), progress); });
    if (!status) {
        ShowFailure(this, status);
        return false;
    }
    // The archive was read on another thread into an object of its own; the list shows it now.
    m_pList->selectionModel()->clear();
    std::swap(m_pArchive, opened);
    m_pModel->setArchive(*m_pArchive);
    m_strPath = path;
    updateTitle();
    showSelection();
    updateButtons();
    return true;
}

void ArchiveManagerWindow::addFiles(const QStringList& paths) {
    QStringList refused;
    for (const QString& path : paths) {
        std::vector<std::uint8_t> bytes;
        Status status = ReadResourceFile(FsPath(path), kMaxMemberFile, bytes);
        if (status) status = m_pArchive->AddFile(QFileInfo(path).fileName().toStdString(), std::move(bytes));
        if (!status) refused << QString::fromStdString(status.message());
    }
    m_pModel->reload();
    updateButtons();
    if (!refused.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Morvi"), refused.join(QLatin1Char('\n')));
}

bool ArchiveManagerWindow::saveArchive(const QString& path) {
    const Status status =
        RunLongTask(this, QStringLiteral("Writing %1...").arg(QFileInfo(path).fileName()),
                    [&](TaskProgress& progress) { return m_pArchive->Save(FsPath(path), progress); });
    m_pModel->reload();
    if (!status) {
        ShowFailure(this, status);
        return false;
    }
    m_strPath = path;
    updateTitle();
    updateButtons();
    return true;
}

bool ArchiveManagerWindow::saveMembers(const std::vector<std::size_t>& members) {
    if (members.size() == 1) {
        const std::size_t i = members.front();
        const MemberFileType type = m_pArchive->SaveAsType(i);
        FileQuestion question{FileQuestion::Kind::Save, QStringLiteral("Save As"),
                              QtFileFilter(type.m_Filter), Q(type.m_Extension),
                              Q(m_pArchive->SuggestedFileName(i))};
        const QString path = AskFile(this, question);
        if (path.isEmpty()) return false;
        std::vector<std::uint8_t> bytes;
        Status status = m_pArchive->ReadMember(i, bytes);
        if (status) status = WriteBytes(path, bytes);
        ShowFailure(this, status);
        return status.ok();
    }
    const QString folder =
        AskFile(this, {FileQuestion::Kind::Folder, QStringLiteral("Save the Members in"), {}, {}, {}});
    if (folder.isEmpty()) return false;
    QStringList existing;
    for (std::size_t i : members)
        if (QFileInfo::exists(QDir(folder).filePath(Q(m_pArchive->SuggestedFileName(i)))))
            existing << Q(m_pArchive->SuggestedFileName(i));
    if (!existing.isEmpty() &&
        QMessageBox::question(this, QStringLiteral("Morvi"),
                              QStringLiteral("Replace these files in %1?\n%2")
                                  .arg(folder, existing.join(QStringLiteral(", ")))) != QMessageBox::Yes)
        return false;
    const Status status =
        RunLongTask(this, QStringLiteral("Saving the members..."), [&](TaskProgress& progress) {
            progress.m_nTotal = members.size();
            for (std::size_t i : members) {
                if (progress.Cancelled()) return Status::Fail(std::string(kWorkCancelled));
                std::vector<std::uint8_t> bytes;
                if (Status read = m_pArchive->ReadMember(i, bytes); !read) return read;
                const QString path = QDir(folder).filePath(Q(m_pArchive->SuggestedFileName(i)));
                if (Status written = WriteBytes(path, bytes); !written) return written;
                progress.Advance(1);
            }
            return Status::Ok();
        });
    ShowFailure(this, status);
    return status.ok();
}

void ArchiveManagerWindow::onOpen() {
    if (!mayDiscard()) return;
    const QString path = AskFile(
        this, {FileQuestion::Kind::Open, QStringLiteral("Open"), QtFileFilter(m_pArchive->ArchiveFilter()),
               m_Kind == ArchiveKind::Gob ? QStringLiteral("GOB") : QStringLiteral("LFD"), m_strPath});
    if (!path.isEmpty()) openArchive(path);
}

void ArchiveManagerWindow::onAdd() {
    const QStringList paths =
        AskFiles(this, {FileQuestion::Kind::OpenMany,
                        QStringLiteral("Add"),
                        QtFileFilter(m_pArchive->AddFilter()),
                        m_Kind == ArchiveKind::Gob ? QStringLiteral("LEV") : QStringLiteral("LFD"),
                        {}});
    if (!paths.isEmpty()) addFiles(paths);
}

void ArchiveManagerWindow::onSaveAs() {
    const std::vector<std::size_t> members = selectedMembers();
    if (!members.empty()) {
        saveMembers(members);
        return;
    }
    const MemberFileType archiveType{"", m_pArchive->ArchiveFilter(),
                                     m_Kind == ArchiveKind::Gob ? "GOB" : "LFD"};
    const QString path =
        AskFile(this, {FileQuestion::Kind::Save, QStringLiteral("Save As"),
                       QtFileFilter(archiveType.m_Filter), Q(archiveType.m_Extension), m_strPath});
    if (!path.isEmpty()) saveArchive(path);
}

void ArchiveManagerWindow::onDelete() {
    const std::vector<std::size_t> members = selectedMembers();
    if (members.empty()) return;
    m_pList->selectionModel()->clear();
    m_pArchive->Delete(members);
    m_pModel->reload();
    showSelection();
    updateButtons();
}

// One selected member is shown when the preview knows its kind; anything else clears the area.
void ArchiveManagerWindow::showSelection() {
    const std::vector<std::size_t> members = selectedMembers();
    bool shown = false;
    m_pPreview->stopSound();
    if (members.size() == 1) {
        const std::size_t i = members.front();
        const std::string extension = m_pArchive->PreviewExtension(i);
        // A sound plays as it is shown; the sound device is only looked for then.
        const bool sound = extension == ".voc";
        m_pPreview->setSoundManager(sound ? &AppContext::instance().sounds() : nullptr);
        std::vector<std::uint8_t> bytes;
        if (!extension.empty() && m_pArchive->ReadMember(i, bytes)) {
            const std::string& name = m_pArchive->members()[i].m_strName;
            const CDataGobEntry entry(name, bytes);
            shown = m_pPreview->load(extension, name, true, &entry);
        }
    }
    m_pArea->setPreview(shown ? m_pPreview.get() : nullptr);
}

bool ArchiveManagerWindow::mayDiscard() {
    if (!m_pArchive->modified()) return true;
    const QString name =
        m_strPath.isEmpty() ? QStringLiteral("the new archive") : QFileInfo(m_strPath).fileName();
    const auto answer =
        QMessageBox::question(this, QStringLiteral("Morvi"), QStringLiteral("Save changes to %1?").arg(name),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) return true;
    QString path = m_strPath;
    if (path.isEmpty())
        path = AskFile(this, {FileQuestion::Kind::Save,
                              QStringLiteral("Save As"),
                              QtFileFilter(m_pArchive->ArchiveFilter()),
                              {},
                              {}});
    return !path.isEmpty() && saveArchive(path);
}

// Close, Escape and the window's close button all come here (the dialog's close event rejects).
// A closed manager is made anew the next time, so that changes thrown away stay away.
void ArchiveManagerWindow::reject() {
    if (!mayDiscard()) return;
    QDialog::reject();
    if (testAttribute(Qt::WA_DeleteOnClose)) deleteLater();
}

void ArchiveManagerWindow::hideEvent(QHideEvent* event) {
    m_pPreview->stopSound();
    QDialog::hideEvent(event);
}

ArchiveManagerWindow* ShowArchiveManager(ArchiveKind kind, QWidget* parent, CDataLevel* level) {
    QPointer<ArchiveManagerWindow>& window = Managers()[kind == ArchiveKind::Gob ? 0 : 1];
    if (!window) {
        window = new ArchiveManagerWindow(kind, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (const std::optional<GamePalette> palette =
                currentLevelPalette(level, AppContext::instance().resources()))
            window->preview().setBasePalette(*palette);
    }
    ShowInFront(window);
    return window;
}

} // namespace morvi::ui
