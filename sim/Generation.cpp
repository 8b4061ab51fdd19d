#include "sim/Generation.h"

#include <algorithm>
#include <cstdlib>

int liveNeighbours(const CellGrid& cells, int row, int col) {
    int count = 0;
    for (int r = std::max(row - 1, 0); r <= std::min(row + 1, GRID_SIDE - 1); ++r) {
        for (int c = std::max(col - 1, 0); c <= std::min(col + 1, GRID_SIDE - 1); ++c) {
            if ((r != row || c != col) && cells[r][c].state == 1) {
                ++count;
            }
        }
    }
    return count;
}

static void tearDown(Cell& cell, const Zones& zones) {
    cell.nextState = 0;
    cell.zone = zones.residential;
    cell.height = 1.0f;
    cell.footprint = 1.0f;
}

static void survive(Cell& cell, const Zones& zones) {
    cell.nextState = 1;
    cell.zone = rand() % 2 == 1 ? zones.industrial : zones.commercial;
    // Summed in double and rounded once on storing, so growth drifts like single precision.
    cell.footprint = static_cast<float>(static_cast<double>(cell.footprint) + FOOTPRINT_GROWTH);
    cell.height = static_cast<float>(static_cast<double>(cell.height) + HEIGHT_GROWTH);
}

void computeNextGeneration(CellGrid& cells, const Zones& zones) {
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            Cell& cell = cells[r][c];
            int n = liveNeighbours(cells, r, c);
            if (cell.state == 1) {
                if (n < 2 || n > 3) {
                    tearDown(cell, zones);
                } else {
                    survive(cell, zones);
                }
            } else {
                cell.nextState = n == 3 ? 1 : 0;
            }
        }
    }
}
