#pragma once

// The small pieces every dialog of the editor is built from, so that fields, buttons and
// refusals look and behave alike everywhere.
#include <QDialog>
#include <QString>

#include <initializer_list>
#include <optional>
#include <string>

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace morvi::ui {

// The title of the editor's message boxes.
inline const QString kMessageTitle = QStringLiteral("Morvi");

// Gives the widget an object name (tests and settings find it by that name).
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
QCheckBox* CheckBox(const char* text, const char* name, bool checked = false);
QRadioButton* Radio(const char* text, const char* name, bool checked = false);
QLineEdit* NumberField(const char* name, const QString& start);

// OK and Cancel under the dialog's controls, wired to accept() and reject().
void AddButtons(QDialog* dialog, QLayout* layout);
// A field's number. Infinities and NaN parse as numbers but would wreck the geometry: they count
// as no number.
std::optional<double> ReadReal(const QLineEdit* field);
// Reports a refused value and puts the cursor back into its field.
void Refuse(QWidget* parent, const QString& message, QWidget* field);
// Shows a refusal the core gave; true when there was none.
bool Allowed(QWidget* parent, const std::string& message);

// The column of buttons at a tool window's right: its commands at the top, the closing buttons
// (Close, Help) at the bottom.
QVBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> commands,
                          std::initializer_list<QPushButton*> closing);
// The window's Help button and F1 open this page of the manual.
void ConnectHelp(QWidget* window, QPushButton* help, const QString& page);
// Shows a tool window and brings it to the front.
void ShowInFront(QWidget* window);

// Runs the dialog; its answer when it was accepted.
template <typename Dialog, typename Answer>
std::optional<Answer> RunDialog(Dialog& dialog, Answer (Dialog::*answer)() const) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return (dialog.*answer)();
}

} // namespace morvi::ui
