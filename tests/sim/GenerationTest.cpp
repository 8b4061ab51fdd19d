#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/sim/GridFixture.h"

namespace {

struct Drawn {
    Site site;
    float footprint;
    float height;
    TavoObject* zone;
};

std::vector<Drawn> drawAndCommitRecording(CellGrid& cells) {
    std::vector<Drawn> drawn;
    drawAndCommit(cells, [&](int r, int c, const Cell& cell) {
        drawn.push_back({{r, c}, cell.footprint, cell.height, cell.zone});
    });
    return drawn;
}

std::vector<int> nextStates(const CellGrid& cells) {
    std::vector<int> states;
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            states.push_back(cells[r][c].nextState);
        }
    }
    return states;
}

void giveOddSizeAndZone(Cell& cell) {
    cell.footprint = 2.5f;
    cell.height = 7.0f;
    cell.zone = kZones.industrial;
}

}  // namespace

TEST(Rule, LoneBuildingIsTornDownAndDrawnOnceMoreAsSmallResidential) {
    CityGrid grid;
    const Site lone{120, 45};
    grid.build({lone});
    giveOddSizeAndZone(grid.at(lone));

    computeNextGeneration(grid.cells(), kZones);
    EXPECT_EQ(grid.at(lone).state, 1);
    EXPECT_EQ(grid.at(lone).nextState, 0);
    expectSmallResidential(grid.at(lone));

    const std::vector<Drawn> drawn = drawAndCommitRecording(grid.cells());
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].site, lone);
    EXPECT_EQ(drawn[0].footprint, 1.0f);
    EXPECT_EQ(drawn[0].height, 1.0f);
    EXPECT_EQ(drawn[0].zone, kZones.residential);
    EXPECT_TRUE(drawAndCommitRecording(grid.cells()).empty());
}

TEST(Rule, BlockOfFourStaysAndGrowsEveryPassAsCommercialOrIndustrial) {
    CityGrid grid;
    const std::vector<Site> block = blockAt(50, 50);
    grid.build(block);
    float footprint = 1.0f;
    float height = 1.0f;
    for (int pass = 1; pass <= 6; ++pass) {
        grid.advance();
        footprint = grown(footprint, 0.05);
        height = grown(height, 0.4);
        EXPECT_EQ(grid.liveSites(), block);
        for (const Site& site : block) {
            EXPECT_EQ(grid.at(site).footprint, footprint);
            EXPECT_EQ(grid.at(site).height, height);
            expectSurvivorZone(grid.at(site));
        }
    }
}

TEST(Rule, BlinkerOscillatesAndItsMiddleKeepsGrowingWhileItsEndsAreRebornSmall) {
    CityGrid grid;
    const Site middle{100, 100};
    const std::vector<Site> across = rowBlinkerAt(100, 100);
    const std::vector<Site> down = columnBlinkerAt(100, 100);
    grid.build(across);
    giveOddSizeAndZone(grid.at(across[0]));
    giveOddSizeAndZone(grid.at(across[2]));

    float footprint = 1.0f;
    float height = 1.0f;
    for (int pass = 1; pass <= 4; ++pass) {
        SCOPED_TRACE(testing::Message() << "pass " << pass);
        grid.advance();
        footprint = grown(footprint, 0.05);
        height = grown(height, 0.4);
        EXPECT_EQ(grid.liveSites(), pass % 2 == 1 ? down : across);
        EXPECT_EQ(grid.at(middle).footprint, footprint);
        EXPECT_EQ(grid.at(middle).height, height);
        expectSurvivorZone(grid.at(middle));
        for (const Site& end : {across[0], across[2], down[0], down[2]}) {
            expectSmallResidential(grid.at(end));
        }
    }
}

TEST(Rule, DeadCornerWithThreeLiveNeighboursIsBuiltOnAsItWas) {
    for (const Site corner : {Site{0, 0}, Site{0, 299}, Site{299, 0}, Site{299, 299}}) {
        SCOPED_TRACE(testing::Message() << "corner " << corner.row << "," << corner.col);
        const int inRow = corner.row == 0 ? 1 : -1;
        const int inCol = corner.col == 0 ? 1 : -1;
        CityGrid grid;
        grid.build({{corner.row + inRow, corner.col},
                    {corner.row, corner.col + inCol},
                    {corner.row + inRow, corner.col + inCol}});
        EXPECT_EQ(liveNeighbours(grid.cells(), corner.row, corner.col), 3);

        computeNextGeneration(grid.cells(), kZones);
        EXPECT_EQ(grid.at(corner).nextState, 1);
        EXPECT_EQ(grid.at(corner).state, 0);
        expectSmallResidential(grid.at(corner));
    }
}

TEST(Rule, NeighbourhoodStopsAtTheBordersWithoutWrappingAround) {
    struct BorderCase {
        std::vector<Site> blinker;
        Site inside;
        Site acrossTheBorder;
    };
    const BorderCase cases[] = {
        {columnBlinkerAt(6, 299), {6, 298}, {6, 0}},
        {columnBlinkerAt(150, 0), {150, 1}, {150, 299}},
        {rowBlinkerAt(0, 21), {1, 21}, {299, 21}},
        {rowBlinkerAt(299, 200), {298, 200}, {0, 200}},
    };
    CityGrid grid;
    for (const BorderCase& border : cases) {
        grid.build(border.blinker);
    }
    computeNextGeneration(grid.cells(), kZones);
    for (const BorderCase& border : cases) {
        const Site& far = border.acrossTheBorder;
        SCOPED_TRACE(testing::Message() << "across the border at " << far.row << "," << far.col);
        EXPECT_EQ(liveNeighbours(grid.cells(), far.row, far.col), 0);
        EXPECT_EQ(grid.at(far).nextState, 0);
        EXPECT_EQ(grid.at(border.inside).nextState, 1);
        EXPECT_EQ(grid.at(border.blinker[1]).nextState, 1);
    }
}

TEST(Rule, BuildingWithFourOrMoreNeighboursIsTornDown) {
    const Site ring[] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    CityGrid grid;
    for (int neighbours = 4; neighbours <= 8; ++neighbours) {
        const Site centre{20, 10 * neighbours};
        grid.build({centre});
        giveOddSizeAndZone(grid.at(centre));
        for (int i = 0; i < neighbours; ++i) {
            grid.build({{centre.row + ring[i].row, centre.col + ring[i].col}});
        }
    }
    computeNextGeneration(grid.cells(), kZones);
    for (int neighbours = 4; neighbours <= 8; ++neighbours) {
        SCOPED_TRACE(testing::Message() << neighbours << " neighbours");
        const Cell& centre = grid.at({20, 10 * neighbours});
        EXPECT_EQ(centre.nextState, 0);
        expectSmallResidential(centre);
    }
}

TEST(Rule, TwoPassesWithoutACommitGiveTheSameNextStatesWhileSurvivorsGrowTwice) {
    CityGrid grid;
    const std::vector<Site> block = blockAt(10, 10);
    const Site middle{40, 40};
    const Site lone{70, 70};
    const std::vector<Site> city = joined({block, rowBlinkerAt(40, 40), {lone}});
    grid.build(city);

    computeNextGeneration(grid.cells(), kZones);
    const std::vector<int> afterOnePass = nextStates(grid.cells());
    computeNextGeneration(grid.cells(), kZones);
    EXPECT_EQ(nextStates(grid.cells()), afterOnePass);
    EXPECT_EQ(grid.liveSites(), rowMajor(city));

    const float twice = grown(grown(1.0f, 0.05), 0.05);
    for (const Site& site : joined({block, {middle}})) {
        EXPECT_EQ(grid.at(site).footprint, twice);
        EXPECT_EQ(grid.at(site).height, grown(grown(1.0f, 0.4), 0.4));
    }
    expectSmallResidential(grid.at(lone));
}

TEST(DrawAndCommit, DrawsTheOldLiveSetRowMajorAtThePassSizesThenCommitsEveryCell) {
    CityGrid grid;
    const Site lone{0, 5};
    const std::vector<Site> block = blockAt(3, 3);
    const std::vector<Site> blinker = rowBlinkerAt(200, 100);
    grid.build(joined({blinker, block, {lone}}));
    giveOddSizeAndZone(grid.at(lone));

    computeNextGeneration(grid.cells(), kZones);
    const std::vector<Drawn> drawn = drawAndCommitRecording(grid.cells());

    const std::vector<Site> oldLiveSet = rowMajor(joined({blinker, block, {lone}}));
    ASSERT_EQ(drawn.size(), oldLiveSet.size());
    const std::vector<Site> survivors = joined({block, {blinker[1]}});
    for (size_t i = 0; i < drawn.size(); ++i) {
        const Drawn& d = drawn[i];
        SCOPED_TRACE(testing::Message() << "drawn " << d.site.row << "," << d.site.col);
        EXPECT_EQ(d.site, oldLiveSet[i]);
        const bool survives = std::count(survivors.begin(), survivors.end(), d.site) == 1;
        EXPECT_EQ(d.footprint, survives ? grown(1.0f, 0.05) : 1.0f);
        EXPECT_EQ(d.height, survives ? grown(1.0f, 0.4) : 1.0f);
        EXPECT_EQ(d.zone == kZones.residential, !survives);
    }
    EXPECT_EQ(grid.liveSites(), rowMajor(joined({block, columnBlinkerAt(200, 100)})));
}

TEST(DrawAndCommit, EmptyGridDrawsNothingAndStillCommits) {
    CityGrid grid;
    grid.at({7, 8}).nextState = 1;
    grid.at({299, 299}).nextState = 1;
    EXPECT_TRUE(drawAndCommitRecording(grid.cells()).empty());
    EXPECT_EQ(grid.liveSites(), (std::vector<Site>{{7, 8}, {299, 299}}));
}

TEST(RandomDraws, PassDrawsOneRandPerSurvivorInRowMajorOrderAndNoneForOtherCells) {
    CityGrid grid;
    // Blinker ends die, its sides are born and a lone building dies: none of them draws.
    grid.build(joined({blockAt(10, 100), blockAt(10, 10), rowBlinkerAt(5, 200), {{150, 150}}}));
    const std::vector<Site> survivors =
        rowMajor(joined({blockAt(10, 10), blockAt(10, 100), {{5, 200}}}));

    for (const unsigned seed : {1u, 99u, 4242u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        srand(seed);
        computeNextGeneration(grid.cells(), kZones);
        const int nextAfterPass = rand();

        srand(seed);
        for (const Site& site : survivors) {
            const int draw = rand();
            EXPECT_EQ(grid.at(site).zone, draw % 2 == 1 ? kZones.industrial : kZones.commercial);
        }
        EXPECT_EQ(nextAfterPass, rand());
    }
}

TEST(Growth, ManyPassesRoundToSinglePrecisionAfterEachDoubleSum) {
    CityGrid grid;
    const std::vector<Site> block = blockAt(200, 200);
    grid.build(block);
    float footprint = 1.0f;
    float height = 1.0f;
    auto growFor = [&](int passes) {
        for (int pass = 0; pass < passes; ++pass) {
            grid.advance();
            footprint = static_cast<float>(static_cast<double>(footprint) + 0.05);
            height = static_cast<float>(static_cast<double>(height) + 0.4);
            for (const Site& site : block) {
                ASSERT_EQ(grid.at(site).footprint, footprint);
                ASSERT_EQ(grid.at(site).height, height);
            }
        }
    };
    growFor(20);
    EXPECT_NEAR(footprint, 2.0, 1e-5);
    EXPECT_NEAR(height, 9.0, 1e-4);
    growFor(30);
    // After 50 passes the rounding drift shows: 1 + 50 steps summed exactly lands elsewhere.
    EXPECT_NE(grid.at(block[0]).footprint, static_cast<float>(1.0 + 0.05 * 50));
    EXPECT_NE(grid.at(block[0]).height, static_cast<float>(1.0 + 0.4 * 50));
}
