#include "ui/main_window/keyboard_state.h"

#include <QGuiApplication>

namespace tomlet {

bool IsCtrlHeld() {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

}  // namespace tomlet
