#include "ui/main_window/busy_state.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include "ui/main_window/main_window_ui.h"

namespace tomlet {

BusyState::BusyState(QMainWindow& window, const MainWindowUi& ui) : m_window(window), m_ui(ui) {}

BusyState::~BusyState() = default;

void BusyState::EnableCommands(bool enabled) {
    m_ui.toolbar_Editor->setEnabled(enabled);
    if (m_window.menuWidget() == nullptr)
        return;
    for (QAction* menu : m_ui.MainMenu1->actions())
        menu->setEnabled(enabled);
}

BusyState::Scope::Scope(BusyState& state, Commands commands)
    : m_state(state), m_commands(commands) {
    if (m_state.m_depth++ > 0)
        return;
    if (m_commands == Commands::Disable)
        m_state.EnableCommands(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Q_EMIT m_state.Changed();
}

BusyState::Scope::~Scope() {
    if (--m_state.m_depth > 0)
        return;
    QApplication::restoreOverrideCursor();
    if (m_commands == Commands::Disable)
        m_state.EnableCommands(true);
    Q_EMIT m_state.Changed();
}

}  // namespace tomlet
