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
// A deletion that would make the walls left cross, or part a linked wall from its partner, is
// refused too: the level keeps sound sectors.
inline constexpr const char* kWallDeletionCrosses =
    "Deletion of wall not possible.\n\nThe walls left would cross.";
inline constexpr const char* kVertexDeletionCrosses =
    "Deletion of vertex not possible.\n\nThe walls left would cross.";
inline constexpr const char* kWallDeletionParts =
    "Deletion of wall not possible.\n\nA linked wall would no longer meet its partner:\nunlink it first.";
inline constexpr const char* kVertexDeletionParts =
    "Deletion of vertex not possible.\n\nA linked wall would no longer meet its partner:\nunlink it first.";
// Cut asks this (Yes/No) before it deletes; Delete asks nothing.
inline constexpr const char* kCutConfirmation = "Are you sure you want to delete\nthe selected items?";
inline constexpr const char* kExtrudeRefused =
    "Extruding of wall not possible since\nthe wall is linked to another wall.";
inline constexpr const char* kExtrudeTooShallow = "Extruding of wall not possible:\nthe depth is too small.";
inline constexpr const char* kExtrudeTooShallowForGrid =
    "Extruding of wall not possible:\nthe depth is too small for the grid.";
inline constexpr const char* kSplitTooShort = "Splitting of wall not possible.\n\nThe wall is too short.";

// ---- Level operations ---------------------------------------------------------------------------
// Splits a wall at its midpoint (rounded to hundredths); an adjoined wall's partner is split too
// and the four halves form two mirror pairs. Nothing happens for a wall that does not exist.
EditResult SplitWall(CDataLevel& level, int sector, int wall);
// Deletes a wall and the corner at its left vertex; an adjoined partner loses the same corner.
// Refused when the wall's loop, or the partner's, would keep fewer than three walls, when the wall
// that moves onto the kept corner would cross another or lose its length, and when a linked wall
// that moves would no longer meet its partner.
EditResult DeleteWall(CDataLevel& level, int sector, int wall);
// Deletes a sector with its objects and INF items. Its neighbours keep their shared walls,
// unlinked; an island takes its hole in the container along, a container its islands. Every
// other sector's adjoins and walks and every object's sector follow the shifted indices.
EditResult DeleteSector(CDataLevel& level, int sector);

// A four-wall sector on wall w of sector s, running from the wall's left end to farLeft and
// farRight and back to its right end, with the light, altitudes, flags and layer of sector s and
// the wall's looks, linked to the wall; returns its index. The caller has checked the corners.
int ExtrudeWallTo(CDataLevel& level, int s, int w, const CDataVertex& farLeft, const CDataVertex& farRight);
// Adjoins two walls to each other (the caller has checked that they run over the same points).
void LinkWalls(CDataLevel& level, int sector, int wall, int otherSector, int otherWall);
// The container gains a loop running backwards around the island, each of its walls the mirror
// of the island's matching wall.
void MakeIsland(CDataLevel& level, int island, int container);

// ---- Commands on the engine's selection ---------------------------------------------------------
// Insert in wall, vertex and object mode: splits the selected wall (or the wall starting at the
// selected vertex; refused when its midpoint would fall on an end), or adds a sprite at the view's
// centre and selects it. Sector mode's insert is InsertPolygon (Generators.h), which needs its
// dialog's values; it changes nothing here.
EditResult InsertAtSelection(const EditContext& ctx);
// Deletes every selected item of the edit mode, highest index first, and clears the selection.
EditResult DeleteSelection(const EditContext& ctx);
// Sector mode: makes the selected, unlinked sector an island of the last sector of the current
// layer whose first loop holds it on screen and whose walls it crosses nowhere. Wall mode: adjoins
// the selected wall with the first unlinked wall running exactly the other way over the same two
// points. Silent when none fits.
EditResult LinkSelection(const EditContext& ctx);
// Wall mode: a four-wall sector of the given depth built outward on the selected wall, taking the
// old sector's light, altitudes, flags and layer and the wall's looks, linked to the wall; the
// selection becomes its shared wall. Refused for an adjoined wall, and when the far corners (on
// the grid, when it is on) would fall onto the near ones or cross over.
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
