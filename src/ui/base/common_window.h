#pragma once

#include <QEvent>
#include <QWidget>

namespace tomlet {

// Where a window of `window` pixels starts on a screen of `screen` pixels: centred, halves
// rounded to the even neighbour, never at a negative position.
int CentredPosition(int screen, int window);

// Places a top-level window in the middle of its screen.
void CentreOnScreen(QWidget& window);

// Keeps the main window's title bar drawn as active while `activated` (another of the program's
// windows) is the active window. Only Windows draws inactive title bars on request.
void KeepMainTitleBarActive(QWidget& activated);

// The base of the program's windows: their common look, placement and the active title bar.
// `Window` is the Qt window class the form is built on (QMainWindow, QDialog or QWidget).
template <class Window>
class Tfrm_Common : public Window {
public:
    explicit Tfrm_Common(QWidget* parent = nullptr, Qt::WindowFlags flags = {})
        : Window(parent, flags) {}

    void CentreOnScreen() { tomlet::CentreOnScreen(*this); }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::WindowActivate)
            KeepMainTitleBarActive(*this);
        return Window::event(event);
    }
};

}  // namespace tomlet
