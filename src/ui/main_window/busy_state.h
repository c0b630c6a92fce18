#pragma once

#include <QObject>

namespace tomlet {

// Whether a load, save or scan walks the tree. While one does, no command may change the tree by
// any route: commands refuse to run, the tree takes no input and the actions are off.
class BusyState final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusyState)

public:
    // What a busy scope does with the editor toolbar and the main menu.
    enum class Commands { Disable, LeaveEnabled };

    BusyState() = default;
    ~BusyState() override = default;

    bool IsBusy() const { return m_depth > 0; }
    // Whether the editor toolbar and the main menu's top-level items are off: busy in a scope
    // that disables them.
    bool CommandsOff() const { return m_commandsOff; }

    // Marks the window busy for its lifetime: the busy cursor, Changed() on entry and exit. With
    // Commands::LeaveEnabled the toolbar and the menus stay enabled; their items still refuse to
    // run. An inner scope keeps what the outermost one chose.
    class Scope final {
    public:
        explicit Scope(BusyState& state, Commands commands = Commands::Disable);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        BusyState& m_state;
    };

Q_SIGNALS:
    // Sent at once when the window becomes busy or idle, so that every action is off before the
    // work starts.
    void Changed();

private:
    int m_depth = 0;
    bool m_commandsOff = false;
};

}  // namespace tomlet
