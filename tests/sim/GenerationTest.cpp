#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/sim/GridFixture.h"

TEST(Rule, LoneOrCrowdedBuildingIsTornDownAndDrawnOnceMoreAsSmallResidential) {
    City city;
    const Site crowded{20, 20}, lone{120, 45};
    city.build(rowMajor({rowBlinker(20, 20), columnBlinker(20, 20), {lone}}));
    for (const Site& site : {crowded, lone}) {
        city.at(site).footprint = 2.5f;
        city.at(site).zone = kZones.industrial;
    }
    city.pass();
    Sites drawnSmall;
    drawAndCommit(city.cells, [&](int r, int c, const Cell& cell) {
        if (isSmallResidential(cell)) {
            drawnSmall.push_back({r, c});
        }
    });
    EXPECT_EQ(drawnSmall, (Sites{crowded, lone}));
    EXPECT_EQ(city.at(crowded).state + city.at(lone).state, 0);
}

TEST(Rule, BlockStaysBlinkerOscillatesAndSurvivorsGrowEachPassRoundedToSinglePrecision) {
    City city;
    const Sites square = block(200, 200), across = rowBlinker(100, 100);
    const Sites down = columnBlinker(100, 100);
    city.build(rowMajor({square, across}));
    for (int pass = 1; pass <= 50; ++pass) {
        SCOPED_TRACE(testing::Message() << "pass " << pass);
        city.pass();
        city.commit();
        ASSERT_EQ(city.liveSites(), rowMajor({square, pass % 2 == 1 ? down : across}));
        for (const Site& survivor : rowMajor({square, {across[1]}})) {
            EXPECT_EQ(city.at(survivor).footprint, grown(0.05, pass));
            EXPECT_EQ(city.at(survivor).height, grown(0.4, pass));
        }
        // The blinker's ends are torn down and reborn beside it, small and residential.
        for (const Site& end : {across[0], across[2], down[0], down[2]}) {
            EXPECT_TRUE(isSmallResidential(city.at(end)));
        }
    }
}

TEST(Rule, NeighbourhoodIsClippedAtTheBordersSoCornersAreBornAndNothingWrapsAround) {
    City city;
    city.build({{0, 1},
                {1, 0},
                {1, 1},
                {0, 298},
                {1, 298},
                {1, 299},
                {298, 0},
                {298, 1},
                {299, 1},
                {298, 298},
                {298, 299},
                {299, 298}});
    // A blinker along each border gives birth beside itself, never across the border.
    city.build(rowMajor(
        {columnBlinker(6, 299), columnBlinker(150, 0), rowBlinker(0, 21), rowBlinker(299, 200)}));
    city.pass();
    for (const Site& born :
         {Site{0, 0}, {0, 299}, {299, 0}, {299, 299}, {6, 298}, {150, 1}, {1, 21}, {298, 200}}) {
        EXPECT_EQ(city.at(born).nextState, 1) << born.first << "," << born.second;
    }
    for (const Site& across : {Site{6, 0}, {150, 299}, {299, 21}, {0, 200}}) {
        EXPECT_EQ(city.at(across).nextState, 0) << across.first << "," << across.second;
    }
}

// A worker may pass twice before a frame commits: the states stay, the survivors grow twice.
TEST(Rule, TwoPassesWithoutACommitGiveTheSameNextStatesWhileSurvivorsGrowTwice) {
    City city;
    const Sites town = rowMajor({block(10, 10), rowBlinker(40, 40), {{70, 70}}});
    city.build(town);
    city.pass();
    city.pass();
    EXPECT_EQ(city.liveSites(), town);
    EXPECT_EQ(city.at({40, 40}).footprint, grown(0.05, 2));
    city.commit();
    EXPECT_EQ(city.liveSites(), rowMajor({block(10, 10), columnBlinker(40, 40)}));
}

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
}
