// A reader for uncompressed 24-bit BMP files, giving RGB bytes ready for a GL upload.
// It reads the size, planes and bit depth from the fixed header places and nothing else.
#pragma once

struct Image {
    int width;
    int height;
    unsigned char* pixels;  // width * height * 3 bytes, R, G, B, rows in file order
};

// 1 when loaded (the caller then owns pixels), 0 after printing why not.
int ImageLoad(const char* path, Image* image);
