#include "render/MeshArrays.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

#include <glm/glm.hpp>

namespace {

using Triple = std::tuple<int, int, int>;

bool inPool(int index, size_t poolSize, size_t width) {
    return index >= 0 && static_cast<size_t>(index) < poolSize / width;
}

class VertexTable {
  public:
    VertexTable(const tinyobj::attrib_t& attrib, const tinyobj::shape_t& shape)
        : attrib(attrib), withNormals(false), withTexcoords(false) {
        for (const tinyobj::index_t& corner : shape.mesh.indices) {
            withNormals |= inPool(corner.normal_index, attrib.normals.size(), 3);
            withTexcoords |= inPool(corner.texcoord_index, attrib.texcoords.size(), 2);
        }
    }

    // The vertex number of a corner, adding the vertex on first sight; -1 without a position.
    long vertexOf(const tinyobj::index_t& corner, MeshArrays& mesh) {
        if (!inPool(corner.vertex_index, attrib.vertices.size(), 3)) {
            return -1;
        }
        int normal =
            inPool(corner.normal_index, attrib.normals.size(), 3) ? corner.normal_index : -1;
        int texcoord =
            inPool(corner.texcoord_index, attrib.texcoords.size(), 2) ? corner.texcoord_index : -1;
        Triple key(corner.vertex_index, normal, texcoord);
        auto found = numbers.find(key);
        if (found != numbers.end()) {
            return found->second;
        }
        unsigned int number = static_cast<unsigned int>(mesh.positions.size() / 3);
        append(mesh.positions, attrib.vertices, corner.vertex_index, 3);
        if (withNormals) {
            append(mesh.normals, attrib.normals, normal, 3);
        }
        if (withTexcoords) {
            append(mesh.texcoords, attrib.texcoords, texcoord, 2);
        }
        numbers.emplace(key, number);
        return number;
    }

  private:
    // A corner without the attribute that its neighbours carry gets zeros, keeping arrays aligned.
    static void append(std::vector<float>& out, const std::vector<tinyobj::real_t>& pool, int index,
                       int width) {
        for (int k = 0; k < width; ++k) {
            out.push_back(index >= 0 ? pool[static_cast<size_t>(index) * width + k] : 0.0f);
        }
    }

    const tinyobj::attrib_t& attrib;
    bool withNormals;
    bool withTexcoords;
    std::map<Triple, unsigned int> numbers;
};

}  // namespace

MeshArrays buildMeshArrays(const tinyobj::attrib_t& attrib, const tinyobj::shape_t& shape) {
    MeshArrays mesh;
    VertexTable table(attrib, shape);
    size_t offset = 0;
    for (unsigned char corners : shape.mesh.num_face_vertices) {
        std::vector<long> face;
        for (size_t k = 0; k < corners && offset + k < shape.mesh.indices.size(); ++k) {
            long number = table.vertexOf(shape.mesh.indices[offset + k], mesh);
            if (number >= 0) {
                face.push_back(number);
            }
        }
        offset += corners;
        for (size_t k = 2; k < face.size(); ++k) {
            mesh.indices.push_back(static_cast<unsigned int>(face[0]));
            mesh.indices.push_back(static_cast<unsigned int>(face[k - 1]));
            mesh.indices.push_back(static_cast<unsigned int>(face[k]));
        }
    }
    return mesh;
}

void normalizeToUnitBox(std::vector<float>& positions) {
    // A coordinate that is not finite takes no part in the box: one stray value in a model
    // must not keep the rest of it from being fitted.
    glm::vec3 min(std::numeric_limits<float>::max());
    glm::vec3 max(std::numeric_limits<float>::lowest());
    for (size_t i = 0; i + 2 < positions.size(); i += 3) {
        for (int axis = 0; axis < 3; ++axis) {
            float v = positions[i + axis];
            if (std::isfinite(v)) {
                min[axis] = std::min(min[axis], v);
                max[axis] = std::max(max[axis], v);
            }
        }
    }
    // Halved before subtracting, so that no difference can overflow.
    glm::vec3 halfExtent = glm::max(0.5f * max - 0.5f * min, glm::vec3(0.0f));
    // Divided rather than scaled by the reciprocal, which a tiny extent would make infinite.
    float largest = std::max({halfExtent.x, halfExtent.y, halfExtent.z});
    float half = largest > 0.0f ? largest : 0.5f;
    // Measured from the lowest point in the same steps as the extent, so that the extremes land
    // on the box's faces even where the extent is tiny beside the coordinates: a rounded
    // centre would put them outside.
    for (size_t j = 0; j + 2 < positions.size(); j += 3) {
        for (int axis = 0; axis < 3; ++axis) {
            float fromLowest = 0.5f * positions[j + axis] - 0.5f * min[axis];
            positions[j + axis] = (fromLowest - 0.5f * halfExtent[axis]) / half;
        }
    }
}

std::vector<unsigned int> triangleEdges(const std::vector<unsigned int>& triangleIndices) {
    std::vector<unsigned int> edges;
    edges.reserve(2 * triangleIndices.size());
    for (size_t t = 0; t + 2 < triangleIndices.size(); t += 3) {
        const unsigned int a = triangleIndices[t];
        const unsigned int b = triangleIndices[t + 1];
        const unsigned int c = triangleIndices[t + 2];
        edges.insert(edges.end(), {a, b, b, c, c, a});
    }
    return edges;
}
