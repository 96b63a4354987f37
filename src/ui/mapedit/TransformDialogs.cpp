#include "mapedit/TransformDialogs.h"

#include "app/DialogKit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>

namespace morvi::ui {

namespace {

constexpr double kAngleLimit = 360.0;

// The angle's arrows run from -360 to 360, but typing is free so that OK can refuse what the
// arrows could never reach.
class AngleSpinBox : public QDoubleSpinBox {
public:
    AngleSpinBox() {
        setLocale(QLocale::c());
        setDecimals(2);
        setRange(-1.0e6, 1.0e6);
        setValue(0.0);
    }

    void stepBy(int steps) override {
        setValue(std::clamp(value() + steps * singleStep(), -kAngleLimit, kAngleLimit));
        selectAll();
    }

protected:
    StepEnabled stepEnabled() const override {
        StepEnabled enabled = StepNone;
        if (value() < kAngleLimit) enabled |= StepUpEnabled;
        if (value() > -kAngleLimit) enabled |= StepDownEnabled;
        return enabled;
    }
};

} // namespace

// ---- Flip and Rotate --------------------------------------------------------------------------

FlipRotateDialog::FlipRotateDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Flip and Rotate"));
    m_pLeftRight = Radio("Flip &Left to Right", "flipLeftRight");
    m_pTopBottom = Radio("Flip &Top to Bottom", "flipTopBottom");
    m_pRotate = Radio("&Rotate", "rotate");
    m_pLeftRight->setChecked(true);
    m_pAngle = Named(new AngleSpinBox, "angle");
    m_pAngle->setEnabled(false);
    connect(m_pRotate, &QRadioButton::toggled, m_pAngle, &QWidget::setEnabled);

    auto* rotateRow = new QHBoxLayout;
    rotateRow->addWidget(m_pRotate);
    rotateRow->addWidget(m_pAngle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pLeftRight);
    layout->addWidget(m_pTopBottom);
    layout->addLayout(rotateRow);
    AddButtons(this, layout);
}

FlipRotateResult FlipRotateDialog::choice() const {
    FlipRotateResult result;
    if (m_pTopBottom->isChecked()) result.m_Action = FlipRotateResult::Action::FlipTopToBottom;
    if (m_pRotate->isChecked()) {
        result.m_Action = FlipRotateResult::Action::Rotate;
        result.m_dAngle = m_pAngle->value();
    }
    return result;
}

void FlipRotateDialog::accept() {
    if (m_pRotate->isChecked()) {
        // A half-typed value counts as what the field shows once it leaves editing.
        m_pAngle->interpretText();
        if (const std::string message = ValidateRotateAngle(m_pAngle->value()); !message.empty()) {
            Refuse(this, QString::fromStdString(message), m_pAngle);
            return;
        }
    }
    QDialog::accept();
}

std::optional<FlipRotateResult> FlipRotateDialog::Ask(QWidget* parent) {
    FlipRotateDialog dialog(parent);
    return RunDialog(dialog, &FlipRotateDialog::choice);
}

// ---- Scaling ----------------------------------------------------------------------------------

ScalingDialog::ScalingDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Scaling"));
    m_pScale = NumberField("scale", "1");
    m_pSnap = CheckBox("Snap vertices to grid", "snap");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Scale:"), m_pScale);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pSnap);
    AddButtons(this, layout);
}

void ScalingDialog::accept() {
    const std::optional<double> scale = ReadReal(m_pScale);
    if (!scale) {
        Refuse(this, QStringLiteral("Please enter a number."), m_pScale);
        return;
    }
    if (const std::string message = ValidateScale(*scale); !message.empty()) {
        Refuse(this, QString::fromStdString(message), m_pScale);
        return;
    }
    m_Result = {*scale, m_pSnap->isChecked()};
    QDialog::accept();
}

std::optional<ScalingResult> ScalingDialog::Ask(QWidget* parent) {
    ScalingDialog dialog(parent);
    return RunDialog(dialog, &ScalingDialog::choice);
}

// ---- Distribution -----------------------------------------------------------------------------

DistributionDialog::DistributionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Distribution"));
    m_pAltitudes = CheckBox("&Altitudes", "altitudes", true);
    m_pFloors = Radio("&Floors", "floors");
    m_pCeilings = Radio("&Ceilings", "ceilings");
    m_pBoth = Radio("&Both Floors and Ceilings", "both");
    m_pLight = CheckBox("&Light", "light");
    m_pFloors->setChecked(true);

    auto* which = new QVBoxLayout;
    which->setContentsMargins(20, 0, 0, 0);
    for (QRadioButton* radio : {m_pFloors, m_pCeilings, m_pBoth}) {
        which->addWidget(radio);
        connect(m_pAltitudes, &QCheckBox::toggled, radio, &QWidget::setEnabled);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pAltitudes);
    layout->addLayout(which);
    layout->addWidget(m_pLight);
    AddButtons(this, layout);
}

DistributionOptions DistributionDialog::choice() const {
    DistributionOptions options;
    options.m_bAltitudes = m_pAltitudes->isChecked();
    if (m_pCeilings->isChecked()) options.m_Which = DistributeWhich::Ceilings;
    if (m_pBoth->isChecked()) options.m_Which = DistributeWhich::Both;
    options.m_bLight = m_pLight->isChecked();
    return options;
}

std::optional<DistributionOptions> DistributionDialog::Ask(QWidget* parent) {
    DistributionDialog dialog(parent);
    return RunDialog(dialog, &DistributionDialog::choice);
}

// ---- Alignment --------------------------------------------------------------------------------

namespace {

// Mid, Top and Bot check boxes in a titled group; prefix names them ("verticalMid" ...).
QGroupBox* SlotGroup(const char* title, const std::string& prefix, QCheckBox* (&boxes)[3]) {
    auto* group = new QGroupBox(QString::fromUtf8(title));
    auto* layout = new QVBoxLayout(group);
    const char* texts[3] = {"Mid", "Top", "Bot"};
    for (int i = 0; i < 3; ++i) {
        boxes[i] = CheckBox(texts[i], (prefix + texts[i]).c_str());
        layout->addWidget(boxes[i]);
    }
    return group;
}

} // namespace

AlignmentDialog::AlignmentDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Alignment"));
    auto* groups = new QHBoxLayout;
    groups->addWidget(SlotGroup("Vertical", "vertical", m_pVertical));
    groups->addWidget(SlotGroup("Horizontal", "horizontal", m_pHorizontal));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    AddButtons(this, layout);
}

AlignmentOptions AlignmentDialog::choice() const {
    AlignmentOptions options;
    options.m_bVerticalMid = m_pVertical[0]->isChecked();
    options.m_bVerticalTop = m_pVertical[1]->isChecked();
    options.m_bVerticalBottom = m_pVertical[2]->isChecked();
    options.m_bHorizontalMid = m_pHorizontal[0]->isChecked();
    options.m_bHorizontalTop = m_pHorizontal[1]->isChecked();
    options.m_bHorizontalBottom = m_pHorizontal[2]->isChecked();
    return options;
}

std::optional<AlignmentOptions> AlignmentDialog::Ask(QWidget* parent) {
    AlignmentDialog dialog(parent);
    return RunDialog(dialog, &AlignmentDialog::choice);
}

// ---- Change Offsets ---------------------------------------------------------------------------

ChangeOffsetsDialog::ChangeOffsetsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Change Offsets"));
    const char* labels[3] = {"X-offset:", "Y-offset:", "Z-offset:"};
    const char* names[3] = {"xOffset", "yOffset", "zOffset"};
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        m_pFields[i] = NumberField(names[i], "0");
        form->addRow(QString::fromLatin1(labels[i]), m_pFields[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddButtons(this, layout);
}

void ChangeOffsetsDialog::accept() {
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = ReadReal(m_pFields[i]);
        if (!value) {
            Refuse(this, QStringLiteral("Please enter a number."), m_pFields[i]);
            return;
        }
        values[i] = *value;
    }
    m_Result = {values[0], values[1], values[2]};
    QDialog::accept();
}

std::optional<OffsetsResult> ChangeOffsetsDialog::Ask(QWidget* parent) {
    ChangeOffsetsDialog dialog(parent);
    return RunDialog(dialog, &ChangeOffsetsDialog::choice);
}

} // namespace morvi::ui
