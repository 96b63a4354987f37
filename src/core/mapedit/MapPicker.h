#pragma once

#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/MapTypes.h"
#include "mapedit/MapViewport.h"
#include "model/SectorGrid.h"

#include <span>
#include <string>
#include <utility>

namespace morvi {

// Picking on the map: what a click or a rubber band selects in each edit mode, the mode change
// with what it does to the selection, the status panes of the selection, and Find Sector's jump.
// The selection itself is the document's.
class MapPicker {
public:
    MapPicker(CMorviDoc& doc, MapViewport& view, const MapNotifications& notify)
        : m_Doc(doc), m_View(view), m_Notify(notify) {}

    // The press's pick: finds the mode's candidate on the current layer and updates the selection
    // (Ctrl toggles), with the notifications in order: store edits, invalidate, selection changed.
    void PickAt(ScreenPoint point, KeyState keys);
    // Appends the items of the mode inside the rectangle (on an empty selection).
    void RubberBandSelect(const ClientRect& rect);
    // The document's mode change with what it does to the selection; returns whether it changed.
    bool SetMode(int mode);
    // The two selection panes for the first entry, or the mode and tool names.
    std::pair<std::string, std::string> StatusPanes() const;
    // How many items are selected, for the status bar: "3 selected"; empty when none are.
    std::string SelectionCountPane() const;
    // Find Sector's jump: the selection becomes the sector, its layer current, the view centred on
    // the mean of its vertices.
    void JumpToSector(int sector);

    // Sector clicks look only at the sectors a grid of world boxes lists near the point, then test
    // those against their live vertices; the grid is built on the first sector click after it was
    // marked stale. A stale grid can only miss a sector, never pick a wrong one. It goes stale when
    // the document's geometry changes, when a move is applied, when the sector count changes, and
    // when CheckGrid finds a sector whose box moved (the map engine checks after every paint, so an
    // edit made outside the document's funnel is seen too).
    void MarkGeometryDirty() { m_bGeometryDirty = true; }
    void CheckGrid();

    // Crossing-number test in integer pixels.
    static bool PointInPolygon(std::span<const ScreenPoint> polygon, ScreenPoint point);

private:
    CMorviDoc& m_Doc;
    MapViewport& m_View;
    const MapNotifications& m_Notify;
    SectorGrid m_SectorGrid;
    bool m_bGeometryDirty = true;
};

} // namespace morvi
