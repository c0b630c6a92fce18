#include "ui/main_window/busy_state.h"

#include <QApplication>

namespace tomlet {

BusyState::Scope::Scope(BusyState& state, Commands commands) : m_state(state) {
    if (m_state.m_depth++ > 0)
        return;
    m_state.m_commandsOff = commands == Commands::Disable;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Q_EMIT m_state.Changed();
}

BusyState::Scope::~Scope() {
    if (--m_state.m_depth > 0)
        return;
    QApplication::restoreOverrideCursor();
    m_state.m_commandsOff = false;
    Q_EMIT m_state.Changed();
}

}  // namespace tomlet
