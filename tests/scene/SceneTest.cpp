#include "scene/Scene.h"

#include <ctime>

#include "app/Globals.h"
#include "tests/support/GlTestSupport.h"

TEST(LoadScene, BuildsTheTerrainScalesThePlaneResetsTheGridAndSeedsRandLast) {
    Cell alive;
    alive.state = alive.nextState = 1;
    alive.footprint = alive.height = 4.0f;
    alive.zone = &industrial;
    std::fill(&cells[0][0], &cells[0][0] + GRID_SIDE * GRID_SIDE, alive);
    time0 = 1234;
    positionBuf.clear();  // empty as at start-up: loading only appends
    normalBuf.clear();
    terrainTexCoordsBuf.clear();
    indexBuf.clear();
    loadScene();
    EXPECT_EQ(std::vector<size_t>({positionBuf.size(), normalBuf.size(), terrainTexCoordsBuf.size(),
                                   indexBuf.size()}),
              std::vector<size_t>({100 * 100 * 3, 100 * 100 * 3, 100 * 100 * 2, 99 * 99 * 2 * 3}));
    EXPECT_EQ(planeMat * glm::vec4(1.0f, 1.0f, -0.5f, 1.0f),
              glm::vec4(600.0f, 1.0f, -300.0f, 1.0f));
    EXPECT_EQ(lightPos, glm::vec3(2.0f));
    EXPECT_EQ(time0, 0);
    for (const Cell* cell : {&cells[0][0], &cells[123][45], &cells[GRID_SIDE - 1][GRID_SIDE - 1]}) {
        EXPECT_EQ(
            std::tuple(cell->state, cell->nextState, cell->footprint, cell->height, cell->zone),
            std::tuple(0, 0, 1.0f, 1.0f, &residential));
    }

    time_t before;  // replayable unless a second boundary falls inside the load
    int firstDraw;
    do {
        before = time(nullptr);
        loadScene();
        firstDraw = rand();
    } while (time(nullptr) != before);
    srand(static_cast<unsigned>(before));
    EXPECT_EQ(firstDraw, rand());
}
