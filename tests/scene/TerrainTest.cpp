#include "scene/Terrain.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <vector>

// The frame test sees where the ground lies and ends; here, how its texture runs across it:
// s with the rows, along z, and t with the columns, along x.
TEST(Terrain, TextureRunsCornerToCorner) {
    std::vector<float> positions, normals, texCoords;
    std::vector<unsigned int> indices;
    buildTerrain({&positions, &normals, &texCoords, &indices});
    ASSERT_EQ(texCoords.size(), 2u * 100 * 100);
    const float corners[][3] = {{0, 0, 0}, {99, 0, 1}, {9900, 1, 0}, {9999, 1, 1}};
    for (const auto& [vertex, s, t] : corners) {
        EXPECT_EQ(glm::make_vec2(&texCoords[2 * size_t(vertex)]), glm::vec2(s, t));
    }
}
