#pragma once

#include <QDockWidget>
#include <QPointer>

class QListWidget;

namespace morvi::ui {

class MorviDocument;

// The "History" dock: the changes of the active document, oldest first, under a first line
// "(as opened)". The line of the present state is selected; lines after it are changes that were
// undone and can be redone. A click on a line goes back or forward to the state after it, one undo
// or redo at a time, so the document's history stays as it was.
//
// Wiring for the frame: create one panel, add it with addDockWidget (objectName "HistoryPanel"),
// and call setDocument whenever the active document window changes (nullptr when none is left).
class HistoryPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit HistoryPanel(QWidget* parent = nullptr);

    void setDocument(MorviDocument* document);
    QListWidget* list() const { return m_pList; }

private:
    void reload();
    void goTo(int row);

    QPointer<MorviDocument> m_pDocument;
    QListWidget* m_pList = nullptr;
    QMetaObject::Connection m_Watch;
    bool m_bReloading = false;
};

} // namespace morvi::ui
