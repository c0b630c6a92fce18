#pragma once

#include <QWidget>
#include <functional>

#include "ui/base/error_policy.h"

class QAction;

namespace tomlet {

class BusyState;
class Prompts;

// The one way the main window's commands run: never while a load, save or scan walks the tree,
// and no error ever leaves them (no exception may cross the event loop). Handlers therefore hold
// no try blocks; where the program's rules say an error is not reported, the command is wired
// with OnError::Ignore.
class CommandRunner final {
public:
    using Command = std::function<void()>;

    // `whenRefused` runs when a command is refused because the window is busy.
    CommandRunner(QWidget& window, Prompts& prompts, const BusyState& busy, Command whenRefused);
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    void Run(const Command& command, OnError onError = OnError::Show) const;

    // Runs `command` through Run whenever `sender` sends `signal`.
    template <class Sender, class Signal>
    void ConnectSignal(Sender* sender, Signal signal, Command command,
                       OnError onError = OnError::Show) {
        QObject::connect(sender, signal, &m_window,
                         [this, command = std::move(command), onError] { Run(command, onError); });
    }
    void Connect(QAction* action, Command command, OnError onError = OnError::Show);
    template <class Owner>
    void Connect(QAction* action, Owner& owner, void (Owner::*handler)(),
                 OnError onError = OnError::Show) {
        Connect(
            action, [&owner, handler] { (owner.*handler)(); }, onError);
    }

private:
    QWidget& m_window;
    Prompts& m_prompts;
    const BusyState& m_busy;
    Command m_whenRefused;
};

}  // namespace tomlet
