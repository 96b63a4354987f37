#include "resources/ResourcePicker.h"
#include "app/AppContext.h"
#include "app/AppPaths.h"
#include "app/GamePaths.h"
#include "app/MorviDocument.h"
#include "model/CDataLevel.h"
#include "resources/BitmapWindow.h"
#include "resources/IndexedImage.h"
#include "resources/QtSoundOutput.h"
#include "resources/ResourcePreview.h"
#include "support/ModalWatcher.h"
#include "support/WidgetTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace morvi::ui {

namespace {

QStringList Rows(const CResourcePicker& picker) {
    QStringList rows;
    const QAbstractItemModel* model = picker.listView()->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows.push_back(model->index(r, 0).data().toString());
    return rows;
}

// Whether the row's thumbnail came: the empty picture shown until then is transparent throughout.
bool ThumbnailArrived(const QModelIndex& row) {
    const QImage thumbnail = qvariant_cast<QPixmap>(row.data(Qt::DecorationRole)).toImage();
    return !thumbnail.isNull() && qAlpha(thumbnail.pixel(thumbnail.rect().center())) != 0;
}

QPushButton* ButtonOf(const CResourcePicker& picker, const char* name) {
    return picker.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

// The picker over the demo archives and the sample level.
class ResourcePickerTest : public QObject {
    Q_OBJECT
private:
    MorviDocument m_Document;

private slots:
    void initTestCase() {
        testing::InitWidgetTests();
        UseDemoPaths(AppContext::instance().settings(), DemoDir().toStdString());
        QVERIFY(m_Document.open(testing::SampleDocumentPath(), {}).ok());
        // A member of the level's own that no decoder can read.
        QVERIFY(m_Document.level().AddMember("ZBROKEN.BM", std::vector<std::uint8_t>{1, 2, 3}).ok());
    }

    // The current name is selected, with the level's textures listed first; the filter narrows
    // the list and moves the selection to the first name shown when it hides the current one;
    // "&Ok" hands the name and target back.
    void listsFiltersAndPicks() {
        CResourcePicker picker(m_Document);
        picker.retarget(".BM", "IWMETAL2.BM", 2);
        QCOMPARE(picker.currentName(), QString("iwmetal2.bm"));
        const QStringList all = Rows(picker);
        std::set<QString> used;
        for (const CDataNameEntry& texture : m_Document.level().m_Lev.m_Textures)
            used.insert(QString::fromStdString(texture.m_strName).toLower());
        qsizetype usedRows = 0;
        while (usedRows < all.size() && used.contains(all[usedRows]))
            ++usedRows;
        QVERIFY(usedRows > 0);
        for (qsizetype r = usedRows; r < all.size(); ++r)
            QVERIFY2(!used.contains(all[r]), qPrintable(all[r]));

        const struct {
            QString filter;
            QString selected;
        } rows[] = {{"METAL", "iwmetal2.bm"}, {"3", "if3.bm"}};
        for (const auto& row : rows) {
            picker.filterBox()->clear();
            QTest::keyClicks(picker.filterBox(), row.filter);
            const QStringList shown = Rows(picker);
            QVERIFY(!shown.isEmpty() && shown.size() < all.size());
            for (const QString& name : shown)
                QVERIFY2(name.contains(row.filter, Qt::CaseInsensitive), qPrintable(name));
            QCOMPARE(picker.currentName(), row.selected);
        }
        QSignalSpy picked(&picker, &CResourcePicker::picked);
        ButtonOf(picker, "ok")->click();
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.front(), QVariantList({2, QString("if3.bm"), QString()}));
        QVERIFY(!picker.isVisible());
    }

    // "Sprites" lists the sprite archive's waxes; thumbnails arrive from the worker, also for a
    // member that cannot be decoded, and retargeting or closing with work pending is safe.
    void classesAndThumbnails() {
        auto picker = std::make_unique<CResourcePicker>(m_Document);
        picker->retarget(".bm", "zbroken.bm", 0);
        QCOMPARE(picker->currentName(), QString("zbroken.bm"));
        QVERIFY(!ButtonOf(*picker, "save")->isEnabled());
        picker->findChild<QCheckBox*>("thumbnails")->setChecked(true);
        const QModelIndex broken = picker->listView()->currentIndex();
        QTRY_VERIFY(ThumbnailArrived(broken));

        auto* classBox = picker->findChild<QComboBox*>("class");
        classBox->setCurrentIndex(classBox->findText("Sprites"));
        QCOMPARE(picker->classText(), QString("Sprite"));
        const QStringList waxes = Rows(*picker);
        QVERIFY(waxes.size() > 5);
        for (const QString& name : waxes)
            QVERIFY2(name.endsWith(".wax"), qPrintable(name));
        QTRY_VERIFY(ThumbnailArrived(picker->listView()->model()->index(0, 0)));
        picker->retarget(".fme", "", 1);
        picker.reset();
    }

    // Save as a 256-colour BMP writes the picture shown, at the size the title gives.
    void savesTheShownPictureAsBmp() {
        CResourcePicker picker(m_Document);
        picker.retarget(".bm", "iwmetal2.bm", 0);
        QTemporaryDir dir;
        const QString path = dir.filePath("metal.bmp");
        const testing::ModalWatcher answer([&](QWidget* modal) {
            qobject_cast<QFileDialog*>(modal)->selectFile(path);
            QMetaObject::invokeMethod(modal, "accept");
        });
        ButtonOf(picker, "save")->click();
        QCOMPARE(answer.messages(), QStringList());
        const QByteArray bytes = testing::FileBytes(path);
        IndexedImage read;
        QVERIFY(read.ReadBmp({reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())},
                             "metal.bmp")
                    .ok());
        QVERIFY2(picker.windowTitle().endsWith(QString("= %1 x %2").arg(read.width()).arg(read.height())),
                 qPrintable(picker.windowTitle()));
    }

    // The preview window's place: unset, the first one is centred on its owner, an eighth of the
    // screen's width a side; where the user puts it is stored, and the next one opens there.
    void previewWindowKeepsItsPlace() {
        Settings& settings = AppContext::instance().settings();
        settings.m_nBitmapLeft = -1;
        QWidget owner;
        owner.setGeometry(100, 120, 800, 600);
        CBitmapWnd first(m_Document, &owner);
        const int side = owner.screen()->geometry().width() / 8;
        QCOMPARE(first.geometry().size(), QSize(side, side));
        QCOMPARE(first.geometry().center(), owner.frameGeometry().center());
        first.showResource(".WAX", "stormfin.wax");
        QCOMPARE(first.windowTitle(), QString("Morvi Bitmap: stormfin.wax"));
        QVERIFY(!first.preview().frames().empty());
        first.show();
        const QRect chosen(40, 50, side + 30, side + 10);
        first.setGeometry(chosen);
        QTRY_COMPARE(QRect(QPoint(settings.m_nBitmapLeft, settings.m_nBitmapTop),
                           QPoint(settings.m_nBitmapRight - 1, settings.m_nBitmapBottom - 1)),
                     chosen);
        CBitmapWnd second(m_Document, &owner);
        QCOMPARE(second.geometry(), chosen);
    }

    // Without an audio device (as on the test machines) choosing, playing and stopping sounds shows
    // no message box, prints nothing (looking for the device included); textures show as before.
    void soundsWithoutADeviceAreSilent() {
        testing::ModalWatcher watcher;
        CResourcePicker picker(m_Document);
        picker.retarget(".bm", "", 1); // the test platform's notes on showing windows come first
        static QStringList printed;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& m) { printed << m; });
        if (!QtSoundOutput::DefaultDevice().isNull()) {
            qInstallMessageHandler(previous);
            QSKIP("This machine has an audio device.");
        }
        auto* classBox = picker.findChild<QComboBox*>("class");
        classBox->setCurrentIndex(classBox->findText("Sounds"));
        for (int row = 0; row < 3; ++row) {
            picker.listView()->setCurrentIndex(picker.listView()->model()->index(row, 0));
            ButtonOf(picker, "play")->click();
            QTest::mouseClick(picker.findChild<QWidget*>("preview"), Qt::LeftButton);
        }
        QTest::qWait(100);
        qInstallMessageHandler(previous);
        QVERIFY2(printed.isEmpty(), qPrintable(printed.join("\n")));
        QCOMPARE(watcher.seen(), 0);
        QCOMPARE(AppContext::instance().sounds().SoundCount(), 0u);
        classBox->setCurrentIndex(classBox->findText("Textures"));
        QVERIFY(ButtonOf(picker, "save")->isEnabled());
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::ResourcePickerTest)
#include "ResourcePickerTest.moc"
