#include "resources/ResourcePicker.h"

#include "app/AppContext.h"
#include "app/DialogKit.h"
#include "app/HelpWindow.h"
#include "app/MorviDocument.h"
#include "model/CDataLevel.h"
#include "model/StringUtil.h"
#include "resources/PickerRules.h"
#include "resources/ResourceCache.h"
#include "resources/ResourceImage.h"
#include "resources/ResourcePreview.h"
#include "resources/ResourceThumbnails.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace morvi::ui {

namespace {

constexpr int kThumbnailSide = 64;
constexpr int kColumnWidth = 80;
// Play shows the frames at the state's frame rate, or at this interval when it has none.
constexpr int kDefaultFrameMs = 100;
const char* const kZoomEntries[] = {"Auto Sizing", "500 %", "400 %", "300 %", "200 %", "100 %", "50 %"};

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The game archive a picker class reads its names from.
ResourceList ListOf(const PickerClass& picked) {
    for (std::size_t i = 0; i < kResourceListCount; ++i) {
        const auto list = static_cast<ResourceList>(i);
        if ("\\" + std::string(ResourceArchiveName(list)) == picked.m_strArchive &&
            ResourceArchiveIsInstalled(list) == (picked.m_Folder == GameFolder::Installed))
            return list;
    }
    return ResourceList::Textures;
}

// The level's own members that stand beside that archive.
const std::vector<CDataGobEntry*>& LevelMembers(const CDataLevel& level, ResourceList list) {
    switch (list) {
    case ResourceList::Sprites:
        return level.m_Sprites;
    case ResourceList::Objects:
        return level.m_Models3D;
    case ResourceList::Sounds:
        return level.m_Sounds;
    case ResourceList::Textures:
        break;
    }
    return level.m_Bitmaps;
}

QPushButton* Button(const char* text, const char* name) {
    return Named(new QPushButton(QString::fromLatin1(text)), name);
}

} // namespace

class CResourcePicker::PreviewArea : public QWidget {
public:
    explicit PreviewArea(const CResourcePicker& picker) : m_Picker(picker) {
        setObjectName(QStringLiteral("preview"));
        setMinimumSize(256, 192);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_Picker.paintPreview(painter, rect());
    }
    // A click stops the sound shown.
    void mousePressEvent(QMouseEvent* event) override {
        m_Picker.m_pPreview->stopSound();
        QWidget::mousePressEvent(event);
    }

private:
    const CResourcePicker& m_Picker;
};

CResourcePicker::CResourcePicker(MorviDocument& document, QWidget* parent)
    : QDialog(parent), m_Document(document), m_pLoader(std::make_unique<ThumbnailLoader>(kThumbnailSide)),
      m_pPreview(std::make_unique<ResourcePreview>(&document.level(), AppContext::instance().resources())) {
    setModal(false);
    setWindowTitle(QStringLiteral("Select Texture - Size (X,Y)= "));
    m_pModel = new ResourceListModel(*m_pLoader, kThumbnailSide, this);
    m_pProxy = new QSortFilterProxyModel(this);
    m_pProxy->setSourceModel(m_pModel);
    m_pProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_pPlayTimer = new QTimer(this);
    connect(m_pPlayTimer, &QTimer::timeout, this, &CResourcePicker::playTick);
    buildControls();
}

CResourcePicker::~CResourcePicker() {
    m_pPreview->stopSound();
    // The thread ends first; then nothing may ask the loader for rows any more.
    m_pLoader->shutdown();
    m_pList->setModel(nullptr);
    delete m_pProxy;
    delete m_pModel;
}

void CResourcePicker::buildControls() {
    m_pFilter = Named(new QLineEdit, "filter");
    m_pFilter->setPlaceholderText(QStringLiteral("Filter"));
    m_pFilter->setClearButtonEnabled(true);
    m_pThumbnails = CheckBox("&Thumbnails", "thumbnails");

    m_pList = Named(new QListView, "list");
    m_pList->setModel(m_pProxy);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setUniformItemSizes(true);
    m_pList->setLayoutMode(QListView::Batched);
    m_pList->setBatchSize(256);
    m_pList->setResizeMode(QListView::Adjust);
    m_pList->setMinimumSize(5 * kColumnWidth + 8, 160);

    m_pClass = Named(new QComboBox, "class");
    for (const PickerClass& entry : PickerClasses())
        m_pClass->addItem(Text(entry.m_strEntry));
    m_pCategory = Named(new QComboBox, "selection");
    m_pZoom = Named(new QComboBox, "zoom");
    for (const char* entry : kZoomEntries)
        m_pZoom->addItem(QString::fromLatin1(entry));
    m_pScenery = Named(new QComboBox, "scenery");
    m_pAngle = Named(new QComboBox, "angle");
    m_pArea = new PreviewArea(*this);

    auto* ok = Button("&Ok", "ok");
    ok->setDefault(true);
    auto* cancel = Button("&Cancel", "cancel");
    auto* help = Button("&Help", "help");
    m_pNext = Button("&Next", "next");
    m_pPrev = Button("&Prev", "prev");
    m_pPlay = Button("Pla&y", "play");
    m_pSave = Button("&Save", "save");

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_pFilter, 1);
    filterRow->addWidget(m_pThumbnails);
    auto* boxes = new QGridLayout;
    const struct {
        const char* label;
        QComboBox* box;
        int row, column;
    } labelled[] = {{"Class:", m_pClass, 0, 0},
                    {"Selection:", m_pCategory, 0, 2},
                    {"Zoom:", m_pZoom, 0, 4},
                    {"Scenery:", m_pScenery, 1, 0},
                    {"Angle:", m_pAngle, 1, 2}};
    for (const auto& l : labelled) {
        auto* label = new QLabel(QString::fromLatin1(l.label));
        label->setBuddy(l.box);
        boxes->addWidget(label, l.row, l.column);
        boxes->addWidget(l.box, l.row, l.column + 1);
    }
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ok, cancel, help, m_pNext, m_pPrev, m_pPlay, m_pSave})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(m_pArea, 1);
    lower->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_pList, 1);
    layout->addLayout(boxes);
    layout->addLayout(lower, 1);
    showThumbnails(false);

    connect(m_pFilter, &QLineEdit::textChanged, this, &CResourcePicker::filterChanged);
    connect(m_pThumbnails, &QCheckBox::toggled, this, &CResourcePicker::showThumbnails);
    connect(m_pList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { refresh(false); });
    connect(m_pList, &QListView::doubleClicked, this, &CResourcePicker::accept);
    connect(m_pClass, &QComboBox::currentIndexChanged, this, &CResourcePicker::chooseClass);
    connect(m_pCategory, &QComboBox::currentIndexChanged, this, &CResourcePicker::chooseCategory);
    connect(m_pZoom, &QComboBox::currentIndexChanged, m_pArea, qOverload<>(&QWidget::update));
    connect(m_pScenery, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_Wax.m_nSelectedState = index;
        m_Wax.m_nSelectedFrame = 0;
        refresh(true);
    });
    connect(m_pAngle, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_Wax.m_nSelectedView = index;
        m_Wax.m_nSelectedFrame = 0;
        refresh(true);
    });
    connect(ok, &QPushButton::clicked, this, &CResourcePicker::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { HelpWindow::ShowTopics(); });
    connect(m_pNext, &QPushButton::clicked, this, [this] { step(1); });
    connect(m_pPrev, &QPushButton::clicked, this, [this] { step(-1); });
    connect(m_pPlay, &QPushButton::clicked, this, &CResourcePicker::play);
    connect(m_pSave, &QPushButton::clicked, this, &CResourcePicker::save);
}

void CResourcePicker::retarget(const QString& extension, const QString& currentName, int target) {
    m_nTarget = target;
    m_strCurrent = currentName.toLower();
    const std::span<const PickerClass> classes = PickerClasses();
    int index = 1; // textures, when the extension is none of the classes'
    for (std::size_t i = 0; i < classes.size(); ++i)
        if (extension.compare(Text(classes[i].m_strExtension), Qt::CaseInsensitive) == 0)
            index = static_cast<int>(i);
    {
        // A filter typed for another field would hide the current name.
        const QSignalBlocker blocker(m_pFilter);
        m_pFilter->clear();
        m_pProxy->setFilterFixedString(QString());
    }
    {
        const QSignalBlocker blocker(m_pClass);
        m_pClass->setCurrentIndex(index);
    }
    chooseClass(index);
    show();
    raise();
    activateWindow();
}

QString CResourcePicker::currentName() const {
    const QModelIndex current = m_pList->currentIndex();
    return current.isValid() ? current.data().toString() : QString();
}

QString CResourcePicker::classText() const {
    return m_strClassText;
}

void CResourcePicker::accept() {
    const QString name = currentName();
    if (!name.isEmpty()) emit picked(m_nTarget, name, classText());
    QDialog::accept();
}

void CResourcePicker::hideEvent(QHideEvent* event) {
    stopPlay();
    m_pPreview->stopSound();
    m_pModel->cancelPending();
    // The next picker opens where this one was.
    Settings& settings = AppContext::instance().settings();
    settings.m_nTextureLeft = pos().x();
    settings.m_nTextureTop = pos().y();
    QDialog::hideEvent(event);
}

void CResourcePicker::showEvent(QShowEvent* event) {
    const Settings& settings = AppContext::instance().settings();
    if (!m_bPlaced && settings.m_nTextureLeft != -1) move(settings.m_nTextureLeft, settings.m_nTextureTop);
    m_bPlaced = true;
    QDialog::showEvent(event);
}

void CResourcePicker::chooseClass(int index) {
    const std::span<const PickerClass> classes = PickerClasses();
    if (index < 0 || static_cast<std::size_t>(index) >= classes.size()) return;
    const PickerClass& chosen = classes[static_cast<std::size_t>(index)];
    m_strExtension = Text(chosen.m_strExtension);
    m_strClassText = Text(chosen.m_strClassText);
    {
        const QSignalBlocker blocker(m_pCategory);
        m_pCategory->clear();
        for (std::string_view category : PickerCategories(chosen.m_strExtension))
            m_pCategory->addItem(Text(category));
        m_pCategory->setCurrentIndex(0);
    }
    chooseCategory(0);
}

void CResourcePicker::chooseCategory(int index) {
    if (index < 0) return;
    fillList();
}

void CResourcePicker::fillList() {
    stopPlay();
    const PickerClass& chosen =
        PickerClasses()[static_cast<std::size_t>(std::max(0, m_pClass->currentIndex()))];
    const ResourceList list = ListOf(chosen);
    std::vector<std::string> game, own;
    for (const GobDirectoryEntry& entry : AppContext::instance().resources().entries(list))
        game.push_back(entry.m_strName);
    for (const CDataGobEntry* member : LevelMembers(m_Document.level(), list))
        own.push_back(member->m_strName);
    std::vector<std::string> names =
        PickerList(chosen.m_strExtension, static_cast<std::size_t>(m_pCategory->currentIndex()), game, own);
    if (chosen.m_strExtension == ".bm") {
        // The textures the level already uses come first, each group in the category's order.
        std::set<std::string> used;
        for (const CDataNameEntry& texture : m_Document.level().m_Lev.m_Textures)
            used.insert(ToLower(texture.m_strName));
        std::stable_partition(names.begin(), names.end(),
                              [&](const std::string& n) { return used.contains(n); });
    }
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        rows.push_back(QString::fromStdString(name));
    m_pModel->setNames(rows);
    layoutColumns();
    // A list filled afresh always loads its selection afresh.
    m_strShown.clear();
    selectRow(PickerSelection(names, m_strCurrent.toStdString()));
    refresh(false);
    if (m_pThumbnails->isChecked()) startThumbnails();
}

void CResourcePicker::startThumbnails() {
    const PickerClass& chosen =
        PickerClasses()[static_cast<std::size_t>(std::max(0, m_pClass->currentIndex()))];
    ResourceCache& cache = AppContext::instance().resources();
    ThumbnailBatch batch;
    batch.m_strExtension = m_strExtension.toStdString();
    for (const QString& name : m_pModel->names())
        batch.m_Names.push_back(name.toStdString());
    for (const CDataGobEntry* member : LevelMembers(m_Document.level(), ListOf(chosen)))
        batch.m_LevelMembers.emplace_back(member->m_strName, member->data());
    batch.m_Palette = m_pPreview->palette();
    batch.m_CdFolder = cache.cdFolder();
    batch.m_InstalledFolder = cache.installedFolder();
    m_pModel->setGeneration(m_pLoader->start(std::move(batch)));
    m_pModel->requestMissing();
}

void CResourcePicker::showThumbnails(bool shown) {
    m_pList->setViewMode(shown ? QListView::IconMode : QListView::ListMode);
    m_pList->setFlow(shown ? QListView::LeftToRight : QListView::TopToBottom);
    m_pList->setWrapping(true);
    m_pList->setMovement(QListView::Static);
    m_pList->setResizeMode(QListView::Adjust);
    m_pList->setIconSize(shown ? QSize(kThumbnailSide, kThumbnailSide) : QSize());
    layoutColumns();
    m_pModel->setThumbnails(shown);
    if (!shown)
        m_pModel->cancelPending();
    else if (m_pModel->generation() == 0)
        startThumbnails();
    else
        m_pModel->requestMissing();
    m_pList->scrollTo(m_pList->currentIndex());
}

void CResourcePicker::layoutColumns() {
    const QFontMetrics metrics = m_pList->fontMetrics();
    // At least 80 pixels; wider when a name listed needs it.
    int column = kColumnWidth;
    for (const QString& name : m_pModel->names())
        column = std::max(column, metrics.horizontalAdvance(name) + 12);
    const bool thumbnails = m_pList->viewMode() == QListView::IconMode;
    m_pList->setGridSize(
        QSize(column, thumbnails ? kThumbnailSide + metrics.height() + 8 : metrics.height() + 2));
}

void CResourcePicker::selectRow(int sourceRow) {
    QModelIndex index = sourceRow < 0 ? QModelIndex() : m_pProxy->mapFromSource(m_pModel->index(sourceRow));
    // The row is hidden by the filter: the first one shown instead.
    if (!index.isValid() && m_pProxy->rowCount() > 0) index = m_pProxy->index(0, 0);
    m_pList->setCurrentIndex(index);
    if (index.isValid()) m_pList->scrollTo(index);
}

void CResourcePicker::filterChanged(const QString& text) {
    // While the filter hides rows the selection model wanders from row to row: only where it ends
    // counts. The current row stays when it is still shown; otherwise the first row shown is chosen.
    const QString before = currentName();
    {
        const QSignalBlocker blocker(m_pList->selectionModel());
        m_pProxy->setFilterFixedString(text);
    }
    if (!m_pList->currentIndex().isValid() || currentName() != before) selectRow(-1);
    refresh(false);
}

void CResourcePicker::refresh(bool reload) {
    const QString name = currentName();
    const QString shown = m_strExtension + '|' + name;
    if (!reload && shown == m_strShown) return;
    stopPlay();
    // Another member starts at its first state, view and frame.
    if (shown != m_strShown) m_Wax = WaxSelection{};
    m_strShown = shown;
    if (!name.isEmpty()) m_strCurrent = name;
    load();
    setWindowTitle(m_strExtension == ".3do"
                       ? QStringLiteral("Select Object")
                       : QStringLiteral("Select Texture - Size (X,Y)= ") + Text(m_pPreview->sizeText()));
    m_pSave->setEnabled(m_bFound && !m_pPreview->frames().empty());
    m_pArea->setToolTip(m_strExtension == ".voc" ? QStringLiteral("Click to stop the sound.") : QString());
    showWaxBoxes();
    m_pArea->update();
}

void CResourcePicker::load() {
    // Bound to the document's level as it is now (opening a file replaces it).
    m_pPreview->stopSound();
    m_pPreview = std::make_unique<ResourcePreview>(&m_Document.level(), AppContext::instance().resources());
    // A sound plays as it loads; the sound device is only looked for once a sound is shown.
    if (m_strExtension == ".voc") m_pPreview->setSoundManager(&AppContext::instance().sounds());
    m_pPreview->waxSelection() = m_Wax;
    const QString name = currentName();
    m_bFound = !name.isEmpty() && m_pPreview->load(m_strExtension.toStdString(), name.toStdString(), true);
    m_Wax = m_pPreview->waxSelection();
}

void CResourcePicker::showWaxBoxes() {
    const bool wax = m_strExtension == ".wax";
    m_pScenery->setEnabled(wax);
    m_pAngle->setEnabled(wax);
    {
        const QSignalBlocker scenery(m_pScenery), angle(m_pAngle);
        m_pScenery->clear();
        m_pAngle->clear();
        if (wax) {
            for (int i = 0; i < m_Wax.m_nStateCount; ++i)
                m_pScenery->addItem(QString::fromStdString(WaxStateName(i)));
            for (int i = 0; i < m_Wax.m_nViewCount; ++i)
                m_pAngle->addItem(QString::fromStdString(WaxViewName(i)));
            m_pScenery->setCurrentIndex(m_Wax.m_nSelectedState);
            m_pAngle->setCurrentIndex(m_Wax.m_nSelectedView);
        }
    }
    m_pNext->setEnabled(wax && m_Wax.m_nSelectedFrame < m_Wax.m_nFrameCount - 1);
    m_pPrev->setEnabled(wax && m_Wax.m_nSelectedFrame > 0);
}

void CResourcePicker::step(int delta) {
    m_Wax.m_nSelectedFrame = std::max(0, m_Wax.m_nSelectedFrame + delta);
    refresh(true);
}

void CResourcePicker::play() {
    if (m_strExtension != ".wax" || !m_bFound) return refresh(true);
    stopPlay();
    m_Wax.m_bShowAllFrames = true;
    m_Wax.m_nSelectedFrame = 0;
    load();
    m_Wax.m_bShowAllFrames = false;
    if (m_pPreview->frames().size() < 2) return refresh(true);
    m_nPlayFrame = 0;
    m_pPlayTimer->start(m_Wax.m_nFrameRate > 0 ? std::max(1, 1000 / m_Wax.m_nFrameRate) : kDefaultFrameMs);
    m_pArea->update();
}

void CResourcePicker::playTick() {
    if (++m_nPlayFrame < static_cast<int>(m_pPreview->frames().size())) return m_pArea->update();
    // The animation ran once: back to the first frame alone.
    refresh(true);
}

void CResourcePicker::stopPlay() {
    m_pPlayTimer->stop();
    m_nPlayFrame = -1;
}

void CResourcePicker::paintPreview(QPainter& painter, const QRect& area) const {
    if (!m_bFound) return painter.fillRect(area, palette().window());
    PaintPreview(painter, *m_pPreview, area,
                 PreviewPaint{std::max(0, m_pZoom->currentIndex()), m_nPlayFrame, true});
}

void CResourcePicker::save() {
    const QString kind = m_strExtension.mid(1);
    const QStringList filters{kind.left(1).toUpper() + kind.mid(1) + " Files (*" + m_strExtension + ")",
                              QStringLiteral("256 Color Bitmap (*.bmp)"),
                              QStringLiteral("PNG Image (*.png)")};
    QFileDialog dialog(this, QStringLiteral("Save As"), currentName().section('.', 0, 0), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kind);
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.section("*.", 1).section(')', 0, 0));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().front();
    if (const Status status = saveTo(path); !status)
        QMessageBox::warning(this, kMessageTitle, QString::fromStdString(status.message()));
}

Status CResourcePicker::saveTo(const QString& path) const {
    const std::string file = QFileInfo(path).fileName().toStdString();
    const QString suffix = QFileInfo(path).suffix().toLower();
    const std::vector<PreviewFrame>& frames = m_pPreview->frames();
    const PreviewFrame* shown =
        frames.empty() ? nullptr
                       : &frames[static_cast<std::size_t>(std::max(0, m_nPlayFrame)) % frames.size()];
    QByteArray bytes;
    if (suffix == "bmp" || suffix == "png") {
        if (!shown) return Status::Fail(file + ": there is no picture to save.");
        if (suffix == "bmp") {
            std::vector<std::uint8_t> bmp;
            if (Status written = shown->m_Image.WriteBmp(bmp); !written) return written;
            bytes = QByteArray(reinterpret_cast<const char*>(bmp.data()), static_cast<qsizetype>(bmp.size()));
        } else {
            QSaveFile out(path);
            if (!out.open(QIODevice::WriteOnly) ||
                !ToQImage(shown->m_Image, shown->m_Placement.has_value()).save(&out, "PNG") || !out.commit())
                return Status::Fail(file + ": " + out.errorString().toStdString());
            return Status::Ok();
        }
    } else {
        // The member's own bytes: the level's member first, as the preview found it.
        const std::string name = currentName().toStdString();
        const ResourceList list =
            ListOf(PickerClasses()[static_cast<std::size_t>(std::max(0, m_pClass->currentIndex()))]);
        std::vector<std::uint8_t> member;
        const auto& own = LevelMembers(m_Document.level(), list);
        const auto found = std::find_if(
            own.begin(), own.end(), [&](const CDataGobEntry* m) { return EqualsNoCase(m->m_strName, name); });
        ResourceCache& cache = AppContext::instance().resources();
        if (found != own.end()) {
            const auto block = (*found)->data();
            member.assign(block.begin(), block.end());
        } else if (const GobDirectoryEntry* entry = cache.find(list, name)) {
            if (Status read = cache.readMember(list, *entry, member); !read) return read;
        } else {
            return Status::Fail(name + ": the member cannot be found.");
        }
        bytes =
            QByteArray(reinterpret_cast<const char*>(member.data()), static_cast<qsizetype>(member.size()));
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return Status::Fail(file + ": " + out.errorString().toStdString());
    return Status::Ok();
}

} // namespace morvi::ui
