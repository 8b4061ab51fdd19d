#include "render/Image.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

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
static bool sizeIsUsable(int width, int height) {
    return width > 0 && height > 0 && static_cast<int64_t>(width) * height * 3 <= INT_MAX;
}

// Stored rows are padded to a multiple of 4 bytes; the padding is skipped, not kept.
static bool readPackedRows(FILE* file, const Image& image) {
    const size_t row = static_cast<size_t>(image.width) * 3;
    const long padding = static_cast<long>((4 - row % 4) % 4);
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
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        printf("File Not Found : %s\n", path);
        return 0;
    }
    fseek(file, 18, SEEK_CUR);
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
    fseek(file, 24, SEEK_CUR);

    const size_t size = static_cast<size_t>(image->width) * image->height * 3;
    image->pixels = static_cast<unsigned char*>(malloc(size));
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
    for (size_t i = 0; i < size; i += 3) {
        std::swap(image->pixels[i], image->pixels[i + 2]);
    }
    fclose(file);
    return 1;
}
