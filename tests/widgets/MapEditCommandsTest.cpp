#include "mapedit/MapEditCommands.h"
#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "mapedit/Generators.h"
#include "model/LevelChecker.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QFileDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

namespace {

using testing::LevelTexts;

QString Findings(const CDataLevel& level) {
    QString text;
    for (const LevelFinding& f : checkLevel(level))
        text += QString::fromStdString(f.m_strText) + "\n";
    return text;
}

void Answer(QMessageBox::StandardButton button) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box) box->button(button)->click();
}

// Selects items of a mode in the active view's engine.
void Select(CMorviView& view, int mode, const std::vector<CMapSelItem>& items) {
    view.runCommand(mode == kModeSector ? cmd::kSector : mode == kModeWall ? cmd::kWall : cmd::kObject);
    view.engine().ClearSelection();
    for (const CMapSelItem& item : items)
        view.engine().AddToSelection(item);
}

} // namespace

class MapEditCommandsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMainFrame> m_pFrame;
    MorviDocument* m_pDocument = nullptr;

    CMorviView& view() { return *m_pFrame->activeView(); }

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        AppContext::instance().settings().m_strDFPath = "/df";
        AppContext::instance().settings().m_strInstall = "/df";
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

    // Cut asks first; No changes nothing, Yes deletes as one undo step.
    void cutAsksBeforeDeleting() {
        const std::size_t sectors = m_pDocument->level().m_Lev.m_pSectors.size();
        Select(view(), kModeSector, {{3, -1, -1, -1}});
        m_pFrame->updateCommands();
        QVERIFY(m_pFrame->action(cmd::kCut)->isEnabled());
        {
            const testing::ModalWatcher no([](QWidget*) { Answer(QMessageBox::No); });
            m_pFrame->runCommand(cmd::kCut);
            QCOMPARE(no.seen(), 1);
        }
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors);
        QVERIFY(!m_pDocument->history().CanUndo());
        {
            const testing::ModalWatcher yes([](QWidget*) { Answer(QMessageBox::Yes); });
            m_pFrame->runCommand(cmd::kCut);
        }
        // The sector goes, and the pillar standing in it with it.
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors - 2);
        QCOMPARE(m_pDocument->history().UndoCount(), std::size_t{1});
        QVERIFY(m_pDocument->isModified());
        QCOMPARE(Findings(m_pDocument->level()), QString());
        // What was cut is on both clipboards.
        QVERIFY(!ClipboardBuffer::Application().empty());
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(MapEditCommands::kMimeType));
    }

    // A refused command shows the core's message and leaves no undo step.
    void refusedCommandLeavesNoStep() {
        Select(view(), kModeWall, {});
        const auto& sectors = m_pDocument->level().m_Lev.m_pSectors;
        for (int s = 0; s < static_cast<int>(sectors.size()) && view().engine().selection().empty(); ++s)
            for (int w = 0; w < static_cast<int>(sectors[s]->m_pWalls.size()); ++w)
                if (sectors[s]->m_pWalls[w]->m_nAdjoin >= 0) {
                    view().engine().AddToSelection({s, w, -1, -1});
                    break;
                }
        const QString before = LevelTexts(m_pDocument->level());
        const testing::ModalWatcher ok;
        m_pFrame->runCommand(cmd::kExtrude);
        QCOMPARE(ok.messages(),
                 QStringList{"Extruding of wall not possible since\nthe wall is linked to another wall."});
        QVERIFY(!m_pDocument->history().CanUndo());
        QVERIFY(!m_pDocument->isModified());
        QCOMPARE(LevelTexts(m_pDocument->level()), before);
    }

    // Sectors copied in one document are pasted into another; undo takes the paste back.
    void copyInOneDocumentPasteInAnother() {
        Select(view(), kModeSector, {{0, -1, -1, -1}, {1, -1, -1, -1}});
        m_pFrame->runCommand(cmd::kCopy);
        QVERIFY2(!m_pDocument->history().CanUndo(), "a copy is no edit");
        MorviDocument* other = m_pFrame->newDocument();
        QCOMPARE(m_pFrame->activeDocument(), other);
        const std::size_t sectors = other->level().m_Lev.m_pSectors.size();
        const QString before = LevelTexts(other->level());
        view().runCommand(cmd::kSector);
        m_pFrame->updateCommands();
        QVERIFY(m_pFrame->action(cmd::kPaste)->isEnabled());
        m_pFrame->runCommand(cmd::kPaste);
        QCOMPARE(other->level().m_Lev.m_pSectors.size(), sectors + 2);
        QCOMPARE(Findings(other->level()), QString());
        QCOMPARE(view().engine().selection().size(), std::size_t{2});
        m_pFrame->runCommand(cmd::kUndo);
        QCOMPARE(LevelTexts(other->level()), before);
        QVERIFY(!other->isModified());
    }

    // Another running editor's copy arrives through the system clipboard.
    void pasteTakesAnotherEditorsCopy() {
        MorviDocument source;
        source.startNew(TemplatePathForTest());
        CMapEngine engine(source.doc(), AppContext::instance().settings());
        engine.ClearSelection();
        engine.AddToSelection({0, -1, -1, -1});
        ClipboardBuffer theirs;
        QVERIFY(Copy(engine, theirs).m_strMessage.empty());
        auto* data = new QMimeData;
        data->setData(MapEditCommands::kMimeType,
                      QByteArray(reinterpret_cast<const char*>(theirs.bytes().data()),
                                 static_cast<qsizetype>(theirs.bytes().size())));
        QApplication::clipboard()->setMimeData(data);
        const std::size_t sectors = m_pDocument->level().m_Lev.m_pSectors.size();
        Select(view(), kModeSector, {});
        m_pFrame->updateCommands();
        QVERIFY(m_pFrame->action(cmd::kPaste)->isEnabled());
        m_pFrame->runCommand(cmd::kPaste);
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors + 1);
    }

    // A library written from a selection loads back into a level as the same sectors.
    void librarySavedAndLoadedBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("prefab.lib");
        Select(view(), kModeSector, {{2, -1, -1, -1}});
        const auto choose = [path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->nameFilters(), QStringList{"Library Files (*.lib)"});
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
        };
        {
            const testing::ModalWatcher save(choose);
            m_pFrame->runCommand(cmd::kLibrarySave);
        }
        QVERIFY(QFile::exists(path));
        const std::size_t sectors = m_pDocument->level().m_Lev.m_pSectors.size();
        // Loading needs sector mode and an empty selection.
        m_pFrame->updateCommands();
        QVERIFY(!m_pFrame->action(cmd::kLibraryLoad)->isEnabled());
        Select(view(), kModeSector, {});
        m_pFrame->updateCommands();
        QVERIFY(m_pFrame->action(cmd::kLibraryLoad)->isEnabled());
        {
            const testing::ModalWatcher load(choose);
            m_pFrame->runCommand(cmd::kLibraryLoad);
        }
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors + 1);
        QCOMPARE(m_pDocument->history().UndoLabel(), std::string("Library, Load"));
        QCOMPARE(Findings(m_pDocument->level()), QString());
    }

    // Door, staircase and elevator through their dialogs (start values, OK) between two facing
    // solid walls of the sample level: each leaves a sound level and undoes to the same texts.
    void passagesThroughTheirDialogsUndoToTheStart() {
        const auto walls = FacingSolidWalls(m_pDocument->level(), m_pDocument->doc().m_nCurrentLayer);
        QVERIFY2(walls.size() == 2, "the sample level has a solid wall facing east");
        const QString before = LevelTexts(m_pDocument->level());
        const std::size_t sectors = m_pDocument->level().m_Lev.m_pSectors.size();
        const struct {
            int command;
            std::size_t added;
            const char* title;
        } passages[] = {{cmd::kCreateDoor, 3, "Create Door"},
                        {cmd::kCreateStaircase, 3, "Create Staircase"},
                        {cmd::kCreateElevator, 3, "Create Elevator"}};
        for (const auto& passage : passages) {
            Select(view(), kModeWall, walls);
            QString title;
            {
                const testing::ModalWatcher ok([&title](QWidget* modal) {
                    title = modal->windowTitle();
                    QMetaObject::invokeMethod(modal, "accept");
                });
                m_pFrame->runCommand(passage.command);
            }
            QCOMPARE(title, QString(passage.title));
            QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors + passage.added);
            QCOMPARE(Findings(m_pDocument->level()), QString());
            m_pFrame->runCommand(cmd::kUndo);
            QCOMPARE(LevelTexts(m_pDocument->level()), before);
        }
        QVERIFY(!m_pDocument->isModified());
    }

    // Check Level shows the dock with the level's problems.
    void checkLevelListsABrokenMirror() {
        CDataLevel& level = m_pDocument->level();
        CDataWall* broken = nullptr;
        for (auto& sector : level.m_Lev.m_pSectors)
            for (auto& wall : sector->m_pWalls)
                if (!broken && wall->m_nAdjoin >= 0) broken = wall.get();
        QVERIFY(broken);
        broken->m_nMirror = 999;
        m_pFrame->runCommand(cmd::kCheckLevel);
        auto* panel = m_pFrame->findChild<QDockWidget*>("LevelCheckerPanel");
        QVERIFY(panel && panel->isVisible());
        auto* list = panel->findChild<QListWidget*>();
        QVERIFY(list && list->count() >= 1);
        QVERIFY(list->item(0)->text() != "No problems found.");
    }

private:
    // The easternmost solid wall facing east on the layer, and a new room built 32 units in
    // front of it, outside the level: its first wall faces the other one.
    static std::vector<CMapSelItem> FacingSolidWalls(CDataLevel& level, int layer) {
        auto& sectors = level.m_Lev.m_pSectors;
        int bestSector = -1, bestWall = -1;
        double bestX = -1e9;
        for (int s = 0; s < static_cast<int>(sectors.size()); ++s) {
            const CDataSector& sector = *sectors[s];
            if (sector.m_nLayer != layer) continue;
            for (int w = 0; w < static_cast<int>(sector.m_pWalls.size()); ++w) {
                const CDataWall& wall = *sector.m_pWalls[w];
                const CDataVertex& a = *sector.m_pVertices[wall.m_nLeft];
                const CDataVertex& b = *sector.m_pVertices[wall.m_nRight];
                // Outward is to the left of a wall's direction (the game's sectors run clockwise):
                // east for a wall running south.
                if (wall.m_nAdjoin >= 0 || a.m_dX != b.m_dX || b.m_dZ >= a.m_dZ || a.m_dX <= bestX) continue;
                bestSector = s, bestWall = w, bestX = a.m_dX;
            }
        }
        if (bestSector < 0) return {};
        const CDataSector& sector = *sectors[bestSector];
        const CDataWall& wall = *sector.m_pWalls[bestWall];
        const double top = sector.m_pVertices[wall.m_nLeft]->m_dZ;
        const double bottom = sector.m_pVertices[wall.m_nRight]->m_dZ;
        auto room = NewGeneratedSector(level.m_Lev, static_cast<int>(sectors.size()), layer);
        const std::vector<CDataVertex> corners = {
            {bestX + 32, bottom}, {bestX + 32, top}, {bestX + 96, top}, {bestX + 96, bottom}};
        AppendLoop(level.m_Lev, *room, corners);
        sectors.push_back(std::move(room));
        return {{bestSector, bestWall, -1, -1}, {static_cast<int>(sectors.size()) - 1, 0, -1, -1}};
    }

    static QString TemplatePathForTest() { return testing::TestShareDir() + "/new.mrv"; }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::MapEditCommandsTest)
#include "MapEditCommandsTest.moc"
