#pragma once

#include "resources/GamePalette.h"
#include "resources/SpriteEditor.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace morvi {
class CDataLevel;
class ResourcePreview;
} // namespace morvi

namespace morvi::ui {

// The modeless "Auxiliary Item Editor": turns a WAX, FME, BM, DELT or ANIM into 8-bit BMP files
// (and a WAX's structure into schema.map) for any paint program, and builds those files back from
// a folder of BMPs. The tree shows the opened file (a WAX as scenes, sequences and frames) or the
// imported BMPs; the chosen palette colours the preview, every export and every build.
class WaxEditorWindow : public QDialog {
    Q_OBJECT
public:
    // The palette box offers the level's palettes (none without a level) and "dark.pal".
    explicit WaxEditorWindow(CDataLevel* level, QWidget* parent = nullptr);
    ~WaxEditorWindow() override;

    // Opens a picture file into the tree, or lays a PLTT over the chosen palette; false, after a
    // message naming the file, when it cannot be read.
    bool openFile(const QString& path);
    // The tree's BMP files after an import, in tree order.
    const std::vector<std::filesystem::path>& importedFiles() const { return m_Imported; }
    ResourcePreview& preview() { return *m_pPreview; }
    bool playing() const { return m_PlayTimer.isActive(); }

private:
    class PreviewArea;

    void buildLayout(CDataLevel* level);
    void choosePalette(int index);
    void fillTree();
    const SpriteTreeNode* selectedNode() const;
    void showSelection();
    bool loadPreview(int state, int viewSlot, int frameSlot, bool allFrames);
    void updateButtons();
    void showFailure(const Status& status);
    void onOpen();
    void onExport();
    void onImport();
    void onSave();
    void onEdit();
    void onPlay();
    void stopPlaying();
    void nextPlayFrame();

    std::unique_ptr<ResourcePreview> m_pPreview;
    // The palette box's entries and what each names (nothing when it could not be read).
    std::vector<std::optional<GamePalette>> m_Palettes;
    std::vector<Status> m_PaletteMessages;
    GamePalette m_Palette;
    // The opened file, empty after an import.
    std::vector<std::uint8_t> m_Bytes;
    QString m_strPath;
    std::vector<std::filesystem::path> m_Imported;
    QString m_strImportFolder;
    SpriteTreeNode m_Tree;
    bool m_bHaveTree = false;

    // What the area shows: the preview's pictures (one of them, or all for -1), an imported BMP,
    // or a message.
    enum class Shown { Nothing, Preview, Bitmap, Message };
    Shown m_Shown = Shown::Nothing;
    int m_nOnlyFrame = -1;
    QImage m_Bitmap;
    QString m_strMessage;
    QTimer m_PlayTimer;

    QTreeWidget* m_pTree = nullptr;
    QComboBox* m_pPaletteBox = nullptr;
    PreviewArea* m_pArea = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pExport = nullptr;
    QPushButton* m_pEdit = nullptr;
    QPushButton* m_pPlay = nullptr;
};

// The application's Auxiliary Item Editor, shown, raised and activated; created on first use with
// the palettes of level.
WaxEditorWindow* OpenWaxEditor(CDataLevel* level, QWidget* parent);

} // namespace morvi::ui
