#pragma once

#include <QTest>
#include <QWidget>

namespace tomlet::testing {

// Holds Ctrl down for one scope, as the user does: a real key press on `widget`, released when
// the scope ends, so that the program's own question for the keyboard's state says so.
class HeldCtrl final {
public:
    explicit HeldCtrl(QWidget& widget) : m_widget(widget) {
        QTest::keyPress(&m_widget, Qt::Key_Control, Qt::ControlModifier);
    }
    // The release names no modifier: the keyboard's state afterwards is the release event's.
    ~HeldCtrl() { QTest::keyRelease(&m_widget, Qt::Key_Control); }
    HeldCtrl(const HeldCtrl&) = delete;
    HeldCtrl& operator=(const HeldCtrl&) = delete;

private:
    QWidget& m_widget;
};

}  // namespace tomlet::testing
