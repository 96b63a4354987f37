#pragma once

#include "mapedit/ClipboardLibrary.h"
#include "mapedit/EditContext.h"
#include "mapedit/EditResult.h"
#include "model/CDataLevel.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace morvi {

// Generators build whole sectors from a few numbers: a regular polygon, a ring segment and the
// passages (door, staircase, elevator) between two walls.

inline constexpr const char* kIllegalSides = "Illegal number of Sides.";
inline constexpr const char* kIllegalRadius = "Illegal Radius.";
inline constexpr const char* kCylinderRadii = "The outer radius must be greater\nthan the inner radius.";
inline constexpr const char* kDoorBetweenLinked = "You cannot create a door\nbetween walls already linked.";
inline constexpr const char* kStaircaseBetweenLinked =
    "You cannot create a staircase\nbetween walls already linked.";
inline constexpr const char* kTooFewCorners =
    "These values give fewer than three distinct corners:\nno sector was made.";
inline constexpr const char* kCornersOverlap =
    "With these values the walls would cross or overlap:\nno sector was made.";
inline constexpr const char* kPolygonOutside =
    "The polygon does not fit inside the selected sector:\nnothing was made.";
inline constexpr const char* kWallsNotFacing = "The two walls do not face each other:\nno sector was made.";

// ---- Building blocks ----------------------------------------------------------------------------
// A sector with the generators' defaults (no walls yet): floor 0, ceiling -16, light 31, IF3.BM
// and IPBIGLT.BM, the given index and layer.
std::unique_ptr<CDataSector> NewGeneratedSector(CDataLev& lev, int index, int layer);
// The corners of a regular n-sided loop of radius r around the centre: clockwise on the map, or
// the other way for a hole. They go through the engine's SnapPoint when snap is set, else they
// are rounded to hundredths; corners that fall together are merged.
std::vector<CDataVertex> PolygonCorners(const EditContext& ctx, int sides, double radius, WorldPoint centre,
                                        bool snap, bool hole);
// Appends a closed loop through the corners to the sector: wall i runs from corner i to the next
// and carries the generators' wall texture.
void AppendLoop(CDataLev& lev, CDataSector& sector, std::span<const CDataVertex> corners);

// ---- Insert Polygon -----------------------------------------------------------------------------
enum class PolygonKind { NewSector, Subsector, Gap };
struct PolygonOptions {
    int m_nSides = 4;
    double m_dRadius = 40.0;
    PolygonKind m_Kind = PolygonKind::NewSector;
    bool m_bSnap = false;
};
// The dialog's check on OK: empty when accepted, else the message (the dialog stays open).
std::string ValidatePolygon(const PolygonOptions& options);
// Subsector and gap need exactly one selected sector.
bool CanInsertInsideSector(const EditContext& ctx);
// Sector mode's Insert: a new sector, a subsector (an island) of the selected sector or a gap
// (a hole loop) in it, centred on the view; the selection becomes the new (or holed) sector.
// Refused, with nothing changed, when the corners (snapped to the grid when asked) do not make a
// loop without crossing or overlapping walls, and when a subsector or gap would not lie inside the
// selected sector.
EditResult InsertPolygon(const EditContext& ctx, const PolygonOptions& options);

// ---- Cylinder ------------------------------------------------------------------------------------
struct CylinderOptions {
    int m_nSides = 8;
    int m_nAngle = 360;
    double m_dOuterRadius = 64.0;
    double m_dInnerRadius = 32.0;
    bool m_bSnap = false;
};
std::string ValidateCylinder(const CylinderOptions& options);
bool CanCreateCylinder(const EditContext& ctx);
// A ring segment of `angle` degrees between the two radii, centred on the view, as one sector
// whose loop runs along the inner arc and back along the outer; it becomes the selection. Refused
// when its walls (snapped to the grid when asked) would cross or overlap.
EditResult CreateCylinder(const EditContext& ctx, const CylinderOptions& options);

// ---- Passages between two walls -----------------------------------------------------------------
enum class PassageKind { Door, Staircase, Elevator };
struct PassageOptions {
    bool m_bSplitFirst = true;
    double m_dWidthFirst = 8.0;
    bool m_bSplitSecond = true;
    double m_dWidthSecond = 8.0;
    bool m_bSunken = true; // door and elevator: three sectors, the middle one the door or lift
    int m_nSteps = 3;      // staircase
    double m_dHeight = 8.0;
    bool m_bSnap = false;
};
// Wall mode, two walls selected in different sectors.
bool CanCreatePassage(const EditContext& ctx);
// The message to show (and cancel the dialog) when a selected wall is already adjoined; empty
// otherwise.
std::string PassageRefusal(const EditContext& ctx, PassageKind kind);
// The dialog's start values for the selected walls: the height is the smaller of the two
// sectors' heights, for a door or elevator at most 8.
PassageOptions PassageStart(const EditContext& ctx, PassageKind kind);
std::string ValidatePassage(const PassageOptions& options, PassageKind kind);
// Bridges the first selected wall to the second with sectors stepping between the two floors: the
// slices of the quadrilateral between the two joined walls, their corners on the grid when asked.
// A door gets its flag and faces, an elevator its name, textures and INF item. The selection is
// cleared afterwards. A wall asked to split in three that is not longer than the width is joined
// whole, and the result's notice names it. Every corner is worked out first: when the walls do not
// face each other, or a slice would not be a sound sector running the way the two sectors run,
// the passage is refused and nothing changes.
EditResult CreatePassage(const EditContext& ctx, PassageKind kind, const PassageOptions& options);

// The INF stop line for a floor altitude: stops count upwards, so the altitude is negated.
std::string ElevatorStopLine(double floorAltitude);

} // namespace morvi
