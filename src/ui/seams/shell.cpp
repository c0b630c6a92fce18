#include "ui/seams/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "core/object_actions.h"
#include "platform/process_start.h"
#include "ui/base/qt_text.h"

namespace tomlet {

void SystemShell::OpenPath(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SystemShell::StartProgram(const QString& program, const QStringList& arguments) {
    QProcess::startDetached(program, arguments);
}

void SystemShell::StartCommandLine(const QString& commandLine) {
    StartDetachedCommandLine(commandLine.toStdString());
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
