#include "resources/ArchiveManagerWindow.h"

#include "app/FileDialogs.h"
#include "gamefiles/GobArchive.h"
#include "resources/LfdArchive.h"
#include "resources/ResourcePreview.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

namespace morvi::ui {

namespace {

QString Demo(const char* name) {
    return QStringLiteral(MORVI_SHARE_DIR "/demo/") + QLatin1String(name);
}

void Click(QWidget& window, const char* name) {
    window.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

// Selects the rows of these member names (the list may be sorted or filtered).
void Select(ArchiveManagerWindow& window, const QStringList& names) {
    QTreeView* list = window.list();
    list->clearSelection();
    const int column = window.archive().kind() == ArchiveKind::Lfd ? 1 : 0;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (names.contains(list->model()->index(row, column).data().toString()))
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class ArchiveManagerWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_Dir;
    QStringList m_Answers;

    QString path(const char* name) const { return m_Dir.filePath(QLatin1String(name)); }
    QString write(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void initTestCase() {
        testing::InitWidgetTests();
        // Every file question takes the next answer.
        SetFileAnswerer([this](const FileQuestion&) {
            return m_Answers.isEmpty() ? QStringList() : QStringList{m_Answers.takeFirst()};
        });
    }

    // The demo textures: opened, filtered, a texture previewed, one member saved as a file, two
    // files added and a member deleted; the saved archive holds exactly that, and closing after a
    // further change asks first.
    void gobManagerEditsAndSaves() {
        ArchiveManagerWindow window(ArchiveKind::Gob, nullptr);
        window.show();
        QVERIFY(window.openArchive(Demo("textures.gob")));
        GobArchive expected;
        QVERIFY(ReadGobFile(Demo("textures.gob").toStdString(), expected).ok());
        QCOMPARE(window.list()->model()->rowCount(), static_cast<int>(expected.m_pMembers.size()));
        QVERIFY(window.windowTitle().endsWith(QStringLiteral(" - textures.gob")));

        window.findChild<QLineEdit*>(QStringLiteral("filter"))->setText(QStringLiteral("brick"));
        QVERIFY(window.list()->model()->rowCount() < static_cast<int>(expected.m_pMembers.size()));
        Select(window, {QStringLiteral("RWBRICK1.BM")});
        QVERIFY(!window.preview().frames().empty());
        m_Answers = {path("brick.bm")};
        Click(window, "saveAs");
        const CDataGobEntry* brick = expected.FindMember("RWBRICK1.BM");
        QCOMPARE(testing::FileBytes(path("brick.bm")),
                 QByteArray(reinterpret_cast<const char*>(brick->data().data()), brick->data().size()));

        {
            // The name too long for a GOB is refused with one message; the others are added.
            const testing::ModalWatcher refused(
                [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
            window.addFiles(
                {write("new.voc", "voc"), write("waytoolongname.bm", "x"), write("x.vue", "vue")});
            QCOMPARE(refused.seen(), 1);
        }
        QCOMPARE(window.archive().members().size(), expected.m_pMembers.size() + 2);
        window.findChild<QLineEdit*>(QStringLiteral("filter"))->clear();
        Select(window, {QStringLiteral("RWBRICK1.BM"), QStringLiteral("X.VUE")});
        Click(window, "delete");
        QVERIFY(expected.RemoveMember("RWBRICK1.BM"));
        QVERIFY(expected.AddMember("NEW.VOC", std::vector<std::uint8_t>{'v', 'o', 'c'}).ok());
        window.list()->clearSelection();
        m_Answers = {path("out.gob")};
        Click(window, "saveAs");
        std::vector<std::uint8_t> bytes;
        QVERIFY(WriteGob(expected, bytes).ok());
        QCOMPARE(testing::FileBytes(path("out.gob")), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                                 static_cast<qsizetype>(bytes.size())));
        QVERIFY(!window.archive().modified());

        // Members dragged out become files of their bytes; files dropped in are added, except
        // those just dragged out of this list.
        auto* model = qobject_cast<ArchiveMemberModel*>(window.list()->model());
        std::unique_ptr<QMimeData> dragged(model->mimeData({model->index(0, 0)}));
        QCOMPARE(dragged->urls().size(), 1);
        const CDataGobEntry* first = expected.m_pMembers.front().get();
        QCOMPARE(testing::FileBytes(dragged->urls().front().toLocalFile()),
                 QByteArray(reinterpret_cast<const char*>(first->data().data()), first->data().size()));
        QVERIFY(!model->dropMimeData(dragged.get(), Qt::CopyAction, -1, -1, {}));
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(path("x.vue"))});
        QVERIFY(model->dropMimeData(&dropped, Qt::CopyAction, -1, -1, {}));
        QCOMPARE(window.archive().members().back().m_strName, std::string("X.VUE"));
        // Close asks first: Cancel keeps the window; with the window's close button, No closes it
        // without saving, asked once.
        for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::No}) {
            const testing::ModalWatcher watcher([answer](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(answer)->click();
            });
            if (answer == QMessageBox::Cancel)
                window.reject();
            else
                QVERIFY(window.close());
            QCOMPARE(watcher.seen(), 1);
            QCOMPARE(window.isVisible(), answer == QMessageBox::Cancel);
        }
    }

    // The demo briefing: a PLTT member shows its palette over the level's, which then colours the
    // DELT pictures; the ANIM shows its pictures; two members saved into a folder; one of them
    // added back and another deleted, the archive saved and read again.
    void lfdManagerPreviewsAndSavesMembers() {
        ArchiveManagerWindow window(ArchiveKind::Lfd, nullptr);
        window.show();
        QVERIFY(window.openArchive(Demo("briefing.lfd")));
        Select(window, {QStringLiteral("brief")});
        QCOMPARE(window.preview().frames().size(), std::size_t{1});
        const GamePalette shown = window.preview().palette();
        Select(window, {QStringLiteral("title")});
        QCOMPARE(window.preview().frames().size(), std::size_t{1});
        const DisplayColours colours = shown.AllDisplayColours();
        const std::span<const std::uint32_t> used = window.preview().frames()[0].m_Image.displayColours();
        QVERIFY(std::equal(used.begin(), used.end(), colours.begin(), colours.end()));
        Select(window, {QStringLiteral("spin")});
        QVERIFY(window.preview().frames().size() > 1);

        QDir(m_Dir.path()).mkdir(QStringLiteral("members"));
        m_Answers = {path("members")};
        Select(window, {QStringLiteral("title"), QStringLiteral("spin")});
        Click(window, "saveAs");
        LfdArchive lfd;
        QVERIFY(lfd.ReadFile(Demo("briefing.lfd").toStdString()).ok());
        for (const LfdMember& member : lfd.members()) {
            const QString file =
                path("members") + QLatin1Char('/') + QString::fromStdString(member.m_strName);
            if (member.m_strName == "title")
                QCOMPARE(testing::FileBytes(file + ".dlt").size(), static_cast<qsizetype>(member.size()));
            if (member.m_strName == "spin")
                QCOMPARE(testing::FileBytes(file + ".anm").size(), static_cast<qsizetype>(member.size()));
        }
        QCOMPARE(QDir(path("members")).entryList(QDir::Files).size(), 2);

        // A saved member added back, the two named "brief" deleted, the archive saved over a copy and
        // reopened.
        window.addFiles({path("members") + QStringLiteral("/title.dlt")});
        Select(window, {QStringLiteral("brief")});
        Click(window, "delete");
        QFile::copy(Demo("briefing.lfd"), path("copy.lfd"));
        QVERIFY(window.saveArchive(path("copy.lfd")));
        QVERIFY(lfd.DeleteMember(4) && lfd.DeleteMember(0)); // the PLTT and the FILM named brief
        QVERIFY(lfd.AddMember("DELT", "title", lfd.members()[0].m_Data).ok());
        const std::vector<std::uint8_t> expected = lfd.Write();
        QCOMPARE(testing::FileBytes(path("copy.lfd")),
                 QByteArray(reinterpret_cast<const char*>(expected.data()),
                            static_cast<qsizetype>(expected.size())));
        QVERIFY(window.openArchive(path("copy.lfd")));
        QCOMPARE(window.archive().members().size(), lfd.members().size());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::ArchiveManagerWindowTest)
#include "ArchiveManagerWindowTest.moc"
