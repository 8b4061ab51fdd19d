// The one-time GL set-up: the version check, fixed state, the shader program and its
// locations, the zone materials, the grid's seeding, the terrain texture and buffers.
#pragma once

// Ends the process with status 1 below GL 2.0 or when the shader program cannot be built:
// nothing could be drawn.
void initGL();
