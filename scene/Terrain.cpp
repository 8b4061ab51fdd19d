#include "scene/Terrain.h"

static float gridCoordinate(int index) {
    return static_cast<float>(
        2.0 * static_cast<float>(index) / static_cast<float>(TERRAIN_SIDE - 1) - 1.0);
}

void buildTerrain(const TerrainArrays& out) {
    const int N = TERRAIN_SIDE;
    const float last = static_cast<float>(N - 1);
    for (int i = 0; i < N; ++i) {
        for (int j = 0; j < N; ++j) {
            const unsigned int k = static_cast<unsigned int>(N * i + j);
            out.positions->insert(out.positions->end(),
                                  {gridCoordinate(j), 0.0f, gridCoordinate(i)});
            // The ground faces straight up.
            out.normals->insert(out.normals->end(), {0.0f, 1.0f, 0.0f});
            out.texCoords->insert(out.texCoords->end(),
                                  {static_cast<float>(i) / last, static_cast<float>(j) / last});
            if (i < N - 1 && j < N - 1) {
                out.indices->insert(out.indices->end(), {k, k + 1, k + 1 + N});
            }
            if (i >= 1 && j >= 1) {
                out.indices->insert(out.indices->end(), {k, k - 1, k - 1 - N});
            }
        }
    }
}
