#include "app/MorviApplication.h"

#include "app/AboutDialog.h"
#include "app/AppContext.h"
#include "app/AppPaths.h"
#include "app/AutosaveManager.h"
#include "app/CMainFrame.h"
#include "app/CMorviSheet.h"
#include "app/CommandTable.h"
#include "app/DesktopIntegration.h"
#include "app/GameArchiveCommands.h"
#include "app/GamePaths.h"
#include "app/HelpWindow.h"
#include "app/MorviDocument.h"
#include "app/TextEditorWindow.h"
#include "app/TipDialog.h"
#include "infedit/InfEditorWindow.h"
#include "infedit/InfWorkingCopy.h"
#include "mapedit/CMorviView.h"
#include "mapedit/FindSectorDialog.h"
#include "mapedit/MapEditCommands.h"
#include "mapedit/MapPrinter.h"
#include "mapedit/StatisticsDialog.h"
#include "resources/ArchiveManagerWindow.h"
#include "resources/FilmManagerWindow.h"
#include "resources/LevelFilesDialog.h"
#include "resources/WaxEditorWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <cstdio>

namespace morvi::ui {

namespace {

constexpr int kPerspectiveMode = 4;

// One printer for the run, so that Print Setup's choices hold for the next Print.
QPrinter& SharedPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == "--demo") {
            options.m_bDemo = true;
        } else if (a == "--quiet") {
            options.m_bQuiet = true;
        } else if (a == "--screenshot" && i + 1 < arguments.size()) {
            options.m_strScreenshot = arguments[++i];
            options.m_bQuiet = true;
        } else if (a.startsWith("--")) {
            options.m_strError = "Unknown option " + a;
        } else if (options.m_strFile.isEmpty()) {
            options.m_strFile = a;
        }
    }
    return options;
}

MorviApplication::MorviApplication(const StartOptions& options) : m_Options(options) {}

MorviApplication::~MorviApplication() = default;

void MorviApplication::startUp() {
    AppContext& context = AppContext::instance();
    step("settings");
    context.loadSettings();
    Settings& settings = context.settings();
    m_strSavedDFPath = settings.m_strDFPath;
    m_strSavedInstall = settings.m_strInstall;
    if (m_Options.m_bDemo) UseDemoPaths(settings, DemoDir().toStdString());

    QSettings& profile = context.profile();
    if (profile.value("Preferences/GroupIcon", 0).toInt() == 0 && !m_Options.m_bQuiet) {
        step("desktop entry");
        // An installed package has already made Morvi known to every user's desktop.
        QString error;
        if (!SystemHasDesktopEntry() &&
            InstallDesktopIntegration(QCoreApplication::applicationFilePath(), &error))
            profile.setValue("Preferences/GroupIcon", 1);
    }

    step("main frame");
    m_pFrame = std::make_unique<CMainFrame>();
    m_pFrame->restoreBarState();
    m_pAutosave = std::make_unique<AutosaveManager>();
    connect(m_pFrame.get(), &CMainFrame::documentAdded, m_pAutosave.get(), &AutosaveManager::addDocument);
    connect(m_pFrame.get(), &CMainFrame::documentRemoved, m_pAutosave.get(),
            &AutosaveManager::removeDocument);
    installCommands();

    step("show");
    m_pFrame->placeFromSettings();
    m_pFrame->show();

    if (!m_Options.m_strFile.isEmpty()) {
        step("open " + QFileInfo(m_Options.m_strFile).fileName());
        m_pFrame->openDocument(m_Options.m_strFile);
    }
    if (!m_Options.m_strScreenshot.isEmpty()) {
        QTimer::singleShot(1000, this, &MorviApplication::writeScreenshot);
        return;
    }
    if (m_Options.m_bQuiet) return;
    step("about");
    AboutDialog about(AboutDialog::Mode::StartUp, m_pFrame.get());
    about.exec();
    if (ShouldShowTipAtStartUp(profile)) {
        step("tip");
        TipDialog tip(m_pFrame.get());
        tip.exec();
    }
    step("recovery");
    OfferRecovery(m_pFrame.get(), [this](const RecoveryEntry& entry) {
        auto document = std::make_unique<MorviDocument>();
        if (const Status status = RestoreRecovery(*document, entry); !status) {
            QMessageBox::warning(m_pFrame.get(), "Morvi", QString::fromStdString(status.message()));
            return;
        }
        m_pFrame->addDocument(std::move(document));
    });
}

void MorviApplication::shutDown() {
    Settings& settings = AppContext::instance().settings();
    if (m_Options.m_bDemo && settings.m_strDFPath == WithoutTrailingSeparator(DemoDir().toStdString())) {
        // --demo lends the demo archives for one run; the user's own paths stay in the profile.
        settings.m_strDFPath = m_strSavedDFPath;
        settings.m_strInstall = m_strSavedInstall;
    }
    AppContext::instance().saveSettings();
}

void MorviApplication::writeScreenshot() {
    const QImage image = m_pFrame->grab().toImage();
    if (!image.save(m_Options.m_strScreenshot)) {
        std::fprintf(stderr, "morvi: cannot write %s\n", qPrintable(m_Options.m_strScreenshot));
        QCoreApplication::exit(1);
        return;
    }
    std::printf("%s\n", qPrintable(QFileInfo(m_Options.m_strScreenshot).absoluteFilePath()));
    std::fflush(stdout);
    m_pFrame->closeAllDocuments();
    QCoreApplication::exit(0);
}

void MorviApplication::installCommands() {
    CMainFrame& frame = *m_pFrame;
    new MapEditCommands(frame); // owned by the frame
    const auto view = [&frame] { return frame.activeView(); };
    const auto document = [&frame] { return frame.activeDocument(); };
    const auto inMode = [document](int mode) {
        return [document, mode] { return document() && document()->doc().m_nMode == mode; };
    };

    frame.setCommandHandler(
        cmd::kOptions,
        [&frame, document] {
            CMorviSheet sheet(AppContext::instance().settings(), document(), &frame);
            sheet.exec();
        },
        [document] { return !document() || document()->doc().m_nMode != kPerspectiveMode; });
    frame.setCommandHandler(cmd::kStatistics, [&frame, document] {
        StatisticsDialog dialog(document()->level(), &frame);
        dialog.exec();
    });
    frame.setCommandHandler(
        cmd::kFindSector,
        [&frame, view] {
            FindSectorDialog dialog(view()->document(), view()->engine(), &frame);
            dialog.exec();
        },
        inMode(kModeSector));

    const auto textEditor = [&frame, document](TextKind kind) {
        return [&frame, document, kind] { OpenTextEditor(*document(), kind, QString(), &frame); };
    };
    frame.setCommandHandler(cmd::kInfEditor, [&frame, document] { OpenInfCommand(*document(), &frame); });
    frame.setCommandHandler(cmd::kGolEditor, textEditor(TextKind::Gol));
    frame.setCommandHandler(cmd::kLvlEditor, textEditor(TextKind::Lvl));
    frame.setCommandHandler(cmd::kMsgEditor, textEditor(TextKind::Msg));
    const auto activeLevel = [&frame] {
        return frame.activeDocument() ? &frame.activeDocument()->level() : nullptr;
    };
    frame.setCommandHandler(cmd::kGobManager, [&frame, activeLevel] {
        ShowArchiveManager(ArchiveKind::Gob, &frame, activeLevel());
    });
    frame.setCommandHandler(cmd::kLfdManager, [&frame, activeLevel] {
        ShowArchiveManager(ArchiveKind::Lfd, &frame, activeLevel());
    });
    frame.setCommandHandler(cmd::kFiles, [&frame, document] { OpenLevelFilesDialog(*document(), &frame); });
    frame.setCommandHandler(cmd::kFilmManager, [&frame] { OpenFilmManager(&frame); });
    frame.setCommandHandler(cmd::kAuxEditor, [&frame, activeLevel] { OpenWaxEditor(activeLevel(), &frame); });

    frame.setCommandHandler(cmd::kPrint, [&frame, view] {
        QPrintDialog dialog(&SharedPrinter(), &frame);
        if (dialog.exec() == QDialog::Accepted) PrintMap(view()->engine(), SharedPrinter());
    });
    frame.setCommandHandler(cmd::kPrintPreview,
                            [&frame, view] { ShowPrintPreview(view()->engine(), &frame); });
    frame.setCommandHandler(cmd::kPrintSetup, [&frame] {
        QPageSetupDialog dialog(&SharedPrinter(), &frame);
        dialog.exec();
    });
    frame.setCommandHandler(cmd::kExportMap, [&frame, view] {
        QString filter;
        QString path = QFileDialog::getSaveFileName(&frame, "Export Map", QString(),
                                                    "PNG Image (*.png);;SVG Drawing (*.svg)", &filter);
        if (path.isEmpty()) return;
        // A name typed without a picture's extension takes the chosen filter's.
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix != "png" && suffix != "svg") path += filter.startsWith("SVG") ? ".svg" : ".png";
        QString error;
        if (!ExportMapImage(view()->engine(), path, view()->viewport()->size(), &error))
            QMessageBox::warning(&frame, "Morvi", error);
    });

    frame.setCommandHandler(cmd::kSaveAll, [&frame] { SaveAllDocuments(frame); });
    frame.setCommandHandler(cmd::kTestGob, [&frame, document] { TestGob(frame, *document()); });

    frame.setCommandHandler(cmd::kHelpTopics, [] { HelpWindow::ShowTopics(); });
    frame.setCommandHandler(cmd::kHelpIndex, [] { HelpWindow::ShowIndex(); });
    frame.setCommandHandler(cmd::kAbout, [&frame] {
        AboutDialog about(AboutDialog::Mode::Normal, &frame);
        about.exec();
    });
    frame.setCommandHandler(cmd::kTipOfTheDay, [&frame] {
        TipDialog tip(&frame);
        tip.exec();
    });
}

} // namespace morvi::ui
