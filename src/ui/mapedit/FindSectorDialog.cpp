#include "mapedit/FindSectorDialog.h"

#include "app/MorviDocument.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/MapStatistics.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvi::ui {

FindSectorDialog::FindSectorDialog(MorviDocument& document, CMapEngine& engine, QWidget* parent)
    : QDialog(parent), m_Document(document), m_Engine(engine) {
    setWindowTitle(QStringLiteral("Find Sector"));
    m_pFilter = new QLineEdit;
    m_pFilter->setObjectName(QStringLiteral("filter"));
    m_pFilter->setPlaceholderText(QStringLiteral("Filter"));
    m_pFilter->setClearButtonEnabled(true);
    m_pList = new QListWidget;
    m_pList->setObjectName(QStringLiteral("sectors"));
    // Names in alphabetical order, narrowed to those holding the filter's text.
    m_pList->setSortingEnabled(true);
    connect(m_pFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (int row = 0; row < m_pList->count(); ++row) {
            QListWidgetItem* item = m_pList->item(row);
            const bool hidden = !item->text().contains(text, Qt::CaseInsensitive);
            item->setHidden(hidden);
            if (hidden) item->setSelected(false);
        }
    });
    // Several sectors may share a name: each line remembers its own index.
    for (const auto& [name, index] : NamedSectors(engine.level())) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), m_pList);
        item->setData(Qt::UserRole, index);
    }
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &FindSectorDialog::accept);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FindSectorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pFilter);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);
}

void FindSectorDialog::accept() {
    // A list that merely has the keyboard focus has a current line nobody chose: only a
    // selected line counts.
    const QList<QListWidgetItem*> chosen = m_pList->selectedItems();
    if (!chosen.isEmpty()) {
        // The jump tells the selection's observers itself; the views follow the new layer.
        m_Engine.picker().JumpToSector(chosen.front()->data(Qt::UserRole).toInt());
        m_Document.updateAllViews();
    }
    QDialog::accept();
}

} // namespace morvi::ui
