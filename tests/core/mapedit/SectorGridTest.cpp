#include "mapedit/SectorGrid.h"
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

// A 10 x 10 field of 100-unit rooms: a query meets exactly the rooms whose boxes it could touch
// through their cells, highest index first, each once.
TEST(SectorGrid, ListsNearbySectorsOnceInDecreasingOrder) {
    GridFixture f;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c)
            f.AddSquare(c * 100.0, r * 100.0, c * 100.0 + 100, r * 100.0 + 100);
    f.grid.Build(f.lev.m_pSectors);
    const Ints near = f.At(450, 450, 451, 451); // inside room 44 only
    EXPECT_LE(near.size(), 9u);
    EXPECT_NE(std::find(near.begin(), near.end(), 44), near.end());
    EXPECT_EQ(std::adjacent_find(near.begin(), near.end(), std::less_equal<int>()), near.end())
        << "decreasing";
    // A query over the whole field lists every room; one beyond it still the border rooms.
    EXPECT_EQ(f.At(-5, -5, 1005, 1005).size(), 100u);
    const Ints far = f.At(5000, 5000, 5001, 5001);
    EXPECT_NE(std::find(far.begin(), far.end(), 99), far.end());
}

TEST(SectorGrid, WideEmptyAndBrokenSectorsAreAlwaysCandidates) {
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
    // A query that is not a finite rectangle leaves the choice to the caller.
    Ints out;
    EXPECT_FALSE(f.grid.Candidates(std::nan(""), 0, 1, 1, out));
    EXPECT_FALSE(f.grid.Candidates(5, 0, 1, 1, out));
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace morvi
