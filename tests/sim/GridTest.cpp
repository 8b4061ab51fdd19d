#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/sim/GridFixture.h"

TEST(Cell, DefaultCellIsDeadAndOneByOne) {
    Cell cell;
    EXPECT_EQ(cell.footprint, 1.0f);
    EXPECT_EQ(cell.height, 1.0f);
    EXPECT_EQ(cell.state, 0);
    EXPECT_EQ(cell.nextState, 0);
}

TEST(GridReset, EveryCellBecomesDeadOneByOneAndResidential) {
    CityGrid grid;
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            grid.cells()[r][c].state = 1;
            grid.cells()[r][c].nextState = 1;
            grid.cells()[r][c].footprint = 3.5f;
            grid.cells()[r][c].height = 12.0f;
            grid.cells()[r][c].zone = kZones.industrial;
        }
    }
    resetGrid(grid.cells(), kZones.residential);
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
            EXPECT_EQ(grid.cells()[r][c].state, 0);
            EXPECT_EQ(grid.cells()[r][c].nextState, 0);
            expectSmallResidential(grid.cells()[r][c]);
        }
    }
}

TEST(GridSeeding, DrawsOneRandPerCellRowMajorAndAnEvenDrawBuilds) {
    const unsigned seed = 20240611;
    CityGrid grid;
    srand(seed);
    seedGrid(grid.cells());
    const int nextAfterSeeding = rand();

    srand(seed);
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
            const int expected = rand() % 2 == 0 ? 1 : 0;
            const Cell& cell = grid.cells()[r][c];
            ASSERT_EQ(cell.state, expected);
            ASSERT_EQ(cell.nextState, expected);
            expectSmallResidential(cell);
        }
    }
    EXPECT_EQ(nextAfterSeeding, rand());
}

TEST(GridSeeding, CommitBeforeTheFirstPassDrawsTheSeedAndChangesNothing) {
    CityGrid grid;
    srand(7);
    seedGrid(grid.cells());
    const std::vector<Site> seeded = grid.liveSites();
    ASSERT_FALSE(seeded.empty());

    std::vector<Site> drawn;
    drawAndCommit(grid.cells(), [&](int r, int c, const Cell&) { drawn.push_back({r, c}); });
    EXPECT_EQ(drawn, seeded);
    EXPECT_EQ(grid.liveSites(), seeded);
}
