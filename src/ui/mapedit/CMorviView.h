#pragma once

#include "mapedit/CMapEngine.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

class QPainter;

namespace morvi::ui {

class MorviDocument;
class View3DWidget;

// The map view of one document window: it feeds its own map engine with the window's size, the
// screen's metrics, the mouse, the keys and the scroll bars, and paints the display lists the
// engine returns. Every rule (layout, zoom, picking, dragging) is the engine's.
//
// Wiring for the frame:
// - create it after the document was opened (the engine keeps the document's CMorviDoc);
// - route the view commands through handlesCommand / isEnabled / isChecked / runCommand;
// - connect statusTextChanged(paneId, text) to the status bar panes 59130..59134;
// - connect pathsMissing() to the "paths not set" message followed by the Options sheet;
// - tool windows store their edits on the document's storeEdits signal (sent before a click
//   changes the selection) and reload on its selectionChanged signal.
class CMorviView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The status bar panes the view writes.
    static constexpr int kPaneSelection1 = 59133;
    static constexpr int kPaneSelection2 = 59134;
    static constexpr int kPaneX = 59131;
    static constexpr int kPaneZ = 59130;
    static constexpr int kPaneLayer = 59132;
    static constexpr int kPaneZoom = 59135;
    static constexpr int kPaneCount = 59136;
    // How long a press must be held before the mouse may drag the selection.
    static constexpr int kDragDelayMs = 250;

    CMorviView(MorviDocument& document, QWidget* parent = nullptr);
    ~CMorviView() override;

    CMapEngine& engine() { return m_Engine; }
    MorviDocument& document() { return m_Document; }

    // The screen's width in pixels and millimetres; 1024 px / 320 mm when the screen does not say
    // (or on the offscreen platform, so that tests see the same scale everywhere).
    MapDevice device() const;
    // The viewport's rectangle as the engine's client area.
    ClientRect clientRect() const;

    // The view's own commands: zoom, grid, layers, display tools, edit modes, line scrolls and the
    // arrow and page keys' command ids. Unknown ids are not handled, not enabled, not checked.
    static bool handlesCommand(int commandId);
    using QAbstractScrollArea::isEnabled;
    bool isEnabled(int commandId) const;
    bool isChecked(int commandId) const;
    void runCommand(int commandId);
    // The 3D view of this window while there is one: it takes the zoom and line scroll
    // commands in perspective mode.
    void setView3DWidget(View3DWidget* view);

signals:
    // A status bar pane's new text (empty: the pane shows a blank).
    void statusTextChanged(int paneId, const QString& text);
    // The first showing found the game paths unset.
    void pathsMissing();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void wireEngine();
    void initialUpdate();
    void onDocumentUpdated(int hint);
    void relayout();
    void invalidateMap();
    void paintMapCache();
    void paintRubberBand(QPainter& painter) const;
    void syncScrollBars();
    void syncScrollBar(ScrollAxis axis);
    void onScrollAction(ScrollAxis axis, int action);
    void scroll(ScrollAxis axis, ScrollCode code, int thumb = 0);
    void scrollForKey(MapKey key, bool ctrl);
    void runPlainCommand(int commandId);
    void changeLayer(std::optional<int> hint);
    void applyHint(std::optional<int> hint);
    void setMode(int mode);
    void emitCursorPanes(const QPoint& point);
    void emitSelectionPanes(bool force);
    void emitLayerPane();
    void emitZoomPane();
    bool panTo(const QPoint& point);
    bool isActiveView() const;

    MorviDocument& m_Document;
    // The document's core part as it was when the view was made; the engine keeps it too.
    CMorviDoc& m_Doc;
    CMapEngine m_Engine;
    QTimer m_DragTimer;
    // The map as last painted, without the ghost or the rubber band.
    // A plain picture rather than a pixmap: the display-list painter writes grid dots straight into it.
    QImage m_MapCache;
    bool m_bMapStale = true;
    DisplayList m_List;
    DisplayList m_Ghost;
    bool m_bPressed = false;
    // Panning with the middle button, or the left one while Space is held: the last mouse point.
    std::optional<QPoint> m_PanFrom;
    bool m_bSpaceHeld = false;
    bool m_bInitialised = false;
    QString m_strPane1;
    QString m_strPane2;
    QString m_strCount;
    QPointer<View3DWidget> m_pView3D;
};

} // namespace morvi::ui
