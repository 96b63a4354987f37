#pragma once

#include "model/CDataSector.h"

#include <memory>
#include <vector>

namespace morvi {

// A coarse uniform grid over the world listing, per cell, the sectors whose world bounding box
// (all their vertices) touches the cell, so that a click looks at a handful of sectors instead of
// walking every vertex of the level. It only narrows the search: the caller still tests the
// candidates against their live vertices, so a grid that is out of date can miss a sector that
// moved into the click's cells but never answer with a wrong one.
class SectorGrid {
public:
    using Sectors = std::vector<std::unique_ptr<CDataSector>>;

    // Records every sector's box and lists the sectors by cell.
    void Build(const Sectors& sectors);
    // Whether the grid was built for exactly these boxes: same sector count and no vertex moved
    // outside (or inside) its recorded box. Walks every vertex once, without allocating.
    bool Matches(const Sectors& sectors) const;
    bool built() const { return m_bBuilt; }
    std::size_t sectorCount() const { return m_Boxes.size(); }
    // Appends the sectors whose box may meet the world rectangle [x0, x1] x [z0, z1], in
    // decreasing index order and without repeats. False (nothing appended) when the rectangle is
    // not a finite one; the caller then tests every sector.
    bool Candidates(double x0, double z0, double x1, double z1, std::vector<int>& out) const;

private:
    struct Box {
        double minX, minZ, maxX, maxZ;
        bool operator==(const Box&) const = default;
    };
    static Box BoxOf(const CDataSector& sector);
    int CellX(double x) const;
    int CellZ(double z) const;
    void ChooseCells();
    void FillCells();

    bool m_bBuilt = false;
    std::vector<Box> m_Boxes;
    double m_dOriginX = 0.0;
    double m_dOriginZ = 0.0;
    double m_dCell = 1.0;
    int m_nCols = 1;
    int m_nRows = 1;
    // Cell c lists m_Entries[m_CellStart[c] .. m_CellStart[c + 1]).
    std::vector<int> m_CellStart;
    std::vector<int> m_Entries;
    // Sectors tested on every click: boxes that are empty, not finite, or too wide to list cell
    // by cell.
    std::vector<int> m_Everywhere;
};

} // namespace morvi
