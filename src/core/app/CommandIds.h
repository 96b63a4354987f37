#pragma once

// The editor's command ids: the one list every menu, tool bar, map view, map command and test
// refers to, so that an id always means the same command.
namespace morvi::cmd {
inline constexpr int kNew = 57600, kOpen = 57601, kClose = 57602, kSave = 57603, kSaveAs = 57604;
inline constexpr int kPrintSetup = 57606, kPrint = 57607, kPrintPreview = 57609, kRecentFile = 57616;
inline constexpr int kExit = 57665, kSaveAll = 32837, kExportMap = 32900;
inline constexpr int kUndo = 57643, kRedo = 57644, kCut = 57635, kCopy = 57634, kPaste = 57637;
inline constexpr int kInsert = 32809, kDelete = 32810, kLibraryLoad = 32872, kLibrarySave = 32873;
inline constexpr int kLink = 32815, kUnlink = 32816, kProperties = 32804;
inline constexpr int kPerspective = 32861, kSector = 32773, kWall = 32774, kVertex = 32799, kObject = 32775;
inline constexpr int kStandardBar = 59392, kViewBar = 32835, kToolBar = 32860, kStatusBar = 59393;
inline constexpr int kZoomIn = 32785, kZoomOut = 32784, kZoomNormalize = 32842;
inline constexpr int kGridZoomIn = 32786, kGridZoomOut = 32787, kGridOn = 32789;
inline constexpr int kLayerUp = 32796, kLayerDown = 32797, kAllLayers = 32798;
inline constexpr int kToolNormal = 32849, kToolAmbiance = 32845, kToolDamage = 32846, kToolAltitude = 32847;
inline constexpr int kToolSkies = 32848, kToolObjects = 32879, kChangeTool = 32834, kStatistics = 32854;
inline constexpr int kOptions = 32805, kFiles = 32833, kFindSector = 32841, kChangeOffsets = 32874;
inline constexpr int kDistribution = 32829, kAlignment = 32830, kFlipRotate = 32824, kScaling = 32836;
inline constexpr int kExtrude = 32831, kFlipLeft = 32825, kFlipTop = 32826, kRotateRight = 32827;
inline constexpr int kRotateLeft = 32828, kCreateDoor = 32857, kCreateStaircase = 32852;
inline constexpr int kCreateElevator = 32858, kCreateCylinder = 32865;
inline constexpr int kInfEditor = 32818, kGolEditor = 32819, kLvlEditor = 32822, kMsgEditor = 32823;
inline constexpr int kAuxEditor = 32869, kLfdManager = 32863, kGobManager = 32867, kFilmManager = 32876;
inline constexpr int kTestGob = 32806, kCheckLevel = 32901, kHistory = 32902;
inline constexpr int kNewWindow = 57648, kCascade = 57650, kTile = 57651, kArrangeIcons = 57649;
inline constexpr int kHelpTopics = 57667, kHelpIndex = 57666, kAbout = 57664, kContextHelp = 57669;
inline constexpr int kTipOfTheDay = 504, kNextPane = 57680, kPrevPane = 57681;
// The map view's scroll commands: line and page scrolls, and what the arrow and page keys send
// (plain, then with Ctrl).
inline constexpr int kScrollLineLeft = 103, kScrollLineRight = 104, kScrollLineUp = 105,
                     kScrollLineDown = 106;
inline constexpr int kKeyLeft = 187, kKeyRight = 188, kKeyUp = 189, kKeyDown = 190;
inline constexpr int kScrollPageLeft = 108, kScrollPageRight = 110, kScrollPageUp = 109,
                     kScrollPageDown = 111;
inline constexpr int kPageUpKey = 176, kPageDownKey = 177;
} // namespace morvi::cmd
