#include "mapedit/MapStatistics.h"

#include "gamefiles/TextWriter.h"

namespace morvi {

LevelCounts CountLevel(const CDataLevel& level) {
    LevelCounts counts;
    counts.m_nSectors = static_cast<int>(level.m_Lev.m_pSectors.size());
    for (const auto& sector : level.m_Lev.m_pSectors) {
        counts.m_nWalls += static_cast<int>(sector->m_pWalls.size());
        counts.m_nVertices += static_cast<int>(sector->m_pVertices.size());
    }
    counts.m_nObjects = static_cast<int>(level.m_Objects.m_pObjects.size());
    counts.m_nInfDefinitions = static_cast<int>(level.m_Inf.m_pItems.size());
    return counts;
}

namespace {

bool SamePoint(const CDataSector& sector, int a, int b) {
    const auto count = static_cast<int>(sector.m_pVertices.size());
    if (a < 0 || b < 0 || a >= count || b >= count) return false;
    const CDataVertex& va = *sector.m_pVertices[static_cast<std::size_t>(a)];
    const CDataVertex& vb = *sector.m_pVertices[static_cast<std::size_t>(b)];
    return va.m_dX == vb.m_dX && va.m_dZ == vb.m_dZ;
}

} // namespace

std::vector<std::string> DegenerateWallLines(const CDataLevel& level) {
    std::vector<std::string> lines;
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        for (const auto& wall : sectors[s]->m_pWalls) {
            if (!SamePoint(*sectors[s], wall->m_nLeft, wall->m_nRight)) continue;
            std::string line;
            TextWriter(line)
                .raw("Sector ")
                .integer(static_cast<long long>(s), 3)
                .raw(", vertex ")
                .integer(wall->m_nLeft, 3)
                .raw(" and vertex ")
                .integer(wall->m_nRight, 3);
            lines.push_back(std::move(line));
        }
    }
    if (lines.empty()) lines.emplace_back("None");
    return lines;
}

std::vector<std::pair<std::string, int>> NamedSectors(const CDataLevel& level) {
    std::vector<std::pair<std::string, int>> list;
    const auto& sectors = level.m_Lev.m_pSectors;
    for (std::size_t s = 0; s < sectors.size(); ++s)
        if (!sectors[s]->m_strName.empty()) list.emplace_back(sectors[s]->m_strName, static_cast<int>(s));
    return list;
}

} // namespace morvi
