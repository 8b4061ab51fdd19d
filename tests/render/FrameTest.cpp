#include "render/Frame.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "app/Globals.h"
#include "render/MatrixStack.h"
#include "render/Setup.h"
#include "scene/Scene.h"
#include "scene/ZoneMaterials.h"
#include "sim/Grid.h"
#include "tests/support/GlTestSupport.h"

using gltest::BackBuffer;
using gltest::Rgb;

static const unsigned SEED = 20240607u;
static const Rgb SKY = gltest::toRgb(glm::vec3(0.8f, 0.95f, 1.0f));

static int pixelsThatDiffer(const BackBuffer& a, const BackBuffer& b) {
    int differ = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            differ += a.at(x, y) != b.at(x, y);
        }
    }
    return differ;
}

class FrameTest : public testing::Test {
  protected:
    void SetUp() override {
        pthread_mutex_init(&stateMutex, nullptr);
        gltest::WorkingDirectory inData(DATA_DIR);
        loadScene();
        srand(SEED);  // in place of the time seed, so that the grid's seeding can be replayed
        initGL();
        camera.setWindowSize(static_cast<float>(glutGet(GLUT_WINDOW_WIDTH)),
                             static_cast<float>(glutGet(GLUT_WINDOW_HEIGHT)));
    }

    static void lookDownFrom(const glm::vec3& position) {
        camera.position = position;
        camera.rotations = glm::vec2(0.0f, static_cast<float>(-M_PI / 2.0));
    }

    static Cell& build(int row, int col, TavoObject* zone, int state, int nextState) {
        Cell& cell = cells[row][col];
        cell.zone = zone;
        cell.state = state;
        cell.nextState = nextState;
        return cell;
    }

    static glm::vec3 roofCentre(int row, int col) {
        const Cell& cell = cells[row][col];
        return glm::vec3(3 * row - 450, 0.5f + 0.5f * cell.height, 3 * col - 450);
    }

    // The pixel onto which the camera projects a world point.
    static Rgb seenAt(const BackBuffer& pixels, const glm::vec3& world) {
        MatrixStack P;
        MatrixStack view;
        camera.applyProjectionMatrix(&P);
        camera.applyViewMatrix(&view);
        glm::vec4 clip = P.topMatrix() * view.topMatrix() * glm::vec4(world, 1.0f);
        return pixels.atDevice(clip.x / clip.w, clip.y / clip.w);
    }

    // An empty grid drawn from the current camera: what every site shows without a building.
    static BackBuffer renderEmptyCity() {
        resetGrid(cells, &residential);
        renderFrame();
        return BackBuffer();
    }

    // The zone whose material, lit head-on, is nearest to the colour. Highlights only add
    // white in proportion to each zone's own specular colour, so the nearest stays the same.
    static const TavoObject* nearestZone(const Rgb& colour) {
        const std::pair<const TavoObject*, Material> zones[] = {
            {&residential, RESIDENTIAL_MATERIAL},
            {&commercial, COMMERCIAL_MATERIAL},
            {&industrial, INDUSTRIAL_MATERIAL}};
        const TavoObject* nearest = nullptr;
        float nearestDistance = 0.0f;
        for (const auto& [zone, material] : zones) {
            Rgb reference = gltest::toRgb(material.ka + material.kd);
            float distance = glm::length(glm::vec3(
                colour[0] - reference[0], colour[1] - reference[1], colour[2] - reference[2]));
            if (nearest == nullptr || distance < nearestDistance) {
                nearest = zone;
                nearestDistance = distance;
            }
        }
        return nearest;
    }

    // The zone of the building seen at a point, or null where the empty city shows through.
    static const TavoObject* zoneSeenAt(const BackBuffer& city, const BackBuffer& emptyCity,
                                        const glm::vec3& world) {
        Rgb colour = seenAt(city, world);
        return colour == seenAt(emptyCity, world) ? nullptr : nearestZone(colour);
    }

    static const TavoObject* zoneSeenAtCell(const BackBuffer& city, const BackBuffer& emptyCity,
                                            int row, int col) {
        return zoneSeenAt(city, emptyCity, roofCentre(row, col));
    }

    struct WideBuilding {
        int pixelsChanged;
        const TavoObject* seenOnRoof;
    };

    // One wide commercial building against the empty city, in the current polygon mode.
    static WideBuilding drawOneWideBuilding() {
        BackBuffer emptyCity = renderEmptyCity();
        build(150, 150, &commercial, 1, 1).footprint = 3.0f;
        renderFrame();
        BackBuffer city;
        // Off the roof's diagonals, which are edges of its triangles.
        glm::vec3 onRoof = roofCentre(150, 150) + glm::vec3(0.6f, 0.0f, 0.2f);
        return {pixelsThatDiffer(city, emptyCity), zoneSeenAt(city, emptyCity, onRoof)};
    }
};

TEST_F(FrameTest, SetUpLinksTheProgramFindsEveryLocationAndSeedsTheGrid) {
    GLint linked = GL_FALSE;
    glGetProgramiv(pid, GL_LINK_STATUS, &linked);
    EXPECT_TRUE(linked);
    for (GLint location : {h_vertexPosition, h_vertexNormal, h_terrainVertTexCoords, h_P, h_MV,
                           h_terrainTexMat, h_lightPos, h_terrainTexture, h_ka, h_kd, h_ks, h_s}) {
        EXPECT_GE(location, 0);
    }
    glm::mat3 tiling(0.0f);
    tiling[0][0] = tiling[1][1] = 300.0f;
    tiling[2][2] = 1.0f;
    EXPECT_EQ(terrainTexMat, tiling);
    EXPECT_EQ(residential.kd, RESIDENTIAL_MATERIAL.kd);
    EXPECT_EQ(commercial.ka, COMMERCIAL_MATERIAL.ka);
    EXPECT_EQ(industrial.ks, INDUSTRIAL_MATERIAL.ks);

    srand(SEED);
    int alive = 0;
    int asReplayed = 0;
    for (const auto& row : cells) {
        for (const Cell& cell : row) {
            int expected = rand() % 2 == 0 ? 1 : 0;
            asReplayed += cell.state == expected && cell.nextState == expected;
            alive += cell.state;
        }
    }
    EXPECT_EQ(asReplayed, GRID_SIDE * GRID_SIDE);
    EXPECT_NEAR(alive, GRID_SIDE * GRID_SIDE / 2, 1000);
}

TEST_F(FrameTest, EachLiveCellIsDrawnAtItsLatticeSiteInItsZoneColour) {
    lookDownFrom(glm::vec3(2.0f, 40.0f, 4.0f));
    BackBuffer emptyCity = renderEmptyCity();
    build(150, 150, &residential, 1, 1);
    build(152, 151, &commercial, 1, 1);
    build(149, 153, &industrial, 1, 1);
    renderFrame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    BackBuffer city;
    EXPECT_EQ(zoneSeenAtCell(city, emptyCity, 150, 150), &residential);
    EXPECT_EQ(zoneSeenAtCell(city, emptyCity, 152, 151), &commercial);
    EXPECT_EQ(zoneSeenAtCell(city, emptyCity, 149, 153), &industrial);
    // Neighbouring sites, including those with row and column swapped, stay empty.
    for (auto [row, col] : {std::pair{151, 152}, {153, 149}, {151, 150}, {150, 151}, {148, 153}}) {
        EXPECT_EQ(zoneSeenAtCell(city, emptyCity, row, col), nullptr) << row << ", " << col;
    }
}

TEST_F(FrameTest, SkyColourFillsTheViewAboveTheHorizon) {
    camera.position = glm::vec3(0.0f, 5.0f, 0.0f);
    camera.rotations = glm::vec2(0.0f);
    BackBuffer pixels = renderEmptyCity();
    EXPECT_TRUE(gltest::near(pixels.atDevice(0.0f, 0.9f), SKY, 1));
    EXPECT_TRUE(gltest::near(pixels.atDevice(-0.9f, 0.1f), SKY, 1));
    EXPECT_FALSE(gltest::near(pixels.atDevice(0.0f, -0.9f), SKY, 8));
}

TEST_F(FrameTest, FrameCommitsTheGenerationThatShowsFromTheNextFrame) {
    lookDownFrom(glm::vec3(2.0f, 40.0f, 4.0f));
    BackBuffer emptyCity = renderEmptyCity();
    build(150, 150, &commercial, 1, 0);  // dies in this generation
    build(151, 152, &industrial, 0, 1);  // born in this generation

    renderFrame();
    BackBuffer first;
    EXPECT_EQ(zoneSeenAtCell(first, emptyCity, 150, 150), &commercial);
    EXPECT_EQ(zoneSeenAtCell(first, emptyCity, 151, 152), nullptr);
    int committed = 0;
    for (const auto& row : cells) {
        for (const Cell& cell : row) {
            committed += cell.state == cell.nextState;
        }
    }
    EXPECT_EQ(committed, GRID_SIDE * GRID_SIDE);

    renderFrame();
    BackBuffer second;
    EXPECT_EQ(zoneSeenAtCell(second, emptyCity, 150, 150), nullptr);
    EXPECT_EQ(zoneSeenAtCell(second, emptyCity, 151, 152), &industrial);
}

// A worker pass that holds the lock when the frame starts must finish before the frame
// walks the grid, so the frame commits what the pass wrote.
TEST_F(FrameTest, FrameWaitsForTheGridLockBeforeCommitting) {
    resetGrid(cells, &residential);
    std::atomic<bool> locked(false);
    std::thread worker([&locked] {
        pthread_mutex_lock(&stateMutex);
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
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

TEST_F(FrameTest, LineModeDrawsOutlinesInsteadOfFilledBuildings) {
    lookDownFrom(glm::vec3(0.0f, 40.0f, 0.0f));
    WideBuilding filled = drawOneWideBuilding();
    line = true;
    WideBuilding outlined = drawOneWideBuilding();

    EXPECT_EQ(filled.seenOnRoof, &commercial);
    EXPECT_EQ(outlined.seenOnRoof, nullptr);
    EXPECT_GT(filled.pixelsChanged, 500);
    EXPECT_GT(outlined.pixelsChanged, 0);
    EXPECT_LT(outlined.pixelsChanged, filled.pixelsChanged / 2);
}

TEST_F(FrameTest, CullingHidesTheGroundSeenFromAboveButKeepsTheBuildings) {
    lookDownFrom(glm::vec3(2.0f, 40.0f, 4.0f));
    BackBuffer ground = renderEmptyCity();
    const glm::vec3 groundPoint(-4.0f, 0.0f, 8.0f);
    EXPECT_FALSE(gltest::near(seenAt(ground, groundPoint), SKY, 8));

    cull = true;
    BackBuffer noGround = renderEmptyCity();
    EXPECT_EQ(noGround.countNear(SKY, 1), noGround.width * noGround.height);
    build(150, 150, &industrial, 1, 1);
    renderFrame();
    EXPECT_EQ(zoneSeenAtCell(BackBuffer(), noGround, 150, 150), &industrial);
}
