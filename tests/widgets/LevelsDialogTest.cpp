#include "app/LevelsDialog.h"
#include "app/MorviDocument.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include "gamefiles/LevelArchive.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

// The sample archive with a second level, SECOND, after it: a copy of the sample renamed, whose
// music tells it apart.
void WriteTwoLevelGob(const QString& path) {
    CDataLevel first, second;
    QVERIFY(LoadLevelFile(first, ToPath(testing::SampleGobPath()), {}).ok());
    QVERIFY(LoadLevelFile(second, ToPath(testing::SampleGobPath()), {}).ok());
    QVERIFY(second.RenameLevel("SECOND").ok());
    second.m_Lev.m_strMusic = "SECOND.GMD";
    RegenerateLevelMembers(second);
    for (const char* member : {"SECOND.LEV", "SECOND.O", "SECOND.INF"}) {
        const CDataGobEntry* entry = second.FindMember(member);
        QVERIFY2(entry, member);
        QVERIFY(first.AddMember(member, entry->data()).ok());
    }
    QVERIFY(SaveLevelFile(first, ToPath(path)).ok());
}

} // namespace

class LevelsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void showsTheNamesWithTheCurrentOneSelected() {
        LevelsDialog dialog({"SECBASE", "TALAY", "ARC"}, 1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Levels"));
        QCOMPARE(dialog.list()->count(), 3);
        QCOMPARE(dialog.list()->item(2)->text(), QStringLiteral("ARC"));
        QCOMPARE(dialog.list()->currentRow(), 1);
        QVERIFY(dialog.list()->item(1)->isSelected());
        QVERIFY(dialog.findChild<QLabel*>()->text().startsWith("You have opened a GOB file with multiple"));
        QPushButton* ok = dialog.findChild<QPushButton*>();
        QCOMPARE(ok->text(), QStringLiteral("&Ok"));
        dialog.list()->setCurrentRow(2);
        QCOMPARE(dialog.chosenLevel(), 2);
    }

    void openingATwoLevelGobAsksAndLoadsTheChosenLevel() {
        QTemporaryDir dir;
        const QString path = dir.filePath("two.gob");
        WriteTwoLevelGob(path);
        QStringList offered;
        testing::ModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<LevelsDialog*>(modal);
            if (!dialog) return;
            for (int i = 0; i < dialog->list()->count(); ++i)
                offered << dialog->list()->item(i)->text();
            dialog->list()->setCurrentRow(1);
            dialog->findChild<QPushButton*>()->click();
        });
        MorviDocument document;
        QVERIFY(document.open(path, MakeLevelChooser(nullptr)).ok());
        QCOMPARE(watcher.seen(), 1);
        QCOMPARE(offered, (QStringList{"SECBASE", "SECOND"}));
        CDataLevel& level = document.level();
        QCOMPARE(level.CurrentLevelName(), std::string("SECOND"));
        QCOMPARE(level.m_nCurrentLevel, 1);
        QCOMPARE(level.m_Lev.m_strMusic, std::string("SECOND.GMD"));
        // The other level's members stay in the archive, unparsed.
        QVERIFY(level.FindMember("SECBASE.LEV"));
        QVERIFY(!level.m_Lev.m_pSectors.empty());
    }

    void closingTheDialogKeepsTheFirstLevel() {
        QTemporaryDir dir;
        const QString path = dir.filePath("two.gob");
        WriteTwoLevelGob(path);
        testing::ModalWatcher watcher([](QWidget* modal) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        MorviDocument document;
        QVERIFY(document.open(path, MakeLevelChooser(nullptr)).ok());
        QCOMPARE(watcher.seen(), 1);
        QCOMPARE(document.level().CurrentLevelName(), std::string("SECBASE"));
        QVERIFY(document.level().m_Lev.m_strMusic != "SECOND.GMD");
    }

    void aSingleLevelGobAsksNothing() {
        testing::ModalWatcher watcher;
        MorviDocument document;
        QVERIFY(document.open(testing::SampleGobPath(), MakeLevelChooser(nullptr)).ok());
        QCOMPARE(watcher.seen(), 0);
        QCOMPARE(document.level().CurrentLevelName(), std::string("SECBASE"));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::LevelsDialogTest)
#include "LevelsDialogTest.moc"
