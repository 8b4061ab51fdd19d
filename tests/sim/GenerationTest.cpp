#include <gtest/gtest.h>

#include <set>

#include "tests/sim/GridFixture.h"

// Each pass is committed by a frame, which draws the old live set at the new sizes and zones:
// a building torn down is drawn once more, already small and residential. Survivors turn
// commercial or industrial at random.
TEST(Rule, SurvivorsGrowTheTornDownShrink) {
    City city;
    const Sites square = block(200, 200), across = rowBlinker(100, 100);
    const Sites down = columnBlinker(100, 100);
    city.build(rowMajor({square, across}));
    std::set<const TavoObject*> zones;
    for (int pass = 1; pass <= 50; ++pass) {
        SCOPED_TRACE(testing::Message() << "pass " << pass);
        const Sites& ends = pass % 2 == 1 ? across : down;
        for (const Site& end : {ends[0], ends[2]}) {
            city.at(end).footprint = 2.5f;
            city.at(end).zone = kZones.industrial;
        }
        city.pass();
        for (const Site& survivor : rowMajor({square, {across[1]}})) {
            zones.insert(city.at(survivor).zone);
            EXPECT_NEAR(city.at(survivor).footprint, 1.0 + 0.05 * pass, 1e-4);
            EXPECT_NEAR(city.at(survivor).height, 1.0 + 0.4 * pass, 1e-4);
        }
        ASSERT_EQ(city.drawAndCommit(), rowMajor({square, ends}));
        EXPECT_TRUE(isSmallResidential(city.at(ends[0])) && isSmallResidential(city.at(ends[2])));
        ASSERT_EQ(city.drawAndCommit(), rowMajor({square, pass % 2 == 1 ? down : across}));
    }
    EXPECT_EQ(zones, (std::set<const TavoObject*>{kZones.commercial, kZones.industrial}));
}

TEST(Rule, CrowdedSitesStayEmptyAndBordersDoNotWrap) {
    City city;
    // Two crosses, each centre with four live neighbours: one centre built, one empty.
    city.build(rowMajor(
        {rowBlinker(20, 20), columnBlinker(20, 20), rowBlinker(40, 40), columnBlinker(40, 40)}));
    city.at({40, 40}).state = 0;
    const Sites corners = {{0, 0}, {0, 299}, {299, 0}, {299, 299}};
    for (const Site& corner : corners) {  // only its three neighbours live
        city.build(block(std::min(corner.first, 298), std::min(corner.second, 298)));
        city.at(corner).state = 0;
    }
    // A blinker along each border gives birth beside itself, never across the border.
    city.build(rowMajor(
        {columnBlinker(6, 299), columnBlinker(150, 0), rowBlinker(0, 21), rowBlinker(299, 200)}));
    city.pass();
    for (const Site& born : rowMajor({corners, {{6, 298}, {150, 1}, {1, 21}, {298, 200}}})) {
        EXPECT_EQ(city.at(born).nextState, 1) << born.first << "," << born.second;
    }
    for (const Site& empty : {Site{20, 20}, {40, 40}, {6, 0}, {150, 299}, {299, 21}, {0, 200}}) {
        EXPECT_EQ(city.at(empty).nextState, 0) << empty.first << "," << empty.second;
    }
}

// A worker may also pass twice before a frame commits: the states stay, survivors grow twice.
TEST(Rule, TwoPassesBeforeACommitGrowSurvivorsTwice) {
    City city;
    city.build(rowMajor({block(10, 10), rowBlinker(5, 200)}));
    city.pass();
    city.pass();
    EXPECT_NEAR(city.at({5, 200}).footprint, 1.1, 1e-6);
    city.drawAndCommit();
    EXPECT_EQ(city.drawAndCommit(), rowMajor({block(10, 10), columnBlinker(5, 200)}));
}

// After the reset every site is an empty 1 by 1 residential lot; the seeding then builds about
// half of them, each as it will be drawn before the first pass.
TEST(Grid, SeedingBuildsAboutHalfOfAClearedGrid) {
    Cell ruin;
    ruin.state = ruin.nextState = 1;
    ruin.zone = kZones.industrial;
    std::fill(&testCells[0][0], &testCells[0][0] + GRID_SIDE * GRID_SIDE, ruin);
    City city;
    seedGrid(city.cells);
    int built = 0, wrongCells = 0;
    for (const auto& row : city.cells) {
        for (const Cell& cell : row) {
            built += cell.state;
            wrongCells += cell.state != cell.nextState || !isSmallResidential(cell);
        }
    }
    EXPECT_EQ(wrongCells, 0);
    EXPECT_NEAR(built, GRID_SIDE * GRID_SIDE / 2, GRID_SIDE * GRID_SIDE / 50);
}
