#include "resources/FilmManagerWindow.h"
#include "app/FileDialogs.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>

namespace morvi::ui {

// A FILM Manager whose file questions are answered from a list of paths.
class FilmManagerWindowTest : public QObject {
    Q_OBJECT
private:
    QPointer<FilmManagerWindow> m_pWindow;
    QTemporaryDir m_Dir;
    QStringList m_Answers;

    template <typename T> T& child(const QString& name) { return *m_pWindow->findChild<T*>(name); }
    QString path(const char* name) const { return m_Dir.filePath(QString::fromLatin1(name)); }

    void click(const char* name, const QString& answer = QString()) {
        if (!answer.isEmpty()) m_Answers << answer;
        child<QPushButton>(QString::fromLatin1(name)).click();
        QCOMPARE(m_Answers.size(), 0);
    }
    void choose(const char* list, int row) {
        auto& tree = child<QTreeWidget>(QString::fromLatin1(list));
        tree.setCurrentItem(tree.topLevelItem(row));
    }
    // A list's rows as text: cells joined by blanks, rows by "|".
    QString rows(const char* list) {
        const auto& tree = child<QTreeWidget>(QString::fromLatin1(list));
        QStringList rows;
        for (int r = 0; r < tree.topLevelItemCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < tree.columnCount(); ++c)
                cells << tree.topLevelItem(r)->text(c);
            rows << cells.join(QLatin1Char(' ')).trimmed();
        }
        return rows.join(QLatin1Char('|'));
    }
    void type(int n, const char* text) {
        auto& edit = child<QLineEdit>(QStringLiteral("p%1").arg(n));
        QTest::keyClicks(&edit, QString::fromLatin1(text));
        QTest::keyClick(&edit, Qt::Key_Return);
    }

private slots:
    void initTestCase() {
        testing::InitWidgetTests();
        SetFileAnswerer([this](const FileQuestion&) {
            return m_Answers.isEmpty() ? QStringList() : QStringList{m_Answers.takeFirst()};
        });
    }
    void init() { m_pWindow = OpenFilmManager(nullptr); }
    void cleanup() { delete m_pWindow; }

    // Open a film our own writer made, add a resource block and a CUST block, edit a command,
    // delete a row and a block, save, open again. A value outside 16 bits and a damaged file are
    // refused with a message and change nothing.
    void editsSaveAndOpenAgain() {
        FilmFile film = MakeNewFilm();
        film.m_Blocks.push_back(MakeCustomFilmBlock());
        QVERIFY(WriteFilmFile(film, path("scene.flm").toStdString()).ok());
        click("open", path("scene.flm"));
        click("add", path("BigCity.anm"));
        choose("commands", 0);
        click("new");
        choose("commands", 1);
        auto& name = child<QComboBox>(QStringLiteral("command"));
        name.setCurrentIndex(name.findText(QStringLiteral("SWITCH")));
        type(1, "-1");
        type(2, "7");
        const testing::ModalWatcher watcher([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) return box->done(QMessageBox::Ok);
            modal->findChild<QRadioButton*>(QStringLiteral("cust"))->setChecked(true);
            qobject_cast<QDialog*>(modal)->accept();
        });
        type(3, "70000");
        QCOMPARE(child<QLineEdit>(QStringLiteral("p3")).text() + rows("commands"),
                 QStringLiteral("END|SWITCH -1 7"));
        choose("commands", 0);
        click("delete");
        choose("blocks", 0);
        click("delete");
        click("new");
        click("saveAs", path("edited.flm"));

        delete m_pWindow;
        m_pWindow = OpenFilmManager(nullptr);
        click("open", path("edited.flm"));
        choose("blocks", 1);
        std::ofstream(path("bad.flm").toStdString()) << "FILM";
        click("open", path("bad.flm"));
        const QStringList refusals{
            QStringLiteral("Command 2, P3: \"70000\" is not a number from -32768 to 65535."),
            path("bad.flm") + ": the file is too short for a film (4 bytes, the header alone takes 6)."};
        QCOMPARE(watcher.messages(), refusals);
        QCOMPARE(m_pWindow->windowTitle(), QStringLiteral("FLM Manager - edited.flm"));
        QCOMPARE(rows("blocks") + "/" + rows("commands"),
                 QStringLiteral("CUST custom|ANIM bigcity|CUST custom/SWITCH -1 7"));
    }

    // A new film saved at once is the new film (its bytes are pinned by hand in the film file's own
    // tests). Closing with changes asks: Cancel keeps the window open, Yes saves and closes.
    void newFilmSavedAndClosingAsksAboutChanges() {
        click("saveAs", path("new.flm"));
        std::vector<std::uint8_t> bytes;
        QVERIFY(WriteFilm(MakeNewFilm(), bytes).ok());
        QCOMPARE(testing::FileBytes(path("new.flm")),
                 QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        QCOMPARE(m_pWindow->windowTitle(), QStringLiteral("FLM Manager - new.flm"));
        click("add", path("dunes.voc"));
        QStringList asked;
        QMessageBox::StandardButton answer = QMessageBox::Cancel;
        const testing::ModalWatcher watcher([&](QWidget* modal) {
            asked << qobject_cast<QMessageBox*>(modal)->text();
            qobject_cast<QMessageBox*>(modal)->button(answer)->click();
        });
        click("close");
        QVERIFY(m_pWindow->isVisible());
        answer = QMessageBox::Yes;
        click("close");
        QCOMPARE(asked, QStringList(2, QStringLiteral("Save changes to new.flm?")));
        QVERIFY(!m_pWindow || !m_pWindow->isVisible());
        QVERIFY(testing::FileBytes(path("new.flm")).contains("VOICdunes"));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::FilmManagerWindowTest)
#include "FilmManagerWindowTest.moc"
