#pragma once

#include <QElapsedTimer>

#include "core/progress.h"

namespace tomlet {

// Lets window messages through at most every ~30 ms, so that a long operation on a large project
// stays fast while the windows still repaint.
class ThrottledMessagePump final : public MessagePump {
public:
    ThrottledMessagePump();
    void LetMessagesThrough() override;

private:
    QElapsedTimer m_sinceLast;
    unsigned m_calls = 0;
};

}  // namespace tomlet
