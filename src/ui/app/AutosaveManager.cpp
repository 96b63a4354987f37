#include "app/AutosaveManager.h"

#include "app/MorviDocument.h"
#include "gamefiles/DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace morvi::ui {

namespace {

const QString kCopySuffix = QStringLiteral(".mrv");
const QString kSidecarSuffix = QStringLiteral(".ini");
const QString kOriginalKey = QStringLiteral("Recovery/OriginalPath");
const QString kTimeKey = QStringLiteral("Recovery/Time");

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

std::optional<RecoveryEntry> ReadEntry(const QDir& dir, const QString& sidecarName) {
    RecoveryEntry entry;
    entry.m_strSidecarPath = dir.filePath(sidecarName);
    entry.m_strCopyPath = dir.filePath(QFileInfo(sidecarName).completeBaseName() + kCopySuffix);
    if (!QFileInfo::exists(entry.m_strCopyPath)) return std::nullopt;
    QSettings sidecar(entry.m_strSidecarPath, QSettings::IniFormat);
    if (sidecar.status() != QSettings::NoError || !sidecar.contains(kTimeKey)) return std::nullopt;
    entry.m_strOriginalPath = sidecar.value(kOriginalKey).toString();
    entry.m_Time = QDateTime::fromString(sidecar.value(kTimeKey).toString(), Qt::ISODateWithMs);
    if (!entry.m_Time.isValid()) entry.m_Time = QFileInfo(entry.m_strCopyPath).lastModified();
    return entry;
}

QString AskText(const RecoveryEntry& entry) {
    const QString name =
        entry.m_strOriginalPath.isEmpty() ? QStringLiteral("Untitled") : entry.m_strOriginalPath;
    const QString time = QLocale().toString(entry.m_Time.toLocalTime(), QLocale::ShortFormat);
    return QStringLiteral("Morvi was not closed properly. A recovered copy of %1 from %2 exists. Restore it?")
        .arg(name, time);
}

} // namespace

QString RecoveryDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

QList<RecoveryEntry> PendingRecoveries(const QString& dir) {
    QList<RecoveryEntry> entries;
    const QDir folder(dir);
    for (const QString& name : folder.entryList({QStringLiteral("*") + kSidecarSuffix}, QDir::Files)) {
        if (auto entry = ReadEntry(folder, name)) entries.append(*entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.m_Time < b.m_Time; });
    return entries;
}

void RemoveRecovery(const RecoveryEntry& entry) {
    QFile::remove(entry.m_strCopyPath);
    QFile::remove(entry.m_strSidecarPath);
}

Status RestoreRecovery(MorviDocument& doc, const RecoveryEntry& entry) {
    return doc.openCopy(entry.m_strCopyPath, entry.m_strOriginalPath);
}

void OfferRecovery(QWidget* parent, const std::function<void(const RecoveryEntry&)>& open,
                   const QString& dir) {
    for (const RecoveryEntry& entry : PendingRecoveries(dir)) {
        const auto answer = QMessageBox::question(parent, QStringLiteral("Morvi"), AskText(entry),
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Discard,
                                                  QMessageBox::Yes);
        if (answer == QMessageBox::Yes) {
            if (open) open(entry);
            RemoveRecovery(entry);
        } else if (answer == QMessageBox::Discard) {
            RemoveRecovery(entry);
        }
    }
}

AutosaveManager::AutosaveManager(QObject* parent, const QString& dir) : QObject(parent), m_strDir(dir) {}

AutosaveManager::~AutosaveManager() = default;

void AutosaveManager::addDocument(MorviDocument* doc) {
    if (!doc || m_Watches.contains(doc)) return;
    Watch watch;
    // A name of its own per document and run, so that a copy left by an earlier run (or one that
    // cannot be overwritten) never stands in the way.
    watch.m_strId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    watch.m_pTimer = new QTimer(this);
    watch.m_pTimer->setSingleShot(true);
    connect(watch.m_pTimer, &QTimer::timeout, this, [this, doc] { autosaveNow(doc); });
    m_Watches.insert(doc, watch);
    connect(doc, &MorviDocument::historyChanged, this, [this, doc] { touch(doc); });
    connect(doc, &MorviDocument::infChanged, this, [this, doc] { touch(doc); });
    connect(doc, &MorviDocument::updated, this, [this, doc] { touch(doc); });
    connect(doc, &MorviDocument::modifiedChanged, this,
            [this, doc](bool modified) { onModifiedChanged(doc, modified); });
    // A document deleted without removeDocument was closed all the same.
    connect(doc, &QObject::destroyed, this, [this, doc] { removeDocument(doc); });
    if (doc->isModified()) touch(doc);
}

void AutosaveManager::removeDocument(MorviDocument* doc) {
    auto it = m_Watches.find(doc);
    if (it == m_Watches.end()) return;
    removeCopy(doc);
    delete it->m_pTimer;
    m_Watches.erase(it);
    disconnect(doc, nullptr, this, nullptr);
}

QString AutosaveManager::copyPathFor(MorviDocument* doc) const {
    const auto it = m_Watches.find(doc);
    if (it == m_Watches.end()) return {};
    return QDir(m_strDir).filePath(it->m_strId + kCopySuffix);
}

bool AutosaveManager::autosaveNow(MorviDocument* doc) {
    if (!m_Watches.contains(doc) || !doc->isModified()) return true;
    const QString copy = copyPathFor(doc);
    const QString sidecar = QDir(m_strDir).filePath(m_Watches.value(doc).m_strId + kSidecarSuffix);
    if (!QDir().mkpath(m_strDir)) {
        m_strLastError = QStringLiteral("%1: the recovery folder cannot be made.").arg(m_strDir);
        return false;
    }
    // SaveDocument leaves the document's path and modified flag alone.
    if (Status status = SaveDocument(doc->doc(), ToPath(copy)); !status) {
        m_strLastError = QString::fromStdString(status.message());
        return false;
    }
    if (!writeSidecar(doc, sidecar)) {
        m_strLastError = QStringLiteral("%1: the recovery note cannot be written.").arg(sidecar);
        QFile::remove(copy);
        return false;
    }
    m_strLastError.clear();
    emit autosaved(doc, copy);
    return true;
}

bool AutosaveManager::writeSidecar(MorviDocument* doc, const QString& sidecar) {
    QSettings note(sidecar, QSettings::IniFormat);
    note.setValue(kOriginalKey, doc->path());
    note.setValue(kTimeKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    note.sync();
    return note.status() == QSettings::NoError;
}

void AutosaveManager::touch(MorviDocument* doc) {
    const auto it = m_Watches.find(doc);
    if (it == m_Watches.end() || !doc->isModified()) return;
    it->m_pTimer->start(m_nIdleMs);
}

void AutosaveManager::onModifiedChanged(MorviDocument* doc, bool modified) {
    if (modified) {
        touch(doc);
        return;
    }
    // Saved, reopened or undone back to the saved state: the user's file holds it all.
    if (const auto it = m_Watches.find(doc); it != m_Watches.end()) it->m_pTimer->stop();
    removeCopy(doc);
}

void AutosaveManager::removeCopy(MorviDocument* doc) {
    const auto it = m_Watches.find(doc);
    if (it == m_Watches.end()) return;
    const QDir folder(m_strDir);
    QFile::remove(folder.filePath(it->m_strId + kCopySuffix));
    QFile::remove(folder.filePath(it->m_strId + kSidecarSuffix));
}

} // namespace morvi::ui
