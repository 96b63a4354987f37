#include "resources/LevelFilesDialog.h"
#include "app/AppContext.h"
#include "app/CMainFrame.h"
#include "app/FileDialogs.h"
#include "app/MorviDocument.h"
#include "resources/PaletteEditDialog.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace morvi::ui {

namespace {

// Every member's name and bytes: equal lists mean an equal archive.
QStringList Members(const CDataLevel& level) {
    QStringList members;
    for (const auto& m : level.m_pMembers)
        members << QString::fromStdString(m->m_strName) + "=" +
                       QByteArray(reinterpret_cast<const char*>(m->data().data()), m->m_nSize).toHex();
    return members;
}

} // namespace

// The sample level in a main frame with game paths set (no path warning), its Files window open.
class LevelFilesDialogTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMainFrame> m_pFrame;
    MorviDocument* m_pDocument = nullptr;
    QPointer<LevelFilesDialog> m_pDialog;

    QTreeWidgetItem* row(const QString& name) {
        return m_pDialog->list()->findItems(name, Qt::MatchExactly).value(0);
    }
    void click(const char* button) { m_pDialog->findChild<QPushButton*>(button)->click(); }

    // Edits palette entry 17 (the second row's second cell) to the colour 255, 130, 3 and ends
    // the dialog with OK or Cancel; the colour the colour dialog started with.
    QColor editPalette(bool ok) {
        m_pDialog->list()->setCurrentItem(row("SECBASE.PAL"));
        QColor start;
        const testing::ModalWatcher watcher([&](QWidget* modal) {
            if (auto* colours = qobject_cast<QColorDialog*>(modal)) {
                start = colours->currentColor();
                colours->setCurrentColor(QColor(255, 130, 3));
                colours->accept();
            } else if (auto* edit = qobject_cast<PaletteEditDialog*>(modal)) {
                QTimer::singleShot(0, edit, [edit, ok] {
                    QTest::mouseClick(edit->grid(), Qt::LeftButton, {}, QPoint(16 + 5, 16 + 9));
                    ok ? edit->accept() : edit->reject();
                });
            }
        });
        click("edit");
        return start;
    }

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    void init() {
        AppContext::instance().settings().m_strDFPath = AppContext::instance().settings().m_strInstall =
            "/df";
        m_pFrame = std::make_unique<CMainFrame>();
        m_pFrame->show();
        m_pDocument = m_pFrame->openDocument(testing::SampleDocumentPath());
        QVERIFY(m_pDocument);
        m_pDialog = OpenLevelFilesDialog(*m_pDocument, m_pFrame.get());
    }

    void cleanup() {
        SetFileAnswerer({});
        testing::CloseAllWithoutSaving(*m_pFrame);
        m_pFrame.reset();
        QTRY_VERIFY(!m_pDialog);
    }

    // Two files come in as one step after every member (sizes 100 and 50: the second one 100
    // further on). Deleting both asks and is one step; undoing both steps gives back every byte.
    void addDeleteAndUndo() {
        const QStringList before = Members(m_pDocument->level());
        std::uint32_t end = 8;
        for (const auto& m : m_pDocument->level().m_pMembers)
            end += m->m_nSize;
        QTemporaryDir dir;
        QStringList files;
        for (const auto& [name, size] : {std::pair("enemy.wax", 100), std::pair("door.vue", 50)}) {
            QFile file(files.emplace_back(dir.filePath(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size);
        }
        SetFileAnswerer([&files](const FileQuestion&) { return files; });
        const std::size_t steps = m_pDocument->history().UndoCount();
        click("add");
        QCOMPARE(m_pDocument->history().UndoCount(), steps + 1);
        QCOMPARE(row("ENEMY.WAX")->text(1), QString::number(end));
        QCOMPARE(row("DOOR.VUE")->text(1) + " " + row("DOOR.VUE")->text(2), QString("%1 50").arg(end + 100));

        const testing::ModalWatcher answer(
            [](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click(); });
        row("ENEMY.WAX")->setSelected(true);
        row("DOOR.VUE")->setSelected(true);
        click("delete");
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(m_pDocument->history().UndoCount(), steps + 2);
        QVERIFY(!row("ENEMY.WAX") && !row("DOOR.VUE"));
        QVERIFY(m_pDocument->undo() && row("ENEMY.WAX") && row("DOOR.VUE"));
        QVERIFY(m_pDocument->undo());
        QCOMPARE(Members(m_pDocument->level()), before);
    }

    // OK stores the chosen colour's top 6 bits into the member as one step; the colour dialog
    // starts on the entry's colour times 4; Undo gives the old bytes back. Cancel changes nothing.
    void editPaletteStoresSixBitsOrNothing() {
        const auto palette = [this] {
            const CDataGobEntry* member = m_pDocument->level().FindMember("SECBASE.PAL");
            return QByteArray(reinterpret_cast<const char*>(member->data().data()), member->m_nSize);
        };
        const QByteArray bytes = palette();
        const std::size_t steps = m_pDocument->history().UndoCount();
        QCOMPARE(editPalette(false), QColor(bytes[51] * 4, bytes[52] * 4, bytes[53] * 4));
        QCOMPARE(m_pDocument->history().UndoCount(), steps);
        QCOMPARE(palette(), bytes);
        editPalette(true);
        QCOMPARE(m_pDocument->history().UndoCount(), steps + 1);
        QCOMPARE(m_pDocument->doc().UndoLabel(), std::string("Edit Palette"));
        QCOMPARE(palette(), QByteArray(bytes).replace(51, 3, QByteArray("\x3f\x20\x00", 3)));
        QVERIFY(m_pDocument->undo());
        QCOMPARE(palette(), bytes);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::LevelFilesDialogTest)
#include "LevelFilesDialogTest.moc"
