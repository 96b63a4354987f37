#include "mapedit/EditContext.h"

#include "model/ModelOps.h"

#include <algorithm>
#include <cmath>

namespace morvi {

double SnapToGrid(double v, bool gridOn, double step) {
    if (gridOn) {
        const double t = v >= 0 ? v + step / 2 : v - step / 2;
        return t - std::fmod(t, step);
    }
    return v >= 0 ? std::trunc(v * 100 + 0.5) / 100 : std::trunc(v * 100 - 0.5) / 100;
}

// A document read from a file may hold any grid level; the views clamp it when they lay
// themselves out, an edit without a view clamps it here.
std::string EditContext::DamageRefusal() const {
    if (mode() == kModeObject) return {};
    const CDataLevel& lvl = level();
    const auto& sectors = lvl.m_Lev.m_pSectors;
    std::vector<int> reached;
    std::vector<bool> seen(sectors.size(), false);
    const auto reach = [&](int s) {
        if (!ValidIndex(sectors.size(), s) || seen[static_cast<std::size_t>(s)]) return;
        seen[static_cast<std::size_t>(s)] = true;
        reached.push_back(s);
    };
    for (const CMapSelItem& item : selection())
        reach(item.m_nSector);
    for (int hop = 0, from = 0; hop < 2; ++hop) {
        const int to = static_cast<int>(reached.size());
        for (; from < to; ++from)
            for (const auto& wall :
                 sectors[static_cast<std::size_t>(reached[static_cast<std::size_t>(from)])]->m_pWalls)
                reach(wall->m_nAdjoin);
    }
    for (const int s : reached)
        if (std::string damage = SectorDamage(lvl, s); !damage.empty()) return damage;
    return {};
}

double EditContext::GridStep() const {
    return std::ldexp(1.0, 8 - std::clamp(m_Doc.m_nGridLevel, 0, 16));
}

double EditContext::SnapPoint(double v) const {
    return SnapToGrid(v, m_Doc.m_bGridOn != 0, GridStep());
}

} // namespace morvi
