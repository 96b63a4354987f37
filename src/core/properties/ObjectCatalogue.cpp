#include "properties/ObjectCatalogue.h"

#include "model/StringUtil.h"

#include <array>

namespace morvi {
namespace {

constexpr std::array<std::string_view, 10> kCategories{
    "Player and Safe",  "Keys and Goals",         "Bosses",   "Imperial Troops", "Monsters",
    "Robots and Traps", "Weapons and Ammunition", "Powerups", "Light Sources",   "Decoratives"};

constexpr std::array<CatalogueEntry, 91> kCatalogue{{
    {0, "spirit", "Player Start Position"},
    {0, "safe", "Restart Position"},

    {1, "ikeyb.fme", "Blue Key"},
    {1, "ikeyr.fme", "Red Key"},
    {1, "ikeyy.fme", "Yellow Key"},
    {1, "idtgun.fme", "Broken DT Weapon"},
    {1, "idata.fme", "Data Card"},
    {1, "idplans.wax", "DeathStar Plans"},
    {1, "inava.wax", "Nava Card"},
    {1, "iphrik.fme", "Phrik Metal"},
    {1, "ipile.fme", "Kyle's Stuff"},
    {1, "det_code.fme", "Code Key 1-9"},

    {2, "bobafett.wax", "Boba Fett"},
    {2, "phase1.wax", "Dark Trooper Phase I"},
    {2, "phase2.wax", "Dark Trooper Phase II"},
    {2, "phase3x.wax", "Dark Trooper Phase III"},

    {3, "offcfin.wax", "Officer"},
    {3, "commando.wax", "Commando"},
    {3, "stormfin.wax", "Stormtrooper"},

    {4, "bossk.wax", "Bossk"},
    {4, "gamguard.wax", "Gamorean Guard"},
    {4, "kell.wax", "Kell Dragon"},
    {4, "reeyees.wax", "ReeYees"},
    {4, "sewerbug.wax", "Sewer Bug"},

    {5, "intdroid.wax", "Interrogation Droid"},
    {5, "probe.wax", "Probe Droid"},
    {5, "remote.wax", "Remote Droid"},
    {5, "landmine.fme", "Land Mine"},
    {5, "gun.3do", "Laser Turret"},
    {5, "weldarm.3do", "Welder Arm"},
    {5, "weldbase.3do", "Welder Base"},
    {5, "mousebot.3do", "Mouse Bot"},

    {6, "ist-guni.fme", "Laser Rifle, Horizontal"},
    {6, "ist-gunu.fme", "Laser Rifle, Vertical"},
    {6, "ifusion.fme", "Fusion Cutter"},
    {6, "iautogun.fme", "AutoGun"},
    {6, "imortar.fme", "Mortar"},
    {6, "iconcus.fme", "Concussion Rifle"},
    {6, "icannon.fme", "DT Weapon"},
    {6, "idet.fme", "Detonator"},
    {6, "idets.fme", "Detonators"},
    {6, "imsl.fme", "DT Missile"},
    {6, "imsls.fme", "DT Missiles"},
    {6, "imine.fme", "Land Mine"},
    {6, "imines.fme", "Land Mines"},
    {6, "ishell.fme", "Mortar Shell"},
    {6, "ishells.fme", "Mortar Shells"},
    {6, "ienergy.fme", "Energy Cells"},
    {6, "iplazma.fme", "Plasma Cells"},
    {6, "ipower.fme", "Power Cells"},

    {7, "ibattery.fme", "Battery"},
    {7, "imask.fme", "Gas Mask"},
    {7, "igoggles.fme", "Goggles"},
    {7, "icleats.fme", "Ice Cleats"},
    {7, "iinvinc.wax", "Invincible"},
    {7, "ilife.wax", "Life"},
    {7, "imedkit.fme", "Medkit"},
    {7, "irevive.wax", "Revive"},
    {7, "iarmor.wax", "Shield"},
    {7, "icharge.fme", "Supercharge"},

    {8, "bullexp.wax", "Explosive Light"},
    {8, "concexp.wax", "Light Bulp"},
    {8, "iceilit2.wax", "Ceiling Lamp"},
    {8, "iflrlit.wax", "Floor Lamp"},
    {8, "hanglit.wax", "Hanging Lamp"},
    {8, "lit1.wax", "Short Standing Lamp 1"},
    {8, "lit2.wax", "Short Standing Lamp 2"},
    {8, "redlit.wax", "Hanging Red Lamp"},
    {8, "tallit1.wax", "Tall Standing Lamp 1"},
    {8, "tallit2.wax", "Tall Standing Lamp 2"},
    {8, "tblelit.wax", "Table Light"},

    {9, "ashtray.fme", "Ashtray"},
    {9, "barrel.wax", "Barrel"},
    {9, "beerpip.fme", "Beerpip"},
    {9, "bobaball.wax", "Boba Ball"},
    {9, "cflame.wax", "Explosion Flame 1"},
    {9, "chain.fme", "Hanging Chain"},
    {9, "chair.wax", "Chair"},
    {9, "crix.wax", "Prisoner"},
    {9, "dedbody1.fme", "Dead Body 1"},
    {9, "dedbody2.fme", "Dead Body 2"},
    {9, "dedbody3.fme", "Dead Body 3"},
    {9, "default.wax", "Grey Hat Animal"},
    {9, "dflame.wax", "Explosion Flame 2"},
    {9, "emsculp.wax", "Emperor's Sculpture"},
    {9, "ewok86.wax", "Ewok"},
    {9, "frogbowl.wax", "Bowl"},
    {9, "gfventdn.fme", "Cylinder, Opening down"},
    {9, "gfventup.fme", "Cylinder, Opening up"},
    {9, "rock.wax", "Rock"},
    {9, "table.wax", "Table"},
}};

// The objects whose logic is one "LOGIC" line. The catalogue's Fusion Cutter names "ifusion.fme",
// which has no line here: which of the two names the game's sprite archive holds is still open.
struct SingleLogic {
    std::string_view m_strFile;
    std::string_view m_strLogic;
};

constexpr SingleLogic kSingleLogic[]{
    {"iautogun.fme", "AUTOGUN"},    {"ibattery.fme", "BATTERY"},  {"icannon.fme", "CANNON"},
    {"icharge.fme", "SUPERCHARGE"}, {"icleats.fme", "CLEATS"},    {"iconcus.fme", "CONCUSSION"},
    {"idet.fme", "DETONATOR"},      {"idets.fme", "DETONATORS"},  {"idtgun.fme", "DT_WEAPON"},
    {"ienergy.fme", "ENERGY"},      {"ifusiont.fme", "FUSION"},   {"igoggles.fme", "GOGGLES"},
    {"ikeyb.fme", "BLUE"},          {"ikeyr.fme", "RED"},         {"ikeyy.fme", "YELLOW"},
    {"det_code.fme", "CODE1"},      {"imask.fme", "MASK"},        {"imedkit.fme", "MEDKIT"},
    {"imine.fme", "MINE"},          {"imines.fme", "MINES"},      {"imortar.fme", "MORTAR"},
    {"imsl.fme", "MISSILE"},        {"imsls.fme", "MISSILES"},    {"iphrik.fme", "PHRIK"},
    {"ipile.fme", "PILE"},          {"iplazma.fme", "PLASMA"},    {"ipower.fme", "POWER"},
    {"ishell.fme", "SHELL"},        {"ishells.fme", "SHELLS"},    {"landmine.fme", "LAND_MINE"},
    {"barrel.wax", "BARREL"},       {"bossk.wax", "BOSSK"},       {"commando.wax", "COMMANDO"},
    {"gamguard.wax", "G_GUARD"},    {"idplans.wax", "PLANS"},     {"intdroid.wax", "INT_DROID"},
    {"kell.wax", "KELL"},           {"probe.wax", "PROBE_DROID"}, {"remote.wax", "REMOTE"},
    {"sewerbug.wax", "SEWER1"},     {"triplt.wax", "ANIM"},       {"gun.3do", "TURRET"},
    {"mousebot.3do", "MOUSEBOT"},   {"weldarm.3do", "WELDER"},
};

struct LogicLine {
    std::string_view m_strKey; // empty in the unused lines of a row
    std::string_view m_strValue;
};

// The lines of one file, for one index of the "Sequence:" list or for every index.
struct LogicRow {
    std::string_view m_strFile;
    int m_nSequence;
    std::array<LogicLine, 4> m_Lines;
};

constexpr LogicLine kScenery{"LOGIC", "SCENERY"};
constexpr LogicLine kAnim{"LOGIC", "ANIM"};
constexpr LogicLine kNoRadius{"RADIUS", "0"};
constexpr LogicLine kBoss{"BOSS", "TRUE"};
constexpr LogicLine kKey{"LOGIC", "KEY"};
constexpr LogicLine kPause{"PAUSE", "TRUE"};
constexpr LogicLine kUpdate{"LOGIC", "UPDATE"};
constexpr int kAll = -1; // the row's lines hold for every index of the "Sequence:" list

// Kyle's 3D model: every sequence is a paused key object on its own view path, some with a second
// path appended.
constexpr LogicRow KyleSequence(int sequence, std::string_view view, std::string_view appended = {}) {
    return {"kyl3do.3do",
            sequence,
            {{kKey, kPause, {"VUE", view}, {appended.empty() ? "" : "VUE_APPEND", appended}}}};
}

constexpr LogicRow kLogicRows[]{
    {"spirit", kAll, {{{"LOGIC", "PLAYER"}, {"EYE", "TRUE"}}}},
    {"beerpip.fme", kAll, {{{"LOGIC", "-9"}, kNoRadius}}},
    {"chain.fme", kAll, {{kNoRadius}}},
    {"dedbody1.fme", kAll, {{kNoRadius}}},
    {"dedbody2.fme", kAll, {{kNoRadius}}},
    {"dedbody3.fme", kAll, {{kNoRadius}}},
    {"gfventdn.fme", kAll, {{{"HEIGHT", "2"}}}},
    {"gfventup.fme", kAll, {{{"HEIGHT", "-2"}}}},
    {"idata.fme", kAll, {{{"LOGIC", "DATATAPE"}, {"RADIUS", "1.5"}, kUpdate}}},
    {"ist-guni.fme", kAll, {{{"LOGIC", "RIFLE"}}}},
    {"ist-gunu.fme", kAll, {{{"LOGIC", "RIFLE"}}}},
    {"bobafett.wax", kAll, {{{"LOGIC", "BOBA_FETT"}, kBoss}}},
    {"phase1.wax", kAll, {{{"LOGIC", "D_TROOP1"}, kBoss}}},
    {"phase2.wax", kAll, {{{"LOGIC", "D_TROOP2"}, kBoss}}},
    {"phase3x.wax", kAll, {{{"LOGIC", "D_TROOP3"}, kBoss}}},
    {"cflame.wax", kAll, {{kAnim, kNoRadius}}},
    {"dflame.wax", kAll, {{kAnim, kNoRadius}}},
    {"chair.wax", kAll, {{kScenery}}},
    {"iceilit2.wax", kAll, {{kScenery}}},
    {"table.wax", kAll, {{kScenery}}},
    {"emsculp.wax", kAll, {{kScenery, kAnim}}},
    {"ewok86.wax", kAll, {{kScenery, kAnim}}},
    {"lit1.wax", kAll, {{kScenery, kAnim}}},
    {"lit2.wax", kAll, {{kScenery, kAnim}}},
    {"tallit1.wax", kAll, {{kScenery, kAnim}}},
    {"tallit2.wax", kAll, {{kScenery, kAnim}}},
    {"frogbowl.wax", kAll, {{kScenery, kAnim, kNoRadius}}},
    {"tblelit.wax", kAll, {{kScenery, kAnim, kNoRadius}}},
    {"hanglit.wax", kAll, {{kScenery, kAnim, {"HEIGHT", "-6"}, kNoRadius}}},
    {"redlit.wax", kAll, {{kScenery, kAnim, {"HEIGHT", "-3"}}}},
    {"iflrlit.wax", kAll, {{kScenery, kNoRadius}}},
    {"rock.wax", kAll, {{kScenery, kNoRadius}}},
    {"iarmor.wax", kAll, {{{"LOGIC", "SHIELD"}, kAnim}}},
    {"iinvinc.wax", kAll, {{{"LOGIC", "INVINCIBLE"}, kAnim}}},
    {"ilife.wax", kAll, {{{"LOGIC", "LIFE"}, kAnim}}},
    {"inava.wax", kAll, {{{"LOGIC", "NAVA"}, kAnim}}},
    {"irevive.wax", kAll, {{{"LOGIC", "REVIVE"}, kAnim}}},
    {"offcfin.wax", 0, {{{"LOGIC", "I_OFFICER"}}}},
    {"offcfin.wax", 1, {{{"LOGIC", "I_OFFICERR"}}}},
    {"offcfin.wax", 2, {{{"LOGIC", "I_OFFICERB"}}}},
    {"offcfin.wax", 3, {{{"LOGIC", "I_OFFICERY"}}}},
    {"offcfin.wax", 4, {{{"LOGIC", "I_OFFICER1"}}}},
    {"offcfin.wax", 5, {{{"LOGIC", "I_OFFICER2"}}}},
    {"offcfin.wax", 6, {{{"LOGIC", "I_OFFICER3"}}}},
    {"offcfin.wax", 7, {{{"LOGIC", "I_OFFICER4"}}}},
    {"offcfin.wax", 8, {{{"LOGIC", "I_OFFICER5"}}}},
    {"reeyees.wax", 0, {{{"LOGIC", "REE_YEES"}}}},
    {"reeyees.wax", 1, {{{"LOGIC", "REE_YEES2"}}}},
    {"stormfin.wax", 0, {{{"LOGIC", "TROOP"}}}},
    {"stormfin.wax", 1, {{{"LOGIC", "STORM1"}}}},
    {"cargo.3do", kAll, {{kKey, {"VUE", "CARGOALL.VUE"}, {"FRAME_RATE", "10"}, {"RADIUS", "6"}}}},
    {"death.3do", kAll, {{kUpdate, {"FLAGS", "16"}, {"D_YAW", "50"}}}},
    {"human3.3do", kAll, {{kUpdate, {"FLAGS", "16"}, {"D_YAW", "50"}}}},
    {"rameng.3do", kAll, {{kUpdate, {"D_ROLL", "999"}, {"FLAGS", "32"}}}},
    {"tb_fan.3do", kAll, {{kUpdate, {"D_PITCH", "999"}, {"FLAGS", "8"}}}},
    {"tielo-3.3do", kAll, {{kKey, {"VUE", "TIE.VUE \"PIT\""}, {"VUE_APPEND", "TIE.VUE \"PIT01\""}}}},
    {"weldbase.3do", kAll, {{{"RADIUS", "2.5"}}}},
    KyleSequence(0, "SB_LAND.VUE \"CONST01\""),
    KyleSequence(1, "TALAY_TO.VUE \"KYLES\"", "TALAY_LD.VUE \"KYLES\""),
    KyleSequence(2, "WEAPON_T.VUE \"KYLES\"", "WEAPON_L.VUE \"KYLES\""),
    KyleSequence(3, "DETEM_TO.VUE \"KYLES\""),
    KyleSequence(4, "GROMAS_T.VUE \"KYLES\"", "GROMAS_L.VUE \"KYLES\""),
    KyleSequence(5, "ROBOT_TO.VUE \"KYLES\"", "ROBOT_LD.VUE \"KYLES\""),
    KyleSequence(6, "MATT.VUE \"KYLES\""),
    KyleSequence(7, "IMPCIT_L.VUE \"KYLES\""),
};

constexpr std::string_view kGeneratorTemplate = "logic:\tgenerator ??\r\n"
                                                "delay:\t0\r\n"
                                                "interval:\t1\r\n"
                                                "num_terminate:\t-1\r\n"
                                                "max_alive:\t2\r\n"
                                                "max_dist:\t200\r\n"
                                                "min_dist:\t5\r\n";

std::string LogicTextLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += ":\t";
    line += value;
    line += "\r\n";
    return line;
}

} // namespace

std::span<const std::string_view> ObjectCategories() {
    return kCategories;
}

std::span<const CatalogueEntry> ObjectCatalogue() {
    return kCatalogue;
}

const CatalogueEntry* FindCatalogueEntry(std::string_view fileName) {
    for (const CatalogueEntry& entry : kCatalogue)
        if (entry.m_strFile == fileName) return &entry;
    return nullptr;
}

std::string CatalogueLogicText(std::string_view fileName, int sequenceIndex) {
    for (const SingleLogic& row : kSingleLogic)
        if (EqualsNoCase(row.m_strFile, fileName)) return ToLower(LogicTextLine("LOGIC", row.m_strLogic));
    std::string text;
    for (const LogicRow& row : kLogicRows) {
        if (!EqualsNoCase(row.m_strFile, fileName)) continue;
        if (row.m_nSequence != kAll && row.m_nSequence != sequenceIndex) continue;
        for (const LogicLine& line : row.m_Lines)
            if (!line.m_strKey.empty()) text += LogicTextLine(line.m_strKey, line.m_strValue);
        break;
    }
    return ToLower(text);
}

int SequenceEntryCount(std::string_view logicText, std::string_view name) {
    if (ContainsNoCase(logicText, "generator")) return 1;
    if (EqualsNoCase(name, "kyl3do.3do")) return 8;
    if (EqualsNoCase(name, "offcfin.wax")) return 9;
    if (EqualsNoCase(name, "reeyees.wax") || EqualsNoCase(name, "stormfin.wax")) return 2;
    return 1;
}

std::string_view CatalogueClassFor(std::string_view fileName) {
    if (ContainsNoCase(fileName, ".wax")) return "sprite";
    if (ContainsNoCase(fileName, ".fme")) return "frame";
    if (ContainsNoCase(fileName, ".3do")) return "3d";
    if (ContainsNoCase(fileName, ".voc")) return "sound";
    if (ContainsNoCase(fileName, "safe")) return "safe";
    return "spirit";
}

std::string_view GeneratorTemplate() {
    return kGeneratorTemplate;
}

} // namespace morvi
