#include "scene/Terrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <set>
#include <vector>

namespace {

const int SIDE = 100;
const unsigned int VERTICES = SIDE * SIDE;

struct Terrain {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<unsigned int> indices;

    size_t triangleCount() const { return indices.size() / 3; }

    std::array<unsigned int, 3> triangle(size_t t) const {
        return {indices[3 * t], indices[3 * t + 1], indices[3 * t + 2]};
    }
};

const Terrain& terrain() {
    static const Terrain built = [] {
        Terrain t;
        buildTerrain({&t.positions, &t.normals, &t.texCoords, &t.indices});
        return t;
    }();
    return built;
}

int rowOf(unsigned int vertex) {
    return static_cast<int>(vertex) / SIDE;
}
int columnOf(unsigned int vertex) {
    return static_cast<int>(vertex) % SIDE;
}

TEST(Terrain, HoldsTenThousandVerticesAndNineteenThousandSixHundredTwoTriangles) {
    EXPECT_EQ(terrain().positions.size(), 30000u);
    EXPECT_EQ(terrain().normals.size(), 30000u);
    EXPECT_EQ(terrain().texCoords.size(), 20000u);
    EXPECT_EQ(terrain().indices.size(), 58806u);
}

TEST(Terrain, CornersSpanMinusOneToOneWithTexcoordsFollowingRowAndColumn) {
    struct Corner {
        unsigned int vertex;
        float x, z, s, t;
    };
    const Corner corners[] = {
        {0, -1, -1, 0, 0}, {99, 1, -1, 0, 1}, {9900, -1, 1, 1, 0}, {9999, 1, 1, 1, 1}};
    const Terrain& mesh = terrain();
    for (const Corner& c : corners) {
        EXPECT_FLOAT_EQ(mesh.positions[3 * c.vertex], c.x) << "vertex " << c.vertex;
        EXPECT_EQ(mesh.positions[3 * c.vertex + 1], 0.0f) << "vertex " << c.vertex;
        EXPECT_FLOAT_EQ(mesh.positions[3 * c.vertex + 2], c.z) << "vertex " << c.vertex;
        EXPECT_FLOAT_EQ(mesh.texCoords[2 * c.vertex], c.s) << "vertex " << c.vertex;
        EXPECT_FLOAT_EQ(mesh.texCoords[2 * c.vertex + 1], c.t) << "vertex " << c.vertex;
    }
}

TEST(Terrain, EveryVertexSitsOnAnEvenGridInTheGroundPlane) {
    const Terrain& mesh = terrain();
    const double step = 2.0 / (SIDE - 1);
    for (unsigned int v = 0; v < VERTICES; ++v) {
        ASSERT_NEAR(mesh.positions[3 * v], -1.0 + step * columnOf(v), 1e-6) << "vertex " << v;
        ASSERT_EQ(mesh.positions[3 * v + 1], 0.0f) << "vertex " << v;
        ASSERT_NEAR(mesh.positions[3 * v + 2], -1.0 + step * rowOf(v), 1e-6) << "vertex " << v;
    }
}

TEST(Terrain, EveryNormalIsTheUnitUpVector) {
    const Terrain& mesh = terrain();
    for (unsigned int v = 0; v < VERTICES; ++v) {
        ASSERT_EQ(mesh.normals[3 * v], 0.0f) << "vertex " << v;
        ASSERT_EQ(mesh.normals[3 * v + 1], 1.0f) << "vertex " << v;
        ASSERT_EQ(mesh.normals[3 * v + 2], 0.0f) << "vertex " << v;
    }
}

TEST(Terrain, TrianglesAreAppendedVertexByVertexForwardBeforeBackward) {
    const Terrain& mesh = terrain();
    using Triple = std::array<unsigned int, 3>;
    EXPECT_EQ(mesh.triangle(0), (Triple{0, 1, 101}));
    EXPECT_EQ(mesh.triangle(1), (Triple{1, 2, 102}));

    // Row 0 appends 99 forward triangles and vertex 100 one, so vertex 101's pair comes next.
    const size_t atVertex101 = 99 + 1;
    EXPECT_EQ(mesh.triangle(atVertex101), (Triple{101, 102, 202}));
    EXPECT_EQ(mesh.triangle(atVertex101 + 1), (Triple{101, 100, 0}));
}

TEST(Terrain, EveryIndexNamesAnExistingVertex) {
    const std::vector<unsigned int>& indices = terrain().indices;
    EXPECT_LT(*std::max_element(indices.begin(), indices.end()), VERTICES);
}

TEST(Terrain, EveryTriangleWindsClockwiseSeenFromAbove) {
    const Terrain& mesh = terrain();
    for (size_t t = 0; t < mesh.triangleCount(); ++t) {
        auto [a, b, c] = mesh.triangle(t);
        // y of (b - a) x (c - a) in the x-z plane; negative means clockwise from +y.
        double abx = mesh.positions[3 * b] - mesh.positions[3 * a];
        double abz = mesh.positions[3 * b + 2] - mesh.positions[3 * a + 2];
        double acx = mesh.positions[3 * c] - mesh.positions[3 * a];
        double acz = mesh.positions[3 * c + 2] - mesh.positions[3 * a + 2];
        ASSERT_LT(abz * acx - abx * acz, 0.0) << "triangle " << t;
    }
}

TEST(Terrain, EveryGridSquareIsCoveredByExactlyTwoTriangles) {
    const Terrain& mesh = terrain();
    std::map<std::pair<int, int>, std::vector<std::set<unsigned int>>> bySquare;
    for (size_t t = 0; t < mesh.triangleCount(); ++t) {
        std::array<unsigned int, 3> corners = mesh.triangle(t);
        int row = SIDE;
        int column = SIDE;
        for (unsigned int v : corners) {
            row = std::min(row, rowOf(v));
            column = std::min(column, columnOf(v));
        }
        for (unsigned int v : corners) {
            ASSERT_LE(rowOf(v) - row, 1) << "triangle " << t << " spans several squares";
            ASSERT_LE(columnOf(v) - column, 1) << "triangle " << t << " spans several squares";
        }
        bySquare[{row, column}].push_back(std::set<unsigned int>(corners.begin(), corners.end()));
    }

    ASSERT_EQ(bySquare.size(), static_cast<size_t>((SIDE - 1) * (SIDE - 1)));
    for (const auto& [square, triangles] : bySquare) {
        ASSERT_EQ(triangles.size(), 2u) << "square " << square.first << ", " << square.second;
        // Halves that do not overlap share exactly one diagonal.
        std::vector<unsigned int> shared;
        std::set_intersection(triangles[0].begin(), triangles[0].end(), triangles[1].begin(),
                              triangles[1].end(), std::back_inserter(shared));
        ASSERT_EQ(shared.size(), 2u) << "square " << square.first << ", " << square.second;
        EXPECT_NE(rowOf(shared[0]), rowOf(shared[1]));
        EXPECT_NE(columnOf(shared[0]), columnOf(shared[1]));
    }
}

}  // namespace
