#pragma once

#include "gamefiles/LevelArchive.h"

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace morvi::ui {

// Asks which level of an archive holding several is to be edited: the level names in archive
// order with the current one selected, and an "&Ok" button (a double click also chooses).
class LevelsDialog : public QDialog {
    Q_OBJECT
public:
    LevelsDialog(const std::vector<std::string>& levelNames, int current, QWidget* parent = nullptr);

    QListWidget* list() const { return m_pList; }
    // The chosen row; the dialog's starting level when nothing is chosen.
    int chosenLevel() const;

private:
    QListWidget* m_pList = nullptr;
    int m_nStart = 0;
};

// The chooser that document loads take (MorviDocument::open): it shows the Levels dialog over
// parent. Closing the dialog without OK keeps the archive's current level, so the load goes on.
LevelChooser MakeLevelChooser(QWidget* parent);

} // namespace morvi::ui
