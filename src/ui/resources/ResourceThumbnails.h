#pragma once

// The picker's list: the names with their thumbnails, which a worker thread decodes while the
// dialog goes on working.
#include "model/CDataGobEntry.h"
#include "resources/GamePalette.h"

#include <QAbstractListModel>
#include <QImage>
#include <QPixmap>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace morvi {
class ResourcePreview;
} // namespace morvi

namespace morvi::ui {

// Everything the worker needs for one list, copied on the user-interface thread: the worker never
// touches the document's level or the program's shared archive cache, neither being thread-safe.
struct ThumbnailBatch {
    std::string m_strExtension;
    std::vector<std::string> m_Names;          // by row of the list
    std::vector<CDataGobEntry> m_LevelMembers; // the level's own members of the kind, bytes copied
    GamePalette m_Palette;
    std::filesystem::path m_CdFolder;
    std::filesystem::path m_InstalledFolder;
};

// Decodes thumbnails on its own thread with its own archive cache and preview, rows asked for
// urgently (the ones on screen) before the rest, and hands each back with the queued signal
// decoded. A new batch or cancel() drops the work still pending; results of an older batch carry
// its generation so that the receiver can drop them too. The destructor stops and joins the
// thread, so the receiver must outlive it.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(int side, QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // Replaces the list; returns the batch's generation.
    quint64 start(ThumbnailBatch batch);
    void request(const std::vector<int>& rows, bool urgent);
    void cancel();
    // Stops and joins the thread for good; nothing is decoded or signalled afterwards.
    void shutdown();

signals:
    void decoded(quint64 generation, int row, const QImage& thumbnail);

private:
    void run();
    QImage decode(const ThumbnailBatch& batch, int row, ResourcePreview& preview) const;

    const int m_nSide;
    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::thread m_Thread;
    bool m_bStop = false;
    quint64 m_nGeneration = 0;
    std::shared_ptr<const ThumbnailBatch> m_pBatch;
    std::deque<int> m_Urgent;
    std::deque<int> m_Background;
    std::vector<char> m_Taken; // rows of the batch already handed to the thread
};

// The names of the list (lower case) with their thumbnails when thumbnails are shown: a row shown
// without one asks the loader for it.
class ResourceListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // side: the thumbnails' width and height.
    ResourceListModel(ThumbnailLoader& loader, int side, QObject* parent = nullptr);

    void setNames(const QStringList& names);
    const QStringList& names() const { return m_Names; }
    // The generation of the batch started for these names (thumbnails of others are dropped).
    void setGeneration(quint64 generation) { m_nGeneration = generation; }
    quint64 generation() const { return m_nGeneration; }
    void setThumbnails(bool shown);
    bool thumbnails() const { return m_bThumbnails; }
    // Asks the loader, in the background, for every row without a thumbnail not yet asked for.
    void requestMissing();
    // The loader's pending work is dropped (the dialog closed): rows still without a thumbnail ask
    // again when they are next shown.
    void cancelPending();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void takeThumbnail(quint64 generation, int row, const QImage& thumbnail);

    ThumbnailLoader& m_Loader;
    QStringList m_Names;
    std::vector<QPixmap> m_Thumbnails;
    QPixmap m_Blank;
    mutable std::vector<char> m_Asked;
    quint64 m_nGeneration = 0;
    bool m_bThumbnails = false;
};

} // namespace morvi::ui
