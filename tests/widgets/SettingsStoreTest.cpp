#include "app/SettingsStore.h"
#include "app/AppContext.h"
#include "support/WidgetTestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void missingValuesGiveTheDefaults() {
        QTemporaryDir dir;
        QSettings profile(dir.filePath("morvi.ini"), QSettings::IniFormat);
        Settings settings;
        settings.m_n3DGameRate = 7;
        settings.m_strDFPath = "/old";
        LoadSettings(profile, settings);
        QCOMPARE(settings.m_n3DGameRate, 33);
        QCOMPARE(settings.m_strDFPath, std::string());
        QCOMPARE(settings.m_nTextEditorLeft, -1);
        QVERIFY(settings.m_bInfEditor);
    }

    void valuesRoundTripUnderTheirNames() {
        QTemporaryDir dir;
        const QString file = dir.filePath("morvi.ini");
        Settings written;
        written.m_strDFPath = "/games/df/dark";
        written.m_bMoveVertex = false;
        written.m_n3DGameMode = 4;
        written.m_nRight = 1200;
        {
            QSettings profile(file, QSettings::IniFormat);
            SaveSettings(profile, written);
        }
        QSettings profile(file, QSettings::IniFormat);
        QCOMPARE(profile.value("Preferences/DFPath").toString(), QString("/games/df/dark"));
        QCOMPARE(profile.value("Preferences/MoveVertex").toInt(), 0);
        QCOMPARE(profile.value("Preferences/3DGameMode").toInt(), 4);
        QVERIFY(!profile.contains("Preferences/GroupIcon"));
        Settings read;
        LoadSettings(profile, read);
        QCOMPARE(read.m_strDFPath, written.m_strDFPath);
        QCOMPARE(read.m_bMoveVertex, false);
        QCOMPARE(read.m_nRight, 1200);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::SettingsStoreTest)
#include "SettingsStoreTest.moc"
