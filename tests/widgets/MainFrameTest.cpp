#include "app/AppContext.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace morvi::ui {

namespace {

using testing::LevelTexts;

// Answers "Save changes?" with No.
void AnswerNo(QWidget* modal) {
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
}

QList<int> BarCommands(QToolBar* bar) {
    QList<int> ids;
    for (QAction* a : bar->actions())
        ids.append(a->isSeparator() ? 0 : a->data().toInt());
    return ids;
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }
    void init() {
        AppContext::instance().profile().clear();
        AppContext::instance().settings() = Settings();
        // A path so that opening a map window asks nothing.
        AppContext::instance().settings().m_strDFPath = "/df";
        AppContext::instance().settings().m_strInstall = "/df";
    }

    void firstRunFillsTheScreenWithEveryBarDockedAtTheTop() {
        CMainFrame frame;
        frame.restoreBarState();
        frame.placeFromSettings();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.geometry().size(), QApplication::primaryScreen()->availableGeometry().size());
        QToolBar* standard = frame.toolBar(CMainFrame::kStandardBarId);
        QToolBar* view = frame.toolBar(CMainFrame::kViewBarId);
        QToolBar* tool = frame.toolBar(CMainFrame::kToolBarId);
        for (QToolBar* bar : {standard, view, tool}) {
            QVERIFY(bar->isVisible());
            QCOMPARE(frame.toolBarArea(bar), Qt::TopToolBarArea);
        }
        QCOMPARE(standard->windowTitle(), QString("Standard Toolbar"));
        // The Tool bar shares the View bar's row, right of it, under the Standard bar.
        QCOMPARE(view->y(), tool->y());
        QVERIFY(tool->x() > view->x());
        QVERIFY(view->y() > standard->y());
        // The status bar: the message pane and the five panes, blank.
        for (int id : CMainFrame::kPaneIds)
            QCOMPARE(frame.statusPane(id)->text(), QString(" "));
    }

    void commandsCarryTheirIdsKeysAndBarPlaces() {
        CMainFrame frame;
        for (const CommandInfo& command : Commands()) {
            QAction* action = frame.action(command.m_nId);
            QVERIFY2(action, qPrintable(QString::number(command.m_nId)));
            QCOMPARE(action->data().toInt(), command.m_nId);
        }
        const struct {
            const char* keys;
            int id;
        } shortcuts[] = {{"Ctrl+N", 57600}, {"Ctrl+O", 57601},    {"Ctrl+S", 57603}, {"Ctrl+P", 57607},
                         {"Ctrl+C", 57634}, {"Ctrl+Ins", 57634},  {"Ctrl+X", 57635}, {"Shift+Del", 57635},
                         {"Ctrl+V", 57637}, {"Shift+Ins", 57637}, {"Ctrl+D", 32810}, {"Ctrl+I", 32809},
                         {"Ins", 32809},    {"Ctrl+L", 32815},    {"Ctrl+U", 32816}, {"Alt+Return", 32804},
                         {"G", 32786},      {"Shift+G", 32787},   {"S", 32773},      {"F10", 32773},
                         {"W", 32774},      {"V", 32799},         {"O", 32775},      {"Ctrl+Z", 57643}};
        for (const auto& s : shortcuts)
            QVERIFY2(frame.action(s.id)->shortcuts().contains(QKeySequence(s.keys)), s.keys);
        QVERIFY(frame.action(32785)->shortcuts().contains(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)));
        QVERIFY(frame.action(32784)->shortcuts().contains(QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)));
        QCOMPARE(frame.action(32818)->statusTip(), QString("Select Info-file editor"));

        QCOMPARE(BarCommands(frame.toolBar(CMainFrame::kStandardBarId)),
                 (QList<int>{57600, 57601, 57603, 57607, 57669, 0,     57635, 57634, 57637,
                             32815, 32816, 0,     32861, 32773, 32774, 32799, 32775, 0,
                             32818, 32819, 32822, 32823, 32869, 32863, 32867, 32876}));
        QCOMPARE(BarCommands(frame.toolBar(CMainFrame::kViewBarId)),
                 (QList<int>{32785, 32784, 32842, 0, 32786, 32787, 32789, 0, 32796, 32797, 32798, 0, 32804,
                             32841}));
        QCOMPARE(BarCommands(frame.toolBar(CMainFrame::kToolBarId)),
                 (QList<int>{32825, 32826, 32827, 32828, 32824, 0, 32834, 32857, 32852, 32858, 32865}));
        // Without a document the document menus are hidden and their commands disabled.
        const QStringList titles = [&] {
            QStringList t;
            for (QAction* menu : frame.menuBar()->actions())
                if (menu->isVisible()) t << menu->text();
            return t;
        }();
        QCOMPARE(titles, (QStringList{"&File", "&View", "&Help"}));
        QVERIFY(frame.action(cmd::kNew)->isEnabled());
        QVERIFY(!frame.action(cmd::kSave)->isEnabled());
        QVERIFY(!frame.action(cmd::kZoomIn)->isEnabled());
    }

    void hiddenViewBarStaysHiddenNextTime() {
        {
            CMainFrame frame;
            frame.restoreBarState();
            frame.show();
            frame.runCommand(cmd::kViewBar);
            QVERIFY(!frame.toolBar(CMainFrame::kViewBarId)->isVisible());
            QVERIFY(!frame.action(cmd::kViewBar)->isChecked());
            frame.close();
        }
        CMainFrame again;
        again.restoreBarState();
        again.show();
        QVERIFY(!again.toolBar(CMainFrame::kViewBarId)->isVisible());
        QVERIFY(again.toolBar(CMainFrame::kStandardBarId)->isVisible());
        QCOMPARE(AppContext::instance().profile().value("ToolBar-Bar1/BarID").toInt(), 114);
    }

    void openedDocumentEnablesItsCommandsAndMarksItsTitle() {
        CMainFrame frame;
        frame.show();
        MorviDocument* document = frame.openDocument(testing::SampleDocumentPath());
        QVERIFY(document);
        QCOMPARE(frame.documentCount(), std::size_t{1});
        QVERIFY(frame.activeView());
        frame.updateCommands();
        QVERIFY(frame.action(cmd::kSave)->isEnabled());
        QVERIFY(frame.action(cmd::kZoomIn)->isEnabled());
        QVERIFY(!frame.action(cmd::kUndo)->isEnabled());
        QVERIFY(frame.windowTitle().contains("sample.mrv"));
        QVERIFY(!frame.windowTitle().contains("*"));
        // Opening the same file again shows the window it already has.
        QCOMPARE(frame.openDocument(testing::SampleDocumentPath()), document);
        QCOMPARE(frame.documentCount(), std::size_t{1});
        // A second window of the document shares it; the mode command reaches the active view.
        frame.runCommand(cmd::kNewWindow);
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);
        frame.runCommand(cmd::kWall);
        QCOMPARE(document->doc().m_nMode, 1);
        QVERIFY(frame.action(cmd::kWall)->isChecked());
        testing::MakeChange(*document);
        QVERIFY(frame.windowTitle().contains("sample.mrv *"));
        const testing::ModalWatcher no(AnswerNo);
        QVERIFY(frame.closeAllDocuments());
        QTRY_COMPARE(frame.documentCount(), std::size_t{0});
    }

    void undoOfADragRestoresTheLevelAndTheModifiedMark() {
        CMainFrame frame;
        frame.resize(900, 700);
        frame.show();
        MorviDocument* document = frame.openDocument(testing::SampleDocumentPath());
        QVERIFY(document);
        CMorviView* view = frame.activeView();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        const QString before = LevelTexts(document->level());
        frame.runCommand(cmd::kObject);
        CMapEngine& engine = view->engine();
        const CDataObjectItem& object = *document->level().m_Objects.m_pObjects.front();
        const ScreenPoint at = engine.viewport().WorldToScreen(object.m_dX, object.m_dZ);
        const QPoint start(at.x, at.y);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, start);
        QTest::qWait(CMorviView::kDragDelayMs + 80);
        QTest::mouseMove(view->viewport(), start + QPoint(30, 0));
        QTest::mouseMove(view->viewport(), start + QPoint(60, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, start + QPoint(60, 0));
        QVERIFY(document->isModified());
        QVERIFY(LevelTexts(document->level()) != before);
        frame.updateCommands();
        QVERIFY(frame.action(cmd::kUndo)->isEnabled());
        frame.runCommand(cmd::kUndo);
        QCOMPARE(LevelTexts(document->level()), before);
        QVERIFY(!document->isModified());
        frame.runCommand(cmd::kRedo);
        QVERIFY(document->isModified());
        const testing::ModalWatcher no(AnswerNo);
        QVERIFY(frame.closeAllDocuments());
    }

    void saveAsOffersTheDocumentFiltersAndAFailedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString target = dir.filePath("level.mrv");
        QVERIFY(QFile::copy(testing::SampleDocumentPath(), target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        CMainFrame frame;
        frame.show();
        MorviDocument* document = frame.openDocument(target);
        QVERIFY(document);
        const QByteArray old = [&] {
            QFile f(target);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();

        QStringList filters;
        {
            const testing::ModalWatcher cancel([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                filters = dialog->nameFilters();
                dialog->reject();
            });
            QVERIFY(!frame.saveDocument(*document, true));
        }
        QCOMPARE(filters, (QStringList{"Morvi Files (*.mrv)", "GOB Files (*.gob)", "All Files (*)"}));

        // A folder that cannot take the temporary file: the save fails, says why, and the old
        // file is untouched.
        testing::MakeChange(*document);
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(dir.path(), readOnly);
        QString shown;
        bool saved = false;
        {
            const testing::ModalWatcher ok;
            const testing::WithoutFileAdminRights ordinaryUser;
            saved = frame.saveDocument(*document, false);
            shown = ok.messages().value(0);
        }
        QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner);
        QVERIFY(!saved);
        QVERIFY(shown.contains("level.mrv"));
        QVERIFY(document->isModified());
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        const testing::ModalWatcher no(AnswerNo);
        QVERIFY(frame.closeAllDocuments());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::MainFrameTest)
#include "MainFrameTest.moc"
