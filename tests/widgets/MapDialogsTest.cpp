#include "app/MorviDocument.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/FindSectorDialog.h"
#include "mapedit/StatisticsDialog.h"
#include "support/LevelBuilders.h"
#include "support/WidgetTestSupport.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

namespace morvi::ui {

namespace {

QString Count(const StatisticsDialog& dialog, const char* name) {
    auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!field) qFatal("no field %s", name);
    if (!field->isReadOnly()) return QStringLiteral("editable");
    return field->text();
}

QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Two adjoined rooms and a third room on layer 3; the first and the third are named.
void BuildNamedRooms(CDataLevel& level) {
    morvi::testing::BuildTwoRooms(level);
    level.m_Lev.m_pSectors.push_back(morvi::testing::MakeSquareSector(level.m_Lev, 2, 0, 200, 64, 264));
    level.m_Lev.m_pSectors[0]->m_strName = "start";
    level.m_Lev.m_pSectors[2]->m_strName = "lift";
    level.m_Lev.m_pSectors[2]->m_nLayer = 3;
}

} // namespace

class MapDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void statisticsOfAnEmptyLevel() {
        CDataLevel level;
        StatisticsDialog dialog(level);
        for (const char* name : {"sectors", "walls", "vertices", "objects", "infDefinitions"})
            QCOMPARE(Count(dialog, name), QStringLiteral("0"));
        QCOMPARE(Lines(dialog.findChild<QListWidget*>("degenerateWalls")), QStringList{"None"});
        QCOMPARE(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("Illegal/Overlapping vertices"));
    }

    void statisticsCountAndListDegenerateWalls() {
        CDataLevel level;
        morvi::testing::BuildRoomWithPillar(level);
        level.m_Objects.m_pObjects.push_back(std::make_unique<CDataObjectItem>());
        level.m_Objects.m_pObjects.push_back(std::make_unique<CDataObjectItem>());
        morvi::testing::AddItem(level.m_Inf, "sector", "door", -1, {});
        auto& pillar = level.m_Lev.m_pSectors[1]->m_pVertices;
        *pillar[2] = *pillar[1];
        StatisticsDialog dialog(level);
        QCOMPARE(Count(dialog, "sectors"), QStringLiteral("2"));
        QCOMPARE(Count(dialog, "walls"), QStringLiteral("12"));
        QCOMPARE(Count(dialog, "vertices"), QStringLiteral("12"));
        QCOMPARE(Count(dialog, "objects"), QStringLiteral("2"));
        QCOMPARE(Count(dialog, "infDefinitions"), QStringLiteral("1"));
        QCOMPARE(Lines(dialog.findChild<QListWidget*>("degenerateWalls")),
                 QStringList{"Sector   1, vertex   1 and vertex   2"});
    }

    void findSectorListsTheNamedSectors() {
        MorviDocument document;
        BuildNamedRooms(document.level());
        Settings settings;
        CMapEngine engine(document.doc(), settings);
        FindSectorDialog dialog(document, engine);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Find Sector"));
        QCOMPARE(Lines(dialog.list()), (QStringList{"start", "lift"}));

        MorviDocument unnamed;
        morvi::testing::BuildTwoRooms(unnamed.level());
        CMapEngine other(unnamed.doc(), settings);
        FindSectorDialog empty(unnamed, other);
        QCOMPARE(empty.list()->count(), 0);
        empty.accept();
        QCOMPARE(empty.result(), int(QDialog::Accepted));
    }

    void choosingASectorOnLayerThreeMakesItsLayerCurrent() {
        MorviDocument document;
        BuildNamedRooms(document.level());
        Settings settings;
        CMapEngine engine(document.doc(), settings);
        engine.viewport().m_dScale = 512.0;
        engine.viewport().m_rcClient = {0, 0, 401, 301};
        engine.AddToSelection({0, -1, -1, -1});
        QCOMPARE(document.doc().m_nCurrentLayer, 0);
        QSignalSpy updated(&document, &MorviDocument::updated);
        QSignalSpy selection(&document, &MorviDocument::selectionChanged);
        FindSectorDialog dialog(document, engine);
        dialog.list()->setCurrentRow(1);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(document.doc().m_nCurrentLayer, 3);
        QVERIFY(engine.selection() == (std::vector<CMapSelItem>{{2, -1, -1, -1}}));
        QVERIFY(engine.viewport().WorldToScreen(32, 232) == (ScreenPoint{200, 150}));
        QCOMPARE(updated.count(), 1);
        QCOMPARE(selection.count(), 1);
    }

    void doubleClickActsAsOk() {
        MorviDocument document;
        BuildNamedRooms(document.level());
        Settings settings;
        CMapEngine engine(document.doc(), settings);
        engine.viewport().m_dScale = 512.0;
        engine.viewport().m_rcClient = {0, 0, 401, 301};
        FindSectorDialog dialog(document, engine);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QListWidget* list = dialog.list();
        const QRect rect = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QVERIFY(engine.selection() == (std::vector<CMapSelItem>{{0, -1, -1, -1}}));
    }

    void okWithoutAChoiceChangesNothing() {
        MorviDocument document;
        BuildNamedRooms(document.level());
        Settings settings;
        CMapEngine engine(document.doc(), settings);
        engine.AddToSelection({1, -1, -1, -1});
        QSignalSpy updated(&document, &MorviDocument::updated);
        QSignalSpy selection(&document, &MorviDocument::selectionChanged);
        FindSectorDialog dialog(document, engine);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(document.doc().m_nCurrentLayer, 0);
        QVERIFY(engine.selection() == (std::vector<CMapSelItem>{{1, -1, -1, -1}}));
        QCOMPARE(updated.count(), 0);
        QCOMPARE(selection.count(), 0);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::MapDialogsTest)
#include "MapDialogsTest.moc"
