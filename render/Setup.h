// The one-time GL set-up: fixed state, the shader program and its locations, the zone
// materials, the grid's seeding, the terrain texture and buffers, and the version check.
#pragma once

// Ends the process when the shader program cannot be built: nothing could be drawn.
void initGL();
