#include "render/MeshArrays.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <limits>
#include <sstream>

// Builds the first shape; the reader keeps polygons whole for the code under test to split.
static MeshArrays build(const std::string& text) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> read;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    std::istringstream in(text);
    tinyobj::LoadObj(&attrib, &read, &materials, &warn, &err, &in, nullptr, false);
    return read.empty() ? MeshArrays{} : buildMeshArrays(attrib, read[0]);
}

// The cross product of the edges of the triangle whose indices start at `first`.
static glm::vec3 twiceArea(const MeshArrays& mesh, size_t first) {
    auto p = [&](size_t k) { return glm::make_vec3(&mesh.positions[3 * mesh.indices[first + k]]); };
    return glm::cross(p(1) - p(0), p(2) - p(0));
}

// A stretched block keeps its proportions; a stray coordinate that is not finite must not
// collapse the rest to a point, nor coincident points turn into what is not a number.
TEST(MeshArrays, FittingKeepsProportionsSkipsInfinities) {
    const float inf = std::numeric_limits<float>::infinity();
    std::pair<std::vector<float>, std::vector<float>> cases[] = {
        {{2, -6, -2, 18, 2, 2}, {-0.5f, -0.25f, -0.125f, 0.5f, 0.25f, 0.125f}},
        {{2, 4, 6, 4, 4, 6, inf, -inf, inf}, {-0.5f, 0, 0, 0.5f, 0, 0}},
        {{3, -1, 7, 3, -1, 7}, {0, 0, 0, 0, 0, 0}}};
    for (auto& [in, out] : cases) {
        normalizeToUnitBox(in);
        EXPECT_EQ(std::vector<float>(in.begin(), in.begin() + 6), out);
    }
}

TEST(MeshArrays, FirstGroupFannedWithCornersInRange) {
    // House pentagon (area 3) and chimney (0.5) sharing two corners, counter-clockwise in z = 0,
    // read from a file and as a lenient reader hands them over, pool indices from 0.
    const std::string house =
        "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nv 2 2 0\nf 1 2 3 4 5\nf 3 6 4\n";
    const std::string far = "g far\nv 100 100 100\nv 101 100 100\nv 101 101 100\nf 7 8 9\n";
    EXPECT_EQ(build(house + far).positions, build(house).positions);
    EXPECT_TRUE(build("v 0 0 0\nv 1 0 0\nv 0 1 0\n").indices.empty());
    // Some reader releases refuse a model whose faces name a missing vertex, others pass the
    // faces on as written; of those, only the corners that name a vertex are built: a quad with
    // one far out keeps a triangle (area 1), triangles one past the end or before the start none.
    const MeshArrays read = build(house + "f 1 2 99 5\nf 1 2 -40\n" + far);
    for (unsigned int index : read.indices) {
        ASSERT_LT(index, read.positions.size() / 3);
    }
    tinyobj::attrib_t attrib;
    attrib.vertices = {0, 0, 0, 2, 0, 0, 2, 1, 0, 1, 2, 0, 0, 1, 0, 2, 2, 0};
    tinyobj::shape_t shape;
    for (int vertex : {0, 1, 2, 3, 4, 2, 5, 3, 0, 1, 98, 4, 0, 1, 6, 0, 1, -1}) {
        shape.mesh.indices.push_back({vertex, -1, -1});
    }
    shape.mesh.num_face_vertices = {5, 3, 4, 3, 3};
    MeshArrays mesh = buildMeshArrays(attrib, shape);
    EXPECT_EQ(mesh.positions.size(), 6u * 3);
    float area = 0.0f;
    for (size_t t = 0; t < mesh.indices.size(); t += 3) {
        EXPECT_GT(twiceArea(mesh, t).z, 0.0f) << "triangle " << t / 3;
        area += 0.5f * twiceArea(mesh, t).z;
    }
    EXPECT_FLOAT_EQ(area, 4.5f);
}
