#include "app/MorviDocument.h"
#include "mapedit/CMapEngine.h"
#include "mapedit/MapPrinter.h"
#include "support/WidgetTestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace morvi::ui {

namespace {

QRgb RgbOf(std::uint32_t bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// What a view's state looks like from outside, to see that an export or a print put it back.
struct ViewState {
    int m_nZoom;
    int m_nGridLevel;
    double m_dScrollX;
    double m_dScrollZ;
    ClientRect m_rcClient;
    double m_dScale;
    bool operator==(const ViewState&) const = default;
};

ViewState StateOf(CMapEngine& engine) {
    const CMorviDoc& doc = engine.document();
    return {doc.m_nZoom,
            doc.m_nGridLevel,
            doc.m_dScrollX,
            doc.m_dScrollZ,
            engine.viewport().m_rcClient,
            engine.viewport().m_dScale};
}

} // namespace

class MapOutputTest : public QObject {
    Q_OBJECT
private:
    Settings m_Settings;
    std::unique_ptr<MorviDocument> m_pDocument;
    std::unique_ptr<CMapEngine> m_pEngine;
    QTemporaryDir m_Dir;

private slots:
    void initTestCase() { testing::InitWidgetTests(); }

    // The sample level in a 640 x 480 view, fitted as on opening, with its layer current.
    void init() {
        m_pDocument = std::make_unique<MorviDocument>();
        QVERIFY(m_pDocument->open(testing::SampleDocumentPath(), {}));
        m_pEngine = std::make_unique<CMapEngine>(m_pDocument->doc(), m_Settings);
        const ClientRect client{0, 0, 640, 480};
        m_pEngine->viewport().RecalcLayout(ScreenMapDevice(), client);
        m_pEngine->viewport().ZoomNormalize(ScreenMapDevice(), client);
        m_pEngine->viewport().RecalcLayout(ScreenMapDevice(), client);
        m_pDocument->doc().m_nCurrentLayer = m_pDocument->level().m_Lev.m_pSectors.front()->m_nLayer;
    }

    void cleanup() {
        m_pEngine.reset();
        m_pDocument.reset();
    }

    void pngShowsTheWallsOnBlack() {
        const QString path = m_Dir.filePath("map.png");
        const ViewState before = StateOf(*m_pEngine);
        QString error;
        QVERIFY2(ExportMapImage(*m_pEngine, path, QSize(800, 600), &error), qPrintable(error));
        QVERIFY(StateOf(*m_pEngine) == before);

        QImage image(path);
        QCOMPARE(image.size(), QSize(800, 600));
        QCOMPARE(image.pixel(0, 0) & 0xFFFFFF, 0u);
        QCOMPARE(image.pixel(799, 599) & 0xFFFFFF, 0u);
        // Every wall of the current layer has a colour of its own; pixels of those colours must be
        // there, and no grid dots (the export leaves the grid out).
        QSet<QRgb> wallColours;
        const auto& sectors = m_pDocument->level().m_Lev.m_pSectors;
        for (int s = 0; s < static_cast<int>(sectors.size()); ++s) {
            if (sectors[s]->m_nLayer != m_pDocument->doc().m_nCurrentLayer) continue;
            for (int w = 0; w < static_cast<int>(sectors[s]->m_pWalls.size()); ++w)
                wallColours.insert(RgbOf(m_pEngine->drawing().WallColour(s, w)) & 0xFFFFFF);
        }
        int wallPixels = 0;
        int blackPixels = 0;
        int gridPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb rgb = image.pixel(x, y) & 0xFFFFFF;
                wallPixels += wallColours.contains(rgb);
                blackPixels += rgb == 0;
                gridPixels += rgb == (RgbOf(MapColour::kGridDot) & 0xFFFFFF);
            }
        }
        QVERIFY2(wallPixels > 500, qPrintable(QString::number(wallPixels)));
        QVERIFY(blackPixels > image.width() * image.height() / 4);
        QCOMPARE(gridPixels, 0);
    }

    void svgIsXmlWithLines() {
        const QString path = m_Dir.filePath("map.svg");
        QString error;
        QVERIFY2(ExportMapImage(*m_pEngine, path, QSize(640, 480), &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString root;
        int lines = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (root.isEmpty()) root = xml.name().toString();
            const QString name = xml.name().toString();
            lines += name == QLatin1String("line") || name == QLatin1String("polyline");
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(root, QString("svg"));
        QVERIFY2(lines > 10, qPrintable(QString::number(lines)));
    }

    void printingWritesAPdfAndRestoresTheView() {
        const QString path = m_Dir.filePath("map.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        m_pDocument->doc().m_nZoom = 3;
        m_pDocument->doc().m_dScrollX = 512;
        m_pEngine->viewport().RecalcLayout(ScreenMapDevice(), ClientRect{0, 0, 640, 480});
        const ViewState before = StateOf(*m_pEngine);
        QVERIFY(PrintMap(*m_pEngine, printer));
        QVERIFY(StateOf(*m_pEngine) == before);
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.size() > 1000);
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    void printingToAnUnwritablePdfFails() {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_Dir.filePath("no such folder/map.pdf"));
        QVERIFY(!PrintMap(*m_pEngine, printer));
    }

    void exportIntoAReadOnlyFolderFailsAndLeavesNothing() {
        const QString folder = m_Dir.filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QString target = folder + "/map.png";
        // The super-user writes into any folder; for it a "folder" that is a plain file stands in.
        QFile probe(folder + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QFile plain(m_Dir.filePath("plain"));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            target = m_Dir.filePath("plain/map.png");
        }
        for (const QString& suffix : {QString("png"), QString("svg")}) {
            const QString path = target.left(target.size() - 3) + suffix;
            QString error;
            QVERIFY(!ExportMapImage(*m_pEngine, path, QSize(320, 240), &error));
            QVERIFY2(error.contains(path), qPrintable(error));
            QVERIFY(!QFile::exists(path));
        }
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void unknownSuffixOrSizeIsRefused() {
        QString error;
        const QString bmp = m_Dir.filePath("map.bmp");
        QVERIFY(!ExportMapImage(*m_pEngine, bmp, QSize(320, 240), &error));
        QVERIFY(error.contains(".png") && error.contains(".svg"));
        QVERIFY(!QFile::exists(bmp));
        const QString huge = m_Dir.filePath("huge.png");
        QVERIFY(!ExportMapImage(*m_pEngine, huge, QSize(100000, 100000), &error));
        QVERIFY(error.contains("100000"));
        QVERIFY(!QFile::exists(huge));
    }
};

} // namespace morvi::ui

QTEST_MAIN(morvi::ui::MapOutputTest)
#include "MapOutputTest.moc"
