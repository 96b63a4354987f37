#include "app/AboutDialog.h"
#include "app/AppPaths.h"
#include "app/DesktopIntegration.h"
#include "app/TipDialog.h"
#include "support/WidgetTestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <filesystem>

namespace morvi::ui {

namespace {

QString ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("<unreadable>");
    return QString::fromUtf8(file.readAll());
}

} // namespace

class ShellDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        QVERIFY(m_Dir.isValid());
        m_strTips = m_Dir.filePath("tips.txt");
        QFile file(m_strTips);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("; tips\nFirst tip\n\nSecond tip\nThird tip\n");
        file.close();
        m_pProfile = std::make_unique<QSettings>(m_Dir.filePath("morvi.ini"), QSettings::IniFormat);
        m_pProfile->clear();
    }

    void aboutBoxShowsTheTitleAndVersion() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QString("About Morvi"));
        auto* title = about.findChild<QLabel*>("title");
        QVERIFY(title);
        QCOMPARE(title->text(), QString("Morvi Version 3.20"));
        QCOMPARE(about.autoCloseInterval(), 0);
    }

    void startUpAboutBoxClosesItself() {
        AboutDialog about(AboutDialog::Mode::StartUp);
        QCOMPARE(about.autoCloseInterval(), AboutDialog::kStartUpMilliseconds);
        about.setAutoCloseInterval(150);
        about.show();
        QVERIFY(about.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!about.isVisible(), 2000);
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void normalAboutBoxStaysOpen() {
        AboutDialog about;
        about.show();
        QTest::qWait(300);
        QVERIFY(about.isVisible());
        about.accept();
        QVERIFY(!about.isVisible());
    }

    void tipDialogShowsTipsAndGoesOnWhereItStopped() {
        {
            TipDialog tips(*m_pProfile, m_strTips);
            QCOMPARE(tips.windowTitle(), QString("Tip of the Day"));
            QCOMPARE(tips.tipText(), QString("First tip"));
            QVERIFY(tips.showAtStartUp());
            QVERIFY(tips.canShowNext());
            tips.showNextTip();
            QCOMPARE(tips.tipText(), QString("Second tip"));
            QCOMPARE(tips.findChild<QLabel*>("heading")->text(), QString("Did you know..."));
        }
        QCOMPARE(m_pProfile->value("Tip/FilePos").toLongLong(), 29);
        QCOMPARE(m_pProfile->value("Tip/TimeStamp").toString(),
                 QString::fromStdString(FileTimeStamp(m_strTips.toStdString())));
        TipDialog again(*m_pProfile, m_strTips);
        QCOMPARE(again.tipText(), QString("Third tip"));
        again.showNextTip();
        QCOMPARE(again.tipText(), QString("First tip"));
    }

    void clearingTheCheckBoxStoresStartUpOne() {
        QVERIFY(ShouldShowTipAtStartUp(*m_pProfile));
        {
            TipDialog tips(*m_pProfile, m_strTips);
            tips.setShowAtStartUp(false);
            tips.accept();
        }
        QCOMPARE(m_pProfile->value("Tip/StartUp").toInt(), 1);
        QVERIFY(!ShouldShowTipAtStartUp(*m_pProfile));
        TipDialog tips(*m_pProfile, m_strTips);
        QVERIFY(!tips.showAtStartUp());
        tips.setShowAtStartUp(true);
        tips.accept();
        QCOMPARE(m_pProfile->value("Tip/StartUp").toInt(), 0);
    }

    void aChangedFileStartsAtTheFirstTip() {
        { TipDialog tips(*m_pProfile, m_strTips); }
        QCOMPARE(m_pProfile->value("Tip/FilePos").toLongLong(), 17);
        const std::filesystem::path path = m_strTips.toStdString();
        std::filesystem::last_write_time(path,
                                         std::filesystem::last_write_time(path) - std::chrono::hours(30));
        TipDialog tips(*m_pProfile, m_strTips);
        QCOMPARE(tips.tipText(), QString("First tip"));
        QCOMPARE(m_pProfile->value("Tip/TimeStamp").toString(), QString::fromStdString(FileTimeStamp(path)));
    }

    void aMissingTipsFileIsSaidAndKeepsThePlace() {
        m_pProfile->setValue("Tip/FilePos", 12);
        {
            TipDialog tips(*m_pProfile, m_Dir.filePath("absent.txt"));
            QCOMPARE(tips.tipText(), QString("Tips file does not exist in the prescribed directory"));
            QVERIFY(!tips.canShowNext());
        }
        QCOMPARE(m_pProfile->value("Tip/FilePos").toInt(), 12);
        QVERIFY(!m_pProfile->contains("Tip/TimeStamp"));
    }

    void shippedTipsFileHoldsDistinctTips() {
        TipDialog tips(*m_pProfile, TipsPath());
        QVERIFY(tips.canShowNext());
        const QString first = tips.tipText();
        QStringList seen{first};
        for (tips.showNextTip(); tips.tipText() != first && seen.size() < 200; tips.showNextTip())
            seen.append(tips.tipText());
        QVERIFY2(seen.size() >= 20, qPrintable(seen.join('\n')));
        QCOMPARE(seen.removeDuplicates(), 0);
        for (const QString& tip : seen)
            QVERIFY(!tip.contains(QLatin1String("file does not exist")));
    }

    void desktopEntryQuotesPathsWithBlanks() {
        QCOMPARE(DesktopEntryText("/opt/My Tools/morvi"),
                 QString("[Desktop Entry]\nType=Application\nName=Morvi\nGenericName=Level Editor\n"
                         "Comment=Edit Dark Forces levels\nExec=\"/opt/My Tools/morvi\" %f\nIcon=morvi\n"
                         "Terminal=false\n"
                         "MimeType=application/x-morvi-document;application/x-dark-forces-gob;\n"
                         "Categories=Graphics;Development;\n"));
    }

    void desktopIntegrationWritesItsThreeFiles() {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString entry = data + "/applications/morvi.desktop";
        const QString mime = data + "/mime/packages/morvi.xml";
        const QString icon = data + "/icons/hicolor/256x256/apps/morvi.png";
        for (const QString& path : {entry, mime, icon})
            QFile::remove(path);

        QString error;
        QVERIFY2(InstallDesktopIntegration("/usr/local/bin/morvi", &error), qPrintable(error));
        const QString entryText = ReadAll(entry);
        QVERIFY(entryText.startsWith("[Desktop Entry]\n"));
        QVERIFY(entryText.contains("\nExec=/usr/local/bin/morvi %f\n"));
        QVERIFY(
            entryText.contains("\nMimeType=application/x-morvi-document;application/x-dark-forces-gob;\n"));
        const QString mimeText = ReadAll(mime);
        QVERIFY(mimeText.contains("<mime-type type=\"application/x-morvi-document\">"));
        QVERIFY(mimeText.contains("<glob pattern=\"*.mrv\"/>"));
        QVERIFY(mimeText.contains("<mime-type type=\"application/x-dark-forces-gob\">"));
        QVERIFY(mimeText.contains("<glob pattern=\"*.gob\"/>"));
        const QImage image(icon);
        QCOMPARE(image.size(), QSize(256, 256));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(128, 128).alpha(), 255);
    }

private:
    QTemporaryDir m_Dir;
    QString m_strTips;
    std::unique_ptr<QSettings> m_pProfile;
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::ShellDialogsTest)
#include "ShellDialogsTest.moc"
