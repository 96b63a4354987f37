#include "infedit/InfEditorWindow.h"

#include "app/AppContext.h"
#include "app/DialogKit.h"
#include "app/MorviDocument.h"
#include "app/TextEditorWindow.h"
#include "gamefiles/GobArchive.h"
#include "gamefiles/LevelTexts.h"
#include "infedit/InfItemDialog.h"
#include "infedit/InfPageWidget.h"
#include "resources/ResourceCache.h"

#include <QComboBox>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace morvi::ui {

namespace {

std::vector<InfEditorWindow*>& Registry() {
    static std::vector<InfEditorWindow*> windows;
    return windows;
}

QString Q(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Blanks added until the text is at least width pixels wide in the font; on the left for numbers.
QString Pad(QString text, int width, const QFontMetrics& metrics, bool left) {
    while (metrics.horizontalAdvance(text) < width)
        text = left ? QLatin1Char(' ') + text : text + QLatin1Char(' ');
    return text;
}

} // namespace

InfLineList::InfLineList(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("lines"));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Parameters")});
    setColumnWidth(0, 70);
    setColumnWidth(1, 142);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

void InfLineList::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* dragged = currentItem();
    const int from = dragged ? indexOfTopLevelItem(dragged) : -1;
    const QModelIndex target = indexAt(event->position().toPoint());
    const int drop = target.isValid() ? target.row() : topLevelItemCount();
    // The list is rebuilt from the item: Qt's own move does not run.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (from > 0 && drop > 0 && from != drop) emit lineMoved(from, drop);
}

InfEditorWindow::InfEditorWindow(MorviDocument& document, QWidget* parent)
    : QDialog(parent), m_pDocument(&document), m_Copy(document.level()) {
    setObjectName(QStringLiteral("InfEditorWindow"));
    setModal(false);
    setWindowTitle(QStringLiteral("INF Editor"));
    // The sound lists: the game's sound archive, then the level's own sound members.
    std::vector<std::string> archiveSounds;
    for (const GobDirectoryEntry& entry : AppContext::instance().resources().entries(ResourceList::Sounds))
        archiveSounds.push_back(entry.m_strName);
    m_Vocabulary = MakeInfVocabulary(document.level(), archiveSounds);
    m_Vocabulary.m_Sectors = m_Copy.SectorNames();
    buildLayout();
    resize(640, 480);
    fillItems();
    const CMorviDoc& doc = document.doc();
    const int first = m_Copy.FirstItemFor(document.level(), doc.m_nMode, doc.selection());
    m_Copy.ChooseItem(first);
    {
        const QSignalBlocker block(m_pItems);
        m_pItems->setCurrentIndex(first);
    }
    showItem();
    const Settings& settings = AppContext::instance().settings();
    if (settings.m_nInfEditorLeft >= 0 && settings.m_nInfEditorTop >= 0)
        move(settings.m_nInfEditorLeft, settings.m_nInfEditorTop);
    connect(&document, &QObject::destroyed, this, [this] { discard(); });
    connect(&document, &MorviDocument::selectionChanged, this, [this] { refresh(); });
    // A sector renamed in the properties pane shows in the sector lists.
    connect(&document, &MorviDocument::historyChanged, this, [this] { refresh(); });
    Registry().push_back(this);
}

InfEditorWindow::~InfEditorWindow() {
    auto& windows = Registry();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void InfEditorWindow::buildLayout() {
    m_pItems = new QComboBox(this);
    m_pItems->setObjectName(QStringLiteral("items"));
    m_pLines = new InfLineList(this);
    m_pSheet = new QTabWidget(this);
    m_pSheet->setObjectName(QStringLiteral("sheet"));
    const std::optional<std::string> msg = GetLevelText(m_pDocument->level(), LevelText::Msg);
    const QString msgText = QString::fromLatin1(msg.value_or(std::string()).c_str());
    for (int i = 0; i < kInfPageCount; ++i) {
        const auto page = static_cast<InfPage>(i);
        auto* widget = new InfPageWidget(page, m_Vocabulary, msgText, m_pSheet);
        m_Pages[static_cast<std::size_t>(i)] = widget;
        m_pSheet->addTab(widget, Q(InfPageCaption(page)));
        connect(widget, &InfPageWidget::edited, this, [this](const InfLineEdit& edit) { applyEdit(edit); });
    }

    auto button = [this](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    m_pNewAdd = button(QStringLiteral("&New"), QStringLiteral("newAdd"));
    m_pEdit = button(tr("&Edit"), QStringLiteral("edit"));
    m_pDelete = button(tr("&Delete"), QStringLiteral("delete"));
    m_pUpdate = button(tr("&Update"), QStringLiteral("update"));
    m_pSelection = button(tr("&Selection"), QStringLiteral("selection"));
    QPushButton* ok = button(tr("&OK"), QStringLiteral("ok"));
    QPushButton* cancel = button(tr("&Cancel"), QStringLiteral("cancel"));
    QPushButton* help = button(tr("&Help"), QStringLiteral("help"));

    connect(m_pItems, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_bFilling) return;
        m_Copy.ChooseItem(index);
        showItem();
    });
    connect(m_pLines, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!m_bFilling && item) chooseRow(m_pLines->indexOfTopLevelItem(item));
    });
    // Clicking the current row again shows its page again.
    connect(m_pLines, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (!m_bFilling && item) chooseRow(m_pLines->indexOfTopLevelItem(item));
    });
    // Queued: the list is rebuilt once the drag has finished with its rows.
    connect(
        m_pLines, &InfLineList::lineMoved, this,
        [this](int from, int drop) {
            if (m_Copy.MoveLine(from, drop)) rebuildLines();
        },
        Qt::QueuedConnection);
    connect(m_pSheet, &QTabWidget::currentChanged, this, [this] { updateButtons(); });
    connect(m_pNewAdd, &QPushButton::clicked, this, [this] { onNewAdd(); });
    connect(m_pEdit, &QPushButton::clicked, this, [this] { onEdit(); });
    connect(m_pDelete, &QPushButton::clicked, this, [this] { onDelete(); });
    connect(m_pUpdate, &QPushButton::clicked, this, [this] { onUpdate(); });
    connect(m_pSelection, &QPushButton::clicked, this, [this] { onSelection(); });
    connect(ok, &QPushButton::clicked, this, &InfEditorWindow::accept);
    connect(cancel, &QPushButton::clicked, this, &InfEditorWindow::reject);
    ConnectHelp(this, help, QStringLiteral("inf-editor.md"));

    auto* left = new QVBoxLayout;
    left->addWidget(m_pItems);
    left->addWidget(m_pLines, 1);
    QVBoxLayout* buttons =
        ButtonColumn({m_pNewAdd, m_pEdit, m_pDelete, m_pUpdate, m_pSelection}, {ok, cancel, help});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(left, 2);
    layout->addWidget(m_pSheet, 3);
    layout->addLayout(buttons);
}

std::optional<InfPage> InfEditorWindow::activePage() const {
    const int index = m_pSheet->currentIndex();
    if (index < 0) return std::nullopt;
    return static_cast<InfPage>(index);
}

// The entries in columns: type, name and number padded to 2/11, 6/11 and 1/11 of the list's width.
void InfEditorWindow::fillItems() {
    m_bFilling = true;
    m_pItems->clear();
    const QFontMetrics metrics(m_pItems->font());
    const int width = m_nItemsWidth = m_pItems->width();
    for (const InfItemEntry& entry : m_Copy.ItemEntries()) {
        QString text = Pad(Q(entry.m_strType), width * 2 / 11, metrics, false);
        if (!entry.m_strName.empty() || !entry.m_strNumber.empty())
            text += Pad(Q(entry.m_strName), width * 6 / 11, metrics, false);
        if (!entry.m_strNumber.empty()) text += Pad(Q(entry.m_strNumber), width / 11, metrics, true);
        m_pItems->addItem(text);
    }
    m_pItems->setCurrentIndex(m_Copy.CurrentItem());
    m_bFilling = false;
}

// The current item's lines, its page chosen and loaded, and the buttons for that page.
void InfEditorWindow::showItem() {
    {
        const QSignalBlocker block(m_pItems);
        m_pItems->setCurrentIndex(m_Copy.CurrentItem());
    }
    rebuildLines();
    const CDataInfItem* item = m_Copy.CurrentItemPtr();
    if (item) {
        if (const std::optional<InfPage> page = PageForItem(*item)) {
            m_bFilling = true;
            m_pSheet->setCurrentIndex(static_cast<int>(*page));
            m_bFilling = false;
            this->page(*page)->loadItem(*item);
        }
    }
    updateButtons();
}

void InfEditorWindow::rebuildLines() {
    m_bFilling = true;
    m_pLines->clear();
    if (const CDataInfItem* item = m_Copy.CurrentItemPtr()) {
        for (std::size_t i = 0; i < item->m_Lines.size(); ++i) {
            const auto [keyword, parameters] = SplitInfLine(item->m_Lines[i]);
            auto* row = new QTreeWidgetItem(
                QStringList{QString::fromLatin1(keyword.c_str()), QString::fromLatin1(parameters.c_str())});
            // The first row neither moves nor takes a dropped row.
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (i > 0) flags |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
            row->setFlags(flags);
            m_pLines->addTopLevelItem(row);
        }
    }
    const int line = m_Copy.CurrentLine();
    if (line >= 0 && line < m_pLines->topLevelItemCount())
        m_pLines->setCurrentItem(m_pLines->topLevelItem(line));
    else
        m_pLines->setCurrentItem(nullptr);
    m_bFilling = false;
}

void InfEditorWindow::showLine(int item, int line) {
    if (item < 0 || item >= m_pItems->count()) return;
    if (m_pItems->currentIndex() != item)
        m_pItems->setCurrentIndex(item);
    else
        showItem();
    if (line >= 0 && line < m_pLines->topLevelItemCount())
        m_pLines->setCurrentItem(m_pLines->topLevelItem(line));
}

void InfEditorWindow::chooseRow(int row) {
    m_Copy.ChooseLine(row);
    const CDataInfItem* item = m_Copy.CurrentItemPtr();
    if (!item || row < 0 || row >= static_cast<int>(item->m_Lines.size())) return;
    const std::string& line = item->m_Lines[static_cast<std::size_t>(row)];
    const std::optional<InfPage> page = PageForLine(*item, line);
    if (!page) return;
    m_pSheet->setCurrentIndex(static_cast<int>(*page));
    InfPageWidget* widget = this->page(*page);
    if (*page == InfPage::Elevator || *page == InfPage::Trigger)
        widget->loadItem(*item);
    else
        widget->loadLine(SplitInfLine(line).second);
    updateButtons();
}

void InfEditorWindow::applyEdit(const InfLineEdit& edit) {
    if (m_Copy.Apply(edit)) rebuildLines();
}

void InfEditorWindow::updateButtons() {
    const std::optional<InfPage> page = activePage();
    if (!page) return;
    m_pNewAdd->setText(Q(InfNewAddLabel(*page)));
    m_pEdit->setVisible(InfPageMakesItem(*page));
    m_pUpdate->setEnabled(InfPageHasUpdate(*page));
    const bool selection = m_pDocument && InfSelectionEnabled(m_pDocument->doc().m_nMode, page,
                                                              m_pDocument->doc().selection().size());
    m_pSelection->setEnabled(selection);
}

void InfEditorWindow::refresh() {
    if (!m_pDocument || m_bClosing) return;
    m_Copy.RefreshSectorNames(m_pDocument->level());
    m_Vocabulary.m_Sectors = m_Copy.SectorNames();
    for (InfPageWidget* widget : m_Pages)
        widget->setSectors(m_Vocabulary.m_Sectors);
    updateButtons();
}

bool InfEditorWindow::runItemDialog() {
    if (!m_pDocument || !m_Copy.CurrentItemPtr()) return false;
    InfItemDialog dialog(m_Copy.ItemFields(), m_Copy.SectorNames(), m_pDocument->level(),
                         m_pDocument->doc().selection(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    m_Copy.ApplyItemFields(dialog.fields());
    return true;
}

void InfEditorWindow::onNewAdd() {
    const std::optional<InfPage> page = activePage();
    if (!page) return;
    if (InfPageMakesItem(*page)) {
        if (const Status made = m_Copy.NewItem(*page); !made) {
            QMessageBox::information(this, QStringLiteral("Morvi"), QString::fromStdString(made.message()));
            return;
        }
        fillItems();
        showItem();
        if (InfPageOpensItemDialog(*page)) {
            if (!runItemDialog()) m_Copy.CancelNewItem();
            fillItems();
            showItem();
            return;
        }
    } else if (!m_Copy.AddLine(*page)) {
        return;
    }
    // A new level line or an added line takes the page's fields at once.
    const int line = m_Copy.CurrentLine();
    if (line >= 0) {
        if (const std::optional<InfLineEdit> edit = this->page(*page)->write()) m_Copy.Apply(*edit);
    }
    rebuildLines();
    updateButtons();
}

void InfEditorWindow::onEdit() {
    if (runItemDialog()) {
        fillItems();
        showItem();
    }
}

void InfEditorWindow::onDelete() {
    if (m_Copy.CurrentLine() >= 0) {
        m_Copy.DeleteLine();
        showItem();
        return;
    }
    if (!m_Copy.CurrentItemPtr()) return;
    if (QMessageBox::question(this, QStringLiteral("Morvi"), Q(kInfDeleteItemQuestion),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_Copy.DeleteItem();
    fillItems();
    showItem();
}

void InfEditorWindow::onUpdate() {
    const std::optional<InfPage> page = activePage();
    if (!page || !InfPageHasUpdate(*page)) return;
    if (const std::optional<InfLineEdit> edit = this->page(*page)->write()) applyEdit(*edit);
}

void InfEditorWindow::onSelection() {
    const std::optional<InfPage> page = activePage();
    if (!page || !m_pDocument) return;
    const CMorviDoc& doc = m_pDocument->doc();
    std::optional<InfLineEdit> edit;
    if (const Status taken =
            this->page(*page)->takeSelection(m_pDocument->level(), doc.m_nMode, doc.selection(), edit);
        !taken) {
        QMessageBox::information(this, QStringLiteral("Morvi"), QString::fromStdString(taken.message()));
        return;
    }
    if (edit) applyEdit(*edit);
}

void InfEditorWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_pItems->width() != m_nItemsWidth) fillItems();
}

void InfEditorWindow::storePosition() const {
    Settings& settings = AppContext::instance().settings();
    settings.m_nInfEditorLeft = pos().x();
    settings.m_nInfEditorTop = pos().y();
}

void InfEditorWindow::accept() {
    if (m_bClosing) return;
    if (m_pDocument) m_Copy.Commit(m_pDocument->doc());
    storePosition();
    finish(Accepted);
}

void InfEditorWindow::reject() {
    if (m_bClosing) return;
    storePosition();
    finish(Rejected);
}

void InfEditorWindow::discard() {
    reject();
}

void InfEditorWindow::finish(int result) {
    m_bClosing = true;
    QDialog::done(result);
    deleteLater();
}

InfEditorWindow* InfEditorOf(const MorviDocument& document) {
    for (InfEditorWindow* window : Registry())
        if (!window->isClosing() && window->document() == &document) return window;
    return nullptr;
}

void OpenInfCommand(MorviDocument& document, QWidget* parent) {
    if (const Status available = InfEditorAvailable(document.level()); !available) {
        QMessageBox::information(parent, QStringLiteral("Morvi"),
                                 QString::fromStdString(available.message()));
        return;
    }
    if (InfEditorWindow* open = InfEditorOf(document)) open->discard();
    if (AppContext::instance().settings().m_bInfEditor)
        OpenInfEditor(document, parent);
    else
        OpenTextEditor(document, TextKind::Inf, QString(), parent);
}

InfEditorWindow* OpenInfEditor(MorviDocument& document, QWidget* parent) {
    if (InfEditorWindow* open = InfEditorOf(document)) open->discard();
    auto* window = new InfEditorWindow(document, parent);
    ShowInFront(window);
    return window;
}

} // namespace morvi::ui
