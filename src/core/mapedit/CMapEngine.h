#pragma once

#include "app/Settings.h"
#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/EditContext.h"
#include "mapedit/SectorGrid.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace morvi {

// The display tools of sector mode, the document's m_nTool.
enum DisplayTool : int {
    kToolNormal = 0,
    kToolAmbiance = 1,
    kToolDamage = 2,
    kToolAltitude = 3,
    kToolSkiesPits = 4,
    kToolObjects = 5,
};

// Sector flag bits the map reads (first flags word).
inline constexpr int kSectorSky = 1;
inline constexpr int kSectorDoor = 2;
inline constexpr int kSectorExploding = 64;
inline constexpr int kSectorPit = 128;
inline constexpr int kSectorLowDamage = 2048;
inline constexpr int kSectorHighDamage = 4096;
inline constexpr int kSectorSecret = 0x80000;

// Map colours, 0x00BBGGRR.
namespace MapColour {
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr std::uint32_t kDarkGreen = 0x008000;
inline constexpr std::uint32_t kYellow = 0x00FFFF;
inline constexpr std::uint32_t kCyan = 0xFFFF00;
inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr std::uint32_t kMagenta = 0xFF00FF;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kGridDot = 0x0080FF;
inline constexpr std::uint32_t kBackground = 0x000000;
} // namespace MapColour

// A map view's client area in pixels; right and bottom are one past the last pixel.
struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ClientRect&) const = default;
};

// What the engine needs of the device it draws for: its width in pixels and in millimetres (the
// scale follows the device's resolution) and whether it prints.
struct MapDevice {
    int m_nHorzRes = 1024;
    int m_nHorzSizeMm = 320;
    bool m_bPrinting = false;
};

struct KeyState {
    bool m_bCtrl = false;
    bool m_bShift = false;
};

enum class ScrollAxis { Horizontal, Vertical };
// Line and page codes: "back" is left or up, "forward" right or down.
enum class ScrollCode { LineBack, LineForward, PageBack, PageForward, ThumbTrack, ThumbPosition, EndScroll };
enum class MapKey { Left, Right, Up, Down };

// A scroll bar in grid cells: range m_nMin..m_nMax, page and position; shown disabled, never
// hidden, when the whole world fits.
struct ScrollBarState {
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nPage = 0;
    int m_nPos = 0;
    bool m_bEnabled = false;
    bool operator==(const ScrollBarState&) const = default;
};

// How the engine tells its view what happened; the document tells everyone else (its store-edits
// and selection notifiers). May be empty.
struct MapNotifications {
    // The view needs repainting; erase when items disappeared.
    std::function<void(bool erase)> m_Invalidate;
};

// Document view hints: after a zoom change, after a grid-level change, anything else.
inline constexpr int kHintZoom = 1;
inline constexpr int kHintGrid = 2;
inline constexpr int kHintOther = 0;

// The map engine of one map view: coordinates and layout, drawing into a display list, picking and
// the selection, and mouse editing. The document holds what all views share (zoom, grid, layer,
// scroll, mode, tool, the selection); the engine holds the view's layout. Nothing here draws
// on a screen or reads a clock: the view hands in its client rectangle, device, mouse events and
// timer ticks, and paints the display lists it gets back.
class CMapEngine {
public:
    CMapEngine(CMorviDoc& doc, const Settings& settings);
    CMapEngine(const CMapEngine&) = delete;
    CMapEngine& operator=(const CMapEngine&) = delete;

    CMorviDoc& document() { return m_Doc; }
    // What an edit given in this view works on: the document, the preferences, and the view's
    // centre as the point where new things go. An engine converts to it where an edit wants one.
    EditContext Context() const { return EditContext(m_Doc, m_Settings, ViewCentre()); }
    operator EditContext() const { return Context(); }
    // The world point at the centre of the client area.
    WorldPoint ViewCentre() const;
    CDataLevel& level() { return m_Doc.level(); }
    const CDataLevel& level() const { return m_Doc.level(); }
    const Settings& settings() const { return m_Settings; }
    MapNotifications m_Notify;

    // ---- Coordinates and layout (MapLayout.cpp) ------------------------------------------------
    // World X runs right and Z up; the world is the square -2048..2048. Conversions to pixels
    // truncate toward zero, never round.
    double ScreenToWorldX(double px) const;
    double ScreenToWorldZ(double py) const;
    int WorldToScreenX(double x) const;
    int WorldToScreenY(double z) const;
    ScreenPoint WorldToScreen(double x, double z) const { return {WorldToScreenX(x), WorldToScreenY(z)}; }
    // Zoom factor and scale for a zoom level on a device.
    void ComputeScale(const MapDevice& device, int zoom);
    // The nearest grid point (halves away from zero) with the grid on; hundredths without it.
    double SnapPoint(double v) const;
    // Lays the view out for the document's state: scale, grid (its level clamped in the document),
    // page cells, scroll clamps, scroll bars. Does nothing in perspective mode or when re-entered.
    void RecalcLayout(const MapDevice& device, const ClientRect& client);
    void CenterOn(double x, double z);
    // A view's answer to a document update: for a zoom hint it keeps the world point at its centre
    // and marks the object-to-sector assignment stale; then it lays itself out again.
    void OnUpdate(int hint, const MapDevice& device, const ClientRect& client);
    // Fits the selected sectors (all sectors without selection) into the view; returns the hint
    // for the other views, nothing when there is nothing to fit.
    std::optional<int> ZoomNormalize(const MapDevice& device, const ClientRect& client);
    // The mouse wheel's zoom: one step in or out that keeps the world point under the cursor where
    // it is on screen. Returns the hint for the other views (which keep their centres).
    std::optional<int> ZoomAbout(ScreenPoint point, bool in, const MapDevice& device);
    // Drags the map by a mouse movement in pixels (the middle button, or Space and the left
    // button): the world point under the cursor follows it. Returns whether the map moved.
    bool PanBy(int dx, int dy, const MapDevice& device);
    // Document commands: each returns the update hint, or nothing when it is disabled.
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    std::optional<int> ZoomIn();
    std::optional<int> ZoomOut();
    bool CanGridZoomIn() const;
    bool CanGridZoomOut() const;
    std::optional<int> GridZoomIn();
    std::optional<int> GridZoomOut();
    std::optional<int> ToggleGrid();
    bool CanLayerUp() const;
    bool CanLayerDown() const;
    std::optional<int> LayerUp();
    std::optional<int> LayerDown();
    std::optional<int> ToggleAllLayers();
    // The display tools; enabled in sector mode only. NextTool steps 0..5 and round.
    std::optional<int> SetTool(int tool);
    std::optional<int> NextTool();
    // A scroll message; returns how far the client area scrolls, in pixels.
    ScreenPoint Scroll(ScrollAxis axis, ScrollCode code, int thumbPosition = 0);
    // The scroll message a key sends (arrows: lines; with Ctrl: pages).
    static std::optional<std::pair<ScrollAxis, ScrollCode>> ScrollForKey(MapKey key, bool ctrl);
    const ScrollBarState& scrollBar(ScrollAxis axis) const;
    // The three cursor panes for a point of the view: "X %8.2f", "Z %8.2f", "Layer %d".
    std::array<std::string, 3> CursorPanes(ScreenPoint point) const;
    // "Layer %d" with the current layer.
    std::string LayerPane() const;
    // "Zoom 100%": screen pixels per world unit.
    std::string ZoomPane() const;

    // ---- Drawing (MapDrawing.cpp) -----------------------------------------------------------------
    // The grid (when on, not when printing) and the map, as the view paints them.
    void Draw(DisplayList& out, const MapDevice& device);
    void DrawGrid(DisplayList& out) const;
    // Sectors with their tool fills and walls, then the marks of the edit mode and the objects.
    // Recomputes the visible rectangle, the document's layer range and, when stale, the objects'
    // sectors. blackWhite draws everything in black (printing).
    void DrawMap(DisplayList& out, bool blackWhite);
    // The map laid out to fit a page, without grid; the document's zoom, grid level and scroll
    // are restored afterwards and the view laid out for the screen again.
    void DrawPrint(DisplayList& out, const MapDevice& printer, const ClientRect& page,
                   const MapDevice& screen, const ClientRect& screenClient);
    // One sector's walls moved by (dx, dz), with their pens and the selection mark.
    void DrawSectorWalls(DisplayList& out, int sector, double dx, double dz, bool blackWhite = false) const;
    // An object at its place moved by (dx, dz); selected objects get the ring and heading tick.
    void DrawObject(DisplayList& out, const CDataObjectItem& object, bool selected, double dx, double dz,
                    bool blackWhite = false) const;
    // A vertex's 3 x 3 mark, with the selection rings when marked.
    void DrawVertexMark(DisplayList& out, double x, double z, bool marked, bool blackWhite = false) const;
    // The two selection rings around a world point (wall mode's mark).
    void DrawRings(DisplayList& out, double x, double z, std::uint32_t colour) const;
    // The pen of a wall by the rules in their order.
    std::uint32_t WallColour(int sector, int wall) const;
    // Clips a world segment to the visible rectangle; false when nothing (or one point) is left.
    bool ClipSegment(double& x1, double& z1, double& x2, double& z2) const;
    // The visible world rectangle: the client rectangle widened by 10 pixels on each side.
    void SetVisibleRect();
    bool IsVisible(double x, double z) const;
    // Gives every object the sector whose first loop holds it on screen and whose altitudes
    // enclose its height (-1 for none).
    void AssignObjectSectors();
    void MarkObjectsDirty() {
        m_bObjectsDirty = true;
        m_bGeometryDirty = true;
    }
    bool objectsDirty() const { return m_bObjectsDirty; }
    // Crossing-number test in integer pixels.
    static bool PointInPolygon(std::span<const ScreenPoint> polygon, ScreenPoint point);
    // A named sector with a sector INF item that moves its floor or ceiling or is an inverse elevator.
    static bool IsElevatorSector(const CDataLevel& level, const CDataSector& sector);
    // The number of walls of the sector's first loop (all walls when no loop closes).
    static int FirstLoopLength(const CDataSector& sector);

    // ---- Selection and picking (MapPicking.cpp) ---------------------------------------------------
    const std::vector<CMapSelItem>& selection() const { return m_Selection; }
    void ClearSelection() { m_Selection.clear(); }
    void AddToSelection(const CMapSelItem& item) { m_Selection.push_back(item); }
    bool IsSectorSelected(int sector) const;
    bool IsObjectSelected(int object) const;
    bool IsVertexSelected(int sector, int vertex) const;
    // The press's pick: finds the mode's candidate on the current layer and updates the selection
    // (Ctrl toggles), with the notifications in order: store edits, invalidate, selection changed.
    void PickAt(ScreenPoint point, KeyState keys);
    // Sector clicks look only at the sectors a grid of world boxes lists near the point, then test
    // those against their live vertices; the grid is built on the first sector click after it was
    // marked stale. A stale grid can only miss a sector, never pick a wrong one, and it goes stale
    // in three ways, so that no edit slips through:
    // - a move applied by OnRelease marks it;
    // - every DrawMap compares each sector's box with the recorded one (one walk over the
    //   vertices, cheap beside the drawing itself) and marks it when any differs, so any edit the
    //   view has repainted is seen;
    // - code outside the engine that adds, removes or moves sectors or vertices and may let the
    //   user click before the view repaints must call MarkGeometryDirty (MarkObjectsDirty does it
    //   too). A change of the sector count is noticed on its own.
    void MarkGeometryDirty() { m_bGeometryDirty = true; }
    // Appends the items of the mode inside the rectangle (on an empty selection).
    void RubberBandSelect(const ClientRect& rect);
    // The document's mode change with what it does to the selection; returns whether it changed.
    bool SetMode(int mode);
    // The two selection panes for the first entry, or the mode and tool names.
    std::pair<std::string, std::string> StatusPanes() const;
    // Find Sector's jump: the selection becomes the sector, its layer current, the view centred on
    // the mean of its vertices.
    void JumpToSector(int sector);

    // ---- Mouse editing (MapDrag.cpp) ------------------------------------------------------------
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

    // ---- View layout fields ----------------------------------------------------------------------
    ClientRect m_rcClient;
    double m_dZoomFactor = 1.0;
    double m_dScale = 512.0;
    double m_dGridStep = 256.0;
    int m_nGridCells = 16;
    int m_nCellPixels = 32;
    int m_nPageCellsX = 0;
    int m_nPageCellsY = 0;
    int m_nDeviceShift = 5; // k: the device's resolution as a power of two
    double m_dVisLeft = -2048.0;
    double m_dVisRight = 2048.0;
    double m_dVisTop = 2048.0;
    double m_dVisBottom = -2048.0;

private:
    CMorviDoc& m_Doc;
    const Settings& m_Settings;
    // The document's selection, which every view of it shares.
    std::vector<CMapSelItem>& m_Selection;
    // Marks the object and picking caches stale whenever the document's geometry changes.
    Notifier<>::Connection m_GeometryWatch;
    bool m_bObjectsDirty = true;
    bool m_bGeometryDirty = true;
    SectorGrid m_SectorGrid;
    bool m_bInLayout = false;
    std::array<ScrollBarState, 2> m_ScrollBars{};

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
