#pragma once

#include "mapedit/EditContext.h"
#include "mapedit/EditResult.h"
#include "model/CDataLevel.h"

namespace morvi {

// The map commands that change the level's structure: insert, delete, link and unlink. They keep
// every cross reference of the level in step: wall vertex indices, adjoin/mirror/walk, the
// objects' sectors and the wall numbers of the INF items of named sectors.

inline constexpr const char* kWallDeletionRefused =
    "Deletion of wall not possible.\n\nSectors must have at least three walls.";
inline constexpr const char* kVertexDeletionRefused =
    "Deletion of vertex not possible.\n\nSectors must have at least three walls.";
// Cut asks this (Yes/No) before it deletes; Delete asks nothing.
inline constexpr const char* kCutConfirmation = "Are you sure you want to delete\nthe selected items?";
inline constexpr const char* kExtrudeRefused =
    "Extruding of wall not possible since\nthe wall is linked to another wall.";

// ---- Level operations ---------------------------------------------------------------------------
// Splits a wall at its midpoint (rounded to hundredths); an adjoined wall's partner is split too
// and the four halves form two mirror pairs. Nothing happens for a wall that does not exist.
EditResult SplitWall(CDataLevel& level, int sector, int wall);
// Deletes a wall and the corner at its left vertex; an adjoined partner loses the same corner.
// Refused when the wall's loop, or the partner's, would keep fewer than three walls.
EditResult DeleteWall(CDataLevel& level, int sector, int wall);
// Deletes a sector with its objects and INF items. Its neighbours keep their shared walls,
// unlinked; an island takes its hole in the container along, a container its islands. Every
// other sector's adjoins and walks and every object's sector follow the shifted indices.
EditResult DeleteSector(CDataLevel& level, int sector);

// Adjoins two walls to each other (the caller has checked that they run over the same points).
void LinkWalls(CDataLevel& level, int sector, int wall, int otherSector, int otherWall);
// The container gains a loop running backwards around the island, each of its walls the mirror
// of the island's matching wall.
void MakeIsland(CDataLevel& level, int island, int container);

// ---- Commands on the engine's selection ---------------------------------------------------------
// Insert in wall, vertex and object mode: splits the selected wall (or the wall starting at the
// selected vertex), or adds a sprite at the view's centre and selects it. Sector mode's insert is
// InsertPolygon (Generators.h), which needs its dialog's values; it changes nothing here.
EditResult InsertAtSelection(const EditContext& ctx);
// Deletes every selected item of the edit mode, highest index first, and clears the selection.
EditResult DeleteSelection(const EditContext& ctx);
// Sector mode: makes the selected, unlinked sector an island of the last sector of the current
// layer whose first loop holds it on screen. Wall mode: adjoins the selected wall with the first
// unlinked wall running exactly the other way over the same two points. Silent when none fits.
EditResult LinkSelection(const EditContext& ctx);
// Wall mode: a four-wall sector of the given depth built outward on the selected wall, taking the
// old sector's light, altitudes, flags and layer and the wall's looks, linked to the wall; the
// selection becomes its shared wall. Refused for an adjoined wall.
EditResult ExtrudeSelection(const EditContext& ctx, double depth = 8.0);
// Unlinks the selected wall and its partner in another sector.
EditResult UnlinkSelection(const EditContext& ctx);

// ---- When the commands are enabled --------------------------------------------------------------
bool CanInsert(const EditContext& ctx);
bool CanDelete(const EditContext& ctx);
bool CanLink(const EditContext& ctx);
bool CanUnlink(const EditContext& ctx);
bool CanExtrude(const EditContext& ctx);

} // namespace morvi
