// One building site of the city and the grid that holds them all.
// Plain data: the simulation reads and writes it, the frame draws it.
#pragma once

class TavoObject;

struct Cell {
    float footprint;
    float height;
    int state;
    int nextState;
    TavoObject* zone;  // not owned; one of the three zone objects

    // The grid reset gives every cell its zone; until then it points at none.
    Cell() : footprint(1.0f), height(1.0f), state(0), nextState(0), zone(nullptr) {}
};

constexpr int GRID_SIDE = 300;

using CellGrid = Cell[GRID_SIDE][GRID_SIDE];

// The three zone objects that cells point at; the simulation only stores their addresses.
struct Zones {
    TavoObject* residential;
    TavoObject* commercial;
    TavoObject* industrial;
};
