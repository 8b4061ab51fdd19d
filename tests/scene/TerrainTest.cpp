#include "scene/Terrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(Terrain, IsAHundredByHundredGridWithClockwiseTrianglesSeenFromAbove) {
    std::vector<float> positions, normals, texCoords;
    std::vector<unsigned int> indices;
    buildTerrain({&positions, &normals, &texCoords, &indices});
    auto slice = [](const auto& v, size_t from, size_t n) {
        return std::vector(v.begin() + from, v.begin() + from + n);
    };
    ASSERT_EQ(positions.size(), 3u * 100 * 100);
    ASSERT_EQ(texCoords.size(), 2u * 100 * 100);
    ASSERT_EQ(normals.size(), positions.size());
    ASSERT_EQ(indices.size(), 3u * 2 * 99 * 99);

    const float corners[][5] = {
        {0, -1, -1, 0, 0}, {99, 1, -1, 0, 1}, {9900, -1, 1, 1, 0}, {9999, 1, 1, 1, 1}};
    for (const auto& [vertex, x, z, s, t] : corners) {
        EXPECT_EQ(slice(positions, 3 * size_t(vertex), 3), (std::vector<float>{x, 0, z}));
        EXPECT_EQ(slice(texCoords, 2 * size_t(vertex), 2), (std::vector<float>{s, t}));
    }

    EXPECT_LT(*std::max_element(indices.begin(), indices.end()), 100u * 100);
    for (size_t t = 0; t < indices.size(); t += 3) {
        const float *a = &positions[3 * indices[t]], *b = &positions[3 * indices[t + 1]],
                    *c = &positions[3 * indices[t + 2]];
        // The y of (b - a) x (c - a), negative where the turn is clockwise seen from +y.
        ASSERT_LT((b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2]), 0.0f) << t / 3;
    }
}
