#include "render/MeshArrays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace {

struct ParsedObj {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
};

// Polygons are kept whole by the reader, so that splitting them is left to the code under test.
ParsedObj parseObj(const std::string& text) {
    ParsedObj obj;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    std::istringstream in(text);
    EXPECT_TRUE(
        tinyobj::LoadObj(&obj.attrib, &obj.shapes, &materials, &warn, &err, &in, nullptr, false))
        << err;
    return obj;
}

MeshArrays firstShapeArrays(const std::string& text) {
    ParsedObj obj = parseObj(text);
    if (obj.shapes.empty()) {
        ADD_FAILURE() << "no shape read";
        return {};
    }
    return buildMeshArrays(obj.attrib, obj.shapes[0]);
}

// Six quads wound counter-clockwise seen from outside, each optionally with its outward normal.
std::string boxObj(glm::vec3 lo, glm::vec3 hi, bool faceNormals) {
    const glm::vec3 corners[8] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                  {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const int faces[6][4] = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5},
                             {4, 8, 7, 3}, {1, 5, 8, 4}, {2, 3, 7, 6}};
    std::ostringstream out;
    for (const glm::vec3& c : corners) {
        glm::vec3 p = lo + c * (hi - lo);
        out << "v " << p.x << ' ' << p.y << ' ' << p.z << '\n';
    }
    out << "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n";
    for (int f = 0; f < 6; ++f) {
        out << 'f';
        for (int corner : faces[f]) {
            out << ' ' << corner;
            if (faceNormals) {
                out << "//" << f + 1;
            }
        }
        out << '\n';
    }
    return out.str();
}

glm::vec3 vec3At(const std::vector<float>& values, size_t vertex) {
    return {values[3 * vertex], values[3 * vertex + 1], values[3 * vertex + 2]};
}

size_t vertexCount(const MeshArrays& mesh) {
    return mesh.positions.size() / 3;
}

// The cross product of the edges of the triangle whose indices start at `first`.
glm::vec3 twiceAreaVector(const MeshArrays& mesh, size_t first) {
    glm::vec3 a = vec3At(mesh.positions, mesh.indices[first]);
    glm::vec3 b = vec3At(mesh.positions, mesh.indices[first + 1]);
    glm::vec3 c = vec3At(mesh.positions, mesh.indices[first + 2]);
    return glm::cross(b - a, c - a);
}

void expectBounds(const std::vector<float>& positions, glm::vec3 lo, glm::vec3 hi) {
    glm::vec3 min = vec3At(positions, 0);
    glm::vec3 max = min;
    for (size_t v = 1; v < positions.size() / 3; ++v) {
        min = glm::min(min, vec3At(positions, v));
        max = glm::max(max, vec3At(positions, v));
    }
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(min[axis], lo[axis], 1e-6) << "axis " << axis;
        EXPECT_NEAR(max[axis], hi[axis], 1e-6) << "axis " << axis;
    }
}

void expectIndicesInRange(const MeshArrays& mesh) {
    for (unsigned int index : mesh.indices) {
        EXPECT_LT(index, vertexCount(mesh));
    }
}

TEST(MeshNormalisation, CubeFromOriginToTwoBecomesTheUnitBoxAroundTheOrigin) {
    MeshArrays mesh = firstShapeArrays(boxObj({0, 0, 0}, {2, 2, 2}, false));
    ASSERT_EQ(vertexCount(mesh), 8u);

    normalizeToUnitBox(mesh.positions);

    expectBounds(mesh.positions, glm::vec3(-0.5f), glm::vec3(0.5f));
    for (float coordinate : mesh.positions) {
        EXPECT_FLOAT_EQ(std::fabs(coordinate), 0.5f);
    }
}

TEST(MeshNormalisation, OffCentreBoxKeepsItsProportionsAlongTheLargestSide) {
    MeshArrays mesh = firstShapeArrays(boxObj({8, -1, -0.5f}, {12, 1, 0.5f}, false));

    normalizeToUnitBox(mesh.positions);

    expectBounds(mesh.positions, {-0.5f, -0.25f, -0.125f}, {0.5f, 0.25f, 0.125f});
}

TEST(MeshNormalisation, CoincidentVerticesAreOnlyCentred) {
    MeshArrays mesh = firstShapeArrays("v 3 3 3\nv 3 3 3\nv 3 3 3\nf 1 2 3\n");
    ASSERT_EQ(vertexCount(mesh), 3u);

    normalizeToUnitBox(mesh.positions);

    for (float coordinate : mesh.positions) {
        EXPECT_TRUE(std::isfinite(coordinate));
        EXPECT_FLOAT_EQ(coordinate, 0.0f);
    }
}

TEST(MeshNormalisation, CentredMeshWithUnitLargestSideComesOutUnchanged) {
    const std::vector<float> original = {-0.5f, 0.3f, 0.1f, 0.5f,   -0.3f, -0.2f,
                                         0.1f,  0.2f, 0.2f, -0.25f, 0.0f,  0.0f};
    std::vector<float> positions = original;

    normalizeToUnitBox(positions);

    ASSERT_EQ(positions.size(), original.size());
    for (size_t i = 0; i < original.size(); ++i) {
        EXPECT_NEAR(positions[i], original[i], 1e-6) << "float " << i;
    }
}

TEST(MeshArraysBuild, OnlyTheFirstOfSeveralGroupsAndObjectsIsBuiltAndNormalised) {
    ParsedObj obj = parseObj(
        "o first\nv 0 0 0\nv 1 0 0\nv 0 2 0\nf 1 2 3\n"
        "g second\nv 100 100 100\nv 101 100 100\nv 101 101 100\nv 100 101 100\nf 4 5 6 7\n"
        "o third\nf 1 5 7\n");
    ASSERT_EQ(obj.shapes.size(), 3u);

    MeshArrays mesh = buildMeshArrays(obj.attrib, obj.shapes[0]);
    EXPECT_EQ(vertexCount(mesh), 3u);
    EXPECT_EQ(mesh.indices.size(), 3u);
    expectBounds(mesh.positions, {0, 0, 0}, {1, 2, 0});

    normalizeToUnitBox(mesh.positions);
    expectBounds(mesh.positions, {-0.25f, -0.5f, 0}, {0.25f, 0.5f, 0});
}

TEST(MeshArraysBuild, AttributesTheFileLacksLeaveTheirArraysEmpty) {
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n";

    MeshArrays textured = firstShapeArrays(triangle + "f 1/1 2/2 3/3\n");
    EXPECT_TRUE(textured.normals.empty());
    EXPECT_EQ(textured.texcoords, (std::vector<float>{0, 0, 1, 0, 0, 1}));

    MeshArrays lit = firstShapeArrays(triangle + "f 1//1 2//1 3//1\n");
    EXPECT_TRUE(lit.texcoords.empty());
    EXPECT_EQ(lit.normals, (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1}));

    MeshArrays bare = firstShapeArrays(triangle + "f 1 2 3\n");
    EXPECT_TRUE(bare.normals.empty());
    EXPECT_TRUE(bare.texcoords.empty());
    EXPECT_EQ(vertexCount(bare), 3u);
}

TEST(MeshArraysBuild, PolygonsAreSplitIntoTrianglesKeepingTheirAreaAndWinding) {
    // A unit square and a house-shaped pentagon of area 3, both counter-clockwise in z = 0.
    MeshArrays mesh = firstShapeArrays(
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
        "v 5 0 0\nv 7 0 0\nv 7 1 0\nv 6 2 0\nv 5 1 0\n"
        "f 1 2 3 4\nf 5 6 7 8 9\n");
    ASSERT_EQ(mesh.indices.size(), 6u + 9u);
    expectIndicesInRange(mesh);

    float area = 0.0f;
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        float twiceSigned = twiceAreaVector(mesh, t).z;
        EXPECT_GT(twiceSigned, 0.0f) << "triangle " << t / 3;
        area += 0.5f * twiceSigned;
    }
    EXPECT_FLOAT_EQ(area, 1.0f + 3.0f);
}

TEST(MeshArraysBuild, CubeWithFaceNormalsGetsOneVertexPerCornerOfEveryFace) {
    MeshArrays mesh = firstShapeArrays(boxObj({0, 0, 0}, {1, 1, 1}, true));

    ASSERT_EQ(vertexCount(mesh), 24u);
    ASSERT_EQ(mesh.normals.size(), mesh.positions.size());
    ASSERT_EQ(mesh.indices.size(), 36u);
    expectIndicesInRange(mesh);
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        glm::vec3 outward = glm::normalize(twiceAreaVector(mesh, t));
        for (size_t k = 0; k < 3; ++k) {
            glm::vec3 normal = vec3At(mesh.normals, mesh.indices[t + k]);
            EXPECT_EQ(normal, outward) << "triangle " << t / 3 << " corner " << k;
        }
    }
}

}  // namespace
