#include "ui/seams/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "core/object_actions.h"
#include "ui/base/qt_text.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tomlet {

void SystemShell::OpenPath(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SystemShell::StartProgram(const QString& program, const QStringList& arguments) {
    QProcess::startDetached(program, arguments);
}

void SystemShell::StartCommandLine(const QString& commandLine) {
#ifdef Q_OS_WIN
    // Exactly the given command line, as CreateProcess parses it.
    std::wstring line = commandLine.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
#else
    QStringList words = QProcess::splitCommand(commandLine);
    if (!words.isEmpty()) {
        const QString program = words.takeFirst();
        QProcess::startDetached(program, words);
    }
#endif
}

void Perform(Shell& shell, const ObjectCommand& command) {
    switch (command.What) {
        case ObjectCommand::Kind::None:
            break;
        case ObjectCommand::Kind::OpenPath:
            shell.OpenPath(ToQString(command.Target));
            break;
        case ObjectCommand::Kind::StartProgram: {
            QStringList arguments;
            for (const std::string& argument : command.Arguments)
                arguments << ToQString(argument);
            shell.StartProgram(ToQString(command.Target), arguments);
            break;
        }
        case ObjectCommand::Kind::StartCommandLine:
            shell.StartCommandLine(ToQString(command.CommandLine));
            break;
    }
}

}  // namespace tomlet
