#include "model/LevelDiff.h"

#include "model/ModelOps.h"
#include "model/SequenceAlign.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <span>
#include <string_view>

namespace morvi {

namespace {

using Kind = LevelChange::Kind;
using Keys = std::vector<std::uint64_t>;

// ---------------------------------------------------------------------------------------------
// Values as the level texts carry them

std::string Fixed(double x, int decimals) {
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(buf, result.ptr) : std::to_string(x);
}

bool SameReal(double x, double y, int decimals) {
    return x == y || Fixed(x, decimals) == Fixed(y, decimals);
}

bool SameText(std::string_view x, std::string_view y, bool noCase) {
    return noCase ? EqualsNoCase(x, y) : x == y;
}

// Keys of records: equal records give equal keys. Reals go in as the texts round them, so that a
// save, which rounds, keeps a record's key.
class Hash {
public:
    Hash& add(std::uint64_t v) {
        m_nHash = (m_nHash ^ v) * 0x100000001B3ull;
        m_nHash ^= m_nHash >> 31;
        return *this;
    }
    Hash& real(double x, int decimals = 2) {
        const double scaled = x * (decimals == 4 ? 10000.0 : 100.0);
        if (std::isfinite(scaled) && std::fabs(scaled) < 9.0e18)
            return add(static_cast<std::uint64_t>(std::llround(scaled)));
        return add(std::bit_cast<std::uint64_t>(x));
    }
    Hash& text(std::string_view s, bool noCase) {
        for (char c : s)
            m_nHash = (m_nHash ^ static_cast<unsigned char>(noCase ? ToUpperAscii(c) : c)) * 0x100000001B3ull;
        return add(s.size());
    }
    std::uint64_t value() const { return m_nHash; }

private:
    std::uint64_t m_nHash = 0xCBF29CE484222325ull;
};

std::string Numbered(std::string_view noun, int a, int b) {
    std::string s(noun);
    s += ' ';
    if (a >= 0 && b >= 0 && a != b) return s + std::to_string(a) + " (now " + std::to_string(b) + ")";
    return s + std::to_string(a >= 0 ? a : b);
}

std::string Shown(std::string_view value) {
    return value.empty() ? std::string("(empty)") : std::string(value);
}

std::string Point(const CDataVertex* v) {
    return v ? "(" + Fixed(v->m_dX, 2) + ", " + Fixed(v->m_dZ, 2) + ")" : std::string("(missing)");
}

// An INF line as a reader sees it: the tab after the keyword shown as a blank.
std::string ShownLine(std::string_view line) {
    std::string s(line);
    std::replace(s.begin(), s.end(), '\t', ' ');
    return s;
}

void AddTexture(Hash& h, const CDataLev& lev, const CDataTexture& t) {
    h.text(lev.GetTextureName(t.m_nTexture), true)
        .real(t.m_dOffsetX)
        .real(t.m_dOffsetY)
        .add(static_cast<std::uint64_t>(t.m_nTexFlag));
}

void AddCorner(Hash& h, const CDataSector& sector, int i) {
    if (const CDataVertex* v = ItemAt(sector.m_pVertices, i))
        h.real(v->m_dX).real(v->m_dZ);
    else
        h.add(0xBAD0000000000000ull ^ static_cast<std::uint32_t>(i));
}

// A wall's key leaves out its links to other sectors, which deletions elsewhere renumber, and
// names its corners by position rather than by index, which an inserted vertex shifts.
std::uint64_t WallKey(const CDataLev& lev, const CDataSector& sector, const CDataWall& w) {
    Hash h;
    AddCorner(h, sector, w.m_nLeft);
    AddCorner(h, sector, w.m_nRight);
    for (const CDataTexture* t : {&w.m_Mid, &w.m_Top, &w.m_Bottom, &w.m_Sign})
        AddTexture(h, lev, *t);
    h.add(static_cast<std::uint64_t>(w.m_nFlags1)).add(static_cast<std::uint64_t>(w.m_nFlags2));
    h.add(static_cast<std::uint64_t>(w.m_nFlags3)).add(static_cast<std::uint64_t>(w.m_nLight));
    return h.value();
}

struct SectorKeys {
    std::uint64_t m_nSector = 0;
    Keys m_Vertices;
    Keys m_Walls;
};

SectorKeys KeysOf(const CDataLev& lev, const CDataSector& s) {
    SectorKeys keys;
    Hash h;
    h.text(s.m_strName, false).add(static_cast<std::uint64_t>(s.m_nAmbient));
    AddTexture(h, lev, s.m_FloorTexture);
    h.real(s.m_dFloorAltitude);
    AddTexture(h, lev, s.m_CeilingTexture);
    h.real(s.m_dCeilingAltitude).real(s.m_dSecondAltitude);
    for (int v : {s.m_nFlags1, s.m_nFlags2, s.m_nFlags3, s.m_nLayer})
        h.add(static_cast<std::uint64_t>(v));
    keys.m_Vertices.reserve(s.m_pVertices.size());
    for (const auto& v : s.m_pVertices)
        keys.m_Vertices.push_back(Hash().real(v->m_dX).real(v->m_dZ).value());
    keys.m_Walls.reserve(s.m_pWalls.size());
    for (const auto& w : s.m_pWalls)
        keys.m_Walls.push_back(WallKey(lev, s, *w));
    for (std::uint64_t k : keys.m_Vertices)
        h.add(k);
    for (std::uint64_t k : keys.m_Walls)
        h.add(k);
    keys.m_nSector = h.value();
    return keys;
}

std::string SeqLineText(const CDataObjectSeq& seq) {
    return seq.m_strKey + ": " + seq.m_strValue;
}

std::uint64_t ObjectKey(const CDataObjectItem& o) {
    Hash h;
    h.text(o.m_strClass, true).text(o.m_strData, true);
    for (double v : {o.m_dX, o.m_dY, o.m_dZ, o.m_dPitch, o.m_dYaw, o.m_dRoll})
        h.real(v);
    h.add(static_cast<std::uint64_t>(o.m_nDiff));
    for (const auto& seq : o.m_pSeqs)
        h.text(seq->m_strKey, true).text(seq->m_strValue, true);
    return h.value();
}

std::uint64_t InfItemKey(const CDataInfItem& item) {
    Hash h;
    h.text(item.m_strType, true).text(item.m_strName, false).add(static_cast<std::uint64_t>(item.m_nNum));
    for (const std::string& line : item.m_Lines)
        h.text(line, false);
    return h.value();
}

std::string InfItemSubject(const CDataInfItem& item, int a, int b) {
    std::string s = Numbered("INF item", a, b) + " " + item.m_strType;
    if (!item.m_strName.empty()) s += " " + item.m_strName;
    if (item.m_nNum >= 0) s += " wall " + std::to_string(item.m_nNum);
    return s;
}

// The fields of one texture slot, named for the messages.
struct TextureLabels {
    const char* m_pTexture;
    const char* m_pOffsetX;
    const char* m_pOffsetY;
    const char* m_pFlag;
};
constexpr TextureLabels kFloorLabels{"floor texture", "floor offset x", "floor offset y",
                                     "floor texture flag"};
constexpr TextureLabels kCeilingLabels{"ceiling texture", "ceiling offset x", "ceiling offset y",
                                       "ceiling texture flag"};
constexpr TextureLabels kWallLabels[4] = {
    {"mid texture", "mid offset x", "mid offset y", "mid flag"},
    {"top texture", "top offset x", "top offset y", "top flag"},
    {"bottom texture", "bottom offset x", "bottom offset y", "bottom flag"},
    {"sign texture", "sign offset x", "sign offset y", "sign flag"}};

// A position that no record of the second level has: a link to a record deleted there.
constexpr int kGone = INT_MIN;

class LevelDiffer {
public:
    LevelDiffer(const CDataLevel& a, const CDataLevel& b) : m_A(a), m_B(b) {}

    LevelDiff Run() {
        Header();
        NameTable("texture", m_A.m_Lev.m_Textures, m_B.m_Lev.m_Textures);
        Sectors();
        NameTable("PODS entry", m_A.m_Objects.m_Pods, m_B.m_Objects.m_Pods, "pod");
        NameTable("SPRS entry", m_A.m_Objects.m_Sprs, m_B.m_Objects.m_Sprs, "sprite");
        NameTable("FMES entry", m_A.m_Objects.m_Fmes, m_B.m_Objects.m_Fmes, "frame");
        NameTable("SOUNDS entry", m_A.m_Objects.m_Sounds, m_B.m_Objects.m_Sounds, "sound");
        Objects();
        InfItems();
        Members();
        return std::move(m_Diff);
    }

private:
    // Where a difference is: the record's part and positions, and the words that name it.
    struct Scope {
        const char* m_pPart;
        int m_nA = -1;
        int m_nB = -1;
        std::string_view m_Base;
        // For vertices and walls: their noun and positions after the sector's words.
        const char* m_pNoun = nullptr;
        int m_nSubA = -1;
        int m_nSubB = -1;

        std::string Subject() const {
            return m_pNoun ? std::string(m_Base) + " " + Numbered(m_pNoun, m_nSubA, m_nSubB)
                           : std::string(m_Base);
        }
    };

    struct SectorPairing {
        std::vector<AlignedPair> m_Vertices;
        std::vector<AlignedPair> m_Walls;
        std::vector<int> m_VertexMap; // first level's vertex -> second level's, or kGone
        std::vector<int> m_WallMap;
    };

    LevelChange& Emit(const Scope& s, Kind kind) {
        LevelChange& c = m_Diff.m_Changes.emplace_back();
        c.m_Kind = kind;
        c.m_strPart = s.m_pPart;
        c.m_nA = s.m_nA;
        c.m_nB = s.m_nB;
        c.m_nSubA = s.m_nSubA;
        c.m_nSubB = s.m_nSubB;
        return c;
    }
    void Changed(const Scope& s, std::string_view field, std::string before, std::string after) {
        LevelChange& c = Emit(s, Kind::Changed);
        c.m_strText = s.Subject() + ": " + std::string(field) + " " + before + " -> " + after;
        c.m_strField = field;
        c.m_strBefore = std::move(before);
        c.m_strAfter = std::move(after);
    }
    // A line gained or lost by a record (a SEQ line, an INF line).
    void LineChanged(const Scope& s, const char* field, const char* verb, const std::string& line,
                     bool gained) {
        LevelChange& c = Emit(s, Kind::Changed);
        c.m_strText = s.Subject() + ": " + field + " " + verb + " " + line;
        c.m_strField = field;
        (gained ? c.m_strAfter : c.m_strBefore) = line;
    }
    void AddedOrRemoved(const Scope& s, bool added, std::string what) {
        LevelChange& c = Emit(s, added ? Kind::Added : Kind::Removed);
        c.m_strText = s.Subject() + (added ? " added" : " removed") + (what.empty() ? "" : ": " + what);
        (added ? c.m_strAfter : c.m_strBefore) = std::move(what);
    }

    void Int(const Scope& s, const char* field, long long x, long long y) {
        if (x != y) Changed(s, field, std::to_string(x), std::to_string(y));
    }
    void Real(const Scope& s, const char* field, double x, double y, int decimals = 2) {
        if (SameReal(x, y, decimals)) return;
        // Values that differ in the last place only show more decimals.
        std::string before = Fixed(x, decimals), after = Fixed(y, decimals);
        if (before == after) {
            before = Fixed(x, 6);
            after = Fixed(y, 6);
        }
        Changed(s, field, std::move(before), std::move(after));
    }
    void Text(const Scope& s, const char* field, std::string_view x, std::string_view y, bool noCase) {
        if (!SameText(x, y, noCase)) Changed(s, field, Shown(x), Shown(y));
    }
    void Texture(const Scope& s, const TextureLabels& labels, const CDataTexture& x, const CDataTexture& y) {
        Text(s, labels.m_pTexture, m_A.m_Lev.GetTextureName(x.m_nTexture),
             m_B.m_Lev.GetTextureName(y.m_nTexture), true);
        Real(s, labels.m_pOffsetX, x.m_dOffsetX, y.m_dOffsetX);
        Real(s, labels.m_pOffsetY, x.m_dOffsetY, y.m_dOffsetY);
        Int(s, labels.m_pFlag, x.m_nTexFlag, y.m_nTexFlag);
    }

    void Header();
    void NameTable(const char* noun, const std::vector<CDataNameEntry>& a,
                   const std::vector<CDataNameEntry>& b, const char* part = "texture");
    void Sectors();
    SectorPairing PairInside(const SectorKeys& a, const SectorKeys& b) const;
    void CompareSector(int i, int j);
    void CompareWall(const Scope& s, const CDataWall& wa, const CDataWall& wb, const SectorPairing& pairing);
    int MapSector(int i) const;
    int MapIndex(const std::vector<int>& map, int i) const;
    void Objects();
    void CompareObject(int i, int j);
    void InfItems();
    void Members();

    const CDataLevel& m_A;
    const CDataLevel& m_B;
    LevelDiff m_Diff;
    std::vector<int> m_SectorMap;
    std::vector<SectorPairing> m_Pairings; // per sector of the first level that has a partner
};

void LevelDiffer::Header() {
    const Scope s{"level", -1, -1, "level"};
    Text(s, "current level", m_A.CurrentLevelName(), m_B.CurrentLevelName(), true);
    const CDataLev& a = m_A.m_Lev;
    const CDataLev& b = m_B.m_Lev;
    Text(s, "name", a.m_strLevelName, b.m_strLevelName, true);
    Text(s, "palette", a.m_strPalette, b.m_strPalette, true);
    Text(s, "music", a.m_strMusic, b.m_strMusic, true);
    Real(s, "parallax 1", a.m_dParallax1, b.m_dParallax1, 4);
    Real(s, "parallax 2", a.m_dParallax2, b.m_dParallax2, 4);
    Text(s, "author", a.m_strAuthor, b.m_strAuthor, false);
    Text(s, "O level name", m_A.m_Objects.m_strLevelName, m_B.m_Objects.m_strLevelName, true);
    Text(s, "INF level name", m_A.m_Inf.m_strLevelName, m_B.m_Inf.m_strLevelName, true);
    Real(s, "INF parallax 1", m_A.m_Inf.m_dParallax1, m_B.m_Inf.m_dParallax1, 4);
    Real(s, "INF parallax 2", m_A.m_Inf.m_dParallax2, m_B.m_Inf.m_dParallax2, 4);
    Text(s, "INF author", m_A.m_Inf.m_strAuthor, m_B.m_Inf.m_strAuthor, false);
}

void LevelDiffer::NameTable(const char* noun, const std::vector<CDataNameEntry>& a,
                            const std::vector<CDataNameEntry>& b, const char* part) {
    Keys ka, kb;
    for (const auto& e : a)
        ka.push_back(Hash().text(e.m_strName, true).value());
    for (const auto& e : b)
        kb.push_back(Hash().text(e.m_strName, true).value());
    for (const AlignedPair& p : AlignSequences(ka, kb)) {
        const std::string subject = Numbered(noun, p.m_nA, p.m_nB);
        const Scope s{part, p.m_nA, p.m_nB, subject};
        if (p.m_nA < 0 || p.m_nB < 0)
            AddedOrRemoved(s, p.m_nA < 0, Shown((p.m_nA < 0 ? b[p.m_nB] : a[p.m_nA]).m_strName));
        else
            Text(s, "name", a[p.m_nA].m_strName, b[p.m_nB].m_strName, true);
    }
}

void LevelDiffer::Sectors() {
    const auto& sa = m_A.m_Lev.m_pSectors;
    const auto& sb = m_B.m_Lev.m_pSectors;
    std::vector<SectorKeys> keysA, keysB;
    Keys ka, kb;
    for (const auto& s : sa)
        ka.push_back(keysA.emplace_back(KeysOf(m_A.m_Lev, *s)).m_nSector);
    for (const auto& s : sb)
        kb.push_back(keysB.emplace_back(KeysOf(m_B.m_Lev, *s)).m_nSector);
    const auto sameName = [&](int i, int j) {
        const std::string& name = sa[static_cast<std::size_t>(i)]->m_strName;
        return !name.empty() && name == sb[static_cast<std::size_t>(j)]->m_strName;
    };
    const std::vector<AlignedPair> pairs = AlignSequences(ka, kb, sameName);

    // Every pairing is known before any wall is compared: mirrors name walls of other sectors.
    m_SectorMap.assign(sa.size(), kGone);
    m_Pairings.resize(sa.size());
    for (const AlignedPair& p : pairs) {
        if (p.m_nA < 0 || p.m_nB < 0) continue;
        m_SectorMap[static_cast<std::size_t>(p.m_nA)] = p.m_nB;
        m_Pairings[static_cast<std::size_t>(p.m_nA)] =
            PairInside(keysA[static_cast<std::size_t>(p.m_nA)], keysB[static_cast<std::size_t>(p.m_nB)]);
    }
    for (const AlignedPair& p : pairs) {
        if (p.m_nA >= 0 && p.m_nB >= 0) {
            CompareSector(p.m_nA, p.m_nB);
            continue;
        }
        const bool added = p.m_nA < 0;
        const CDataSector& s =
            added ? *sb[static_cast<std::size_t>(p.m_nB)] : *sa[static_cast<std::size_t>(p.m_nA)];
        const std::string subject =
            Numbered("sector", p.m_nA, p.m_nB) + (s.m_strName.empty() ? "" : " " + s.m_strName);
        AddedOrRemoved(Scope{"sector", p.m_nA, p.m_nB, subject}, added,
                       std::to_string(s.m_pWalls.size()) + " walls, layer " + std::to_string(s.m_nLayer));
    }
}

LevelDiffer::SectorPairing LevelDiffer::PairInside(const SectorKeys& a, const SectorKeys& b) const {
    SectorPairing pairing;
    pairing.m_Vertices = AlignSequences(a.m_Vertices, b.m_Vertices);
    pairing.m_Walls = AlignSequences(a.m_Walls, b.m_Walls);
    pairing.m_VertexMap.assign(a.m_Vertices.size(), kGone);
    pairing.m_WallMap.assign(a.m_Walls.size(), kGone);
    for (const AlignedPair& p : pairing.m_Vertices)
        if (p.m_nA >= 0 && p.m_nB >= 0) pairing.m_VertexMap[static_cast<std::size_t>(p.m_nA)] = p.m_nB;
    for (const AlignedPair& p : pairing.m_Walls)
        if (p.m_nA >= 0 && p.m_nB >= 0) pairing.m_WallMap[static_cast<std::size_t>(p.m_nA)] = p.m_nB;
    return pairing;
}

// An index of the first level carried into the second: its partner, kGone when the record was
// removed, the index itself when it names nothing (-1, or damaged).
int LevelDiffer::MapIndex(const std::vector<int>& map, int i) const {
    return i >= 0 && static_cast<std::size_t>(i) < map.size() ? map[static_cast<std::size_t>(i)] : i;
}
int LevelDiffer::MapSector(int i) const {
    return MapIndex(m_SectorMap, i);
}

void LevelDiffer::CompareSector(int i, int j) {
    const CDataSector& a = *m_A.m_Lev.m_pSectors[static_cast<std::size_t>(i)];
    const CDataSector& b = *m_B.m_Lev.m_pSectors[static_cast<std::size_t>(j)];
    const std::string subject = Numbered("sector", i, j) + (a.m_strName.empty() ? "" : " " + a.m_strName);
    const Scope s{"sector", i, j, subject};
    Text(s, "name", a.m_strName, b.m_strName, false);
    Int(s, "ambient", a.m_nAmbient, b.m_nAmbient);
    Texture(s, kFloorLabels, a.m_FloorTexture, b.m_FloorTexture);
    Real(s, "floor altitude", a.m_dFloorAltitude, b.m_dFloorAltitude);
    Texture(s, kCeilingLabels, a.m_CeilingTexture, b.m_CeilingTexture);
    Real(s, "ceiling altitude", a.m_dCeilingAltitude, b.m_dCeilingAltitude);
    Real(s, "second altitude", a.m_dSecondAltitude, b.m_dSecondAltitude);
    Int(s, "flags 1", a.m_nFlags1, b.m_nFlags1);
    Int(s, "flags 2", a.m_nFlags2, b.m_nFlags2);
    Int(s, "flags 3", a.m_nFlags3, b.m_nFlags3);
    Int(s, "layer", a.m_nLayer, b.m_nLayer);

    const SectorPairing& pairing = m_Pairings[static_cast<std::size_t>(i)];
    for (const AlignedPair& p : pairing.m_Vertices) {
        const Scope vs{"vertex", i, j, subject, "vertex", p.m_nA, p.m_nB};
        const CDataVertex* va = ItemAt(a.m_pVertices, p.m_nA);
        const CDataVertex* vb = ItemAt(b.m_pVertices, p.m_nB);
        if (!va || !vb)
            AddedOrRemoved(vs, !va, Point(va ? va : vb));
        else if (!SameReal(va->m_dX, vb->m_dX, 2) || !SameReal(va->m_dZ, vb->m_dZ, 2))
            Changed(vs, "position", Point(va), Point(vb));
    }
    for (const AlignedPair& p : pairing.m_Walls) {
        const Scope ws{"wall", i, j, subject, "wall", p.m_nA, p.m_nB};
        if (p.m_nA >= 0 && p.m_nB >= 0) {
            CompareWall(ws, *a.m_pWalls[static_cast<std::size_t>(p.m_nA)],
                        *b.m_pWalls[static_cast<std::size_t>(p.m_nB)], pairing);
            continue;
        }
        const CDataSector& owner = p.m_nA < 0 ? b : a;
        const CDataWall& w = *owner.m_pWalls[static_cast<std::size_t>(p.m_nA < 0 ? p.m_nB : p.m_nA)];
        AddedOrRemoved(ws, p.m_nA < 0,
                       "from " + Point(ItemAt(owner.m_pVertices, w.m_nLeft)) + " to " +
                           Point(ItemAt(owner.m_pVertices, w.m_nRight)));
    }
}

void LevelDiffer::CompareWall(const Scope& s, const CDataWall& wa, const CDataWall& wb,
                              const SectorPairing& pairing) {
    // Links are compared through the alignment and shown as the files hold them.
    const auto link = [&](const char* field, int mappedA, int rawA, int b) {
        if (mappedA != b) Changed(s, field, std::to_string(rawA), std::to_string(b));
    };
    link("left vertex", MapIndex(pairing.m_VertexMap, wa.m_nLeft), wa.m_nLeft, wb.m_nLeft);
    link("right vertex", MapIndex(pairing.m_VertexMap, wa.m_nRight), wa.m_nRight, wb.m_nRight);
    const CDataTexture* ta[4] = {&wa.m_Mid, &wa.m_Top, &wa.m_Bottom, &wa.m_Sign};
    const CDataTexture* tb[4] = {&wb.m_Mid, &wb.m_Top, &wb.m_Bottom, &wb.m_Sign};
    for (int k = 0; k < 4; ++k)
        Texture(s, kWallLabels[k], *ta[k], *tb[k]);
    const int adjoin = MapSector(wa.m_nAdjoin);
    link("adjoin", adjoin, wa.m_nAdjoin, wb.m_nAdjoin);
    // A mirror names a wall of the adjoined sector, so it follows that sector's walls.
    int mirror = wa.m_nMirror;
    if (adjoin >= 0 && wa.m_nAdjoin >= 0 && static_cast<std::size_t>(wa.m_nAdjoin) < m_Pairings.size())
        mirror = MapIndex(m_Pairings[static_cast<std::size_t>(wa.m_nAdjoin)].m_WallMap, wa.m_nMirror);
    link("mirror", mirror, wa.m_nMirror, wb.m_nMirror);
    link("walk", MapSector(wa.m_nWalk), wa.m_nWalk, wb.m_nWalk);
    Int(s, "flags 1", wa.m_nFlags1, wb.m_nFlags1);
    Int(s, "flags 2", wa.m_nFlags2, wb.m_nFlags2);
    Int(s, "flags 3", wa.m_nFlags3, wb.m_nFlags3);
    Int(s, "light", wa.m_nLight, wb.m_nLight);
}

void LevelDiffer::Objects() {
    const auto& oa = m_A.m_Objects.m_pObjects;
    const auto& ob = m_B.m_Objects.m_pObjects;
    Keys ka, kb;
    for (const auto& o : oa)
        ka.push_back(ObjectKey(*o));
    for (const auto& o : ob)
        kb.push_back(ObjectKey(*o));
    for (const AlignedPair& p : AlignSequences(ka, kb)) {
        if (p.m_nA >= 0 && p.m_nB >= 0) {
            CompareObject(p.m_nA, p.m_nB);
            continue;
        }
        const CDataObjectItem& o =
            p.m_nA < 0 ? *ob[static_cast<std::size_t>(p.m_nB)] : *oa[static_cast<std::size_t>(p.m_nA)];
        const std::string subject = Numbered("object", p.m_nA, p.m_nB);
        AddedOrRemoved(Scope{"object", p.m_nA, p.m_nB, subject}, p.m_nA < 0,
                       ToUpper(o.m_strClass) + " " + ToUpper(o.m_strData) + " at (" + Fixed(o.m_dX, 2) +
                           ", " + Fixed(o.m_dY, 2) + ", " + Fixed(o.m_dZ, 2) + ")");
    }
}

void LevelDiffer::CompareObject(int i, int j) {
    const CDataObjectItem& a = *m_A.m_Objects.m_pObjects[static_cast<std::size_t>(i)];
    const CDataObjectItem& b = *m_B.m_Objects.m_pObjects[static_cast<std::size_t>(j)];
    const std::string subject = Numbered("object", i, j);
    const Scope s{"object", i, j, subject};
    Text(s, "class", a.m_strClass, b.m_strClass, true);
    Text(s, "data", a.m_strData, b.m_strData, true);
    Real(s, "x", a.m_dX, b.m_dX);
    Real(s, "y", a.m_dY, b.m_dY);
    Real(s, "z", a.m_dZ, b.m_dZ);
    Real(s, "pitch", a.m_dPitch, b.m_dPitch);
    Real(s, "yaw", a.m_dYaw, b.m_dYaw);
    Real(s, "roll", a.m_dRoll, b.m_dRoll);
    Int(s, "difficulty", a.m_nDiff, b.m_nDiff);

    Keys ka, kb;
    for (const auto& seq : a.m_pSeqs)
        ka.push_back(Hash().text(seq->m_strKey, true).text(seq->m_strValue, true).value());
    for (const auto& seq : b.m_pSeqs)
        kb.push_back(Hash().text(seq->m_strKey, true).text(seq->m_strValue, true).value());
    if (ka == kb) return;
    for (const AlignedPair& p : AlignSequences(ka, kb)) {
        const bool same = p.m_nA >= 0 && p.m_nB >= 0 &&
                          ka[static_cast<std::size_t>(p.m_nA)] == kb[static_cast<std::size_t>(p.m_nB)];
        if (same) continue;
        if (p.m_nA >= 0)
            LineChanged(s, "SEQ", "lost", ToUpper(SeqLineText(*a.m_pSeqs[static_cast<std::size_t>(p.m_nA)])),
                        false);
        if (p.m_nB >= 0)
            LineChanged(s, "SEQ", "gained",
                        ToUpper(SeqLineText(*b.m_pSeqs[static_cast<std::size_t>(p.m_nB)])), true);
    }
}

void LevelDiffer::InfItems() {
    const auto& ia = m_A.m_Inf.m_pItems;
    const auto& ib = m_B.m_Inf.m_pItems;
    Keys ka, kb;
    for (const auto& item : ia)
        ka.push_back(InfItemKey(*item));
    for (const auto& item : ib)
        kb.push_back(InfItemKey(*item));
    const auto sameTarget = [&](int i, int j) {
        const CDataInfItem& x = *ia[static_cast<std::size_t>(i)];
        const CDataInfItem& y = *ib[static_cast<std::size_t>(j)];
        return EqualsNoCase(x.m_strType, y.m_strType) && x.m_strName == y.m_strName && x.m_nNum == y.m_nNum;
    };
    for (const AlignedPair& p : AlignSequences(ka, kb, sameTarget)) {
        const CDataInfItem& x =
            *(p.m_nA >= 0 ? ia[static_cast<std::size_t>(p.m_nA)] : ib[static_cast<std::size_t>(p.m_nB)]);
        const std::string subject = InfItemSubject(x, p.m_nA, p.m_nB);
        const Scope s{"inf", p.m_nA, p.m_nB, subject};
        if (p.m_nA < 0 || p.m_nB < 0) {
            AddedOrRemoved(s, p.m_nA < 0, x.m_Lines.empty() ? std::string() : ShownLine(x.m_Lines.front()));
            continue;
        }
        const CDataInfItem& y = *ib[static_cast<std::size_t>(p.m_nB)];
        Text(s, "type", x.m_strType, y.m_strType, true);
        Text(s, "name", x.m_strName, y.m_strName, false);
        Int(s, "wall", x.m_nNum, y.m_nNum);
        if (x.m_Lines == y.m_Lines) continue;
        Keys la, lb;
        for (const auto& line : x.m_Lines)
            la.push_back(Hash().text(line, false).value());
        for (const auto& line : y.m_Lines)
            lb.push_back(Hash().text(line, false).value());
        for (const AlignedPair& q : AlignSequences(la, lb)) {
            const bool a = q.m_nA >= 0, b = q.m_nB >= 0;
            if (a && b &&
                x.m_Lines[static_cast<std::size_t>(q.m_nA)] == y.m_Lines[static_cast<std::size_t>(q.m_nB)])
                continue;
            if (a)
                LineChanged(s, "line", "lost", ShownLine(x.m_Lines[static_cast<std::size_t>(q.m_nA)]), false);
            if (b)
                LineChanged(s, "line", "gained", ShownLine(y.m_Lines[static_cast<std::size_t>(q.m_nB)]),
                            true);
        }
    }
}

// Members other than the current level's texts, which the model stands for, by name: a name
// held twice pairs in order of appearance.
void LevelDiffer::Members() {
    const auto others = [](const CDataLevel& level) {
        const std::string current = level.CurrentLevelName();
        std::vector<const CDataGobEntry*> list;
        for (const auto& m : level.m_pMembers) {
            const bool text = !current.empty() && (EqualsNoCase(m->m_strName, current + ".LEV") ||
                                                   EqualsNoCase(m->m_strName, current + ".O") ||
                                                   EqualsNoCase(m->m_strName, current + ".INF"));
            if (!text) list.push_back(m.get());
        }
        return list;
    };
    const std::vector<const CDataGobEntry*> ma = others(m_A), mb = others(m_B);
    std::vector<bool> taken(mb.size(), false);
    const auto describe = [](const CDataGobEntry& m) { return std::to_string(m.m_nSize) + " bytes"; };
    for (const CDataGobEntry* a : ma) {
        std::size_t j = 0;
        while (j < mb.size() && (taken[j] || !EqualsNoCase(mb[j]->m_strName, a->m_strName)))
            ++j;
        const std::string subject = "member " + a->m_strName;
        const Scope s{"member", -1, -1, subject};
        if (j == mb.size()) {
            AddedOrRemoved(s, false, describe(*a));
            continue;
        }
        taken[j] = true;
        if (!std::ranges::equal(a->data(), mb[j]->data()))
            Changed(s, "contents", describe(*a), describe(*mb[j]));
    }
    for (std::size_t j = 0; j < mb.size(); ++j)
        if (!taken[j])
            AddedOrRemoved(Scope{"member", -1, -1, "member " + mb[j]->m_strName}, true, describe(*mb[j]));
}

} // namespace

std::size_t LevelDiff::Count(LevelChange::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(m_Changes.begin(), m_Changes.end(),
                                                  [&](const LevelChange& c) { return c.m_Kind == kind; }));
}

std::string LevelDiff::Summary() const {
    if (Same()) return "no differences";
    const std::size_t n = m_Changes.size();
    return std::to_string(n) + (n == 1 ? " difference: " : " differences: ") +
           std::to_string(Count(Kind::Added)) + " added, " + std::to_string(Count(Kind::Removed)) +
           " removed, " + std::to_string(Count(Kind::Changed)) + " changed";
}

LevelDiff DiffLevels(const CDataLevel& a, const CDataLevel& b) {
    return LevelDiffer(a, b).Run();
}

} // namespace morvi
