#include "model/SectorGrid.h"
#include "support/LevelBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace morvi {
namespace {

using Ints = std::vector<int>;

struct GridFixture {
    CDataLev lev;
    SectorGrid grid;

    void AddSquare(double x0, double z0, double x1, double z1) {
        lev.m_pSectors.push_back(
            testing::MakeSquareSector(lev, static_cast<int>(lev.m_pSectors.size()), x0, z0, x1, z1));
    }
    Ints At(double x0, double z0, double x1, double z1) const {
        Ints out;
        EXPECT_TRUE(grid.Candidates(x0, z0, x1, z1, out));
        return out;
    }
};

// A row of 10-unit rooms: a query meets the rooms whose boxes it could touch through their cells,
// highest index first, each once, and the wide, empty and broken ones always.
TEST(SectorGrid, ListsNearbySectorsOnceAndWideEmptyAndBrokenOnesAlways) {
    GridFixture f;
    for (int c = 0; c < 200; ++c)
        f.AddSquare(c * 10.0, 0, c * 10.0 + 10, 10);
    f.AddSquare(0, 0, 2000, 10);                                 // 200: spans every cell
    f.lev.m_pSectors.push_back(std::make_unique<CDataSector>()); // 201: no vertices
    f.AddSquare(0, 0, 10, 10);                                   // 202: one coordinate infinite
    f.lev.m_pSectors.back()->m_pVertices[1]->m_dX = std::numeric_limits<double>::infinity();
    f.grid.Build(f.lev.m_pSectors);
    const Ints got = f.At(1505, 5, 1506, 6);
    for (int s : {202, 201, 200, 150})
        EXPECT_NE(std::find(got.begin(), got.end(), s), got.end()) << s;
    EXPECT_LT(got.size(), 20u);
    EXPECT_EQ(std::adjacent_find(got.begin(), got.end(), std::less_equal<int>()), got.end()) << "decreasing";
    EXPECT_EQ(f.At(-5, -5, 2005, 15).size(), 203u);
    // A query that is not a finite rectangle leaves the choice to the caller.
    Ints out;
    EXPECT_FALSE(f.grid.Candidates(std::nan(""), 0, 1, 1, out));
    EXPECT_FALSE(f.grid.Candidates(5, 0, 1, 1, out));
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace morvi
