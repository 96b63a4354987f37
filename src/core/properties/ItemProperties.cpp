#include "properties/ItemProperties.h"

#include "document/CMorviDoc.h"
#include "document/ChangeFlags.h"
#include "gamefiles/InfFile.h"
#include "model/CDataLevel.h"
#include "model/ModelOps.h"
#include "model/StringUtil.h"
#include "properties/ObjectCatalogue.h"
#include "resources/PickerRules.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace morvi {

namespace {

constexpr PaneField Text(std::string_view key, std::string_view label, int maxChars = 0) {
    return {key, label, FieldType::Text, false, false, 0, 0, maxChars};
}
constexpr PaneField Int(std::string_view key, std::string_view label) {
    return {key, label, FieldType::Integer, false, false, 0, 0, 0};
}
constexpr PaneField Ranged(std::string_view key, std::string_view label, int lo, int hi) {
    return {key, label, FieldType::Integer, false, true, lo, hi, 0};
}
constexpr PaneField Real(std::string_view key, std::string_view label, bool negated = false) {
    return {key, label, FieldType::Real, negated, false, 0, 0, 0};
}
constexpr PaneField Choice(std::string_view key, std::string_view label) {
    return {key, label, FieldType::Choice, false, false, 0, 0, 0};
}

// Texture names longer than this do not fit the game's texture table entries.
constexpr int kTextureNameChars = 13;
constexpr int kSectorFlagMax = 1048576;

enum SectorField {
    kSecName,
    kSecLayer,
    kSecAmbient,
    kSecAltitude,
    kSecFlag1,
    kSecFlag2,
    kSecFlag3,
    kSecFloorX,
    kSecFloorZ,
    kSecFloorAlt,
    kSecFloorFlag,
    kSecFloorTex,
    kSecCeilX,
    kSecCeilZ,
    kSecCeilAlt,
    kSecCeilFlag,
    kSecCeilTex,
    kSectorFieldCount
};
constexpr std::array<PaneField, kSectorFieldCount> kSectorFields{{
    Text("name", "Name:"),
    Ranged("layer", "Layer:", -10, 10),
    Ranged("ambient", "Ambiance:", 0, 32),
    Real("altitude", "Altitude:", true),
    Ranged("flag-1", "Flag 1:", 0, kSectorFlagMax),
    Ranged("flag-2", "Flag 2:", 0, kSectorFlagMax),
    Ranged("flag-3", "Flag 3:", 0, kSectorFlagMax),
    Real("floor-x-offset", "Floor Xoff:"),
    Real("floor-z-offset", "Floor Zoff:"),
    Real("floor-altitude", "Floor Alt:", true),
    Int("floor-unknown", "Floor Unk:"),
    Text("floor-texture", "Floor Txt:", kTextureNameChars),
    Real("ceiling-x-offset", "Ceil Xoff:"),
    Real("ceiling-z-offset", "Ceil Zoff:"),
    Real("ceiling-altitude", "Ceil Alt:", true),
    Int("ceiling-unknown", "Ceil Unk:"),
    Text("ceiling-texture", "Ceil Txt:", kTextureNameChars),
}};

// The wall's four textures in the pane's order; the sign has no flag field.
enum WallField {
    kWallFlag1,
    kWallFlag2,
    kWallFlag3,
    kWallLight,
    kWallMidX,
    kWallMidY,
    kWallMidFlag,
    kWallMidTex,
    kWallTopX,
    kWallTopY,
    kWallTopFlag,
    kWallTopTex,
    kWallBotX,
    kWallBotY,
    kWallBotFlag,
    kWallBotTex,
    kWallSignX,
    kWallSignY,
    kWallSignTex,
    kWallAdjoin,
    kWallMirror,
    kWallWalk,
    kWallFieldCount
};
constexpr std::array<PaneField, kWallFieldCount> kWallFields{{
    Int("flag-1", "Flag 1:"),
    Int("flag-2", "Flag 2:"),
    Int("flag-3", "Flag 3:"),
    Int("light", "Light:"),
    Real("mid-x-offset", "Mid Xoff:"),
    Real("mid-y-offset", "Mid Yoff:"),
    Int("mid-unknown", "Mid Unk:"),
    Text("mid-texture", "Mid Txt:"),
    Real("top-x-offset", "Top Xoff:"),
    Real("top-y-offset", "Top Yoff:"),
    Int("top-unknown", "Top Unk:"),
    Text("top-texture", "Top Txt:"),
    Real("bottom-x-offset", "Bot Xoff:"),
    Real("bottom-y-offset", "Bot Yoff:"),
    Int("bottom-unknown", "Bot Unk:"),
    Text("bottom-texture", "Bot Txt:"),
    Real("sign-x-offset", "Sgn Xoff:"),
    Real("sign-y-offset", "Sgn Yoff:"),
    Text("sign-texture", "Sgn Txt:"),
    Int("adjoin", "Adjoin:"),
    Int("mirror", "Mirror:"),
    Int("walk", "Walk:"),
}};

enum VertexField { kVertexX, kVertexZ, kVertexFieldCount };
constexpr std::array<PaneField, kVertexFieldCount> kVertexFields{{
    Real("x", "Xoffset:"),
    Real("z", "ZOffset:"),
}};

enum ObjectField {
    kObjClass,
    kObjName,
    kObjX,
    kObjY,
    kObjZ,
    kObjYaw,
    kObjPitch,
    kObjRoll,
    kObjDifficulty,
    kObjLogic,
    kObjectFieldCount
};
constexpr std::array<PaneField, kObjectFieldCount> kObjectFields{{
    Choice("class", "Class:"),
    Text("name", "Name:"),
    Real("x", "Xoffset:"),
    Real("y", "YOffset:", true),
    Real("z", "ZOffset:"),
    Real("yaw", "Yaw:"),
    Real("pitch", "Pitch:"),
    Real("roll", "Roll:"),
    Choice("difficulty", "Difficulty:"),
    {"logic", "Logic:", FieldType::Lines, false, false, 0, 0, 0},
}};

constexpr std::array<std::string_view, 6> kClassChoices{"Spirit", "Safe", "Sprite", "Frame", "3D", "Sound"};
constexpr std::array<std::string_view, 5> kDifficultyChoices{"All levels", "Easy & Medium", "Easy",
                                                             "Medium & Hard", "Hard"};
constexpr std::array<int, 5> kDifficultyValues{0, -2, -1, 2, 3};

std::string Fill(std::string_view pattern, long long a, long long b = 0) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += std::to_string(pattern[i + 1] == '1' ? a : b);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// Field values after their checks, in the pane's order.
struct Parsed {
    std::string m_strText;
    long long m_nValue = 0;
    double m_dValue = 0.0;
    bool m_bTouched = false; // the text differs from what the pane showed
};

template <class T> void Put(T& dest, const T& value, bool& changed) {
    if (dest == value) return;
    dest = value;
    changed = true;
}

class Applier {
public:
    Applier(CDataLevel& level, std::vector<Parsed> values) : m_Level(level), m_Values(std::move(values)) {}

    bool touched(int f) const { return m_Values[static_cast<std::size_t>(f)].m_bTouched; }
    const Parsed& value(int f) const { return m_Values[static_cast<std::size_t>(f)]; }

    void putInt(int f, int& dest) {
        if (touched(f)) Put(dest, static_cast<int>(value(f).m_nValue), m_bChanged);
    }
    void putReal(int f, double& dest) {
        if (touched(f)) Put(dest, value(f).m_dValue, m_bChanged);
    }
    // A texture's index changes only when its name was edited: an untouched name keeps the
    // index it had, even when the table holds that name twice.
    void putTexture(int f, CDataTexture& dest) {
        if (touched(f))
            Put(dest.m_nTexture, m_Level.m_Lev.FindOrAddTexture(ToUpper(value(f).m_strText)), m_bChanged);
    }
    void putSlot(int x, int y, int flag, int tex, CDataTexture& dest) {
        putReal(x, dest.m_dOffsetX);
        putReal(y, dest.m_dOffsetY);
        if (flag >= 0) putInt(flag, dest.m_nTexFlag);
        putTexture(tex, dest);
    }
    void copyTexture(const CDataTexture& from, CDataTexture& to) {
        Put(to.m_nTexture, from.m_nTexture, m_bChanged);
        Put(to.m_dOffsetX, from.m_dOffsetX, m_bChanged);
        Put(to.m_dOffsetY, from.m_dOffsetY, m_bChanged);
        Put(to.m_nTexFlag, from.m_nTexFlag, m_bChanged);
    }

    CDataLevel& m_Level;
    std::vector<Parsed> m_Values;
    bool m_bChanged = false;
    bool m_bInfChanged = false;
};

CDataSector* SectorAt(const CDataLevel& level, int s) {
    return ItemAt(level.m_Lev.m_pSectors, s);
}

// The entry the pane works on, or none.
const CMapSelItem* PaneEntry(PaneKind kind, std::span<const CMapSelItem> selection) {
    if (selection.empty()) return nullptr;
    if ((kind == PaneKind::Vertex || kind == PaneKind::Object) && selection.size() != 1) return nullptr;
    return &selection.front();
}

CDataWall* WallOf(const CDataLevel& level, const CMapSelItem& e) {
    const CDataSector* sector = SectorAt(level, e.m_nSector);
    return sector ? ItemAt(sector->m_pWalls, e.m_nWall) : nullptr;
}
CDataVertex* VertexOf(const CDataLevel& level, const CMapSelItem& e) {
    const CDataSector* sector = SectorAt(level, e.m_nSector);
    return sector ? ItemAt(sector->m_pVertices, e.m_nVertex) : nullptr;
}
CDataObjectItem* ObjectOf(const CDataLevel& level, const CMapSelItem& e) {
    return ItemAt(level.m_Objects.m_pObjects, e.m_nObject);
}

std::string Number(long long n) {
    return std::to_string(n);
}

void ShowSlot(const CDataLevel& level, const CDataTexture& t, std::vector<std::string>& out, bool withFlag) {
    out.push_back(FormatReal(t.m_dOffsetX));
    out.push_back(FormatReal(t.m_dOffsetY));
    if (withFlag) out.push_back(Number(t.m_nTexFlag));
    out.push_back(ToLower(level.m_Lev.GetTextureName(t.m_nTexture)));
}

std::string ClassText(std::string_view cls) {
    for (const std::string_view entry : kClassChoices)
        if (EqualsNoCase(entry, cls)) return std::string(entry);
    return std::string(cls);
}

std::vector<std::string> ReadTexts(PaneKind kind, const CDataLevel& level, const CMapSelItem& e,
                                   std::string& title) {
    std::vector<std::string> t;
    char buffer[64];
    switch (kind) {
    case PaneKind::Sector: {
        const CDataSector* s = SectorAt(level, e.m_nSector);
        if (!s) return {};
        std::snprintf(buffer, sizeof buffer, "Sector %d", e.m_nSector);
        title = buffer;
        t = {s->m_strName,          Number(s->m_nLayer),
             Number(s->m_nAmbient), FormatReal(-s->m_dSecondAltitude),
             Number(s->m_nFlags1),  Number(s->m_nFlags2),
             Number(s->m_nFlags3)};
        t.push_back(FormatReal(s->m_FloorTexture.m_dOffsetX));
        t.push_back(FormatReal(s->m_FloorTexture.m_dOffsetY));
        t.push_back(FormatReal(-s->m_dFloorAltitude));
        t.push_back(Number(s->m_FloorTexture.m_nTexFlag));
        t.push_back(ToLower(level.m_Lev.GetTextureName(s->m_FloorTexture.m_nTexture)));
        t.push_back(FormatReal(s->m_CeilingTexture.m_dOffsetX));
        t.push_back(FormatReal(s->m_CeilingTexture.m_dOffsetY));
        t.push_back(FormatReal(-s->m_dCeilingAltitude));
        t.push_back(Number(s->m_CeilingTexture.m_nTexFlag));
        t.push_back(ToLower(level.m_Lev.GetTextureName(s->m_CeilingTexture.m_nTexture)));
        return t;
    }
    case PaneKind::Wall: {
        const CDataWall* w = WallOf(level, e);
        if (!w) return {};
        std::snprintf(buffer, sizeof buffer, "Wall %d, Sector %d", e.m_nWall, e.m_nSector);
        title = buffer;
        t = {Number(w->m_nFlags1), Number(w->m_nFlags2), Number(w->m_nFlags3), Number(w->m_nLight)};
        ShowSlot(level, w->m_Mid, t, true);
        ShowSlot(level, w->m_Top, t, true);
        ShowSlot(level, w->m_Bottom, t, true);
        ShowSlot(level, w->m_Sign, t, false);
        t.push_back(Number(w->m_nAdjoin));
        t.push_back(Number(w->m_nMirror));
        t.push_back(Number(w->m_nWalk));
        return t;
    }
    case PaneKind::Vertex: {
        const CDataVertex* v = VertexOf(level, e);
        if (!v) return {};
        std::snprintf(buffer, sizeof buffer, "Vertex %d, Sector %d", e.m_nVertex, e.m_nSector);
        title = buffer;
        return {FormatReal(v->m_dX), FormatReal(v->m_dZ)};
    }
    case PaneKind::Object: {
        const CDataObjectItem* o = ObjectOf(level, e);
        if (!o) return {};
        std::snprintf(buffer, sizeof buffer, "Object %d", o->m_nIndex);
        title = buffer;
        const std::optional<int> diff = DifficultyIndex(o->m_nDiff);
        t = {ClassText(o->m_strClass),
             ToLower(o->m_strData),
             FormatReal(o->m_dX),
             FormatReal(-o->m_dY),
             FormatReal(o->m_dZ),
             FormatReal(o->m_dYaw),
             FormatReal(o->m_dPitch),
             FormatReal(o->m_dRoll),
             diff ? std::string(kDifficultyChoices[static_cast<std::size_t>(*diff)]) : Number(o->m_nDiff),
             LogicText(*o)};
        return t;
    }
    }
    return {};
}

std::string_view PaneTitle(PaneKind kind) {
    switch (kind) {
    case PaneKind::Sector:
        return "Sector";
    case PaneKind::Wall:
        return "Wall";
    case PaneKind::Vertex:
        return "Vertex";
    case PaneKind::Object:
        return "Object";
    }
    return "";
}

Status ParseChoice(PaneKind kind, int f, std::string_view text, Parsed& out) {
    if (f == kObjClass) return Status::Ok();
    for (std::size_t i = 0; i < kDifficultyChoices.size(); ++i) {
        if (EqualsNoCase(Trim(text), kDifficultyChoices[i])) {
            out.m_nValue = kDifficultyValues[i];
            return Status::Ok();
        }
    }
    // A number the list does not name (read from a file) stays what it is.
    int value = 0;
    if (ParseIntegerField(text, PaneFields(kind)[static_cast<std::size_t>(f)], value)) {
        out.m_nValue = value;
        return Status::Ok();
    }
    return Status::Fail("Please choose one of the list's entries.");
}

void ApplySector(Applier& a, const CMapSelItem& first, std::span<const CMapSelItem> selection) {
    CDataLevel& level = a.m_Level;
    CDataSector& s = *SectorAt(level, first.m_nSector);
    if (a.touched(kSecName)) {
        const std::string& name = a.value(kSecName).m_strText;
        if (name != s.m_strName && !name.empty() && !s.m_strName.empty()) {
            RenameSector(level.m_Inf, s.m_strName, name);
            a.m_bInfChanged = true;
        }
        Put(s.m_strName, name, a.m_bChanged);
    }
    a.putInt(kSecLayer, s.m_nLayer);
    a.putInt(kSecAmbient, s.m_nAmbient);
    a.putReal(kSecAltitude, s.m_dSecondAltitude);
    a.putSlot(kSecFloorX, kSecFloorZ, kSecFloorFlag, kSecFloorTex, s.m_FloorTexture);
    a.putReal(kSecFloorAlt, s.m_dFloorAltitude);
    a.putSlot(kSecCeilX, kSecCeilZ, kSecCeilFlag, kSecCeilTex, s.m_CeilingTexture);
    a.putReal(kSecCeilAlt, s.m_dCeilingAltitude);
    a.putInt(kSecFlag1, s.m_nFlags1);
    a.putInt(kSecFlag2, s.m_nFlags2);
    a.putInt(kSecFlag3, s.m_nFlags3);
    for (const CMapSelItem& e : selection.subspan(1)) {
        CDataSector* other = SectorAt(level, e.m_nSector);
        if (!other || other == &s) continue;
        Put(other->m_nAmbient, s.m_nAmbient, a.m_bChanged);
        a.copyTexture(s.m_FloorTexture, other->m_FloorTexture);
        a.copyTexture(s.m_CeilingTexture, other->m_CeilingTexture);
    }
}

void ApplyWall(Applier& a, const CMapSelItem& first, std::span<const CMapSelItem> selection) {
    CDataWall& w = *WallOf(a.m_Level, first);
    a.putInt(kWallFlag1, w.m_nFlags1);
    a.putInt(kWallFlag2, w.m_nFlags2);
    a.putInt(kWallFlag3, w.m_nFlags3);
    a.putInt(kWallLight, w.m_nLight);
    a.putSlot(kWallMidX, kWallMidY, kWallMidFlag, kWallMidTex, w.m_Mid);
    a.putSlot(kWallTopX, kWallTopY, kWallTopFlag, kWallTopTex, w.m_Top);
    a.putSlot(kWallBotX, kWallBotY, kWallBotFlag, kWallBotTex, w.m_Bottom);
    a.putSlot(kWallSignX, kWallSignY, -1, kWallSignTex, w.m_Sign);
    a.putInt(kWallAdjoin, w.m_nAdjoin);
    a.putInt(kWallMirror, w.m_nMirror);
    a.putInt(kWallWalk, w.m_nWalk);
    for (const CMapSelItem& e : selection.subspan(1)) {
        CDataWall* other = WallOf(a.m_Level, e);
        if (!other || other == &w) continue;
        // The further walls take the flags, the light and the textures, never the joins.
        Put(other->m_nFlags1, w.m_nFlags1, a.m_bChanged);
        Put(other->m_nFlags2, w.m_nFlags2, a.m_bChanged);
        Put(other->m_nFlags3, w.m_nFlags3, a.m_bChanged);
        Put(other->m_nLight, w.m_nLight, a.m_bChanged);
        a.copyTexture(w.m_Mid, other->m_Mid);
        a.copyTexture(w.m_Top, other->m_Top);
        a.copyTexture(w.m_Bottom, other->m_Bottom);
        a.copyTexture(w.m_Sign, other->m_Sign);
    }
}

void ApplyVertex(Applier& a, const CMapSelItem& e, const ApplyOptions& options) {
    CDataVertex& v = *VertexOf(a.m_Level, e);
    const double oldX = v.m_dX, oldZ = v.m_dZ;
    a.putReal(kVertexX, v.m_dX);
    a.putReal(kVertexZ, v.m_dZ);
    if (!options.m_bMoveCoincidentVertices || (v.m_dX == oldX && v.m_dZ == oldZ)) return;
    for (const auto& sector : a.m_Level.m_Lev.m_pSectors) {
        for (const auto& other : sector->m_pVertices) {
            if (other.get() == &v || other->m_dX != oldX || other->m_dZ != oldZ) continue;
            other->m_dX = v.m_dX;
            other->m_dZ = v.m_dZ;
        }
    }
}

void ApplyObject(Applier& a, const CMapSelItem& e) {
    CDataObjectItem& o = *ObjectOf(a.m_Level, e);
    bool identity = false;
    if (a.touched(kObjClass)) Put(o.m_strClass, ToUpper(a.value(kObjClass).m_strText), identity);
    if (a.touched(kObjName)) Put(o.m_strData, ToUpper(a.value(kObjName).m_strText), identity);
    a.putReal(kObjX, o.m_dX);
    a.putReal(kObjY, o.m_dY);
    a.putReal(kObjZ, o.m_dZ);
    a.putReal(kObjYaw, o.m_dYaw);
    a.putReal(kObjPitch, o.m_dPitch);
    a.putReal(kObjRoll, o.m_dRoll);
    a.putInt(kObjDifficulty, o.m_nDiff);
    bool logic = false;
    if (a.touched(kObjLogic)) {
        const auto lines = ParseLogicText(a.value(kObjLogic).m_strText);
        logic = lines.size() != o.m_pSeqs.size();
        for (std::size_t i = 0; !logic && i < lines.size(); ++i)
            logic = lines[i].first != o.m_pSeqs[i]->m_strKey || lines[i].second != o.m_pSeqs[i]->m_strValue;
        if (logic) {
            o.m_pSeqs.clear();
            for (const auto& [key, value] : lines)
                o.m_pSeqs.push_back(std::make_unique<CDataObjectSeq>(key, value));
        }
    }
    if (identity) SetObjectDataIndex(a.m_Level.m_Objects, o);
    if (identity || logic) {
        AssignObjectColour(o);
        for (const auto& seq : o.m_pSeqs)
            AssignObjectColour(o, seq.get());
        a.m_bChanged = true;
    }
}

} // namespace

std::optional<PaneKind> PaneKindForMode(int mode) {
    switch (mode) {
    case kModeSector:
        return PaneKind::Sector;
    case kModeWall:
        return PaneKind::Wall;
    case kModeVertex:
        return PaneKind::Vertex;
    case kModeObject:
        return PaneKind::Object;
    default:
        return std::nullopt;
    }
}

std::string_view PaneChangeLabel(PaneKind kind) {
    switch (kind) {
    case PaneKind::Sector:
        return "Sector Properties";
    case PaneKind::Wall:
        return "Wall Properties";
    case PaneKind::Vertex:
        return "Vertex Properties";
    case PaneKind::Object:
        return "Object Properties";
    }
    return "";
}

std::span<const PaneField> PaneFields(PaneKind kind) {
    switch (kind) {
    case PaneKind::Sector:
        return kSectorFields;
    case PaneKind::Wall:
        return kWallFields;
    case PaneKind::Vertex:
        return kVertexFields;
    case PaneKind::Object:
        return kObjectFields;
    }
    return {};
}

int FindPaneField(PaneKind kind, std::string_view key) {
    const auto fields = PaneFields(kind);
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].m_strKey == key) return static_cast<int>(i);
    return -1;
}

std::span<const std::string_view> FieldChoices(PaneKind kind, int field) {
    if (kind != PaneKind::Object) return {};
    if (field == kObjClass) return kClassChoices;
    if (field == kObjDifficulty) return kDifficultyChoices;
    return {};
}

PaneValues ReadPane(PaneKind kind, const CDataLevel& level, std::span<const CMapSelItem> selection) {
    PaneValues values;
    values.m_strTitle = PaneTitle(kind);
    if (const CMapSelItem* e = PaneEntry(kind, selection)) {
        std::string title;
        values.m_Texts = ReadTexts(kind, level, *e, title);
        values.m_bHasItem = !values.m_Texts.empty();
        if (values.m_bHasItem) values.m_strTitle = title;
    }
    values.m_Texts.resize(PaneFields(kind).size());
    return values;
}

ApplyResult ApplyPane(PaneKind kind, CDataLevel& level, std::span<const CMapSelItem> selection,
                      std::span<const std::string> texts, const ApplyOptions& options) {
    ApplyResult result;
    const PaneValues shown = ReadPane(kind, level, selection);
    const auto fields = PaneFields(kind);
    if (!shown.m_bHasItem || texts.size() != fields.size()) return result;

    std::vector<Parsed> values(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        Parsed& v = values[i];
        v.m_strText = texts[i];
        // An untouched field is not read: its stored value stays exactly as it is.
        v.m_bTouched = texts[i] != shown.m_Texts[i];
        if (!v.m_bTouched) continue;
        const PaneField& f = fields[i];
        Status status;
        switch (f.m_eType) {
        case FieldType::Text:
            if (f.m_nMaxChars > 0 && texts[i].size() > static_cast<std::size_t>(f.m_nMaxChars))
                status = Status::Fail(Fill("Please enter no more than %1 characters.", f.m_nMaxChars));
            break;
        case FieldType::Integer: {
            int n = 0;
            status = ParseIntegerField(texts[i], f, n);
            v.m_nValue = n;
            break;
        }
        case FieldType::Real: {
            double d = 0.0;
            status = ParseRealField(texts[i], d);
            v.m_dValue = RoundHundredths(f.m_bNegated ? -d : d);
            break;
        }
        case FieldType::Choice:
            status = ParseChoice(kind, static_cast<int>(i), texts[i], v);
            break;
        case FieldType::Lines:
            break;
        }
        if (!status) {
            result.m_Status = status;
            result.m_nField = static_cast<int>(i);
            return result;
        }
    }

    Applier applier(level, std::move(values));
    const CMapSelItem& first = selection.front();
    switch (kind) {
    case PaneKind::Sector:
        ApplySector(applier, first, selection);
        break;
    case PaneKind::Wall:
        ApplyWall(applier, first, selection);
        break;
    case PaneKind::Vertex:
        ApplyVertex(applier, first, options);
        break;
    case PaneKind::Object:
        ApplyObject(applier, first);
        break;
    }
    if (applier.m_bChanged) result.m_nChanged |= kChangedGeometry;
    if (applier.m_bInfChanged) result.m_nChanged |= kChangedInf;
    return result;
}

std::optional<ChangeScope> PaneChangeScope(PaneKind kind, const CDataLevel& level,
                                           std::span<const CMapSelItem> selection,
                                           std::span<const std::string> texts) {
    ChangeScope scope;
    switch (kind) {
    case PaneKind::Vertex:
        return std::nullopt;
    case PaneKind::Object:
        for (const CMapSelItem& e : selection)
            scope.m_Objects.push_back(e.m_nObject);
        return scope;
    case PaneKind::Sector:
    case PaneKind::Wall:
        for (const CMapSelItem& e : selection)
            scope.m_Sectors.push_back(e.m_nSector);
        break;
    }
    if (kind == PaneKind::Sector && !selection.empty() && texts.size() > kSecName) {
        const CDataSector* s = SectorAt(level, selection.front().m_nSector);
        scope.m_bInf = !s || texts[kSecName] != s->m_strName;
    }
    return scope;
}

std::string_view PaneResourceExtension(PaneKind kind, std::string_view objectClass) {
    if (kind != PaneKind::Object) return ".bm";
    for (const PickerClass& c : PickerClasses())
        if (!c.m_strClassText.empty() && EqualsNoCase(c.m_strClassText, objectClass)) return c.m_strExtension;
    return {};
}

std::string_view NameForChosenClass(std::string_view objectClass) {
    if (EqualsNoCase(objectClass, "spirit")) return "SPIRIT";
    if (EqualsNoCase(objectClass, "safe")) return "SAFE";
    return {};
}

int PickerTargetField(PaneKind kind, int target) {
    static constexpr std::array<int, 2> kSector{kSecFloorTex, kSecCeilTex};
    static constexpr std::array<int, 4> kWall{kWallMidTex, kWallTopTex, kWallBotTex, kWallSignTex};
    const auto pick = [target](std::span<const int> fields) {
        return target >= 0 && static_cast<std::size_t>(target) < fields.size()
                   ? fields[static_cast<std::size_t>(target)]
                   : -1;
    };
    switch (kind) {
    case PaneKind::Sector:
        return pick(kSector);
    case PaneKind::Wall:
        return pick(kWall);
    case PaneKind::Object:
        return target == 0 ? kObjName : -1;
    case PaneKind::Vertex:
        break;
    }
    return -1;
}

bool ApplyPickerResult(PaneKind kind, int target, std::string_view name, std::string_view classText,
                       std::vector<std::string>& texts) {
    const int f = PickerTargetField(kind, target);
    if (f < 0 || texts.size() != PaneFields(kind).size()) return false;
    const std::string lower = ToLower(name);
    texts[static_cast<std::size_t>(f)] = lower;
    if (kind == PaneKind::Object) {
        texts[kObjClass] = ClassText(classText);
        texts[kObjLogic] = CatalogueLogicText(lower, 0);
    }
    return true;
}

ApplyResult ApplyPaneChange(CMorviDoc& doc, PaneKind kind, std::span<const std::string> texts,
                            const ApplyOptions& options) {
    const std::optional<ChangeScope> scope = PaneChangeScope(kind, doc.level(), doc.selection(), texts);
    doc.BeginChange(scope ? &*scope : nullptr);
    ApplyResult result = ApplyPane(kind, doc.level(), doc.selection(), texts, options);
    doc.EndChange(PaneChangeLabel(kind), result.m_nChanged);
    return result;
}

std::string FormatReal(double value) {
    if (value == 0.0) value = 0.0; // no "-0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

Status ParseIntegerField(std::string_view text, const PaneField& field, int& value) {
    const std::string_view t = Trim(text);
    long long n = 0;
    const char* begin = t.data();
    const char* end = t.data() + t.size();
    if (!t.empty() && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, n);
    const bool ok = !t.empty() && ec == std::errc() && ptr == end && n >= std::numeric_limits<int>::min() &&
                    n <= std::numeric_limits<int>::max();
    if (!ok) return Status::Fail("Please enter an integer.");
    if (field.m_bRanged && (n < field.m_nMin || n > field.m_nMax))
        return Status::Fail(Fill("Please enter an integer between %1 and %2.", field.m_nMin, field.m_nMax));
    value = static_cast<int>(n);
    return Status::Ok();
}

Status ParseRealField(std::string_view text, double& value) {
    const std::string t(Trim(text));
    char* end = nullptr;
    errno = 0;
    const double d = t.empty() ? 0.0 : std::strtod(t.c_str(), &end);
    // Stored values are counts of hundredths in 32 bits.
    constexpr double kLimit = 2147483647.0 / 100.0;
    if (t.empty() || end != t.c_str() + t.size() || !std::isfinite(d) || std::fabs(d) > kLimit)
        return Status::Fail("Please enter a number.");
    value = d;
    return Status::Ok();
}

std::optional<int> DifficultyIndex(int diff) {
    switch (diff) {
    case -3:
    case 0:
    case 1:
        return 0;
    case -2:
        return 1;
    case -1:
        return 2;
    case 2:
        return 3;
    case 3:
        return 4;
    default:
        return std::nullopt;
    }
}

int DifficultyValue(int index) {
    return index >= 0 && index < static_cast<int>(kDifficultyValues.size())
               ? kDifficultyValues[static_cast<std::size_t>(index)]
               : 0;
}

std::string LogicText(const CDataObjectItem& object) {
    std::string text;
    for (const auto& seq : object.m_pSeqs) {
        text += seq->m_strKey;
        text += ":\t";
        text += seq->m_strValue;
        text += "\r\n";
    }
    return ToLower(text);
}

std::vector<std::pair<std::string, std::string>> ParseLogicText(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> lines;
    while (!text.empty()) {
        const std::size_t tab = text.find('\t');
        if (tab == std::string_view::npos || tab > text.find('\n')) break;
        std::string_view key = TrimRight(text.substr(0, tab));
        // The colon closes the key; a key typed without one is kept whole.
        if (!key.empty() && key.back() == ':') key.remove_suffix(1);
        text.remove_prefix(tab + 1);
        const std::size_t end = text.find('\n');
        std::string_view value = text.substr(0, end);
        if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
        lines.emplace_back(ToUpper(Trim(key)), ToUpper(value));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

OffsetRanges TextureOffsetRanges(int width, int height) {
    return {{0, width / 8}, {-(height / 8), 0}};
}

OffsetRanges SignOffsetRanges(const CDataLevel& level, int s, int w) {
    const CDataSector* sector = SectorAt(level, s);
    const CDataWall* wall = sector ? ItemAt(sector->m_pWalls, w) : nullptr;
    if (!wall) return {};
    const CDataVertex* left = ItemAt(sector->m_pVertices, wall->m_nLeft);
    const CDataVertex* right = ItemAt(sector->m_pVertices, wall->m_nRight);
    const double length =
        left && right ? PointDistance(left->m_dX, left->m_dZ, right->m_dX, right->m_dZ) : 0.0;
    const double height = sector->m_dFloorAltitude - sector->m_dCeilingAltitude;
    const auto clamp = [](double d) { return static_cast<int>(std::clamp(d, -1e9, 1e9)); };
    return {{0, clamp(length)}, {-clamp(height), 0}};
}

} // namespace morvi
