#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/sim/GridFixture.h"

TEST(Grid, ResetClearsEveryCellThenSeedingDrawsOneRandPerCellRowMajorAndEvenBuilds) {
    City city;
    city.forEachCell([](int, int, Cell& cell) {
        cell.state = cell.nextState = 1;
        cell.footprint = 3.5f;
        cell.height = 12.0f;
        cell.zone = kZones.industrial;
    });
    resetGrid(city.cells, kZones.residential);
    EXPECT_TRUE(city.liveSites().empty());

    srand(20240611);
    seedGrid(city.cells);
    const int nextAfterSeeding = rand();
    srand(20240611);
    int wrongCells = 0;
    city.forEachCell([&](int, int, const Cell& cell) {
        const int alive = rand() % 2 == 0 ? 1 : 0;
        wrongCells += cell.state != alive || cell.nextState != alive || !isSmallResidential(cell);
    });
    EXPECT_EQ(wrongCells, 0);
    EXPECT_EQ(nextAfterSeeding, rand());
}
