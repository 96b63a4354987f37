#include "infedit/InfChecker.h"

#include "gamefiles/InfFile.h"
#include "gamefiles/LevelTexts.h"
#include "infedit/InfPages.h"
#include "model/CDataLevel.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace morvi {

namespace {

using Kind = LevelFinding::Kind;
using Problem = LevelFinding::Problem;
using Severity = LevelFinding::Severity;

std::optional<int> Number(std::string_view token) {
    int value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size()) return std::nullopt;
    return value;
}

// The words a message line sends; any other word in their place names the target sector.
bool IsMessageWord(std::string_view token) {
    return std::any_of(kInfMessageWords.begin(), kInfMessageWords.end(),
                       [&](const InfMessageWord& w) { return EqualsNoCase(token, w.m_Word); });
}

bool KnownClass(std::string_view value) {
    const auto in = [&](const auto& list) {
        return std::any_of(list.begin(), list.end(),
                           [&](std::string_view c) { return EqualsNoCase(c, value); });
    };
    return in(kElevatorClasses) || in(kTriggerClasses) || EqualsNoCase(value, "teleporter chute");
}

// A sector reference "name" or "name(wall)".
struct SectorRef {
    std::string_view name;
    std::optional<int> wall;
};

SectorRef ParseRef(std::string_view token) {
    const std::size_t open = token.find('(');
    if (open == std::string_view::npos) return {token, std::nullopt};
    const std::size_t close = token.find(')', open);
    const std::string_view inside =
        token.substr(open + 1, close == std::string_view::npos ? token.npos : close - open - 1);
    return {token.substr(0, open), Number(Trim(inside))};
}

class InfChecker {
public:
    explicit InfChecker(const CDataLevel& level) : m_Level(level) {
        const auto& sectors = level.m_Lev.m_pSectors;
        for (std::size_t s = 0; s < sectors.size(); ++s)
            if (!sectors[s]->m_strName.empty())
                m_Sectors.try_emplace(ToLower(sectors[s]->m_strName), static_cast<int>(s));
        for (const auto& item : level.m_Inf.m_pItems) {
            if (!IsElevator(*item)) continue;
            int& stops = m_Stops[ToLower(item->m_strName)];
            stops = std::max(stops, StopCount(*item));
        }
    }

    std::vector<LevelFinding> Run() {
        const auto& items = m_Level.m_Inf.m_pItems;
        for (std::size_t i = 0; i < items.size(); ++i)
            CheckItem(static_cast<int>(i), *items[i]);
        CheckSequences();
        return std::move(m_Findings);
    }

private:
    static bool IsElevator(const CDataInfItem& item) {
        return std::any_of(item.m_Lines.begin(), item.m_Lines.end(), [](const std::string& line) {
            return EqualsNoCase(InfKeyword(line), "class:") && ContainsNoCase(line, "elevator");
        });
    }

    static int StopCount(const CDataInfItem& item) {
        return static_cast<int>(
            std::count_if(item.m_Lines.begin(), item.m_Lines.end(),
                          [](const std::string& line) { return EqualsNoCase(InfKeyword(line), "stop:"); }));
    }

    void Add(Problem problem, Severity severity, int item, int line, std::string text) {
        LevelFinding& f = m_Findings.emplace_back();
        f.m_Kind = Kind::InfItem;
        f.m_Problem = problem;
        f.m_Severity = severity;
        f.m_nItem = item;
        f.m_nLine = line;
        f.m_strText = std::move(text);
    }

    std::string Where(int item, int line) const {
        const CDataInfItem& i = *m_Level.m_Inf.m_pItems[static_cast<std::size_t>(item)];
        std::string text = "INF item " + std::to_string(item) + " (" + i.m_strType;
        if (!i.m_strName.empty()) text += " " + i.m_strName;
        if (EqualsNoCase(i.m_strType, "line")) text += " " + std::to_string(i.m_nNum);
        text += ")";
        if (line >= 0)
            text += " line " + std::to_string(line + 1) + " \"" +
                    std::string(Trim(i.m_Lines[static_cast<std::size_t>(line)])) + "\"";
        return text;
    }

    const CDataSector* SectorNamed(std::string_view name) const {
        const auto found = m_Sectors.find(ToLower(name));
        return found == m_Sectors.end()
                   ? nullptr
                   : m_Level.m_Lev.m_pSectors[static_cast<std::size_t>(found->second)].get();
    }

    // Reports a reference to a missing sector or wall; true when the sector exists.
    bool CheckRef(int item, int line, SectorRef ref) {
        const CDataSector* sector = SectorNamed(ref.name);
        if (!sector) {
            Add(Problem::MissingSector, Severity::Error, item, line,
                Where(item, line) + ": no sector is named \"" + std::string(ref.name) + "\"");
            return false;
        }
        const int walls = static_cast<int>(sector->m_pWalls.size());
        if (ref.wall && (*ref.wall < 0 || *ref.wall >= walls))
            Add(Problem::WallOutOfRange, Severity::Error, item, line,
                Where(item, line) + ": sector \"" + std::string(ref.name) + "\" has no wall " +
                    std::to_string(*ref.wall) + " (it has " + std::to_string(walls) + ")");
        return true;
    }

    void CheckStop(int item, int line, std::optional<int> stop, int stops, std::string_view elevator) {
        if (!stop || (*stop >= 0 && *stop < stops)) return;
        Add(Problem::MissingStop, Severity::Error, item, line,
            Where(item, line) + ": the elevator " + std::string(elevator) + " has no stop " +
                std::to_string(*stop) + " (it has " + std::to_string(stops) + ")");
    }

    void CheckItem(int i, const CDataInfItem& item) {
        const bool line = EqualsNoCase(item.m_strType, "line");
        if (line || EqualsNoCase(item.m_strType, "sector"))
            CheckRef(i, -1, {item.m_strName, line ? std::optional(item.m_nNum) : std::nullopt});
        const bool elevator = IsElevator(item);
        const int stops = StopCount(item);
        for (std::size_t k = 0; k < item.m_Lines.size(); ++k) {
            const int l = static_cast<int>(k);
            const std::string_view key = InfKeyword(item.m_Lines[k]);
            const std::vector<std::string_view> tokens = InfWords(InfParameters(item.m_Lines[k]));
            CheckKnown(i, l, item, key);
            if (tokens.empty()) continue;
            // Lines of an elevator that start with a stop number act at that stop.
            const bool atStop = EqualsNoCase(key, "message:") || EqualsNoCase(key, "adjoin:") ||
                                EqualsNoCase(key, "page:") || EqualsNoCase(key, "texture:");
            if (elevator && atStop && stops > 0 && std::isdigit(static_cast<unsigned char>(tokens[0][0])))
                CheckStop(i, l, Number(tokens[0]), stops, "\"" + item.m_strName + "\"");
            if (EqualsNoCase(key, "slave:") || EqualsNoCase(key, "client:") || EqualsNoCase(key, "target:"))
                CheckRef(i, l, ParseRef(tokens[0]));
            else if (EqualsNoCase(key, "message:"))
                CheckMessage(i, l, tokens);
            else if (EqualsNoCase(key, "adjoin:") && tokens.size() >= 5) {
                CheckRef(i, l, {tokens[1], Number(tokens[2])});
                CheckRef(i, l, {tokens[3], Number(tokens[4])});
            } else if (EqualsNoCase(key, "texture:") && tokens.size() >= 3)
                CheckRef(i, l, ParseRef(tokens[2]));
        }
    }

    // Lines no page of the INF editor loads stay as text; the game may know them, the editor does not.
    void CheckKnown(int item, int line, const CDataInfItem& i, std::string_view key) {
        const std::string& text = i.m_Lines[static_cast<std::size_t>(line)];
        if (EqualsNoCase(key, "class:")) {
            if (!KnownClass(InfParameters(text)))
                Add(Problem::UnknownInf, Severity::Warning, item, line,
                    Where(item, line) + ": the INF editor knows no class \"" +
                        std::string(InfParameters(text)) + "\"");
        } else if (!PageLoadingLine(i, text)) {
            Add(Problem::UnknownInf, Severity::Warning, item, line,
                Where(item, line) + ": no page of the INF editor knows \"" + std::string(key) +
                    "\"; the line is kept as text");
        }
    }

    // "message: [stop] [target[(wall)]] word [parameters]": the target is the token before the
    // word, when there is one; a goto_stop names a stop of the target's elevator.
    void CheckMessage(int item, int line, const std::vector<std::string_view>& tokens) {
        std::size_t at = tokens.size() > 1 && std::isdigit(static_cast<unsigned char>(tokens[0][0])) ? 1 : 0;
        std::optional<SectorRef> target;
        if (at < tokens.size() && !IsMessageWord(tokens[at]) && !EqualsNoCase(tokens[at], "system")) {
            target = ParseRef(tokens[at]);
            ++at;
        }
        const bool exists = target && CheckRef(item, line, *target);
        if (!exists || at + 1 >= tokens.size() || !EqualsNoCase(tokens[at], "goto_stop")) return;
        const auto stops = m_Stops.find(ToLower(target->name));
        if (stops != m_Stops.end())
            CheckStop(item, line, Number(tokens[at + 1]), stops->second,
                      "\"" + std::string(target->name) + "\"");
    }

    // The reader notes an item whose seq block runs into the next item; the note's line in the
    // text tells which item it is.
    void CheckSequences() {
        const std::optional<std::string> member = GetMemberText(m_Level, m_Level.CurrentLevelName() + ".INF");
        // Most texts close every block: a scan of their lines tells without reading the items.
        if (!member || !MayLeaveSequenceOpen(*member)) return;
        // The items as the map left them, when the member no longer says what they say.
        const std::optional<std::string> text = GetLevelText(m_Level, LevelText::Inf);
        if (!text) return;
        TextNotes notes;
        CDataInf read;
        ReadInf(read, *text, &notes);
        for (const TextNote& note : notes) {
            if (note.m_strText.find("seqend") == std::string::npos) continue;
            // The items the text holds up to the noted item line, read as the reader reads them
            // (a class line may start an item of its own): the last of them is the noted one.
            std::size_t end = 0;
            for (int number = 0; number < note.m_nLine && end <= text->size(); ++number)
                end = std::min(text->find('\n', end), text->size()) + 1;
            CDataInf head;
            ReadInf(head, std::string_view(*text).substr(0, std::min(end, text->size())));
            const int item = static_cast<int>(head.m_pItems.size()) - 1;
            if (item < 0 || item >= static_cast<int>(m_Level.m_Inf.m_pItems.size())) continue;
            Add(Problem::OpenSequence, Severity::Warning, item, -1,
                Where(item, -1) + ": its seq block has no seqend (text line " + std::to_string(note.m_nLine) +
                    ")");
        }
    }

    // Whether an "item:" line comes while a seq block is open, or the text ends in one.
    static bool MayLeaveSequenceOpen(std::string_view text) {
        bool open = false;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string_view line = Trim(text.substr(start, end - start));
            start = end + 1;
            if (EqualsNoCase(line, "seq"))
                open = true;
            else if (EqualsNoCase(line, "seqend") || EqualsNoCase(line, "sequend"))
                open = false;
            else if (open && StartsWithNoCase(line, "item:"))
                return true;
        }
        return open;
    }

    const CDataLevel& m_Level;
    std::unordered_map<std::string, int> m_Sectors;
    // The most stops of an elevator item, by its sector's name.
    std::unordered_map<std::string, int> m_Stops;
    std::vector<LevelFinding> m_Findings;
};

} // namespace

std::vector<LevelFinding> CheckInf(const CDataLevel& level) {
    return InfChecker(level).Run();
}

std::vector<LevelFinding> CheckWholeLevel(const CDataLevel& level) {
    std::vector<LevelFinding> findings = checkLevel(level);
    std::vector<LevelFinding> inf = CheckInf(level);
    findings.insert(findings.end(), std::make_move_iterator(inf.begin()), std::make_move_iterator(inf.end()));
    return findings;
}

} // namespace morvi
