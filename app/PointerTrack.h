// The pointer as the camera sees it: window reports joined into one continuous path, so
// that the pointer coming into the window turns nothing. Knows nothing of the windowing layer.
#pragma once

#include <glm/glm.hpp>

class PointerTrack {
  public:
    // The pointer crossed the window's edge: where it was outside is unknown, so its next
    // report is only a new starting point.
    void lose() { lost_ = true; }

    // Moves the camera's pointer by the step from the previous report to this one, so each
    // pixel moved inside the window still turns the camera by the same angle.
    void report(glm::vec2 inWindow, glm::vec2* pointer) {
        if (!lost_) {
            *pointer += inWindow - last_;
        }
        last_ = inWindow;
        lost_ = false;
    }

  private:
    bool lost_ = true;  // nothing reported yet
    glm::vec2 last_{0.0f, 0.0f};
};
