#pragma once

#include "model/Status.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;
class QWidget;

namespace morvi::ui {

class MorviDocument;

// A recovered copy left by an autosave: the document file, the small sidecar that describes it,
// the file the user was editing (empty for a document never saved) and when the copy was made.
struct RecoveryEntry {
    QString m_strCopyPath;
    QString m_strSidecarPath;
    QString m_strOriginalPath;
    QDateTime m_Time;
};

// The folder autosaves go to: "recovery" in the application's data folder.
QString RecoveryDir();
// The copies a previous run left behind, oldest first. Entries whose copy or sidecar is missing
// are not listed.
QList<RecoveryEntry> PendingRecoveries(const QString& dir = RecoveryDir());
// Deletes the copy and its sidecar.
void RemoveRecovery(const RecoveryEntry& entry);
// Opens the copy into doc as the original file, modified (see MorviDocument::openCopy).
Status RestoreRecovery(MorviDocument& doc, const RecoveryEntry& entry);
// At start-up: asks about every pending copy in turn. Yes calls open with the entry and then
// removes the copy (the restored document, being modified, is autosaved afresh); No keeps it for
// the next start; Discard removes it.
void OfferRecovery(QWidget* parent, const std::function<void(const RecoveryEntry&)>& open,
                   const QString& dir = RecoveryDir());

// Keeps a recovered copy of every watched document that has unsaved changes. After the document
// has been left alone for the idle interval, it is written to the recovery folder under a name of
// its own; the user's file, the document's path and its modified marker are never touched. The
// copy is removed when the document is saved (or its changes undone), and when it is closed
// cleanly, that is removed from the manager.
//
// Wiring: create one manager for the application; addDocument for each document opened or
// created, removeDocument when its last window closes (after the user saved or declined to).
class AutosaveManager : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultIdleMs = 60000;

    explicit AutosaveManager(QObject* parent = nullptr, const QString& dir = RecoveryDir());
    ~AutosaveManager() override;

    void setIdleInterval(int milliseconds) { m_nIdleMs = milliseconds; }
    int idleInterval() const { return m_nIdleMs; }
    QString recoveryDir() const { return m_strDir; }

    void addDocument(MorviDocument* doc);
    void removeDocument(MorviDocument* doc);
    // The copy's file name for a watched document (it exists only after an autosave).
    QString copyPathFor(MorviDocument* doc) const;
    // The message of the last failed autosave, empty after a success.
    QString lastError() const { return m_strLastError; }

    // Writes the copy now when the document has unsaved changes; false when that failed.
    bool autosaveNow(MorviDocument* doc);

signals:
    void autosaved(MorviDocument* doc, const QString& copyPath);

private:
    struct Watch {
        QString m_strId;
        QTimer* m_pTimer = nullptr;
    };

    void touch(MorviDocument* doc);
    void onModifiedChanged(MorviDocument* doc, bool modified);
    void removeCopy(MorviDocument* doc);
    bool writeSidecar(MorviDocument* doc, const QString& sidecar);

    QString m_strDir;
    int m_nIdleMs = kDefaultIdleMs;
    QHash<MorviDocument*, Watch> m_Watches;
    QString m_strLastError;
};

} // namespace morvi::ui
