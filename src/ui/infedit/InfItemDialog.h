#pragma once

#include "document/Selection.h"
#include "infedit/InfWorkingCopy.h"

#include <QDialog>

#include <span>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace morvi::ui {

// "INF Editor Edit": the type, sector name and wall number of one INF item. "&Selection" takes
// them from the map's selection.
class InfItemDialog : public QDialog {
    Q_OBJECT
public:
    InfItemDialog(const InfItemFields& fields, const std::vector<std::string>& sectorNames,
                  const CDataLevel& level, std::span<const CMapSelItem> selection, QWidget* parent);

    // The fields as the controls stand.
    InfItemFields fields() const;

private:
    void show(const InfItemFields& fields);
    void updateEnabled();
    void takeSelection();

    const CDataLevel& m_Level;
    std::vector<CMapSelItem> m_Selection;
    QComboBox* m_pType = nullptr;
    QComboBox* m_pSector = nullptr;
    QLineEdit* m_pWall = nullptr;
    QPushButton* m_pSelection = nullptr;
};

} // namespace morvi::ui
