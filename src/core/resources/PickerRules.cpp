#include "resources/PickerRules.h"

#include "model/StringUtil.h"

#include <array>
#include <initializer_list>

namespace morvi {
namespace {

using Names = std::initializer_list<std::string_view>;

bool StartsAny(std::string_view name, Names prefixes) {
    for (std::string_view p : prefixes)
        if (name.starts_with(p)) return true;
    return false;
}

bool ContainsAny(std::string_view name, Names parts) {
    for (std::string_view p : parts)
        if (name.find(p) != std::string_view::npos) return true;
    return false;
}

bool IsAny(std::string_view name, Names exact) {
    for (std::string_view e : exact)
        if (name == e) return true;
    return false;
}

constexpr std::array<PickerClass, 5> kClasses{{
    {"Sprites", "\\sprites.gob", GameFolder::CdRom, ".wax", "Sprite"},
    {"Textures", "\\textures.gob", GameFolder::CdRom, ".bm", ""},
    {"Frames", "\\sprites.gob", GameFolder::CdRom, ".fme", "Frame"},
    {"3DOs", "\\dark.gob", GameFolder::CdRom, ".3do", "3d"},
    {"Sounds", "\\sounds.gob", GameFolder::Installed, ".voc", "Sound"},
}};

constexpr std::array<std::string_view, 7> kTextureCategories{
    "All Textures", "Switches & Animated", "Skys", "Doors & Doortracks", "Cargo", "Signs", "Assembly Lines"};
constexpr std::array<std::string_view, 4> kFrameCategories{"All Frames", "Weapons & Powerups",
                                                           "Goal Objects & Keys", "Decorative"};
constexpr std::array<std::string_view, 5> kWaxCategories{"All Waxes", "Monsters", "Weapons & Powerups",
                                                         "Goal Objects", "Decorative"};
constexpr std::array<std::string_view, 1> k3doCategories{"All 3D Objects"};
constexpr std::array<std::string_view, 7> kSoundCategories{
    "All Sounds", "Ambient", "Page", "Enemy", "Weapon", "Door/Elev/Switch", "Player/Engine"};

// The game archive holds interface pictures and weapon sprites among the textures; they are
// never offered for walls and floors.
bool IsWallTexture(std::string_view name) {
    if (!name.ends_with(".bm")) return false;
    if (std::string_view("aflmp").find(name.front()) != std::string_view::npos) return false;
    return !ContainsAny(name, {"clay", "concuss", "diskerr", "gmask", "rhand", "rifle", "sidetext", "status",
                               "therm", "wait", "narshada"});
}

bool TextureRule(std::size_t category, std::string_view n) {
    if (!IsWallTexture(n)) return false;
    switch (category) {
    case 0:
        return true;
    case 1:
        return IsAny(n, {"zacomp1.bm", "zaeye.bm", "zanav.bm", "zaspin.bm"}) || n.starts_with("zaswit");
    case 2:
        return IsAny(n, {"cesunset.bm", "gegrosky.bm", "iedetsky.bm", "ieramsky.bm", "iestars.bm",
                         "ietstsky.bm", "nenarsky.bm", "resky01.bm", "resky02.bm", "sesewsky.bm"});
    case 3:
        return !n.starts_with("idgroove") &&
               StartsAny(n, {"gd", "ic", "id", "jd", "nd", "rd", "sd", "td", "zd"});
    case 4:
        return StartsAny(n, {"idmg", "iprm", "idsecb2", "ndbrown", "zpsew", "zpsgr"});
    case 5:
        return StartsAny(
            n, {"iwfuels", "iwramgl", "iwramon", "nssign", "nwtv", "rpdangr2", "zsb", "zsrebel3", "zwmaze"});
    case 6:
        return StartsAny(n, {"ida", "iwaconv", "iwtstb4", "iwftank", "npwrnfad", "rpconvb"});
    default:
        return false;
    }
}

// sprites.gob and the level's sprite list hold frames and waxes together, so every frame and wax
// category first keeps its own extension.
bool FrameRule(std::size_t category, std::string_view n) {
    if (!n.ends_with(".fme")) return false;
    switch (category) {
    case 0:
        return true;
    case 1:
        return !StartsAny(n, {"a", "b", "c", "ded", "fro", "gf", "ikey", "io", "iob", "iph", "ipi", "jan",
                              "lit", "mof", "smal"});
    case 2:
        return StartsAny(n, {"det", "idata", "idtgun", "ikey", "iph", "ipile"});
    case 3:
        return !n.starts_with("bullet") &&
               StartsAny(n, {"a", "b", "c", "ded", "fro", "gf", "iob", "jan", "lit", "mof", "sma"});
    default:
        return false;
    }
}

bool WaxRule(std::size_t category, std::string_view n) {
    if (!n.ends_with(".wax")) return false;
    switch (category) {
    case 0:
        return true;
    case 1:
        return StartsAny(n, {"bobafett", "bossk", "commando", "ga", "intdroid", "kell", "off", "pha", "pro",
                             "ree", "rem", "sew", "sto"});
    case 2:
        return StartsAny(n, {"iarmor", "iinvinc", "ilife", "irevive", "wmsl", "wplasma", "wshell"});
    case 3:
        return StartsAny(n, {"id", "ip", "inava"});
    case 4:
        return !n.starts_with("bullet") &&
               StartsAny(n, {"ba", "ch", "ems", "ewo", "h", "ic", "if", "l", "red", "ro", "t"});
    default:
        return false;
    }
}

bool ObjectRule(std::size_t category, std::string_view n) {
    return category == 0 && n.find(".3do") != std::string_view::npos;
}

bool SoundRule(std::size_t category, std::string_view n) {
    if (!n.ends_with(".voc")) return false;
    switch (category) {
    case 0:
        return true;
    case 1:
        return StartsAny(n, {"conveyer", "electric", "machine", "power", "rumble", "water", "wind"});
    case 2:
        return StartsAny(n, {"beep-01", "landing", "m0", "m1", "takeoff"});
    case 3:
        return StartsAny(n, {"axe",    "boba",   "bossk", "chu",   "creat", "eeek", "gamor",
                             "icm",    "int",    "ioff",  "kell",  "phase", "prob", "ran",
                             "reeyee", "remote", "st",    "sword", "tra",   "tur",  "weld"});
    case 4:
        return StartsAny(n, {"ammo",   "beep-10", "big",  "bol",   "bul",    "butt",   "clay", "concu",
                             "emisby", "ex-",     "fire", "flame", "fusion", "lasr",   "miss", "mort",
                             "pist",   "plas",    "rep",  "rif",   "rock",   "thermal"});
    case 5:
        return StartsAny(n, {"door", "elev", "switch"});
    case 6:
        return StartsAny(n, {"bonus",  "choke", "cleat",   "complete", "crush",   "fall",   "gogg",
                             "health", "jump",  "key",     "kyle",     "land",    "lock",   "logo",
                             "mask",   "punch", "quarter", "revival",  "scrshot", "shield", "snow",
                             "splash", "swim",  "swing",   "weapon"});
    default:
        return false;
    }
}

using Rule = bool (*)(std::size_t, std::string_view);

Rule RuleFor(std::string_view lowerExtension) {
    if (lowerExtension == ".bm") return TextureRule;
    if (lowerExtension == ".fme") return FrameRule;
    if (lowerExtension == ".wax") return WaxRule;
    if (lowerExtension == ".3do") return ObjectRule;
    if (lowerExtension == ".voc") return SoundRule;
    return nullptr;
}

} // namespace

std::span<const PickerClass> PickerClasses() {
    return kClasses;
}

std::span<const std::string_view> PickerCategories(std::string_view extension) {
    const std::string ext = ToLower(extension);
    if (ext == ".bm") return kTextureCategories;
    if (ext == ".fme") return kFrameCategories;
    if (ext == ".wax") return kWaxCategories;
    if (ext == ".3do") return k3doCategories;
    if (ext == ".voc") return kSoundCategories;
    return {};
}

std::vector<std::string> PickerList(std::string_view extension, std::size_t category,
                                    std::span<const std::string> gameNames,
                                    std::span<const std::string> levelNames) {
    std::vector<std::string> listed;
    const Rule rule = RuleFor(ToLower(extension));
    if (!rule) return listed;
    for (auto names : {gameNames, levelNames})
        for (const std::string& name : names) {
            std::string lower = ToLower(name);
            if (rule(category, lower)) listed.push_back(std::move(lower));
        }
    return listed;
}

int PickerSelection(std::span<const std::string> listed, std::string_view current) {
    if (listed.empty()) return -1;
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (listed[i] == current) return static_cast<int>(i);
    return 0;
}

} // namespace morvi
