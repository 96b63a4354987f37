#include "app/CMainFrame.h"

#include "app/AppContext.h"
#include "app/AppPaths.h"
#include "app/CChildFrame.h"
#include "app/CommandIcons.h"
#include "app/CommandTable.h"
#include "app/GamePaths.h"
#include "app/HistoryPanel.h"
#include "app/LevelsDialog.h"

#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>

#include <algorithm>

namespace morvi::ui {

namespace {

constexpr const char* kDocumentFilter = "Morvi Files (*.mrv);;GOB Files (*.gob);;All Files (*)";
constexpr int kUpdateIntervalMs = 150;

// Commands that need a document: without one they are disabled, and the menus that hold nothing
// else are hidden.
bool NeedsDocument(int id) {
    switch (id) {
    case cmd::kNew:
    case cmd::kOpen:
    case cmd::kPrintSetup:
    case cmd::kExit:
    case cmd::kStandardBar:
    case cmd::kViewBar:
    case cmd::kToolBar:
    case cmd::kStatusBar:
    case cmd::kHelpTopics:
    case cmd::kHelpIndex:
    case cmd::kAbout:
    case cmd::kContextHelp:
    case cmd::kTipOfTheDay:
    case cmd::kOptions:
    case cmd::kGobManager:
    case cmd::kLfdManager:
    case cmd::kFilmManager:
    case cmd::kAuxEditor:
        return false;
    default:
        return true;
    }
}

QString CanonicalOrAbsolute(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_pMdi(new QMdiArea(this)), m_pUpdateTimer(new QTimer(this)) {
    // No title of its own: the desktop shows the program's name ("Morvi"), and a maximised map
    // window's caption becomes the title, to which the desktop adds " — Morvi".
    setWindowTitle(QString());
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    m_pMdi->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(m_pMdi);
    connect(m_pMdi, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);

    QSettings& profile = AppContext::instance().profile();
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString file = profile.value(QString("Recent File List/File%1").arg(i)).toString();
        if (!file.isEmpty()) m_RecentFiles.append(file);
    }

    m_pHistory = new HistoryPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, m_pHistory);
    m_pHistory->hide();

    createActions();
    installHandlers();
    createMenus();
    createToolBars();
    createStatusBar();

    connect(m_pUpdateTimer, &QTimer::timeout, this, &CMainFrame::updateCommands);
    m_pUpdateTimer->start(kUpdateIntervalMs);
    updateCommands();
}

CMainFrame::~CMainFrame() {
    // The map windows go before the documents they show; nothing is asked any more.
    for (QMdiSubWindow* window : m_pMdi->subWindowList()) {
        window->removeEventFilter(this);
        delete window;
    }
}

// ---- Actions, menus, bars --------------------------------------------------------------------------

void CMainFrame::createActions() {
    for (const CommandInfo& command : Commands()) {
        auto* action = new QAction(QString::fromUtf8(command.m_szText), this);
        action->setObjectName(QString("command%1").arg(command.m_nId));
        action->setData(command.m_nId);
        action->setShortcuts(CommandKeys(command));
        action->setStatusTip(QString::fromUtf8(command.m_szTip));
        action->setCheckable(command.m_bCheckable);
        action->setIcon(CommandIcon(command.m_nId));
        action->setIconVisibleInMenu(false);
        const int id = command.m_nId;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        addAction(action);
        m_Actions.insert(id, action);
    }
}

QMenu* CMainFrame::addMenuOf(QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(action(id));
    }
    return menu;
}

void CMainFrame::createMenus() {
    QMenuBar* bar = menuBar();
    m_pFileMenu = bar->addMenu("&File");
    addMenuOf(m_pFileMenu, {cmd::kNew, cmd::kOpen, cmd::kClose, cmd::kSave, cmd::kSaveAs, cmd::kSaveAll, 0,
                            cmd::kExportMap, 0, cmd::kPrint, cmd::kPrintPreview, cmd::kPrintSetup, 0});
    m_pRecentAnchor = m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(action(cmd::kExit));
    rebuildRecentMenu();

    QMenu* edit = bar->addMenu("&Edit");
    addMenuOf(edit, {cmd::kUndo, cmd::kRedo, cmd::kHistory, 0, cmd::kCut, cmd::kCopy, cmd::kPaste, 0,
                     cmd::kInsert, cmd::kDelete, 0, cmd::kLibraryLoad, cmd::kLibrarySave, 0, cmd::kLink,
                     cmd::kUnlink, 0, cmd::kProperties});

    QMenu* view = bar->addMenu("&View");
    addMenuOf(view, {cmd::kPerspective, 0, cmd::kSector, cmd::kWall, cmd::kVertex, cmd::kObject, 0});
    addMenuOf(view->addMenu("Tool&bars"), {cmd::kStandardBar, cmd::kViewBar, cmd::kToolBar, cmd::kStatusBar});
    addMenuOf(view->addMenu("&Map"), {cmd::kZoomIn, cmd::kZoomOut, cmd::kZoomNormalize});
    addMenuOf(view->addMenu("&Grid"), {cmd::kGridZoomIn, cmd::kGridZoomOut, cmd::kGridOn});
    addMenuOf(view->addMenu("L&ayers"), {cmd::kLayerUp, cmd::kLayerDown, cmd::kAllLayers});
    addMenuOf(view->addMenu("&Tools"), {cmd::kToolNormal, cmd::kToolAmbiance, cmd::kToolDamage,
                                        cmd::kToolAltitude, cmd::kToolSkies, cmd::kToolObjects});
    addMenuOf(view, {0, cmd::kStatistics});

    QMenu* tools = bar->addMenu("&Tools");
    addMenuOf(tools, {cmd::kOptions, cmd::kFiles, cmd::kFindSector, cmd::kCheckLevel, 0, cmd::kChangeOffsets,
                      cmd::kDistribution, cmd::kAlignment, cmd::kFlipRotate, cmd::kScaling, cmd::kExtrude});
    addMenuOf(tools->addMenu("&Create"),
              {cmd::kCreateDoor, cmd::kCreateStaircase, cmd::kCreateElevator, cmd::kCreateCylinder});
    tools->addSeparator();
    addMenuOf(tools->addMenu("Editors"),
              {cmd::kInfEditor, cmd::kGolEditor, cmd::kLvlEditor, cmd::kMsgEditor, cmd::kAuxEditor});
    addMenuOf(tools->addMenu("Managers"), {cmd::kLfdManager, cmd::kGobManager, cmd::kFilmManager});
    addMenuOf(tools, {0, cmd::kTestGob});

    QMenu* window = bar->addMenu("&Window");
    connect(window, &QMenu::aboutToShow, this, [this, window] {
        window->clear();
        addMenuOf(window, {cmd::kNewWindow, cmd::kCascade, cmd::kTile, cmd::kArrangeIcons});
        const QList<QMdiSubWindow*> windows = m_pMdi->subWindowList();
        if (!windows.isEmpty()) window->addSeparator();
        for (int i = 0; i < windows.size(); ++i) {
            QMdiSubWindow* sub = windows[i];
            QAction* item = window->addAction(QString("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
            item->setCheckable(true);
            item->setChecked(sub == m_pMdi->activeSubWindow());
            connect(item, &QAction::triggered, this, [this, sub] { m_pMdi->setActiveSubWindow(sub); });
        }
    });

    QMenu* help = bar->addMenu("&Help");
    addMenuOf(help,
              {cmd::kTipOfTheDay, 0, cmd::kHelpTopics, cmd::kHelpIndex, cmd::kContextHelp, 0, cmd::kAbout});

    m_DocumentMenus = {edit, tools, window};
}

QToolBar* CMainFrame::addBar(int barId, const QString& title, std::initializer_list<int> ids, int toggleId) {
    QToolBar* bar = new QToolBar(title, this);
    bar->setObjectName(QString("ToolBar-Bar%1").arg(m_Bars.size()));
    bar->setIconSize(QSize(19, 17)); // the buttons' design size; the icons are vectors
    for (int id : ids) {
        if (id == 0)
            bar->addSeparator();
        else
            bar->addAction(action(id));
    }
    QAction* toggle = action(toggleId);
    connect(bar, &QToolBar::visibilityChanged, toggle,
            [toggle, bar] { toggle->setChecked(bar->isVisible()); });
    m_Bars.insert(barId, bar);
    return bar;
}

void CMainFrame::createToolBars() {
    addToolBar(Qt::TopToolBarArea, addBar(kStandardBarId, "Standard Toolbar",
                                          {cmd::kNew,         cmd::kOpen,        cmd::kSave,
                                           cmd::kPrint,       cmd::kContextHelp, 0,
                                           cmd::kCut,         cmd::kCopy,        cmd::kPaste,
                                           cmd::kLink,        cmd::kUnlink,      0,
                                           cmd::kPerspective, cmd::kSector,      cmd::kWall,
                                           cmd::kVertex,      cmd::kObject,      0,
                                           cmd::kInfEditor,   cmd::kGolEditor,   cmd::kLvlEditor,
                                           cmd::kMsgEditor,   cmd::kAuxEditor,   cmd::kLfdManager,
                                           cmd::kGobManager,  cmd::kFilmManager},
                                          cmd::kStandardBar));
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea,
               addBar(kViewBarId, "View Toolbar",
                      {cmd::kZoomIn, cmd::kZoomOut, cmd::kZoomNormalize, 0, cmd::kGridZoomIn,
                       cmd::kGridZoomOut, cmd::kGridOn, 0, cmd::kLayerUp, cmd::kLayerDown, cmd::kAllLayers, 0,
                       cmd::kProperties, cmd::kFindSector},
                      cmd::kViewBar));
    addToolBar(Qt::TopToolBarArea, addBar(kToolBarId, "Tool Toolbar",
                                          {cmd::kFlipLeft, cmd::kFlipTop, cmd::kRotateRight, cmd::kRotateLeft,
                                           cmd::kFlipRotate, 0, cmd::kChangeTool, cmd::kCreateDoor,
                                           cmd::kCreateStaircase, cmd::kCreateElevator, cmd::kCreateCylinder},
                                          cmd::kToolBar));
    for (QAction* toggle : {action(cmd::kStandardBar), action(cmd::kViewBar), action(cmd::kToolBar)})
        toggle->setChecked(true);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    // The message pane takes the rest; the others are as wide as their widest text.
    const struct {
        int id;
        int width;
        const char* prototype;
    } panes[] = {{59133, 65, "Status"},      {59134, 75, "Status"},   {59131, 55, "-123.45"},
                 {59130, 55, "-123.45"},     {59132, 50, "Layer: 5"}, {59135, 70, "Zoom 1600%"},
                 {59136, 70, "999 selected"}};
    for (const auto& pane : panes) {
        auto* label = new QLabel(" ", bar);
        label->setObjectName(QString("pane%1").arg(pane.id));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int text = label->fontMetrics().horizontalAdvance(QString(pane.prototype) + "  ");
        label->setMinimumWidth(std::max(pane.width, text));
        bar->addPermanentWidget(label);
        m_Panes.insert(pane.id, label);
    }
    action(cmd::kStatusBar)->setChecked(true);
}

QAction* CMainFrame::action(int commandId) const {
    return m_Actions.value(commandId, nullptr);
}

QLabel* CMainFrame::statusPane(int paneId) const {
    return m_Panes.value(paneId, nullptr);
}

QToolBar* CMainFrame::toolBar(int barId) const {
    return m_Bars.value(barId, nullptr);
}

void CMainFrame::setPaneText(int paneId, const QString& text) {
    if (paneId == 0) return statusBar()->showMessage(text);
    if (QLabel* pane = statusPane(paneId)) pane->setText(text.isEmpty() ? QStringLiteral(" ") : text);
}

// ---- Command routing -------------------------------------------------------------------------------

void CMainFrame::setCommandHandler(int commandId, std::function<void()> run, std::function<bool()> enabled) {
    m_Handlers.insert(commandId, {std::move(run), std::move(enabled)});
}

void CMainFrame::runCommand(int commandId) {
    if (NeedsDocument(commandId) && !activeDocument()) return;
    if (auto it = m_Handlers.find(commandId); it != m_Handlers.end()) {
        if (!it->m_Enabled || it->m_Enabled()) it->m_Run();
    } else if (CMorviView* view = activeView(); view && CMorviView::handlesCommand(commandId)) {
        if (view->isEnabled(commandId)) view->runCommand(commandId);
    }
    updateCommands();
}

void CMainFrame::updateCommands() {
    CMorviView* view = activeView();
    const bool document = activeDocument() != nullptr;
    for (auto it = m_Actions.begin(); it != m_Actions.end(); ++it) {
        const int id = it.key();
        QAction* a = it.value();
        bool enabled = false;
        if (auto h = m_Handlers.find(id); h != m_Handlers.end())
            enabled = (!NeedsDocument(id) || document) && (!h->m_Enabled || h->m_Enabled());
        else if (view && CMorviView::handlesCommand(id))
            enabled = view->isEnabled(id);
        a->setEnabled(enabled);
        if (view && CMorviView::handlesCommand(id) && a->isCheckable()) a->setChecked(view->isChecked(id));
    }
    action(cmd::kStatusBar)->setChecked(statusBar()->isVisible());
    action(cmd::kProperties)->setChecked(activeChild() && activeChild()->paneShown());
    // The Edit menu says what it will undo or redo: "Undo Paste", "Redo Move".
    const MorviDocument* active = activeDocument();
    const auto named = [](const char* verb, const std::string& label) {
        return label.empty() ? QString::fromLatin1(verb)
                             : QString::fromLatin1(verb) + QLatin1Char(' ') + QString::fromStdString(label);
    };
    action(cmd::kUndo)->setText(named("&Undo", active ? active->doc().UndoLabel() : std::string()));
    action(cmd::kRedo)->setText(named("&Redo", active ? active->doc().RedoLabel() : std::string()));
    for (QMenu* menu : m_DocumentMenus)
        menu->menuAction()->setVisible(document);
}

void CMainFrame::installHandlers() {
    setCommandHandler(cmd::kNew, [this] { newDocument(); });
    setCommandHandler(cmd::kOpen, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Open", QString(), kDocumentFilter);
        if (!path.isEmpty()) openDocument(path);
    });
    setCommandHandler(cmd::kClose, [this] {
        if (MorviDocument* document = activeDocument()) {
            if (!confirmClose(*document)) return;
            for (QMdiSubWindow* window : windowsOf(document)) {
                window->setProperty("confirmed", true);
                window->close();
            }
        }
    });
    setCommandHandler(cmd::kSave, [this] {
        if (MorviDocument* document = activeDocument()) saveDocument(*document, false);
    });
    setCommandHandler(cmd::kSaveAs, [this] {
        if (MorviDocument* document = activeDocument()) saveDocument(*document, true);
    });
    setCommandHandler(cmd::kExit, [this] { close(); });
    setCommandHandler(cmd::kHistory, [this] {
        m_pHistory->setDocument(activeDocument());
        m_pHistory->show();
        m_pHistory->raise();
    });
    setCommandHandler(
        cmd::kUndo,
        [this] {
            if (MorviDocument* document = activeDocument()) document->undo();
        },
        [this] { return activeDocument() && activeDocument()->history().CanUndo(); });
    setCommandHandler(
        cmd::kRedo,
        [this] {
            if (MorviDocument* document = activeDocument()) document->redo();
        },
        [this] { return activeDocument() && activeDocument()->history().CanRedo(); });
    const auto toggleBar = [this](int barId) {
        QToolBar* bar = toolBar(barId);
        bar->setVisible(!bar->isVisible());
    };
    setCommandHandler(cmd::kStandardBar, [toggleBar] { toggleBar(kStandardBarId); });
    setCommandHandler(cmd::kViewBar, [toggleBar] { toggleBar(kViewBarId); });
    setCommandHandler(cmd::kToolBar, [toggleBar] { toggleBar(kToolBarId); });
    setCommandHandler(cmd::kStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    setCommandHandler(cmd::kNewWindow, [this] {
        if (MorviDocument* document = activeDocument()) addChildWindow(*document);
    });
    setCommandHandler(cmd::kCascade, [this] { m_pMdi->cascadeSubWindows(); });
    setCommandHandler(cmd::kTile, [this] { m_pMdi->tileSubWindows(); });
    setCommandHandler(cmd::kArrangeIcons, [this] {
        for (QMdiSubWindow* window : m_pMdi->subWindowList())
            if (window->isMinimized()) window->showMinimized();
    });
    setCommandHandler(cmd::kContextHelp, [] { QWhatsThis::enterWhatsThisMode(); });
    setCommandHandler(
        cmd::kProperties, [this] { activeChild()->togglePane(); },
        [this] { return activeDocument()->doc().m_nMode != kModePerspective; });
    for (const int id : {cmd::kNextPane, cmd::kPrevPane})
        setCommandHandler(id, [this] { activeChild()->switchFocus(); });
}

// ---- Documents --------------------------------------------------------------------------------------

std::vector<MorviDocument*> CMainFrame::documents() const {
    std::vector<MorviDocument*> documents;
    for (const auto& document : m_Documents)
        documents.push_back(document.get());
    return documents;
}

MorviDocument* CMainFrame::activeDocument() const {
    CChildFrame* child = activeChild();
    return child ? &child->document() : nullptr;
}

CChildFrame* CMainFrame::activeChild() const {
    QMdiSubWindow* window = m_pMdi->activeSubWindow();
    // With the main window inactive no sub-window is active: the one used last still is the current one.
    if (!window && !m_pMdi->subWindowList().isEmpty())
        window = m_pMdi->subWindowList(QMdiArea::ActivationHistoryOrder).last();
    return window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
}

CMorviView* CMainFrame::activeView() const {
    CChildFrame* child = activeChild();
    return child ? &child->view() : nullptr;
}

MorviDocument* CMainFrame::newDocument() {
    auto document = std::make_unique<MorviDocument>();
    document->startNew(TemplatePath());
    return addDocument(std::move(document));
}

MorviDocument* CMainFrame::addDocument(std::unique_ptr<MorviDocument> document) {
    MorviDocument* raw = document.get();
    m_Documents.push_back(std::move(document));
    addChildWindow(*raw);
    emit documentAdded(raw);
    return raw;
}

MorviDocument* CMainFrame::openDocument(const QString& path) {
    const QString wanted = CanonicalOrAbsolute(path);
    for (const auto& document : m_Documents) {
        if (!document->path().isEmpty() && CanonicalOrAbsolute(document->path()) == wanted) {
            if (auto windows = windowsOf(document.get()); !windows.empty())
                m_pMdi->setActiveSubWindow(windows.front());
            return document.get();
        }
    }
    auto document = std::make_unique<MorviDocument>();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status status = document->open(wanted, MakeLevelChooser(this));
    QApplication::restoreOverrideCursor();
    if (!status) {
        showStatus(status, path);
        return nullptr;
    }
    addRecentFile(wanted);
    return addDocument(std::move(document));
}

bool CMainFrame::saveDocument(MorviDocument& document, bool askName) {
    // What was typed into a tool window but not stored yet belongs in the file.
    document.doc().m_StoreEdits();
    QString path = document.path();
    if (askName || path.isEmpty()) {
        QFileDialog dialog(this, "Save As", path.isEmpty() ? QDir::homePath() : path, kDocumentFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("mrv");
        dialog.setFileMode(QFileDialog::AnyFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        path = dialog.selectedFiles().front();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status status = document.saveAs(path);
    QApplication::restoreOverrideCursor();
    if (!status) {
        showStatus(status, path);
        return false;
    }
    addRecentFile(CanonicalOrAbsolute(path));
    return true;
}

void CMainFrame::showStatus(const Status& status, const QString& file) {
    QString message = QString::fromStdString(status.message());
    if (!message.contains(QFileInfo(file).fileName())) message = QFileInfo(file).fileName() + ":\n" + message;
    QMessageBox::warning(this, "Morvi", message);
}

CChildFrame* CMainFrame::addChildWindow(MorviDocument& document) {
    auto* child = new CChildFrame(document);
    QMdiSubWindow* window = m_pMdi->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(ApplicationIcon());
    window->installEventFilter(this);
    CMorviView& view = child->view();
    connect(&view, &CMorviView::statusTextChanged, this, &CMainFrame::setPaneText);
    connect(&view, &CMorviView::pathsMissing, this, [this] {
        QMessageBox::information(
            this, "Morvi",
            "You MUST setup the paths to your Dark Forces\nCD-ROM and to your Dark Forces "
            "installation\ndirectory before running Morvi properly.");
        runCommand(cmd::kOptions);
    });
    MorviDocument* doc = &document;
    connect(window, &QObject::destroyed, this, [this, doc] {
        // The document goes once its last window has; later, so that no view outlives it.
        QTimer::singleShot(0, this, [this, doc] {
            if (windowsOf(doc).empty()) closeDocument(doc);
        });
    });
    window->showMaximized();
    child->setFocus();
    return child;
}

std::vector<QMdiSubWindow*> CMainFrame::windowsOf(const MorviDocument* document) const {
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_pMdi->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window->widget());
        if (child && &child->document() == document) windows.push_back(window);
    }
    return windows;
}

void CMainFrame::closeDocument(MorviDocument* document) {
    emit documentRemoved(document);
    std::erase_if(m_Documents, [document](const auto& d) { return d.get() == document; });
    updateCommands();
}

bool CMainFrame::confirmClose(MorviDocument& document) {
    document.doc().m_StoreEdits();
    if (!document.isModified()) return true;
    const auto answer =
        QMessageBox::question(this, "Morvi", QString("Save changes to %1?").arg(document.title()),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) return true;
    return saveDocument(document, false);
}

bool CMainFrame::closeAllDocuments() {
    for (const auto& document : m_Documents)
        if (!confirmClose(*document)) return false;
    for (QMdiSubWindow* window : m_pMdi->subWindowList()) {
        window->setProperty("confirmed", true);
        window->close();
    }
    return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (window && event->type() == QEvent::Close && !window->property("confirmed").toBool()) {
        // Closing the last window of a document closes the document: ask to save it first.
        auto* child = qobject_cast<CChildFrame*>(window->widget());
        if (child && windowsOf(&child->document()).size() == 1 && !confirmClose(child->document())) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::onSubWindowActivated(QMdiSubWindow*) {
    m_pHistory->setDocument(activeDocument());
    updateCommands();
}

// ---- Recent files ---------------------------------------------------------------------------------

void CMainFrame::addRecentFile(const QString& path) {
    m_RecentFiles.removeAll(path);
    m_RecentFiles.prepend(path);
    while (m_RecentFiles.size() > kRecentFiles)
        m_RecentFiles.removeLast();
    QSettings& profile = AppContext::instance().profile();
    for (int i = 0; i < kRecentFiles; ++i)
        profile.setValue(QString("Recent File List/File%1").arg(i + 1),
                         i < m_RecentFiles.size() ? m_RecentFiles[i] : QString());
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu() {
    for (QAction* a : m_RecentActions) {
        m_pFileMenu->removeAction(a);
        a->deleteLater();
    }
    m_RecentActions.clear();
    for (int i = 0; i < m_RecentFiles.size(); ++i) {
        const QString path = m_RecentFiles[i];
        auto* item =
            new QAction(QString("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)), m_pFileMenu);
        item->setData(cmd::kRecentFile + i);
        connect(item, &QAction::triggered, this, [this, path] { openDocument(path); });
        m_pFileMenu->insertAction(m_pRecentAnchor, item);
        m_RecentActions.push_back(item);
    }
}

// ---- Window place and bars ------------------------------------------------------------------------

void CMainFrame::placeFromSettings() {
    const Settings& s = AppContext::instance().settings();
    if (s.m_nRight == 0 || s.m_nBottom == 0) {
        const QScreen* screen = QApplication::primaryScreen();
        setGeometry(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
    } else {
        setGeometry(QRect(QPoint(s.m_nLeft, s.m_nTop), QPoint(s.m_nRight - 1, s.m_nBottom - 1)));
    }
}

void CMainFrame::storeWindowRect() {
    if (isMinimized() || !isVisible()) return;
    Settings& s = AppContext::instance().settings();
    const QRect r = geometry();
    s.m_nLeft = r.left();
    s.m_nTop = r.top();
    s.m_nRight = r.right() + 1;
    s.m_nBottom = r.bottom() + 1;
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    storeWindowRect();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    storeWindowRect();
}

void CMainFrame::restoreBarState() {
    QSettings& profile = AppContext::instance().profile();
    const int ids[] = {kStandardBarId, kViewBarId, kToolBarId};
    for (int n = 0; n < 3; ++n)
        profile.setValue(QString("ToolBar-Bar%1/BarID").arg(n), ids[n]);
    const QByteArray state = profile.value("ToolBar/State").toByteArray();
    if (!state.isEmpty()) restoreState(state);
    profile.beginGroup("ToolBar");
    for (int n = 0; n < 3; ++n) {
        const QString key = QString("Visible%1").arg(n);
        if (profile.contains(key)) toolBar(ids[n])->setVisible(profile.value(key).toBool());
    }
    profile.endGroup();
}

void CMainFrame::saveBarState() {
    QSettings& profile = AppContext::instance().profile();
    profile.setValue("ToolBar/State", saveState());
    const int toggles[] = {cmd::kStandardBar, cmd::kViewBar, cmd::kToolBar};
    for (int n = 0; n < 3; ++n)
        profile.setValue(QString("ToolBar/Visible%1").arg(n), action(toggles[n])->isChecked());
}

// ---- Window events -----------------------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!closeAllDocuments()) {
        event->ignore();
        return;
    }
    saveBarState();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) openDocument(url.toLocalFile());
    event->acceptProposedAction();
}

} // namespace morvi::ui
