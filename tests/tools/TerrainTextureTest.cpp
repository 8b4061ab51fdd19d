#include "render/Image.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The tool's output, as bytes and as loaded by the program's own reader.
struct Generated {
    int status = -1;
    Bytes bytes;
    int loaded = 0;
    int width = 0;
    int height = 0;
    Bytes rgb;

    int at(int x, int y, int channel) const {
        return rgb[(static_cast<size_t>(y) * width + x) * 3 + channel];
    }
};

const Generated& generated() {
    static const Generated result = [] {
        Generated g;
        const fs::path path =
            fs::temp_directory_path() / ("terrain_texture_" + std::to_string(getpid()) + ".bmp");
        const std::string command = std::string("'") + TERRAIN_TOOL + "' '" + path.string() + "'";
        g.status = std::system(command.c_str());
        g.bytes = fileBytes(path);
        Image image{0, 0, nullptr};
        testing::internal::CaptureStdout();
        g.loaded = ImageLoad(path.string().c_str(), &image);
        testing::internal::GetCapturedStdout();
        if (g.loaded == 1) {
            g.width = image.width;
            g.height = image.height;
            g.rgb.assign(image.pixels,
                         image.pixels + static_cast<size_t>(image.width) * image.height * 3);
            free(image.pixels);
        }
        fs::remove(path);
        return g;
    }();
    return result;
}

// Mean absolute channel difference between each pixel and its neighbour (dx, dy) away,
// wrapping around the edges, over the pixels of one column (dx) or one row (dy).
double meanStep(const Generated& g, int x0, int y0, int dx, int dy) {
    const int count = dx != 0 ? g.height : g.width;
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        int x = dx != 0 ? x0 : k;
        int y = dx != 0 ? k : y0;
        for (int channel = 0; channel < 3; ++channel) {
            sum += std::abs(g.at(x, y, channel) -
                            g.at((x + dx) % g.width, (y + dy) % g.height, channel));
        }
    }
    return sum / (count * 3);
}

// The mean of meanStep over every pair of neighbouring columns (dx = 1) or rows (dy = 1)
// inside the picture, the wrap left out.
double meanInteriorStep(const Generated& g, int dx, int dy) {
    const int lines = dx != 0 ? g.width : g.height;
    double sum = 0.0;
    for (int k = 0; k + 1 < lines; ++k) {
        sum += meanStep(g, k * dx, k * dy, dx, dy);
    }
    return sum / (lines - 1);
}

TEST(TerrainTexture, GeneratorReproducesTheCommittedTextureByteForByte) {
    const Generated& g = generated();
    ASSERT_EQ(g.status, 0);
    const Bytes committed = fileBytes(fs::path(DATA_DIR) / "textures" / "terrain.bmp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(g.bytes == committed)
        << "generated " << g.bytes.size() << " bytes, committed " << committed.size();
}

TEST(TerrainTexture, LoadsAsTwentyFourBitWithRowsThatNeedNoPadding) {
    const Generated& g = generated();
    ASSERT_EQ(g.loaded, 1);
    ASSERT_GT(g.width, 1);
    ASSERT_GT(g.height, 1);
    EXPECT_EQ(g.width * 3 % 4, 0);
    EXPECT_EQ(g.bytes.size(), 54u + static_cast<size_t>(g.width) * g.height * 3);
}

TEST(TerrainTexture, TilesWithoutSeamsAcrossBothWraps) {
    const Generated& g = generated();
    ASSERT_EQ(g.loaded, 1);
    EXPECT_LE(meanStep(g, g.width - 1, 0, 1, 0), 2.0 * meanInteriorStep(g, 1, 0));
    EXPECT_LE(meanStep(g, 0, g.height - 1, 0, 1), 2.0 * meanInteriorStep(g, 0, 1));
}

TEST(TerrainTexture, IsNotAFlatColour) {
    const Generated& g = generated();
    ASSERT_EQ(g.loaded, 1);
    std::set<std::tuple<int, int, int>> colours;
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            colours.insert({g.at(x, y, 0), g.at(x, y, 1), g.at(x, y, 2)});
        }
    }
    EXPECT_GT(colours.size(), 100u);
    EXPECT_GT(meanInteriorStep(g, 1, 0), 0.0);
}

}  // namespace
