#pragma once

#include "app/Settings.h"
#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/MapDrawing.h"
#include "mapedit/MapPicker.h"
#include "mapedit/MapTypes.h"
#include "mapedit/MapViewport.h"

#include <optional>

namespace morvi {

// Mouse editing on the map: the press picks (or starts a rubber band on an empty selection), a
// timer opens the drag gate, moves follow the snapped cursor with a ghost, and the release applies
// the move or completes the band.
class MapDragTool {
public:
    MapDragTool(CMorviDoc& doc, const Settings& settings, MapViewport& view, MapDrawing& drawing,
                MapPicker& picker, const MapNotifications& notify)
        : m_Doc(doc), m_Settings(settings), m_View(view), m_Drawing(drawing), m_Picker(picker),
          m_Notify(notify) {}

    // Left button pressed: snapped anchor, pick, drag gate closed, rubber band when the selection
    // is empty.
    void OnPress(ScreenPoint point, KeyState keys);
    // The 250 ms timer started by the press has fired: dragging may begin.
    void OnTimer();
    // The mouse moved with the left button down.
    void OnMove(ScreenPoint point);
    // Left button released: applies the move (or completes the rubber band); true when the level
    // changed.
    bool OnRelease(ScreenPoint point);
    // The drag ghost at the current offset (empty while nothing is dragged).
    void DrawGhost(DisplayList& out) const;
    bool dragging() const { return m_bPressed && m_bDragEnabled && !m_bNotYetMoved; }
    // The rubber band while the left button is down on an empty selection (normalised).
    std::optional<ClientRect> rubberBand() const;

private:
    CMorviDoc& m_Doc;
    const Settings& m_Settings;
    MapViewport& m_View;
    MapDrawing& m_Drawing;
    MapPicker& m_Picker;
    const MapNotifications& m_Notify;

    // Drag state, in client pixels.
    bool m_bPressed = false;
    bool m_bDragEnabled = false;
    bool m_bNotYetMoved = false;
    ScreenPoint m_ptAnchor;
    ScreenPoint m_ptLast;
    bool m_bRubber = false;
    ClientRect m_rcRubber;
};

} // namespace morvi
