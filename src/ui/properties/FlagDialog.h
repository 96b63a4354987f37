#pragma once

#include "properties/FlagLists.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace morvi::ui {

// A flag dialog: the word in the edit "Flag:" and its named bits as a list with several entries
// selected, each side following the other as the user changes it. "&Reset" clears the word,
// "&Help" opens the manual. value() is the word when "&OK" closed it.
//   FlagDialog dialog(FlagList::Wall, wall.m_nFlags1, pane);
//   if (dialog.exec() == QDialog::Accepted) flags = dialog.value();
class FlagDialog : public QDialog {
    Q_OBJECT
public:
    FlagDialog(FlagList list, int value, QWidget* parent = nullptr);

    int value() const { return m_nValue; }
    QLineEdit* edit() const { return m_pEdit; }
    QListWidget* list() const { return m_pList; }

private:
    void onTextChanged(const QString& text);
    void onSelectionChanged();
    void reset();
    // Shows the word in the edit and selects its entries, without either side answering.
    void showWord(bool text, bool selection);

    FlagList m_List;
    int m_nValue = 0;
    bool m_bShowing = false;
    QLineEdit* m_pEdit = nullptr;
    QListWidget* m_pList = nullptr;
};

} // namespace morvi::ui
