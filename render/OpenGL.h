// The GL functions up to 2.0, for every file that calls GL. Linux's GL library exports them
// all; Windows' exports only GL 1.1, and the rest come through a loader. The build puts one
// platform's PlatformGL.h on the include path.
#pragma once

#include <PlatformGL.h>

// Makes the functions callable, once a GL context is current. False if they cannot be.
bool loadGLFunctions();
