#include "platform/window_frame.h"

namespace tomlet {

// The window manager draws the frames here, and every title bar as it sees fit.
void DrawTitleBarActive(std::uintptr_t) {}

}  // namespace tomlet
