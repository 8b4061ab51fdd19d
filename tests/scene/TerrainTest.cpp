#include "scene/Terrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <vector>

// The frame test shows its triangles turned away from an eye above.
TEST(Terrain, HundredByHundredTexturedCornerToCorner) {
    std::vector<float> positions, normals, texCoords;
    std::vector<unsigned int> indices;
    buildTerrain({&positions, &normals, &texCoords, &indices});
    ASSERT_EQ(positions.size(), 3u * 100 * 100);
    ASSERT_EQ(texCoords.size(), 2u * 100 * 100);
    ASSERT_EQ(indices.size(), 3u * 2 * 99 * 99);
    const float corners[][5] = {
        {0, -1, -1, 0, 0}, {99, 1, -1, 0, 1}, {9900, -1, 1, 1, 0}, {9999, 1, 1, 1, 1}};
    for (const auto& [vertex, x, z, s, t] : corners) {
        EXPECT_EQ(glm::make_vec3(&positions[3 * size_t(vertex)]), glm::vec3(x, 0, z));
        EXPECT_EQ(glm::make_vec2(&texCoords[2 * size_t(vertex)]), glm::vec2(s, t));
    }
    EXPECT_LT(*std::max_element(indices.begin(), indices.end()), 100u * 100);
}
