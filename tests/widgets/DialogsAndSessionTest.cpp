#include "app/AppContext.h"
#include "app/AutosaveManager.h"
#include "app/CMainFrame.h"
#include "app/CMorviSheet.h"
#include "app/DesktopIntegration.h"
#include "app/LevelsDialog.h"
#include "app/MorviApplication.h"
#include "app/MorviDocument.h"
#include "app/SettingsStore.h"
#include "gamefiles/DocumentFile.h"
#include "gamefiles/LevelArchive.h"
#include "mapedit/FindSectorDialog.h"
#include "mapedit/GeneratorDialogs.h"
#include "mapedit/TransformDialogs.h"
#include "support/EngineView.h"
#include "support/LevelBuilders.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace morvi::ui {

namespace {

template <typename T = QWidget> T* Field(const QWidget& dialog, const char* name) {
    auto* field = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!field) qFatal("no control %s", name);
    return field;
}

// Replaces a field's text as the user would (number fields get keys typed), or sets a box "on"
// or "off".
void Type(QWidget* field, const QString& text) {
    if (auto* box = qobject_cast<QAbstractButton*>(field)) return box->setChecked(text == "on");
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->setText(text);
    auto* spin = qobject_cast<QAbstractSpinBox*>(field);
    spin->selectAll();
    QTest::keyClicks(spin, text);
}

// Presses OK while a watcher closes the message boxes; the texts shown, and whether it closed.
bool PressOk(QDialog& dialog, QStringList& messages) {
    dialog.show();
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    const testing::ModalWatcher watcher;
    dialog.accept();
    messages = watcher.messages();
    return accepted.count() == 1 && !dialog.isVisible();
}

QStringList FilesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A copy an earlier run left behind, of the sample level edited as the file /levels/old.mrv.
RecoveryEntry MakeLeftover(const QString& dir) {
    QDir().mkpath(dir);
    RecoveryEntry entry{dir + "/earlier.mrv", dir + "/earlier.ini", "/levels/old.mrv", {}};
    QFile::copy(testing::SampleDocumentPath(), entry.m_strCopyPath);
    QSettings note(entry.m_strSidecarPath, QSettings::IniFormat);
    note.setValue("Recovery/OriginalPath", entry.m_strOriginalPath);
    note.setValue("Recovery/Time", "2026-03-01T10:20:30.000Z");
    return entry;
}

} // namespace

class DialogsAndSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    // Each value typed into a field goes through OK: a value the edit cannot take is refused with
    // its message and the dialog stays open; the dialog hands back what it accepted.
    void okRefusesBadValuesAndHandsBackTheRest() {
        InsertPolygonDialog polygon(true);
        PassageDialog stairs(PassageKind::Staircase, PassageOptions{});
        PassageDialog door(PassageKind::Door, PassageOptions{});
        CylinderDialog cylinder;
        FlipRotateDialog flip;
        ScalingDialog scaling;
        ChangeOffsetsDialog offsets;
        DistributionDialog spread;
        AlignmentDialog align;
        const struct {
            QDialog* dialog;
            const char* field;
            QString typed;
            QString refusal;
        } rows[] = {
            {&polygon, "gap", "on", {}},
            {&polygon, "snap", "on", {}},
            {&polygon, "sides", "101", "Illegal number of Sides."},
            {&polygon, "sides", "7", {}},
            {&polygon, "radius", "12.5", {}},
            {&stairs, "steps", "1001", "Please enter an integer between 1 and 1000."},
            {&stairs, "steps", "1000", {}},
            {&stairs, "height", "2.25", {}},
            {&door, "splitFirst", "off", {}},
            {&door, "sunken", "on", {}},
            {&door, "height", "6.5", {}},
            {&cylinder, "innerRadius", "64", "The outer radius must be greater\nthan the inner radius."},
            {&cylinder, "innerRadius", "63.5", {}},
            {&cylinder, "angle", "90", {}},
            {&flip, "rotate", "on", {}},
            {&flip, "angle", "400", "Illegal Angle."},
            {&flip, "angle", "-90", {}},
            {&scaling, "scale", "0.05", QString::fromStdString(ValidateScale(0.05))},
            {&scaling, "scale", " 2.5 ", {}},
            {&scaling, "snap", "on", {}},
            {&offsets, "xOffset", "1.5", {}},
            {&offsets, "zOffset", "-8", {}},
            {&offsets, "yOffset", "up", "Please enter a number."},
            {&offsets, "yOffset", "-2.25", {}},
            {&spread, "both", "on", {}},
            {&spread, "light", "on", {}},
            {&align, "verticalTop", "on", {}},
            {&align, "horizontalBot", "on", {}},
        };
        for (const auto& row : rows) {
            const QString name =
                row.dialog->metaObject()->className() + QString(" ") + row.field + " " + row.typed;
            Type(Field(*row.dialog, row.field), row.typed);
            QStringList messages;
            QCOMPARE(PressOk(*row.dialog, messages), row.refusal.isEmpty());
            QVERIFY2(messages == (row.refusal.isEmpty() ? QStringList() : QStringList{row.refusal}),
                     qPrintable(name + ": " + messages.join('|')));
            QCOMPARE(row.dialog->isVisible(), !row.refusal.isEmpty());
            row.dialog->hide();
        }
        const PolygonOptions shape = polygon.options();
        QVERIFY(shape.m_nSides == 7 && shape.m_dRadius == 12.5 && shape.m_Kind == PolygonKind::Gap &&
                shape.m_bSnap);
        QVERIFY(stairs.options().m_nSteps == 1000 && stairs.options().m_dHeight == 2.25);
        const PassageOptions passage = door.options();
        QVERIFY(!passage.m_bSplitFirst && passage.m_bSplitSecond && passage.m_bSunken &&
                passage.m_dHeight == 6.5);
        QVERIFY(cylinder.options().m_nAngle == 90 && cylinder.options().m_dInnerRadius == 63.5);
        QVERIFY(flip.choice().m_Action == FlipRotateResult::Action::Rotate &&
                flip.choice().m_dAngle == -90.0);
        QVERIFY(scaling.choice().m_dScale == 2.5 && scaling.choice().m_bSnap);
        QVERIFY(offsets.choice().m_dX == 1.5 && offsets.choice().m_dY == -2.25 &&
                offsets.choice().m_dZ == -8.0);
        QVERIFY(spread.choice().m_Which == DistributeWhich::Both && spread.choice().m_bAltitudes &&
                spread.choice().m_bLight);
        const AlignmentOptions aligned = align.choice();
        QVERIFY(aligned.m_bVerticalTop && aligned.m_bHorizontalBottom && !aligned.m_bVerticalMid &&
                !aligned.m_bHorizontalTop);
    }

    // Ask hands back nothing when cancelled; a passage between linked walls is refused before any
    // dialog opens.
    void askRefusesOrReturnsNothingWhenCancelled() {
        const testing::ModalWatcher watcher;
        QVERIFY(!ScalingDialog::Ask(nullptr).has_value());
        morvi::testing::EngineView linked(kModeWall, morvi::testing::BuildTwoRooms);
        linked.Select({{0, 1, -1, -1}, {1, 3, -1, -1}});
        QVERIFY(!PassageDialog::AskFor(nullptr, linked.engine.Context(), PassageKind::Staircase).has_value());
        QCOMPARE(watcher.messages(), QStringList{kStaircaseBetweenLinked});
        QCOMPARE(watcher.seen(), 2);
    }

    // A value the sheet refuses keeps it open on its page and stores nothing; OK then stores the
    // paths, the switches, and the Level page's header as one undo step. An illegal path is said
    // and kept out; the switches are stored all the same.
    void optionsSheetStoresAllOrNothing() {
        QTemporaryDir cd, install;
        QDir(cd.path()).mkdir("dark");
        for (const QString& gob : {cd.filePath("dark/TEXTURES.GOB"), install.filePath("Sounds.gob")})
            QVERIFY(QFile(gob).open(QIODevice::WriteOnly));
        MorviDocument document;
        QVERIFY(document.open(testing::SampleDocumentPath(), {}).ok());
        CDataLevel& level = document.level();
        const QString texts = testing::LevelTexts(level);
        Settings settings;
        CMorviSheet sheet(settings, &document);
        Type(Field(sheet, "cdPath"), cd.path() + "/");
        Type(Field(sheet, "installPath"), install.path() + "/");
        Type(Field(sheet, "moveVertex"), "off");
        Type(Field(sheet, "infNative"), "on");
        Type(Field(sheet, "videoMode5"), "on");
        Field<QComboBox>(sheet, "levelName")->setEditText("TALAY");
        Type(Field(sheet, "author"), "A. Tester");
        Type(Field(sheet, "music"), "STALK-02.GMD");
        Type(Field(sheet, "parallaxHorizontal"), "512");
        Type(Field(sheet, "parallaxVertical"), "256.5");
        QSignalSpy changed(&AppContext::instance(), &AppContext::settingsChanged);
        const struct {
            const char* field;
            const char* typed;
            QString message;
            int page;
        } refusals[] = {{"frameRate", "fast", "Please enter an integer between 1 and 100.", 2},
                        {"parallaxVertical", "wide", "Please enter a number.", 1}};
        QStringList messages;
        for (const auto& r : refusals) {
            const QString typed = Field<QLineEdit>(sheet, r.field)->text();
            Type(Field(sheet, r.field), r.typed);
            QVERIFY2(!PressOk(sheet, messages), r.typed);
            QCOMPARE(messages, QStringList{r.message});
            QCOMPARE(sheet.tabs()->currentIndex(), r.page);
            QVERIFY(settings.m_bMoveVertex && changed.count() == 0 && !document.isModified());
            Type(Field(sheet, r.field), typed);
        }
        QVERIFY(PressOk(sheet, messages));
        QCOMPARE(messages, QStringList());
        QCOMPARE(QString::fromStdString(settings.m_strDFPath), cd.path() + "/dark");
        QCOMPARE(QString::fromStdString(settings.m_strInstall), install.path());
        QVERIFY(!settings.m_bMoveVertex && settings.m_bMoveObjects && !settings.m_bInfEditor);
        QVERIFY(settings.m_b3DGame && settings.m_n3DGameMode == 5);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(level.GetLevelName(), std::string("TALAY"));
        QVERIFY(level.FindMember("TALAY.LEV"));
        QVERIFY(level.m_Lev.m_strAuthor == "A. Tester" && level.m_Inf.m_strAuthor == "A. Tester");
        QCOMPARE(level.m_Lev.m_strMusic, std::string("STALK-02.GMD"));
        double p1 = 0, p2 = 0;
        level.GetParallax(p1, p2);
        QVERIFY(p1 == 512.0 && p2 == 256.5 && level.m_Inf.m_dParallax2 == 256.5);

        Type(Field(sheet, "cdPath"), install.path() + "/nothing");
        Type(Field(sheet, "show3DO"), "off");
        QVERIFY(PressOk(sheet, messages));
        QCOMPARE(messages, QStringList{"The path to the Dark Forces CD-ROM is illegal."});
        QCOMPARE(QString::fromStdString(settings.m_strDFPath), cd.path() + "/dark");
        QVERIFY(!settings.m_b3DO);
        QCOMPARE(document.history().UndoCount(), std::size_t{1});
        QVERIFY(document.undo());
        QCOMPARE(testing::LevelTexts(level), texts);
        QCOMPARE(level.GetLevelName(), std::string("SECBASE"));
    }

    // Choosing a sector on another layer makes that layer current and selects the sector, with one
    // update and one selection change.
    void findSectorGoesToTheChosenSector() {
        MorviDocument document;
        CDataLevel& level = document.level();
        morvi::testing::BuildTwoRooms(level);
        level.m_Lev.m_pSectors.push_back(morvi::testing::MakeSquareSector(level.m_Lev, 2, 0, 200, 64, 264));
        level.m_Lev.m_pSectors[0]->m_strName = "start";
        level.m_Lev.m_pSectors[2]->m_strName = "lift";
        level.m_Lev.m_pSectors[2]->m_nLayer = 3;
        Settings settings;
        CMapEngine engine(document.doc(), settings);
        engine.viewport().m_dScale = 512.0;
        engine.viewport().m_rcClient = {0, 0, 401, 301};
        engine.AddToSelection({0, -1, -1, -1});
        QSignalSpy updated(&document, &MorviDocument::updated);
        QSignalSpy selection(&document, &MorviDocument::selectionChanged);
        FindSectorDialog dialog(document, engine);
        // Sorted ("lift" before "start") and narrowed by the filter.
        dialog.filter()->setText("LI");
        QVERIFY(!dialog.list()->item(0)->isHidden() && dialog.list()->item(1)->isHidden());
        dialog.list()->setCurrentRow(0);
        dialog.accept();
        QCOMPARE(document.doc().m_nCurrentLayer, 3);
        QVERIFY(engine.selection() == (std::vector<CMapSelItem>{{2, -1, -1, -1}}));
        QVERIFY(engine.viewport().WorldToScreen(32, 232) == (ScreenPoint{200, 150}));
        QCOMPARE(updated.count(), 1);
        QCOMPARE(selection.count(), 1);
        QVERIFY(!document.history().CanUndo());
    }

    // A GOB with two levels asks which to open; closing the dialog opens the first.
    void twoLevelGobOpensTheChosenLevel() {
        CDataLevel first, second;
        const auto sample = std::filesystem::path(testing::SampleGobPath().toStdString());
        QVERIFY(LoadLevelFile(first, sample, {}).ok() && LoadLevelFile(second, sample, {}).ok());
        QVERIFY(second.RenameLevel("SECOND").ok());
        second.m_Lev.m_strMusic = "SECOND.GMD";
        RegenerateLevelMembers(second);
        for (const char* member : {"SECOND.LEV", "SECOND.O", "SECOND.INF"})
            QVERIFY(first.AddMember(member, second.FindMember(member)->data()).ok());
        QTemporaryDir dir;
        const QString path = dir.filePath("two.gob");
        QVERIFY(SaveLevelFile(first, path.toStdString()).ok());
        for (const bool choose : {true, false}) {
            QStringList offered;
            const testing::ModalWatcher watcher([&](QWidget* modal) {
                auto* dialog = qobject_cast<LevelsDialog*>(modal);
                for (int i = 0; i < dialog->list()->count(); ++i)
                    offered << dialog->list()->item(i)->text();
                if (!choose) return dialog->reject();
                dialog->list()->setCurrentRow(1);
                dialog->findChild<QPushButton*>()->click();
            });
            MorviDocument document;
            QVERIFY(document.open(path, MakeLevelChooser(nullptr)).ok());
            QCOMPARE(offered, (QStringList{"SECBASE", "SECOND"}));
            QCOMPARE(document.level().CurrentLevelName(), std::string(choose ? "SECOND" : "SECBASE"));
            QCOMPARE(document.level().m_Lev.m_strMusic == "SECOND.GMD", choose);
        }
    }

    // A modified document gets a copy in the recovery folder after the idle time, beside a leftover
    // that cannot be replaced; the user's file is untouched. Saving or closing removes the copy.
    void autosaveKeepsACopyAndLeavesTheUsersFile() {
        QTemporaryDir dir;
        const QString recovery = dir.filePath("recovery"), work = dir.filePath("work.mrv");
        QFile::setPermissions(MakeLeftover(recovery).m_strCopyPath, QFileDevice::ReadOwner);
        QVERIFY(QFile::copy(testing::SampleDocumentPath(), work));
        QFile::setPermissions(work, QFile::ReadOwner | QFile::WriteOwner);
        MorviDocument doc;
        QVERIFY(doc.open(work, {}));
        const QByteArray userFile = testing::FileBytes(work);
        AutosaveManager manager(nullptr, recovery);
        manager.setIdleInterval(200);
        manager.addDocument(&doc);
        QVERIFY(manager.autosaveNow(&doc));
        QCOMPARE(FilesIn(recovery).size(), 2); // an unmodified document needs no copy

        doc.level().m_Lev.m_pSectors.front()->m_nAmbient = 7;
        testing::MakeChange(doc);
        const QString copy = manager.copyPathFor(&doc);
        QVERIFY(!QFile::exists(copy));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 5000);
        QCOMPARE(manager.lastError(), QString());
        QCOMPARE(testing::FileBytes(work), userFile);
        QVERIFY(doc.isModified());
        CMorviDoc reread;
        QVERIFY(LoadDocument(reread, copy.toStdString(), {}));
        QCOMPARE(reread.level().m_Lev.m_pSectors.front()->m_nAmbient, 7);
        const QList<RecoveryEntry> pending = PendingRecoveries(recovery);
        QCOMPARE(pending.size(), 2);
        QCOMPARE(pending.back().m_strOriginalPath, work); // the leftover comes first

        QVERIFY(doc.save());
        QCOMPARE(FilesIn(recovery), (QStringList{"earlier.ini", "earlier.mrv"}));
        testing::MakeChange(doc);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 5000);
        manager.removeDocument(&doc);
        QCOMPARE(FilesIn(recovery), (QStringList{"earlier.ini", "earlier.mrv"}));
    }

    // After a crash the next start offers each copy: Yes opens it as the original, modified, and
    // forgets it; No keeps it for next time; Discard removes it. A copy without its note is not offered.
    void recoveryOffersTheLeftoverCopies() {
        QTemporaryDir dir;
        const QString recovery = dir.filePath("recovery");
        for (const auto answer : {QMessageBox::No, QMessageBox::Discard, QMessageBox::Yes}) {
            MakeLeftover(recovery);
            const testing::ModalWatcher answering(
                [&](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(answer)->click(); });
            MorviDocument doc;
            int opened = 0;
            OfferRecovery(
                nullptr, [&](const RecoveryEntry& entry) { opened += RestoreRecovery(doc, entry).ok(); },
                recovery);
            QVERIFY(answering.messages().value(0).startsWith(
                "Morvi was not closed properly. A recovered copy of /levels/old.mrv from "));
            QCOMPARE(opened, answer == QMessageBox::Yes ? 1 : 0);
            QCOMPARE(PendingRecoveries(recovery).size(), answer == QMessageBox::No ? 1 : 0);
            if (answer != QMessageBox::Yes) continue;
            QCOMPARE(doc.path(), QString("/levels/old.mrv"));
            QVERIFY(doc.isModified());
        }
        QCOMPARE(FilesIn(recovery), QStringList());
        QFile::remove(MakeLeftover(recovery).m_strSidecarPath);
        QVERIFY(PendingRecoveries(recovery).isEmpty());
    }

    // The document named on the command line is open before the About box shows, which closes
    // itself; --demo lends the demo archives for the run without writing them into the profile.
    void startUpRunsInOrderAndDemoPathsAreNotKept() {
        QCOMPARE(ParseStartOptions({"morvi", "--nonsense"}).m_strError, QString("Unknown option --nonsense"));
        QSettings& profile = AppContext::instance().profile();
        profile.setValue("Tip/StartUp", 1);
        MorviApplication application(ParseStartOptions({"morvi", "--demo", testing::SampleDocumentPath()}));
        application.startUp();
        QCOMPARE(application.startUpLog(), (QStringList{"settings", "desktop entry", "main frame", "show",
                                                        "open sample.mrv", "about", "recovery"}));
        QCOMPARE(application.frame().documentCount(), std::size_t{1});
        const Settings& settings = AppContext::instance().settings();
        QVERIFY(QFileInfo::exists(QString::fromStdString(settings.m_strDFPath) + "/textures.gob"));
        QVERIFY(QFileInfo::exists(QString::fromStdString(settings.m_strInstall) + "/sounds.gob"));
        QVERIFY(application.frame().closeAllDocuments());
        application.shutDown();
        QCOMPARE(profile.value("Preferences/DFPath").toString(), QString());
        QVERIFY(profile.contains("Preferences/MoveObjects"));
    }

    // Settings are kept under their names; a missing one reads as the default, not as what was there.
    void settingsRoundTripUnderTheirNames() {
        QTemporaryDir dir;
        QSettings profile(dir.filePath("morvi.ini"), QSettings::IniFormat);
        Settings written, read;
        written.m_strDFPath = "/games/df/dark";
        written.m_bMoveVertex = false;
        written.m_n3DGameMode = 4;
        SaveSettings(profile, written);
        QCOMPARE(profile.value("Preferences/DFPath").toString(), QString("/games/df/dark"));
        profile.remove("Preferences/3DGameRate");
        read.m_n3DGameRate = 7;
        LoadSettings(profile, read);
        QVERIFY(read.m_strDFPath == written.m_strDFPath && !read.m_bMoveVertex && read.m_n3DGameMode == 4);
        QCOMPARE(read.m_n3DGameRate, 33);
    }

    // The first start writes the user's own desktop entry only when no package installed one; the
    // user's entry itself does not count as the system's.
    void desktopEntryOnlyWithoutASystemOne() {
        QVERIFY(DesktopEntryText("/opt/My Tools/morvi").contains("\nExec=\"/opt/My Tools/morvi\" %f\n"));
        QTemporaryDir system;
        const QByteArray saved = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", system.path().toLocal8Bit());
        QString error;
        QVERIFY2(InstallDesktopIntegration("/opt/morvi/bin/morvi", &error), qPrintable(error));
        const bool userOnly = SystemHasDesktopEntry();
        QVERIFY2(WriteDesktopFiles(system.path(), "morvi", &error), qPrintable(error));
        const bool withPackage = SystemHasDesktopEntry();
        qputenv("XDG_DATA_DIRS", saved);
        QCOMPARE(std::pair(userOnly, withPackage), std::pair(false, true));
        QVERIFY(QFileInfo(system.filePath("icons/hicolor/scalable/apps/morvi.svg")).size() > 0);
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::DialogsAndSessionTest)
#include "DialogsAndSessionTest.moc"
