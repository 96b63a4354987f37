#include "properties/PropertiesPane.h"
#include "app/AppContext.h"
#include "app/AppPaths.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "mapedit/MapEditCommands.h"
#include "resources/ResourcePicker.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

// The properties pane in a map window on the sample level: it follows the selection, the mode and
// undo; each store is one undo step; a refused value changes nothing; the picker fills a texture.
class PropertiesPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CMainFrame> m_pFrame;
    MorviDocument* m_pDocument = nullptr;

    CMorviView& view() { return *m_pFrame->activeView(); }
    PropertiesPane* pane() { return m_pFrame->activeChild()->pane(); }
    CDataSector& sector(int s) { return *m_pDocument->level().m_Lev.m_pSectors[static_cast<std::size_t>(s)]; }
    std::size_t steps() const { return m_pDocument->history().UndoCount(); }
    void select(int modeCommand, CMapSelItem item) {
        testing::SelectOnMap(view(), *m_pDocument, modeCommand, {item});
    }

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        Settings& settings = AppContext::instance().settings();
        settings.m_strDFPath = settings.m_strInstall = DemoDir().toStdString();
        AppContext::instance().resources().SetFolders(settings.m_strDFPath, settings.m_strInstall);
        settings.m_bProperties = true;
        m_pFrame = std::make_unique<CMainFrame>();
        new MapEditCommands(*m_pFrame);
        m_pFrame->resize(900, 800);
        m_pFrame->show();
        m_pDocument = m_pFrame->openDocument(testing::SampleDocumentPath());
        QVERIFY(m_pDocument);
    }

    void cleanup() {
        const testing::ModalWatcher no([](QWidget*) {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click();
        });
        m_pFrame->closeAllDocuments();
        m_pFrame.reset();
    }

    void followsSelectionModeAndUndo() {
        select(cmd::kSector, {3, -1, -1, -1});
        QVERIFY(pane());
        QCOMPARE(pane()->title(), QString("Sector 3"));
        view().engine().AddToSelection({4, -1, -1, -1});
        m_pDocument->notifySelectionChanged();
        QCOMPARE(m_pFrame->statusPane(CMorviView::kPaneCount)->text(), QString("2 selected"));
        QCOMPARE(pane()->text("name"), QString::fromStdString(sector(3).m_strName));
        const double before = sector(3).m_dFloorAltitude;
        const std::size_t stepsBefore = steps();

        pane()->setText("floor-altitude", "12.345");
        QVERIFY(pane()->apply());
        QCOMPARE(sector(3).m_dFloorAltitude, -12.35);
        QCOMPARE(steps(), stepsBefore + 1);
        QCOMPARE(QString::fromStdString(m_pDocument->doc().UndoLabel()), QString("Sector Properties"));
        QVERIFY(pane()->apply()); // nothing typed since: no second step
        QCOMPARE(steps(), stepsBefore + 1);

        // The main window's title is the maximised map window's caption, with the modified mark.
        QCOMPARE(m_pFrame->windowTitle(), QString("*sample.mrv"));
        m_pDocument->undo();
        QCOMPARE(m_pFrame->windowTitle(), QString("sample.mrv"));
        QCOMPARE(sector(3).m_dFloorAltitude, before);
        QCOMPARE(pane()->text("floor-altitude").toDouble(), -before);

        select(cmd::kWall, {3, 1, -1, -1});
        QCOMPARE(pane()->kind(), PaneKind::Wall);
        QCOMPARE(pane()->title(), QString("Wall 1, Sector 3"));
        m_pFrame->runCommand(cmd::kProperties);
        QVERIFY(!pane());
        QVERIFY(!AppContext::instance().settings().m_bProperties);
        m_pFrame->runCommand(cmd::kProperties);
        QCOMPARE(pane()->kind(), PaneKind::Wall);
    }

    void refusedValueChangesNothing() {
        select(cmd::kSector, {2, -1, -1, -1});
        const int layer = sector(2).m_nLayer;
        const std::size_t stepsBefore = steps();
        const testing::ModalWatcher watcher;
        pane()->setText("layer", "11");
        pane()->setText("ambient", "4");
        QVERIFY(!pane()->apply());
        QCOMPARE(watcher.messages(), QStringList{"Please enter an integer between -10 and 10."});
        QCOMPARE(sector(2).m_nLayer, layer);
        QCOMPARE(steps(), stepsBefore);
        QCOMPARE(pane()->text("layer"), QString("11"));
        // The Delete key edits the field it is typed in; it deletes sectors only from the map.
        const std::size_t sectors = m_pDocument->level().m_Lev.m_pSectors.size();
        auto* layerField = qobject_cast<QLineEdit*>(pane()->field("layer"));
        m_pFrame->activateWindow();
        layerField->setFocus();
        layerField->setCursorPosition(0);
        QTest::keyClick(layerField, Qt::Key_Delete);
        QCOMPARE(layerField->text(), QString("1"));
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors);
        // Typed but not stored when the document is saved: the save stores it first.
        QTemporaryDir dir;
        QVERIFY(m_pDocument->saveAs(dir.filePath("copy.mrv")));
        pane()->setText("layer", "2");
        QVERIFY(m_pFrame->saveDocument(*m_pDocument, false));
        QCOMPARE(sector(2).m_nLayer, 2);
        QVERIFY(!m_pDocument->isModified());
    }

    // The Delete key edits the pane's field it is typed in, and deletes the selection on the map.
    void deleteKeyEditsFieldsAndDeletesOnTheMap() {
        select(cmd::kSector, {2, -1, -1, -1});
        const std::size_t sectors = m_pDocument->level().m_Lev.m_pSectors.size();
        QApplication::setActiveWindow(m_pFrame.get());
        QVERIFY(QTest::qWaitForWindowActive(m_pFrame.get()));
        m_pFrame->updateCommands();
        auto* name = qobject_cast<QLineEdit*>(pane()->field("name"));
        name->setFocus();
        name->setText("abc");
        name->setCursorPosition(0);
        QTest::keyClick(name, Qt::Key_Delete);
        QCOMPARE(name->text(), QString("bc"));
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors);
        view().setFocus();
        QTest::keyClick(&view(), Qt::Key_Delete);
        QCOMPARE(m_pDocument->level().m_Lev.m_pSectors.size(), sectors - 1);
    }

    void pickerFilterSetsTheTexture() {
        select(cmd::kSector, {0, -1, -1, -1});
        const std::size_t stepsBefore = steps();
        auto* button = pane()->findChild<QAbstractButton*>("floor-texture-pick");
        QVERIFY(button);
        button->click();
        CResourcePicker* picker = pane()->picker();
        QVERIFY(picker && picker->isVisible());
        const QAbstractItemModel* model = picker->listView()->model();
        QVERIFY(model->rowCount() > 1);
        const QString wanted = model->index(model->rowCount() - 1, 0).data().toString();
        picker->filterBox()->setText(wanted);
        QTRY_COMPARE(model->rowCount(), 1);
        picker->listView()->setCurrentIndex(model->index(0, 0));
        QCOMPARE(picker->currentName(), wanted);
        picker->findChild<QAbstractButton*>("ok")->click();
        QCOMPARE(QString::fromStdString(
                     m_pDocument->level().m_Lev.GetTextureName(sector(0).m_FloorTexture.m_nTexture)),
                 wanted.toUpper());
        QCOMPARE(pane()->text("floor-texture"), wanted);
        QCOMPARE(steps(), stepsBefore + 1);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::PropertiesPaneTest)
#include "PropertiesPaneTest.moc"
