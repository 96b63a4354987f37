#include "infedit/InfEditorWindow.h"
#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/MorviDocument.h"
#include "app/TextEditorWindow.h"
#include "gamefiles/InfFile.h"
#include "infedit/InfPageWidget.h"
#include "mapedit/CMorviView.h"
#include "mapedit/MapEditCommands.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace morvi::ui {

namespace {

std::string InfText(const CDataInf& inf) {
    std::string text;
    WriteInf(inf, kGeneratorTitle, text);
    return text;
}

void Click(InfEditorWindow& window, const char* name) {
    window.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

std::vector<std::string> Lines(const InfWorkingCopy& copy) {
    return copy.CurrentItemPtr()->m_Lines;
}

} // namespace

// The sample level (an elevator and the switches that move it) in a main frame, its INF editor open.
class InfEditorWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMainFrame> m_pFrame;
    MorviDocument* m_pDocument = nullptr;
    QPointer<InfEditorWindow> m_pWindow;

    InfEditorWindow& window() { return *m_pWindow; }
    InfLineList& lineList() { return *window().findChild<InfLineList*>(QStringLiteral("lines")); }
    CMorviView& view() { return *m_pFrame->activeView(); }

    // Drags row from onto row onto (or below the last row when onto is the row count).
    void dragRow(int from, int onto) {
        InfLineList& lines = lineList();
        lines.setCurrentItem(lines.topLevelItem(from));
        const QRect last = lines.visualItemRect(lines.topLevelItem(lines.topLevelItemCount() - 1));
        const QPoint at = onto < lines.topLevelItemCount()
                              ? lines.visualItemRect(lines.topLevelItem(onto)).center()
                              : QPoint(last.center().x(), last.bottom() + 4);
        QMimeData data;
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        // A drop without the platform's drag: the list's own handler, as a real drop calls it.
        struct Dropping : InfLineList {
            using InfLineList::dropEvent;
        };
        (lines.*(&Dropping::dropEvent))(&drop);
        QCoreApplication::processEvents();
    }

    void clickRow(int row) {
        InfLineList& lines = lineList();
        QTest::mouseClick(lines.viewport(), Qt::LeftButton, {},
                          lines.visualItemRect(lines.topLevelItem(row)).center());
    }

    void select(int modeCommand, const std::vector<CMapSelItem>& items) {
        testing::SelectOnMap(view(), *m_pDocument, modeCommand, items);
    }

    int sectorNamed(const char* name) {
        const auto& sectors = m_pDocument->level().m_Lev.m_pSectors;
        for (std::size_t i = 0; i < sectors.size(); ++i)
            if (sectors[i]->m_strName == name) return static_cast<int>(i);
        return -1;
    }

    // Deletes the current item count times, answering Yes to each question.
    void deleteItems(int count) {
        const testing::ModalWatcher yes([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Yes)->click();
        });
        for (int i = 0; i < count; ++i)
            Click(window(), "delete");
        QCOMPARE(yes.seen(), count);
    }

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        testing::SetStandInGamePaths();
        m_pFrame = std::make_unique<CMainFrame>();
        new MapEditCommands(*m_pFrame);
        m_pFrame->show();
        m_pDocument = m_pFrame->openDocument(testing::SampleDocumentPath());
        QVERIFY(m_pDocument);
        QVERIFY(m_pDocument->level().m_Inf.m_pItems.size() >= 3);
        m_pWindow = OpenInfEditor(*m_pDocument, m_pFrame.get());
        QVERIFY(InfEditorOf(*m_pDocument) == m_pWindow);
    }

    void cleanup() {
        if (m_pWindow) m_pWindow->reject();
        const testing::ModalWatcher no([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::No)->click();
        });
        m_pFrame->closeAllDocuments();
        m_pFrame.reset();
    }

    // "&New" on the Trigger page opens the item dialog; cancelling it takes the new item away again.
    void cancelledNewItemLeavesTheList() {
        const int count = window().itemList()->count();
        const std::string before = InfText(window().workingCopy().Inf());
        window().sheet()->setCurrentIndex(static_cast<int>(InfPage::Trigger));
        const testing::ModalWatcher cancel([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        Click(window(), "newAdd");
        QCOMPARE(cancel.seen(), 1);
        QCOMPARE(window().itemList()->count(), count);
        QCOMPARE(window().itemList()->currentIndex(), 0);
        QCOMPARE(InfText(window().workingCopy().Inf()), before);
    }

    // Cancel throws the deletions away; OK makes them one undo step, which undo takes back.
    void cancelKeepsOkCommitsAsOneStep() {
        const std::string before = InfText(m_pDocument->level().m_Inf);
        const std::size_t items = m_pDocument->level().m_Inf.m_pItems.size();
        deleteItems(2);
        QCOMPARE(window().workingCopy().ItemCount(), static_cast<int>(items) - 2);
        Click(window(), "cancel");
        QCOMPARE(InfText(m_pDocument->level().m_Inf), before);
        QCOMPARE(m_pDocument->history().UndoCount(), std::size_t{0});

        m_pWindow = OpenInfEditor(*m_pDocument, m_pFrame.get());
        deleteItems(2);
        Click(window(), "ok");
        QCOMPARE(m_pDocument->level().m_Inf.m_pItems.size(), items - 2);
        QCOMPARE(m_pDocument->history().UndoCount(), std::size_t{1});
        QCOMPARE(m_pDocument->history().UndoLabel(), std::string("INF Editor"));
        QVERIFY(m_pDocument->undo());
        QCOMPARE(InfText(m_pDocument->level().m_Inf), before);
    }

    // Leaving the elevator's speed field writes the speed line into the item at once.
    void elevatorSpeedWritesAtOnce() {
        const InfWorkingCopy& copy = window().workingCopy();
        int elevator = 0;
        while (elevator < copy.ItemCount() && PageForItem(*copy.Item(elevator)) != InfPage::Elevator)
            ++elevator;
        QVERIFY(elevator < copy.ItemCount());
        window().itemList()->setCurrentIndex(elevator);
        const auto& item = *copy.Item(elevator);
        QCOMPARE(window().sheet()->currentIndex(), static_cast<int>(InfPage::Elevator));
        auto* speed = window().page(InfPage::Elevator)->findChild<QLineEdit*>(QStringLiteral("speed"));
        speed->setText(QStringLiteral("25"));
        emit speed->editingFinished();
        QVERIFY(std::find(item.m_Lines.begin(), item.m_Lines.end(), "speed:\t25") != item.m_Lines.end());
        speed->clear();
        emit speed->editingFinished();
        for (const std::string& line : item.m_Lines)
            QVERIFY(line.rfind("speed:", 0) != 0);
        QCOMPARE(m_pDocument->history().UndoCount(), std::size_t{0});
    }

    // The elevator's rows move below the class line: a drop on a row swaps the two, a drop below
    // the last row moves the line to the end, and the class line neither moves nor takes a row.
    void rowsMoveByDragAndDrop() {
        window().itemList()->setCurrentIndex(0);
        const std::vector<std::string> lines = Lines(window().workingCopy());
        QCOMPARE(lines.size(), std::size_t{5});
        QVERIFY(!(lineList().topLevelItem(0)->flags() & Qt::ItemIsDragEnabled));
        struct Drag {
            int from, onto;
            std::vector<int> order; // of the original lines
        };
        const Drag drags[] = {{4, 1, {0, 4, 2, 3, 1}},
                              {1, 5, {0, 2, 3, 1, 4}},
                              {2, 0, {0, 2, 3, 1, 4}},
                              {0, 3, {0, 2, 3, 1, 4}}};
        for (const Drag& drag : drags) {
            dragRow(drag.from, drag.onto);
            std::vector<std::string> expected;
            for (int i : drag.order)
                expected.push_back(lines[static_cast<std::size_t>(i)]);
            QCOMPARE(Lines(window().workingCopy()), expected);
            QCOMPARE(lineList().topLevelItemCount(), 5);
            QCOMPARE(lineList().topLevelItem(3)->text(0).toStdString(), SplitInfLine(expected[3]).first);
        }
    }

    // A click on a stop row shows the stop page with its values; Update writes the page's fields
    // over that line, and the item's other lines stay.
    void updateRewritesTheChosenLine() {
        window().itemList()->setCurrentIndex(0);
        std::vector<std::string> lines = Lines(window().workingCopy());
        QCOMPARE(lines[4], std::string("stop:\t32 hold"));
        clickRow(4);
        QCOMPARE(window().sheet()->currentIndex(), static_cast<int>(InfPage::Stop));
        InfPageWidget* stop = window().page(InfPage::Stop);
        QCOMPARE(stop->findChild<QComboBox*>(QStringLiteral("value"))->currentText(), QStringLiteral("32"));
        stop->findChild<QCheckBox*>(QStringLiteral("at"))->setChecked(true);
        stop->findChild<QComboBox*>(QStringLiteral("value"))->setEditText(QStringLiteral("16"));
        Click(window(), "update");
        lines[4] = "stop:\t@16 hold";
        QCOMPARE(Lines(window().workingCopy()), lines);
        QCOMPARE(window().workingCopy().CurrentLine(), 4);
    }

    // Selection on the Trigger page makes the selected sectors the clients; the item dialog's
    // Selection takes a selected wall's sector and number.
    void selectionFillsClientsAndTheItemDialog() {
        window().itemList()->setCurrentIndex(1);
        QCOMPARE(window().sheet()->currentIndex(), static_cast<int>(InfPage::Trigger));
        select(cmd::kSector, {{sectorNamed("pump"), -1, -1, -1}, {sectorNamed("door1"), -1, -1, -1}});
        QVERIFY(window().findChild<QPushButton*>(QStringLiteral("selection"))->isEnabled());
        Click(window(), "selection");
        std::vector<std::string> clients;
        for (const std::string& line : Lines(window().workingCopy()))
            if (line.rfind("client:", 0) == 0) clients.push_back(SplitInfLine(line).second);
        std::sort(clients.begin(), clients.end());
        QCOMPARE(clients, (std::vector<std::string>{"door1", "pump"}));

        const int stair = sectorNamed("stair3");
        select(cmd::kWall, {{stair, 2, -1, -1}});
        const testing::ModalWatcher dialog([](QWidget* modal) {
            auto* item = qobject_cast<QDialog*>(modal);
            item->findChild<QPushButton*>(QStringLiteral("selection"))->click();
            item->accept();
        });
        Click(window(), "edit");
        QCOMPARE(dialog.seen(), 1);
        const InfItemFields fields = window().workingCopy().ItemFields();
        QCOMPARE(fields.m_strName, std::string("stair3"));
        QCOMPARE(fields.m_nNum, 2);
        QCOMPARE(m_pDocument->history().UndoCount(), std::size_t{0});
    }

    // A tab into the line list chooses no row, so Delete still asks about the whole item.
    void focusAloneChoosesNoLine() {
        window().itemList()->setCurrentIndex(0);
        const std::vector<std::string> lines = Lines(window().workingCopy());
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(&lineList(), &focus);
        QCOMPARE(window().workingCopy().CurrentLine(), -1);
        const testing::ModalWatcher no(
            [](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click(); });
        Click(window(), "delete");
        QCOMPARE(no.seen(), 1);
        QCOMPARE(Lines(window().workingCopy()), lines);
    }

    // The INF command opens this window with the Individual setting and the INF text with Native;
    // either way the editor the document had closes first.
    void infCommandFollowsTheSetting() {
        Settings& settings = AppContext::instance().settings();
        settings.m_bInfEditor = false;
        OpenInfCommand(*m_pDocument, m_pFrame.get());
        QVERIFY(!InfEditorOf(*m_pDocument));
        TextEditorWindow* text = TextEditorOf(*m_pDocument);
        QVERIFY(text && text->kind() == TextKind::Inf);
        settings.m_bInfEditor = true;
        OpenInfCommand(*m_pDocument, m_pFrame.get());
        m_pWindow = InfEditorOf(*m_pDocument);
        QVERIFY(m_pWindow);
        OpenInfCommand(*m_pDocument, m_pFrame.get());
        QVERIFY(InfEditorOf(*m_pDocument) != m_pWindow);
        m_pWindow = InfEditorOf(*m_pDocument);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::InfEditorWindowTest)
#include "InfEditorWindowTest.moc"
