#include "ui/main_window/command_runner.h"

#include <QAction>
#include <exception>

#include "ui/base/qt_text.h"
#include "ui/main_window/busy_state.h"
#include "ui/seams/prompts.h"

namespace tomlet {

CommandRunner::CommandRunner(QWidget& window, Prompts& prompts, const BusyState& busy,
                             Command whenRefused)
    : m_window(window), m_prompts(prompts), m_busy(busy), m_whenRefused(std::move(whenRefused)) {}

void CommandRunner::Run(const Command& command, OnError onError) const {
    // Shortcuts and queued events can reach a command while a load, save or scan walks the tree.
    if (m_busy.IsBusy()) {
        m_whenRefused();
        return;
    }
    if (onError == OnError::Ignore) {
        RunIgnoringErrors(command);
        return;
    }
    try {
        command();
    } catch (const std::exception& error) {
        m_prompts.ShowMessage(&m_window, MessageKind::Error, ToQString(error.what()));
    } catch (...) {
        // The general error display: whatever escapes is shown, even an error without a text.
        m_prompts.ShowMessage(&m_window, MessageKind::Error, QStringLiteral("Unknown error"));
    }
}

void CommandRunner::Connect(QAction* action, Command command, OnError onError) {
    ConnectSignal(action, &QAction::triggered, std::move(command), onError);
}

}  // namespace tomlet
