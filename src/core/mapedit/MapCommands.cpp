#include "mapedit/MapCommands.h"

#include "mapedit/Generators.h"
#include "mapedit/StructuralEdits.h"

namespace morvi {

namespace {

bool SectorsSelected(CMapEngine& engine, std::size_t atLeast) {
    return engine.document().m_nMode == kModeSector && engine.selection().size() >= atLeast;
}

} // namespace

bool IsMapCommandEnabled(CMapEngine& engine, MapCommand command, const ClipboardBuffer& clipboard) {
    switch (command) {
    case MapCommand::Insert:
        return CanInsert(engine);
    case MapCommand::Delete:
        return CanDelete(engine);
    case MapCommand::Cut:
        return CanCut(engine);
    case MapCommand::Copy:
        return CanCopy(engine);
    case MapCommand::Paste:
        return CanPaste(clipboard);
    case MapCommand::Link:
        return CanLink(engine);
    case MapCommand::Unlink:
        return CanUnlink(engine);
    case MapCommand::Extrude:
        return CanExtrude(engine);
    case MapCommand::FlipAndRotate:
    case MapCommand::FlipLeft:
    case MapCommand::FlipTop:
    case MapCommand::RotateLeft:
    case MapCommand::RotateRight:
    case MapCommand::Scaling:
    case MapCommand::ChangeOffsets:
    case MapCommand::LibrarySave:
        return SectorsSelected(engine, 1);
    case MapCommand::Distribution:
        return SectorsSelected(engine, 3);
    case MapCommand::Alignment:
        return SectorsSelected(engine, 1) ||
               (engine.document().m_nMode == kModeWall && engine.selection().size() >= 2);
    case MapCommand::CreateDoor:
    case MapCommand::CreateStaircase:
    case MapCommand::CreateElevator:
        return CanCreatePassage(engine);
    case MapCommand::CreateCylinder:
        return CanCreateCylinder(engine);
    case MapCommand::LibraryLoad:
        // Loaded sectors become the selection, so the selection must be empty to start with.
        return SectorsSelected(engine, 0) && engine.selection().empty();
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
