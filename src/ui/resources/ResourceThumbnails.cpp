#include "resources/ResourceThumbnails.h"

#include "model/StringUtil.h"
#include "resources/ResourceCache.h"
#include "resources/ResourceImage.h"
#include "resources/ResourcePreview.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>

namespace morvi::ui {

ThumbnailLoader::ThumbnailLoader(int side, QObject* parent) : QObject(parent), m_nSide(side) {
    // A picker nobody deleted must not leave its thread running into the program's end.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &ThumbnailLoader::shutdown);
}

ThumbnailLoader::~ThumbnailLoader() {
    shutdown();
}

void ThumbnailLoader::shutdown() {
    {
        const std::lock_guard lock(m_Mutex);
        m_bStop = true;
        m_Urgent.clear();
        m_Background.clear();
    }
    m_Wake.notify_all();
    if (m_Thread.joinable()) m_Thread.join();
}

quint64 ThumbnailLoader::start(ThumbnailBatch batch) {
    const std::lock_guard lock(m_Mutex);
    m_Taken.assign(batch.m_Names.size(), 0);
    m_pBatch = std::make_shared<const ThumbnailBatch>(std::move(batch));
    m_Urgent.clear();
    m_Background.clear();
    if (!m_Thread.joinable() && !m_bStop) m_Thread = std::thread([this] { run(); });
    return ++m_nGeneration;
}

void ThumbnailLoader::request(const std::vector<int>& rows, bool urgent) {
    {
        const std::lock_guard lock(m_Mutex);
        std::deque<int>& queue = urgent ? m_Urgent : m_Background;
        queue.insert(queue.end(), rows.begin(), rows.end());
    }
    m_Wake.notify_one();
}

void ThumbnailLoader::cancel() {
    const std::lock_guard lock(m_Mutex);
    m_Urgent.clear();
    m_Background.clear();
    std::fill(m_Taken.begin(), m_Taken.end(), 0);
}

void ThumbnailLoader::run() {
    // The thread's own cache and preview: the program's cache belongs to the user-interface thread.
    ResourceCache cache;
    ResourcePreview preview(nullptr, cache);
    for (;;) {
        std::shared_ptr<const ThumbnailBatch> batch;
        quint64 generation = 0;
        int row = -1;
        {
            std::unique_lock lock(m_Mutex);
            m_Wake.wait(lock, [this] { return m_bStop || !m_Urgent.empty() || !m_Background.empty(); });
            if (m_bStop) return;
            // The rows shown last are the ones on screen now: newest urgent request first.
            if (!m_Urgent.empty()) {
                row = m_Urgent.back();
                m_Urgent.pop_back();
            } else {
                row = m_Background.front();
                m_Background.pop_front();
            }
            if (row < 0 || static_cast<std::size_t>(row) >= m_Taken.size() ||
                m_Taken[static_cast<std::size_t>(row)])
                continue;
            m_Taken[static_cast<std::size_t>(row)] = 1;
            batch = m_pBatch;
            generation = m_nGeneration;
        }
        cache.SetFolders(batch->m_CdFolder, batch->m_InstalledFolder);
        const QImage thumbnail = decode(*batch, row, preview);
        {
            const std::lock_guard lock(m_Mutex);
            if (m_bStop || generation != m_nGeneration) continue;
        }
        emit decoded(generation, row, thumbnail);
    }
}

QImage ThumbnailLoader::decode(const ThumbnailBatch& batch, int row, ResourcePreview& preview) const {
    const std::string& name = batch.m_Names[static_cast<std::size_t>(row)];
    const CDataGobEntry* own = nullptr;
    for (const CDataGobEntry& member : batch.m_LevelMembers)
        if (EqualsNoCase(member.m_strName, name)) {
            own = &member;
            break;
        }
    preview.forcePalette(batch.m_Palette, false);
    preview.waxSelection() = WaxSelection{};
    const bool found = preview.load(batch.m_strExtension, name, false, own);
    QImage image(m_nSide, m_nSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (found && preview.lastMessage()) {
        PaintPreview(painter, preview, image.rect(), PreviewPaint{0, -1, false});
    } else {
        // Missing or undecodable: a red cross (its message shows when the row is chosen).
        painter.setPen(QPen(Qt::red, 2));
        const QRect box = image.rect().adjusted(m_nSide / 4, m_nSide / 4, -m_nSide / 4, -m_nSide / 4);
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    }
    return image;
}

ResourceListModel::ResourceListModel(ThumbnailLoader& loader, int side, QObject* parent)
    : QAbstractListModel(parent), m_Loader(loader), m_Blank(side, side) {
    m_Blank.fill(Qt::transparent);
    connect(&loader, &ThumbnailLoader::decoded, this, &ResourceListModel::takeThumbnail,
            Qt::QueuedConnection);
}

void ResourceListModel::setNames(const QStringList& names) {
    beginResetModel();
    // Thumbnails of the names shown before may still arrive: no batch is current until one starts.
    m_nGeneration = 0;
    m_Names = names;
    m_Thumbnails.assign(static_cast<std::size_t>(names.size()), QPixmap());
    m_Asked.assign(static_cast<std::size_t>(names.size()), 0);
    endResetModel();
}

void ResourceListModel::setThumbnails(bool shown) {
    if (shown == m_bThumbnails) return;
    m_bThumbnails = shown;
    if (!m_Names.isEmpty())
        emit dataChanged(index(0), index(static_cast<int>(m_Names.size()) - 1), {Qt::DecorationRole});
}

void ResourceListModel::requestMissing() {
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_Asked.size(); ++row)
        if (!m_Asked[row] && m_Thumbnails[row].isNull()) {
            m_Asked[row] = 1;
            rows.push_back(static_cast<int>(row));
        }
    if (!rows.empty()) m_Loader.request(rows, false);
}

void ResourceListModel::cancelPending() {
    m_Loader.cancel();
    for (std::size_t row = 0; row < m_Asked.size(); ++row)
        if (m_Thumbnails[row].isNull()) m_Asked[row] = 0;
}

int ResourceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Names.size());
}

QVariant ResourceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_Names.size())) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) return m_Names[index.row()];
    if (role != Qt::DecorationRole || !m_bThumbnails) return {};
    if (!m_Thumbnails[row].isNull()) return m_Thumbnails[row];
    // The view asks for the rows it paints: those are decoded before the rest. Before the names'
    // batch starts there is nobody to ask; requestMissing() asks for them all then.
    if (!m_Asked[row] && m_nGeneration != 0) {
        m_Asked[row] = 1;
        m_Loader.request({index.row()}, true);
    }
    // Until it arrives, an empty picture of the same size keeps the grid's cells alike.
    return m_Blank;
}

void ResourceListModel::takeThumbnail(quint64 generation, int row, const QImage& thumbnail) {
    if (generation != m_nGeneration || row < 0 || row >= static_cast<int>(m_Names.size())) return;
    m_Thumbnails[static_cast<std::size_t>(row)] = QPixmap::fromImage(thumbnail);
    emit dataChanged(index(row), index(row), {Qt::DecorationRole});
}

} // namespace morvi::ui
