#include "infedit/InfPages.h"

#include "model/CDataLevel.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <charconv>

namespace morvi {

namespace {

// Loaders take the text up to the first blank, then go on after it; without a blank the whole
// rest is the token.
std::string_view TakeToken(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    const std::string_view token = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return token;
}

// A mask as the event and entity lists read it: a leading integer, 0 when there is none; "*"
// stands for every bit.
std::uint32_t ParseMask(std::string_view text) {
    text = Trim(text);
    if (text == "*") return 0xFFFFFFFFu;
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<std::uint32_t>(value);
}

template <typename List> std::string ChooseIn(const List& list, std::string_view name) {
    for (const auto& entry : list)
        if (EqualsNoCase(entry, name)) return std::string(entry);
    return {};
}

InfLineEdit SetLine(std::string_view keyword, std::string value) {
    InfLineEdit edit;
    edit.m_strKeyword = std::string(keyword);
    edit.m_strValue = std::move(value);
    return edit;
}

InfLineEdit ReplaceClass(std::string value) {
    InfLineEdit edit = SetLine("class:", std::move(value));
    edit.m_Rule = InfLineEdit::Rule::ReplaceClass;
    return edit;
}

InfLineEdit ListEdit(std::string_view keyword, std::vector<std::string> names) {
    InfLineEdit edit = SetLine(keyword, {});
    edit.m_Rule = InfLineEdit::Rule::List;
    edit.m_Names = std::move(names);
    return edit;
}

// The event mask box and the event list share one line: the sum of the events when any is chosen,
// "0" when only the box is checked, no line otherwise.
InfLineEdit EventMaskEdit(bool box, std::uint32_t events) {
    if (events > 0) return SetLine("event_mask:", std::to_string(events));
    return SetLine("event_mask:", box ? "0" : "");
}

// The index of the first message word found in token, -1 for none.
int FindMessageWord(std::string_view token) {
    if (token.empty()) return -1;
    for (std::size_t i = 0; i < kInfMessageWords.size(); ++i)
        if (ContainsNoCase(token, kInfMessageWords[i].m_Word)) return static_cast<int>(i);
    return -1;
}

bool IsMessageWord(std::string_view token) {
    return std::any_of(kInfMessageWords.begin(), kInfMessageWords.end(),
                       [token](const InfMessageWord& word) { return EqualsNoCase(token, word.m_Word); });
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::vector<std::string> SortedDistinct(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = ToLower(a), lb = ToLower(b);
        return la != lb ? la < lb : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace

const char* InfPageCaption(InfPage page) {
    static constexpr const char* kCaptions[kInfPageCount] = {
        "Elevator", "Trigger", "Chute",  "stop:", "adjoin:", "message:",
        "page:",    "text:",   "sound:", "Level", "texture:"};
    return kCaptions[static_cast<int>(page)];
}

// ---- Vocabularies ---------------------------------------------------------------------------

std::vector<std::string> SortedSectorNames(const CDataLevel& level) {
    std::vector<std::string> names;
    for (const auto& sector : level.m_Lev.m_pSectors)
        if (!sector->m_strName.empty()) names.push_back(sector->m_strName);
    return SortedDistinct(std::move(names));
}

std::vector<std::string> SoundFileList(const CDataLevel& level, std::span<const std::string> archiveNames) {
    std::vector<std::string> names;
    for (const std::string& name : archiveNames)
        if (ContainsNoCase(name, ".voc")) names.push_back(ToLower(name));
    for (const CDataGobEntry* member : level.m_Sounds)
        if (ContainsNoCase(member->m_strName, ".voc")) names.push_back(ToLower(member->m_strName));
    return SortedDistinct(std::move(names));
}

InfVocabulary MakeInfVocabulary(const CDataLevel& level, std::span<const std::string> archiveSoundNames) {
    return {SortedSectorNames(level), SoundFileList(level, archiveSoundNames)};
}

std::vector<std::string> SoundPageList(const InfVocabulary& vocabulary) {
    std::vector<std::string> list{"0"};
    list.insert(list.end(), vocabulary.m_Sounds.begin(), vocabulary.m_Sounds.end());
    return list;
}

std::string ChooseInList(std::span<const std::string> list, std::string_view name) {
    return ChooseIn(list, name);
}

std::string ChooseInList(std::span<const std::string_view> list, std::string_view name) {
    return ChooseIn(list, name);
}

std::vector<std::string> SelectInList(std::span<const std::string> list, std::span<const std::string> names) {
    std::vector<std::string> selected;
    for (const std::string& entry : list)
        if (std::any_of(names.begin(), names.end(),
                        [&entry](const std::string& name) { return EqualsNoCase(entry, name); }))
            selected.push_back(entry);
    return selected;
}

std::uint32_t SelectedBits(std::span<const InfNamedBit> table, std::uint32_t value) {
    std::uint32_t bits = 0;
    for (const InfNamedBit& entry : table)
        if (value & entry.m_nValue) bits |= entry.m_nValue;
    return bits;
}

// ---- Elevator and Trigger -------------------------------------------------------------------

ElevatorFields LoadElevator(const CDataInfItem& item, const InfVocabulary& vocabulary) {
    ElevatorFields fields;
    std::vector<std::string> slaves;
    for (const std::string& line : item.m_Lines) {
        const std::string_view keyword = InfKeyword(line);
        const std::string_view value = InfParameters(line);
        if (EqualsNoCase(keyword, "class:")) {
            fields.m_strClass = ChooseInList(kElevatorClasses, value);
        } else if (EqualsNoCase(keyword, "master:")) {
            fields.m_strMaster = ChooseInList(kMasterChoices, value);
        } else if (EqualsNoCase(keyword, "key:")) {
            fields.m_strKey = ChooseInList(kKeyChoices, value);
        } else if (EqualsNoCase(keyword, "speed:")) {
            fields.m_strSpeed = std::string(value);
        } else if (EqualsNoCase(keyword, "angle:")) {
            fields.m_strAngle = std::string(value);
        } else if (EqualsNoCase(keyword, "center:")) {
            fields.m_strCenter = std::string(value);
        } else if (EqualsNoCase(keyword, "start:")) {
            fields.m_strStart = std::string(value);
        } else if (EqualsNoCase(keyword, "flags:")) {
            fields.m_strFlags = ChooseInList(kFlagsChoices, value);
        } else if (EqualsNoCase(keyword, "event_mask:")) {
            fields.m_bEventMask = true;
            fields.m_nEvents = SelectedBits(kInfEvents, ParseMask(value));
        } else if (EqualsNoCase(keyword, "slave:")) {
            slaves.emplace_back(value);
        }
    }
    fields.m_Slaves = SelectInList(vocabulary.m_Sectors, slaves);
    return fields;
}

InfLineEdit WriteElevator(const ElevatorFields& fields, ElevatorControl control) {
    switch (control) {
    case ElevatorControl::Class:
        return ReplaceClass(fields.m_strClass);
    case ElevatorControl::Master:
        return SetLine("master:", fields.m_strMaster);
    case ElevatorControl::Key:
        return SetLine("key:", fields.m_strKey);
    case ElevatorControl::Speed:
        return SetLine("speed:", fields.m_strSpeed);
    case ElevatorControl::Angle:
        return SetLine("angle:", fields.m_strAngle);
    case ElevatorControl::Center:
        return SetLine("center:", fields.m_strCenter);
    case ElevatorControl::Start:
        return SetLine("start:", fields.m_strStart);
    case ElevatorControl::Flags:
        return SetLine("flags:", fields.m_strFlags);
    case ElevatorControl::EventMaskBox:
    case ElevatorControl::EventList:
        return EventMaskEdit(fields.m_bEventMask, fields.m_nEvents);
    case ElevatorControl::Slaves:
        break;
    }
    return ListEdit("slave:", fields.m_Slaves);
}

InfLineEdit ElevatorControlChanged(ElevatorFields& fields, ElevatorControl control) {
    if (control == ElevatorControl::EventMaskBox) fields.m_nEvents = 0;
    if (control == ElevatorControl::EventList) fields.m_bEventMask = fields.m_nEvents > 0;
    return WriteElevator(fields, control);
}

TriggerFields LoadTrigger(const CDataInfItem& item, const InfVocabulary& vocabulary) {
    TriggerFields fields;
    std::vector<std::string> clients;
    for (const std::string& line : item.m_Lines) {
        const std::string_view keyword = InfKeyword(line);
        const std::string_view value = InfParameters(line);
        if (EqualsNoCase(keyword, "class:")) {
            fields.m_strClass = ChooseInList(kTriggerClasses, value);
        } else if (EqualsNoCase(keyword, "master:")) {
            fields.m_strMaster = ChooseInList(kMasterChoices, value);
        } else if (EqualsNoCase(keyword, "entity_mask:")) {
            fields.m_nEntities = SelectedBits(kInfEntities, ParseMask(value));
        } else if (EqualsNoCase(keyword, "event_mask:")) {
            fields.m_bEventMask = true;
            fields.m_nEvents = SelectedBits(kInfEvents, ParseMask(value));
        } else if (EqualsNoCase(keyword, "event:")) {
            fields.m_nEvent = SelectedBits(kInfEvents, ParseMask(value));
        } else if (EqualsNoCase(keyword, "client:")) {
            clients.emplace_back(value);
        }
    }
    fields.m_Clients = SelectInList(vocabulary.m_Sectors, clients);
    return fields;
}

InfLineEdit WriteTrigger(const TriggerFields& fields, TriggerControl control) {
    switch (control) {
    case TriggerControl::Class:
        return ReplaceClass(fields.m_strClass);
    case TriggerControl::Master:
        return SetLine("master:", fields.m_strMaster);
    case TriggerControl::EventMaskBox:
    case TriggerControl::EventList:
        return EventMaskEdit(fields.m_bEventMask, fields.m_nEvents);
    case TriggerControl::EntityMask:
        if ((fields.m_nEntities & kAllInfEntities) == kAllInfEntities) return SetLine("entity_mask:", "*");
        return SetLine("entity_mask:", fields.m_nEntities ? std::to_string(fields.m_nEntities) : "");
    case TriggerControl::Event:
        return SetLine("event:", fields.m_nEvent ? std::to_string(fields.m_nEvent) : "");
    case TriggerControl::Clients:
        break;
    }
    return ListEdit("client:", fields.m_Clients);
}

InfLineEdit TriggerControlChanged(TriggerFields& fields, TriggerControl control) {
    if (control == TriggerControl::EventMaskBox) fields.m_nEvents = 0;
    if (control == TriggerControl::EventList) fields.m_bEventMask = fields.m_nEvents > 0;
    return WriteTrigger(fields, control);
}

// ---- The line pages -------------------------------------------------------------------------

ChuteFields LoadChute(std::string_view parameters, const InfVocabulary& vocabulary) {
    return {ChooseInList(vocabulary.m_Sectors, Trim(parameters))};
}

std::optional<InfLineEdit> WriteChute(const ChuteFields& fields) {
    if (fields.m_strTarget.empty()) return std::nullopt;
    return SetLine("target:", fields.m_strTarget);
}

// A leading "@" checks the box; the value runs to the first blank and the rest names the kind: the
// three words exactly as written, anything else a time. Without a blank only the box is shown.
StopFields LoadStop(std::string_view parameters, const InfVocabulary&) {
    StopFields fields;
    fields.m_Kind = StopKind::None;
    std::string_view text = parameters;
    if (!text.empty() && text.front() == '@') {
        fields.m_bAt = true;
        text.remove_prefix(1);
    }
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return fields;
    fields.m_strValue = std::string(text.substr(0, blank));
    const std::string_view rest = text.substr(blank + 1);
    if (rest == "hold") {
        fields.m_Kind = StopKind::Hold;
    } else if (rest == "terminate") {
        fields.m_Kind = StopKind::Terminate;
    } else if (rest == "complete") {
        fields.m_Kind = StopKind::Complete;
    } else {
        fields.m_Kind = StopKind::Time;
        fields.m_strTime = std::string(rest);
    }
    return fields;
}

InfLineEdit WriteStop(const StopFields& fields) {
    std::string value = fields.m_bAt ? "@" : "";
    value += fields.m_strValue;
    value += ' ';
    switch (fields.m_Kind) {
    case StopKind::None:
        break;
    case StopKind::Time:
        value += fields.m_strTime;
        break;
    case StopKind::Hold:
        value += "hold";
        break;
    case StopKind::Terminate:
        value += "terminate";
        break;
    case StopKind::Complete:
        value += "complete";
        break;
    }
    return SetLine("stop:", std::move(value));
}

AdjoinFields LoadAdjoin(std::string_view parameters, const InfVocabulary& vocabulary) {
    AdjoinFields fields;
    std::string_view text = parameters;
    fields.m_strStop = std::string(TakeToken(text));
    fields.m_strSector1 = ChooseInList(vocabulary.m_Sectors, TakeToken(text));
    fields.m_strWall1 = std::string(TakeToken(text));
    fields.m_strSector2 = ChooseInList(vocabulary.m_Sectors, TakeToken(text));
    fields.m_strWall2 = std::string(text);
    return fields;
}

InfLineEdit WriteAdjoin(const AdjoinFields& fields) {
    std::string value = fields.m_strStop + ' ';
    if (!fields.m_strSector1.empty()) value += fields.m_strSector1 + ' ';
    value += fields.m_strWall1 + ' ';
    if (!fields.m_strSector2.empty()) value += fields.m_strSector2 + ' ';
    value += fields.m_strWall2 + ' ';
    return SetLine("adjoin:", std::move(value));
}

// A message reads "[stop] [sector[(wall)]] word [parameter 1] [parameter 2]". A token in the
// sector's place that is a message word and no sector of the level is kept as the word, and a
// sector named without a wall may still be followed by its word.
MessageFields LoadMessage(std::string_view parameters, const InfVocabulary& vocabulary) {
    MessageFields fields;
    std::string_view text = parameters;
    const bool digit = !text.empty() && IsDigit(text.front());
    if (digit && text.find(' ') != std::string_view::npos) fields.m_strStop = std::string(TakeToken(text));
    if (const std::size_t open = text.find('('); open != std::string_view::npos) {
        fields.m_strSector = ChooseInList(vocabulary.m_Sectors, Trim(text.substr(0, open)));
        text = text.substr(open + 1);
        const std::size_t close = text.find(')');
        fields.m_strWall = std::string(text.substr(0, close));
        text = close == std::string_view::npos ? std::string_view() : text.substr(close + 1);
    }
    text = Trim(text);
    if (!digit && text.find(' ') != std::string_view::npos) {
        const std::string_view first = text.substr(0, text.find(' '));
        std::string sector = ChooseInList(vocabulary.m_Sectors, first);
        if (!sector.empty() || !IsMessageWord(first)) {
            fields.m_strSector = std::move(sector);
            TakeToken(text);
        }
    }
    const std::string_view word = TakeToken(text);
    fields.m_nWord = FindMessageWord(word);
    if (fields.m_nWord < 0 && !word.empty()) {
        fields.m_strSector = ChooseInList(vocabulary.m_Sectors, word);
        std::string_view after = text;
        const int next = fields.m_strSector.empty() ? -1 : FindMessageWord(TakeToken(after));
        if (next >= 0) {
            fields.m_nWord = next;
            text = after;
        }
    }
    fields.m_strParam1 = std::string(TakeToken(text));
    fields.m_strParam2 = std::string(text);
    return fields;
}

InfLineEdit WriteMessage(const MessageFields& fields) {
    std::string value;
    if (!fields.m_strStop.empty()) value = fields.m_strStop + ' ';
    value += fields.m_strSector;
    if (!fields.m_strWall.empty())
        value += '(' + fields.m_strWall + ") ";
    else if (!value.empty())
        value += ' ';
    if (fields.m_nWord >= 0 && static_cast<std::size_t>(fields.m_nWord) < kInfMessageWords.size())
        value += kInfMessageWords[static_cast<std::size_t>(fields.m_nWord)].m_Word;
    if (!fields.m_strParam1.empty()) value += ' ' + fields.m_strParam1;
    if (!fields.m_strParam2.empty()) value += ' ' + fields.m_strParam2;
    return SetLine("message:", std::move(value));
}

void MessageFromSelectedSector(MessageFields& fields, std::string_view sectorName,
                               const InfVocabulary& vocabulary) {
    fields.m_strWall.clear();
    fields.m_strSector = ChooseInList(vocabulary.m_Sectors, sectorName);
}

Status MessageFromSelectedWall(MessageFields& fields, std::string_view sectorName, int wall,
                               const InfVocabulary& vocabulary) {
    if (sectorName.empty()) return Status::Fail("You must select a named sector.");
    fields.m_strSector = ChooseInList(vocabulary.m_Sectors, sectorName);
    fields.m_strWall = std::to_string(wall);
    return Status::Ok();
}

PageFields LoadPage(std::string_view parameters, const InfVocabulary& vocabulary) {
    std::string_view text = parameters;
    PageFields fields;
    fields.m_strStop = std::string(TakeToken(text));
    fields.m_strSound = ChooseInList(vocabulary.m_Sounds, Trim(text));
    return fields;
}

InfLineEdit WritePage(const PageFields& fields) {
    return SetLine("page:",
                   fields.m_strStop.empty() ? fields.m_strSound : fields.m_strStop + ' ' + fields.m_strSound);
}

TextFields LoadText(std::string_view parameters, const InfVocabulary&) {
    return {std::string(parameters)};
}

InfLineEdit WriteText(const TextFields& fields) {
    return SetLine("text:", fields.m_strNumber);
}

SoundFields LoadSound(std::string_view parameters, const InfVocabulary& vocabulary) {
    std::string_view text = parameters;
    SoundFields fields;
    fields.m_strValue = std::string(TakeToken(text));
    fields.m_strSound = ChooseInList(SoundPageList(vocabulary), Trim(text));
    return fields;
}

InfLineEdit WriteSound(const SoundFields& fields) {
    return SetLine("sound:", fields.m_strValue.empty() ? fields.m_strSound
                                                       : fields.m_strValue + ' ' + fields.m_strSound);
}

LevelFields LoadLevel(std::string_view parameters, const InfVocabulary& vocabulary) {
    return {ChooseInList(vocabulary.m_Sounds, Trim(parameters))};
}

std::optional<InfLineEdit> WriteLevel(const LevelFields& fields) {
    if (fields.m_strSound.empty()) return std::nullopt;
    return SetLine("amb_sound:", fields.m_strSound);
}

TextureFields LoadTexture(std::string_view parameters, const InfVocabulary& vocabulary) {
    std::string_view text = parameters;
    TextureFields fields;
    fields.m_strStop = std::string(TakeToken(text));
    fields.m_strFlag = std::string(TakeToken(text));
    fields.m_strSector = ChooseInList(vocabulary.m_Sectors, text);
    return fields;
}

InfLineEdit WriteTexture(const TextureFields& fields) {
    return SetLine("texture:", fields.m_strStop + ' ' + fields.m_strFlag + ' ' + fields.m_strSector);
}

// ---- Which page shows what -------------------------------------------------------------------

std::optional<InfPage> PageForItem(const CDataInfItem& item) {
    for (const std::string& line : item.m_Lines) {
        if (ContainsNoCase(InfKeyword(line), "class:")) {
            if (ContainsNoCase(line, "elevator")) return InfPage::Elevator;
            if (ContainsNoCase(line, "trigger")) return InfPage::Trigger;
        }
        if (ContainsNoCase(line, "amb_sound")) return InfPage::Level;
    }
    return std::nullopt;
}

std::optional<InfPage> PageForLine(const CDataInfItem& item, std::string_view line) {
    const std::string_view keyword = InfKeyword(line);
    const auto has = [keyword](std::string_view word) { return ContainsNoCase(keyword, word); };
    if (has("class:")) {
        const std::string_view value = InfParameters(line);
        if (ContainsNoCase(value, "elevator")) return InfPage::Elevator;
        if (ContainsNoCase(value, "trigger")) return InfPage::Trigger;
        if (ContainsNoCase(value, "teleporter chute")) return InfPage::Chute;
        return std::nullopt;
    }
    if (has("speed:") || has("center:") || has("angle:") || has("key:")) return InfPage::Elevator;
    if (has("event_mask:")) {
        if (EqualsNoCase(item.m_strType, "line")) return InfPage::Trigger;
        if (EqualsNoCase(item.m_strType, "sector")) return InfPage::Elevator;
        return std::nullopt;
    }
    struct Row {
        std::string_view m_Keyword;
        InfPage m_Page;
    };
    // "amb_sound:" comes before "sound:", which it contains.
    static constexpr Row kRows[] = {
        {"target:", InfPage::Chute},    {"stop:", InfPage::Stop},   {"adjoin:", InfPage::Adjoin},
        {"message:", InfPage::Message}, {"page:", InfPage::Page},   {"text:", InfPage::Text},
        {"amb_sound:", InfPage::Level}, {"sound:", InfPage::Sound}, {"texture:", InfPage::Texture}};
    for (const Row& row : kRows)
        if (has(row.m_Keyword)) return row.m_Page;
    return std::nullopt;
}

namespace {

// The Elevator page's control for a row that shows it, in the order the rows are told apart.
ElevatorControl ElevatorControlFor(std::string_view keyword) {
    if (ContainsNoCase(keyword, "class:")) return ElevatorControl::Class;
    if (ContainsNoCase(keyword, "speed:")) return ElevatorControl::Speed;
    if (ContainsNoCase(keyword, "center:")) return ElevatorControl::Center;
    if (ContainsNoCase(keyword, "angle:")) return ElevatorControl::Angle;
    if (ContainsNoCase(keyword, "key:")) return ElevatorControl::Key;
    if (EqualsNoCase(keyword, "master:")) return ElevatorControl::Master;
    if (EqualsNoCase(keyword, "start:")) return ElevatorControl::Start;
    if (EqualsNoCase(keyword, "flags:")) return ElevatorControl::Flags;
    if (EqualsNoCase(keyword, "slave:")) return ElevatorControl::Slaves;
    return ElevatorControl::EventList;
}

TriggerControl TriggerControlFor(std::string_view keyword) {
    if (ContainsNoCase(keyword, "class:")) return TriggerControl::Class;
    if (EqualsNoCase(keyword, "master:")) return TriggerControl::Master;
    if (EqualsNoCase(keyword, "entity_mask:")) return TriggerControl::EntityMask;
    if (EqualsNoCase(keyword, "event:")) return TriggerControl::Event;
    if (EqualsNoCase(keyword, "client:")) return TriggerControl::Clients;
    return TriggerControl::EventList;
}

// The keywords the Elevator and Trigger pages fill a field from, beside the rows that show them.
bool FillsField(InfPage page, std::string_view keyword) {
    static constexpr std::string_view kElevator[] = {
        "master:", "key:", "speed:", "angle:", "center:", "start:", "flags:", "event_mask:", "slave:"};
    static constexpr std::string_view kTrigger[] = {
        "master:", "entity_mask:", "event_mask:", "event:", "client:"};
    const auto has = [&](std::span<const std::string_view> list) {
        return std::any_of(list.begin(), list.end(),
                           [&](std::string_view k) { return EqualsNoCase(k, keyword); });
    };
    return page == InfPage::Elevator ? has(kElevator) : page == InfPage::Trigger && has(kTrigger);
}

std::optional<InfLineEdit> WriteLinePage(InfPage page, std::string_view value,
                                         const InfVocabulary& vocabulary) {
    switch (page) {
    case InfPage::Elevator:
    case InfPage::Trigger:
        break;
    case InfPage::Chute:
        return WriteChute(LoadChute(value, vocabulary)).value_or(SetLine("target:", {}));
    case InfPage::Stop:
        return WriteStop(LoadStop(value, vocabulary));
    case InfPage::Adjoin:
        return WriteAdjoin(LoadAdjoin(value, vocabulary));
    case InfPage::Message:
        return WriteMessage(LoadMessage(value, vocabulary));
    case InfPage::Page:
        return WritePage(LoadPage(value, vocabulary));
    case InfPage::Text:
        return WriteText(LoadText(value, vocabulary));
    case InfPage::Sound:
        return WriteSound(LoadSound(value, vocabulary));
    case InfPage::Level:
        return WriteLevel(LoadLevel(value, vocabulary)).value_or(SetLine("amb_sound:", {}));
    case InfPage::Texture:
        return WriteTexture(LoadTexture(value, vocabulary));
    }
    return std::nullopt;
}

} // namespace

std::string_view InfKeyword(std::string_view line) {
    return Trim(line.substr(0, line.find('\t')));
}

std::string_view InfParameters(std::string_view line) {
    const std::size_t tab = line.find('\t');
    return tab == std::string_view::npos ? std::string_view() : Trim(line.substr(tab + 1));
}

std::vector<std::string_view> InfWords(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t i = 0; i < text.size();) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::optional<InfPage> PageLoadingLine(const CDataInfItem& item, std::string_view line) {
    if (std::optional<InfPage> page = PageForLine(item, line)) return page;
    const std::optional<InfPage> page = PageForItem(item);
    if (page && FillsField(*page, InfKeyword(line))) return page;
    return std::nullopt;
}

std::optional<std::string> RoundTripLine(const CDataInfItem& item, std::size_t line,
                                         const InfVocabulary& vocabulary) {
    if (line >= item.m_Lines.size()) return std::nullopt;
    const std::string& text = item.m_Lines[line];
    const std::optional<InfPage> page = PageLoadingLine(item, text);
    if (!page) return std::nullopt;
    const std::string_view keyword = InfKeyword(text);
    std::optional<InfLineEdit> edit;
    if (*page == InfPage::Elevator)
        edit = WriteElevator(LoadElevator(item, vocabulary), ElevatorControlFor(keyword));
    else if (*page == InfPage::Trigger)
        edit = WriteTrigger(LoadTrigger(item, vocabulary), TriggerControlFor(keyword));
    else
        edit = WriteLinePage(*page, InfParameters(text), vocabulary);
    if (!edit || !EqualsNoCase(edit->m_strKeyword, keyword)) return std::nullopt;
    if (edit->m_Rule != InfLineEdit::Rule::List) return edit->m_strKeyword + '\t' + edit->m_strValue;
    const std::string_view name = Trim(InfParameters(text));
    const auto held = std::find_if(edit->m_Names.begin(), edit->m_Names.end(),
                                   [&](const std::string& n) { return EqualsNoCase(n, name); });
    return edit->m_strKeyword + '\t' + (held == edit->m_Names.end() ? std::string() : *held);
}

bool SameInfMeaning(std::string_view a, std::string_view b) {
    const auto ta = InfWords(a);
    const auto tb = InfWords(b);
    if (ta.size() != tb.size()) return false;
    for (std::size_t i = 0; i < ta.size(); ++i) {
        double x = 0, y = 0;
        const auto rx = std::from_chars(ta[i].data(), ta[i].data() + ta[i].size(), x);
        const auto ry = std::from_chars(tb[i].data(), tb[i].data() + tb[i].size(), y);
        const bool numbers = rx.ec == std::errc() && rx.ptr == ta[i].data() + ta[i].size() &&
                             ry.ec == std::errc() && ry.ptr == tb[i].data() + tb[i].size();
        if (numbers ? x != y : !EqualsNoCase(ta[i], tb[i])) return false;
    }
    return true;
}

std::vector<InfRoundTripChange> InfRoundTripChanges(const CDataInf& inf, const InfVocabulary& vocabulary) {
    std::vector<InfRoundTripChange> changes;
    for (std::size_t i = 0; i < inf.m_pItems.size(); ++i) {
        const CDataInfItem& item = *inf.m_pItems[i];
        for (std::size_t l = 0; l < item.m_Lines.size(); ++l) {
            const std::string& before = item.m_Lines[l];
            const std::optional<std::string> after = RoundTripLine(item, l, vocabulary);
            if (after && !SameInfMeaning(before, *after))
                changes.push_back({static_cast<int>(i), static_cast<int>(l), before, *after});
        }
    }
    return changes;
}

} // namespace morvi
