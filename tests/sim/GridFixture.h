// The simulation tests' grid, stand-in zones and pattern builders.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "sim/Generation.h"
#include "sim/Grid.h"

// The simulation only stores zone addresses, so three distinct bytes will do.
inline char zoneStandIns[3];
inline const Zones kZones{reinterpret_cast<TavoObject*>(&zoneStandIns[0]),
                          reinterpret_cast<TavoObject*>(&zoneStandIns[1]),
                          reinterpret_cast<TavoObject*>(&zoneStandIns[2])};

using Site = std::pair<int, int>;  // row, column
using Sites = std::vector<Site>;

// Patterns, concatenated and put in row-major order: the order every pass visits the grid.
inline Sites rowMajor(std::initializer_list<Sites> parts) {
    Sites all;
    for (const Sites& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    std::sort(all.begin(), all.end());
    return all;
}
inline Sites block(int r, int c) {
    return {{r, c}, {r, c + 1}, {r + 1, c}, {r + 1, c + 1}};
}
inline Sites rowBlinker(int r, int c) {
    return {{r, c - 1}, {r, c}, {r, c + 1}};
}
inline Sites columnBlinker(int r, int c) {
    return {{r - 1, c}, {r, c}, {r + 1, c}};
}

inline bool isSmallResidential(const Cell& cell) {
    return cell.footprint == 1.0f && cell.height == 1.0f && cell.zone == kZones.residential;
}

// A grid is too big for a test's stack, so it has static storage; a City resets it.
inline CellGrid testCells;

struct City {
    City() { resetGrid(cells, kZones.residential); }

    Cell& at(Site site) { return cells[site.first][site.second]; }
    void pass() { computeNextGeneration(cells, kZones); }
    void build(const Sites& sites) {
        for (const Site& site : sites) {
            at(site).state = at(site).nextState = 1;
        }
    }
    // Commits the pass, returning the sites drawn on the way: the live set before it.
    Sites drawAndCommit() {
        Sites drawn;
        ::drawAndCommit(cells, [&](int r, int c, const Cell&) { drawn.push_back({r, c}); });
        return drawn;
    }

    CellGrid& cells = testCells;
};
