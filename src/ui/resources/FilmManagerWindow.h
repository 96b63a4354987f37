#pragma once

#include "resources/FilmWorkingCopy.h"

#include <QDialog>
#include <QString>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace morvi::ui {

// The modeless "FILM Manager": the blocks of one FLM film, the commands of the chosen block and
// the fields of the chosen command. Open, Add, New, Delete and Save As work on a FilmWorkingCopy;
// closing with unsaved changes asks whether to save them. Open it through OpenFilmManager, which
// keeps one for the application.
class FilmManagerWindow : public QDialog {
    Q_OBJECT
public:
    explicit FilmManagerWindow(QWidget* parent = nullptr);

    const FilmWorkingCopy& workingCopy() const { return m_Copy; }
    // The file last opened or saved; empty for a film never saved.
    const QString& filePath() const { return m_strPath; }

public slots:
    // Asks about unsaved changes first; stays open when the user cancels or the save fails.
    void reject() override;

private:
    void buildLayout();
    void fillBlocks();
    void fillCommands();
    void showRow();
    void updateButtons();
    void showFailure(const Status& status);
    // Puts the name box and the edits into the chosen row when a name was chosen or a field
    // typed in; a refused value is reported and the fields show the row as it is again.
    void applyEdit(bool nameChosen = false);
    bool saveTo(const QString& path);
    bool saveAs();
    // Asks "Save changes to <name>?" when the film has unsaved changes; false to stay.
    bool maySave();
    void onOpen();
    void onAdd();
    void onNew();
    void onDelete();

    FilmWorkingCopy m_Copy;
    QString m_strPath;
    QTreeWidget* m_pBlocks = nullptr;
    QTreeWidget* m_pCommands = nullptr;
    QComboBox* m_pName = nullptr;
    std::array<QLineEdit*, kFilmMaxParams> m_Params{};
    QPushButton* m_pDelete = nullptr;
    bool m_bFilling = false;
    bool m_bApplying = false;
};

// The application's FILM Manager, shown, raised and activated; created on first use.
FilmManagerWindow* OpenFilmManager(QWidget* parent);

} // namespace morvi::ui
