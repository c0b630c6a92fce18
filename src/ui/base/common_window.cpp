#include "ui/base/common_window.h"

#include <QApplication>
#include <QScreen>

#include "platform/window_frame.h"

namespace tomlet {

int CentredPosition(int screen, int window) {
    const int free = screen - window;
    if (free < 0)
        return 0;
    const int half = free / 2;
    // An odd remainder is exactly x.5: round it to the even neighbour.
    return (free % 2 == 0 || half % 2 == 0) ? half : half + 1;
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    const QRect frame = window.frameGeometry();
    window.move(area.x() + CentredPosition(area.width(), frame.width()),
                area.y() + CentredPosition(area.height(), frame.height()));
}

void KeepMainTitleBarActive(QWidget&) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frm_Main") && widget->isVisible()) {
            DrawTitleBarActive(static_cast<std::uintptr_t>(widget->winId()));
            return;
        }
    }
}

}  // namespace tomlet
