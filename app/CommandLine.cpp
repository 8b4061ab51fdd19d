#include "app/CommandLine.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/RunPlace.h"

// A checkout's manual page is the source in packaging/, beside its data/ folder.
static std::string manualPage(const std::string& folder) {
    if (!runsInCheckout()) {
        return "man varnock-hollenby";
    }
    return "man -l " + folder.substr(0, folder.rfind('/')) + "/packaging/varnock-hollenby.1";
}

static void printUsage() {
    char path[PATH_MAX];
    const std::string folder = getcwd(path, sizeof path) != nullptr ? path : ".";
    std::printf(
        "Usage: varnock-hollenby [--help | --version | GLUT-OPTION...]\n"
        "Fly over a city that grows by the Game of Life rule B3/S23, in a window on an X\n"
        "display with OpenGL 2.0. Other arguments go to GLUT, such as -display NAME.\n"
        "\n"
        "Keys: pointer motion turns the view; w and s move forward and back, a and d left\n"
        "and right; c toggles back-face culling, l wireframe; Escape quits.\n"
        "\n"
        "Data folder: %s\n"
        "Manual page: %s\n",
        folder.c_str(), manualPage(folder).c_str());
}

bool answeredWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            printUsage();
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("varnock-hollenby %s\n", CITY_VERSION);
            return true;
        }
    }
    return false;
}
