#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "app/Globals.h"
#include "tests/support/GlTestSupport.h"

static void loadSceneInDataDir() {
    gltest::WorkingDirectory inData(DATA_DIR);
    loadScene();
}

TEST(LoadScene, BuildsTheTerrainArraysItsScalingAndTheLight) {
    time0 = 1234;
    loadSceneInDataDir();
    EXPECT_EQ(positionBuf.size(), 100u * 100u * 3u);
    EXPECT_EQ(normalBuf.size(), 100u * 100u * 3u);
    EXPECT_EQ(terrainTexCoordsBuf.size(), 100u * 100u * 2u);
    EXPECT_EQ(indexBuf.size(), 99u * 99u * 2u * 3u);
    EXPECT_EQ(planeMat * glm::vec4(1.0f, 0.0f, 1.0f, 1.0f), glm::vec4(600.0f, 0.0f, 600.0f, 1.0f));
    EXPECT_EQ(planeMat * glm::vec4(-1.0f, 0.0f, 0.5f, 1.0f),
              glm::vec4(-600.0f, 0.0f, 300.0f, 1.0f));
    EXPECT_EQ(lightPos, glm::vec3(2.0f, 2.0f, 2.0f));
    EXPECT_EQ(time0, 0);
}

TEST(LoadScene, ResetsEveryCellToADeadUnitResidentialSite) {
    for (auto& row : cells) {
        for (Cell& cell : row) {
            cell = Cell();
            cell.state = cell.nextState = 1;
            cell.footprint = cell.height = 4.0f;
            cell.zone = &industrial;
        }
    }
    loadSceneInDataDir();
    int reset = 0;
    for (const auto& row : cells) {
        for (const Cell& cell : row) {
            reset += cell.state == 0 && cell.nextState == 0 && cell.footprint == 1.0f &&
                     cell.height == 1.0f && cell.zone == &residential;
        }
    }
    EXPECT_EQ(reset, GRID_SIDE * GRID_SIDE);
}

TEST(LoadScene, LoadsTheBuildingModelIntoEveryZoneWithoutUploadingIt) {
    loadSceneInDataDir();
    for (const TavoObject* zone : {&residential, &commercial, &industrial}) {
        EXPECT_STREQ(zone->modelPath, "models/cubeTex.obj");
        EXPECT_FALSE(zone->shape.empty());
        EXPECT_EQ(zone->shape.arrays().positions, residential.shape.arrays().positions);
        EXPECT_EQ(zone->shape.posBufID, 0u);
    }
}

// The seed is the calendar second: when no second boundary falls inside the load, reseeding
// with that second replays the same sequence.
TEST(LoadScene, SeedsTheRandomGeneratorWithTheCurrentSecondLast) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        time_t before = time(nullptr);
        loadSceneInDataDir();
        int firstDraws[3] = {rand(), rand(), rand()};
        if (time(nullptr) != before) {
            continue;
        }
        srand(static_cast<unsigned>(before));
        for (int draw : firstDraws) {
            EXPECT_EQ(draw, rand());
        }
        return;
    }
    FAIL() << "every attempt straddled a second boundary";
}
