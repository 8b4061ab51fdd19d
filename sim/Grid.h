// Start-up operations on the grid: the reset and the random seeding.
// Both run on the main thread before the worker exists, so they take no lock.
#pragma once

#include "sim/Cell.h"

// Every cell becomes dead, 1 by 1 and residential.
void resetGrid(CellGrid& cells, TavoObject* residential);

// One rand() per cell, row-major: an even draw makes the cell alive.
void seedGrid(CellGrid& cells);
