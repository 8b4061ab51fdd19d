#include "render/Image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

static Bytes with(Bytes bytes, size_t at, uint32_t value, int size = 4) {
    for (int k = 0; k < size; ++k) {
        bytes.at(at + k) = static_cast<unsigned char>(value >> (8 * k));
    }
    return bytes;
}

// The classic header: 14 bytes, then 40 of information, then the pixels.
static Bytes bmp(int32_t width, int32_t height, uint16_t bpp = 24) {
    Bytes out = with(with(with(Bytes(54, 0), 10, 54), 14, 40), 18, width);
    return with(with(with(with(out, 22, height), 26, 1, 2), 28, bpp, 2), 30, 0);
}

// Rows of distinct B, G, R bytes padded with 0xEE, and the R, G, B expected back.
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

struct ImageLoadTest : ::testing::Test {
    void TearDown() override {
        free(image.pixels);
        fs::remove(path);
    }
    // Loads the file (written first unless null) and returns what the loader printed.
    std::string load(const Bytes* file, int expectedResult) {
        if (file != nullptr) {
            std::ofstream(path, std::ios::binary) << std::string(file->begin(), file->end());
        }
        free(std::exchange(image, {}).pixels);
        auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
        testing::internal::CaptureStdout();
        const long before = openFiles();
        EXPECT_EQ(ImageLoad(path.c_str(), &image), expectedResult);
        EXPECT_EQ(openFiles(), before) << "the file was left open";
        return testing::internal::GetCapturedStdout();
    }
    Bytes pixels() const {
        return Bytes(image.pixels, image.pixels + image.width * image.height * 3);
    }

    std::string path = (fs::temp_directory_path() / ("image_" + std::to_string(getpid()))).string();
    Image image{};
};

// The last row's padding may be missing. ImageMagick's files, with its own long header and
// with the classic one, load as it reads them (rows top down, the file's bottom up).
TEST_F(ImageLoadTest, RowsComeOutAsRgbWithoutPadding) {
    for (int width : {1, 2, 3, 4}) {
        const auto [file, rgb] = withPixels(width, 2);
        for (const Bytes& bytes :
             {file, Bytes(file.begin(), file.end() - (4 - width * 3 % 4) % 4)}) {
            ASSERT_EQ(load(&bytes, 1), "");
            EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(width, 2));
            EXPECT_EQ(pixels(), rgb) << "width " << width << ", " << bytes.size() << " bytes";
        }
    }
    for (const std::string format : {"bmp:", "bmp3:"}) {  // 5 pixels wide: padded rows
        ASSERT_EQ(system(("convert -size 5x3 plasma: -type TrueColor " + format + path).c_str()),
                  0);
        FILE* decoded = popen(("convert " + path + " -flip rgb:-").c_str(), "r");
        Bytes expected(5 * 3 * 3 + 1);
        expected.resize(fread(expected.data(), 1, expected.size(), decoded));
        ASSERT_EQ(pclose(decoded), 0);
        ASSERT_EQ(load(nullptr, 1), "") << format;
        EXPECT_EQ(pixels(), expected) << format;
    }
}
