// The shader files are written in GLSL 1.20 for desktop GL; WebGL compiles GLSL ES 1.00,
// which refuses the version line and needs a fragment shader to name its float precision.
// Text only, no GL.
#pragma once

#include <string>

// The source with its #version line (if any) made "#version 100", and for a fragment
// shader a float precision declared after it: high where the device has it, else medium.
// Nothing else is rewritten: 1.20 forms that ES lacks (a 1.0f literal) still fail to compile.
std::string toEssl100(const std::string& source, bool fragment);
