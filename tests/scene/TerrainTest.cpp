#include "scene/Terrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The frame test shows its triangles turned away from an eye above.
TEST(Terrain, IsAHundredByHundredGridTexturedCornerToCorner) {
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
}
