#pragma once

#include <optional>

#include "app/Settings.h"
#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/EditContext.h"
#include "mapedit/MapDragTool.h"
#include "mapedit/MapDrawing.h"
#include "mapedit/MapPicker.h"
#include "mapedit/MapTypes.h"
#include "mapedit/MapViewport.h"

#include <vector>

namespace morvi {

// The map engine of one map view: its viewport (coordinates, zoom, scrolling), the drawing rules,
// picking and the drag tool, over the document it shows. Nothing here draws on a screen or reads
// a clock: the view hands in its client rectangle, device, mouse events and timer ticks, and
// paints the display lists it gets back. The document holds what all views share, the selection
// included; the engine holds the view's own state.
class CMapEngine {
public:
    CMapEngine(CMorviDoc& doc, const Settings& settings);
    CMapEngine(const CMapEngine&) = delete;
    CMapEngine& operator=(const CMapEngine&) = delete;

    CMorviDoc& document() { return m_Doc; }
    CDataLevel& level() { return m_Doc.level(); }
    const CDataLevel& level() const { return m_Doc.level(); }
    const Settings& settings() const { return m_Settings; }

    MapViewport& viewport() { return m_Viewport; }
    const MapViewport& viewport() const { return m_Viewport; }
    MapDrawing& drawing() { return m_Drawing; }
    const MapDrawing& drawing() const { return m_Drawing; }
    MapPicker& picker() { return m_Picker; }
    MapDragTool& drag() { return m_Drag; }
    const MapDragTool& drag() const { return m_Drag; }

    // What an edit given in this view works on: the document, the preferences, and the view's
    // centre as the point where new things go. An engine converts to it where an edit wants one.
    EditContext Context() const { return EditContext(m_Doc, m_Settings, m_Viewport.ViewCentre()); }
    // The same, with new things placed where the mouse points when it is over the view (snapped
    // to the grid when the grid is on): a command given from the keyboard or a menu puts them there.
    EditContext ContextAt(std::optional<ScreenPoint> mouse) const;
    operator EditContext() const { return Context(); }

    // The document's selection, for a view that sets it directly.
    const std::vector<CMapSelItem>& selection() const { return m_Doc.selection(); }
    void ClearSelection() { m_Doc.selection().clear(); }
    void AddToSelection(const CMapSelItem& item) { m_Doc.selection().push_back(item); }

    // The view's picture: the grid and the map; the picker's sector grid is checked against what
    // was painted, so that an edit made around the document's funnel cannot mislead a click.
    void Draw(DisplayList& out, const MapDevice& device);

    MapNotifications m_Notify;

private:
    CMorviDoc& m_Doc;
    const Settings& m_Settings;
    MapViewport m_Viewport;
    MapDrawing m_Drawing;
    MapPicker m_Picker;
    MapDragTool m_Drag;
    // Marks the object and picking caches stale whenever the document's geometry changes.
    Notifier<>::Connection m_GeometryWatch;
};

} // namespace morvi
