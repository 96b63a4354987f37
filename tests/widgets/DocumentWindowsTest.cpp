#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/HistoryPanel.h"
#include "app/MorviDocument.h"
#include "app/TextEditorWindow.h"
#include "gamefiles/InfFile.h"
#include "infedit/InfEditorWindow.h"
#include "mapedit/CMorviView.h"
#include "mapedit/LevelCheckerPanel.h"
#include "mapedit/MapEditCommands.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace morvi::ui {

namespace {

using testing::LevelTexts;

void Answer(QMessageBox::StandardButton button) {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        box->button(button)->click();
}

std::string InfText(const CDataInf& inf) {
    std::string text;
    WriteInf(inf, kGeneratorTitle, text);
    return text;
}

// The first wall of the level that has a neighbour behind it.
CMapSelItem FirstAdjoinedWall(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (int s = 0; s < static_cast<int>(sectors.size()); ++s)
        for (int w = 0; w < static_cast<int>(sectors[s]->m_pWalls.size()); ++w)
            if (sectors[s]->m_pWalls[w]->m_nAdjoin >= 0) return {s, w, -1, -1};
    return {};
}

} // namespace

// A main frame with the map commands installed and the sample level open: every edit made through
// a window or a command is one undo step, a refusal changes nothing, undo gives the level back.
class DocumentWindowsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMainFrame> m_pFrame;
    MorviDocument* m_pDocument = nullptr;

    CMorviView& view() { return *m_pFrame->activeView(); }
    CDataLevel& level() { return m_pDocument->level(); }
    std::size_t steps() const { return m_pDocument->history().UndoCount(); }
    void select(int modeCommand, const std::vector<CMapSelItem>& items) {
        testing::SelectOnMap(view(), *m_pDocument, modeCommand, items);
    }

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        testing::SetStandInGamePaths();
        ClipboardBuffer::Application().Clear();
        QApplication::clipboard()->clear();
        m_pFrame = std::make_unique<CMainFrame>();
        new MapEditCommands(*m_pFrame);
        m_pFrame->resize(900, 700);
        m_pFrame->show();
        m_pDocument = m_pFrame->openDocument(testing::SampleDocumentPath());
        QVERIFY(m_pDocument);
    }

    void cleanup() {
        const testing::ModalWatcher no([](QWidget*) { Answer(QMessageBox::No); });
        m_pFrame->closeAllDocuments();
        m_pFrame.reset();
    }

    // Cut asks first: No changes nothing, Yes deletes as one step that undo takes back.
    void cutAsksAndIsOneStep() {
        const QString before = LevelTexts(level());
        const std::size_t sectors = level().m_Lev.m_pSectors.size();
        select(cmd::kSector, {{3, -1, -1, -1}});
        {
            const testing::ModalWatcher no([](QWidget*) { Answer(QMessageBox::No); });
            m_pFrame->runCommand(cmd::kCut);
            QCOMPARE(no.seen(), 1);
        }
        QCOMPARE(LevelTexts(level()), before);
        QCOMPARE(steps(), std::size_t{0});
        {
            const testing::ModalWatcher yes([](QWidget*) { Answer(QMessageBox::Yes); });
            m_pFrame->runCommand(cmd::kCut);
        }
        // The sector goes, and the pillar standing in it with it; what was cut is on both clipboards.
        QCOMPARE(level().m_Lev.m_pSectors.size(), sectors - 2);
        QCOMPARE(steps(), std::size_t{1});
        QCOMPARE(morvi::testing::FindingsText(level()), std::string());
        QVERIFY(!ClipboardBuffer::Application().empty());
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(MapEditCommands::kMimeType));
        m_pFrame->runCommand(cmd::kUndo);
        QCOMPARE(LevelTexts(level()), before);
        QVERIFY(!m_pDocument->isModified());

        // Pasted into another document as one step.
        MorviDocument* other = m_pFrame->newDocument();
        const std::size_t otherSectors = other->level().m_Lev.m_pSectors.size();
        select(cmd::kSector, {});
        m_pFrame->runCommand(cmd::kPaste);
        QCOMPARE(other->level().m_Lev.m_pSectors.size(), otherSectors + 2);
        QCOMPARE(other->history().UndoCount(), std::size_t{1});
    }

    void refusedCommandShowsItsMessageAndChangesNothing() {
        select(cmd::kWall, {FirstAdjoinedWall(level())});
        const QString before = LevelTexts(level());
        const testing::ModalWatcher ok;
        m_pFrame->runCommand(cmd::kExtrude);
        QCOMPARE(ok.messages(),
                 QStringList{"Extruding of wall not possible since\nthe wall is linked to another wall."});
        QCOMPARE(steps(), std::size_t{0});
        QVERIFY(!m_pDocument->isModified());
        QCOMPARE(LevelTexts(level()), before);
    }

    // Door, staircase and elevator through their dialogs between two facing rooms added outside
    // the level: each is one step, leaves a sound level and undoes to the same texts.
    void passagesThroughTheirDialogsAreOneStepEach() {
        auto& sectors = level().m_Lev.m_pSectors;
        const int first = static_cast<int>(sectors.size());
        for (const double x : {5000.0, 5096.0}) {
            sectors.push_back(morvi::testing::MakeSquareSector(
                level().m_Lev, static_cast<int>(sectors.size()), x, 0, x + 64, 64));
            sectors.back()->m_nLayer = m_pDocument->doc().m_nCurrentLayer;
        }
        const QString before = LevelTexts(level());
        for (const int command : {cmd::kCreateDoor, cmd::kCreateStaircase, cmd::kCreateElevator}) {
            select(cmd::kWall, {{first, 1, -1, -1}, {first + 1, 3, -1, -1}});
            {
                const testing::ModalWatcher ok(
                    [](QWidget* modal) { QMetaObject::invokeMethod(modal, "accept"); });
                m_pFrame->runCommand(command);
                QCOMPARE(ok.seen(), 1);
            }
            QCOMPARE(sectors.size(), static_cast<std::size_t>(first) + 5);
            QCOMPARE(steps(), std::size_t{1});
            QCOMPARE(morvi::testing::FindingsText(level()), std::string());
            m_pFrame->runCommand(cmd::kUndo);
            QCOMPARE(LevelTexts(level()), before);
        }
    }

    // Save and Save As into a folder that cannot take the temporary file: each says why, keeps the
    // old file and the document's path, and leaves the document modified.
    void aFailedSaveSaysWhyAndKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString target = dir.filePath("level.mrv"), other = dir.filePath("other.mrv");
        QVERIFY(QFile::copy(testing::SampleDocumentPath(), target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        MorviDocument* document = m_pFrame->openDocument(target);
        QVERIFY(document);
        const QByteArray old = testing::FileBytes(target);
        testing::MakeChange(*document);
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(dir.path(), readOnly);
        for (const bool saveAs : {false, true}) {
            QStringList shown;
            bool saved = true;
            {
                const testing::ModalWatcher answer([&](QWidget* modal) {
                    if (auto* box = qobject_cast<QMessageBox*>(modal)) return box->done(QMessageBox::Ok);
                    qobject_cast<QFileDialog*>(modal)->selectFile(other);
                    QMetaObject::invokeMethod(modal, "accept");
                });
                const testing::WithoutFileAdminRights ordinaryUser;
                saved = m_pFrame->saveDocument(*document, saveAs);
                shown = answer.messages();
            }
            QVERIFY(!saved);
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown.front().contains(saveAs ? "other.mrv" : "level.mrv"), qPrintable(shown.front()));
            QCOMPARE(document->path(), target);
            QVERIFY(document->isModified());
            QCOMPARE(testing::FileBytes(target), old);
            QVERIFY(!QFile::exists(other));
        }
        QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner);
        QVERIFY(m_pFrame->saveDocument(*document, false));
        QVERIFY(!document->isModified());
        QVERIFY(testing::FileBytes(target) != old);
    }

    // A click on a line of the History dock goes to the state after that step; the steps stay.
    void historyDockGoesToTheClickedStep() {
        m_pFrame->runCommand(cmd::kHistory);
        auto* dock = m_pFrame->findChild<HistoryPanel*>("HistoryPanel");
        QVERIFY(dock && dock->isVisible());
        QListWidget* list = dock->list();
        QStringList texts{LevelTexts(level())};
        for (int i = 0; i < 3; ++i) {
            testing::MakeChange(*m_pDocument);
            texts << LevelTexts(level());
        }
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->currentRow(), 3);
        for (const int row : {1, 0, 2, 3}) {
            const QRect line = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
            QCOMPARE(LevelTexts(level()), texts[row]);
            QCOMPARE(steps(), static_cast<std::size_t>(row));
            QCOMPARE(list->count(), 4);
            QCOMPARE(list->currentRow(), row);
            QCOMPARE(m_pDocument->isModified(), row != 0);
        }
    }

    // The finding's line under its problem, or nullptr.
    static QTreeWidgetItem* FindingLine(QTreeWidget* tree, const QString& start) {
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            for (int i = 0; i < tree->topLevelItem(g)->childCount(); ++i)
                if (tree->topLevelItem(g)->child(i)->text(0).startsWith(start))
                    return tree->topLevelItem(g)->child(i);
        return nullptr;
    }

    // Check Level lists a broken mirror under its problem; a double click selects its wall. The
    // dock then follows each change, checked on its worker, and the active document.
    void checkerFindingFocusesItsWallAndFollowsChanges() {
        const CMapSelItem found = FirstAdjoinedWall(level());
        const int s = found.m_nSector, w = found.m_nWall;
        const auto& sectors = level().m_Lev.m_pSectors;
        CDataWall& wall = *sectors[s]->m_pWalls[w];
        const int mirror = wall.m_nMirror;
        wall.m_nMirror = (mirror + 1) % static_cast<int>(sectors[wall.m_nAdjoin]->m_pWalls.size());
        m_pFrame->runCommand(cmd::kCheckLevel);
        auto* panel = m_pFrame->findChild<LevelCheckerPanel*>("LevelCheckerPanel");
        QVERIFY(panel && panel->isVisible());
        QTreeWidget* tree = panel->tree();
        const QString name = QString("Sector %1 wall %2 mirrors ").arg(s).arg(w);
        QTreeWidgetItem* line = FindingLine(tree, name);
        QVERIFY(line);
        QVERIFY(line->parent()->text(0).startsWith("Broken references ("));
        tree->scrollToItem(line);
        const QPoint centre = tree->visualItemRect(line).center();
        // The item view takes a double click only on the line its press began on.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(m_pDocument->doc().m_nMode, int{kModeWall});
        QCOMPARE(view().engine().selection(), std::vector<CMapSelItem>{found});
        QCOMPARE(steps(), std::size_t{0});

        // Mended as one change: the list empties by itself; the errors filter says what it hides.
        m_pDocument->change("Mend", [&] {
            wall.m_nMirror = mirror;
            return unsigned{kChangedGeometry};
        });
        QTRY_VERIFY(!panel->checking() && !FindingLine(tree, name));
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("No problems found."));
        level().m_Objects.m_pObjects[0]->m_dX = 1e5;
        panel->severityFilter()->setCurrentIndex(1);
        panel->refresh();
        QCOMPARE(tree->topLevelItem(0)->text(0),
                 QString("Nothing to show: 1 problem found, none of this kind."));

        // Another document's window brings its own findings.
        MorviDocument* other = m_pFrame->newDocument();
        QCOMPARE(panel->document(), other);
        QTRY_VERIFY(!panel->checking() && panel->findings().empty());
    }

    // A double click on an INF finding opens the INF editor on its item and line.
    void infFindingOpensTheInfEditorOnItsLine() {
        AppContext::instance().settings().m_bInfEditor = true;
        const auto& items = level().m_Inf.m_pItems;
        QVERIFY(!items.empty());
        CDataInfItem& item = *items.back();
        item.m_Lines.push_back("slave:\tnowhere");
        m_pFrame->runCommand(cmd::kCheckLevel);
        auto* panel = m_pFrame->findChild<LevelCheckerPanel*>("LevelCheckerPanel");
        QTreeWidget* tree = panel->tree();
        QTreeWidgetItem* line = FindingLine(tree, QString("INF item %1 ").arg(items.size() - 1));
        QVERIFY(line);
        tree->scrollToItem(line);
        const QPoint centre = tree->visualItemRect(line).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
        InfEditorWindow* editor = InfEditorOf(*m_pDocument);
        QVERIFY(editor);
        QCOMPARE(editor->workingCopy().CurrentItem(), static_cast<int>(items.size()) - 1);
        QCOMPARE(editor->workingCopy().CurrentLine(), static_cast<int>(item.m_Lines.size()) - 1);
        editor->discard();
    }

    // The text windows write back through the document's funnel: a changed text on OK is one step,
    // Cancel, an untouched text and a window replaced by another are none.
    void textWindowsWriteBackAsOneStep() {
        const QString before = LevelTexts(level());
        const std::string goal(level().FindMember("SECBASE.GOL")->text());
        TextEditorWindow* window = OpenTextEditor(*m_pDocument, TextKind::Gol, {}, nullptr);
        window->textEdit()->setPlainText("cancelled");
        window->reject();
        OpenTextEditor(*m_pDocument, TextKind::Gol, {}, nullptr)->accept();
        OpenTextEditor(*m_pDocument, TextKind::Inf, {}, nullptr)->accept();
        OpenTextEditor(*m_pDocument, TextKind::Gol, {}, nullptr)->textEdit()->setPlainText("replaced");
        QCOMPARE(std::string(level().FindMember("SECBASE.GOL")->text()), goal);
        QCOMPARE(LevelTexts(level()), before);
        QCOMPARE(steps(), std::size_t{0});

        window = OpenTextEditor(*m_pDocument, TextKind::Gol, {}, nullptr);
        window->textEdit()->setPlainText(window->textEdit()->toPlainText() + "GOAL: 9 ITEM: 3\n");
        window->accept();
        QCOMPARE(steps(), std::size_t{1});
        QVERIFY(std::string(level().FindMember("SECBASE.GOL")->text()).ends_with("GOAL: 9 ITEM: 3\r\n"));

        CDataInf edited;
        morvi::testing::AddItem(edited, "sector", "door1", -1,
                                {"class:\televator move_ceiling", "stop:\t0 hold"});
        window = OpenTextEditor(*m_pDocument, TextKind::Inf, {}, nullptr);
        window->textEdit()->setPlainText(QString::fromStdString(InfText(edited)));
        window->accept();
        QCOMPARE(steps(), std::size_t{2});
        QCOMPARE(InfText(level().m_Inf), InfText(edited));
        m_pFrame->runCommand(cmd::kUndo);
        m_pFrame->runCommand(cmd::kUndo);
        QCOMPARE(LevelTexts(level()), before);
        QCOMPARE(std::string(level().FindMember("SECBASE.GOL")->text()), goal);
        QVERIFY(!m_pDocument->isModified());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::DocumentWindowsTest)
#include "DocumentWindowsTest.moc"
