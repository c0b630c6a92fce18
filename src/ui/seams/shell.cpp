#include "ui/seams/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "core/object_actions.h"
#include "platform/process_start.h"
#include "ui/base/qt_text.h"

namespace tomlet {

namespace {

ShellOutcome Outcome(const QString& failure) {
    if (failure.isEmpty())
        return {};
    return {.What = ShellOutcome::Kind::Failed, .Reason = failure};
}

}  // namespace

ShellOutcome SystemShell::OpenPath(const QString& path) {
    // The desktop tells no more than that it found nothing to open the path with.
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return {};
    return {.What = ShellOutcome::Kind::NoProgram};
}

ShellOutcome SystemShell::StartProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    return Outcome(process.startDetached() ? QString() : process.errorString());
}

ShellOutcome SystemShell::StartCommandLine(const QString& commandLine) {
    return Outcome(QString::fromStdString(StartDetachedCommandLine(commandLine.toStdString())));
}

ShellOutcome Perform(Shell& shell, const ObjectCommand& command) {
    switch (command.What) {
        case ObjectCommand::Kind::None:
            break;
        case ObjectCommand::Kind::OpenPath:
            return shell.OpenPath(ToQString(command.Target));
        case ObjectCommand::Kind::StartProgram: {
            QStringList arguments;
            for (const std::string& argument : command.Arguments)
                arguments << ToQString(argument);
            return shell.StartProgram(ToQString(command.Target), arguments);
        }
        case ObjectCommand::Kind::StartCommandLine:
            return shell.StartCommandLine(ToQString(command.CommandLine));
    }
    return {};
}

}  // namespace tomlet
