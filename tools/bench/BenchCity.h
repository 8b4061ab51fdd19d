// The cities that the frame benchmark and its floor both draw: a given number of live
// sites spread evenly over the grid, of mixed sizes and zones, always the same ones.
#pragma once

#include <vector>

struct BenchBuilding {
    int row;
    int col;
    float footprint;
    float height;
    int zone;  // 0 residential, 1 commercial, 2 industrial
};

// In row-major order, the order in which the frame walks the grid and so draws them.
std::vector<BenchBuilding> benchCity(int live);
