#pragma once

#include "model/LevelChecker.h"

#include <QDockWidget>
#include <QPointer>
#include <QTimer>

#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace morvi::ui {

class CMorviView;
class MorviDocument;

// The "Level Check" dock: one line per problem the level checker finds in the document's level
// ("No problems found." when there is none) and a "Check Level" button that checks again. The list
// follows the document by itself: after updated, modifiedChanged or historyChanged it checks again
// once the event loop is free, so a command that sends all three checks once. A double click on a
// line selects the line's item in the view's map (its edit mode, its layer, centred), repaints the
// document's views, tells the selection's listeners and gives the view the focus.
//
// Wiring for the frame: create one panel, add it with addDockWidget (its objectName is
// "LevelCheckerPanel" for saveState), and call setDocument(document, mapView) whenever the active
// document window changes, setDocument(nullptr, nullptr) when the last one closes. The "Check
// Level" command shows the panel and calls refresh().
class LevelCheckerPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit LevelCheckerPanel(QWidget* parent = nullptr);

    // The document whose level is checked (nullptr clears the list) and the map view a double
    // click focuses (without one a double click does nothing). The panel forgets either by
    // itself when it is destroyed.
    void setDocument(MorviDocument* document, CMorviView* view);
    MorviDocument* document() const { return m_pDocument; }

    QListWidget* list() const { return m_pList; }
    // The findings of the last check, in the list's order.
    const std::vector<LevelFinding>& findings() const { return m_Findings; }

public slots:
    // Checks the level now and shows the findings.
    void refresh();

private:
    void scheduleRefresh();
    void showFindings();
    void focusLine(QListWidgetItem* item);

    QPointer<MorviDocument> m_pDocument;
    QPointer<CMorviView> m_pView;
    QListWidget* m_pList = nullptr;
    QPushButton* m_pCheck = nullptr;
    // Coalesces the signals one command sends into one check.
    QTimer m_RefreshTimer;
    std::vector<LevelFinding> m_Findings;
};

} // namespace morvi::ui
