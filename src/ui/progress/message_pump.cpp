#include "ui/progress/message_pump.h"

#include <QCoreApplication>

namespace tomlet {

namespace {
constexpr qint64 IntervalMs = 30;
constexpr unsigned CallsPerClockCheck = 64;  // reading the clock per record would cost more
}  // namespace

ThrottledMessagePump::ThrottledMessagePump() { m_sinceLast.start(); }

void ThrottledMessagePump::LetMessagesThrough() {
    if (++m_calls % CallsPerClockCheck != 0 || m_sinceLast.elapsed() < IntervalMs)
        return;
    QCoreApplication::processEvents();
    m_sinceLast.restart();
}

}  // namespace tomlet
