// Writes the ground texture: a 24-bit BMP of grass and soil made from periodic value noise,
// so that its right edge continues into its left and its top into its bottom and the
// picture tiles without seams. Deterministic: the same file on every run.
//   make_terrain_texture OUTPUT.bmp
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const int SIDE = 128;  // 128 * 3 bytes a row: a multiple of 4, so no row padding

// A small fixed hash, so that the texture never depends on the C library's generator.
float latticeValue(int x, int y, int period, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>((x % period + period) % period) * 73856093u ^
                 static_cast<uint32_t>((y % period + period) % period) * 19349663u ^
                 seed * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFu) / 65535.0f;
}

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

// Noise on a lattice of `period` cells across the texture; wrapping the lattice keeps it
// periodic over the whole side.
float periodicNoise(int px, int py, int period, uint32_t seed) {
    float fx = static_cast<float>(px) * period / SIDE;
    float fy = static_cast<float>(py) * period / SIDE;
    int x0 = static_cast<int>(std::floor(fx));
    int y0 = static_cast<int>(std::floor(fy));
    float tx = smooth(fx - x0);
    float ty = smooth(fy - y0);
    float a = latticeValue(x0, y0, period, seed);
    float b = latticeValue(x0 + 1, y0, period, seed);
    float c = latticeValue(x0, y0 + 1, period, seed);
    float d = latticeValue(x0 + 1, y0 + 1, period, seed);
    return (a + (b - a) * tx) * (1.0f - ty) + (c + (d - c) * tx) * ty;
}

float fractalNoise(int px, int py, uint32_t seed) {
    float sum = 0.0f;
    float weight = 0.5f;
    for (int period = 4; period <= 64; period *= 2) {
        sum += weight * periodicNoise(px, py, period, seed);
        weight *= 0.5f;
    }
    return sum / (1.0f - weight * 2.0f);
}

unsigned char channel(float v) {
    return static_cast<unsigned char>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f));
}

void putLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<unsigned char>(value >> (8 * k)));
    }
}

std::vector<unsigned char> bmpBytes() {
    const uint32_t pixelBytes = SIDE * SIDE * 3;
    std::vector<unsigned char> out = {'B', 'M'};
    putLittleEndian(out, 54 + pixelBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 54, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, SIDE, 4);
    putLittleEndian(out, SIDE, 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 24, 2);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, pixelBytes, 4);
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 0, 4);
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            float grass = fractalNoise(x, y, 1u);
            float soil =
                smooth(std::fmin(std::fmax((fractalNoise(x, y, 2u) - 0.45f) * 4.0f, 0.0f), 1.0f));
            float r = (0.30f + 0.18f * grass) * (1.0f - soil) + (0.50f + 0.10f * grass) * soil;
            float g = (0.48f + 0.22f * grass) * (1.0f - soil) + (0.42f + 0.08f * grass) * soil;
            float b = (0.20f + 0.08f * grass) * (1.0f - soil) + (0.28f + 0.06f * grass) * soil;
            out.push_back(channel(b));
            out.push_back(channel(g));
            out.push_back(channel(r));
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> bytes = bmpBytes();
    FILE* file = fopen(argv[1], "wb");
    if (file == nullptr || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return fclose(file) == 0 ? 0 : 1;
}
