#pragma once

#include "document/ScopedSnapshot.h"
#include "document/Selection.h"
#include "model/Status.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataLevel;
class CMorviDoc;
class CDataObjectItem;

// The four properties panes, one per selection mode.
enum class PaneKind { Sector, Wall, Vertex, Object };
// The pane of an edit mode; none for the perspective mode.
std::optional<PaneKind> PaneKindForMode(int mode);
// The undo step an apply makes: "Sector Properties", "Wall Properties" ...
std::string_view PaneChangeLabel(PaneKind kind);

enum class FieldType {
    Text,    // any text, up to m_nMaxChars characters when that is not 0
    Integer, // a whole number, within [m_nMin, m_nMax] when m_bRanged
    Real,    // a number, stored rounded to hundredths
    Choice,  // one of the field's entries (or a value the list does not name, kept as it is)
    Lines,   // several lines (the object's logic: "key:<tab>value" per line)
};

// One field of a pane, as the pane lays it out and as the command line names it.
struct PaneField {
    std::string_view m_strKey;   // the command line's name: the label in lower case with dashes
    std::string_view m_strLabel; // the pane's label
    FieldType m_eType = FieldType::Text;
    bool m_bNegated = false; // shown and typed as minus the stored value
    bool m_bRanged = false;
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nMaxChars = 0;
};

std::span<const PaneField> PaneFields(PaneKind kind);
// The field's position in PaneFields(kind); -1 when the kind has no field of that key.
int FindPaneField(PaneKind kind, std::string_view key);
// The entries of a choice field ("Class:" and "Difficulty:"); empty for other fields.
std::span<const std::string_view> FieldChoices(PaneKind kind, int field);

// What a pane shows for the current selection.
struct PaneValues {
    // False when the selection holds no item of the pane's kind: every field is then disabled.
    bool m_bHasItem = false;
    std::string m_strTitle;
    // One text per field of PaneFields(kind), in that order (all empty without an item).
    std::vector<std::string> m_Texts;
};

// Reads the pane's item: the selection's first entry for sectors and walls, the one entry for
// vertices and objects (none when more are selected).
PaneValues ReadPane(PaneKind kind, const CDataLevel& level, std::span<const CMapSelItem> selection);

struct ApplyOptions {
    // A vertex that moves takes along every vertex of another sector lying exactly on it, so that
    // adjoined walls stay joined (the "Move Vertex" setting of the map's drags).
    bool m_bMoveCoincidentVertices = true;
};

struct ApplyResult {
    // The first refused field's message ("Please enter a number."); the model is then unchanged.
    Status m_Status;
    int m_nField = -1;
    // What the apply changed (ChangeFlags); nothing when every value was already stored.
    unsigned m_nChanged = 0;
};

// Checks every field, then stores them into the pane's item as the pane does: reals rounded to
// hundredths, negated fields negated back, texture names looked up (or added) in the texture
// table, a sector's new name carried into the INF items, the sector's ambient and textures and the
// wall's flags, light and textures copied to the further selected items. A refused field changes
// nothing at all.
ApplyResult ApplyPane(PaneKind kind, CDataLevel& level, std::span<const CMapSelItem> selection,
                      std::span<const std::string> texts, const ApplyOptions& options = {});

// What an apply of these texts may touch, for an undo step that keeps only that: the selected
// sectors (walls are kept with their sector) or the object, the tables, and the INF part when a
// sector's name is typed anew. None for vertices: a moved vertex takes along the corners of any
// sector lying on it.
std::optional<ChangeScope> PaneChangeScope(PaneKind kind, const CDataLevel& level,
                                           std::span<const CMapSelItem> selection,
                                           std::span<const std::string> texts);

// The kind of resource a pane's picker and preview show: ".bm" for sector and wall textures; for
// an object the extension of its class ("Sprite" ".wax", "Frame" ".fme", "3D" ".3do", "Sound"
// ".voc", any case), empty for spirits and safes.
std::string_view PaneResourceExtension(PaneKind kind, std::string_view objectClass);
// The name an object takes when its class is chosen anew: "SPIRIT", "SAFE", or empty for the
// classes whose resource is chosen next.
std::string_view NameForChosenClass(std::string_view objectClass);

// The field a resource picker's result fills: sector 0 floor and 1 ceiling texture, wall 0 mid,
// 1 top, 2 bottom and 3 sign texture, object 0 its resource name; -1 for none.
int PickerTargetField(PaneKind kind, int target);
// Takes a picker's choice into the pane's texts: the target's field gets the name in lower case;
// an object also gets the picker's class and the catalogue's logic lines for the name (its first
// sequence). False, and nothing changed, when the kind has no such target.
bool ApplyPickerResult(PaneKind kind, int target, std::string_view name, std::string_view classText,
                       std::vector<std::string>& texts);

// Applies the texts to the document's selection as one change of the document called
// PaneChangeLabel(kind): one undo step when anything changed, none when nothing did or a field
// was refused.
ApplyResult ApplyPaneChange(CMorviDoc& doc, PaneKind kind, std::span<const std::string> texts,
                            const ApplyOptions& options = {});

// ---- Rules the pane's widgets share ---------------------------------------------------------

// Field texts as the pane shows numbers: reals with up to 15 significant digits, never "-0".
std::string FormatReal(double value);
// The checks of a field's text. The number's value is returned through value.
Status ParseIntegerField(std::string_view text, const PaneField& field, int& value);
Status ParseRealField(std::string_view text, double& value);

// The "Difficulty:" entry for a stored value: -3, 0 and 1 "All levels", -2 "Easy & Medium", -1
// "Easy", 2 "Medium & Hard", 3 "Hard"; nullopt for any other value.
std::optional<int> DifficultyIndex(int diff);
// The stored value of an entry: 0, -2, -1, 2, 3.
int DifficultyValue(int index);

// The object's SEQ lines as the logic text shows them: "key:\tvalue\r\n" each, lower-cased.
std::string LogicText(const CDataObjectItem& object);
// The logic text's lines as key and value pairs, upper-cased. A line without a tab ends the text;
// the key is what stands before the tab less its closing colon.
std::vector<std::pair<std::string, std::string>> ParseLogicText(std::string_view text);

// The ranges of a texture's offset spin buttons: X from 0 to width / 8, Y from -(height / 8) to 0.
struct SpinRange {
    int m_nMin = 0;
    int m_nMax = 0;
};
struct OffsetRanges {
    SpinRange m_X;
    SpinRange m_Y;
};
OffsetRanges TextureOffsetRanges(int width, int height);
// The sign's: X from 0 to the wall's length, Y from -(floor altitude - ceiling altitude) to 0.
OffsetRanges SignOffsetRanges(const CDataLevel& level, int sector, int wall);

} // namespace morvi
