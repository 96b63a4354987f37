#pragma once

#include "model/Status.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTimer;

namespace morvi::ui {

class HistoryPanel;

class CChildFrame;
class CMorviView;
class MorviDocument;

// The main window: the map windows in a multiple-document area, the menus, the three tool bars
// and the status bar with its six panes. It owns the open documents; a document lives as long as
// one of its map windows does.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Tool bar ids, also their object names' numbers.
    static constexpr int kStandardBarId = 100;
    static constexpr int kViewBarId = 114;
    static constexpr int kToolBarId = 173;
    // The status panes after the message pane, in order.
    static constexpr int kPaneIds[5] = {59133, 59134, 59131, 59130, 59132};
    static constexpr int kRecentFiles = 4;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // ---- Documents -----------------------------------------------------------------------------
    // A new document from the template, in a new map window.
    MorviDocument* newDocument();
    // Opens a file in a new map window (or activates the window that already shows it). Failures
    // are shown in a message box naming the file; nullptr then.
    MorviDocument* openDocument(const QString& path);
    // Takes a document read elsewhere (a recovered copy) and shows it in a new map window.
    MorviDocument* addDocument(std::unique_ptr<MorviDocument> document);
    // Saves the document, asking for a name when it has none; false when cancelled or failed.
    bool saveDocument(MorviDocument& document, bool askName);
    // Closes every document, asking to save modified ones; false when the user cancelled.
    bool closeAllDocuments();
    std::size_t documentCount() const { return m_Documents.size(); }
    // The open documents in the order they were opened.
    std::vector<MorviDocument*> documents() const;

    MorviDocument* activeDocument() const;
    CMorviView* activeView() const;
    CChildFrame* activeChild() const;
    QMdiArea* mdiArea() const { return m_pMdi; }

    // ---- Commands ------------------------------------------------------------------------------
    // The action of a command id (nullptr for none): tests and the tool bars find commands by id.
    QAction* action(int commandId) const;
    // Brings every action's enabled and checked state up to date (also done on a short timer).
    void updateCommands();
    // Runs a command as if chosen from the menu.
    void runCommand(int commandId);
    // The status pane with the given id (0 for the message pane).
    QLabel* statusPane(int paneId) const;
    QToolBar* toolBar(int barId) const;

    // ---- Start-up and shut-down ----------------------------------------------------------------
    // Places the window as the settings say: their rectangle, or the whole screen when "Right" or
    // "Bottom" is 0.
    void placeFromSettings();
    // Tool bar visibility and docking from and to the profile (section "ToolBar").
    void restoreBarState();
    void saveBarState();
    QStringList recentFiles() const { return m_RecentFiles; }

    // Hooks the application installs for work that lives outside the frame (the Options sheet, the
    // dialogs): the command id and the function to run. A command with a hook is enabled when
    // its enable function (or none) says so.
    void setCommandHandler(int commandId, std::function<void()> run, std::function<bool()> enabled = {});

signals:
    // A document was opened or created, and one is about to be destroyed (its last window closed).
    void documentAdded(MorviDocument* document);
    void documentRemoved(MorviDocument* document);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Handler {
        std::function<void()> m_Run;
        std::function<bool()> m_Enabled;
    };

    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void installHandlers();
    QMenu* addMenuOf(QMenu* menu, std::initializer_list<int> ids);
    QToolBar* addBar(int barId, const QString& title, std::initializer_list<int> ids, int toggleId);

    CChildFrame* addChildWindow(MorviDocument& document);
    void onSubWindowActivated(QMdiSubWindow* window);
    bool confirmClose(MorviDocument& document);
    void closeDocument(MorviDocument* document);
    std::vector<QMdiSubWindow*> windowsOf(const MorviDocument* document) const;
    void addRecentFile(const QString& path);
    void rebuildRecentMenu();
    void storeWindowRect();
    void setPaneText(int paneId, const QString& text);
    void showStatus(const Status& status, const QString& file);

    QMdiArea* m_pMdi;
    QHash<int, QAction*> m_Actions;
    QHash<int, Handler> m_Handlers;
    QHash<int, QLabel*> m_Panes;
    QHash<int, QToolBar*> m_Bars;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pRecentSeparator = nullptr;
    QAction* m_pRecentAnchor = nullptr;
    std::vector<QAction*> m_RecentActions;
    std::vector<QMenu*> m_DocumentMenus;
    QStringList m_RecentFiles;
    QTimer* m_pUpdateTimer;
    HistoryPanel* m_pHistory = nullptr;
    std::vector<std::unique_ptr<MorviDocument>> m_Documents;
};

} // namespace morvi::ui
