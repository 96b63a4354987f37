#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/MorviApplication.h"
#include "support/WidgetTestSupport.h"

#include <QFileInfo>
#include <QtTest>

namespace morvi::ui {

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void commandLineOptions() {
        const StartOptions o =
            ParseStartOptions({"morvi", "--demo", "level.gob", "--screenshot", "shot.png"});
        QVERIFY(o.m_bDemo);
        QCOMPARE(o.m_strFile, QString("level.gob"));
        QCOMPARE(o.m_strScreenshot, QString("shot.png"));
        QVERIFY(o.m_bQuiet);
        QVERIFY(o.m_strError.isEmpty());
        QCOMPARE(ParseStartOptions({"morvi", "--nonsense"}).m_strError, QString("Unknown option --nonsense"));
    }

    // The document named on the command line is open before the About box shows, which closes
    // itself; --demo lends the demo archives for the run without writing them into the profile.
    void startUpRunsInOrderAndDemoPathsAreNotKept() {
        QSettings& profile = AppContext::instance().profile();
        profile.setValue("Tip/StartUp", 1);
        MorviApplication application(ParseStartOptions({"morvi", "--demo", testing::SampleDocumentPath()}));
        application.startUp();
        QCOMPARE(application.startUpLog(), (QStringList{"settings", "desktop entry", "main frame", "show",
                                                        "open sample.mrv", "about", "recovery"}));
        QCOMPARE(application.frame().documentCount(), std::size_t{1});
        QCOMPARE(profile.value("Preferences/GroupIcon").toInt(), 1);
        const Settings& settings = AppContext::instance().settings();
        QVERIFY(QFileInfo::exists(QString::fromStdString(settings.m_strDFPath) + "/textures.gob"));
        QVERIFY(QFileInfo::exists(QString::fromStdString(settings.m_strInstall) + "/sounds.gob"));
        QVERIFY(application.frame().closeAllDocuments());
        application.shutDown();
        QCOMPARE(profile.value("Preferences/DFPath").toString(), QString());
        QVERIFY(profile.contains("Preferences/MoveObjects"));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::StartUpTest)
#include "StartUpTest.moc"
