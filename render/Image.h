// A reader for uncompressed 24-bit BMP files, giving RGB bytes ready for a GL upload.
// It takes the size, planes and bit depth from the information header and the pixels from
// where the file header says they start.
#pragma once

struct Image {
    int width;
    int height;
    unsigned char* pixels;  // width * height * 3 bytes, R, G, B, rows in file order
};

// 1 when loaded (the caller then owns pixels), 0 after printing why not.
int ImageLoad(const char* path, Image* image);
