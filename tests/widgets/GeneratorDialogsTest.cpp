#include "mapedit/GeneratorDialogs.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

namespace morvi::ui {

namespace {

template <typename T> T* Field(const QWidget& dialog, const char* name) {
    auto* field = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!field) qFatal("no control %s", name);
    return field;
}

// Replaces a number field's text as the user would, keys and all.
void Type(QAbstractSpinBox* field, const char* text) {
    field->selectAll();
    QTest::keyClicks(field, QString::fromLatin1(text));
}

// Presses OK while a watcher closes and records the message boxes; true when the dialog closed
// as accepted.
bool PressOk(QDialog& dialog, QStringList& messages) {
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    testing::ModalWatcher watcher;
    dialog.accept();
    messages = watcher.messages();
    return accepted.count() == 1;
}

// Two separate rooms in wall mode, their facing walls selected; the second room is 4.5 high.
struct FacingRooms : morvi::testing::EngineView {
    FacingRooms() : EngineView(kModeWall) {
        auto& sectors = level().m_Lev.m_pSectors;
        sectors.push_back(morvi::testing::MakeSquareSector(level().m_Lev, 0, 0, 0, 64, 64));
        sectors.push_back(morvi::testing::MakeSquareSector(level().m_Lev, 1, 96, 0, 160, 64));
        sectors[1]->m_dCeilingAltitude = -4.5;
        Select({{0, 1, -1, -1}, {1, 3, -1, -1}});
    }
};

} // namespace

class GeneratorDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void polygonStartValuesAndChoices() {
        InsertPolygonDialog lone(false);
        QCOMPARE(lone.windowTitle(), QStringLiteral("Insert Polygon"));
        QCOMPARE(Field<QSpinBox>(lone, "sides")->value(), 4);
        QCOMPARE(Field<QDoubleSpinBox>(lone, "radius")->value(), 40.0);
        QVERIFY(Field<QRadioButton>(lone, "newSector")->isChecked());
        QVERIFY(!Field<QCheckBox>(lone, "snap")->isChecked());
        QVERIFY(!Field<QRadioButton>(lone, "subsector")->isEnabled());
        QVERIFY(!Field<QRadioButton>(lone, "gap")->isEnabled());

        InsertPolygonDialog inside(true);
        QVERIFY(Field<QRadioButton>(inside, "subsector")->isEnabled());
        Field<QRadioButton>(inside, "gap")->setChecked(true);
        Field<QCheckBox>(inside, "snap")->setChecked(true);
        Type(Field<QSpinBox>(inside, "sides"), "7");
        Type(Field<QDoubleSpinBox>(inside, "radius"), "12.5");
        QStringList messages;
        QVERIFY(PressOk(inside, messages));
        QVERIFY(messages.isEmpty());
        const PolygonOptions options = inside.options();
        QCOMPARE(options.m_nSides, 7);
        QCOMPARE(options.m_dRadius, 12.5);
        QCOMPARE(options.m_Kind, PolygonKind::Gap);
        QVERIFY(options.m_bSnap);
    }

    // The fields take what the arrows would never reach, and OK refuses it with the core's words.
    void polygonRefusesTypedValuesOutOfRange() {
        InsertPolygonDialog dialog(false);
        auto* sides = Field<QSpinBox>(dialog, "sides");
        auto* radius = Field<QDoubleSpinBox>(dialog, "radius");
        QStringList messages;
        Type(sides, "101");
        QVERIFY(!PressOk(dialog, messages));
        QCOMPARE(messages, QStringList{"Illegal number of Sides."});
        QCOMPARE(sides->value(), 101);

        sides->stepBy(-1);
        QCOMPARE(sides->value(), 100);
        sides->stepBy(5);
        QCOMPARE(sides->value(), 100);
        Type(radius, "4.99");
        QVERIFY(!PressOk(dialog, messages));
        QCOMPARE(messages, QStringList{"Illegal Radius."});
    }

    void passageFieldsFollowTheKind() {
        PassageOptions start;
        start.m_dHeight = 6.5;
        start.m_bSunken = false;
        PassageDialog door(PassageKind::Door, start);
        QCOMPARE(door.windowTitle(), QStringLiteral("Create Door"));
        QVERIFY(Field<QRadioButton>(door, "simple")->isChecked());
        QVERIFY(!door.findChild<QSpinBox*>("steps"));
        QCOMPARE(Field<QDoubleSpinBox>(door, "height")->value(), 6.5);
        QCOMPARE(Field<QDoubleSpinBox>(door, "widthSecond")->value(), 8.0);

        // A width means something only while its wall is split.
        auto* width = Field<QDoubleSpinBox>(door, "widthFirst");
        QVERIFY(width->isEnabled());
        Field<QCheckBox>(door, "splitFirst")->setChecked(false);
        QVERIFY(!width->isEnabled());
        Field<QRadioButton>(door, "sunken")->setChecked(true);
        QStringList messages;
        QVERIFY(PressOk(door, messages));
        QVERIFY(!door.options().m_bSplitFirst && door.options().m_bSplitSecond && door.options().m_bSunken);

        PassageDialog stairs(PassageKind::Staircase, start);
        QCOMPARE(stairs.windowTitle(), QStringLiteral("Create Staircase"));
        QVERIFY(!stairs.findChild<QRadioButton*>("sunken"));
        QCOMPARE(Field<QSpinBox>(stairs, "steps")->value(), 3);
        QCOMPARE(PassageDialog(PassageKind::Elevator, start).windowTitle(),
                 QStringLiteral("Create Elevator"));
    }

    void staircaseRefusesStepsOutOfRange() {
        PassageDialog dialog(PassageKind::Staircase, PassageOptions{});
        auto* steps = Field<QSpinBox>(dialog, "steps");
        QStringList messages;
        for (const char* typed : {"0", "1001"}) {
            Type(steps, typed);
            QVERIFY(!PressOk(dialog, messages));
            QCOMPARE(messages, QStringList{"Please enter an integer between 1 and 1000."});
        }
        Type(steps, "1000");
        Type(Field<QDoubleSpinBox>(dialog, "height"), "2.25");
        QVERIFY(PressOk(dialog, messages));
        QCOMPARE(dialog.options().m_nSteps, 1000);
        QCOMPARE(dialog.options().m_dHeight, 2.25);
    }

    void passageAskForTheSelectedWalls() {
        FacingRooms rooms;
        double shownHeight = -1;
        testing::ModalWatcher accept([&](QWidget* modal) {
            auto* dialog = qobject_cast<PassageDialog*>(modal);
            if (!dialog) qFatal("a passage dialog was expected");
            shownHeight = Field<QDoubleSpinBox>(*dialog, "height")->value();
            dialog->accept();
        });
        const auto options = PassageDialog::AskFor(nullptr, rooms.engine, PassageKind::Door);
        QVERIFY(options.has_value());
        QCOMPARE(shownHeight, 4.5);
        QCOMPARE(options->m_dHeight, 4.5);
    }

    void passageBetweenLinkedWallsIsRefusedBeforeAsking() {
        morvi::testing::EngineView view(kModeWall, morvi::testing::BuildTwoRooms);
        view.Select({{0, 1, -1, -1}, {1, 3, -1, -1}});
        testing::ModalWatcher watcher;
        QVERIFY(!PassageDialog::AskFor(nullptr, view.engine, PassageKind::Staircase).has_value());
        QCOMPARE(watcher.messages(), QStringList{kStaircaseBetweenLinked});
        QCOMPARE(watcher.seen(), 1);
    }

    void cylinderStartValuesAndRefusals() {
        CylinderDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Create Cylinder"));
        QCOMPARE(Field<QSpinBox>(dialog, "sides")->value(), 8);
        QCOMPARE(Field<QSpinBox>(dialog, "angle")->value(), 360);
        QCOMPARE(Field<QDoubleSpinBox>(dialog, "outerRadius")->value(), 64.0);
        auto* inner = Field<QDoubleSpinBox>(dialog, "innerRadius");
        QCOMPARE(inner->value(), 32.0);
        QVERIFY(!Field<QCheckBox>(dialog, "snap")->isChecked());

        QStringList messages;
        Type(inner, "64");
        QVERIFY(!PressOk(dialog, messages));
        QCOMPARE(messages, QStringList{"The outer radius must be greater\nthan the inner radius."});
        Type(inner, "63.5");
        Type(Field<QSpinBox>(dialog, "angle"), "361");
        QVERIFY(!PressOk(dialog, messages));
        QCOMPARE(messages, QStringList{"Please enter an integer between 1 and 360."});
        Type(Field<QSpinBox>(dialog, "angle"), "90");
        QVERIFY(PressOk(dialog, messages));
        QCOMPARE(dialog.options().m_nAngle, 90);
        QCOMPARE(dialog.options().m_dInnerRadius, 63.5);
    }

    // Ask hands back the accepted values and nothing when cancelled.
    void askReturnsOnlyAcceptedValues() {
        {
            testing::ModalWatcher cancel; // rejects the dialog
            QVERIFY(!CylinderDialog::Ask(nullptr).has_value());
            QCOMPARE(cancel.seen(), 1);
        }
        testing::ModalWatcher accept([](QWidget* modal) {
            auto* dialog = qobject_cast<QDialog*>(modal);
            if (!dialog) qFatal("a dialog was expected");
            Type(Field<QSpinBox>(*dialog, "sides"), "5");
            dialog->accept();
        });
        const auto options = InsertPolygonDialog::Ask(nullptr, false);
        QVERIFY(options.has_value());
        QCOMPARE(options->m_nSides, 5);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::GeneratorDialogsTest)
#include "GeneratorDialogsTest.moc"
