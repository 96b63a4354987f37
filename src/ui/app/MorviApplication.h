#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace morvi::ui {

class AutosaveManager;
class CMainFrame;

// What the command line asks for.
struct StartOptions {
    QString m_strFile;       // a document to open
    bool m_bDemo = false;    // use the bundled demo archives as game paths for this run
    QString m_strScreenshot; // write a picture of the main window there and quit
    bool m_bQuiet = false;   // no About box, tip or recovery questions (tests, screenshots)
    QString m_strError;      // an unknown option
};
StartOptions ParseStartOptions(const QStringList& arguments);

// The running editor: the start-up and shut-down order, the main frame and the commands that open
// dialogs and windows around it.
class MorviApplication : public QObject {
    Q_OBJECT
public:
    explicit MorviApplication(const StartOptions& options);
    ~MorviApplication() override;

    // Runs the start-up in its order and shows the main window. The steps that ask questions
    // (About box, tip, recovery) are skipped in quiet mode.
    void startUp();
    // Saves the settings; called once when the event loop ends.
    void shutDown();

    CMainFrame& frame() { return *m_pFrame; }
    AutosaveManager& autosave() { return *m_pAutosave; }
    // The steps start-up ran, in order (for tests).
    const QStringList& startUpLog() const { return m_StartUpLog; }

private:
    void installCommands();
    void step(const QString& name) { m_StartUpLog.append(name); }
    void writeScreenshot();

    StartOptions m_Options;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<AutosaveManager> m_pAutosave;
    QStringList m_StartUpLog;
    // The game paths as the profile had them, written back at exit when --demo replaced them.
    std::string m_strSavedDFPath;
    std::string m_strSavedInstall;
};

} // namespace morvi::ui
