#pragma once

#include "document/Selection.h"
#include "infedit/InfLineEdit.h"
#include "infedit/InfPages.h"
#include "model/CDataInf.h"
#include "model/CDataLevel.h"
#include "model/Status.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvi {

class CMorviDoc;

// The New/Add button makes an item on the Elevator, Trigger, Chute and Level pages (and reads
// "&New" there) and adds a line to the current item on the others ("&Add"). "&Edit" is shown on
// the same four pages.
bool InfPageMakesItem(InfPage page);
std::string_view InfNewAddLabel(InfPage page);
// The Elevator, Trigger and Chute pages open the item dialog right after "&New".
bool InfPageOpensItemDialog(InfPage page);
// "&Update" is for the pages from Chute on; Elevator and Trigger write every change at once.
bool InfPageHasUpdate(InfPage page);
// Whether the editor's "&Selection" button is enabled for the map's edit mode, the active page
// (none before a page was shown) and the number of selected map items.
bool InfSelectionEnabled(int mode, std::optional<InfPage> page, std::size_t selectedCount);

// The editor needs at least one named sector; otherwise the refusal to show instead of opening it.
Status InfEditorAvailable(const CDataLevel& level);

inline constexpr std::string_view kInfDeleteItemQuestion =
    "Are you sure you want to delete\nthe selected INF Definition?";
// The undo step OK makes.
inline constexpr std::string_view kInfEditorStepLabel = "INF Editor";

// A line row of the editor: the line split at its first tab, both halves trimmed ("stop:" and its
// parameters). A line without a tab is all keyword.
std::pair<std::string, std::string> SplitInfLine(std::string_view line);

// The pieces of an item's entry in the item list, before the list pads them to its columns: the
// type; the name for "sector" and "line" items; the number ("%d") for "line" items. Pieces an
// item does not show are empty.
struct InfItemEntry {
    std::string m_strType;
    std::string m_strName;
    std::string m_strNumber;
    bool operator==(const InfItemEntry&) const = default;
};
InfItemEntry InfItemEntryOf(const CDataInfItem& item);

// What the item dialog edits: the type ("sector", "line" or "level"), the sector name and the wall
// number of an item.
struct InfItemFields {
    std::string m_strType;
    std::string m_strName;
    int m_nNum = -1;
    bool operator==(const InfItemFields&) const = default;
};

// The item dialog's type list, in its order.
std::span<const std::string_view> InfItemTypes();

// Which of the item dialog's controls are enabled for the chosen type: the sector list for
// "sector" and "line", "Wall #" for "line" only, and its "&Selection" for those two types when
// exactly one map item is selected.
struct InfItemDialogState {
    bool m_bSector = false;
    bool m_bWall = false;
    bool m_bSelection = false;
    bool operator==(const InfItemDialogState&) const = default;
};
InfItemDialogState InfItemDialogEnabled(std::string_view type, std::size_t selectedCount);

// The item dialog's "&Selection": the first selected map item's sector name goes into the fields,
// and for a "line" item the selected wall's index into the number. An unnamed sector is refused
// with the message to show and the fields stay as they were; a selection without a sector
// changes nothing.
Status TakeItemSelection(InfItemFields& fields, const CDataLevel& level,
                         std::span<const CMapSelItem> selection);

// The INF editor's private copy of a level's INF items with the editor's current item and line.
// Every edit of the editor goes here; the level itself changes only at Commit, so that cancelling
// the editor leaves it as it was.
class InfWorkingCopy {
public:
    // No item is current yet: the editor chooses FirstItemFor the map's selection.
    explicit InfWorkingCopy(const CDataLevel& level);

    const CDataInf& Inf() const { return m_Inf; }
    int ItemCount() const { return static_cast<int>(m_Inf.m_pItems.size()); }
    // nullptr for an index out of range.
    const CDataInfItem* Item(int index) const;
    std::vector<InfItemEntry> ItemEntries() const;

    // Every distinct non-empty sector name of the level, sorted as the editor's lists show them
    // (ignoring case). The list is taken when the copy is made; RefreshSectorNames takes it again
    // after a sector was renamed while the editor is open.
    const std::vector<std::string>& SectorNames() const { return m_SectorNames; }
    void RefreshSectorNames(const CDataLevel& level);

    // The current item (-1 none) and its current line (-1 none). Choosing an item clears the
    // current line; an index out of range chooses nothing.
    int CurrentItem() const { return m_nItem; }
    int CurrentLine() const { return m_nLine; }
    const CDataInfItem* CurrentItemPtr() const { return Item(m_nItem); }
    void ChooseItem(int index);
    void ChooseLine(int index);

    // The item to show first for the map's selection when exactly one map item is selected: in
    // sector mode the first item named as the selected sector, in wall mode the first item named as
    // the wall's sector whose number is the wall's index (names compare ignoring case, as the game
    // reads them). Otherwise, and when nothing matches, the first item; -1 when there is none.
    int FirstItemFor(const CDataLevel& level, int mode, std::span<const CMapSelItem> selection) const;

    // Writes a page's line edit into the current item; false when nothing changed (no current
    // item, or a keyword that may occur many times with no current line). The current line stays
    // the current line while it exists. Keywords are found in the lines' keyword part ignoring case.
    // A class edit on an item without a class line puts one in front.
    bool Apply(const InfLineEdit& edit);

    // Moves the dragged line of the current item: a drop index equal to the number of lines moves
    // it to the end, any other drop index exchanges the two lines. The first line is locked:
    // nothing moves from or to index 0. The moved line becomes the current line. False when
    // refused or out of range.
    bool MoveLine(int from, int dropIndex);

    // "&New" on page 0, 1, 2 or 9: appends an item with the page's default lines and makes it
    // current, its class (or, for page 9, its "amb_sound:") line current. Items of pages 0 to 2
    // are named after the first sector name of the list; when the level has no named sector left
    // they are refused with the editor's no-named-sector message and nothing changes. Other pages
    // make nothing.
    Status NewItem(InfPage page);
    // Removes the item the last NewItem made when its item dialog was cancelled, then chooses the
    // first item. False when no item is waiting for its dialog.
    bool CancelNewItem();
    // "&Add" on pages 3 to 8 and 10: appends the page's default line to the current item and makes
    // it current (the page then writes its fields into it). False without a current item or on
    // another page.
    bool AddLine(InfPage page);

    // Removes the current line; no line is current afterwards. False when none is current.
    bool DeleteLine();
    // Deletes the current item and chooses the first item. False when none is current.
    bool DeleteItem();

    // The item dialog: the current item's fields, and storing them into it (which also settles an
    // item NewItem made). False without a current item.
    InfItemFields ItemFields() const;
    bool ApplyItemFields(const InfItemFields& fields);

    // OK: the level's INF part becomes a copy of the working copy. The document form does it as
    // one undo step through the document's change funnel.
    void Commit(CDataLevel& level) const;
    void Commit(CMorviDoc& document) const;

private:
    CDataInfItem* MutableItem();
    void SetLine(CDataInfItem& item, const std::string& keyword, const std::string& value);
    // Line bookkeeping that keeps the current line on the same text.
    void InsertLine(CDataInfItem& item, int at, std::string line);
    void EraseLine(CDataInfItem& item, int at);

    CDataInf m_Inf;
    std::vector<std::string> m_SectorNames;
    int m_nItem = -1;
    int m_nLine = -1;
    // The item NewItem made while its item dialog is open; -1 when none.
    int m_nNewItem = -1;
};

} // namespace morvi
