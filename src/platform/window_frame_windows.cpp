#include <windows.h>

#include "platform/window_frame.h"

namespace tomlet {

void DrawTitleBarActive(std::uintptr_t nativeWindow) {
    SendMessageW(reinterpret_cast<HWND>(nativeWindow), WM_NCACTIVATE, 1, 0);
}

}  // namespace tomlet
