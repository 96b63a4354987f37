// Keeping INF items in step with edits of the map: sector renames, wall renumbering, vertical
// moves, and carrying a sector's items through library files and the clipboard.
#include "gamefiles/InfFile.h"

#include "gamefiles/TextWriter.h"
#include "gamefiles/Tokenizer.h"
#include "model/ModelOps.h"
#include "model/RecordArchive.h"
#include "model/StringUtil.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace morvi {

namespace {

constexpr CharSet kBlanks(" \t");
constexpr CharSet kKeySeps(": \t");

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

// Where name stands as a whole word in text, at or after from: preceded by the start, a blank or
// a colon, and followed by the end, a blank or "(" (a wall reference). A bare "not followed by a
// letter or digit" test would also match "door" inside "bigdoor" or "door_a".
std::size_t FindName(std::string_view text, std::string_view name, std::size_t from = 0) {
    if (name.empty()) return std::string_view::npos;
    for (std::size_t at = text.find(name, from); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        const bool startOk = at == 0 || IsBlankChar(text[at - 1]) || text[at - 1] == ':';
        const bool endOk = end == text.size() || IsBlankChar(text[end]) || text[end] == '(';
        if (startOk && endOk) return at;
    }
    return std::string_view::npos;
}

// The keyword of a stored line: the text before its first colon, trimmed.
std::string_view LineKeyword(std::string_view line) {
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : Trim(line.substr(0, colon));
}

bool IsReferenceLine(std::string_view line) {
    const std::string_view key = LineKeyword(line);
    for (std::string_view k : {"message", "target", "client", "slave", "adjoin"})
        if (EqualsNoCase(key, k)) return true;
    return false;
}

// Replaces every whole-word occurrence of oldName after the line's keyword.
void RenameInLine(std::string& line, std::string_view oldName, std::string_view newName) {
    std::size_t at = line.find(':');
    while ((at = FindName(line, oldName, at)) != std::string::npos) {
        line.replace(at, oldName.size(), newName);
        at += newName.size();
    }
}

} // namespace

void RenameSectorReference(CDataInfItem& item, std::string_view oldName, std::string_view newName) {
    // An empty old name would rename the level items, whose name is empty.
    if (oldName.empty()) return;
    const std::string lowerNew = ToLower(newName);
    if (item.m_strName == oldName) item.m_strName = lowerNew;
    if (oldName == lowerNew) return;
    for (std::string& line : item.m_Lines)
        if (IsReferenceLine(line)) RenameInLine(line, oldName, lowerNew);
}

void RenameSector(CDataInf& inf, std::string_view oldName, std::string_view newName) {
    for (auto& item : inf.m_pItems)
        RenameSectorReference(*item, oldName, newName);
}

namespace {

// What RenumberWall looks for and what it does with a wall number.
struct WallRenumbering {
    std::string_view m_strName;
    std::string m_strLowerName;
    int m_nWall;
    int m_nValue;
    bool m_bShift;

    // The map passes the sector's own name; items written by this program hold it in lower case.
    bool Names(std::string_view sector) const { return sector == m_strName || sector == m_strLowerName; }
    std::vector<std::string_view> Spellings() const {
        if (m_strName == m_strLowerName) return {m_strName};
        return {m_strName, m_strLowerName};
    }

    std::optional<int> Apply(int wall) const {
        if (m_bShift) {
            if (wall > m_nWall) return wall + m_nValue;
        } else if (wall == m_nWall) {
            return m_nValue;
        }
        return std::nullopt;
    }
};

std::optional<int> ParseWholeInt(std::string_view s) {
    int value = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

// "name(wall)" references of a message line; at is where the name stands.
bool RenumberMessageAt(std::string& line, std::size_t at, std::size_t nameSize, const WallRenumbering& r) {
    std::size_t open = at + nameSize;
    while (open < line.size() && IsBlankChar(line[open]))
        ++open;
    if (open >= line.size() || line[open] != '(') return false;
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string::npos) return false;
    const auto wall = ParseWholeInt(Trim(std::string_view(line).substr(open + 1, close - open - 1)));
    if (!wall) return false;
    const auto renumbered = r.Apply(*wall);
    if (!renumbered) return false;
    line.replace(open + 1, close - open - 1, std::to_string(*renumbered));
    return true;
}

bool RenumberMessage(std::string& line, const WallRenumbering& r) {
    bool changed = false;
    for (std::string_view name : r.Spellings()) {
        std::size_t at = line.find(':');
        while ((at = FindName(line, name, at)) != std::string::npos) {
            changed |= RenumberMessageAt(line, at, name.size(), r);
            at += name.size();
        }
    }
    return changed;
}

// "adjoin: number sectorA wallA sectorB wallB"; anything after the five fields is kept.
bool RenumberAdjoin(std::string& line, const WallRenumbering& r) {
    Tokenizer tokens(TrimLeft(line));
    if (!EqualsNoCase(tokens.next(kBlanks), "adjoin:")) return false;
    const auto number = ParseWholeInt(tokens.next(kBlanks));
    const std::string_view sectorA = tokens.next(kBlanks);
    const auto wallA = ParseWholeInt(tokens.next(kBlanks));
    const std::string_view sectorB = tokens.next(kBlanks);
    const auto wallB = ParseWholeInt(tokens.next(kBlanks));
    if (!number || sectorA.empty() || !wallA || sectorB.empty() || !wallB) return false;

    const auto newA = r.Names(sectorA) ? r.Apply(*wallA) : std::nullopt;
    const auto newB = r.Names(sectorB) ? r.Apply(*wallB) : std::nullopt;
    if (!newA && !newB) return false;
    std::string out;
    TextWriter w(out);
    w.raw("adjoin:\t").integer(*number).raw(" ").raw(sectorA).raw(" ").integer(newA.value_or(*wallA));
    w.raw(" ").raw(sectorB).raw(" ").integer(newB.value_or(*wallB));
    const std::string_view rest = TrimRight(tokens.rest());
    if (!rest.empty()) w.raw(" ").raw(rest);
    line = std::move(out);
    return true;
}

bool RenumberItem(CDataInfItem& item, const WallRenumbering& r) {
    bool changed = false;
    if (r.Names(item.m_strName)) {
        if (const auto num = r.Apply(item.m_nNum)) {
            item.m_nNum = *num;
            changed = true;
        }
    }
    for (std::string& line : item.m_Lines) {
        const std::string_view key = LineKeyword(line);
        if (EqualsNoCase(key, "message"))
            changed |= RenumberMessage(line, r);
        else if (EqualsNoCase(key, "adjoin"))
            changed |= RenumberAdjoin(line, r);
    }
    return changed;
}

} // namespace

bool RenumberWall(CDataInf& inf, std::string_view sectorName, int n, int value, bool shift) {
    if (sectorName.empty()) return false;
    const WallRenumbering r{sectorName, ToLower(sectorName), n, value, shift};
    bool changed = false;
    for (auto& item : inf.m_pItems)
        changed |= RenumberItem(*item, r);
    return changed;
}

namespace {

// Elevators whose stops are light levels, offsets, distances or angles rather than altitudes.
bool HasNoAltitudeStops(std::string_view classLine) {
    Tokenizer tokens(classLine);
    if (!EqualsNoCase(tokens.next(kKeySeps), "class")) return false;
    if (!EqualsNoCase(tokens.next(kBlanks), "elevator")) return false;
    const std::string_view kind = tokens.next(kBlanks);
    for (std::string_view k :
         {"change_light", "scroll_ceiling", "scroll_floor", "change_wall_light", "morph_move1", "morph_move2",
          "morph_spin1", "morph_spin2", "rotate_wall", "scroll_wall"})
        if (EqualsNoCase(kind, k)) return true;
    return false;
}

// Decimals that show a value held in hundredths without trailing zeros: 15, 12.5, 12.75.
int DecimalsOf(double value) {
    const long long hundredths = std::llround(std::fabs(value) * 100.0) % 100;
    if (hundredths == 0) return 0;
    return hundredths % 10 == 0 ? 1 : 2;
}

// Moves the altitude of one "stop:" line; relative ("@") and named stops stay as they are.
void ShiftStop(std::string& line, double delta) {
    const std::size_t colon = line.find(':');
    const std::string_view key = TrimLeft(std::string_view(line).substr(0, colon + 1));
    const std::string_view value = TrimLeft(std::string_view(line).substr(colon + 1));
    std::size_t end = 0;
    while (end < value.size() &&
           ((value[end] >= '0' && value[end] <= '9') || value[end] == '-' || value[end] == '.'))
        ++end;
    const std::string_view number = value.substr(0, end);
    if (number.find_first_of("0123456789") == std::string_view::npos) return;

    const double shifted = RoundHundredths(LeadingDouble(number) + delta);
    std::string out;
    out.reserve(line.size() + 8);
    TextWriter(out).raw(key).raw("\t").fixed(shifted, DecimalsOf(shifted)).raw(value.substr(end));
    line = std::move(out);
}

} // namespace

void ShiftStopAltitudes(CDataInf& inf, std::string_view sectorName, double delta) {
    if (sectorName.empty()) return;
    for (auto& item : inf.m_pItems) {
        if (item->m_strName != sectorName) continue;
        for (std::string& line : item->m_Lines) {
            if (HasNoAltitudeStops(line)) break;
            if (EqualsNoCase(LineKeyword(line), "stop")) ShiftStop(line, delta);
        }
    }
}

void SerializeItemsOfSector(CDataInf& inf, RecordArchive& ar, std::string_view name,
                            std::string_view newName) {
    std::vector<std::unique_ptr<CDataInfItem>> items;
    if (ar.IsStoring()) {
        if (!name.empty())
            for (const auto& item : inf.m_pItems)
                if (item->m_strName == name) items.push_back(std::make_unique<CDataInfItem>(*item));
        ar.SerializeArray(items);
        return;
    }
    // The whole array is decoded before anything is appended, so a damaged archive adds nothing.
    ar.SerializeArray(items);
    for (auto& item : items) {
        RenameSectorReference(*item, name, newName);
        inf.m_pItems.push_back(std::move(item));
    }
}

} // namespace morvi
