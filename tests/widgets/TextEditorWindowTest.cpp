#include "app/TextEditorWindow.h"
#include "app/AppContext.h"
#include "app/MorviDocument.h"
#include "gamefiles/InfFile.h"
#include "support/LevelBuilders.h"
#include "support/WidgetTestSupport.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

namespace morvi::ui {

namespace {

void AddTextMember(CDataLevel& level, const std::string& name, std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    QVERIFY(level.AddMember(name, std::span(bytes, text.size())));
}

std::string InfText(const CDataInf& inf) {
    std::string text;
    WriteInf(inf, kGeneratorTitle, text);
    return text;
}

// A room level "SECBASE" whose sector is named door1, with an INF and a message member; withGoal
// adds the goal member.
std::unique_ptr<MorviDocument> MakeDocument(bool withGoal) {
    auto document = std::make_unique<MorviDocument>();
    CDataLevel& level = document->level();
    morvi::testing::BuildRoom(level);
    level.m_Lev.m_pSectors[0]->m_strName = "door1";
    level.m_LevelNames = {"SECBASE"};
    level.m_nCurrentLevel = 0;
    CDataInf inf;
    morvi::testing::AddItem(inf, "sector", "door1", -1, {"class:\televator door"});
    AddTextMember(level, "SECBASE.INF", InfText(inf));
    AddTextMember(level, "TEXT.MSG", "MSG 1.0\r\n100 0: \"Hello\"\r\n");
    AddTextMember(level, "SECBASE.VUE", "vue 1.0\n");
    if (withGoal) AddTextMember(level, "SECBASE.GOL", "GOL 1.0\r\nGOAL: 0 ITEM: 2\r\n");
    return document;
}

std::vector<std::pair<std::string, std::string>> Members(const CDataLevel& level) {
    std::vector<std::pair<std::string, std::string>> members;
    for (const auto& member : level.m_pMembers)
        members.emplace_back(member->m_strName, member->text());
    return members;
}

std::string MemberText(const CDataLevel& level, std::string_view name) {
    const CDataGobEntry* member = level.FindMember(name);
    return member ? std::string(member->text()) : std::string("<none>");
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TextEditorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        Settings& settings = AppContext::instance().settings();
        settings.m_nTextEditorLeft = -1;
        settings.m_nTextEditorTop = -1;
    }

    void cleanup() {
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows)
            if (auto* editor = qobject_cast<TextEditorWindow*>(window)) editor->reject();
        FlushDeletes();
    }

    void titlesFollowTheKind() {
        QCOMPARE(TextEditorWindow::titleFor(TextKind::Inf), QString("INF Editor"));
        QCOMPARE(TextEditorWindow::titleFor(TextKind::Gol), QString("GOL Editor"));
        QCOMPARE(TextEditorWindow::titleFor(TextKind::Lvl), QString("LVL Editor"));
        QCOMPARE(TextEditorWindow::titleFor(TextKind::Msg), QString("MSG Editor"));
        QCOMPARE(TextEditorWindow::titleFor(TextKind::Vue), QString("VUE Editor"));
        QCOMPARE(TextEditorWindow::titleFor(TextKind::Lst), QString("LST Editor"));
    }

    void infTextReplacesTheInfItems() {
        auto document = MakeDocument(true);
        CDataInf edited;
        morvi::testing::AddItem(edited, "sector", "door1", -1,
                                {"class:\televator move_ceiling", "stop:\t0 hold"});
        morvi::testing::AddItem(edited, "line", "door1", 2, {"class:\ttrigger switch1"});
        const std::string editedText = InfText(edited);
        CDataInf expected;
        ReadInf(expected, editedText);

        TextEditorWindow* window = OpenTextEditor(*document, TextKind::Inf, {}, nullptr);
        QCOMPARE(window->windowTitle(), QString("INF Editor"));
        QVERIFY(window->textEdit()->toPlainText().contains("elevator door"));
        QSignalSpy infSpy(document.get(), &MorviDocument::infChanged);
        QSignalSpy updateSpy(document.get(), &MorviDocument::updated);
        window->textEdit()->setPlainText(QString::fromLatin1(editedText.c_str()));
        window->accept();

        const CDataInf& inf = document->level().m_Inf;
        QCOMPARE(inf.m_pItems.size(), expected.m_pItems.size());
        QCOMPARE(inf.m_pItems.size(), std::size_t(2));
        for (std::size_t i = 0; i < inf.m_pItems.size(); ++i) {
            QCOMPARE(inf.m_pItems[i]->m_strType, expected.m_pItems[i]->m_strType);
            QCOMPARE(inf.m_pItems[i]->m_strName, expected.m_pItems[i]->m_strName);
            QCOMPARE(inf.m_pItems[i]->m_nNum, expected.m_pItems[i]->m_nNum);
            QCOMPARE(inf.m_pItems[i]->m_Lines, expected.m_pItems[i]->m_Lines);
        }
        QCOMPARE(MemberText(document->level(), "SECBASE.INF"), editedText);
        QCOMPARE(document->level().m_Lev.m_pSectors[0]->m_strName, std::string("door1"));
        QVERIFY(document->isModified());
        QCOMPARE(infSpy.count(), 1);
        QVERIFY(updateSpy.count() >= 1);
        FlushDeletes();
        QCOMPARE(TextEditorOf(*document), nullptr);
    }

    void untouchedTextKeepsItsBytesAndLineEnds() {
        auto document = MakeDocument(true);
        const auto before = Members(document->level());
        OpenTextEditor(*document, TextKind::Msg, {}, nullptr)->accept();
        OpenTextEditor(*document, TextKind::Vue, "secbase.vue", nullptr)->accept();
        QVERIFY(Members(document->level()) == before);
    }

    void memberTextIsStoredOnlyOnOk() {
        auto document = MakeDocument(true);
        TextEditorWindow* window = OpenTextEditor(*document, TextKind::Vue, "SECBASE.VUE", nullptr);
        QCOMPARE(window->textEdit()->toPlainText(), QString("vue 1.0\n"));
        window->textEdit()->setPlainText("vue 2.0\nobject 1\n");
        window->reject();
        QCOMPARE(MemberText(document->level(), "SECBASE.VUE"), std::string("vue 1.0\n"));
        QVERIFY(!document->isModified());

        window = OpenTextEditor(*document, TextKind::Vue, "SECBASE.VUE", nullptr);
        window->textEdit()->setPlainText("vue 2.0\nobject 1\n");
        window->accept();
        QCOMPARE(MemberText(document->level(), "SECBASE.VUE"), std::string("vue 2.0\nobject 1\n"));
        QVERIFY(document->isModified());
    }

    void missingGoalMemberOpensEmptyAndStoresNothing() {
        auto document = MakeDocument(false);
        const auto before = Members(document->level());
        TextEditorWindow* window = OpenTextEditor(*document, TextKind::Gol, {}, nullptr);
        QCOMPARE(window->windowTitle(), QString("GOL Editor"));
        QCOMPARE(window->textEdit()->toPlainText(), QString());
        window->textEdit()->setPlainText("GOL 1.0\nGOAL: 0 ITEM: 1\n");
        window->accept();
        QVERIFY(Members(document->level()) == before);
        QVERIFY(document->level().FindMember("SECBASE.GOL") == nullptr);
    }

    void openingAnotherEditorClosesTheFirstWithoutStoring() {
        auto document = MakeDocument(true);
        const std::string goal = MemberText(document->level(), "SECBASE.GOL");
        QPointer<TextEditorWindow> first = OpenTextEditor(*document, TextKind::Gol, {}, nullptr);
        first->textEdit()->setPlainText("changed goals");
        TextEditorWindow* second = OpenTextEditor(*document, TextKind::Msg, {}, nullptr);
        QCOMPARE(TextEditorOf(*document), second);
        QCOMPARE(second->windowTitle(), QString("MSG Editor"));
        QVERIFY(second->textEdit()->toPlainText().contains("Hello"));
        FlushDeletes();
        QVERIFY(first.isNull());
        QCOMPARE(MemberText(document->level(), "SECBASE.GOL"), goal);
        QVERIFY(!document->isModified());
    }

    void eachDocumentHasItsOwnWindow() {
        auto one = MakeDocument(true);
        auto two = MakeDocument(true);
        TextEditorWindow* first = OpenTextEditor(*one, TextKind::Gol, {}, nullptr);
        TextEditorWindow* second = OpenTextEditor(*two, TextKind::Gol, {}, nullptr);
        QCOMPARE(TextEditorOf(*one), first);
        QCOMPARE(TextEditorOf(*two), second);
    }

    void theNextWindowOpensWhereTheLastWasPlaced() {
        auto document = MakeDocument(true);
        TextEditorWindow* first = OpenTextEditor(*document, TextKind::Gol, {}, nullptr);
        first->move(150, 90);
        QTRY_COMPARE(first->pos(), QPoint(150, 90));
        TextEditorWindow* second = OpenTextEditor(*document, TextKind::Msg, {}, nullptr);
        QCOMPARE(AppContext::instance().settings().m_nTextEditorLeft, 150);
        QCOMPARE(AppContext::instance().settings().m_nTextEditorTop, 90);
        QCOMPARE(second->pos(), QPoint(150, 90));

        second->move(210, 130);
        QTRY_COMPARE(second->pos(), QPoint(210, 130));
        second->accept();
        QCOMPARE(AppContext::instance().settings().m_nTextEditorLeft, 210);
        TextEditorWindow* third = OpenTextEditor(*document, TextKind::Lvl, {}, nullptr);
        QCOMPARE(third->pos(), QPoint(210, 130));
    }

    void cancelForgetsThePlace() {
        auto document = MakeDocument(true);
        TextEditorWindow* window = OpenTextEditor(*document, TextKind::Gol, {}, nullptr);
        window->move(40, 50);
        QTRY_COMPARE(window->pos(), QPoint(40, 50));
        window->reject();
        QCOMPARE(AppContext::instance().settings().m_nTextEditorLeft, -1);
        QCOMPARE(AppContext::instance().settings().m_nTextEditorTop, -1);
    }

    void closingTheDocumentClosesItsWindow() {
        auto document = MakeDocument(true);
        QPointer<TextEditorWindow> window = OpenTextEditor(*document, TextKind::Msg, {}, nullptr);
        window->move(70, 80);
        QTRY_COMPARE(window->pos(), QPoint(70, 80));
        document.reset();
        FlushDeletes();
        QVERIFY(window.isNull());
        QCOMPARE(AppContext::instance().settings().m_nTextEditorLeft, 70);
    }

    void infCommandNeedsANamedSector() {
        auto document = MakeDocument(true);
        QCOMPARE(InfCommandRefusal(document->level()), QString());
        document->level().m_Lev.m_pSectors[0]->m_strName.clear();
        QCOMPARE(InfCommandRefusal(document->level()),
                 QString("This operation is not available since no\nsectors has been given a name yet."));
        CDataLevel empty;
        QVERIFY(!InfCommandRefusal(empty).isEmpty());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::TextEditorWindowTest)
#include "TextEditorWindowTest.moc"
