#include "app/DisplayCheck.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// GLUT takes the display from its -display option before DISPLAY, so the check must too.
static const char* displayName(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0) {
            return argv[i + 1];
        }
    }
    return std::getenv("DISPLAY");
}

// A checkout runs in its data/ folder, beside the project's tools; an installed copy runs in
// its share/ folder, where there are none, and its users have no "make demo".
static bool runsInCheckout() {
    return access("../tools/demo.sh", R_OK) == 0;
}

static const char* const CHECKOUT_ADVICE =
    "without one, \"make demo\" in the project folder films the city under Xvfb instead";
static const char* const INSTALLED_ADVICE =
    "start it in a desktop session, over \"ssh -X\", or on a virtual display with "
    "\"xvfb-run -a -s '-screen 0 1280x1024x24' varnock-hollenby\"";

// Kept open until GLUT has its own connection: an X server left with no client resets, and
// GLUT connecting just then would fail.
static Display* heldOpen = nullptr;

bool checkDisplay(int argc, char** argv) {
    const char* name = displayName(argc, argv);
    heldOpen = XOpenDisplay(name);
    if (heldOpen != nullptr) {
        return true;
    }
    const std::string why = name != nullptr && *name != '\0'
                                ? "cannot open display \"" + std::string(name) + "\""
                                : std::string("DISPLAY is not set");
    std::fprintf(stderr, "Varnock | Hollenby needs an X display for its window (%s); %s.\n",
                 why.c_str(), runsInCheckout() ? CHECKOUT_ADVICE : INSTALLED_ADVICE);
    return false;
}

void releaseDisplay() {
    if (heldOpen != nullptr) {
        XCloseDisplay(heldOpen);
        heldOpen = nullptr;
    }
}
