#pragma once

#include "resources/GamePalette.h"

#include <QDialog>

#include <cstddef>
#include <optional>

namespace morvi::ui {

// "Edit Palette": a game palette as its 16 x 16 grid of colours. A click on an entry opens the
// colour dialog on the entry's display colour; the colour chosen there is stored as the game keeps
// it (6 bits a component) and the grid repaints. The dialog edits its own copy: whoever opened it
// takes palette() when it ends with OK.
//   PaletteEditDialog dialog(palette, this);
//   if (dialog.exec() == QDialog::Accepted) store(dialog.palette());
class PaletteEditDialog : public QDialog {
    Q_OBJECT
public:
    PaletteEditDialog(const GamePalette& palette, QWidget* parent);

    const GamePalette& palette() const { return m_Palette; }
    // The grid the entries are picked from (tests click it).
    QWidget* grid() const { return m_pGrid; }

    // Opens the colour dialog for the entry under a point of the grid; nothing outside it.
    void pickAt(const QPoint& point);

private:
    class Grid;

    GamePalette m_Palette;
    QWidget* m_pGrid = nullptr;
};

} // namespace morvi::ui
