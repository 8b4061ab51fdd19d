// The city's rule, B3/S23, and the commit that makes a computed generation current.
// Pure functions over the grid: the caller holds the lock.
#pragma once

#include "sim/Cell.h"

constexpr double FOOTPRINT_GROWTH = 0.05;
constexpr double HEIGHT_GROWTH = 0.4;

// One generation pass: writes every nextState and, for live cells, size and zone. A cell's
// neighbours are the live cells of the 3 by 3 block around it, clipped at the border (the
// grid does not wrap), the cell itself excluded.
// Draws one rand() per survivor, in row-major order.
void computeNextGeneration(CellGrid& cells, const Zones& zones);

// The frame's walk over the grid: calls drawLive(row, col, cell) for every live cell, then
// commits the cell (state takes nextState). A building that dies this generation is
// therefore drawn once more, already reset to a 1 by 1 residential block.
template <typename DrawLive>
void drawAndCommit(CellGrid& cells, DrawLive drawLive) {
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            Cell& cell = cells[r][c];
            if (cell.state == 1) {
                drawLive(r, c, cell);
            }
            cell.state = cell.nextState;
        }
    }
}
