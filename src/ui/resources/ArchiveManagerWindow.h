#pragma once

#include "resources/ManagedArchive.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace morvi {
class CDataLevel;
class ResourcePreview;
} // namespace morvi

namespace morvi::ui {

class ResourcePreviewArea;

// The members of a managed archive as rows: a GOB's name, offset and size, an LFD's type, name,
// offset and size, filtered by name and sorted by a column (MemberRows). Rows dragged out become
// files in a scratch folder; files dropped on the list are reported for adding.
class ArchiveMemberModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ArchiveMemberModel(ManagedArchive& archive, QObject* parent);

    // The archive changed: every row is read again.
    void reload();
    // Shows another archive of the same kind.
    void setArchive(ManagedArchive& archive);
    // Shows the members whose name holds the text.
    void setFilter(const QString& text);
    int nameColumn() const;
    // The archive's index of the member on a row.
    std::size_t memberAt(int row) const { return m_Rows[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    void filesDropped(const QStringList& paths);

private:
    void order();

    ManagedArchive* m_pArchive;
    std::vector<std::size_t> m_Rows;
    std::string m_strFilter;
    std::optional<MemberColumn> m_SortBy;
    bool m_bDescending = false;
    mutable std::unique_ptr<QTemporaryDir> m_pScratch;
};

// "GOB Manager" and "LFD Manager": open an archive, list its members, add files, save members as
// files, delete members, save the archive, and preview the selected member. Work on large archives
// runs with a progress dialog; closing with unsaved changes asks first.
class ArchiveManagerWindow : public QDialog {
    Q_OBJECT
public:
    ArchiveManagerWindow(ArchiveKind kind, QWidget* parent);
    ~ArchiveManagerWindow() override;

    ManagedArchive& archive() { return *m_pArchive; }
    const ResourcePreview& preview() const { return *m_pPreview; }
    ResourcePreview& preview() { return *m_pPreview; }
    QTreeView* list() const { return m_pList; }
    const QString& path() const { return m_strPath; }

    // The commands, as their buttons run them; each reports failures in a message box.
    bool openArchive(const QString& path);
    void addFiles(const QStringList& paths);
    bool saveArchive(const QString& path);
    // Members by index into the archive, in the list's selection.
    std::vector<std::size_t> selectedMembers() const;

public slots:
    void reject() override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void onOpen();
    void onAdd();
    void onSaveAs();
    void onDelete();
    void showSelection();
    void updateTitle();
    void updateButtons();
    bool saveMembers(const std::vector<std::size_t>& members);
    // False when the user keeps the window (Cancel, or a failed save).
    bool mayDiscard();

    ArchiveKind m_Kind;
    std::unique_ptr<ManagedArchive> m_pArchive;
    std::unique_ptr<ResourcePreview> m_pPreview;
    ArchiveMemberModel* m_pModel = nullptr;
    QTreeView* m_pList = nullptr;
    QLineEdit* m_pFilter = nullptr;
    ResourcePreviewArea* m_pArea = nullptr;
    QPushButton* m_pSaveAs = nullptr;
    QPushButton* m_pDelete = nullptr;
    QString m_strPath;
    bool m_bShown = false;
};

// The application's GOB or LFD manager, made on first use and raised afterwards. Its pictures take
// the palette of level (the active document's, when there is one) as they are first shown.
ArchiveManagerWindow* ShowArchiveManager(ArchiveKind kind, QWidget* parent, CDataLevel* level);

} // namespace morvi::ui
