#include "mapedit/TransformDialogs.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace morvi::ui {

namespace {

template <typename T> T* Child(const QWidget& parent, const char* name) {
    auto* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

bool Checked(const QWidget& parent, const char* name) {
    return Child<QAbstractButton>(parent, name)->isChecked();
}

void Type(QWidget& field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(&field)) {
        edit->setText(text);
        return;
    }
    auto* spin = qobject_cast<QAbstractSpinBox*>(&field);
    spin->selectAll();
    QTest::keyClicks(spin, text);
}

} // namespace

class TransformDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void startValues() {
        FlipRotateDialog flip;
        QVERIFY(Checked(flip, "flipLeftRight"));
        QVERIFY(!Checked(flip, "flipTopBottom") && !Checked(flip, "rotate"));
        QCOMPARE(Child<QDoubleSpinBox>(flip, "angle")->value(), 0.0);
        QCOMPARE(Child<QRadioButton>(flip, "flipTopBottom")->text(), QStringLiteral("Flip &Top to Bottom"));

        ScalingDialog scaling;
        QCOMPARE(Child<QLineEdit>(scaling, "scale")->text().toDouble(), 1.0);
        QVERIFY(!Checked(scaling, "snap"));

        DistributionDialog distribution;
        QVERIFY(Checked(distribution, "altitudes") && Checked(distribution, "floors"));
        QVERIFY(!Checked(distribution, "ceilings") && !Checked(distribution, "both"));
        QVERIFY(!Checked(distribution, "light"));

        AlignmentDialog alignment;
        for (const char* name :
             {"verticalMid", "verticalTop", "verticalBot", "horizontalMid", "horizontalTop", "horizontalBot"})
            QVERIFY2(!Checked(alignment, name), name);
        QCOMPARE(Child<QCheckBox>(alignment, "verticalBot")->text(), QStringLiteral("Bot"));

        ChangeOffsetsDialog offsets;
        for (const char* name : {"xOffset", "yOffset", "zOffset"})
            QCOMPARE(Child<QLineEdit>(offsets, name)->text().toDouble(), 0.0);
    }

    void angleFollowsRotateAndItsArrowsStopAt360() {
        FlipRotateDialog dialog;
        auto* angle = Child<QDoubleSpinBox>(dialog, "angle");
        QVERIFY(!angle->isEnabled());
        Child<QRadioButton>(dialog, "rotate")->setChecked(true);
        QVERIFY(angle->isEnabled());
        angle->setValue(358.0);
        angle->stepBy(5);
        QCOMPARE(angle->value(), 360.0);
        Child<QRadioButton>(dialog, "flipTopBottom")->setChecked(true);
        QVERIFY(!angle->isEnabled());
        QCOMPARE(dialog.choice().m_Action, FlipRotateResult::Action::FlipTopToBottom);
    }

    void illegalAngleIsRefusedAndTheDialogStaysOpen() {
        FlipRotateDialog dialog;
        dialog.show();
        Child<QRadioButton>(dialog, "rotate")->setChecked(true);
        Type(*Child<QDoubleSpinBox>(dialog, "angle"), "400");
        testing::ModalWatcher watcher;
        dialog.accept();
        QCOMPARE(watcher.messages(), QStringList{"Illegal Angle."});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        Type(*Child<QDoubleSpinBox>(dialog, "angle"), "-90");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(watcher.messages().size(), 1);
        QCOMPARE(dialog.choice().m_Action, FlipRotateResult::Action::Rotate);
        QCOMPARE(dialog.choice().m_dAngle, -90.0);
    }

    void scaleOutOfRangeOrNoNumberIsRefused() {
        ScalingDialog dialog;
        dialog.show();
        auto* scale = Child<QLineEdit>(dialog, "scale");
        testing::ModalWatcher watcher;
        for (const char* text : {"0.05", "abc", "inf"}) {
            scale->setText(QString::fromLatin1(text));
            dialog.accept();
            QVERIFY2(dialog.isVisible(), text);
        }
        QCOMPARE(watcher.messages(), (QStringList{QString::fromStdString(ValidateScale(0.05)),
                                                  "Please enter a number.", "Please enter a number."}));

        scale->setText(" 2.5 ");
        Child<QCheckBox>(dialog, "snap")->setChecked(true);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.choice().m_dScale, 2.5);
        QVERIFY(dialog.choice().m_bSnap);
    }

    void distributionAndAlignmentReportTheirBoxes() {
        DistributionDialog distribution;
        Child<QRadioButton>(distribution, "both")->setChecked(true);
        Child<QCheckBox>(distribution, "light")->setChecked(true);
        DistributionOptions options = distribution.choice();
        QCOMPARE(options.m_Which, DistributeWhich::Both);
        QVERIFY(options.m_bAltitudes && options.m_bLight);
        Child<QCheckBox>(distribution, "altitudes")->setChecked(false);
        QVERIFY(!Child<QRadioButton>(distribution, "ceilings")->isEnabled());
        QVERIFY(!distribution.choice().m_bAltitudes);

        AlignmentDialog alignment;
        Child<QCheckBox>(alignment, "verticalTop")->setChecked(true);
        Child<QCheckBox>(alignment, "horizontalBot")->setChecked(true);
        const AlignmentOptions aligned = alignment.choice();
        QVERIFY(aligned.m_bVerticalTop && aligned.m_bHorizontalBottom);
        QVERIFY(!aligned.m_bVerticalMid && !aligned.m_bVerticalBottom);
        QVERIFY(!aligned.m_bHorizontalMid && !aligned.m_bHorizontalTop);
    }

    void offsetsNeedNumbers() {
        ChangeOffsetsDialog dialog;
        dialog.show();
        testing::ModalWatcher watcher;
        Child<QLineEdit>(dialog, "xOffset")->setText("1.5");
        Child<QLineEdit>(dialog, "yOffset")->setText("up");
        Child<QLineEdit>(dialog, "zOffset")->setText("-8");
        dialog.accept();
        QCOMPARE(watcher.messages(), QStringList{"Please enter a number."});
        QVERIFY(dialog.isVisible());

        Child<QLineEdit>(dialog, "yOffset")->setText("-2.25");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.choice().m_dX, 1.5);
        QCOMPARE(dialog.choice().m_dY, -2.25);
        QCOMPARE(dialog.choice().m_dZ, -8.0);
    }

    void askGivesTheChoiceOrNothing() {
        {
            testing::ModalWatcher accepting([](QWidget* modal) {
                Child<QCheckBox>(*modal, "horizontalMid")->setChecked(true);
                qobject_cast<QDialog*>(modal)->accept();
            });
            const std::optional<AlignmentOptions> chosen = AlignmentDialog::Ask(nullptr);
            QVERIFY(chosen && chosen->m_bHorizontalMid);
        }
        testing::ModalWatcher cancelling([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QVERIFY(!ScalingDialog::Ask(nullptr));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::TransformDialogsTest)
#include "TransformDialogsTest.moc"
