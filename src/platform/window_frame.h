#pragma once

#include <cstdint>

namespace tomlet {

// Draws the title bar of a top-level window (its native handle: an HWND on Windows) as active,
// whichever of the program's windows is the active one. Only Windows draws inactive title bars
// on request; elsewhere nothing happens.
void DrawTitleBarActive(std::uintptr_t nativeWindow);

}  // namespace tomlet
