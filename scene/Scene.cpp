#include "scene/Scene.h"

#include <cstdlib>
#include <ctime>
#include <glm/gtc/matrix_transform.hpp>

#include "app/Globals.h"
#include "scene/Terrain.h"
#include "sim/Grid.h"

static const char* const MODEL_PATH = "models/cubeTex.obj";

void loadScene() {
    buildTerrain({&positionBuf, &normalBuf, &terrainTexCoordsBuf, &indexBuf});
    time0 = 0;
    planeMat = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f)) *
               glm::scale(glm::mat4(1.0f), glm::vec3(600.0f, 1.0f, 600.0f));
    residential.load(MODEL_PATH);
    commercial.load(MODEL_PATH);
    industrial.load(MODEL_PATH);
    resetGrid(cells, &residential);
    lightPos = glm::vec3(2.0f, 2.0f, 2.0f);
    // Last: the grid seeding in the GL set-up draws from this seed.
    srand(static_cast<unsigned>(time(nullptr)));
}
