#pragma once

#include "model/CDataLevel.h"

#include <QDialog>

namespace morvi::ui {

// The Statistics dialog: the level's counts in read-only fields and, under "Illegal/Overlapping
// vertices", one line per wall whose two ends coincide (or "None"). Shown with exec(); it reads
// the level once when built. Object names: "sectors", "walls", "vertices", "objects",
// "infDefinitions", "degenerateWalls".
class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    explicit StatisticsDialog(const CDataLevel& level, QWidget* parent = nullptr);
};

} // namespace morvi::ui
