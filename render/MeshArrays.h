// Per-shape vertex arrays built from the OBJ reader's shared attribute pool, and the
// normalisation that fits them into the unit box around the origin. No GL here.
#pragma once

#include <tiny_obj_loader.h>

#include <vector>

struct MeshArrays {
    std::vector<float> positions;       // x, y, z per vertex
    std::vector<float> normals;         // x, y, z per vertex, or empty
    std::vector<float> texcoords;       // s, t per vertex, or empty
    std::vector<unsigned int> indices;  // three per triangle
};

// One vertex per distinct (position, normal, texcoord) index triple that the shape's faces
// use; polygons are split into triangle fans. Corners that name no position are skipped.
MeshArrays buildMeshArrays(const tinyobj::attrib_t& attrib, const tinyobj::shape_t& shape);

// Centres the positions on the origin and scales them uniformly so that the largest side
// spans -0.5 to 0.5. A mesh whose points all coincide is only centred.
void normalizeToUnitBox(std::vector<float>& positions);

// Each triangle's three edges as pairs of indices, for drawing the triangles as lines.
std::vector<unsigned int> triangleEdges(const std::vector<unsigned int>& triangleIndices);
