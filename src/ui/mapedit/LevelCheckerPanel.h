#pragma once

#include "infedit/InfChecker.h"

#include <QDockWidget>
#include <QPointer>
#include <QTimer>

#include <future>
#include <vector>

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace morvi::ui {

class CMorviView;
class MorviDocument;

// The "Level Check" dock: the level checker's findings on the document's level, grouped under
// their problem ("Zero-length walls (2)") with an error or warning sign, a list that shows errors
// and warnings, errors only or warnings only, and a "Check Level" button that checks again at
// once. "No problems found." when there is nothing to show.
//
// The list follows the document by itself: after updated, modifiedChanged or historyChanged the
// level is checked again on a worker thread, over a snapshot taken when the signals have settled,
// so an edit never waits for the check; a result overtaken by a later change is dropped. A hidden
// panel does not check; it checks when it is shown. A double click on a finding selects its item in
// the view's map (its edit mode, its layer, centred), repaints the document's views, tells the
// selection's listeners and gives the view the focus.
//
// Wiring for the frame: create one panel, add it with addDockWidget (its objectName is
// "LevelCheckerPanel" for saveState), and call setDocument(document, mapView) whenever the active
// document window changes, setDocument(nullptr, nullptr) when the last one closes. The "Check
// Level" command shows the panel and calls refresh().
class LevelCheckerPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit LevelCheckerPanel(QWidget* parent = nullptr);
    ~LevelCheckerPanel() override;

    // The document whose level is checked (nullptr clears the list) and the map view a double
    // click focuses (without one a double click does nothing). The panel forgets either by
    // itself when it is destroyed.
    void setDocument(MorviDocument* document, CMorviView* view);
    MorviDocument* document() const { return m_pDocument; }

    QTreeWidget* tree() const { return m_pTree; }
    QComboBox* severityFilter() const { return m_pFilter; }
    // The findings of the last check, in the checker's order.
    const std::vector<LevelFinding>& findings() const { return m_Findings; }
    // Whether a check runs on the worker thread.
    bool checking() const { return m_Pending.valid(); }

public slots:
    // Checks the level now, on this thread, and shows the findings.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void scheduleRefresh();
    void startCheck();
    void collectCheck();
    void showFindings();
    void focusItem(QTreeWidgetItem* item);

    QPointer<MorviDocument> m_pDocument;
    QPointer<CMorviView> m_pView;
    QTreeWidget* m_pTree = nullptr;
    QComboBox* m_pFilter = nullptr;
    QPushButton* m_pCheck = nullptr;
    // Lets the signals of one command settle before a check starts.
    QTimer m_SettleTimer;
    // Looks for the worker's result.
    QTimer m_PollTimer;
    std::future<std::vector<LevelFinding>> m_Pending;
    // Counts the changes: a result started before the last one is out of date.
    unsigned m_nChange = 0;
    unsigned m_nPendingChange = 0;
    std::vector<LevelFinding> m_Findings;
};

} // namespace morvi::ui
