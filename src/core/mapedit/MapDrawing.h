#pragma once

#include "app/Settings.h"
#include "document/CMorviDoc.h"
#include "mapedit/DisplayList.h"
#include "mapedit/MapTypes.h"
#include "mapedit/MapViewport.h"

#include <cstdint>
#include <span>
#include <vector>

namespace morvi {

// Which walls face a wall with a sign (the map draws them as signs too), kept from draw to draw:
// looking through every wall's mirror on each draw would visit the whole level out of order. A
// change within a scope updates the scope's walls; any other change of the geometry rebuilds it.
class MirrorSignTable {
public:
    void Invalidate() { m_bValid = false; }
    // Rebuilds the table when it is not valid.
    void Prepare(const CDataLev& lev);
    // The walls of these sectors changed their values (not their number).
    void Update(const CDataLev& lev, std::span<const int> sectors);
    // Whether wall w of sector s faces a wall with a sign. Looks through the mirror itself when
    // the table does not describe the level.
    bool Faces(const CDataLev& lev, int s, const CDataSector& sector, int w) const;
    // How many signed walls face each wall of sector s, wall by wall; nullptr when the table does
    // not describe the sector (Faces then looks itself).
    const std::uint16_t* CountsOf(const CDataLev& lev, int s) const;

private:
    bool Fits(const CDataLev& lev, int s) const;
    int TargetOf(const CDataLev& lev, const CDataWall& wall) const;

    bool m_bValid = false;
    // Sector s's walls are entries m_Base[s] .. m_Base[s + 1] of the two lists below.
    std::vector<std::uint32_t> m_Base;
    // The entry of the wall each signed wall faces (-1 for walls without sign or mirror).
    std::vector<std::int32_t> m_Target;
    // How many signed walls face each wall.
    std::vector<std::uint16_t> m_Count;
};

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
    // The map fitted to a page (see MapViewport::FitToPage), without grid, in black when printing
    // with the BlackWhite preference. The document's scroll and the view's layout are as they were
    // afterwards.
    void DrawPrint(DisplayList& out, const MapDevice& printer, const ClientRect& page);
    // One sector's walls moved by (dx, dz), with their pens and the selection mark.
    void DrawSectorWalls(DisplayList& out, int sector, double dx, double dz, bool blackWhite = false) const;
    // An object at its place moved by (dx, dz): a square in its colour (frames with a dot beyond
    // each side); selected objects get the ring and heading tick around it.
    void DrawObject(DisplayList& out, const CDataObjectItem& object, bool selected, double dx, double dz,
                    bool blackWhite = false) const;
    // Half the side of an object's square, in pixels beyond its centre pixel: the object's world
    // size at the view's scale, but never so small that it is hard to see or to click.
    static int ObjectHalfSize(const MapViewport& view);
    // How far from its centre pixel an object's symbol reaches on either axis (a frame's dots lie
    // one pixel beyond the square); a click this close picks the object.
    static int ObjectReach(const CDataObjectItem& object, const MapViewport& view);
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
    // The geometry changed, within the scope when one is given: what drawing keeps from draw to
    // draw (the objects' sectors, the walls facing signs) is brought up to date.
    void GeometryChanged(const ChangeScope* scope);
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
    mutable MirrorSignTable m_MirrorSigns;
    // Changed since the last assignment, when not every object is dirty.
    std::vector<int> m_DirtySectors;
    std::vector<int> m_DirtyObjects;
};

} // namespace morvi
