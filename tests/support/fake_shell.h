#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "ui/seams/shell.h"

namespace tomlet::testing {

// Records what the program handed to the shell instead of opening or starting anything.
class FakeShell final : public Shell {
public:
    struct Start {
        QString Program;
        QStringList Arguments;
        bool operator==(const Start&) const = default;
    };

    QStringList Opened;
    std::vector<Start> Started;
    QStringList CommandLines;
    // What every request comes to.
    ShellOutcome Outcome;

    ShellOutcome OpenPath(const QString& path) override {
        Opened.append(path);
        return Outcome;
    }
    ShellOutcome StartProgram(const QString& program, const QStringList& arguments) override {
        Started.push_back({program, arguments});
        return Outcome;
    }
    ShellOutcome StartCommandLine(const QString& commandLine) override {
        CommandLines.append(commandLine);
        return Outcome;
    }

    bool Untouched() const { return Opened.isEmpty() && Started.empty() && CommandLines.isEmpty(); }
};

}  // namespace tomlet::testing
