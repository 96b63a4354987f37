#pragma once

#include "mapedit/ClipboardLibrary.h"
#include "mapedit/EditContext.h"

namespace morvi {

// The map editing commands with their command ids, so that menus, tool bars and tests agree on
// which command is meant and when it is enabled.
enum class MapCommand : int {
    Insert = 32809,
    Delete = 32810,
    Cut = 57635,
    Copy = 57634,
    Paste = 57637,
    Link = 32815,
    Unlink = 32816,
    Extrude = 32831,
    FlipAndRotate = 32824,
    FlipLeft = 32825,
    FlipTop = 32826,
    RotateLeft = 32828,
    RotateRight = 32827,
    Scaling = 32836,
    Distribution = 32829,
    Alignment = 32830,
    ChangeOffsets = 32874,
    CreateDoor = 32857,
    CreateStaircase = 32852,
    CreateElevator = 32858,
    CreateCylinder = 32865,
    LibraryLoad = 32872,
    LibrarySave = 32873,
};

// Whether the command can run on the engine's mode and selection (Paste: on the clipboard's
// contents).
bool IsMapCommandEnabled(const EditContext& ctx, MapCommand command, const ClipboardBuffer& clipboard);
// The Yes/No question to ask before the command runs; nullptr for none.
const char* MapCommandConfirmation(MapCommand command);

} // namespace morvi
