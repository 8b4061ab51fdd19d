// Where the program runs from: a checkout of the project or an installed copy. The advice it
// gives (how to see the city without a display, where the manual page is) depends on it.
#pragma once

// A checkout runs in its data/ folder, beside the project's tools; an installed copy runs in
// its share/ folder, where there are none.
bool runsInCheckout();
