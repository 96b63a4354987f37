#include "app/GameArchiveCommands.h"
#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/FileDialogs.h"
#include "app/MorviDocument.h"
#include "document/ChangeFlags.h"
#include "gamefiles/LevelArchive.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// Save All and Test GOB in a main frame: the merge refuses before asking for a file and says what
// the game will not find; Test GOB starts the program of the game command in the game's folder, or
// says once why it cannot, writing nothing.
class GameArchiveCommandsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMainFrame> m_pFrame;
    QTemporaryDir m_Dir;

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        testing::SetStandInGamePaths();
        m_pFrame = std::make_unique<CMainFrame>();
    }
    void cleanup() {
        SetFileAnswerer({});
        testing::CloseAllWithoutSaving(*m_pFrame);
        m_pFrame.reset();
    }

    void saveAllRefusesTwoLevelsOfOneNameThenMerges() {
        MorviDocument* first = m_pFrame->openDocument(testing::SampleDocumentPath());
        MorviDocument* second = m_pFrame->openDocument(testing::SampleGobPath());
        QVERIFY(first && second);
        int asked = 0;
        const QString out = m_Dir.filePath("all.gob");
        SetFileAnswerer([&](const FileQuestion&) {
            ++asked;
            return QStringList{out};
        });
        {
            testing::ModalWatcher watcher;
            SaveAllDocuments(*m_pFrame);
            QCOMPARE(watcher.messages().size(), 1);
            QVERIFY2(watcher.messages()[0].contains("both hold the level SECBASE"),
                     qPrintable(watcher.messages()[0]));
        }
        QCOMPARE(asked, 0);

        second->change("Rename", [&] {
            return second->level().RenameLevel("TALAY") ? unsigned(kChangedMembers)
                                                        : unsigned(kChangedNothing);
        });
        const std::size_t steps = second->history().UndoCount();
        const QByteArray sampleBefore = testing::FileBytes(testing::SampleDocumentPath());
        testing::ModalWatcher watcher;
        SaveAllDocuments(*m_pFrame);
        QCOMPARE(asked, 1);
        // The sample's level list names only its own level: the result says so.
        QCOMPARE(watcher.messages().size(), 1);
        QVERIFY2(watcher.messages()[0].contains("does not list the level TALAY"),
                 qPrintable(watcher.messages()[0]));
        QVERIFY(m_pFrame->statusBar()->currentMessage().contains("SECBASE, TALAY"));
        QCOMPARE(second->history().UndoCount(), steps);
        QCOMPARE(testing::FileBytes(testing::SampleDocumentPath()), sampleBefore);
        CDataLevel merged;
        QVERIFY(LoadLevelFile(merged, out.toStdString(), [](const auto&, int) { return 1; }));
        QCOMPARE(merged.m_LevelNames, (std::vector<std::string>{"SECBASE", "TALAY"}));
        QCOMPARE(testing::LevelTexts(merged), testing::LevelTexts(second->level()));
    }

    // The stand-in game writes its working folder and arguments into a file beside itself.
    void testGobStartsTheGameCommandInTheGameFolder() {
        const QString game = m_Dir.filePath("game");
        const QString work = m_Dir.filePath("work");
        QVERIFY(QDir().mkpath(game) && QDir().mkpath(work));
        const QString script = m_Dir.filePath("stand in.sh");
        WriteFile(script,
                  "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$0.log\"\n");
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        Settings& settings = AppContext::instance().settings();
        settings.m_strInstall = game.toStdString();
        settings.m_strGameCommand = "'" + script.toStdString() + "' -u %f --in %d";

        MorviDocument* document = m_pFrame->openDocument(testing::SampleDocumentPath());
        QVERIFY(document && document->saveAs(work + "/mylevel.mrv"));
        WriteFile(work + "/mylevel.lfd", "my briefing");
        testing::ModalWatcher watcher;
        QVERIFY(TestGob(*m_pFrame, *document));
        QTRY_VERIFY(QFile::exists(script + ".log"));
        QTRY_VERIFY(testing::FileBytes(script + ".log").count('\n') == 5);
        const QString canonical = QDir(game).canonicalPath();
        QCOMPARE(QString(testing::FileBytes(script + ".log")).split('\n', Qt::SkipEmptyParts),
                 (QStringList{canonical, "-u", game + "/testlevl.gob", "--in", game}));
        QCOMPARE(testing::FileBytes(game + "/dfbrief.lfd"), QByteArray("my briefing"));
        CDataLevel played;
        QVERIFY(LoadLevelFile(played, (game + "/testlevl.gob").toStdString(), nullptr));
        QCOMPARE(testing::LevelTexts(played), testing::LevelTexts(document->level()));
        QVERIFY(watcher.messages().isEmpty());
    }

    void testGobSaysOnceWhyItCannotStartAndWritesNothing() {
        const QString game = m_Dir.filePath("empty game");
        QVERIFY(QDir().mkpath(game));
        MorviDocument* document = m_pFrame->openDocument(testing::SampleDocumentPath());
        const struct {
            QString install;
            std::string command;
            QString message;
        } cases[] = {
            {game, "no-such-game-program-here %f", "no-such-game-program-here was not found"},
            {game, "'" + game.toStdString() + "/dark.exe'", "dark.exe was not found"},
            {game, "dosbox 'mount", "unclosed quote"},
            {m_Dir.filePath("missing"), "", "does not exist"},
        };
        for (const auto& c : cases) {
            AppContext::instance().settings().m_strInstall = c.install.toStdString();
            AppContext::instance().settings().m_strGameCommand = c.command;
            testing::ModalWatcher watcher;
            QVERIFY(!TestGob(*m_pFrame, *document));
            QCOMPARE(watcher.messages().size(), 1);
            QVERIFY2(watcher.messages()[0].contains(c.message), qPrintable(watcher.messages()[0]));
            QCOMPARE(QDir(game).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        }
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::GameArchiveCommandsTest)
#include "GameArchiveCommandsTest.moc"
