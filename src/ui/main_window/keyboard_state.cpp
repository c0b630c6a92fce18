#include "ui/main_window/keyboard_state.h"

#include <QGuiApplication>

namespace tomlet {

namespace {
std::optional<bool> g_heldForTesting;
}

bool IsCtrlHeld() {
    if (g_heldForTesting)
        return *g_heldForTesting;
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

void SetCtrlHeldForTesting(std::optional<bool> held) {
    g_heldForTesting = held;
}

}  // namespace tomlet
