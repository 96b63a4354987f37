#include "resources/FilmManagerWindow.h"

#include "app/DialogKit.h"
#include "app/FileDialogs.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace morvi::ui {

namespace {

constexpr std::string_view kFilmFilter = "FILM Files (*.flm)|*.flm||";
constexpr std::string_view kAddFilter = "ANIM Files (*.anm)|*.anm|"
                                        "DELT Files (*.dlt)|*.dlt|PLTT Files (*.plt)|*.plt|"
                                        "VOIC Files (*.voc)|*.voc||";

QString Q(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path PathOf(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

QTreeWidget* ReportList(const char* name, const QStringList& columns, const std::vector<int>& widths) {
    auto* list = Named(new QTreeWidget, name);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
        list->setColumnWidth(i, widths[static_cast<std::size_t>(i)]);
        // The first column is text, the others (names and numbers) are right-aligned.
        if (i > 0) list->headerItem()->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
    }
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    return list;
}

QTreeWidgetItem* ReportRow(const QStringList& cells) {
    auto* row = new QTreeWidgetItem(cells);
    for (int i = 1; i < static_cast<int>(cells.size()); ++i)
        row->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

// The small "New" dialog: which kind of block to add.
class NewBlockDialog : public QDialog {
public:
    explicit NewBlockDialog(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("NewBlockDialog"));
        setWindowTitle(QStringLiteral("New"));
        m_pView = Radio("View", "view", true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_pView);
        layout->addWidget(Radio("Cust", "cust"));
        AddButtons(this, layout);
    }
    FilmWorkingCopy::NewBlock kind() const {
        return m_pView->isChecked() ? FilmWorkingCopy::NewBlock::View : FilmWorkingCopy::NewBlock::Cust;
    }

private:
    QRadioButton* m_pView = nullptr;
};

} // namespace

FilmManagerWindow::FilmManagerWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FilmManagerWindow"));
    setModal(false);
    setWindowTitle(QStringLiteral("FILM Manager"));
    buildLayout();
    fillBlocks();
}

void FilmManagerWindow::buildLayout() {
    m_pBlocks = ReportList("blocks", {QStringLiteral("Type"), QStringLiteral("Name")}, {45, 65});
    QStringList columns{QStringLiteral("Command")};
    std::vector<int> widths{75};
    for (std::size_t i = 1; i <= kFilmMaxParams; ++i) {
        columns << QStringLiteral("P%1").arg(i);
        widths.push_back(35);
    }
    m_pCommands = ReportList("commands", columns, widths);

    m_pName = Named(new QComboBox, "command");
    std::vector<std::string_view> names;
    for (const FilmOpcode& opcode : kFilmOpcodes)
        names.push_back(opcode.m_Name);
    std::sort(names.begin(), names.end());
    for (std::string_view name : names)
        m_pName->addItem(Q(name));
    auto* fields = new QHBoxLayout;
    fields->addWidget(m_pName);
    for (std::size_t i = 0; i < kFilmMaxParams; ++i) {
        m_Params[i] = new QLineEdit;
        m_Params[i]->setObjectName(QStringLiteral("p%1").arg(i + 1));
        m_Params[i]->setAlignment(Qt::AlignRight);
        m_Params[i]->setMaximumWidth(60);
        fields->addWidget(m_Params[i]);
        connect(m_Params[i], &QLineEdit::editingFinished, this, [this] { applyEdit(); });
    }

    auto button = [this](const char* text, const char* name) {
        auto* b = Named(new QPushButton(QString::fromLatin1(text), this), name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* open = button("&Open", "open");
    QPushButton* add = button("&Add", "add");
    QPushButton* save = button("&Save As", "saveAs");
    QPushButton* newButton = button("&New", "new");
    m_pDelete = button("&Delete", "delete");
    QPushButton* close = button("&Close", "close");
    QPushButton* help = button("&Help", "help");

    connect(m_pBlocks, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (m_bFilling) return;
        m_Copy.ChooseBlock(item ? m_pBlocks->indexOfTopLevelItem(item) : -1);
        fillCommands();
    });
    connect(m_pCommands, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (m_bFilling) return;
        m_Copy.ChooseRow(item ? m_pCommands->indexOfTopLevelItem(item) : -1);
        showRow();
    });
    connect(m_pName, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_bFilling) applyEdit(true);
    });
    connect(open, &QPushButton::clicked, this, [this] { onOpen(); });
    connect(add, &QPushButton::clicked, this, [this] { onAdd(); });
    connect(save, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(newButton, &QPushButton::clicked, this, [this] { onNew(); });
    connect(m_pDelete, &QPushButton::clicked, this, [this] { onDelete(); });
    connect(close, &QPushButton::clicked, this, &FilmManagerWindow::reject);
    ConnectHelp(this, help, QStringLiteral("film-manager.md"));

    auto* commands = new QVBoxLayout;
    commands->addWidget(m_pCommands, 1);
    commands->addLayout(fields);
    QVBoxLayout* buttons = ButtonColumn({open, add, save, newButton, m_pDelete}, {close, help});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pBlocks, 1);
    layout->addLayout(commands, 3);
    layout->addLayout(buttons);
    resize(720, 360);
}

void FilmManagerWindow::fillBlocks() {
    m_bFilling = true;
    m_pBlocks->clear();
    for (const FilmBlock& block : m_Copy.Film().m_Blocks)
        m_pBlocks->addTopLevelItem(ReportRow({Q(block.m_strType), Q(block.m_strName)}));
    m_pBlocks->setCurrentItem(m_pBlocks->topLevelItem(m_Copy.CurrentBlock()));
    m_bFilling = false;
    fillCommands();
}

void FilmManagerWindow::fillCommands() {
    m_bFilling = true;
    m_pCommands->clear();
    for (const FilmCommandRow& row : m_Copy.Rows()) {
        QStringList cells{Q(row.m_strName)};
        for (const std::string& param : row.m_strParams)
            cells << Q(param);
        m_pCommands->addTopLevelItem(ReportRow(cells));
    }
    m_pCommands->setCurrentItem(m_pCommands->topLevelItem(m_Copy.CurrentRow()));
    m_bFilling = false;
    showRow();
}

// The chosen row's name and parameters in the fields, which take edits only while a row is chosen.
void FilmManagerWindow::showRow() {
    const int index = m_Copy.CurrentRow();
    const FilmCommandRow* row = index >= 0 ? &m_Copy.Rows()[static_cast<std::size_t>(index)] : nullptr;
    m_bFilling = true;
    m_pName->setCurrentIndex(row ? m_pName->findText(Q(row->m_strName)) : -1);
    m_pName->setEnabled(row != nullptr);
    for (std::size_t i = 0; i < kFilmMaxParams; ++i) {
        m_Params[i]->setText(row ? Q(row->m_strParams[i]) : QString());
        m_Params[i]->setModified(false);
        m_Params[i]->setEnabled(row != nullptr);
    }
    m_bFilling = false;
    updateButtons();
}

void FilmManagerWindow::updateButtons() {
    m_pDelete->setEnabled(m_Copy.CurrentBlock() >= 0);
}

void FilmManagerWindow::showFailure(const Status& status) {
    QMessageBox::warning(this, kMessageTitle, QString::fromStdString(status.message()));
}

void FilmManagerWindow::applyEdit(bool nameChosen) {
    const bool typed =
        std::any_of(m_Params.begin(), m_Params.end(), [](QLineEdit* edit) { return edit->isModified(); });
    if (m_bApplying || m_Copy.CurrentRow() < 0 || !(nameChosen || typed)) return;
    std::array<std::string, kFilmMaxParams> cells;
    for (std::size_t i = 0; i < kFilmMaxParams; ++i)
        cells[i] = m_Params[i]->text().toStdString();
    m_bApplying = true;
    const Status edited = m_Copy.EditRow(m_pName->currentText().toStdString(), cells);
    if (!edited) {
        showFailure(edited);
        showRow();
    } else {
        // The list shows what the block holds; the fields keep what was typed.
        QTreeWidgetItem* item = m_pCommands->topLevelItem(m_Copy.CurrentRow());
        const FilmCommandRow& row = m_Copy.Rows()[static_cast<std::size_t>(m_Copy.CurrentRow())];
        item->setText(0, Q(row.m_strName));
        for (std::size_t i = 0; i < kFilmMaxParams; ++i) {
            item->setText(static_cast<int>(i) + 1, Q(row.m_strParams[i]));
            m_Params[i]->setModified(false);
        }
    }
    m_bApplying = false;
}

bool FilmManagerWindow::saveTo(const QString& path) {
    if (const Status saved = m_Copy.Save(PathOf(path)); !saved) {
        showFailure(saved);
        return false;
    }
    m_strPath = path;
    setWindowTitle(QStringLiteral("FLM Manager - ") + QFileInfo(path).fileName());
    return true;
}

bool FilmManagerWindow::saveAs() {
    applyEdit();
    const QString path = AskFile(this, {FileQuestion::Kind::Save, QStringLiteral("Save As"),
                                        QtFileFilter(kFilmFilter), QStringLiteral("flm"), m_strPath});
    return !path.isEmpty() && saveTo(path);
}

bool FilmManagerWindow::maySave() {
    applyEdit();
    if (!m_Copy.IsModified()) return true;
    const QString name = m_strPath.isEmpty() ? QStringLiteral("untitled") : QFileInfo(m_strPath).fileName();
    switch (QMessageBox::question(this, kMessageTitle, QStringLiteral("Save changes to %1?").arg(name),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return m_strPath.isEmpty() ? saveAs() : saveTo(m_strPath);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void FilmManagerWindow::onOpen() {
    if (!maySave()) return;
    const QString path = AskFile(this, {FileQuestion::Kind::Open, QStringLiteral("Open"),
                                        QtFileFilter(kFilmFilter), QStringLiteral("flm"), m_strPath});
    if (path.isEmpty()) return;
    if (const Status opened = m_Copy.Open(PathOf(path)); !opened) {
        showFailure(opened);
        return;
    }
    m_strPath = path;
    setWindowTitle(QStringLiteral("FLM Manager - ") + QFileInfo(path).fileName());
    fillBlocks();
}

void FilmManagerWindow::onAdd() {
    const QString path =
        AskFile(this, {FileQuestion::Kind::Open, QStringLiteral("Add"), QtFileFilter(kAddFilter),
                       QStringLiteral("anm"), m_strPath.isEmpty() ? QString() : QFileInfo(m_strPath).path()});
    if (path.isEmpty()) return;
    if (const Status added = m_Copy.AddResource(QFileInfo(path).fileName().toStdString()); !added) {
        showFailure(added);
        return;
    }
    fillBlocks();
}

void FilmManagerWindow::onNew() {
    if (m_Copy.CurrentRow() >= 0) {
        if (const Status added = m_Copy.AddEndCommand(); !added) showFailure(added);
        fillCommands();
        return;
    }
    NewBlockDialog dialog(this);
    const std::optional<FilmWorkingCopy::NewBlock> kind = RunDialog(dialog, &NewBlockDialog::kind);
    if (!kind) return;
    m_Copy.AddBlock(*kind);
    fillBlocks();
}

void FilmManagerWindow::onDelete() {
    const bool row = m_Copy.CurrentRow() >= 0;
    if (!m_Copy.Delete()) return;
    if (row)
        fillCommands();
    else
        fillBlocks();
}

void FilmManagerWindow::reject() {
    if (!maySave()) return;
    QDialog::reject();
    deleteLater();
}

FilmManagerWindow* OpenFilmManager(QWidget* parent) {
    static QPointer<FilmManagerWindow> window;
    if (!window) window = new FilmManagerWindow(parent);
    ShowInFront(window);
    return window;
}

} // namespace morvi::ui
