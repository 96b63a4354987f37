#pragma once

#include "infedit/InfWorkingCopy.h"

#include <QDialog>
#include <QPointer>
#include <QTreeWidget>

#include <array>
#include <optional>

class QComboBox;
class QPushButton;
class QTabWidget;

namespace morvi::ui {

class MorviDocument;
class InfPageWidget;

// The line list: rows move by drag and drop, the first row stays where it is. A drop is reported
// as (dragged line, drop index) and the list is rebuilt by its owner.
class InfLineList : public QTreeWidget {
    Q_OBJECT
public:
    explicit InfLineList(QWidget* parent = nullptr);

signals:
    void lineMoved(int from, int dropIndex);

protected:
    void dropEvent(QDropEvent* event) override;
};

// The modeless "INF Editor" over a private copy of a document's INF items: the item list, the lines
// of the chosen item and one page of controls per kind of line. OK puts the copy into the level as
// one undo step; Cancel throws it away. Open it through OpenInfEditor, which keeps one per document.
class InfEditorWindow : public QDialog {
    Q_OBJECT
public:
    InfEditorWindow(MorviDocument& document, QWidget* parent);
    ~InfEditorWindow() override;

    MorviDocument* document() const { return m_pDocument; }
    const InfWorkingCopy& workingCopy() const { return m_Copy; }
    bool isClosing() const { return m_bClosing; }
    QComboBox* itemList() const { return m_pItems; }
    QTabWidget* sheet() const { return m_pSheet; }
    InfPageWidget* page(InfPage page) const { return m_Pages[static_cast<std::size_t>(page)]; }

    // Remembers the window's top-left corner in "INFEditorLeft"/"INFEditorTop".
    void storePosition() const;
    // Closes the window without touching the level, remembering its place first.
    void discard();
    // Shows the item of the working copy with that index and, when line >= 0, makes that line the
    // current one (a finding of the INF checker).
    void showLine(int item, int line);

public slots:
    void accept() override;
    void reject() override;

protected:
    // The item list's columns follow its width.
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLayout();
    std::optional<InfPage> activePage() const;
    void fillItems();
    void showItem();
    void rebuildLines();
    void chooseRow(int row);
    void applyEdit(const InfLineEdit& edit);
    void updateButtons();
    void refresh();
    bool runItemDialog();
    void onNewAdd();
    void onEdit();
    void onDelete();
    void onUpdate();
    void onSelection();
    void finish(int result);

    QPointer<MorviDocument> m_pDocument;
    InfWorkingCopy m_Copy;
    InfVocabulary m_Vocabulary;
    QComboBox* m_pItems = nullptr;
    InfLineList* m_pLines = nullptr;
    QTabWidget* m_pSheet = nullptr;
    std::array<InfPageWidget*, kInfPageCount> m_Pages{};
    QPushButton* m_pNewAdd = nullptr;
    QPushButton* m_pEdit = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pUpdate = nullptr;
    QPushButton* m_pSelection = nullptr;
    bool m_bFilling = false;
    bool m_bClosing = false;
    int m_nItemsWidth = -1;
};

// Opens the INF editor for the document; the one it already has stores its place and closes first.
InfEditorWindow* OpenInfEditor(MorviDocument& document, QWidget* parent);
// The document's open INF editor, or nullptr.
InfEditorWindow* InfEditorOf(const MorviDocument& document);
// Tools > Editors > INF...: the INF editor window, or the INF text with the "Native" INFEditor
// setting. A level without named sectors is refused with a message; an open INF editor stores its
// place and closes first.
void OpenInfCommand(MorviDocument& document, QWidget* parent);

} // namespace morvi::ui
