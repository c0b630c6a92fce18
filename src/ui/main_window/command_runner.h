#pragma once

#include <QWidget>
#include <functional>
#include <type_traits>

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

    // Runs `handler` through Run whenever `sender` sends `signal`: with the signal's arguments
    // when it takes them, else without.
    template <class Sender, class Signal, class Handler>
    void ConnectSignal(Sender* sender, Signal signal, Handler handler,
                       OnError onError = OnError::Show) {
        QObject::connect(
            sender, signal, &m_window,
            [this, handler = std::move(handler), onError](auto... arguments) {
                Run(
                    [&] {
                        if constexpr (std::is_invocable_v<const Handler&, decltype(arguments)...>)
                            handler(arguments...);
                        else
                            handler();
                    },
                    onError);
            });
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
