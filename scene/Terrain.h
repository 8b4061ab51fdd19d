// The ground: a flat N by N vertex grid spanning -1 to 1 in x and z at y = 0, built once
// into CPU arrays for upload. Seen from above its triangles wind clockwise.
#pragma once

#include <vector>

constexpr int TERRAIN_SIDE = 100;

struct TerrainArrays {
    std::vector<float>* positions;
    std::vector<float>* normals;
    std::vector<float>* texCoords;
    std::vector<unsigned int>* indices;
};

// Appends the terrain's vertices (row by row) and triangles to the four arrays.
void buildTerrain(const TerrainArrays& out);
