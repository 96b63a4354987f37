#include "resources/LevelFilesDialog.h"

#include "app/AppContext.h"
#include "app/DialogKit.h"
#include "app/FileDialogs.h"
#include "app/MorviDocument.h"
#include "app/TextEditorWindow.h"
#include "document/ChangeFlags.h"
#include "model/CDataLevel.h"
#include "resources/GamePalette.h"
#include "resources/LevelResourceFiles.h"
#include "resources/MemberFileTypes.h"
#include "resources/PaletteEditDialog.h"
#include "resources/ResourceImage.h"
#include "resources/ResourcePreview.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace morvi::ui {

namespace {

enum Column { kName, kOffset, kSize };
constexpr int kMemberRole = Qt::UserRole;

std::vector<LevelFilesDialog*>& Registry() {
    static std::vector<LevelFilesDialog*> windows;
    return windows;
}

QString Text(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// The folder the last file question ended in, so that the next one starts there.
QString& LastFolder() {
    static QString folder;
    return folder;
}

void Remember(const QString& path) {
    LastFolder() = QFileInfo(path).absolutePath();
}

QString StartFor(const QString& name) {
    return LastFolder().isEmpty() ? name : QDir(LastFolder()).filePath(name);
}

} // namespace

LevelFilesDialog::LevelFilesDialog(MorviDocument& document, QWidget* parent)
    : QDialog(parent), m_pDocument(&document),
      m_pPreview(std::make_unique<ResourcePreview>(&document.level(), AppContext::instance().resources())) {
    setObjectName(QStringLiteral("LevelFiles"));
    setModal(false);
    setWindowTitle(QStringLiteral("Files"));
    buildControls();
    fill();
    connect(&document, &MorviDocument::membersChanged, this, &LevelFilesDialog::fill);
    connect(&document, &QObject::destroyed, this, [this] {
        m_pList->clear();
        close();
        deleteLater();
    });
    Registry().push_back(this);
}

LevelFilesDialog::~LevelFilesDialog() {
    if (m_pPreview) m_pPreview->stopSound();
    auto& windows = Registry();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void LevelFilesDialog::buildControls() {
    m_pList = Named(new QTreeWidget, "files");
    m_pList->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Offset"), QStringLiteral("Size")});
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setColumnWidth(kName, 100);
    m_pList->setColumnWidth(kOffset, 63);
    m_pList->setColumnWidth(kSize, 79);
    m_pList->headerItem()->setTextAlignment(kOffset, Qt::AlignRight | Qt::AlignVCenter);
    m_pList->headerItem()->setTextAlignment(kSize, Qt::AlignRight | Qt::AlignVCenter);
    m_pList->setMinimumWidth(100 + 63 + 79 + 24);
    m_pArea = new ResourcePreviewArea(this);

    const auto button = [](const char* text, const char* name) {
        return Named(new QPushButton(QString::fromLatin1(text)), name);
    };
    QPushButton* add = button("&Add", "add");
    m_pSaveAs = button("&Save As", "saveAs");
    m_pDelete = button("&Delete", "delete");
    m_pEdit = button("&Edit", "edit");
    QPushButton* close = button("&Close", "close");
    QPushButton* help = button("&Help", "help");
    close->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, m_pSaveAs, m_pDelete, m_pEdit, close, help})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addWidget(m_pArea, 1);
    layout->addLayout(buttons);
    resize(720, 360);

    connect(add, &QPushButton::clicked, this, &LevelFilesDialog::addFiles);
    connect(m_pSaveAs, &QPushButton::clicked, this, &LevelFilesDialog::saveAs);
    connect(m_pDelete, &QPushButton::clicked, this, &LevelFilesDialog::deleteSelected);
    connect(m_pEdit, &QPushButton::clicked, this, &LevelFilesDialog::editCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    ConnectHelp(this, help, QStringLiteral("files.md"));
    connect(m_pList, &QTreeWidget::currentItemChanged, this, &LevelFilesDialog::showCurrent);
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &LevelFilesDialog::updateButtons);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &LevelFilesDialog::editCurrent);
}

void LevelFilesDialog::fill() {
    if (!m_pDocument) return;
    CDataLevel& level = m_pDocument->level();
    // The offsets are the layout the archive writer gives the members; it lays them out again at
    // every save, so this is no change of the document.
    RecomputeOffsets(level);
    QSet<QString> selected;
    for (const QTreeWidgetItem* item : m_pList->selectedItems())
        selected.insert(item->text(kName));
    const QString current = m_pList->currentItem() ? m_pList->currentItem()->text(kName) : QString();

    const QSignalBlocker blocker(m_pList);
    m_pList->clear();
    QTreeWidgetItem* currentItem = nullptr;
    for (std::size_t i : ShownResources(level)) {
        const CDataGobEntry& member = *level.m_pMembers[i];
        auto* item = new QTreeWidgetItem(m_pList, {Text(member.m_strName), QString::number(member.m_nOffset),
                                                   QString::number(member.m_nSize)});
        item->setData(kName, kMemberRole, QVariant::fromValue<qulonglong>(i));
        item->setTextAlignment(kOffset, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kSize, Qt::AlignRight | Qt::AlignVCenter);
        item->setSelected(selected.contains(item->text(kName)));
        if (!currentItem && item->text(kName) == current) currentItem = item;
    }
    if (currentItem) m_pList->setCurrentItem(currentItem, 0, QItemSelectionModel::NoUpdate);
    showCurrent();
}

void LevelFilesDialog::showCurrent() {
    bool shown = false;
    m_pArea->setPreview(nullptr);
    if (m_pPreview) m_pPreview->stopSound();
    const QTreeWidgetItem* item = m_pList->currentItem();
    if (item && m_pDocument) {
        CDataLevel& level = m_pDocument->level();
        const auto i = static_cast<std::size_t>(item->data(kName, kMemberRole).toULongLong());
        const CDataGobEntry& member = *level.m_pMembers[i];
        const std::string extension = PreviewExtensionOf(member.m_strName);
        if (!extension.empty()) {
            // The document may have read another level since the last load: bind to the current one.
            m_pPreview = std::make_unique<ResourcePreview>(&level, AppContext::instance().resources());
            // A sound plays as it is shown; the sound device is only looked for then.
            if (extension == ".voc") m_pPreview->setSoundManager(&AppContext::instance().sounds());
            shown = m_pPreview->load(extension, member.m_strName, true, &member);
        }
    }
    m_pArea->setPreview(shown ? m_pPreview.get() : nullptr);
    updateButtons();
}

void LevelFilesDialog::updateButtons() {
    const std::vector<std::size_t> members = selectedMembers();
    m_pSaveAs->setEnabled(!members.empty());
    m_pDelete->setEnabled(!members.empty());
    const QTreeWidgetItem* item = m_pList->currentItem();
    m_pEdit->setEnabled(item && ResourceEditOf(item->text(kName).toStdString()) != ResourceEdit::None);
}

std::vector<std::size_t> LevelFilesDialog::selectedMembers() const {
    std::vector<std::size_t> members;
    for (const QTreeWidgetItem* item : m_pList->selectedItems())
        members.push_back(static_cast<std::size_t>(item->data(kName, kMemberRole).toULongLong()));
    std::sort(members.begin(), members.end());
    return members;
}

void LevelFilesDialog::addFiles() {
    if (!m_pDocument) return;
    FileQuestion question;
    question.m_Kind = FileQuestion::Kind::OpenMany;
    question.m_strTitle = QStringLiteral("Add");
    question.m_strFilter = QtFileFilter(kAddResourceFilter);
    question.m_strDefaultSuffix = QStringLiteral("wax");
    question.m_strStart = LastFolder();
    const QStringList paths = AskFiles(this, question);
    if (paths.isEmpty()) return;
    Remember(paths.front());
    QStringList refused;
    m_pDocument->change(paths.size() == 1 ? QStringLiteral("Add File") : QStringLiteral("Add Files"), [&] {
        unsigned changed = kChangedNothing;
        for (const QString& path : paths) {
            if (const Status added = AddResourceFile(m_pDocument->level(), ToPath(path)); !added)
                refused << QString::fromStdString(added.message());
            else
                changed = kChangedMembers;
        }
        return changed;
    });
    if (!refused.isEmpty()) QMessageBox::warning(this, kMessageTitle, refused.join(QLatin1Char('\n')));
}

void LevelFilesDialog::saveAs() {
    if (!m_pDocument) return;
    for (std::size_t i : selectedMembers()) {
        const CDataLevel& level = m_pDocument->level();
        if (i >= level.m_pMembers.size()) return;
        const QString name = Text(level.m_pMembers[i]->m_strName);
        const MemberFileType& type = FindMemberFileType(name.toStdString(), kLevelFileTypes, kAnyFileType);
        FileQuestion question;
        question.m_Kind = FileQuestion::Kind::Save;
        question.m_strTitle = QStringLiteral("Save As");
        question.m_strFilter = QtFileFilter(type.m_Filter);
        question.m_strDefaultSuffix = Text(type.m_Extension);
        question.m_strStart = StartFor(name);
        const QString path = AskFile(this, question);
        // A cancelled question ends the whole Save As: the user changed their mind.
        if (path.isEmpty()) return;
        Remember(path);
        if (const Status saved = SaveResourceAs(level, i, ToPath(path)); !saved) {
            QMessageBox::warning(this, kMessageTitle, QString::fromStdString(saved.message()));
            return;
        }
    }
}

void LevelFilesDialog::deleteSelected() {
    if (!m_pDocument) return;
    const std::vector<std::size_t> members = selectedMembers();
    if (members.empty()) return;
    const QString what = members.size() == 1
                             ? Text(m_pDocument->level().m_pMembers[members.front()]->m_strName)
                             : QStringLiteral("the %1 selected files").arg(members.size());
    if (QMessageBox::question(this, kMessageTitle, QStringLiteral("Delete %1 from the level?").arg(what)) !=
        QMessageBox::Yes)
        return;
    m_pDocument->change(members.size() == 1 ? QStringLiteral("Delete File") : QStringLiteral("Delete Files"),
                        [&] {
                            // From the last one down, so that the indices of the others stay valid.
                            for (auto it = members.rbegin(); it != members.rend(); ++it)
                                (void)DeleteResource(m_pDocument->level(), *it);
                            return unsigned{kChangedMembers};
                        });
}

void LevelFilesDialog::editCurrent() {
    const QTreeWidgetItem* item = m_pList->currentItem();
    if (!item || !m_pDocument) return;
    const auto i = static_cast<std::size_t>(item->data(kName, kMemberRole).toULongLong());
    const QString name = item->text(kName);
    // The text window outlives this one: it belongs to the main window, as the menu's text windows do.
    QWidget* owner = parentWidget() ? parentWidget() : this;
    switch (ResourceEditOf(name.toStdString())) {
    case ResourceEdit::VueText:
        OpenTextEditor(*m_pDocument, TextKind::Vue, name, owner);
        break;
    case ResourceEdit::LstText:
        OpenTextEditor(*m_pDocument, TextKind::Lst, name, owner);
        break;
    case ResourceEdit::Palette:
        editPalette(i);
        break;
    case ResourceEdit::None:
        break;
    }
}

void LevelFilesDialog::editPalette(std::size_t i) {
    const CDataGobEntry& member = *m_pDocument->level().m_pMembers[i];
    GamePalette palette;
    if (const Status read = GamePalette::Read(member.data(), member.m_strName, palette); !read) {
        QMessageBox::warning(this, kMessageTitle, QString::fromStdString(read.message()));
        return;
    }
    PaletteEditDialog dialog(palette, this);
    if (dialog.exec() != QDialog::Accepted || !m_pDocument) return;
    Status stored;
    m_pDocument->change(QStringLiteral("Edit Palette"), [&] {
        bool changed = false;
        stored = StoreResourcePalette(m_pDocument->level(), i, dialog.palette(), changed);
        return changed ? unsigned{kChangedMembers} : unsigned{kChangedNothing};
    });
    if (!stored) QMessageBox::warning(this, kMessageTitle, QString::fromStdString(stored.message()));
}

LevelFilesDialog* LevelFilesDialogOf(const MorviDocument& document) {
    for (LevelFilesDialog* window : Registry())
        if (window->document() == &document) return window;
    return nullptr;
}

LevelFilesDialog* OpenLevelFilesDialog(MorviDocument& document, QWidget* parent) {
    LevelFilesDialog* window = LevelFilesDialogOf(document);
    if (!window) {
        window = new LevelFilesDialog(document, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    ShowInFront(window);
    return window;
}

} // namespace morvi::ui
