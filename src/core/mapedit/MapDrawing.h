#pragma once

#include "app/Settings.h"
#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/MapTypes.h"
#include "mapedit/MapViewport.h"

#include <cstdint>

namespace morvi {

// The drawing rules of the map: what a view shows, as a display list the widget only replays
// (and printing and export share): the grid, sectors with their tool fills and wall pens, the
// marks of the edit mode and the objects.
class MapDrawing {
public:
    MapDrawing(CMorviDoc& doc, const Settings& settings, MapViewport& view)
        : m_Doc(doc), m_Settings(settings), m_View(view) {}

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

    // Gives every object the sector whose first loop holds it and whose altitudes enclose its
    // height (-1 for none); drawing does it when the geometry changed.
    void AssignObjectSectors();
    void MarkObjectsDirty() { m_bObjectsDirty = true; }
    bool objectsDirty() const { return m_bObjectsDirty; }

    // A named sector with a sector INF item that moves its floor or ceiling or is an inverse elevator.
    static bool IsElevatorSector(const CDataLevel& level, const CDataSector& sector);
    // The number of walls of the sector's first loop (all walls when no loop closes).
    static int FirstLoopLength(const CDataSector& sector);

    const MapViewport& viewport() const { return m_View; }

private:
    CMorviDoc& m_Doc;
    const Settings& m_Settings;
    MapViewport& m_View;
    bool m_bObjectsDirty = true;
};

} // namespace morvi
