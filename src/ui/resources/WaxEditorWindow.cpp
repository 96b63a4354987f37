#include "resources/WaxEditorWindow.h"

#include "app/AppContext.h"
#include "app/DialogKit.h"
#include "app/FileDialogs.h"
#include "app/LongTask.h"
#include "model/CDataGobEntry.h"
#include "resources/LevelPalette.h"
#include "resources/LfdArchive.h"
#include "resources/PlttPalette.h"
#include "resources/ResourceImage.h"
#include "resources/ResourcePreview.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace morvi::ui {

namespace {

constexpr std::string_view kOpenFilter = "WAX Files (*.wax)|*.wax|BM Files (*.bm)|*.bm|"
                                         "FME Files (*.fme)|*.fme|ANIM Files (*.anm)|*.anm|"
                                         "DELT Files (*.dlt)|*.dlt|PLTT Files (*.plt)|*.plt||";
constexpr std::string_view kSaveFilter = "WAX Files (*.wax)|*.wax|BM Files (*.bm)|*.bm|"
                                         "FME Files (*.fme)|*.fme|ANIM Files (*.anm)|*.anm|"
                                         "DELT Files (*.dlt)|*.dlt||";
constexpr std::string_view kBmpFilter = "256 Color Bitmaps (*.bmp)|*.bmp|PNG Pictures (*.png)|*.png||";
constexpr std::string_view kMapFilter = "MAP Files (*.map)|*.map||";
// No picture file comes near this size; the limit keeps a stray huge file out of memory.
constexpr std::uint64_t kMaxOpenBytes = 64u << 20;

std::filesystem::path PathOf(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QString Extension(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

const SpriteTreeNode* NodeOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<const SpriteTreeNode*>(item->data(0, Qt::UserRole).value<quintptr>())
                : nullptr;
}

QTreeWidgetItem* ItemOf(const SpriteTreeNode& node) {
    auto* item = new QTreeWidgetItem({QString::fromStdString(node.m_strLabel)});
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
    for (const SpriteTreeNode& child : node.m_Children)
        item->addChild(ItemOf(child));
    return item;
}

} // namespace

class WaxEditorWindow::PreviewArea : public QWidget {
public:
    explicit PreviewArea(const WaxEditorWindow& window) : m_Window(window) {
        setObjectName(QStringLiteral("preview"));
        setMinimumSize(240, 200);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        switch (m_Window.m_Shown) {
        case Shown::Preview:
            PaintPreview(painter, *m_Window.m_pPreview, rect(), PreviewPaint{0, m_Window.m_nOnlyFrame, true});
            break;
        case Shown::Bitmap: {
            const QImage& image = m_Window.m_Bitmap;
            const QSize size = image.size().boundedTo(rect().size()) == image.size()
                                   ? image.size()
                                   : image.size().scaled(rect().size(), Qt::KeepAspectRatio);
            painter.drawImage(
                QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size), image);
            break;
        }
        case Shown::Message:
            painter.drawText(rect().adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap,
                             m_Window.m_strMessage);
            break;
        case Shown::Nothing:
            break;
        }
    }

private:
    const WaxEditorWindow& m_Window;
};

WaxEditorWindow::WaxEditorWindow(CDataLevel* level, QWidget* parent)
    : QDialog(parent),
      m_pPreview(std::make_unique<ResourcePreview>(nullptr, AppContext::instance().resources())),
      m_Palette(GamePalette::Grey()) {
    setObjectName(QStringLiteral("WaxEditorWindow"));
    setModal(false);
    setSizeGripEnabled(true);
    setWindowTitle(QStringLiteral("Auxiliary Item Editor"));
    buildLayout(level);
    connect(&m_PlayTimer, &QTimer::timeout, this, &WaxEditorWindow::nextPlayFrame);
    updateButtons();
}

WaxEditorWindow::~WaxEditorWindow() = default;

void WaxEditorWindow::buildLayout(CDataLevel* level) {
    m_pTree = Named(new QTreeWidget, "tree");
    m_pTree->setHeaderHidden(true);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, [this] {
        stopPlaying();
        showSelection();
        updateButtons();
    });

    // The level's own palettes are its members; dark.pal comes from the game and never joins it.
    m_pPaletteBox = Named(new QComboBox, "palette");
    const std::vector<std::string> names = paletteListNames(level);
    for (std::size_t i = 0; i < names.size(); ++i) {
        Status message;
        m_Palettes.push_back(paletteByName(i + 1 < names.size() ? level : nullptr,
                                           AppContext::instance().resources(), names[i], &message));
        m_PaletteMessages.push_back(message);
        m_pPaletteBox->addItem(QString::fromStdString(names[i]));
    }
    m_pPaletteBox->setCurrentIndex(static_cast<int>(names.size()) - 1);
    if (m_Palettes.back()) m_Palette = *m_Palettes.back();
    connect(m_pPaletteBox, &QComboBox::activated, this, &WaxEditorWindow::choosePalette);
    auto* paletteLabel = new QLabel(QStringLiteral("Palette:"));
    paletteLabel->setBuddy(m_pPaletteBox);

    m_pArea = new PreviewArea(*this);

    auto button = [this](const char* text, const char* name) {
        auto* b = Named(new QPushButton(QString::fromLatin1(text), this), name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* open = button("&Open", "open");
    m_pSave = button("&Save", "save");
    m_pExport = button("E&xport", "export");
    QPushButton* import = button("&Import", "import");
    m_pEdit = button("&Edit", "edit");
    m_pPlay = button("&Play", "play");
    m_pPlay->setCheckable(true);
    QPushButton* close = button("&Close", "close");
    QPushButton* help = button("&Help", "help");
    connect(open, &QPushButton::clicked, this, &WaxEditorWindow::onOpen);
    connect(m_pSave, &QPushButton::clicked, this, &WaxEditorWindow::onSave);
    connect(m_pExport, &QPushButton::clicked, this, &WaxEditorWindow::onExport);
    connect(import, &QPushButton::clicked, this, &WaxEditorWindow::onImport);
    connect(m_pEdit, &QPushButton::clicked, this, &WaxEditorWindow::onEdit);
    connect(m_pPlay, &QPushButton::clicked, this, &WaxEditorWindow::onPlay);
    connect(close, &QPushButton::clicked, this, &WaxEditorWindow::reject);
    ConnectHelp(this, help, QStringLiteral("wax-editor.md"));

    auto* paletteRow = new QHBoxLayout;
    paletteRow->addWidget(paletteLabel);
    paletteRow->addWidget(m_pPaletteBox, 1);
    auto* middle = new QVBoxLayout;
    middle->addLayout(paletteRow);
    middle->addWidget(m_pArea, 1);
    QVBoxLayout* buttons = ButtonColumn({open, m_pSave, m_pExport, import, m_pEdit, m_pPlay}, {close, help});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pTree, 2);
    layout->addLayout(middle, 3);
    layout->addLayout(buttons);
    resize(760, 420);
}

void WaxEditorWindow::choosePalette(int index) {
    if (index < 0 || index >= static_cast<int>(m_Palettes.size())) return;
    const std::size_t i = static_cast<std::size_t>(index);
    if (!m_Palettes[i]) {
        showFailure(m_PaletteMessages[i]);
        return;
    }
    m_Palette = *m_Palettes[i];
    stopPlaying();
    showSelection();
}

void WaxEditorWindow::showFailure(const Status& status) {
    QMessageBox::warning(this, kMessageTitle, QString::fromStdString(status.message()));
}

void WaxEditorWindow::fillTree() {
    stopPlaying();
    m_pTree->clear();
    if (!m_bHaveTree) return;
    QTreeWidgetItem* root = ItemOf(m_Tree);
    m_pTree->addTopLevelItem(root);
    root->setExpanded(true);
    m_pTree->setCurrentItem(root);
    showSelection();
    updateButtons();
}

const SpriteTreeNode* WaxEditorWindow::selectedNode() const {
    return NodeOf(m_pTree->currentItem());
}

bool WaxEditorWindow::loadPreview(int state, int viewSlot, int frameSlot, bool allFrames) {
    WaxSelection& selection = m_pPreview->waxSelection();
    selection.m_nSelectedState = std::max(state, 0);
    selection.m_nSelectedView = std::max(viewSlot, 0);
    selection.m_nSelectedFrame = std::max(frameSlot, 0);
    selection.m_bShowAllFrames = allFrames;
    m_pPreview->forcePalette(m_Palette, true);
    const std::string name = QFileInfo(m_strPath).fileName().toStdString();
    const CDataGobEntry entry(name, m_Bytes);
    const bool loaded = m_pPreview->load("." + Extension(m_strPath).toStdString(), name, true, &entry) &&
                        m_pPreview->lastMessage().ok();
    m_Shown = loaded ? Shown::Preview : Shown::Message;
    m_strMessage = QString::fromStdString(m_pPreview->lastMessage().message());
    return loaded;
}

// An imported BMP is read from its file each time, so that what a paint program changed shows.
void WaxEditorWindow::showSelection() {
    const SpriteTreeNode* node = selectedNode();
    m_Shown = Shown::Nothing;
    m_nOnlyFrame = -1;
    if (node && !node->m_Path.empty()) {
        std::vector<std::uint8_t> bytes;
        IndexedImage image;
        Status read = ReadResourceFile(node->m_Path, kMaxOpenBytes, bytes);
        if (read) read = image.ReadBmp(bytes, node->m_Path.string());
        if (read) {
            image.SetPalette(m_Palette);
            m_Bitmap = ToQImage(image);
            m_Shown = Shown::Bitmap;
        } else {
            m_strMessage = QString::fromStdString(read.message());
            m_Shown = Shown::Message;
        }
    } else if (node && !m_Bytes.empty()) {
        loadPreview(node->m_nState, node->m_nViewSlot, node->m_nFrameSlot, false);
        if (node->m_Kind == SpriteTreeNode::Kind::Picture) m_nOnlyFrame = node->m_nPicture;
    }
    m_pArea->update();
}

void WaxEditorWindow::updateButtons() {
    const SpriteTreeNode* node = selectedNode();
    m_pExport->setEnabled(!m_Bytes.empty());
    m_pSave->setEnabled(!m_Imported.empty());
    m_pEdit->setEnabled(node && !node->m_Path.empty());
    m_pPlay->setEnabled(!m_Bytes.empty());
}

bool WaxEditorWindow::openFile(const QString& path) {
    std::vector<std::uint8_t> bytes;
    if (const Status read = ReadResourceFile(PathOf(path), kMaxOpenBytes, bytes); !read) {
        showFailure(read);
        return false;
    }
    if (Extension(path) == QLatin1String("plt")) {
        PlttPalette pltt;
        if (const Status read = ReadPltt(bytes, path.toStdString(), pltt); !read) {
            showFailure(read);
            return false;
        }
        ApplyPltt(pltt, m_Palette);
        stopPlaying();
        showSelection();
        return true;
    }
    SpriteTreeNode tree;
    if (const Status built = BuildSpriteTree(bytes, path.toStdString(), tree); !built) {
        showFailure(built);
        return false;
    }
    m_Bytes = std::move(bytes);
    m_strPath = path;
    m_Imported.clear();
    m_Tree = std::move(tree);
    m_bHaveTree = true;
    fillTree();
    return true;
}

void WaxEditorWindow::onOpen() {
    const QString path = AskFile(this, {FileQuestion::Kind::Open, QStringLiteral("Open"),
                                        QtFileFilter(kOpenFilter), QStringLiteral("wax"), m_strPath});
    if (!path.isEmpty()) openFile(path);
}

// Only the files of an earlier export are replaced, after asking; anything else in the folder
// stays.
void WaxEditorWindow::onExport() {
    if (m_Bytes.empty()) return;
    const QString chosen =
        AskFile(this, {FileQuestion::Kind::Save, QStringLiteral("Export to BMP files"),
                       QtFileFilter(kBmpFilter), QStringLiteral("bmp"), QFileInfo(m_strPath).path()});
    if (chosen.isEmpty()) return;
    const std::filesystem::path folder = ExportFolderFor(PathOf(chosen));
    const std::vector<std::string> earlier = ExportFilesIn(folder);
    if (!earlier.empty()) {
        const QString question = QStringLiteral("%1 holds %2 file(s) of an earlier export (%3 ...).\n"
                                                "Replace them?")
                                     .arg(Q(folder))
                                     .arg(earlier.size())
                                     .arg(QString::fromStdString(earlier.front()));
        if (QMessageBox::question(this, kMessageTitle, question) != QMessageBox::Yes) return;
    }
    const std::vector<std::uint8_t> bytes = m_Bytes;
    const std::string name = QFileInfo(m_strPath).fileName().toStdString();
    const GamePalette palette = m_Palette;
    // A name ending in .png exports PNG pictures instead of BMPs.
    const PictureFileFormat png = PngPictureFormat();
    const PictureFileFormat* format = Extension(chosen) == QLatin1String("png") ? &png : nullptr;
    const Status exported =
        RunLongTask(this, QStringLiteral("Exporting %1...").arg(QFileInfo(m_strPath).fileName()),
                    [&](TaskProgress& progress) {
                        return ExportSpriteFile(bytes, name, palette, folder, progress, format);
                    });
    if (!exported) showFailure(exported);
}

void WaxEditorWindow::onImport() {
    const QString chosen =
        AskFile(this, {FileQuestion::Kind::Open, QStringLiteral("Import from BMP files"),
                       QtFileFilter(kBmpFilter), QStringLiteral("bmp"), m_strImportFolder});
    if (chosen.isEmpty()) return;
    const QString folder = QFileInfo(chosen).absolutePath();
    std::vector<std::filesystem::path> files;
    // The pictures of the chosen file's kind, BMP or PNG.
    const std::string extension = Extension(chosen) == QLatin1String("png") ? ".png" : ".bmp";
    if (const Status listed = ListPictureFiles(PathOf(folder), files, extension); !listed) {
        showFailure(listed);
        return;
    }
    m_Bytes.clear();
    m_strPath.clear();
    m_Imported = std::move(files);
    m_strImportFolder = folder;
    m_Tree = ImportTree(PathOf(folder), m_Imported);
    m_bHaveTree = true;
    fillTree();
}

// A WAX also needs the map of its structure, normally the schema.map an export wrote.
void WaxEditorWindow::onSave() {
    if (m_Imported.empty()) return;
    const QString path = AskFile(this, {FileQuestion::Kind::Save, QStringLiteral("Save"),
                                        QtFileFilter(kSaveFilter), QStringLiteral("wax"), m_strImportFolder});
    if (path.isEmpty()) return;
    std::optional<WaxMap> map;
    if (Extension(path) == QLatin1String("wax")) {
        const QString mapPath =
            AskFile(this, {FileQuestion::Kind::Open, QStringLiteral("Open"), QtFileFilter(kMapFilter),
                           QStringLiteral("map"), m_strImportFolder});
        if (mapPath.isEmpty()) return;
        map.emplace();
        if (const Status read = ReadWaxMapFile(PathOf(mapPath), *map); !read) {
            showFailure(read);
            return;
        }
    }
    const std::vector<std::filesystem::path> files = m_Imported;
    const GamePalette palette = m_Palette;
    const WaxMap* mapOf = map ? &*map : nullptr;
    const PictureFileFormat png = PngPictureFormat();
    const Status saved = RunLongTask(
        this, QStringLiteral("Writing %1...").arg(QFileInfo(path).fileName()), [&](TaskProgress& progress) {
            return SaveSpriteFile(PathOf(path), files, palette, mapOf, progress, &png);
        });
    if (!saved) showFailure(saved);
}

// The user's image editor when one is set in the options, else whatever the desktop opens BMPs
// with; the editor does not wait for it.
void WaxEditorWindow::onEdit() {
    const SpriteTreeNode* node = selectedNode();
    if (!node || node->m_Path.empty()) return;
    const QString file = Q(node->m_Path);
    const QString command =
        QString::fromStdString(AppContext::instance().settings().m_strImageEditor).trimmed();
    if (command.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
            QMessageBox::warning(this, kMessageTitle,
                                 QStringLiteral("No program is set up to open %1.\nChoose an image editor in "
                                                "the options.")
                                     .arg(file));
        return;
    }
    QStringList arguments = QProcess::splitCommand(command);
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
    arguments << file;
    if (program.isEmpty() || !QProcess::startDetached(program, arguments))
        QMessageBox::warning(this, kMessageTitle,
                             QStringLiteral("The image editor \"%1\" cannot be started.").arg(command));
}

// A WAX plays the selected scene's sequence; the other files show their pictures one after another.
void WaxEditorWindow::onPlay() {
    if (playing() || m_Bytes.empty()) {
        stopPlaying();
        showSelection();
        return;
    }
    const SpriteTreeNode* node = selectedNode();
    int interval = SpriteFrameMilliseconds(0);
    if (Extension(m_strPath) == QLatin1String("wax")) {
        if (!node || !loadPreview(node->m_nState, node->m_nViewSlot, 0, true)) {
            m_pPlay->setChecked(false);
            m_pArea->update();
            return;
        }
        interval = SpriteFrameMilliseconds(m_pPreview->waxSelection().m_nFrameRate);
    } else {
        loadPreview(0, 0, 0, false);
    }
    m_nOnlyFrame = 0;
    m_pPlay->setChecked(true);
    m_PlayTimer.start(interval);
    m_pArea->update();
}

void WaxEditorWindow::nextPlayFrame() {
    const int count = static_cast<int>(m_pPreview->frames().size());
    m_nOnlyFrame = count > 0 ? (m_nOnlyFrame + 1) % count : -1;
    m_pArea->update();
}

void WaxEditorWindow::stopPlaying() {
    m_pPlay->setChecked(false);
    if (!m_PlayTimer.isActive()) return;
    m_PlayTimer.stop();
    WaxSelection& selection = m_pPreview->waxSelection();
    selection.m_bShowAllFrames = false;
    selection.m_nSelectedState = 0;
    selection.m_nSelectedView = 0;
}

WaxEditorWindow* OpenWaxEditor(CDataLevel* level, QWidget* parent) {
    static QPointer<WaxEditorWindow> window;
    if (!window) {
        window = new WaxEditorWindow(level, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    ShowInFront(window);
    return window;
}

} // namespace morvi::ui
