#include "properties/CatalogueDialog.h"
#include "properties/FlagDialog.h"
#include "support/WidgetTestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace morvi::ui {

namespace {

QList<int> SelectedRows(const QListWidget& list) {
    QList<int> rows;
    for (int k = 0; k < list.count(); ++k)
        if (list.item(k)->isSelected()) rows.append(k);
    return rows;
}

QPushButton* Button(const QDialog& dialog, const QString& text) {
    for (auto* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    qFatal("no button %s", qPrintable(text));
}

} // namespace

class PropertyDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    // The edit and the list follow each other; a bit no entry names survives a change of the list.
    void flagDialogKeepsWordAndEntriesTogether() {
        FlagDialog dialog(FlagList::Wall, (1 << 16) | 32768);
        QCOMPARE(SelectedRows(*dialog.list()), QList<int>{15});
        QCOMPARE(dialog.list()->item(15)->text(), QString("Show as door on Map"));
        dialog.list()->item(0)->setSelected(true);
        QCOMPARE(dialog.value(), (1 << 16) | 32769);
        QCOMPARE(dialog.edit()->text(), QString::number((1 << 16) | 32769));
        dialog.edit()->clear();
        QTest::keyClicks(dialog.edit(), "5x"); // the "x" makes no number: the entries stay
        QCOMPARE(SelectedRows(*dialog.list()), (QList<int>{0, 2}));
        QCOMPARE(dialog.value(), 5);
        Button(dialog, "&Reset")->click();
        QCOMPARE(dialog.value(), 0);
        QCOMPARE(dialog.edit()->text(), QString("0"));
        QVERIFY(SelectedRows(*dialog.list()).isEmpty());
    }

    // The current name opens its category with its row chosen, only when it is spelt exactly.
    void catalogueDialogOpensOnTheCurrentObject() {
        CatalogueDialog found(CatalogueDialog::Mode::Object, "stormfin.wax");
        QCOMPARE(found.categoryList()->currentItem()->text(), QString("Imperial Troops"));
        QCOMPARE(found.entryList()->selectedItems().size(), 1);
        QCOMPARE(found.entryList()->selectedItems().front()->text(1), QString("Stormtrooper"));
        QVERIFY(Button(found, "&Ok")->isEnabled());
        found.show();
        Button(found, "&Ok")->click();
        QCOMPARE(found.result(), int(QDialog::Accepted));
        QCOMPARE(found.fileName(), QString("stormfin.wax"));

        CatalogueDialog unknown(CatalogueDialog::Mode::Logic, "STORMFIN.WAX");
        QCOMPARE(unknown.categoryList()->currentRow(), 0);
        QVERIFY(unknown.entryList()->selectedItems().isEmpty() && unknown.fileName().isEmpty());
        QVERIFY(!Button(unknown, "&Ok")->isEnabled());
        unknown.categoryList()->setCurrentRow(4);
        QCOMPARE(unknown.entryList()->topLevelItemCount(), 5);
        QTreeWidgetItem* bug = unknown.entryList()->topLevelItem(4);
        unknown.entryList()->setCurrentItem(bug);
        QVERIFY(Button(unknown, "&Ok")->isEnabled());
        emit unknown.entryList()->itemDoubleClicked(bug, 0);
        QCOMPARE(unknown.result(), int(QDialog::Accepted));
        QCOMPARE(unknown.fileName(), QString("sewerbug.wax"));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::PropertyDialogsTest)
#include "PropertyDialogsTest.moc"
