// Where start-up's diagnostics go, and how a start-up that cannot go on ends: the one place
// for each, so that every fatal path ends alike on every platform.
#pragma once

#include <cstdio>

// Called first in main: each line of standard output leaves as it is printed, and on
// Windows a program without a console of its own writes to the terminal that started it.
void openDiagnostics();

// Prints message and a newline on stream (none when stream is null: the reason was printed
// already), shows message in a box where no terminal would show it, and ends with status 1.
[[noreturn]] void failStartup(std::FILE* stream, const char* message);
