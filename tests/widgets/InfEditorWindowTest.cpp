#include "infedit/InfEditorWindow.h"
#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/MorviDocument.h"
#include "gamefiles/InfFile.h"
#include "infedit/InfPageWidget.h"
#include "mapedit/MapEditCommands.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
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

} // namespace

// The sample level (an elevator and the switches that move it) in a main frame, its INF editor open.
class InfEditorWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMainFrame> m_pFrame;
    MorviDocument* m_pDocument = nullptr;
    QPointer<InfEditorWindow> m_pWindow;

    InfEditorWindow& window() { return *m_pWindow; }

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
        AppContext::instance().settings().m_strDFPath = "/df";
        AppContext::instance().settings().m_strInstall = "/df";
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
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::InfEditorWindowTest)
#include "InfEditorWindowTest.moc"
