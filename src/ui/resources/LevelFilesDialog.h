#pragma once

#include <QDialog>
#include <QPointer>

#include <cstddef>
#include <memory>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace morvi {
class ResourcePreview;
}

namespace morvi::ui {

class MorviDocument;
class ResourcePreviewArea;

// The "Files" window: the level's own resources (the archive members the level carries besides its
// LEV, O, INF and text files) with their place in the archive and a preview of the current one.
// Add takes files into the level, Save As writes members out as files, Delete removes them, Edit
// opens VUE and LST members as raw text and palettes in "Edit Palette". Every change is one undo
// step of the document; the list follows every change of the members, also from Undo.
// It is modeless, one per document, and closes with its document. Open it through
// OpenLevelFilesDialog.
class LevelFilesDialog : public QDialog {
    Q_OBJECT
public:
    LevelFilesDialog(MorviDocument& document, QWidget* parent);
    ~LevelFilesDialog() override;

    MorviDocument* document() const { return m_pDocument; }
    QTreeWidget* list() const { return m_pList; }
    const ResourcePreview& preview() const { return *m_pPreview; }

    // The buttons' work, on the selected rows.
    void addFiles();
    void saveAs();
    void deleteSelected();
    void editCurrent();

private:
    void buildControls();
    // Lays the members out again and lists the shown ones, keeping the current and selected rows
    // where their members still are.
    void fill();
    void showCurrent();
    void updateButtons();
    // The member indices of the selected rows, in member order.
    std::vector<std::size_t> selectedMembers() const;
    void editPalette(std::size_t member);

    QPointer<MorviDocument> m_pDocument;
    std::unique_ptr<ResourcePreview> m_pPreview;
    QTreeWidget* m_pList = nullptr;
    ResourcePreviewArea* m_pArea = nullptr;
    QPushButton* m_pSaveAs = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pEdit = nullptr;
};

// Shows the document's Files window, opening it when the document has none.
LevelFilesDialog* OpenLevelFilesDialog(MorviDocument& document, QWidget* parent);
// The document's open Files window, or nullptr.
LevelFilesDialog* LevelFilesDialogOf(const MorviDocument& document);

} // namespace morvi::ui
