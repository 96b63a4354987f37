#pragma once

#include "mapedit/Generators.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace morvi {
class EditContext;
}

namespace morvi::ui {

// The generators' dialogs only collect numbers: OK checks them with the core's Validate*
// function, shows its message and stays open when refused. Their number fields take values
// outside the usual range when typed in (so the check can refuse them with its own words); only
// the arrows keep to that range.
//
// Typical use by the frame, the generator running as one undo step through
// MorviDocument::runEdit:
//   if (auto options = InsertPolygonDialog::Ask(this, CanInsertInsideSector(ctx)))
//       InsertPolygon(ctx, *options);
//   if (auto options = PassageDialog::AskFor(this, ctx, PassageKind::Door))
//       CreatePassage(ctx, PassageKind::Door, *options);
//   if (auto options = CylinderDialog::Ask(this)) CreateCylinder(ctx, *options);

// "Insert Polygon": sides, radius, what to make ("newSector", "subsector", "gap") and "snap".
// Subsector and gap are offered only when exactly one sector is selected.
class InsertPolygonDialog : public QDialog {
    Q_OBJECT
public:
    explicit InsertPolygonDialog(bool oneSectorSelected, QWidget* parent = nullptr);

    // The values as they stand in the fields.
    PolygonOptions options() const;

    // Runs the dialog; the accepted values, or nothing when cancelled.
    static std::optional<PolygonOptions> Ask(QWidget* parent, bool oneSectorSelected);

public slots:
    void accept() override;

private:
    QSpinBox* m_pSides = nullptr;
    QDoubleSpinBox* m_pRadius = nullptr;
    QRadioButton* m_pNewSector = nullptr;
    QRadioButton* m_pSubsector = nullptr;
    QRadioButton* m_pGap = nullptr;
    QCheckBox* m_pSnap = nullptr;
};

// "Create Door", "Create Staircase" or "Create Elevator": per wall "splitFirst"/"widthFirst" and
// "splitSecond"/"widthSecond"; door and elevator "simple"/"sunken", staircase "steps"; "height"
// and "snap". A width is editable only while its wall is to be split.
class PassageDialog : public QDialog {
    Q_OBJECT
public:
    PassageDialog(PassageKind kind, const PassageOptions& start, QWidget* parent = nullptr);

    PassageOptions options() const;

    static std::optional<PassageOptions> Ask(QWidget* parent, PassageKind kind, const PassageOptions& start);
    // For the two walls selected in the engine: when either is already linked, shows the core's
    // refusal and returns nothing; otherwise asks, starting from the core's start values.
    static std::optional<PassageOptions> AskFor(QWidget* parent, const EditContext& ctx, PassageKind kind);

public slots:
    void accept() override;

private:
    PassageKind m_Kind;
    PassageOptions m_Start;
    QCheckBox* m_pSplitFirst = nullptr;
    QDoubleSpinBox* m_pWidthFirst = nullptr;
    QCheckBox* m_pSplitSecond = nullptr;
    QDoubleSpinBox* m_pWidthSecond = nullptr;
    QRadioButton* m_pSunken = nullptr; // door and elevator
    QSpinBox* m_pSteps = nullptr;      // staircase
    QDoubleSpinBox* m_pHeight = nullptr;
    QCheckBox* m_pSnap = nullptr;
};

// "Create Cylinder": "sides", "angle", "outerRadius", "innerRadius" and "snap".
class CylinderDialog : public QDialog {
    Q_OBJECT
public:
    explicit CylinderDialog(const CylinderOptions& start = {}, QWidget* parent = nullptr);

    CylinderOptions options() const;

    static std::optional<CylinderOptions> Ask(QWidget* parent, const CylinderOptions& start = {});

public slots:
    void accept() override;

private:
    QSpinBox* m_pSides = nullptr;
    QSpinBox* m_pAngle = nullptr;
    QDoubleSpinBox* m_pOuter = nullptr;
    QDoubleSpinBox* m_pInner = nullptr;
    QCheckBox* m_pSnap = nullptr;
};

} // namespace morvi::ui
