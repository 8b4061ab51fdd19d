// Builds the scene's CPU side before any GL set-up: terrain arrays, the terrain's model
// matrix, the three zone buildings, the empty grid, the light and the random seed.
#pragma once

void loadScene();
