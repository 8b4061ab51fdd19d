// Shared set-up for the simulation tests: stand-in zone objects, a grid on the heap and
// small builders for live patterns.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "sim/Cell.h"
#include "sim/Generation.h"
#include "sim/Grid.h"

// The simulation only stores and compares zone addresses, so three distinct bytes will do.
inline char zoneStandIns[3];
inline const Zones kZones{reinterpret_cast<TavoObject*>(&zoneStandIns[0]),
                          reinterpret_cast<TavoObject*>(&zoneStandIns[1]),
                          reinterpret_cast<TavoObject*>(&zoneStandIns[2])};

struct Site {
    int row;
    int col;
    bool operator==(const Site& other) const { return row == other.row && col == other.col; }
    bool operator<(const Site& other) const {
        return row != other.row ? row < other.row : col < other.col;
    }
};

inline std::vector<Site> rowMajor(std::vector<Site> sites) {
    std::sort(sites.begin(), sites.end());
    return sites;
}

inline std::vector<Site> blockAt(int row, int col) {
    return {{row, col}, {row, col + 1}, {row + 1, col}, {row + 1, col + 1}};
}

inline std::vector<Site> rowBlinkerAt(int row, int col) {
    return {{row, col - 1}, {row, col}, {row, col + 1}};
}

inline std::vector<Site> columnBlinkerAt(int row, int col) {
    return {{row - 1, col}, {row, col}, {row + 1, col}};
}

// The growth of one survived pass: summed in double, rounded once to float.
inline float grown(float value, double step) {
    return static_cast<float>(static_cast<double>(value) + step);
}

inline void commit(CellGrid& cells) {
    drawAndCommit(cells, [](int, int, const Cell&) {});
}

inline void build(CellGrid& cells, const std::vector<Site>& sites) {
    for (const Site& site : sites) {
        cells[site.row][site.col].state = 1;
        cells[site.row][site.col].nextState = 1;
    }
}

inline std::vector<Site> liveSites(const CellGrid& cells) {
    std::vector<Site> live;
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            if (cells[r][c].state == 1) {
                live.push_back({r, c});
            }
        }
    }
    return live;
}

// A 1.8 MB grid, too big for a test's stack, reset to dead residential cells.
class CityGrid {
  public:
    CityGrid() : storage(std::make_unique<Storage>()) { resetGrid(cells(), kZones.residential); }

    CellGrid& cells() { return storage->cells; }
    Cell& at(const Site& site) { return storage->cells[site.row][site.col]; }
    void build(const std::vector<Site>& sites) { ::build(cells(), sites); }
    std::vector<Site> liveSites() const { return ::liveSites(storage->cells); }

    // One generation as the program makes it: a worker pass, then a frame's commit.
    void advance() {
        computeNextGeneration(cells(), kZones);
        commit(cells());
    }

  private:
    struct Storage {
        CellGrid cells;
    };
    std::unique_ptr<Storage> storage;
};

inline void expectSmallResidential(const Cell& cell) {
    EXPECT_EQ(cell.footprint, 1.0f);
    EXPECT_EQ(cell.height, 1.0f);
    EXPECT_EQ(cell.zone, kZones.residential);
}

inline void expectSurvivorZone(const Cell& cell) {
    EXPECT_TRUE(cell.zone == kZones.commercial || cell.zone == kZones.industrial);
}

inline std::vector<Site> joined(std::initializer_list<std::vector<Site>> parts) {
    std::vector<Site> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}
