#include "mapedit/GeneratorDialogs.h"

#include "app/DialogKit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <utility>

namespace morvi::ui {

namespace {

// What a field accepts when typed in: wide enough for any sensible mistake, small enough that
// the numbers stay exact.
constexpr int kFieldLimit = 99999;

// A number field whose arrows step only inside [low, high] while its text takes any value up to
// the field limit, so that OK, not the widget, decides what is refused and says why.
template <typename Base> class RangeSpin : public Base {
public:
    using Value = decltype(std::declval<Base>().value());

    RangeSpin(Value low, Value high) : m_Low(low), m_High(high) { this->setRange(-kFieldLimit, kFieldLimit); }

    void stepBy(int steps) override {
        this->setValue(std::clamp<Value>(this->value() + steps * this->singleStep(), m_Low, m_High));
        this->selectAll();
    }

protected:
    QAbstractSpinBox::StepEnabled stepEnabled() const override {
        QAbstractSpinBox::StepEnabled enabled = QAbstractSpinBox::StepNone;
        if (this->value() > m_Low) enabled |= QAbstractSpinBox::StepDownEnabled;
        if (this->value() < m_High) enabled |= QAbstractSpinBox::StepUpEnabled;
        return enabled;
    }

private:
    Value m_Low;
    Value m_High;
};

QSpinBox* IntField(const char* name, int value, int low, int high) {
    auto* field = Named(new RangeSpin<QSpinBox>(low, high), name);
    field->setValue(value);
    return field;
}

// Map units are kept to hundredths.
QDoubleSpinBox* RealField(const char* name, double value, double low, double high) {
    auto* field = Named(new RangeSpin<QDoubleSpinBox>(low, high), name);
    field->setDecimals(2);
    field->setValue(value);
    return field;
}

QCheckBox* SnapBox(bool checked) {
    auto* box = Named(new QCheckBox(QStringLiteral("Snap vertices to grid")), "snap");
    box->setChecked(checked);
    return box;
}

// Typed text counts even when the field still has the focus.
void TakeTypedText(std::initializer_list<QAbstractSpinBox*> fields) {
    for (QAbstractSpinBox* field : fields)
        if (field) field->interpretText();
}

} // namespace

// ---- Insert Polygon ---------------------------------------------------------------------------

InsertPolygonDialog::InsertPolygonDialog(bool oneSectorSelected, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Insert Polygon"));
    const PolygonOptions start;
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Sides"), m_pSides = IntField("sides", start.m_nSides, 3, 100));
    form->addRow(QStringLiteral("Radius"), m_pRadius = RealField("radius", start.m_dRadius, 5, 100));
    layout->addLayout(form);

    auto* kind = new QGroupBox(QStringLiteral("As"));
    auto* kinds = new QVBoxLayout(kind);
    kinds->addWidget(m_pNewSector = Radio("New Sector", "newSector", true));
    kinds->addWidget(m_pSubsector = Radio("Subsector of current sector", "subsector", false));
    kinds->addWidget(m_pGap = Radio("Gap in current sector", "gap", false));
    m_pSubsector->setEnabled(oneSectorSelected);
    m_pGap->setEnabled(oneSectorSelected);
    layout->addWidget(kind);
    layout->addWidget(m_pSnap = SnapBox(start.m_bSnap));
    AddButtons(this, layout);
}

PolygonOptions InsertPolygonDialog::options() const {
    PolygonOptions options;
    options.m_nSides = m_pSides->value();
    options.m_dRadius = m_pRadius->value();
    if (m_pSubsector->isChecked()) options.m_Kind = PolygonKind::Subsector;
    if (m_pGap->isChecked()) options.m_Kind = PolygonKind::Gap;
    options.m_bSnap = m_pSnap->isChecked();
    return options;
}

void InsertPolygonDialog::accept() {
    TakeTypedText({m_pSides, m_pRadius});
    if (Allowed(this, ValidatePolygon(options()))) QDialog::accept();
}

std::optional<PolygonOptions> InsertPolygonDialog::Ask(QWidget* parent, bool oneSectorSelected) {
    InsertPolygonDialog dialog(oneSectorSelected, parent);
    return RunDialog(dialog, &InsertPolygonDialog::options);
}

// ---- Passages ---------------------------------------------------------------------------------

namespace {

const char* PassageTitle(PassageKind kind) {
    switch (kind) {
    case PassageKind::Door:
        return "Create Door";
    case PassageKind::Staircase:
        return "Create Staircase";
    case PassageKind::Elevator:
        break;
    }
    return "Create Elevator";
}

// One wall's group: whether to split it in three and the width of the middle part, which only
// means something while splitting.
QGroupBox* WallGroup(const char* title, QCheckBox* split, QDoubleSpinBox* width) {
    auto* group = new QGroupBox(QString::fromLatin1(title));
    auto* form = new QFormLayout(group);
    form->addRow(split);
    form->addRow(QStringLiteral("Width"), width);
    width->setEnabled(split->isChecked());
    QObject::connect(split, &QCheckBox::toggled, width, &QWidget::setEnabled);
    return group;
}

QCheckBox* SplitBox(const char* name, bool checked) {
    auto* box = Named(new QCheckBox(QStringLiteral("Split in 3 parts")), name);
    box->setChecked(checked);
    return box;
}

} // namespace

PassageDialog::PassageDialog(PassageKind kind, const PassageOptions& start, QWidget* parent)
    : QDialog(parent), m_Kind(kind), m_Start(start) {
    setWindowTitle(QString::fromLatin1(PassageTitle(kind)));
    auto* layout = new QVBoxLayout(this);
    m_pSplitFirst = SplitBox("splitFirst", start.m_bSplitFirst);
    m_pWidthFirst = RealField("widthFirst", start.m_dWidthFirst, 1, 1000);
    layout->addWidget(WallGroup("First wall", m_pSplitFirst, m_pWidthFirst));
    m_pSplitSecond = SplitBox("splitSecond", start.m_bSplitSecond);
    m_pWidthSecond = RealField("widthSecond", start.m_dWidthSecond, 1, 1000);
    layout->addWidget(WallGroup("Second wall", m_pSplitSecond, m_pWidthSecond));

    auto* form = new QFormLayout;
    if (kind == PassageKind::Staircase) {
        form->addRow(QStringLiteral("Steps"), m_pSteps = IntField("steps", start.m_nSteps, 1, 1000));
    } else {
        auto* type = new QGroupBox(QStringLiteral("Type"));
        auto* types = new QVBoxLayout(type);
        types->addWidget(Radio("Simple", "simple", !start.m_bSunken));
        types->addWidget(m_pSunken = Radio("Sunken", "sunken", start.m_bSunken));
        layout->addWidget(type);
    }
    form->addRow(QStringLiteral("Height"), m_pHeight = RealField("height", start.m_dHeight, 0, 1000));
    layout->addLayout(form);
    layout->addWidget(m_pSnap = SnapBox(start.m_bSnap));
    AddButtons(this, layout);
}

PassageOptions PassageDialog::options() const {
    PassageOptions options = m_Start;
    options.m_bSplitFirst = m_pSplitFirst->isChecked();
    options.m_dWidthFirst = m_pWidthFirst->value();
    options.m_bSplitSecond = m_pSplitSecond->isChecked();
    options.m_dWidthSecond = m_pWidthSecond->value();
    if (m_pSunken) options.m_bSunken = m_pSunken->isChecked();
    if (m_pSteps) options.m_nSteps = m_pSteps->value();
    options.m_dHeight = m_pHeight->value();
    options.m_bSnap = m_pSnap->isChecked();
    return options;
}

void PassageDialog::accept() {
    TakeTypedText({m_pWidthFirst, m_pWidthSecond, m_pSteps, m_pHeight});
    if (Allowed(this, ValidatePassage(options(), m_Kind))) QDialog::accept();
}

std::optional<PassageOptions> PassageDialog::Ask(QWidget* parent, PassageKind kind,
                                                 const PassageOptions& start) {
    PassageDialog dialog(kind, start, parent);
    return RunDialog(dialog, &PassageDialog::options);
}

std::optional<PassageOptions> PassageDialog::AskFor(QWidget* parent, const EditContext& ctx,
                                                    PassageKind kind) {
    if (!Allowed(parent, PassageRefusal(ctx, kind))) return std::nullopt;
    return Ask(parent, kind, PassageStart(ctx, kind));
}

// ---- Cylinder ---------------------------------------------------------------------------------

CylinderDialog::CylinderDialog(const CylinderOptions& start, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Create Cylinder"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Sides"), m_pSides = IntField("sides", start.m_nSides, 4, 200));
    form->addRow(QStringLiteral("Angle"), m_pAngle = IntField("angle", start.m_nAngle, 1, 360));
    form->addRow(QStringLiteral("Outer Radius"),
                 m_pOuter = RealField("outerRadius", start.m_dOuterRadius, 0, kFieldLimit));
    form->addRow(QStringLiteral("Inner Radius"),
                 m_pInner = RealField("innerRadius", start.m_dInnerRadius, 0, kFieldLimit));
    layout->addLayout(form);
    layout->addWidget(m_pSnap = SnapBox(start.m_bSnap));
    AddButtons(this, layout);
}

CylinderOptions CylinderDialog::options() const {
    CylinderOptions options;
    options.m_nSides = m_pSides->value();
    options.m_nAngle = m_pAngle->value();
    options.m_dOuterRadius = m_pOuter->value();
    options.m_dInnerRadius = m_pInner->value();
    options.m_bSnap = m_pSnap->isChecked();
    return options;
}

void CylinderDialog::accept() {
    TakeTypedText({m_pSides, m_pAngle, m_pOuter, m_pInner});
    if (Allowed(this, ValidateCylinder(options()))) QDialog::accept();
}

std::optional<CylinderOptions> CylinderDialog::Ask(QWidget* parent, const CylinderOptions& start) {
    CylinderDialog dialog(start, parent);
    return RunDialog(dialog, &CylinderDialog::options);
}

} // namespace morvi::ui
