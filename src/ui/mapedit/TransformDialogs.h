#pragma once

#include "mapedit/TransformTools.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;

namespace morvi::ui {

// The dialogs of the map editor's transform tools. Each one only collects values: OK checks them
// with the core's rules (a refused value is reported in a message box and the dialog stays open),
// and choice() hands them to the caller, which runs the matching core edit. The static Ask runs a
// dialog modally and gives its result, or nothing when it was cancelled:
//   if (auto choice = FlipRotateDialog::Ask(this)) { ... RotateSectors(ctx, choice->m_dAngle) ... }

// "Flip and Rotate": one of the two flips, or a turn by an angle in degrees.
struct FlipRotateResult {
    enum class Action { FlipLeftToRight, FlipTopToBottom, Rotate };
    Action m_Action = Action::FlipLeftToRight;
    double m_dAngle = 0.0;
};

// Radios "flipLeftRight", "flipTopBottom", "rotate"; the angle field "angle" (its arrows stay
// within -360..360, typing may go beyond so OK can refuse it), enabled only with Rotate.
class FlipRotateDialog : public QDialog {
    Q_OBJECT
public:
    explicit FlipRotateDialog(QWidget* parent = nullptr);

    FlipRotateResult choice() const;
    static std::optional<FlipRotateResult> Ask(QWidget* parent);

public slots:
    void accept() override;

private:
    QRadioButton* m_pLeftRight = nullptr;
    QRadioButton* m_pTopBottom = nullptr;
    QRadioButton* m_pRotate = nullptr;
    QDoubleSpinBox* m_pAngle = nullptr;
};

struct ScalingResult {
    double m_dScale = 1.0;
    bool m_bSnap = false;
};

// Field "scale" (text, 1 at start) and check box "snap".
class ScalingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ScalingDialog(QWidget* parent = nullptr);

    // Meaningful once OK was accepted.
    ScalingResult choice() const { return m_Result; }
    static std::optional<ScalingResult> Ask(QWidget* parent);

public slots:
    void accept() override;

private:
    QLineEdit* m_pScale = nullptr;
    QCheckBox* m_pSnap = nullptr;
    ScalingResult m_Result;
};

// Check box "altitudes", radios "floors", "ceilings", "both" (enabled only with altitudes),
// check box "light".
class DistributionDialog : public QDialog {
    Q_OBJECT
public:
    explicit DistributionDialog(QWidget* parent = nullptr);

    DistributionOptions choice() const;
    static std::optional<DistributionOptions> Ask(QWidget* parent);

private:
    QCheckBox* m_pAltitudes = nullptr;
    QRadioButton* m_pFloors = nullptr;
    QRadioButton* m_pCeilings = nullptr;
    QRadioButton* m_pBoth = nullptr;
    QCheckBox* m_pLight = nullptr;
};

// Check boxes "verticalMid", "verticalTop", "verticalBot", "horizontalMid", "horizontalTop",
// "horizontalBot", all unchecked at start.
class AlignmentDialog : public QDialog {
    Q_OBJECT
public:
    explicit AlignmentDialog(QWidget* parent = nullptr);

    AlignmentOptions choice() const;
    static std::optional<AlignmentOptions> Ask(QWidget* parent);

private:
    QCheckBox* m_pVertical[3] = {};
    QCheckBox* m_pHorizontal[3] = {};
};

// Map units: dx and dz move on the map, dy moves up.
struct OffsetsResult {
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dZ = 0.0;
};

// Fields "xOffset", "yOffset", "zOffset" (text, 0 at start).
class ChangeOffsetsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChangeOffsetsDialog(QWidget* parent = nullptr);

    // Meaningful once OK was accepted.
    OffsetsResult choice() const { return m_Result; }
    static std::optional<OffsetsResult> Ask(QWidget* parent);

public slots:
    void accept() override;

private:
    QLineEdit* m_pFields[3] = {};
    OffsetsResult m_Result;
};

} // namespace morvi::ui
