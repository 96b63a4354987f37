#include "properties/ObjectCatalogue.h"

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

} // namespace morvi
