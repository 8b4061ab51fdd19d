#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/sim/GridFixture.h"

// Each pass is committed by a frame, which draws the old live set at the new sizes and zones:
// a building torn down is drawn once more, already small and residential.
TEST(Rule, BlockStaysBlinkerOscillatesSurvivorsGrowAndTheTornDownAreDrawnOnceMoreSmall) {
    City city;
    const Sites square = block(200, 200), across = rowBlinker(100, 100);
    const Sites down = columnBlinker(100, 100);
    city.build(rowMajor({square, across}));
    for (int pass = 1; pass <= 50; ++pass) {
        SCOPED_TRACE(testing::Message() << "pass " << pass);
        const Sites& ends = pass % 2 == 1 ? across : down;
        for (const Site& end : {ends[0], ends[2]}) {
            city.at(end).footprint = 2.5f;
            city.at(end).zone = kZones.industrial;
        }
        city.pass();
        ASSERT_EQ(city.drawAndCommit(), rowMajor({square, ends}));
        EXPECT_TRUE(isSmallResidential(city.at(ends[0])) && isSmallResidential(city.at(ends[2])));
        ASSERT_EQ(city.drawAndCommit(), rowMajor({square, pass % 2 == 1 ? down : across}));
        for (const Site& survivor : rowMajor({square, {across[1]}})) {
            EXPECT_NEAR(city.at(survivor).footprint, 1.0 + 0.05 * pass, 1e-4);
            EXPECT_NEAR(city.at(survivor).height, 1.0 + 0.4 * pass, 1e-4);
        }
    }
}

// A dead and a live site with each count of live neighbours, 0 to 8; at the borders, corners
// with their three neighbours live, and blinkers that give birth beside themselves, never
// across the border.
TEST(Rule, BornOnThreeSurvivesOnTwoOrThreeAndTheNeighbourhoodIsClippedAtTheBorders) {
    City city;
    const Sites around = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    std::vector<std::pair<Site, int>> expected;
    for (int state : {0, 1}) {
        for (int count = 0; count <= 8; ++count) {
            const Site site{100 + 10 * state, 100 + 10 * count};
            for (int k = 0; k < count; ++k) {
                city.build({{site.first + around[k].first, site.second + around[k].second}});
            }
            city.at(site).state = state;
            expected.push_back({site, count == 3 || (state == 1 && count == 2)});
        }
    }
    const Sites corners = {{0, 0}, {0, 299}, {299, 0}, {299, 299}};
    for (const Site& corner : corners) {
        city.build(block(std::min(corner.first, 298), std::min(corner.second, 298)));
        city.at(corner).state = 0;
    }
    city.build(rowMajor(
        {columnBlinker(6, 299), columnBlinker(150, 0), rowBlinker(0, 21), rowBlinker(299, 200)}));
    for (const Site& born : rowMajor({corners, {{6, 298}, {150, 1}, {1, 21}, {298, 200}}})) {
        expected.push_back({born, 1});
    }
    for (const Site& empty : {Site{6, 0}, {150, 299}, {299, 21}, {0, 200}}) {
        expected.push_back({empty, 0});
    }
    city.pass();
    for (const auto& [site, nextState] : expected) {
        EXPECT_EQ(city.at(site).nextState, nextState) << site.first << "," << site.second;
    }
}

// A worker may also pass twice before a frame commits: the states stay, survivors grow twice.
TEST(RandomDraws, PassDrawsOneRandPerSurvivorInRowMajorOrderAndNoneForOtherCells) {
    City city;
    // Blinker ends die, its sides are born and the lone building dies: none of them draws.
    city.build(rowMajor({block(10, 100), block(10, 10), rowBlinker(5, 200), {{150, 150}}}));
    srand(4242);
    city.pass();
    const int nextAfterPass = rand();
    srand(4242);
    for (const Site& site : rowMajor({block(10, 10), block(10, 100), {{5, 200}}})) {
        const bool odd = rand() % 2 == 1;
        EXPECT_EQ(city.at(site).zone, odd ? kZones.industrial : kZones.commercial);
    }
    EXPECT_EQ(nextAfterPass, rand());
    city.pass();
    EXPECT_NEAR(city.at({5, 200}).footprint, 1.1, 1e-6);
    city.drawAndCommit();
    EXPECT_EQ(city.drawAndCommit(),
              rowMajor({block(10, 10), block(10, 100), columnBlinker(5, 200)}));
}

TEST(Grid, ResetClearsEveryCellThenSeedingDrawsOneRandPerCellRowMajorAndEvenBuilds) {
    Cell ruin;
    ruin.state = ruin.nextState = 1;
    ruin.zone = kZones.industrial;
    std::fill(&testCells[0][0], &testCells[0][0] + GRID_SIDE * GRID_SIDE, ruin);
    City city;
    EXPECT_TRUE(city.drawAndCommit().empty());
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
