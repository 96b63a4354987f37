#include "mapedit/MapCommands.h"

#include "mapedit/Generators.h"
#include "mapedit/StructuralEdits.h"

namespace morvi {

namespace {

bool SectorsSelected(const EditContext& ctx, std::size_t atLeast) {
    return ctx.document().m_nMode == kModeSector && ctx.selection().size() >= atLeast;
}

} // namespace

bool IsMapCommandEnabled(const EditContext& ctx, MapCommand command, const ClipboardBuffer& clipboard) {
    switch (command) {
    case MapCommand::Insert:
        return CanInsert(ctx);
    case MapCommand::Delete:
        return CanDelete(ctx);
    case MapCommand::Cut:
        return CanCut(ctx);
    case MapCommand::Copy:
        return CanCopy(ctx);
    case MapCommand::Paste:
        return CanPaste(clipboard);
    case MapCommand::Link:
        return CanLink(ctx);
    case MapCommand::Unlink:
        return CanUnlink(ctx);
    case MapCommand::Extrude:
        return CanExtrude(ctx);
    case MapCommand::FlipAndRotate:
    case MapCommand::FlipLeft:
    case MapCommand::FlipTop:
    case MapCommand::RotateLeft:
    case MapCommand::RotateRight:
    case MapCommand::Scaling:
    case MapCommand::ChangeOffsets:
    case MapCommand::LibrarySave:
        return SectorsSelected(ctx, 1);
    case MapCommand::Distribution:
        return SectorsSelected(ctx, 3);
    case MapCommand::Alignment:
        return SectorsSelected(ctx, 1) ||
               (ctx.document().m_nMode == kModeWall && ctx.selection().size() >= 2);
    case MapCommand::CreateDoor:
    case MapCommand::CreateStaircase:
    case MapCommand::CreateElevator:
        return CanCreatePassage(ctx);
    case MapCommand::CreateCylinder:
        return CanCreateCylinder(ctx);
    case MapCommand::LibraryLoad:
        // Loaded sectors become the selection, so the selection must be empty to start with.
        return SectorsSelected(ctx, 0) && ctx.selection().empty();
    }
    return false;
}

const char* MapCommandConfirmation(MapCommand command) {
    switch (command) {
    case MapCommand::Cut:
        return kCutConfirmation;
    case MapCommand::FlipLeft:
    case MapCommand::FlipTop:
        return "Are you sure you want to flip\nthe selected items?";
    case MapCommand::RotateLeft:
    case MapCommand::RotateRight:
        return "Are you sure you want to rotate\nthe selected items?";
    default:
        return nullptr;
    }
}

} // namespace morvi
