#include "properties/CatalogueDialog.h"

#include "app/DialogKit.h"
#include "properties/ObjectCatalogue.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace morvi::ui {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

CatalogueDialog::CatalogueDialog(Mode mode, const QString& currentName, QWidget* parent) : QDialog(parent) {
    setWindowTitle(mode == Mode::Logic ? QStringLiteral("Select Logic") : QStringLiteral("Select Object"));
    m_pCategories = Named(new QListWidget, "categories");
    for (std::string_view category : ObjectCategories())
        m_pCategories->addItem(Text(category));
    m_pEntries = Named(new QTreeWidget, "objects");
    m_pEntries->setColumnCount(2);
    m_pEntries->setHeaderHidden(true);
    m_pEntries->setRootIsDecorated(false);
    m_pEntries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pEntries->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto* buttons = Named(new QDialogButtonBox, "buttons");
    m_pOk = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    m_pOk->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_pCategories, 2);
    lists->addWidget(m_pEntries, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(buttons);
    resize(560, 320);

    connect(m_pCategories, &QListWidget::currentRowChanged, this, &CatalogueDialog::showCategory);
    connect(m_pEntries, &QTreeWidget::itemSelectionChanged, this, &CatalogueDialog::onEntryChosen);
    connect(m_pEntries, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    // Only the exact name finds its object; any other opens on the first category, nothing chosen.
    const CatalogueEntry* current = FindCatalogueEntry(currentName.toStdString());
    m_pCategories->setCurrentRow(current ? current->m_nCategory : 0); // fills the object list
    if (current) {
        const QList<QTreeWidgetItem*> rows = m_pEntries->findItems(currentName, Qt::MatchExactly, 0);
        if (!rows.isEmpty()) {
            m_pEntries->setCurrentItem(rows.front());
            m_pEntries->scrollToItem(rows.front());
        }
    }
}

QString CatalogueDialog::fileName() const {
    const QList<QTreeWidgetItem*> chosen = m_pEntries->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.front()->text(0);
}

void CatalogueDialog::showCategory(int category) {
    m_pEntries->clear();
    for (const CatalogueEntry& entry : ObjectCatalogue())
        if (entry.m_nCategory == category)
            new QTreeWidgetItem(m_pEntries, {Text(entry.m_strFile), Text(entry.m_strDescription)});
    onEntryChosen();
}

void CatalogueDialog::onEntryChosen() {
    m_pOk->setEnabled(!m_pEntries->selectedItems().isEmpty());
}

} // namespace morvi::ui
