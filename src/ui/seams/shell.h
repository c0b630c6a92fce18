#pragma once

#include <QString>
#include <QStringList>

namespace tomlet {

struct ObjectCommand;

// The system shell as the program uses it. Every call returns at once; nothing is waited for and
// a failure is not reported.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens a document with its associated program, or a folder in the file browser.
    virtual void OpenPath(const QString& path) = 0;
    // Starts a program with each argument passed as one argument, without a command shell.
    virtual void StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Starts a Windows command line (program path first, then its parameters as written).
    virtual void StartCommandLine(const QString& commandLine) = 0;
};

// The real shell: the desktop's associated programs and detached processes.
class SystemShell final : public Shell {
public:
    void OpenPath(const QString& path) override;
    void StartProgram(const QString& program, const QStringList& arguments) override;
    void StartCommandLine(const QString& commandLine) override;
};

// Hands a planned object command to the shell; a command of kind None does nothing.
void Perform(Shell& shell, const ObjectCommand& command);

}  // namespace tomlet
