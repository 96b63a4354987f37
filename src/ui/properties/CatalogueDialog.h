#pragma once

#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;
class QTreeWidget;

namespace morvi::ui {

// "Select Object" (or "Select Logic" when only the logic lines are wanted): the catalogue's ten
// categories and, beside them, the chosen category's objects as file name and description. It
// opens on the object whose file name is the current name, if the catalogue has it; "&Ok" (or a
// double click on an object) returns the chosen object's file name.
//   CatalogueDialog dialog(CatalogueDialog::Mode::Object, name, pane);
//   if (dialog.exec() == QDialog::Accepted) name = dialog.fileName();
class CatalogueDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Object, Logic };

    CatalogueDialog(Mode mode, const QString& currentName, QWidget* parent = nullptr);

    // The chosen object's file name; empty while no object is chosen.
    QString fileName() const;

    QListWidget* categoryList() const { return m_pCategories; }
    QTreeWidget* entryList() const { return m_pEntries; }

private:
    void showCategory(int category);
    void onEntryChosen();

    QListWidget* m_pCategories = nullptr;
    QTreeWidget* m_pEntries = nullptr;
    QPushButton* m_pOk = nullptr;
};

} // namespace morvi::ui
