#include "render/Image.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "render/DataFile.h"

static const long FILE_HEADER_SIZE = 14;
static const long SMALLEST_INFO_HEADER_SIZE = 40;
// Room for a 4096 by 4096 picture, far more than a ground texture needs.
static const long long IMAGE_FILE_LIMIT = 64LL << 20;

static int getint(FILE* file) {
    unsigned b0 = getc(file);
    unsigned b1 = getc(file);
    unsigned b2 = getc(file);
    unsigned b3 = getc(file);
    return static_cast<int>(b0 + (b1 << 8) + (b2 << 16) + (b3 << 24));
}

static unsigned getshort(FILE* file) {
    unsigned b0 = getc(file);
    unsigned b1 = getc(file);
    return (b0 + (b1 << 8)) & 0xFFFFu;
}

// The one block of pixel bytes must stay addressable with an int, as GL takes sizes.
// Divided rather than multiplied, so that no product can overflow.
static bool sizeIsUsable(int width, int height) {
    return width > 0 && height > 0 && width <= INT_MAX / 3 / height;
}

static long fileSize(FILE* file) {
    return fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
}

static long storedRowSize(const Image& image) {
    return (static_cast<long>(image.width) * 3 + 3) / 4 * 4;
}

// The last row's padding may be missing: nothing of it is read.
static long storedPixelBytes(const Image& image) {
    return storedRowSize(image) * (image.height - 1) + static_cast<long>(image.width) * 3;
}

// Stored rows are padded to a multiple of 4 bytes; the padding is skipped, not kept.
static bool readPackedRows(FILE* file, const Image& image) {
    const size_t row = static_cast<size_t>(image.width) * 3;
    const long padding = storedRowSize(image) - static_cast<long>(row);
    for (int y = 0; y < image.height; ++y) {
        if (fread(image.pixels + row * y, row, 1, file) != 1) {
            return false;
        }
        if (y + 1 < image.height && fseek(file, padding, SEEK_CUR) != 0) {
            return false;
        }
    }
    return true;
}

static int fail(FILE* file) {
    fclose(file);
    return 0;
}

int ImageLoad(const char* path, Image* image) {
    const DataFile data = openDataFile(path, "rb", IMAGE_FILE_LIMIT);
    if (data.file == nullptr) {
        printf(data.missing ? "File Not Found : %s (%s)\n" : "Cannot read %s: %s\n", path,
               data.refusal.c_str());
        return 0;
    }
    FILE* file = data.file;
    fseek(file, 10, SEEK_SET);
    const long dataOffset = static_cast<unsigned>(getint(file));
    const long infoHeaderSize = static_cast<unsigned>(getint(file));
    image->width = getint(file);
    image->height = getint(file);

    unsigned planes = getshort(file);
    if (planes != 1) {
        printf("Planes from %s is not 1: %u\n", path, planes);
        return fail(file);
    }
    unsigned bpp = getshort(file);
    if (bpp != 24) {
        printf("Bpp from %s is not 24: %u\n", path, bpp);
        return fail(file);
    }
    if (!sizeIsUsable(image->width, image->height)) {
        printf("Image size of %s is not usable: %d by %d\n", path, image->width, image->height);
        return fail(file);
    }
    // Encoders write longer information headers than the classic 40 bytes; the header's own
    // offset says where the pixels are.
    const long size = fileSize(file);
    if (dataOffset < FILE_HEADER_SIZE + std::max(SMALLEST_INFO_HEADER_SIZE, infoHeaderSize) ||
        dataOffset >= size) {
        printf("Pixel data of %s does not start past its headers and inside the file: %ld\n", path,
               dataOffset);
        return fail(file);
    }
    // Checked before allocating, so that a short file never claims a large block.
    if (size - dataOffset < storedPixelBytes(*image) || fseek(file, dataOffset, SEEK_SET) != 0) {
        printf("Error reading image data from %s.\n", path);
        return fail(file);
    }

    const size_t bytes = static_cast<size_t>(image->width) * image->height * 3;
    image->pixels = static_cast<unsigned char*>(malloc(bytes));
    if (image->pixels == nullptr) {
        printf("Error allocating memory for color-corrected image data");
        return fail(file);
    }
    if (!readPackedRows(file, *image)) {
        printf("Error reading image data from %s.\n", path);
        free(image->pixels);
        image->pixels = nullptr;
        return fail(file);
    }
    for (size_t i = 0; i < bytes; i += 3) {
        std::swap(image->pixels[i], image->pixels[i + 2]);
    }
    fclose(file);
    return 1;
}
