#include "display.h"

namespace marrowick {

// A Windows program always has its session's desktop (DISPLAY means nothing there).
bool HasDisplay() {
    return true;
}

}  // namespace marrowick
