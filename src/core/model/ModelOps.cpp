#include "model/ModelOps.h"

#include "model/StringUtil.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string_view>

namespace morvi {

double RoundHundredths(double x) {
    double r = x * 100.0;
    r += (r >= 0.0) ? 0.5 : -0.5;
    // The stored value is a 32-bit integer count of hundredths; clamp instead of overflowing.
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(r)) r = 0.0;
    if (r < lo) r = lo;
    if (r > hi) r = hi;
    return static_cast<double>(static_cast<std::int32_t>(r)) / 100.0;
}

double PointDistance(double x1, double z1, double x2, double z2) {
    const double dx = x1 - x2;
    const double dz = z1 - z2;
    return std::sqrt(dx * dx + dz * dz);
}

void BuildLoopStarts(const CDataSector& sector, std::vector<int>& starts) {
    const std::size_t first = starts.size();
    starts.push_back(0);
    bool open = false;
    int startVertex = 0;
    const auto& walls = sector.m_pWalls;
    for (std::size_t i = 0; i < walls.size(); ++i) {
        if (!open) {
            startVertex = walls[i]->m_nLeft;
            open = true;
        }
        if (walls[i]->m_nRight == startVertex) {
            starts.push_back(static_cast<int>(i + 1));
            open = false;
        }
    }
    if (starts.size() == first + 1) starts.push_back(static_cast<int>(walls.size()));
}

std::vector<int> GetEnclosedSectors(const CDataSector& sector) {
    std::vector<int> result;
    std::vector<int> starts;
    BuildLoopStarts(sector, starts);
    for (std::size_t k = 1; k + 1 < starts.size(); ++k) {
        const int begin = starts[k];
        const int end = starts[k + 1];
        if (end <= begin) continue;
        const int adjoin = sector.m_pWalls[begin]->m_nAdjoin;
        bool same = adjoin >= 0;
        for (int w = begin + 1; same && w < end; ++w)
            same = sector.m_pWalls[w]->m_nAdjoin == adjoin;
        if (same) result.push_back(adjoin);
    }
    return result;
}

int GetLoopLength(const CDataSector& sector, int wall) {
    std::vector<int> starts;
    BuildLoopStarts(sector, starts);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        if (wall >= starts[k] && wall < starts[k + 1]) return starts[k + 1] - starts[k];
    return 0;
}

namespace {

bool IsOneOf(std::string_view value, std::initializer_list<std::string_view> words) {
    for (std::string_view w : words)
        if (EqualsNoCase(value, w)) return true;
    return false;
}

bool Contains(std::string_view lowerValue, std::string_view word) {
    return lowerValue.find(word) != std::string_view::npos;
}

// The colour a sprite's LOGIC line gives, or 0xFFFFFFFF to keep the current one.
constexpr Colour kKeep = 0xFFFFFFFFu;

Colour SpriteLogicColour(std::string_view value) {
    const std::string lower = ToLower(value);
    if (IsOneOf(value, {"item shield", "shield", "invincible"})) return 0x0080FF;
    if (IsOneOf(value, {"life", "revive"})) return 0x00FFFF;
    if (IsOneOf(value, {"scenery", "barrel"})) return 0x808080;
    if (IsOneOf(value, {"plans", "nava", "i_officerr", "i_officery", "i_officerb"})) return 0xFF00FF;
    if (Contains(lower, "i_officer")) return 0xFF0000;
    if (IsOneOf(value, {"commando", "troop", "storm1", "bossk", "boba_fett", "g_guard"}) ||
        Contains(lower, "ree_yees") || Contains(lower, "d_troop"))
        return 0xFF0000;
    if (IsOneOf(value, {"int_droid", "probe_droid", "kell", "sewer1"})) return 0xFF0000;
    if (IsOneOf(value, {"remote"})) return 0xFFFFFF;
    if (Contains(lower, "generator")) return 0x00FFFF;
    return kKeep;
}

} // namespace

void AssignObjectColour(CDataObjectItem& object, const CDataObjectSeq* seq) {
    const std::string_view cls = object.m_strClass;
    if (EqualsNoCase(cls, "safe")) {
        object.m_crColour = 0x808080;
        return;
    }
    if (EqualsNoCase(cls, "spirit")) {
        object.m_crColour = 0x00FF00;
        return;
    }
    if (EqualsNoCase(cls, "3d") || EqualsNoCase(cls, "frame")) object.m_crColour = 0x808080;
    if (!seq) return;

    const std::string_view key = seq->m_strKey;
    const std::string_view value = seq->m_strValue;
    if (EqualsNoCase(cls, "sprite")) {
        if (EqualsNoCase(key, "logic")) {
            const Colour c = SpriteLogicColour(value);
            if (c != kKeep) object.m_crColour = c;
        } else if (EqualsNoCase(key, "type")) {
            object.m_crColour = 0xFF0000;
        }
    } else if (EqualsNoCase(cls, "frame") && EqualsNoCase(key, "logic")) {
        object.m_crColour = 0xFFFF00;
        if (EqualsNoCase(value, "item energy")) {
            if (EqualsNoCase(object.m_strData, "imedkit.fme") ||
                EqualsNoCase(object.m_strData, "icharge.fme"))
                object.m_crColour = 0x0080FF;
        } else if (IsOneOf(value, {"supercharge", "rifle"})) {
            object.m_crColour = 0x00FFFF;
        } else if (EqualsNoCase(value, "goggles")) {
            object.m_crColour = 0x808000;
        }
    }
}

void SetObjectDataIndex(CDataObjects& objects, CDataObjectItem& object) {
    std::vector<CDataNameEntry>* table = nullptr;
    const std::string_view cls = object.m_strClass;
    if (EqualsNoCase(cls, "sprite"))
        table = &objects.m_Sprs;
    else if (EqualsNoCase(cls, "frame"))
        table = &objects.m_Fmes;
    else if (EqualsNoCase(cls, "3d"))
        table = &objects.m_Pods;
    else if (EqualsNoCase(cls, "sound"))
        table = &objects.m_Sounds;
    if (!table) {
        object.m_nData = 0;
        return;
    }
    for (std::size_t i = 0; i < table->size(); ++i) {
        if ((*table)[i].m_strName == object.m_strData) {
            object.m_nData = static_cast<int>(i);
            return;
        }
    }
    object.m_nData = static_cast<int>(table->size());
    table->emplace_back(object.m_nData, object.m_strData);
}

std::string SectorDamage(const CDataLevel& level, int s) {
    const auto& sectors = level.m_Lev.m_pSectors;
    const CDataSector* sector = ItemAt(sectors, s);
    if (!sector) return {};
    const std::string repair = "; repair the level first.";
    const auto where = [&](std::size_t w) {
        return "Sector " + std::to_string(s) + " wall " + std::to_string(w);
    };
    for (std::size_t w = 0; w < sector->m_pWalls.size(); ++w) {
        const CDataWall& wall = *sector->m_pWalls[w];
        for (const int v : {wall.m_nLeft, wall.m_nRight})
            if (!ValidIndex(sector->m_pVertices.size(), v))
                return where(w) + " uses vertex " + std::to_string(v) + ", which the sector does not have" +
                       repair;
        for (const int other : {wall.m_nAdjoin, wall.m_nWalk})
            if (other != -1 && !ValidIndex(sectors.size(), other))
                return where(w) + " leads to sector " + std::to_string(other) +
                       ", which the level does not have" + repair;
        const CDataSector* adjoined = ItemAt(sectors, wall.m_nAdjoin);
        if (adjoined && !ValidIndex(adjoined->m_pWalls.size(), wall.m_nMirror))
            return where(w) + " mirrors wall " + std::to_string(wall.m_nMirror) + " of sector " +
                   std::to_string(wall.m_nAdjoin) + ", which that sector does not have" + repair;
    }
    return {};
}

} // namespace morvi
