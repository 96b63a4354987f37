#include "app/LevelsDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvi::ui {

LevelsDialog::LevelsDialog(const std::vector<std::string>& levelNames, int current, QWidget* parent)
    : QDialog(parent), m_nStart(current) {
    setWindowTitle(QStringLiteral("Levels"));
    auto* text =
        new QLabel(QStringLiteral("You have opened a GOB file with multiple Dark Forces levels. In the list "
                                  "box you must select the level you want to view in Morvi."));
    text->setWordWrap(true);
    m_pList = new QListWidget;
    m_pList->setObjectName(QStringLiteral("levels"));
    for (const std::string& name : levelNames)
        m_pList->addItem(QString::fromStdString(name));
    if (current >= 0 && current < m_pList->count()) m_pList->setCurrentRow(current);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);
}

int LevelsDialog::chosenLevel() const {
    const int row = m_pList->currentRow();
    return row >= 0 ? row : m_nStart;
}

LevelChooser MakeLevelChooser(QWidget* parent) {
    return [parent](const std::vector<std::string>& levelNames, int current) -> std::optional<int> {
        LevelsDialog dialog(levelNames, current, parent);
        // A load shows the wait cursor; the choice is made with the ordinary one, and the wait
        // cursor comes back for the rest of the load.
        const bool waiting = QApplication::overrideCursor() != nullptr;
        if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool chosen = dialog.exec() == QDialog::Accepted;
        if (waiting) QApplication::restoreOverrideCursor();
        return chosen ? dialog.chosenLevel() : current;
    };
}

} // namespace morvi::ui
