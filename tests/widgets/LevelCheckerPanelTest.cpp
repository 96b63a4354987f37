#include "mapedit/LevelCheckerPanel.h"

#include "app/MorviDocument.h"
#include "mapedit/CMorviView.h"
#include "support/WidgetTestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

namespace morvi::ui {

namespace {

QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// The first adjoined wall of the level, as (sector, wall); (-1, -1) when there is none.
std::pair<int, int> FirstAdjoinedWall(const CDataLevel& level) {
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        for (std::size_t w = 0; w < sectors[s]->m_pWalls.size(); ++w)
            if (sectors[s]->m_pWalls[w]->m_nAdjoin >= 0) return {static_cast<int>(s), static_cast<int>(w)};
    return {-1, -1};
}

} // namespace

class LevelCheckerPanelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void listsTheBrokenMirrorAndFocusesIt() {
        MorviDocument document;
        QVERIFY(document.open(testing::SampleDocumentPath(), {}));
        CMorviView view(document);
        view.resize(800, 600);
        LevelCheckerPanel panel;
        QCOMPARE(panel.windowTitle(), QStringLiteral("Level Check"));
        QCOMPARE(panel.findChild<QPushButton*>("checkLevel")->text(), QStringLiteral("Check Level"));
        panel.setDocument(&document, &view);
        QCOMPARE(Lines(panel.list()), QStringList{"No problems found."});

        const auto [s, w] = FirstAdjoinedWall(document.level());
        QVERIFY(s >= 0);
        CDataWall& wall = *document.level()
                               .m_Lev.m_pSectors[static_cast<std::size_t>(s)]
                               ->m_pWalls[static_cast<std::size_t>(w)];
        const int mirror = wall.m_nMirror;
        const int otherWalls = static_cast<int>(
            document.level().m_Lev.m_pSectors[static_cast<std::size_t>(wall.m_nAdjoin)]->m_pWalls.size());
        wall.m_nMirror = (mirror + 1) % otherWalls;
        // Nothing told the panel yet: the button checks again.
        QCOMPARE(Lines(panel.list()), QStringList{"No problems found."});
        panel.findChild<QPushButton*>("checkLevel")->click();
        const QString name = QStringLiteral("Sector %1 wall %2 mirrors Sector %3 wall %4,")
                                 .arg(s)
                                 .arg(w)
                                 .arg(wall.m_nAdjoin)
                                 .arg(wall.m_nMirror);
        int row = -1;
        for (int i = 0; i < panel.list()->count(); ++i)
            if (panel.list()->item(i)->text().startsWith(name)) row = i;
        QVERIFY2(row >= 0, qPrintable(Lines(panel.list()).join('\n')));

        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy selectionSpy(&document, &MorviDocument::selectionChanged);
        QListWidgetItem* line = panel.list()->item(row);
        panel.list()->scrollToItem(line);
        const QPoint centre = panel.list()->visualItemRect(line).center();
        // The item view takes a double click only on the line its press began on.
        QTest::mouseClick(panel.list()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(panel.list()->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(document.doc().m_nMode, int{kModeWall});
        QCOMPARE(view.engine().selection(), (std::vector<CMapSelItem>{{s, w, -1, -1}}));
        QCOMPARE(selectionSpy.count(), 1);

        // Repaired; one update brings the clean list back.
        wall.m_nMirror = mirror;
        document.updateAllViews();
        QTRY_COMPARE(Lines(panel.list()), QStringList{"No problems found."});

        panel.setDocument(nullptr, nullptr);
        QVERIFY(panel.list()->count() == 0);
    }

    void forgetsADestroyedDocument() {
        auto document = std::make_unique<MorviDocument>();
        document->level().m_Lev.m_pSectors.push_back(std::make_unique<CDataSector>());
        LevelCheckerPanel panel;
        panel.setDocument(document.get(), nullptr);
        QVERIFY(Lines(panel.list()).join('\n').contains(QStringLiteral("Sector 0 has 0 walls")));
        // No view: a double click on a finding changes nothing and does not crash.
        emit panel.list()->itemDoubleClicked(panel.list()->item(0));
        document.reset();
        QTRY_COMPARE(panel.list()->count(), 0);
        QVERIFY(panel.document() == nullptr);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::LevelCheckerPanelTest)
#include "LevelCheckerPanelTest.moc"
