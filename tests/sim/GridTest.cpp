#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/sim/GridFixture.h"

TEST(Grid, ResetClearsEveryCellThenSeedingDrawsOneRandPerCellRowMajorAndEvenBuilds) {
    Cell grown;
    grown.state = grown.nextState = 1;
    grown.footprint = 3.5f;
    grown.zone = kZones.industrial;
    std::fill(&testCells[0][0], &testCells[0][0] + GRID_SIDE * GRID_SIDE, grown);
    City city;
    EXPECT_TRUE(city.liveSites().empty());

    srand(20240611);
    seedGrid(city.cells);
    const int nextAfterSeeding = rand();
    srand(20240611);
    int wrongCells = 0;
    for (const auto& row : city.cells) {
        for (const Cell& cell : row) {
            const int alive = rand() % 2 == 0 ? 1 : 0;
            wrongCells +=
                cell.state != alive || cell.nextState != alive || !isSmallResidential(cell);
        }
    }
    EXPECT_EQ(wrongCells, 0);
    EXPECT_EQ(nextAfterSeeding, rand());
}
