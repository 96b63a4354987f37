#include "app/AppPaths.h"
#include "app/CMorviSheet.h"
#include "app/GamePaths.h"
#include "app/MorviDocument.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include "app/AppContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

namespace {

void Touch(const QString& file) {
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("GOB\n");
}

template <typename T> T* Field(const CMorviSheet& sheet, const char* name) {
    T* widget = sheet.findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
}

void SetText(const CMorviSheet& sheet, const char* name, const QString& text) {
    Field<QLineEdit>(sheet, name)->setText(text);
}

} // namespace

class OptionsSheetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void pagesInOrder() {
        Settings settings;
        CMorviSheet sheet(settings, nullptr);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(sheet.tabs()->count(), 3);
        QCOMPARE(sheet.tabs()->tabText(0), QStringLiteral("Setup"));
        QCOMPARE(sheet.tabs()->tabText(1), QStringLiteral("Level"));
        QCOMPARE(sheet.tabs()->tabText(2), QStringLiteral("3D Mode"));
        // Without a document there is no level header to edit.
        QVERIFY(!sheet.tabs()->widget(1)->isEnabled());
        QVERIFY(sheet.tabs()->widget(0)->isEnabled());
    }

    void driveRootWithDarkFolderIsAccepted() {
        QTemporaryDir cd, install;
        Touch(cd.filePath("dark/TEXTURES.GOB"));
        Touch(install.filePath("Sounds.gob"));
        Settings settings;
        CMorviSheet sheet(settings, nullptr);
        SetText(sheet, "cdPath", cd.path() + "/");
        SetText(sheet, "installPath", install.path() + "/");
        QSignalSpy changed(&AppContext::instance(), &AppContext::settingsChanged);
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(), QStringList());
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(QString::fromStdString(settings.m_strDFPath), cd.path() + "/dark");
        QCOMPARE(QString::fromStdString(settings.m_strInstall), install.path());
        QCOMPARE(changed.count(), 1);
    }

    void illegalCdPathKeepsOldPathsButStoresSwitches() {
        QTemporaryDir install;
        Touch(install.filePath("sounds.gob"));
        Settings settings;
        settings.m_strDFPath = "/old/cd";
        settings.m_strInstall = "/old/install";
        CMorviSheet sheet(settings, nullptr);
        SetText(sheet, "cdPath", install.path() + "/nothing");
        SetText(sheet, "installPath", install.path());
        Field<QCheckBox>(sheet, "moveObjects")->setChecked(false);
        Field<QCheckBox>(sheet, "show3DO")->setChecked(false);
        Field<QRadioButton>(sheet, "infNative")->setChecked(true);
        Field<QRadioButton>(sheet, "printColor")->setChecked(true);
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(), QStringList{"The path to the Dark Forces CD-ROM is illegal."});
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(settings.m_strDFPath, std::string("/old/cd"));
        QCOMPARE(settings.m_strInstall, std::string("/old/install"));
        QVERIFY(!settings.m_bMoveObjects);
        QVERIFY(settings.m_bMoveVertex);
        QVERIFY(!settings.m_b3DO);
        QVERIFY(!settings.m_bInfEditor);
        QVERIFY(!settings.m_bBlackWhite);
    }

    void illegalInstallPathIsReported() {
        QTemporaryDir cd;
        Touch(cd.filePath("textures.gob"));
        Settings settings;
        CMorviSheet sheet(settings, nullptr);
        SetText(sheet, "cdPath", cd.path());
        SetText(sheet, "installPath", cd.path());
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(),
                 QStringList{"The path to the Dark Forces\nInstalled directory is illegal."});
        QVERIFY(settings.m_strDFPath.empty());
    }

    void useDemoResourcesFillsBothPaths() {
        Settings settings;
        CMorviSheet sheet(settings, nullptr);
        Field<QPushButton>(sheet, "useDemo")->click();
        const QString demo = QDir::cleanPath(DemoDir());
        QCOMPARE(QDir::cleanPath(Field<QLineEdit>(sheet, "cdPath")->text()), demo);
        QCOMPARE(QDir::cleanPath(Field<QLineEdit>(sheet, "installPath")->text()), demo);
        // The demo folder holds the archives both checks look for.
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(), QStringList());
        QCOMPARE(QDir::cleanPath(QString::fromStdString(settings.m_strDFPath)), demo);
        QCOMPARE(QDir::cleanPath(QString::fromStdString(settings.m_strInstall)), demo);
    }

    void perspectiveGreysTheVideoModesAndKeepsTheStoredOne() {
        Settings settings;
        settings.m_n3DGameMode = 3;
        settings.m_b3DGame = false;
        CMorviSheet sheet(settings, nullptr);
        const auto videoMode = [&](int i) {
            return Field<QRadioButton>(sheet, QStringLiteral("videoMode%1").arg(i).toLatin1().constData());
        };
        for (int i = 0; i < 6; ++i)
            QVERIFY2(!videoMode(i)->isEnabled(), "greyed on opening");
        QVERIFY(videoMode(3)->isChecked());
        Field<QRadioButton>(sheet, "modeGame")->setChecked(true);
        for (int i = 0; i < 6; ++i)
            QVERIFY(videoMode(i)->isEnabled());
        Field<QRadioButton>(sheet, "modePerspective")->setChecked(true);
        for (int i = 0; i < 6; ++i)
            QVERIFY(!videoMode(i)->isEnabled());
        Field<QRadioButton>(sheet, "textureLinear")->setChecked(true);
        Field<QCheckBox>(sheet, "frameText")->setChecked(false);
        SetText(sheet, "frameRate", "60");
        testing::ModalWatcher watcher;
        sheet.accept();
        QVERIFY(!settings.m_b3DGame);
        QCOMPARE(settings.m_n3DGameMode, 3);
        QCOMPARE(settings.m_n3DGameTexturing, 1);
        QCOMPARE(settings.m_n3DGameRate, 60);
        QVERIFY(!settings.m_b3DFrameText);
    }

    void gameModeStoresTheChosenVideoMode() {
        Settings settings;
        CMorviSheet sheet(settings, nullptr);
        QVERIFY(Field<QRadioButton>(sheet, "videoMode0")->isChecked());
        Field<QRadioButton>(sheet, "videoMode5")->setChecked(true);
        testing::ModalWatcher watcher;
        sheet.accept();
        QVERIFY(settings.m_b3DGame);
        QCOMPARE(settings.m_n3DGameMode, 5);
    }

    void frameRateOutsideTheRangeKeepsTheSheetOpen_data() {
        QTest::addColumn<QString>("rate");
        QTest::newRow("zero") << "0";
        QTest::newRow("above") << "101";
        QTest::newRow("text") << "fast";
        QTest::newRow("empty") << "";
    }

    void frameRateOutsideTheRangeKeepsTheSheetOpen() {
        QFETCH(QString, rate);
        Settings settings;
        CMorviSheet sheet(settings, nullptr);
        SetText(sheet, "frameRate", rate);
        Field<QCheckBox>(sheet, "moveVertex")->setChecked(false);
        QSignalSpy changed(&AppContext::instance(), &AppContext::settingsChanged);
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(), QStringList{"Please enter an integer between 1 and 100."});
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QCOMPARE(sheet.tabs()->currentIndex(), 2);
        // Nothing is stored while the sheet stays open.
        QCOMPARE(settings.m_n3DGameRate, 33);
        QVERIFY(settings.m_bMoveVertex);
        QCOMPARE(changed.count(), 0);

        SetText(sheet, "frameRate", "100");
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(settings.m_n3DGameRate, 100);
    }

    void levelPageStoresTheHeader() {
        MorviDocument document;
        QVERIFY(document.open(testing::SampleDocumentPath(), {}).ok());
        CDataLevel& level = document.level();
        level.m_Lev.m_strAuthor = "someone";
        Settings settings;
        UseDemoPaths(settings, DemoDir().toStdString());
        CMorviSheet sheet(settings, &document);
        QVERIFY(sheet.tabs()->widget(1)->isEnabled());
        auto* name = Field<QComboBox>(sheet, "levelName");
        QCOMPARE(name->currentText(), QString::fromStdString(level.GetLevelName()).toUpper());
        QCOMPARE(name->count(), 14);
        QCOMPARE(name->itemText(13), QStringLiteral("ARC"));
        QCOMPARE(Field<QLineEdit>(sheet, "author")->text(), QStringLiteral("someone"));
        QCOMPARE(Field<QLineEdit>(sheet, "music")->text(), QString::fromStdString(level.m_Lev.m_strMusic));

        name->setEditText("TALAY");
        SetText(sheet, "author", "A. Tester");
        SetText(sheet, "music", "STALK-02.GMD");
        SetText(sheet, "parallaxHorizontal", "512");
        SetText(sheet, "parallaxVertical", "256.5");
        QSignalSpy updated(&document, &MorviDocument::updated);
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(), QStringList());
        QCOMPARE(level.GetLevelName(), std::string("TALAY"));
        QVERIFY(level.FindMember("TALAY.LEV"));
        QCOMPARE(level.m_Lev.m_strAuthor, std::string("A. Tester"));
        QCOMPARE(level.m_Inf.m_strAuthor, std::string("A. Tester"));
        QCOMPARE(level.m_Lev.m_strMusic, std::string("STALK-02.GMD"));
        double p1 = 0, p2 = 0;
        level.GetParallax(p1, p2);
        QCOMPARE(p1, 512.0);
        QCOMPARE(p2, 256.5);
        QCOMPARE(level.m_Inf.m_dParallax2, 256.5);
        QVERIFY(document.isModified());
        QVERIFY(updated.count() >= 1);
    }

    void unreadableParallaxKeepsTheLevelUnchanged() {
        MorviDocument document;
        QVERIFY(document.open(testing::SampleDocumentPath(), {}).ok());
        const std::string music = document.level().m_Lev.m_strMusic;
        Settings settings;
        CMorviSheet sheet(settings, &document);
        SetText(sheet, "music", "OTHER.GMD");
        SetText(sheet, "parallaxVertical", "wide");
        testing::ModalWatcher watcher;
        sheet.accept();
        QCOMPARE(watcher.messages(), QStringList{"Please enter a number."});
        QCOMPARE(sheet.tabs()->currentIndex(), 1);
        QCOMPARE(document.level().m_Lev.m_strMusic, music);
        QVERIFY(!document.isModified());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::OptionsSheetTest)
#include "OptionsSheetTest.moc"
