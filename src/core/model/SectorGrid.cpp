#include "model/SectorGrid.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace morvi {

namespace {

// Cells per side at most, and the most cells one sector is listed in; a wider sector is tested
// on every click instead, which keeps the lists' size proportional to the level's.
constexpr int kMaxCellsPerSide = 1024;
constexpr long long kMaxCellsPerSector = 64;

bool Finite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

} // namespace

// Extremes taken as the picking code takes them (a NaN coordinate never wins a comparison), so
// the recorded box always holds what the click's exact test will see.
SectorGrid::Box SectorGrid::BoxOf(const CDataSector& sector) {
    const double inf = std::numeric_limits<double>::infinity();
    Box box{inf, inf, -inf, -inf};
    for (const auto& v : sector.m_pVertices) {
        box.minX = std::min(box.minX, v->m_dX);
        box.maxX = std::max(box.maxX, v->m_dX);
        box.minZ = std::min(box.minZ, v->m_dZ);
        box.maxZ = std::max(box.maxZ, v->m_dZ);
    }
    return box;
}

int SectorGrid::CellX(double x) const {
    const double c = std::floor((x - m_dOriginX) / m_dCell);
    return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(m_nCols - 1)));
}

int SectorGrid::CellZ(double z) const {
    const double c = std::floor((z - m_dOriginZ) / m_dCell);
    return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(m_nRows - 1)));
}

// Square cells about the size of an average sector's box: one sector per cell on a level laid
// out evenly.
void SectorGrid::ChooseCells() {
    const double inf = std::numeric_limits<double>::infinity();
    double minX = inf, minZ = inf, maxX = -inf, maxZ = -inf;
    for (const Box& b : m_Boxes) {
        if (!Finite(b.minX, b.minZ, b.maxX, b.maxZ) || b.minX > b.maxX || b.minZ > b.maxZ) continue;
        minX = std::min(minX, b.minX), minZ = std::min(minZ, b.minZ);
        maxX = std::max(maxX, b.maxX), maxZ = std::max(maxZ, b.maxZ);
    }
    m_dOriginX = std::isfinite(minX) ? minX : 0.0;
    m_dOriginZ = std::isfinite(minZ) ? minZ : 0.0;
    const double w = std::isfinite(minX) ? maxX - minX : 0.0;
    const double h = std::isfinite(minZ) ? maxZ - minZ : 0.0;
    const double count = static_cast<double>(std::max<std::size_t>(m_Boxes.size(), 1));
    double cell = std::sqrt(w * h / count);
    cell = std::max({cell, w / kMaxCellsPerSide, h / kMaxCellsPerSide});
    m_dCell = std::isfinite(cell) && cell > 0.0 ? cell : 1.0;
    m_nCols = std::clamp(static_cast<int>(w / m_dCell) + 1, 1, kMaxCellsPerSide);
    m_nRows = std::clamp(static_cast<int>(h / m_dCell) + 1, 1, kMaxCellsPerSide);
}

// Counting pass then filling pass, so each cell's list is one slice of a single array. Sectors
// are listed in increasing index order within each cell.
void SectorGrid::FillCells() {
    const std::size_t cells = static_cast<std::size_t>(m_nCols) * static_cast<std::size_t>(m_nRows);
    m_CellStart.assign(cells + 1, 0);
    m_Everywhere.clear();
    std::vector<bool> listed(m_Boxes.size(), false);
    const auto forEachCell = [&](const Box& b, const std::function<void(std::size_t)>& f) {
        for (int r = CellZ(b.minZ); r <= CellZ(b.maxZ); ++r)
            for (int c = CellX(b.minX); c <= CellX(b.maxX); ++c)
                f(static_cast<std::size_t>(r) * static_cast<std::size_t>(m_nCols) +
                  static_cast<std::size_t>(c));
    };
    for (std::size_t i = 0; i < m_Boxes.size(); ++i) {
        const Box& b = m_Boxes[i];
        const bool usable = Finite(b.minX, b.minZ, b.maxX, b.maxZ) && b.minX <= b.maxX && b.minZ <= b.maxZ;
        const long long span = usable ? static_cast<long long>(CellX(b.maxX) - CellX(b.minX) + 1) *
                                            (CellZ(b.maxZ) - CellZ(b.minZ) + 1)
                                      : 0;
        if (!usable || span > kMaxCellsPerSector) {
            m_Everywhere.push_back(static_cast<int>(i));
            continue;
        }
        listed[i] = true;
        forEachCell(b, [&](std::size_t cell) { ++m_CellStart[cell + 1]; });
    }
    for (std::size_t c = 0; c < cells; ++c)
        m_CellStart[c + 1] += m_CellStart[c];
    m_Entries.assign(static_cast<std::size_t>(m_CellStart[cells]), 0);
    std::vector<int> next(m_CellStart.begin(), m_CellStart.end() - 1);
    for (std::size_t i = 0; i < m_Boxes.size(); ++i)
        if (listed[i])
            forEachCell(m_Boxes[i], [&](std::size_t cell) {
                m_Entries[static_cast<std::size_t>(next[cell]++)] = static_cast<int>(i);
            });
}

void SectorGrid::Build(const Sectors& sectors) {
    m_Boxes.clear();
    m_Boxes.reserve(sectors.size());
    for (const auto& s : sectors)
        m_Boxes.push_back(BoxOf(*s));
    ChooseCells();
    FillCells();
    m_bBuilt = true;
}

bool SectorGrid::Matches(const Sectors& sectors) const {
    if (!m_bBuilt || sectors.size() != m_Boxes.size()) return false;
    // The extremes never hold a NaN (it loses every comparison), so plain equality is exact.
    for (std::size_t i = 0; i < sectors.size(); ++i)
        if (!(BoxOf(*sectors[i]) == m_Boxes[i])) return false;
    return true;
}

bool SectorGrid::Candidates(double x0, double z0, double x1, double z1, std::vector<int>& out) const {
    if (!Finite(x0, z0, x1, z1) || x0 > x1 || z0 > z1) return false;
    const std::size_t first = out.size();
    for (int r = CellZ(z0); r <= CellZ(z1); ++r)
        for (int c = CellX(x0); c <= CellX(x1); ++c) {
            const std::size_t cell =
                static_cast<std::size_t>(r) * static_cast<std::size_t>(m_nCols) + static_cast<std::size_t>(c);
            out.insert(out.end(), m_Entries.begin() + m_CellStart[cell],
                       m_Entries.begin() + m_CellStart[cell + 1]);
        }
    out.insert(out.end(), m_Everywhere.begin(), m_Everywhere.end());
    const auto begin = out.begin() + static_cast<std::ptrdiff_t>(first);
    std::sort(begin, out.end(), std::greater<int>());
    out.erase(std::unique(begin, out.end()), out.end());
    return true;
}

} // namespace morvi
