#include "sim/Grid.h"

#include <cstdlib>

void resetGrid(CellGrid& cells, TavoObject* residential) {
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            cells[r][c] = Cell();
            cells[r][c].zone = residential;
        }
    }
}

void seedGrid(CellGrid& cells) {
    for (int r = 0; r < GRID_SIDE; ++r) {
        for (int c = 0; c < GRID_SIDE; ++c) {
            int alive = rand() % 2 == 0 ? 1 : 0;
            cells[r][c].state = alive;
            cells[r][c].nextState = alive;
        }
    }
}
