#include "app/GameArchiveCommands.h"

#include "app/AppContext.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/DialogKit.h"
#include "app/FileDialogs.h"
#include "app/LongTask.h"
#include "app/MorviDocument.h"
#include "gamefiles/LevelMerge.h"
#include "view3d/View3DWidget.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>

namespace morvi::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines)
        list << Q(line);
    return list.join(QLatin1Char('\n'));
}

// The game is about to take the audio device: the 3D views and the sound previews let it go.
void ReleaseSounds(CMainFrame& frame) {
    for (QMdiSubWindow* window : frame.mdiArea()->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window->widget()); child && child->view3DWidget())
            child->view3DWidget()->releaseSounds();
    AppContext::instance().stopSounds();
}

Status StartGame(const GameLaunch& launch) {
    const QString program = FindGameProgram(launch);
    QStringList arguments;
    for (const std::string& argument : launch.m_Arguments)
        arguments << Q(argument);
    if (!QProcess::startDetached(program, arguments, Q(launch.m_strFolder)))
        return Status::Fail("The game command's program " + program.toStdString() + " could not be started.");
    return Status::Ok();
}

} // namespace

QString FindGameProgram(const GameLaunch& launch) {
    const QString program = Q(launch.m_strProgram);
    if (program.contains(QLatin1Char('/'))) {
        // A relative path is taken from the game's folder, where the game runs.
        const QFileInfo file(QDir(Q(launch.m_strFolder)), program);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

void SaveAllDocuments(CMainFrame& frame) {
    std::vector<MergeInput> inputs;
    QString startFolder;
    for (MorviDocument* document : frame.documents()) {
        // What was typed into a tool window but not stored yet belongs in the archive.
        document->doc().m_StoreEdits();
        inputs.push_back({&document->level(), document->title().toStdString()});
        if (startFolder.isEmpty() && !document->path().isEmpty())
            startFolder = QFileInfo(document->path()).absolutePath();
    }
    LevelMerge merge;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status merged = MergeLevels(inputs, merge);
    QApplication::restoreOverrideCursor();
    if (!merged) {
        QMessageBox::warning(&frame, kMessageTitle, Q(merged.message()));
        return;
    }
    const FileQuestion question{FileQuestion::Kind::Save, QStringLiteral("Save All"),
                                QtFileFilter("Dark Forces Files (*.gob)|*.gob||"), QStringLiteral("gob"),
                                startFolder.isEmpty() ? QDir::homePath() : startFolder};
    const QString path = AskFile(&frame, question);
    if (path.isEmpty()) return;
    // The archive shares the documents' member blocks and owns its texts: the worker writes it
    // whatever the documents do meanwhile.
    const Status written = RunLongTask(
        &frame, QStringLiteral("Writing %1...").arg(QFileInfo(path).fileName()),
        [&](TaskProgress& progress) { return WriteGobFile(merge.m_Archive, path.toStdString(), progress); });
    if (!written) {
        if (written.message() != kWorkCancelled)
            QMessageBox::warning(&frame, kMessageTitle,
                                 QFileInfo(path).fileName() + QStringLiteral(":\n") + Q(written.message()));
        return;
    }
    QStringList levels;
    for (const std::string& level : merge.m_Levels)
        levels << Q(level);
    const QString done = QStringLiteral("%1 saved with the levels %2.")
                             .arg(QFileInfo(path).fileName(), levels.join(QStringLiteral(", ")));
    frame.statusBar()->showMessage(done);
    if (merge.m_LeftOut.empty() && merge.m_Notes.empty()) return;
    QString text = done;
    if (!merge.m_LeftOut.empty())
        text += QStringLiteral("\n\nLeft out (not one level each):\n") + Lines(merge.m_LeftOut);
    if (!merge.m_Notes.empty()) text += QStringLiteral("\n\n") + Lines(merge.m_Notes);
    QMessageBox::information(&frame, kMessageTitle, text);
}

bool TestGob(CMainFrame& frame, MorviDocument& document) {
    document.doc().m_StoreEdits();
    const Settings& settings = AppContext::instance().settings();
    std::filesystem::path folder;
    GameLaunch launch;
    Status status = CheckInstallFolder(settings.m_strInstall, folder);
    if (status)
        status = ExpandGameCommand(settings.m_strGameCommand, folder / kTestArchiveName, folder, launch);
    if (status && FindGameProgram(launch).isEmpty())
        status = Status::Fail("The game cannot be started: the program " + launch.m_strProgram +
                              " was not found. Install it, or name the program that runs Dark Forces in "
                              "the game command on the Setup page of Tools, Options.");
    TestRunFiles files;
    if (status) {
        ReleaseSounds(frame);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        status =
            PrepareTestRun(document.level(), document.path().toStdString(), settings.m_strInstall, files);
        QApplication::restoreOverrideCursor();
    }
    if (status) status = StartGame(launch);
    if (!status) {
        QMessageBox::warning(&frame, kMessageTitle, Q(status.message()));
        return false;
    }
    QString text = QStringLiteral("Dark Forces started on %1").arg(Q(files.m_Archive.string()));
    if (!files.m_Briefing.empty())
        text += QStringLiteral(" with the briefing %1").arg(Q(files.m_Briefing.filename().string()));
    if (!files.m_strBriefingProblem.empty())
        text += QStringLiteral(" without its briefing (%1)").arg(Q(files.m_strBriefingProblem));
    frame.statusBar()->showMessage(text + QLatin1Char('.'));
    return true;
}

} // namespace morvi::ui
