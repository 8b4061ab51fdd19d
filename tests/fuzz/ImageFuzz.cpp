// Feeds arbitrary bytes to the BMP loader as a file. A load that succeeds must hand back a
// block of exactly the size it reports, which the sanitizers then watch being read.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>

#include "render/Image.h"

static int memoryFile = -1;
static volatile unsigned pixelSum;
static std::string memoryPath;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    memoryFile = memfd_create("image", 0);
    memoryPath = "/proc/self/fd/" + std::to_string(memoryFile);
    return freopen("/dev/null", "w", stdout) != nullptr ? 0 : 1;  // the loader's messages
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (ftruncate(memoryFile, 0) != 0 || pwrite(memoryFile, data, size, 0) != ssize_t(size)) {
        abort();
    }
    Image image{};
    if (ImageLoad(memoryPath.c_str(), &image) == 1) {
        const size_t bytes = size_t(image.width) * size_t(image.height) * 3;
        pixelSum = std::accumulate(image.pixels, image.pixels + bytes, 0u);
        free(image.pixels);
    }
    return 0;
}
