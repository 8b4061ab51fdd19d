#include "sim/Generation.h"

#include <array>
#include <cstdlib>

// Live flags of one row with a dead site beyond each end, so that counting needs no
// clipping at the left and right borders; a row outside the grid is all dead.
using LiveRow = std::array<int, GRID_SIDE + 2>;

static void readLiveRow(const CellGrid& cells, int row, LiveRow& live) {
    live.fill(0);
    if (row < 0 || row >= GRID_SIDE) {
        return;
    }
    for (int c = 0; c < GRID_SIDE; ++c) {
        live[c + 1] = cells[row][c].state == 1 ? 1 : 0;
    }
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

static void applyRule(Cell& cell, int liveNeighbours, const Zones& zones) {
    if (cell.state == 1) {
        if (liveNeighbours < 2 || liveNeighbours > 3) {
            tearDown(cell, zones);
        } else {
            survive(cell, zones);
        }
    } else {
        cell.nextState = liveNeighbours == 3 ? 1 : 0;
    }
}

// The pass reads state only and writes everything else, so each row's flags are read once
// into a window of three rows that slides down the grid; a site's neighbours are then the
// live sites of three adjacent band columns, less the site itself.
void computeNextGeneration(CellGrid& cells, const Zones& zones) {
    LiveRow rows[3];
    LiveRow* above = &rows[0];
    LiveRow* here = &rows[1];
    LiveRow* below = &rows[2];
    readLiveRow(cells, -1, *above);
    readLiveRow(cells, 0, *here);
    LiveRow band;
    for (int r = 0; r < GRID_SIDE; ++r) {
        readLiveRow(cells, r + 1, *below);
        for (int c = 0; c < GRID_SIDE + 2; ++c) {
            band[c] = (*above)[c] + (*here)[c] + (*below)[c];
        }
        for (int c = 0; c < GRID_SIDE; ++c) {
            applyRule(cells[r][c], band[c] + band[c + 1] + band[c + 2] - (*here)[c + 1], zones);
        }
        LiveRow* oldest = above;
        above = here;
        here = below;
        below = oldest;
    }
}
