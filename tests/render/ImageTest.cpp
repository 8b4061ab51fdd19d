#include "render/Image.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// Only width, height, planes and bpp are filled; the loader reads nothing else of the header.
static Bytes bmp(int32_t width, int32_t height, uint16_t planes = 1, uint16_t bpp = 24) {
    Bytes out(54, 0);
    const uint32_t fields[] = {uint32_t(width), uint32_t(height), planes | uint32_t(bpp) << 16};
    for (int k = 0; k < 12; ++k) {
        out[18 + k] = static_cast<unsigned char>(fields[k / 4] >> (8 * (k % 4)));
    }
    return out;
}

// The file with rows of distinct B, G, R bytes padded with 0xEE, and the R, G, B expected back.
static std::pair<Bytes, Bytes> withPixels(int width, int height) {
    Bytes file = bmp(width, height), rgb;
    for (int i = 0; i < width * height; ++i) {
        const unsigned char b = 3 * i + 1, g = b + 1, r = b + 2;
        file.insert(file.end(), {b, g, r});
        rgb.insert(rgb.end(), {r, g, b});
        file.insert(file.end(), (i + 1) % width ? 0 : (4 - width * 3 % 4) % 4, 0xEE);
    }
    return {file, rgb};
}

static Bytes head(const Bytes& bytes, size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + count);
}

static long openDescriptors() {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

struct ImageLoadTest : ::testing::Test {
    void TearDown() override { free(image.pixels); }

    // Writes the file (if any), loads it and returns what the loader printed.
    std::string load(const Bytes* file, int expectedResult) {
        if (file != nullptr) {
            std::ofstream(path, std::ios::binary) << std::string(file->begin(), file->end());
        }
        free(std::exchange(image, {}).pixels);
        testing::internal::CaptureStdout();
        const long descriptors = openDescriptors();
        EXPECT_EQ(ImageLoad(path.c_str(), &image), expectedResult);
        EXPECT_EQ(openDescriptors(), descriptors) << "the file was left open";
        fs::remove(path);
        return testing::internal::GetCapturedStdout();
    }

    std::string path = (fs::temp_directory_path() / ("image_" + std::to_string(getpid()))).string();
    Image image{};
};

TEST_F(ImageLoadTest, RowsComeOutAsRgbWithTheirPaddingSkipped) {
    for (int width : {1, 2, 3, 4}) {
        const auto [file, rgb] = withPixels(width, 2);
        ASSERT_EQ(load(&file, 1), "");
        ASSERT_EQ(std::make_pair(image.width, image.height), std::make_pair(width, 2));
        EXPECT_EQ(Bytes(image.pixels, image.pixels + rgb.size()), rgb) << "width " << width;
    }
}

TEST_F(ImageLoadTest, EachFailurePrintsWhyNamingTheFileAndKeepsNoPixels) {
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {bmp(2, 2, 0), "Planes from @ is not 1: 0\n"},
        {bmp(2, 2, 1, 8), "Bpp from @ is not 24: 8\n"},
        {bmp(2, 2, 1, 32), "Bpp from @ is not 24: 32\n"},
        {head(bmp(2, 2), 28), "Bpp from @ is not 24: 65279\n"},  // past the end: -1 + -1 * 256
        {head(withPixels(2, 2).first, 54 + 8 + 4), "Error reading image data from @.\n"},
        {head(withPixels(4, 2).first, 54 + 24 - 1), "Error reading image data from @.\n"},
        {bmp(0, 2), "Image size of @ is not usable: 0 by 2\n"},
        {bmp(2, -2), "Image size of @ is not usable: 2 by -2\n"},
        {bmp(-2, -2), "Image size of @ is not usable: -2 by -2\n"},
        {bmp(40000, 20000), "Image size of @ is not usable: 40000 by 20000\n"},
        {bmp(2147483647, 1), "Image size of @ is not usable: 2147483647 by 1\n"}};
    EXPECT_EQ(load(nullptr, 0), "File Not Found : " + path + "\n");
    for (const auto& [file, message] : cases) {
        std::string expected = message;
        EXPECT_EQ(load(&file, 0), expected.replace(expected.find('@'), 1, path));
        EXPECT_EQ(image.pixels, nullptr);
    }
}
