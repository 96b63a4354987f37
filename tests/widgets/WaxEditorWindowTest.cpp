#include "resources/WaxEditorWindow.h"
#include "app/FileDialogs.h"
#include "gamefiles/GobArchive.h"
#include "model/CDataGobEntry.h"
#include "resources/ResourcePreview.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>

namespace morvi::ui {

namespace {

std::vector<std::uint8_t> ReadAll(const QString& path) {
    std::ifstream file(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

using Cells = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

// The cells of a WAX as the export writes them (decoded BMPs by cell index) and its structure.
std::pair<Cells, WaxMap> CellsOf(const QString& path) {
    const std::vector<std::uint8_t> bytes = ReadAll(path);
    std::vector<ExportedFile> files;
    WaxWalk walk;
    if (!ExportSpriteResource(bytes, "X.WAX", GamePalette::Grey(), files).ok() ||
        !WalkWax(bytes, "X.WAX", walk).ok())
        return {};
    Cells cells;
    for (ExportedFile& file : files)
        if (file.m_strName != kWaxMapFileName) cells.emplace_back(file.m_strName, std::move(file.m_Bytes));
    walk.m_Map.m_CellComp.assign(walk.m_Map.m_CellComp.size(), 0); // a built WAX is all plain cells
    return {std::move(cells), walk.m_Map};
}

} // namespace

// An Auxiliary Item Editor whose file questions are answered from a list of paths.
class WaxEditorWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_Dir;
    QStringList m_Answers;

    QString path(const QString& name) const { return m_Dir.filePath(name); }
    // The first WAX of the demo sprites, written to a file.
    QString demoWax() {
        GobArchive sprites;
        if (!ReadGobFile(MORVI_SHARE_DIR "/demo/sprites.gob", sprites).ok()) return {};
        for (const auto& member : sprites.m_pMembers) {
            const QString name = QString::fromStdString(member->m_strName);
            if (!name.endsWith(QLatin1String(".WAX"))) continue;
            std::ofstream(path(name).toStdString(), std::ios::binary)
                .write(reinterpret_cast<const char*>(member->data().data()),
                       static_cast<std::streamsize>(member->data().size()));
            return path(name);
        }
        return {};
    }
    static void click(WaxEditorWindow& window, const char* name) {
        window.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

private slots:
    void initTestCase() {
        testing::InitWidgetTests();
        SetFileAnswerer([this](const FileQuestion&) {
            return m_Answers.isEmpty() ? QStringList() : QStringList{m_Answers.takeFirst()};
        });
    }
    void cleanupTestCase() { SetFileAnswerer({}); }

    // Export, import and save as WAX with the exported map give the cells and structure the sprite
    // had; Export replaces, after asking, only what an earlier export wrote.
    void exportImportSaveRoundTrip() {
        const QString original = demoWax();
        QVERIFY(!original.isEmpty());
        WaxEditorWindow window(nullptr);
        m_Answers = {original};
        click(window, "open");
        const auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("tree"));
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Scene 1"));

        QVERIFY(QDir(m_Dir.path()).mkpath(QStringLiteral("actor")));
        for (const char* name : {"notes.txt", "cell0999.bmp"})
            std::ofstream(path(QStringLiteral("actor/") + QLatin1String(name)).toStdString()) << "mine";
        {
            const testing::ModalWatcher replace([](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Yes)->click();
            });
            m_Answers = {path(QStringLiteral("actor.bmp"))};
            click(window, "export");
            QCOMPARE(replace.seen(), 1);
        }
        QVERIFY(QFileInfo::exists(path(QStringLiteral("actor/notes.txt"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("actor/cell0999.bmp"))));

        m_Answers = {path(QStringLiteral("actor/cell0000.bmp"))};
        click(window, "import");
        const auto [cells, map] = CellsOf(original);
        QVERIFY(!cells.empty());
        QCOMPARE(window.importedFiles().size(), cells.size());

        const testing::ModalWatcher none;
        m_Answers = {path(QStringLiteral("rebuilt.wax")), path(QStringLiteral("actor/schema.map"))};
        click(window, "save");
        QCOMPARE(none.messages(), QStringList());
        const auto [rebuiltCells, rebuiltMap] = CellsOf(path(QStringLiteral("rebuilt.wax")));
        QVERIFY(rebuiltCells == cells);
        QVERIFY(rebuiltMap == map);
    }

    // The same round trip through PNG pictures: indexed PNGs keep every palette index.
    void pngRoundTrip() {
        const QString original = demoWax();
        WaxEditorWindow window(nullptr);
        m_Answers = {original, path(QStringLiteral("inpng.png"))};
        click(window, "open");
        click(window, "export");
        QVERIFY(QFileInfo::exists(path(QStringLiteral("inpng/cell0000.png"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("inpng/cell0000.bmp"))));
        m_Answers = {path(QStringLiteral("inpng/cell0000.png"))};
        click(window, "import");
        const auto [cells, map] = CellsOf(original);
        QCOMPARE(window.importedFiles().size(), cells.size());
        const testing::ModalWatcher none;
        m_Answers = {path(QStringLiteral("png.wax")), path(QStringLiteral("inpng/schema.map"))};
        click(window, "save");
        QCOMPARE(none.messages(), QStringList());
        QVERIFY(CellsOf(path(QStringLiteral("png.wax"))).first == cells);
    }

    // Play animates the chosen scene; a second click or another node stops it.
    void playStopsOnSecondClickOrSelection() {
        const QString original = demoWax();
        WaxEditorWindow window(nullptr);
        m_Answers = {original};
        click(window, "open");
        auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("tree"));
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        click(window, "play");
        QVERIFY(window.playing());
        QVERIFY(window.preview().waxSelection().m_bShowAllFrames);
        click(window, "play");
        QVERIFY(!window.playing());
        click(window, "play");
        tree->setCurrentItem(tree->topLevelItem(0));
        QVERIFY(!window.playing());
        QVERIFY(!window.preview().waxSelection().m_bShowAllFrames);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::WaxEditorWindowTest)
#include "WaxEditorWindowTest.moc"
