#pragma once

#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/EditContext.h"
#include "mapedit/MapTypes.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace morvi {

// A map view's window on the world: world and screen coordinates, the layout for the view's
// client area and device (scale, grid cells, pages, scroll bars), zoom, grid, layer and tool
// commands, scrolling and panning. The document holds what every view shares (zoom, grid level,
// layer, scroll, mode, tool); the viewport holds what follows from them for one view.
class MapViewport {
public:
    explicit MapViewport(CMorviDoc& doc) : m_Doc(doc) {}

    // World X runs right and Z up; the world is the square -2048..2048. Conversions to pixels
    // truncate toward zero, never round.
    double ScreenToWorldX(double px) const;
    double ScreenToWorldZ(double py) const;
    int WorldToScreenX(double x) const;
    int WorldToScreenY(double z) const;
    ScreenPoint WorldToScreen(double x, double z) const { return {WorldToScreenX(x), WorldToScreenY(z)}; }
    // The world point at the centre of the client area.
    WorldPoint ViewCentre() const;
    // Zoom factor and scale for a zoom level on a device.
    void ComputeScale(const MapDevice& device, int zoom);
    // The nearest grid point (halves away from zero) with the grid on; hundredths without it.
    double SnapPoint(double v) const;

    // Lays the view out for the document's state: scale, grid (its level clamped in the document),
    // page cells, scroll clamps, scroll bars. Does nothing in perspective mode or when re-entered.
    void RecalcLayout(const MapDevice& device, const ClientRect& client);
    void CenterOn(double x, double z);
    // A view's answer to a document update: for a zoom hint it keeps the world point at its centre;
    // then it lays itself out again.
    void OnUpdate(int hint, const MapDevice& device, const ClientRect& client);
    // Fits the selected sectors (all sectors without selection) into the view; returns the hint
    // for the other views, nothing when there is nothing to fit.
    std::optional<int> ZoomNormalize(const MapDevice& device, const ClientRect& client);
    // Lays the view out to print on a page the selected sectors (all sectors without selection),
    // as large as the page holds them within a small margin, centred. Unlike Zoom Normalize, the
    // scale need not be a zoom level and the page may show beyond the world's square, so that the
    // map fills the page whatever its size. Changes the client rectangle, the scale and the
    // document's scroll, not its zoom or grid; false (and nothing changed) when there is nothing
    // to fit.
    bool FitToPage(const ClientRect& page);
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

    // The visible world rectangle: the client rectangle widened by 10 pixels on each side.
    void SetVisibleRect();
    bool IsVisible(double x, double z) const;
    // Clips a world segment to the visible rectangle; false when nothing (or one point) is left.
    bool ClipSegment(double& x1, double& z1, double& x2, double& z2) const;

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
    bool m_bInLayout = false;
    std::array<ScrollBarState, 2> m_ScrollBars{};
};

} // namespace morvi
