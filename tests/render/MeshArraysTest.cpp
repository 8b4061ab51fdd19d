#include "render/MeshArrays.h"

#include <gtest/gtest.h>

#include <fstream>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// The first shape read; the reader keeps polygons whole for the code under test to split.
static tinyobj::shape_t firstShape(const std::string& text, tinyobj::attrib_t& attrib) {
    std::vector<tinyobj::shape_t> read;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    std::istringstream in(text);
    tinyobj::LoadObj(&attrib, &read, &materials, &warn, &err, &in, nullptr, false);
    return read.empty() ? tinyobj::shape_t{} : read[0];
}

static MeshArrays build(const std::string& text) {
    tinyobj::attrib_t attrib;
    return buildMeshArrays(attrib, firstShape(text, attrib));
}

// The cross product of the edges of the triangle whose indices start at `first`.
static glm::vec3 twiceArea(const MeshArrays& mesh, size_t first) {
    auto p = [&](size_t k) { return glm::make_vec3(&mesh.positions[3 * mesh.indices[first + k]]); };
    return glm::cross(p(1) - p(0), p(2) - p(0));
}

TEST(MeshArrays, TheBlockModelsCornersCarryTheirFaceNormalAndAStretchedBlockFitsInProportion) {
    std::ifstream model(DATA_DIR "/models/cubeTex.obj");
    MeshArrays mesh = build(std::string(std::istreambuf_iterator<char>(model), {}));
    ASSERT_EQ(mesh.positions.size(), 24u * 3);  // one vertex per corner of each face
    for (size_t t = 0; t < mesh.indices.size(); t += 3) {
        for (size_t k = 0; k < 3; ++k) {
            const glm::vec3 normal = glm::make_vec3(&mesh.normals[3 * mesh.indices[t + k]]);
            EXPECT_NEAR(glm::distance(normal, glm::normalize(twiceArea(mesh, t))), 0.0f, 1e-6f);
        }
    }
    const float stretch[3] = {8, 4, 2}, shift[3] = {10, -2, 0};
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        mesh.positions[i] = mesh.positions[i] * stretch[i % 3] + shift[i % 3];
    }
    normalizeToUnitBox(mesh.positions);
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        EXPECT_NEAR(glm::abs(mesh.positions[i]), stretch[i % 3] / 16, 1e-6) << "float " << i;
    }
}

TEST(MeshArrays, OnlyTheFirstGroupIsBuiltFanningPolygonsAndSkippingCornersOutOfRange) {
    // House pentagon (area 3) and chimney (0.5) sharing two corners, counter-clockwise in z = 0.
    const std::string house =
        "o house\nv 0 0 0\nv 2 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nv 2 2 0\n"
        "f 1 2 3 4 5\nf 3 6 4\n";
    const std::string far = "g far\nv 100 100 100\nv 101 100 100\nv 101 101 100\nf 7 8 9\n";
    EXPECT_TRUE(build("v 0 0 0\nv 1 0 0\nv 0 1 0\n").indices.empty());
    // Some reader releases refuse a model whose faces name a missing vertex, others pass the
    // faces on as written; of those, only the corners that name a vertex are built: a quad with
    // one far out keeps a triangle (area 1), triangles one past the end or before the start none.
    const MeshArrays read = build(house + "f 1 2 99 5\nf 1 2 -40\n" + far);
    for (unsigned int index : read.indices) {
        ASSERT_LT(index, read.positions.size() / 3);
    }
    tinyobj::attrib_t attrib;
    tinyobj::shape_t shape = firstShape(house + far, attrib);
    for (int vertex : {0, 1, 98, 4, 0, 1, 9, 0, 1, -1}) {
        shape.mesh.indices.push_back({vertex, -1, -1});
    }
    shape.mesh.num_face_vertices.insert(shape.mesh.num_face_vertices.end(), {4, 3, 3});
    MeshArrays mesh = buildMeshArrays(attrib, shape);
    EXPECT_EQ(mesh.positions.size(), 6u * 3);
    float area = 0.0f;
    for (size_t t = 0; t < mesh.indices.size(); t += 3) {
        EXPECT_GT(twiceArea(mesh, t).z, 0.0f) << "triangle " << t / 3;
        area += 0.5f * twiceArea(mesh, t).z;
    }
    EXPECT_FLOAT_EQ(area, 4.5f);
}
