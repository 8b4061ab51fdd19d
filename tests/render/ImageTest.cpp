#include "render/Image.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

void putLittleEndian(Bytes& out, uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<unsigned char>(value >> (8 * k)));
    }
}

// A 54-byte header as a usual writer fills it; the loader reads only width to bpp.
Bytes bmpHeader(int32_t width, int32_t height, uint16_t planes = 1, uint16_t bpp = 24) {
    Bytes out = {'B', 'M'};
    putLittleEndian(out, 0, 4);   // file size
    putLittleEndian(out, 0, 4);   // reserved
    putLittleEndian(out, 54, 4);  // pixel data offset
    putLittleEndian(out, 40, 4);  // information header size
    putLittleEndian(out, static_cast<uint32_t>(width), 4);
    putLittleEndian(out, static_cast<uint32_t>(height), 4);
    putLittleEndian(out, planes, 2);
    putLittleEndian(out, bpp, 2);
    out.resize(54, 0);
    return out;
}

// Stored B, G, R triples with distinct values, never equal to the padding filler.
Bytes storedPixels(int count) {
    Bytes out;
    for (int i = 0; i < count * 3; ++i) {
        out.push_back(static_cast<unsigned char>(1 + i));
    }
    return out;
}

const unsigned char PADDING = 0xEE;

// The file bytes for an image whose rows are padded to a multiple of 4 bytes.
Bytes paddedBmp(int width, int height, const Bytes& pixels) {
    Bytes out = bmpHeader(width, height);
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        out.insert(out.end(), pixels.begin() + row * y, pixels.begin() + row * (y + 1));
        out.insert(out.end(), (4 - row % 4) % 4, PADDING);
    }
    return out;
}

// A 2x2 image whose second row stops after 4 of its 6 pixel bytes.
Bytes truncatedPaddedBmp() {
    Bytes out = paddedBmp(2, 2, storedPixels(4));
    out.resize(out.size() - 4);
    return out;
}

Bytes asRgb(const Bytes& bgr) {
    Bytes out = bgr;
    for (size_t i = 0; i + 2 < out.size(); i += 3) {
        std::swap(out[i], out[i + 2]);
    }
    return out;
}

// getc gives -1 past the end; two such bytes assembled as an unsigned 16-bit value.
unsigned twoBytesPastTheEnd() {
    return static_cast<uint16_t>(-1 + -1 * 256);
}

size_t openDescriptorCount() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

class ImageLoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("image_test_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }

    void TearDown() override {
        free(image.pixels);
        fs::remove_all(dir);
    }

    std::string write(const std::string& name, const Bytes& bytes) {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Loads the file, returning what the loader printed.
    std::string load(const std::string& path, int expectedResult) {
        free(image.pixels);
        image = Image{-7, -7, nullptr};
        testing::internal::CaptureStdout();
        int result = ImageLoad(path.c_str(), &image);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, expectedResult) << path;
        return printed;
    }

    void expectRejected(const std::string& name, const Bytes& bytes, const std::string& before,
                        const std::string& after) {
        std::string path = write(name, bytes);
        EXPECT_EQ(load(path, 0), before + path + after);
    }

    Bytes loadedPixels() const {
        return Bytes(image.pixels,
                     image.pixels + static_cast<size_t>(image.width) * image.height * 3);
    }

    fs::path dir;
    Image image{-7, -7, nullptr};
};

TEST_F(ImageLoadTest, ReadsUnpaddedTwelveByteRowsExactlyAsRgb) {
    const Bytes pixels = storedPixels(8);
    const Bytes file = paddedBmp(4, 2, pixels);
    ASSERT_EQ(file.size(), 54u + 2 * 12);

    EXPECT_EQ(load(write("4x2.bmp", file), 1), "");
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(loadedPixels(), asRgb(pixels));
}

TEST_F(ImageLoadTest, SkipsRowPaddingSoEveryPixelIsATrueOne) {
    for (int width : {1, 2, 3, 5}) {
        const Bytes pixels = storedPixels(width * 2);
        std::string path =
            write("padded" + std::to_string(width) + ".bmp", paddedBmp(width, 2, pixels));

        EXPECT_EQ(load(path, 1), "");
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, 2);
        EXPECT_EQ(loadedPixels(), asRgb(pixels)) << "width " << width;
    }
}

TEST_F(ImageLoadTest, MissingFileIsReportedByName) {
    std::string path = (dir / "absent.bmp").string();
    EXPECT_EQ(load(path, 0), "File Not Found : " + path + "\n");
}

TEST_F(ImageLoadTest, RejectsPlanesOtherThanOneNamingTheStoredValue) {
    expectRejected("planes0.bmp", bmpHeader(2, 2, 0), "Planes from ", " is not 1: 0\n");
    expectRejected("planes3.bmp", bmpHeader(2, 2, 3), "Planes from ", " is not 1: 3\n");
}

TEST_F(ImageLoadTest, RejectsPaletteAndThirtyTwoBitImagesPrintingTheStoredDepth) {
    expectRejected("bpp8.bmp", bmpHeader(2, 2, 1, 8), "Bpp from ", " is not 24: 8\n");
    expectRejected("bpp32.bmp", bmpHeader(2, 2, 1, 32), "Bpp from ", " is not 24: 32\n");
}

TEST_F(ImageLoadTest, FileShorterThanThirtyBytesFailsOnAHeaderField) {
    const std::string value = std::to_string(twoBytesPastTheEnd()) + "\n";
    Bytes header = bmpHeader(2, 2);

    expectRejected("cut28.bmp", Bytes(header.begin(), header.begin() + 28), "Bpp from ",
                   " is not 24: " + value);
    expectRejected("cut20.bmp", Bytes(header.begin(), header.begin() + 20), "Planes from ",
                   " is not 1: " + value);
}

TEST_F(ImageLoadTest, RejectsZeroNegativeAndOverflowingSizesNamingTheFile) {
    const std::vector<std::pair<int32_t, int32_t>> sizes = {
        {0, 2}, {2, 0}, {-2, 2}, {2, -2}, {-2, -2}, {65536, 65536}, {INT_MAX, 1}, {40000, 20000}};
    for (const auto& [width, height] : sizes) {
        const std::string size = std::to_string(width) + " by " + std::to_string(height) + "\n";
        Bytes file = bmpHeader(width, height);
        file.resize(file.size() + 48, 0);
        expectRejected("size.bmp", file, "Image size of ", " is not usable: " + size);
    }
}

TEST_F(ImageLoadTest, TruncatedPixelDataFailsAndLeavesNoPixelBlock) {
    Bytes unpadded = paddedBmp(4, 2, storedPixels(8));
    unpadded.pop_back();

    for (const Bytes& file : {unpadded, truncatedPaddedBmp()}) {
        expectRejected("short.bmp", file, "Error reading image data from ", ".\n");
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(ImageLoadTest, EveryLoadClosesItsFile) {
    const std::vector<std::pair<std::string, int>> files = {
        {write("good.bmp", paddedBmp(3, 3, storedPixels(9))), 1},
        {write("planes.bmp", bmpHeader(2, 2, 2)), 0},
        {write("bpp.bmp", bmpHeader(2, 2, 1, 8)), 0},
        {write("size.bmp", bmpHeader(0, 2)), 0},
        {write("truncated.bmp", truncatedPaddedBmp()), 0}};

    const size_t before = openDescriptorCount();
    for (int round = 0; round < 20; ++round) {
        for (const auto& [path, result] : files) {
            load(path, result);
        }
    }
    EXPECT_EQ(openDescriptorCount(), before);
}

}  // namespace
