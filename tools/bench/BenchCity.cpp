#include "tools/bench/BenchCity.h"

#include <algorithm>

#include "sim/Cell.h"
#include "sim/Generation.h"

// Prime and so coprime with the 90 000 sites: multiples of it visit every site once, in
// an order that scatters any prefix of them over the whole grid.
static const int SCATTER_STEP = 7919;
static const int AGES = 8;
static const int ZONES = 3;

std::vector<BenchBuilding> benchCity(int live) {
    const int sites = GRID_SIDE * GRID_SIDE;
    std::vector<int> chosen;
    for (int i = 0; i < std::min(live, sites); ++i) {
        chosen.push_back(static_cast<int>(static_cast<long long>(i) * SCATTER_STEP % sites));
    }
    std::sort(chosen.begin(), chosen.end());
    std::vector<BenchBuilding> city;
    for (int site : chosen) {
        // Sizes as after 0 to 7 survived generations.
        int age = site % AGES;
        city.push_back({site / GRID_SIDE, site % GRID_SIDE,
                        static_cast<float>(1.0 + FOOTPRINT_GROWTH * age),
                        static_cast<float>(1.0 + HEIGHT_GROWTH * age), site % ZONES});
    }
    return city;
}
