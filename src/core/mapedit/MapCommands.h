#pragma once

#include "app/CommandIds.h"
#include "mapedit/ClipboardLibrary.h"
#include "mapedit/EditContext.h"

namespace morvi {

// The map editing commands under their command ids, and when each is enabled.
enum class MapCommand : int {
    Insert = cmd::kInsert,
    Delete = cmd::kDelete,
    Cut = cmd::kCut,
    Copy = cmd::kCopy,
    Paste = cmd::kPaste,
    Link = cmd::kLink,
    Unlink = cmd::kUnlink,
    Extrude = cmd::kExtrude,
    FlipAndRotate = cmd::kFlipRotate,
    FlipLeft = cmd::kFlipLeft,
    FlipTop = cmd::kFlipTop,
    RotateLeft = cmd::kRotateLeft,
    RotateRight = cmd::kRotateRight,
    Scaling = cmd::kScaling,
    Distribution = cmd::kDistribution,
    Alignment = cmd::kAlignment,
    ChangeOffsets = cmd::kChangeOffsets,
    CreateDoor = cmd::kCreateDoor,
    CreateStaircase = cmd::kCreateStaircase,
    CreateElevator = cmd::kCreateElevator,
    CreateCylinder = cmd::kCreateCylinder,
    LibraryLoad = cmd::kLibraryLoad,
    LibrarySave = cmd::kLibrarySave,
};

// Whether the command can run on the engine's mode and selection (Paste: on the clipboard's
// contents).
bool IsMapCommandEnabled(const EditContext& ctx, MapCommand command, const ClipboardBuffer& clipboard);
// The Yes/No question to ask before the command runs; nullptr for none.
const char* MapCommandConfirmation(MapCommand command);

} // namespace morvi
