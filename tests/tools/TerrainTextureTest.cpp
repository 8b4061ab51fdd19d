#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

using Bytes = std::vector<unsigned char>;

TEST(TerrainTexture, ToolWritesTheCommittedTwentyFourBitFileThatTilesWithoutSeamsYetIsNotFlat) {
    FILE* pipe = popen("'" TERRAIN_TOOL "' /dev/stdout", "r");
    Bytes bmp(1 << 20);
    bmp.resize(fread(bmp.data(), 1, bmp.size(), pipe));
    ASSERT_EQ(pclose(pipe), 0);
    std::ifstream committed(DATA_DIR "/textures/terrain.bmp", std::ios::binary);
    ASSERT_TRUE(bmp == Bytes(std::istreambuf_iterator<char>(committed), {}));
    const int w = bmp[18] | bmp[19] << 8, h = bmp[22] | bmp[23] << 8;
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(w * 3 % 4, 0);
    ASSERT_EQ(bmp.size(), 54u + w * h * 3);

    auto at = [&](int x, int y, int c) { return int(bmp[54 + (y % h * w + x % w) * 3 + c]); };
    // Change summed towards the next column [0] or row [1]: inside [0] or across the wrap [1].
    double step[2][2] = {};
    for (int i = 0; i < w * h * 3; ++i) {
        const int x = i / 3 % w, y = i / 3 / w, c = i % 3;
        step[0][x + 1 == w] += std::abs(at(x, y, c) - at(x + 1, y, c));
        step[1][y + 1 == h] += std::abs(at(x, y, c) - at(x, y + 1, c));
    }
    EXPECT_GT(step[0][0] * step[1][0], 0.0);
    EXPECT_LE(step[0][1] * (w - 1), 2.0 * step[0][0]);
    EXPECT_LE(step[1][1] * (h - 1), 2.0 * step[1][0]);
}
