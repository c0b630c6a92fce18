#pragma once

#include <QString>
#include <QStringList>

namespace tomlet {

struct ObjectCommand;

// What became of a request to the shell.
struct ShellOutcome {
    enum class Kind {
        Started,    // opened or started; nothing waits for it to end
        NoProgram,  // no program is registered to open the path
        Failed,     // the program could not be started, for Reason
    };
    Kind What = Kind::Started;
    QString Reason{};  // the system's words

    bool operator==(const ShellOutcome&) const = default;
};

// The system shell as the program uses it. Every call returns once the program has started.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens a document with its associated program, or a folder in the file browser.
    virtual ShellOutcome OpenPath(const QString& path) = 0;
    // Starts a program with each argument passed as one argument, without a command shell.
    virtual ShellOutcome StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Starts a Windows command line (program path first, then its parameters as written).
    virtual ShellOutcome StartCommandLine(const QString& commandLine) = 0;
};

// The real shell: the desktop's associated programs and detached processes.
class SystemShell final : public Shell {
public:
    ShellOutcome OpenPath(const QString& path) override;
    ShellOutcome StartProgram(const QString& program, const QStringList& arguments) override;
    ShellOutcome StartCommandLine(const QString& commandLine) override;
};

// Hands a planned object command to the shell; a command of kind None starts nothing.
ShellOutcome Perform(Shell& shell, const ObjectCommand& command);

}  // namespace tomlet
