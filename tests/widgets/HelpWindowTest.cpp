#include "app/HelpWindow.h"
#include "app/AppPaths.h"
#include "support/WidgetTestSupport.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QtTest>

namespace morvi::ui {

namespace {

// The first second-level heading of a manual file, as its author wrote it.
QString FirstSection(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (line.startsWith("## ")) return line.mid(3).trimmed();
    return {};
}

// Moves the keyboard focus from link to link until one whose target ends with suffix.
bool FocusLink(QTextBrowser* browser, const QString& suffix) {
    browser->setFocus();
    browser->moveCursor(QTextCursor::Start);
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(browser, Qt::Key_Tab);
        if (browser->textCursor().charFormat().anchorHref().endsWith(suffix)) return true;
    }
    return false;
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }
    void cleanup() { delete HelpWindow::instance(); }

    void helpTopicsShowsTheContentsInOneWindow() {
        HelpWindow* window = HelpWindow::ShowTopics();
        QVERIFY(window->isVisible());
        QCOMPARE(window->currentPage(), QString("index.md"));
        const QString text = window->browser()->toPlainText();
        QVERIFY(text.contains("Contents"));
        QVERIFY(text.contains("Getting started"));
        QVERIFY(text.contains("Keys"));
        window->showPage("keys.md");
        QCOMPARE(HelpWindow::ShowTopics(), window);
        QCOMPARE(window->currentPage(), QString("index.md"));
    }

    void aLinkToTheKeysChapterOpensIt() {
        HelpWindow* window = HelpWindow::ShowTopics();
        QVERIFY(FocusLink(window->browser(), "keys.md"));
        QTest::keyClick(window->browser(), Qt::Key_Return);
        QCOMPARE(window->currentPage(), QString("keys.md"));
        QVERIFY(window->browser()->toPlainText().contains("Ctrl+S"));
        // And back to the contents.
        window->browser()->backward();
        QCOMPARE(window->currentPage(), QString("index.md"));
    }

    void theIndexListsEveryChapterWithItsHeadings() {
        HelpWindow* window = HelpWindow::ShowIndex();
        QVERIFY(window->currentPage().isEmpty());
        const QString text = window->browser()->toPlainText();
        QVERIFY(text.startsWith("Help Index"));
        const QDir manual(ManualDir());
        const QStringList chapters = manual.entryList({"*.md"}, QDir::Files);
        QVERIFY(chapters.size() >= 4);
        for (const QString& chapter : chapters) {
            if (chapter == "index.md") continue;
            const QString section = FirstSection(manual.filePath(chapter));
            QVERIFY2(!section.isEmpty(), qPrintable(chapter));
            QVERIFY2(text.contains(section), qPrintable(chapter + ": " + section));
        }
    }

    void anIndexEntryOpensItsChapterAtTheHeading() {
        HelpWindow* window = HelpWindow::ShowIndex();
        window->resize(600, 300);
        QVERIFY(FocusLink(window->browser(), "#" + HeadingAnchor("Printing and export")));
        QTest::keyClick(window->browser(), Qt::Key_Return);
        QCOMPARE(window->currentPage(), QString("map-view.md"));
        QVERIFY(window->browser()->verticalScrollBar()->value() > 0);
    }

    void headingAnchorsAreLowerCaseWordsJoinedByDashes() {
        QCOMPARE(HeadingAnchor("Printing and export"), QString("printing-and-export"));
        QCOMPARE(HeadingAnchor("  Zoom, grid & layers "), QString("zoom-grid-layers"));
        QCOMPARE(HeadingAnchor("Skies or Pits - tool 4"), QString("skies-or-pits-tool-4"));
        QCOMPARE(HeadingAnchor("!!"), QString());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::HelpWindowTest)
#include "HelpWindowTest.moc"
