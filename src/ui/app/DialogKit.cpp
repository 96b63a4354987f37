#include "app/DialogKit.h"

#include "app/HelpWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <cmath>

namespace morvi::ui {

QCheckBox* CheckBox(const char* text, const char* name, bool checked) {
    auto* box = Named(new QCheckBox(QString::fromUtf8(text)), name);
    box->setChecked(checked);
    return box;
}

QRadioButton* Radio(const char* text, const char* name, bool checked) {
    auto* button = Named(new QRadioButton(QString::fromUtf8(text)), name);
    button->setChecked(checked);
    return button;
}

QLineEdit* NumberField(const char* name, const QString& start) {
    return Named(new QLineEdit(start), name);
}

void AddButtons(QDialog* dialog, QLayout* layout) {
    auto* buttons = Named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel), "buttons");
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<double> ReadReal(const QLineEdit* field) {
    bool ok = false;
    const double value = field->text().trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

void Refuse(QWidget* parent, const QString& message, QWidget* field) {
    QMessageBox::warning(parent, kMessageTitle, message);
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

bool Allowed(QWidget* parent, const std::string& message) {
    if (message.empty()) return true;
    QMessageBox::warning(parent, kMessageTitle, QString::fromStdString(message));
    return false;
}

QVBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> commands,
                          std::initializer_list<QPushButton*> closing) {
    auto* column = new QVBoxLayout;
    for (QPushButton* button : commands)
        column->addWidget(button);
    column->addStretch();
    for (QPushButton* button : closing)
        column->addWidget(button);
    return column;
}

void ConnectHelp(QWidget* window, QPushButton* help, const QString& page) {
    const auto show = [page] { HelpWindow::ShowTopics()->showPage(page); };
    QObject::connect(help, &QPushButton::clicked, window, show);
    QObject::connect(new QShortcut(QKeySequence::HelpContents, window), &QShortcut::activated, window, show);
}

void ShowInFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace morvi::ui
