#pragma once

#include "model/Status.h"
#include "resources/WaxFile.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListView;
class QPainter;
class QRect;
class QPushButton;
class QSortFilterProxyModel;
class QTimer;

namespace morvi {
class ResourcePreview;
}

namespace morvi::ui {

class MorviDocument;
class ResourceListModel;
class ThumbnailLoader;

// The "Select Texture" dialog: the user chooses a texture, sprite, frame, 3D object or sound by
// name while seeing it. It lists the game archive's members of the chosen class and category with
// the level's own (for textures, the ones the level already uses first), narrows the list to a
// typed filter, shows it as names or as a grid of thumbnails decoded on a worker thread, previews
// the selection at a zoom (WAX sprites by state, view and frame, with Play; a sound plays as it is
// chosen, until a click on the preview) and saves it as the raw member, a 256-colour BMP or a PNG.
// Modeless; one per document, owned by whoever opens it.
//   picker->retarget(".bm", "iwmetal1.bm", 0);
//   connect(picker, &CResourcePicker::picked, pane, [](int target, const QString& name, ...) {...});
class CResourcePicker : public QDialog {
    Q_OBJECT
public:
    CResourcePicker(MorviDocument& document, QWidget* parent = nullptr);
    ~CResourcePicker() override;

    // Opens or retargets: extension ".bm" ".wax" ".fme" ".3do" ".voc" (any case), the current
    // name (any case), and the target the result is told back with (0..3).
    void retarget(const QString& extension, const QString& currentName, int target);
    // The selected row's name, lower case ("" when none).
    QString currentName() const;
    // The class text of the current "Class:" entry ("Sprite", "", "Frame", "3d", "Sound").
    QString classText() const;
    int target() const { return m_nTarget; }

    QLineEdit* filterBox() const { return m_pFilter; }
    QListView* listView() const { return m_pList; }

signals:
    // On "&Ok" and on a double click.
    void picked(int target, const QString& name, const QString& classText);

public slots:
    void accept() override;

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class PreviewArea;

    void buildControls();
    void chooseClass(int index);
    void chooseCategory(int index);
    void fillList();
    void startThumbnails();
    void showThumbnails(bool shown);
    void layoutColumns();
    void selectRow(int sourceRow);
    void filterChanged(const QString& text);
    void refresh(bool reload);
    void load();
    void showWaxBoxes();
    void step(int delta);
    void play();
    void playTick();
    void stopPlay();
    void save();
    Status saveTo(const QString& path) const;
    void paintPreview(QPainter& painter, const QRect& area) const;

    MorviDocument& m_Document;
    std::unique_ptr<ThumbnailLoader> m_pLoader;
    ResourceListModel* m_pModel = nullptr;
    QSortFilterProxyModel* m_pProxy = nullptr;
    std::unique_ptr<ResourcePreview> m_pPreview;

    QLineEdit* m_pFilter = nullptr;
    QCheckBox* m_pThumbnails = nullptr;
    QListView* m_pList = nullptr;
    QComboBox* m_pClass = nullptr;
    QComboBox* m_pCategory = nullptr;
    QComboBox* m_pZoom = nullptr;
    QComboBox* m_pScenery = nullptr;
    QComboBox* m_pAngle = nullptr;
    PreviewArea* m_pArea = nullptr;
    QPushButton* m_pNext = nullptr;
    QPushButton* m_pPrev = nullptr;
    QPushButton* m_pPlay = nullptr;
    QPushButton* m_pSave = nullptr;
    QTimer* m_pPlayTimer = nullptr;

    QString m_strExtension;
    QString m_strClassText;
    // The name to select when a list is filled: the one given, then the one chosen last.
    QString m_strCurrent;
    // The name the preview holds, and whether it was found.
    QString m_strShown;
    bool m_bFound = false;
    WaxSelection m_Wax;
    int m_nTarget = 0;
    bool m_bPlaced = false;
    // The frame shown alone while Play runs; -1 otherwise.
    int m_nPlayFrame = -1;
};

} // namespace morvi::ui
