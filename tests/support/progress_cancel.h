#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "ui/progress/progress_window.h"

namespace tomlet::testing {

// Presses Cancel in the progress window the first time window messages are let through (by the
// long operation the caller starts next), after `meanwhile` has looked at the program in the
// middle of the operation.
inline void CancelProgressWhenShown(QObject& context, std::function<void()> meanwhile = {}) {
    QTimer::singleShot(0, &context, [meanwhile = std::move(meanwhile)] {
        if (meanwhile)
            meanwhile();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<Tfrm_Progress*>(widget))
                progress->cancelButton()->click();
    });
}

}  // namespace tomlet::testing
