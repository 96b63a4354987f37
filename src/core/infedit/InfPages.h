#pragma once

#include "infedit/InfLineEdit.h"
#include "model/CDataInfItem.h"
#include "model/Status.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

class CDataInf;
class CDataLevel;

// The INF editor's pages, in the order of their tabs. Each page knows one kind of line: it loads its
// controls from a line's parameters and writes them back as a line edit for the working copy. The
// Elevator and Trigger pages show a whole item and write every control change at once.
enum class InfPage { Elevator, Trigger, Chute, Stop, Adjoin, Message, Page, Text, Sound, Level, Texture };
inline constexpr int kInfPageCount = 11;

// The tab caption of a page.
const char* InfPageCaption(InfPage page);

// ---- Vocabularies ---------------------------------------------------------------------------

inline constexpr std::array<std::string_view, 21> kElevatorClasses{
    "elevator basic",          "elevator basic_auto",        "elevator change_light",
    "elevator change_offset",  "elevator change_wall_light", "elevator door",
    "elevator door_inv",       "elevator door_mid",          "elevator inv",
    "elevator morph_move1",    "elevator morph_move2",       "elevator morph_spin1",
    "elevator morph_spin2",    "elevator move_ceiling",      "elevator move_fc",
    "elevator move_floor",     "elevator move_wall",         "elevator rotate_wall",
    "elevator scroll_ceiling", "elevator scroll_floor",      "elevator scroll_wall"};
inline constexpr std::array<std::string_view, 5> kTriggerClasses{
    "trigger", "trigger single", "trigger standard", "trigger switch1", "trigger toggle"};
inline constexpr std::array<std::string_view, 2> kMasterChoices{"on", "off"};
inline constexpr std::array<std::string_view, 3> kKeyChoices{"blue", "red", "yellow"};
inline constexpr std::array<std::string_view, 4> kFlagsChoices{"1", "2", "3", "7"};

// An entry of a multiple-selection list that stands for a bit value.
struct InfNamedBit {
    std::string_view m_Name;
    std::uint32_t m_nValue;
};

// The event lists (event mask and trigger event): entry k stands for bit k.
inline constexpr std::array<InfNamedBit, 10> kInfEvents{{{"Walk From Inside", 1},
                                                         {"Walk From Outside", 2},
                                                         {"Enter Sector", 4},
                                                         {"Leave Sector", 8},
                                                         {"Nudge From Inside", 16},
                                                         {"Nudge From Outside", 32},
                                                         {"Blast", 64},
                                                         {"Unknown", 128},
                                                         {"Fire", 256},
                                                         {"Jump", 512}}};
inline constexpr std::array<InfNamedBit, 3> kInfEntities{
    {{"Player", 0x80000000u}, {"Enemy", 1}, {"Weapon", 8}}};
inline constexpr std::uint32_t kAllInfEntities = 0x80000009u;

// The message page's word buttons, in the order in which a loaded word is searched for them.
struct InfMessageWord {
    std::string_view m_Label; // the button's text
    std::string_view m_Word;  // what it writes
};
inline constexpr std::array<InfMessageWord, 12> kInfMessageWords{{{"next_stop", "next_stop"},
                                                                  {"prev_stop", "prev_stop"},
                                                                  {"goto_stop", "goto_stop"},
                                                                  {"complete", "complete"},
                                                                  {"done", "done"},
                                                                  {"wakeup", "wakeup"},
                                                                  {"master_on", "master_on"},
                                                                  {"master_off", "master_off"},
                                                                  {"m_trigger", "m_trigger"},
                                                                  {"clear_bits", "clear_bits"},
                                                                  {"set_bits", "set_bits"},
                                                                  {"system lights", "lights"}}};

// The level-dependent lists the pages choose from.
struct InfVocabulary {
    std::vector<std::string> m_Sectors; // every distinct non-empty sector name, sorted
    std::vector<std::string> m_Sounds;  // the ".voc" names, lower-cased, sorted
};

// The sorted distinct non-empty sector names of the level (the pages' sector lists and the item
// dialog's "Sector" list).
std::vector<std::string> SortedSectorNames(const CDataLevel& level);
// The sound file list: every name containing ".voc" (any case), lower-cased, from the game's sound
// archive directory and then from the level's own sound members; sorted, each name once.
std::vector<std::string> SoundFileList(const CDataLevel& level, std::span<const std::string> archiveNames);
InfVocabulary MakeInfVocabulary(const CDataLevel& level, std::span<const std::string> archiveSoundNames);
// The "sound:" page's list: "0" first, then the sound files.
std::vector<std::string> SoundPageList(const InfVocabulary& vocabulary);

// Choosing in a list by name: the entry that equals name as a whole, in any case; empty when the
// list holds no such entry (the list is then left without a choice).
std::string ChooseInList(std::span<const std::string> list, std::string_view name);
std::string ChooseInList(std::span<const std::string_view> list, std::string_view name);
// The entries of a multiple-selection list that any of names chooses, in list order.
std::vector<std::string> SelectInList(std::span<const std::string> list, std::span<const std::string> names);
// The bits of value that the table's entries stand for: what a multiple-selection list of them
// shows for a loaded value.
std::uint32_t SelectedBits(std::span<const InfNamedBit> table, std::uint32_t value);

// ---- Elevator and Trigger: loaded from the whole item, written per control ------------------

struct ElevatorFields {
    std::string m_strClass;  // chosen in the class list, empty when none
    std::string m_strMaster; // "on", "off" or empty
    std::string m_strKey;    // "blue", "red", "yellow" or empty
    std::string m_strSpeed;
    std::string m_strAngle;
    std::string m_strCenter;
    std::string m_strStart;
    std::string m_strFlags; // a flags choice or empty
    bool m_bEventMask = false;
    std::uint32_t m_nEvents = 0;       // the bits of the selected events
    std::vector<std::string> m_Slaves; // the selected sectors, in list order
    bool operator==(const ElevatorFields&) const = default;
};

enum class ElevatorControl {
    Class,
    Master,
    Key,
    Speed,
    Angle,
    Center,
    Start,
    Flags,
    EventMaskBox,
    EventList,
    Slaves
};

// Class list set to the item's class text, then every line fills its field; every "slave:" line
// selects that sector.
ElevatorFields LoadElevator(const CDataInfItem& item, const InfVocabulary& vocabulary);
// The edit that one control writes as the fields stand: the class replaces the class line, "slave:"
// lines go by the list rule, everything else is set (an empty value removes the line). The event
// mask box and the event list write the same line: the sum of the events when there are any, "0"
// when only the box is checked, removed otherwise.
InfLineEdit WriteElevator(const ElevatorFields& fields, ElevatorControl control);
// After the user changed one control (already stored in fields): checking or clearing the event
// mask box deselects every event, choosing events checks the box when their sum is above 0 and
// clears it otherwise. Returns the edit to apply at once.
InfLineEdit ElevatorControlChanged(ElevatorFields& fields, ElevatorControl control);

struct TriggerFields {
    std::string m_strClass;
    std::string m_strMaster;
    bool m_bEventMask = false;
    std::uint32_t m_nEvents = 0;
    std::uint32_t m_nEntities = 0; // OR of the selected entities' values
    std::uint32_t m_nEvent = 0;    // the "Event:" list's bits
    std::vector<std::string> m_Clients;
    bool operator==(const TriggerFields&) const = default;
};

enum class TriggerControl { Class, Master, EventMaskBox, EventList, EntityMask, Event, Clients };

TriggerFields LoadTrigger(const CDataInfItem& item, const InfVocabulary& vocabulary);
// Entity mask: "*" for all three entities, removed for none, otherwise the value as unsigned
// decimal. "event:" the sum of the events, removed when 0. "client:" lines by the list rule.
InfLineEdit WriteTrigger(const TriggerFields& fields, TriggerControl control);
InfLineEdit TriggerControlChanged(TriggerFields& fields, TriggerControl control);

// ---- The line pages: loaded from one line's parameters, written on Update --------------------

struct ChuteFields {
    std::string m_strTarget; // chosen in the sector list
    bool operator==(const ChuteFields&) const = default;
};
ChuteFields LoadChute(std::string_view parameters, const InfVocabulary& vocabulary);
// Nothing when no target is chosen.
std::optional<InfLineEdit> WriteChute(const ChuteFields& fields);

enum class StopKind { None, Time, Hold, Terminate, Complete };
struct StopFields {
    bool m_bAt = false;
    std::string m_strValue; // the chosen sector or the typed text
    StopKind m_Kind = StopKind::Hold;
    std::string m_strTime; // shown while the kind is Time
    bool operator==(const StopFields&) const = default;
};
StopFields LoadStop(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WriteStop(const StopFields& fields);

struct AdjoinFields {
    std::string m_strStop;
    std::string m_strSector1; // chosen in the sector list
    std::string m_strWall1;
    std::string m_strSector2; // chosen in the sector list
    std::string m_strWall2;
    bool operator==(const AdjoinFields&) const = default;
};
AdjoinFields LoadAdjoin(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WriteAdjoin(const AdjoinFields& fields);

struct MessageFields {
    std::string m_strStop;
    std::string m_strSector; // chosen in the sector list
    std::string m_strWall;
    int m_nWord = -1; // index into kInfMessageWords, -1 when no button is set
    std::string m_strParam1;
    std::string m_strParam2;
    bool operator==(const MessageFields&) const = default;
};
MessageFields LoadMessage(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WriteMessage(const MessageFields& fields);
// "&Selection" with one sector selected: the wall is emptied and the sector chosen.
void MessageFromSelectedSector(MessageFields& fields, std::string_view sectorName,
                               const InfVocabulary& vocabulary);
// "&Selection" with one wall selected: its sector chosen and its index as the wall; a sector
// without a name is refused and nothing changes.
Status MessageFromSelectedWall(MessageFields& fields, std::string_view sectorName, int wall,
                               const InfVocabulary& vocabulary);

struct PageFields {
    std::string m_strStop;
    std::string m_strSound; // chosen in the sound list
    bool operator==(const PageFields&) const = default;
};
PageFields LoadPage(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WritePage(const PageFields& fields);

struct TextFields {
    std::string m_strNumber;
    bool operator==(const TextFields&) const = default;
};
TextFields LoadText(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WriteText(const TextFields& fields);

struct SoundFields {
    std::string m_strValue;
    std::string m_strSound; // chosen in the sound page's list, which holds "0" too
    bool operator==(const SoundFields&) const = default;
};
SoundFields LoadSound(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WriteSound(const SoundFields& fields);

struct LevelFields {
    std::string m_strSound; // chosen in the sound list
    bool operator==(const LevelFields&) const = default;
};
LevelFields LoadLevel(std::string_view parameters, const InfVocabulary& vocabulary);
// Nothing when no sound file is chosen.
std::optional<InfLineEdit> WriteLevel(const LevelFields& fields);

struct TextureFields {
    std::string m_strStop;
    std::string m_strFlag;
    std::string m_strSector; // chosen in the sector list
    bool operator==(const TextureFields&) const = default;
};
TextureFields LoadTexture(std::string_view parameters, const InfVocabulary& vocabulary);
InfLineEdit WriteTexture(const TextureFields& fields);

// The part of a held line before its first tab (the keyword with its colon) and the part after it,
// both trimmed, as the line list shows them.
std::string_view InfKeyword(std::string_view line);
std::string_view InfParameters(std::string_view line);
// The words of a line's value, split at runs of blanks and tabs.
std::vector<std::string_view> InfWords(std::string_view text);

// ---- Which page shows what -------------------------------------------------------------------

// The page an item shows when it is chosen: a class line with "elevator" gives the Elevator page,
// one with "trigger" the Trigger page, an "amb_sound" line the Level page; nothing otherwise.
std::optional<InfPage> PageForItem(const CDataInfItem& item);
// The page a row of the line list shows, by the keyword before the line's first tab ("class:" by
// its parameters, "event_mask:" by the item's type); nothing for a keyword no page shows.
std::optional<InfPage> PageForLine(const CDataInfItem& item, std::string_view line);

// The page that loads the line: the page its row shows, else the Elevator or Trigger page the item
// shows when that page fills a field from the line ("master:", "slave:", "client:", ...); nothing
// for a line that stays as text.
std::optional<InfPage> PageLoadingLine(const CDataInfItem& item, std::string_view line);

// The line at index line loaded into the page that loads it and written back: keyword, tab and
// value, as the page writes it (an empty value where the page would remove the line or write
// nothing). The Elevator and Trigger pages load the whole item and write that line's control; for a
// "slave:" or "client:" line that is the line's own name as the list holds it, or nothing after
// the tab when the list does not hold it. Nothing when no page loads the line, or when the page
// writes another keyword (the chute page on its class row).
std::optional<std::string> RoundTripLine(const CDataInfItem& item, std::size_t line,
                                         const InfVocabulary& vocabulary);

// Two lines mean the same when their words do: blanks aside, names compared as the game compares
// them (without case) and numbers by value ("8" and "8.00").
bool SameInfMeaning(std::string_view a, std::string_view b);

struct InfRoundTripChange {
    int m_nItem = -1;
    int m_nLine = -1;
    std::string m_strBefore;
    std::string m_strAfter;
};

// Every line of the INF that a page loads, loaded and written back (RoundTripLine): the lines whose
// meaning changes on the way.
std::vector<InfRoundTripChange> InfRoundTripChanges(const CDataInf& inf, const InfVocabulary& vocabulary);

} // namespace morvi
