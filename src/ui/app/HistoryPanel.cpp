#include "app/HistoryPanel.h"

#include "app/MorviDocument.h"

#include <QListWidget>

namespace morvi::ui {

HistoryPanel::HistoryPanel(QWidget* parent) : QDockWidget(QStringLiteral("History"), parent) {
    setObjectName(QStringLiteral("HistoryPanel"));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("historyList"));
    setWidget(m_pList);
    connect(m_pList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_bReloading && row >= 0) goTo(row);
    });
}

void HistoryPanel::setDocument(MorviDocument* document) {
    if (m_pDocument == document) return;
    disconnect(m_Watch);
    m_pDocument = document;
    if (document) m_Watch = connect(document, &MorviDocument::historyChanged, this, &HistoryPanel::reload);
    reload();
}

void HistoryPanel::reload() {
    m_bReloading = true;
    m_pList->clear();
    if (m_pDocument) {
        m_pList->addItem(QStringLiteral("(as opened)"));
        for (const std::string& label : m_pDocument->doc().HistoryLabels())
            m_pList->addItem(QString::fromStdString(label));
        const int present = static_cast<int>(m_pDocument->doc().HistoryPosition());
        // Undone changes are shown greyed: a click redoes them.
        for (int row = present + 1; row < m_pList->count(); ++row)
            m_pList->item(row)->setForeground(Qt::gray);
        m_pList->setCurrentRow(present);
    }
    m_bReloading = false;
}

void HistoryPanel::goTo(int row) {
    if (m_pDocument) m_pDocument->doc().GoToHistoryPosition(static_cast<std::size_t>(row));
}

} // namespace morvi::ui
