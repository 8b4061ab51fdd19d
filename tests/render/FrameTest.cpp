#include "render/Frame.h"

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "app/Globals.h"
#include "render/MatrixStack.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "scene/ZoneMaterials.h"
#include "sim/Grid.h"
#include "tests/support/GlTestSupport.h"

static const unsigned SEED = 20240607u;

class FrameTest : public testing::Test {
  protected:
    void SetUp() override {
        pthread_mutex_init(&stateMutex, nullptr);
        line = cull = false;
        loadScene();
        srand(SEED);  // in place of the time seed, so that the grid's seeding can be replayed
        initGL();
        camera.position = glm::vec3(2.0f, 40.0f, 4.0f);
        camera.rotations = glm::vec2(0.0f, -1.5707964f);  // looking straight down
    }

    void renderEmptyCity() {
        resetGrid(cells, &residential);
        renderFrame();
        emptyCity = gltest::BackBuffer();
    }

    static void build(int row, int col, TavoObject* zone, int state, int nextState) {
        cells[row][col].zone = zone;
        cells[row][col].state = state;
        cells[row][col].nextState = nextState;
    }

    static glm::vec3 seenAt(const gltest::BackBuffer& pixels, const glm::vec3& world) {
        MatrixStack P, view;
        camera.applyProjectionMatrix(&P);
        camera.applyViewMatrix(&view);
        glm::vec4 clip = P.topMatrix() * view.topMatrix() * glm::vec4(world, 1.0f);
        return pixels.at(clip.x / clip.w, clip.y / clip.w);
    }

    // Null where the empty city shows through a site's roof, else the zone whose colour lit
    // head-on is nearest: highlights only add each zone's own specular colour.
    const TavoObject* zoneSeenAt(int row, int col, glm::vec3 offset = glm::vec3(0.0f)) const {
        glm::vec3 roof = glm::vec3(3 * row - 450, 1, 3 * col - 450) + offset;
        glm::vec3 seen = seenAt(gltest::BackBuffer(), roof);
        std::map<float, const TavoObject*> byDistance;
        for (auto [zone, m] : {std::pair{&residential, RESIDENTIAL_MATERIAL},
                               {&commercial, COMMERCIAL_MATERIAL},
                               {&industrial, INDUSTRIAL_MATERIAL}}) {
            byDistance[glm::distance(seen, glm::round(glm::min(m.ka + m.kd, 1.0f) * 255.0f))] =
                zone;
        }
        return seen == seenAt(emptyCity, roof) ? nullptr : byDistance.begin()->second;
    }

    gltest::BackBuffer emptyCity;
};

TEST_F(FrameTest, SetUpLinksTheProgramWithAllTwelveLocationsTilesTheGroundAndSeedsTheGrid) {
    // Only a linked program gives locations.
    EXPECT_GE(std::min({h_vertexPosition, h_vertexNormal, h_terrainVertTexCoords, h_P, h_MV,
                        h_terrainTexMat, h_lightPos, h_terrainTexture, h_ka, h_kd, h_ks, h_s}),
              0);
    EXPECT_EQ(terrainTexMat, glm::mat3(300, 0, 0, 0, 300, 0, 0, 0, 1));
    srand(SEED);
    for (const auto& row : cells) {
        for (const Cell& cell : row) {
            int alive = rand() % 2 == 0 ? 1 : 0;
            ASSERT_TRUE(cell.state == alive && cell.nextState == alive) << &cell - &cells[0][0];
        }
    }
}

TEST_F(FrameTest, LiveCellsShowAtTheirLatticeSiteInTheirZoneColourAndTheFrameCommits) {
    renderEmptyCity();
    // A survivor, a dying and a newborn cell, and empty sites, two with row and column swapped.
    const std::tuple<int, int, TavoObject*, int, int> sites[] = {
        {150, 150, &residential, 1, 1}, {152, 151, &commercial, 1, 0},
        {149, 153, &industrial, 0, 1},  {151, 152, nullptr, 0, 0},
        {153, 149, nullptr, 0, 0},      {150, 151, nullptr, 0, 0}};
    for (auto [row, col, zone, state, nextState] : sites) {
        build(row, col, zone, state, nextState);
    }
    for (bool committed : {false, true}) {
        renderFrame();
        for (auto [row, col, zone, state, nextState] : sites) {
            EXPECT_EQ(zoneSeenAt(row, col), (committed ? nextState : state) ? zone : nullptr)
                << row << ", " << col << (committed ? " after the commit" : "");
        }
    }
}

TEST_F(FrameTest, WireframeOutlinesBuildingsAndCullingHidesTheGroundSeenFromAbove) {
    line = true;
    renderEmptyCity();
    build(150, 150, &commercial, 1, 1);
    cells[150][150].footprint = 3.0f;
    renderFrame();
    EXPECT_NE(gltest::BackBuffer().bytes, emptyCity.bytes);
    // Off the roof's diagonals, which are edges of its triangles.
    EXPECT_EQ(zoneSeenAt(150, 150, glm::vec3(0.6f, 0.0f, 0.2f)), nullptr);

    const glm::vec3 ground(-4.0f, 0.0f, 8.0f),
        sky = glm::round(glm::vec3(0.8f, 0.95f, 1.0f) * 255.0f);
    line = false;
    renderEmptyCity();
    EXPECT_NE(seenAt(emptyCity, ground), sky);
    cull = true;
    renderEmptyCity();
    EXPECT_EQ(seenAt(emptyCity, ground), sky);
    build(150, 150, &industrial, 1, 1);
    renderFrame();
    EXPECT_EQ(zoneSeenAt(150, 150), &industrial);
}

// A worker pass that holds the lock when the frame starts ends before the frame commits.
TEST_F(FrameTest, TheFrameWaitsForTheGridLockBeforeCommitting) {
    resetGrid(cells, &residential);
    std::atomic<bool> locked(false);
    std::thread worker([&locked] {
        pthread_mutex_lock(&stateMutex);
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cells[10][20].nextState = 1;
        pthread_mutex_unlock(&stateMutex);
    });
    while (!locked) {
        std::this_thread::yield();
    }
    renderFrame();
    worker.join();
    EXPECT_EQ(cells[10][20].state, 1);
}
