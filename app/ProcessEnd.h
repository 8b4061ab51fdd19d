// How the program ends, by Escape or a start-up that cannot go on: the process's exit on a
// desktop; in a page, which outlives the program, its loops and worker stop with it.
#pragma once

[[noreturn]] void endProcess(int status);
