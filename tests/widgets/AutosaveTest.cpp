#include "app/AutosaveManager.h"
#include "app/MorviDocument.h"
#include "gamefiles/DocumentFile.h"
#include "support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace morvi::ui {

namespace {

constexpr int kIdleMs = 200;

QByteArray HashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList FilesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Answers the next question box with the given button and records its text.
void AnswerNextQuestion(QMessageBox::StandardButton answer, QString* text) {
    QTimer::singleShot(0, [answer, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (text) *text = box->text();
        box->button(answer)->click();
    });
}

} // namespace

class AutosaveTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    QString m_strWork;

    QString recoveryDir() const { return m_pDir->filePath("recovery"); }

    // A copy of the sample level the test may save over.
    std::unique_ptr<MorviDocument> openWorkCopy() {
        auto doc = std::make_unique<MorviDocument>();
        m_strWork = m_pDir->filePath("work.mrv");
        QFile::remove(m_strWork);
        if (!QFile::copy(testing::SampleDocumentPath(), m_strWork) || !doc->open(m_strWork, {}))
            return nullptr;
        return doc;
    }

    // A copy an earlier run left behind, of the sample level edited as the file at original.
    RecoveryEntry makeLeftover(const QString& original) {
        QDir().mkpath(recoveryDir());
        RecoveryEntry entry;
        entry.m_strCopyPath = QDir(recoveryDir()).filePath("earlier.mrv");
        entry.m_strSidecarPath = QDir(recoveryDir()).filePath("earlier.ini");
        entry.m_strOriginalPath = original;
        QFile::copy(testing::SampleDocumentPath(), entry.m_strCopyPath);
        QSettings note(entry.m_strSidecarPath, QSettings::IniFormat);
        note.setValue("Recovery/OriginalPath", original);
        note.setValue("Recovery/Time", "2026-03-01T10:20:30.000Z");
        note.sync();
        return entry;
    }

private slots:
    void initTestCase() { testing::InitWidgetTests(); }
    void init() { m_pDir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { m_pDir.reset(); }

    void aModifiedDocumentGetsACopyAfterTheIdleTime() {
        auto doc = openWorkCopy();
        QVERIFY(doc);
        const QByteArray userFile = HashOf(m_strWork);
        AutosaveManager manager(nullptr, recoveryDir());
        manager.setIdleInterval(kIdleMs);
        manager.addDocument(doc.get());
        doc->level().m_Lev.m_pSectors.front()->m_nAmbient = 7;
        testing::MakeChange(*doc);
        const QString copy = manager.copyPathFor(doc.get());
        QVERIFY(!QFile::exists(copy));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 5000);

        // The user's file, the document's path and its modified marker are untouched.
        QCOMPARE(HashOf(m_strWork), userFile);
        QCOMPARE(doc->path(), m_strWork);
        QVERIFY(doc->isModified());
        // The copy holds the edit, and the sidecar names the user's file.
        CMorviDoc reread;
        QVERIFY(LoadDocument(reread, copy.toStdString(), {}));
        QCOMPARE(reread.level().m_Lev.m_pSectors.front()->m_nAmbient, 7);
        const QList<RecoveryEntry> pending = PendingRecoveries(recoveryDir());
        QCOMPARE(pending.size(), 1);
        QCOMPARE(pending.front().m_strCopyPath, copy);
        QCOMPARE(pending.front().m_strOriginalPath, m_strWork);
        QVERIFY(qAbs(pending.front().m_Time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    }

    void anUnmodifiedDocumentGetsNone() {
        auto doc = openWorkCopy();
        QVERIFY(doc);
        AutosaveManager manager(nullptr, recoveryDir());
        manager.setIdleInterval(kIdleMs);
        manager.addDocument(doc.get());
        doc->updateAllViews();
        QVERIFY(manager.autosaveNow(doc.get()));
        QTest::qWait(3 * kIdleMs);
        QCOMPARE(FilesIn(recoveryDir()), QStringList());
    }

    void savingOrClosingRemovesTheCopy() {
        auto doc = openWorkCopy();
        QVERIFY(doc);
        AutosaveManager manager(nullptr, recoveryDir());
        manager.setIdleInterval(kIdleMs);
        manager.addDocument(doc.get());
        testing::MakeChange(*doc);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(manager.copyPathFor(doc.get())), 5000);
        QVERIFY(doc->save());
        QCOMPARE(FilesIn(recoveryDir()), QStringList());

        // Modified again, autosaved again, then closed without saving.
        testing::MakeChange(*doc);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(manager.copyPathFor(doc.get())), 5000);
        manager.removeDocument(doc.get());
        QCOMPARE(FilesIn(recoveryDir()), QStringList());
    }

    void aLeftoverNeverStopsLaterAutosaves() {
        const RecoveryEntry leftover = makeLeftover("/levels/old.mrv");
        // Even one that cannot be replaced or removed.
        QFile::setPermissions(leftover.m_strCopyPath, QFileDevice::ReadOwner);
        auto doc = openWorkCopy();
        QVERIFY(doc);
        AutosaveManager manager(nullptr, recoveryDir());
        manager.setIdleInterval(kIdleMs);
        manager.addDocument(doc.get());
        testing::MakeChange(*doc);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(manager.copyPathFor(doc.get())), 5000);
        QCOMPARE(manager.lastError(), QString());
        const QList<RecoveryEntry> pending = PendingRecoveries(recoveryDir());
        QCOMPARE(pending.size(), 2);
        QCOMPARE(pending.front().m_strOriginalPath, QString("/levels/old.mrv"));
        QCOMPARE(pending.back().m_strOriginalPath, m_strWork);
    }

    void aCopyWithoutItsSidecarIsNotOffered() {
        const RecoveryEntry leftover = makeLeftover("/levels/old.mrv");
        QFile::remove(leftover.m_strSidecarPath);
        QVERIFY(PendingRecoveries(recoveryDir()).isEmpty());
        const RecoveryEntry other = makeLeftover("/levels/old.mrv");
        QFile::remove(other.m_strCopyPath);
        QVERIFY(PendingRecoveries(recoveryDir()).isEmpty());
    }

    void restoringOpensTheCopyAsTheOriginalModified() {
        const RecoveryEntry leftover = makeLeftover("/levels/old.mrv");
        QList<RecoveryEntry> opened;
        MorviDocument doc;
        QString question;
        AnswerNextQuestion(QMessageBox::Yes, &question);
        OfferRecovery(
            nullptr,
            [&](const RecoveryEntry& entry) {
                opened.append(entry);
                QVERIFY(RestoreRecovery(doc, entry));
            },
            recoveryDir());
        QVERIFY(
            question.startsWith("Morvi was not closed properly. A recovered copy of /levels/old.mrv from "));
        QVERIFY(question.endsWith(" exists. Restore it?"));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(doc.path(), QString("/levels/old.mrv"));
        QVERIFY(doc.isModified());
        QVERIFY(!doc.level().m_Lev.m_pSectors.empty());
        // Restored: the next start does not ask again.
        QVERIFY(PendingRecoveries(recoveryDir()).isEmpty());
    }

    void noKeepsTheCopyAndDiscardRemovesIt() {
        makeLeftover("/levels/old.mrv");
        int opened = 0;
        AnswerNextQuestion(QMessageBox::No, nullptr);
        OfferRecovery(
            nullptr, [&](const RecoveryEntry&) { ++opened; }, recoveryDir());
        QCOMPARE(opened, 0);
        QCOMPARE(PendingRecoveries(recoveryDir()).size(), 1);
        AnswerNextQuestion(QMessageBox::Discard, nullptr);
        OfferRecovery(
            nullptr, [&](const RecoveryEntry&) { ++opened; }, recoveryDir());
        QCOMPARE(opened, 0);
        QCOMPARE(FilesIn(recoveryDir()), QStringList());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::AutosaveTest)
#include "AutosaveTest.moc"
