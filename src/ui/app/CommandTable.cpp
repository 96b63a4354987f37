#include "app/CommandTable.h"

#include <QStringList>

#include <algorithm>

namespace morvi::ui {

namespace {

// clang-format off
const std::vector<CommandInfo> kCommands = {
    // File
    {cmd::kNew, "&New", "Ctrl+N", "Create a new document"},
    {cmd::kOpen, "&Open...", "Ctrl+O", "Open an existing document or GOB archive"},
    {cmd::kClose, "&Close", nullptr, "Close the active document"},
    {cmd::kSave, "&Save", "Ctrl+S", "Save the active document"},
    {cmd::kSaveAs, "Save &As...", nullptr, "Save the active document with a new name"},
    {cmd::kSaveAll, "&Save A&ll", nullptr, "Save all documents as one GOB file"},
    {cmd::kExportMap, "E&xport Map...", nullptr, "Save the map as a PNG picture or an SVG drawing"},
    {cmd::kPrint, "&Print...", "Ctrl+P", "Print the map"},
    {cmd::kPrintPreview, "Print Pre&view", nullptr, "Show the map as it will be printed"},
    {cmd::kPrintSetup, "P&rint Setup...", nullptr, "Change the printer and printing options"},
    {cmd::kExit, "E&xit", nullptr, "Quit Morvi; asks to save documents"},
    // Edit
    {cmd::kUndo, "&Undo", "Ctrl+Z", "Undo the last action"},
    {cmd::kRedo, "&Redo", "Ctrl+Y;Ctrl+Shift+Z", "Redo the previously undone action"},
    {cmd::kHistory, "&History", nullptr, "List the changes; click one to go back or forward to it"},
    {cmd::kCut, "Cu&t", "Ctrl+X;Shift+Del", "Cut the selection and put it on the Clipboard"},
    {cmd::kCopy, "&Copy", "Ctrl+C;Ctrl+Ins", "Copy the selection and put it on the Clipboard"},
    {cmd::kPaste, "&Paste", "Ctrl+V;Shift+Ins", "Insert Clipboard contents"},
    {cmd::kInsert, "&Insert", "Ctrl+I;Ins", "Insert a sector, split a wall or add an object"},
    {cmd::kDelete, "&Delete", "Ctrl+D;Del", "Delete the selected items"},
    {cmd::kLibraryLoad, "Library, Load...", nullptr, "Insert sectors from a library file"},
    {cmd::kLibrarySave, "Library, Save...", nullptr, "Save the selected sectors as a library file"},
    {cmd::kLink, "&Link", "Ctrl+L", "Link the selected wall or make the selected sector an island"},
    {cmd::kUnlink, "&Unlink", "Ctrl+U", "Unlink the selected wall"},
    {cmd::kProperties, "&Properties...", "Alt+Return", "Show the properties of the selection", true},
    {cmd::kNextPane, "Next Pane", "F6", "Move the focus between the properties pane and the map"},
    {cmd::kPrevPane, "Previous Pane", "Shift+F6", "Move the focus between the properties pane and the map"},
    // View
    {cmd::kPerspective, "&Perspective", nullptr, "Walk through the level in 3D", true},
    {cmd::kSector, "&Sector", "S;F10", "Edit sectors", true},
    {cmd::kWall, "&Wall", "W", "Edit walls", true},
    {cmd::kVertex, "&Vertex", "V", "Edit vertices", true},
    {cmd::kObject, "&Object", "O", "Edit objects", true},
    {cmd::kStandardBar, "&Standard Toolbar", nullptr, "Show or hide the standard toolbar", true},
    {cmd::kViewBar, "&View Toolbar", nullptr, "Show or hide the view toolbar", true},
    {cmd::kToolBar, "&Tool Toolbar", nullptr, "Show or hide the tool toolbar", true},
    {cmd::kStatusBar, "&Status Bar", nullptr, "Show or hide the status bar", true},
    {cmd::kZoomIn, "Zoom &In", "+", "Zoom the map in"},
    {cmd::kZoomOut, "Zoom &Out", "-", "Zoom the map out"},
    {cmd::kZoomNormalize, "&Normalize", nullptr, "Fit the selection, or the whole level, into the window"},
    {cmd::kGridZoomIn, "Zoom &In", "G", "Make the grid finer"},
    {cmd::kGridZoomOut, "Zoom &Out", "Shift+G", "Make the grid coarser"},
    {cmd::kGridOn, "&On", nullptr, "Show the grid and snap to it", true},
    {cmd::kLayerUp, "&Up", nullptr, "Edit the layer above"},
    {cmd::kLayerDown, "&Down", nullptr, "Edit the layer below"},
    {cmd::kAllLayers, "&All", nullptr, "Show the sectors of every layer", true},
    {cmd::kToolNormal, "&Normal", nullptr, "Show sectors plainly", true},
    {cmd::kToolAmbiance, "&Ambiance", nullptr, "Shade sectors by their light", true},
    {cmd::kToolDamage, "&Damage", nullptr, "Show damaging floors", true},
    {cmd::kToolAltitude, "A&ltitude", nullptr, "Shade sectors by their floor altitude", true},
    {cmd::kToolSkies, "&Skies or Pits", nullptr, "Show skies and pits", true},
    {cmd::kToolObjects, "&Objects", nullptr, "Show the objects by difficulty", true},
    {cmd::kChangeTool, "Change &Tool", nullptr, "Switch to the next display tool"},
    {cmd::kStatistics, "St&atistics...", nullptr, "Count the level's contents"},
    // Tools
    {cmd::kOptions, "&Options...", nullptr, "Change the game paths and the editor's options"},
    {cmd::kFiles, "&Files...", nullptr, "Manage the level's resource files"},
    {cmd::kFindSector, "Fi&nd Sector...", nullptr, "Find a named sector"},
    {cmd::kCheckLevel, "Chec&k Level", nullptr, "List what is broken in the level: links, loops, indices"},
    {cmd::kChangeOffsets, "C&hange Offsets...", nullptr, "Move the selected sectors by given offsets"},
    {cmd::kDistribution, "&Distribution...", nullptr, "Spread altitudes and light over the selected sectors"},
    {cmd::kAlignment, "&Alignment...", nullptr, "Align wall textures"},
    {cmd::kFlipRotate, "Flip and &Rotate...", nullptr, "Flip or rotate the selected sectors"},
    {cmd::kScaling, "&Scaling...", nullptr, "Scale the selected sectors"},
    {cmd::kExtrude, "&Extrude...", nullptr, "Build a sector outward on the selected wall"},
    {cmd::kFlipLeft, "Flip &Left", nullptr, "Flip the selected sectors left to right"},
    {cmd::kFlipTop, "Flip &Top", nullptr, "Flip the selected sectors top to bottom"},
    {cmd::kRotateRight, "Rotate &Right", nullptr, "Rotate the selected sectors by -90 degrees"},
    {cmd::kRotateLeft, "Rotate L&eft", nullptr, "Rotate the selected sectors by 90 degrees"},
    {cmd::kCreateDoor, "&Door...", nullptr, "Create a door between the two selected walls"},
    {cmd::kCreateStaircase, "&Staircase...", nullptr, "Create a staircase between the two selected walls"},
    {cmd::kCreateElevator, "&Elevator...", nullptr, "Create an elevator between the two selected walls"},
    {cmd::kCreateCylinder, "&Cylinder...", nullptr, "Create a ring-shaped sector"},
    {cmd::kInfEditor, "&INF...", nullptr, "Select Info-file editor"},
    {cmd::kGolEditor, "&GOL...", nullptr, "Select Goal-file editor"},
    {cmd::kLvlEditor, "L&VL...", nullptr, "Select Level-file editor"},
    {cmd::kMsgEditor, "&MSG...", nullptr, "Select Message-file editor"},
    {cmd::kAuxEditor, "A&uxiliary Item...", nullptr, "Edit an auxiliary item"},
    {cmd::kLfdManager, "&LFD...", nullptr, "Manage LFD archives"},
    {cmd::kGobManager, "&GOB...", nullptr, "Manage GOB archives"},
    {cmd::kFilmManager, "&FILM...", nullptr, "Manage FILM files"},
    {cmd::kTestGob, "&Test GOB", "F9", "Run Dark Forces and test your GOB file"},
    // Window
    {cmd::kNewWindow, "&New Window", nullptr, "Open another window for the active document"},
    {cmd::kCascade, "&Cascade", nullptr, "Arrange windows so they overlap"},
    {cmd::kTile, "&Tile", nullptr, "Arrange windows as non-overlapping tiles"},
    {cmd::kArrangeIcons, "&Arrange Icons", nullptr, "Arrange the minimised windows"},
    // Help
    {cmd::kTipOfTheDay, "Ti&p of the Day...", nullptr, "Show a tip about using Morvi"},
    {cmd::kHelpTopics, "&Help Topics", "F1", "Open the manual"},
    {cmd::kHelpIndex, "Help &Index", nullptr, "Open the manual's index"},
    {cmd::kContextHelp, "What's &This?", "Shift+F1", "Help on the next thing clicked"},
    {cmd::kAbout, "&About Morvi...", nullptr, "Show the program's version"},
};
// clang-format on

} // namespace

const std::vector<CommandInfo>& Commands() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandInfo& c) { return c.m_nId == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

QList<QKeySequence> CommandKeys(const CommandInfo& command) {
    QList<QKeySequence> keys;
    if (!command.m_szKeys) return keys;
    for (const QString& key : QString::fromLatin1(command.m_szKeys).split(';')) {
        // The map zooms on the numeric pad's plus and minus.
        if (key == "+")
            keys.append(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus));
        else if (key == "-")
            keys.append(QKeySequence(Qt::KeypadModifier | Qt::Key_Minus));
        else
            keys.append(QKeySequence(key, QKeySequence::PortableText));
    }
    return keys;
}

} // namespace morvi::ui
