#include "properties/FlagDialog.h"

#include "app/DialogKit.h"
#include "app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace morvi::ui {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

FlagDialog::FlagDialog(FlagList list, int value, QWidget* parent)
    : QDialog(parent), m_List(list), m_nValue(value) {
    setWindowTitle(Text(FlagDialogTitle(list)));
    m_pEdit = Named(new QLineEdit, "flag");
    m_pList = Named(new QListWidget, "entries");
    m_pList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_pList->setSortingEnabled(false);
    for (std::string_view entry : FlagEntries(list))
        m_pList->addItem(Text(entry));

    auto* buttons = Named(new QDialogButtonBox, "buttons");
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    QPushButton* resetButton = buttons->addButton(QStringLiteral("&Reset"), QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { HelpWindow::ShowTopics(); });
    connect(resetButton, &QPushButton::clicked, this, &FlagDialog::reset);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Flag:"), m_pEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);

    showWord(true, true);
    connect(m_pEdit, &QLineEdit::textChanged, this, &FlagDialog::onTextChanged);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &FlagDialog::onSelectionChanged);
}

void FlagDialog::onTextChanged(const QString& text) {
    if (m_bShowing) return;
    bool ok = false;
    const int word = text.trimmed().toInt(&ok);
    // Half-typed text is no number yet: the entries stay as they were until it is one.
    if (!ok) return;
    m_nValue = word;
    showWord(false, true);
}

void FlagDialog::onSelectionChanged() {
    if (m_bShowing) return;
    std::vector<bool> selected(std::size_t(m_pList->count()));
    for (int k = 0; k < m_pList->count(); ++k)
        selected[std::size_t(k)] = m_pList->item(k)->isSelected();
    m_nValue = FlagWordFromSelection(m_List, m_nValue, selected);
    showWord(true, false);
}

void FlagDialog::reset() {
    m_nValue = 0;
    showWord(true, true);
}

void FlagDialog::showWord(bool text, bool selection) {
    m_bShowing = true;
    if (text) m_pEdit->setText(QString::number(m_nValue));
    if (selection) {
        const std::vector<bool> selected = FlagSelectionFromWord(m_List, m_nValue);
        for (int k = 0; k < m_pList->count(); ++k)
            m_pList->item(k)->setSelected(selected[std::size_t(k)]);
    }
    m_bShowing = false;
}

} // namespace morvi::ui
