#pragma once

#include "properties/ItemProperties.h"

#include <QHash>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <string_view>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace morvi::ui {

class CBitmapWnd;
class CResourcePicker;
class MorviDocument;
class UpDownButtons;

// The properties pane at the left of a map window: the fields of the first selected sector, wall,
// vertex or object, written back into the level through the document's funnel (one undo step per
// apply). It follows the selection, undo and redo from any window; it stores what was typed when
// a field or the pane loses the focus and before the map changes the selection.
class PropertiesPane : public QWidget {
    Q_OBJECT
public:
    // The pane's width in (device-independent) pixels.
    static constexpr int kWidth = 160;

    PropertiesPane(PaneKind kind, MorviDocument& document, QWidget* parent = nullptr);
    ~PropertiesPane() override;

    PaneKind kind() const { return m_eKind; }
    // Reloads every field from the selection; typing not yet stored is dropped.
    void refresh();
    // Stores the fields when something was typed. A refused value is shown in a message box, its
    // field keeps its text and the level is unchanged: false then.
    bool apply(bool reload = true);
    bool isModified() const { return m_bModified; }

    // The editor of a field by its key ("floor-altitude"), and its text as the pane would store it.
    QWidget* field(std::string_view key) const;
    QString text(std::string_view key) const;
    // Types into a field as the user would (the pane counts as modified).
    void setText(std::string_view key, const QString& text);
    QString title() const;
    // The picker the texture and resource buttons opened; nullptr before.
    CResourcePicker* picker() const;
    CBitmapWnd* previewWindow() const;
    // Focuses the first enabled field (F6 from the map).
    void focusFirstField();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    int indexOf(std::string_view key) const;
    QString fieldText(int f) const;
    void setFieldText(int f, const QString& text);
    void markModified();
    void addFlagButton(int f, int list);
    void addPickerButton(int target);
    void addSpin(int f);
    void stepSpin(int f, int delta);
    void updateSpinRanges();
    void openPicker(int target);
    void onPicked(int target, const QString& name, const QString& classText);
    void showPreviewOf(int f);
    QString previewExtension() const;
    void onFocusChanged(QWidget* old, QWidget* now);
    // Object pane: the catalogue buttons, the class list and the sequence list.
    void addObjectControls();
    void onClassChosen(int index);
    void chooseFromCatalogue(bool logicOnly);
    void fillLogic(const QString& name, int sequence);
    void rebuildSequences();
    void selectChoice(QComboBox* box, const QString& text);

    PaneKind m_eKind;
    MorviDocument& m_Document;
    std::span<const PaneField> m_Fields;
    QLabel* m_pTitle = nullptr;
    std::vector<QWidget*> m_Editors;
    std::vector<QWidget*> m_Buttons;
    // The spin buttons by field (nullptr for fields without one) and their ranges.
    std::vector<UpDownButtons*> m_Spins;
    std::vector<SpinRange> m_SpinRanges;
    // The texture field each picker target fills.
    std::vector<int> m_PickerFields;
    QComboBox* m_pSequence = nullptr;
    QPointer<CResourcePicker> m_pPicker;
    QPointer<CBitmapWnd> m_pPreview;
    bool m_bPreviewClosed = false;
    // What the preview window shows (extension and name), and the sizes of textures decoded.
    QString m_strPreviewShown;
    QHash<QString, QSize> m_TextureSizes;
    // The texture field focused last: the preview shows its texture.
    int m_nPreviewField = -1;
    bool m_bModified = false;
    bool m_bApplying = false;
    bool m_bHasItem = false;
};

} // namespace morvi::ui
