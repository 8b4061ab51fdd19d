// One frame into the back buffer: the textured terrain, then every live cell as its zone's
// building, committing the generation while it walks the grid. The caller swaps buffers.
#pragma once

void renderFrame();
