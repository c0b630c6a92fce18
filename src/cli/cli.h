#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

namespace tomlet::cli {

enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,  // the command ran and failed (unreadable file, bad JSON, failed save)
    ExitUsage = 2,    // the command line was wrong
};

// Thrown for a wrong command line; the tool prints it with the command's usage and exits 2.
class UsageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown when a command fails; the tool prints it and exits 1.
class CommandError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the command's name: plain ones in order, the options it accepts, each
// followed by its value ("--code-page 1251", "-o out.tml"), and the flags it accepts, which stand
// alone ("--case-sensitive").
class Arguments final {
public:
    // `options` and `flags` name the options and flags the command takes, separated by blanks.
    // Throws UsageError for any other option and for an option without its value.
    Arguments(std::span<const std::string> raw, std::string_view options,
              std::string_view flags = {});

    const std::vector<std::string>& Plain() const { return m_plain; }
    std::optional<std::string> Option(std::string_view name) const;
    // Every value of an option that may be given more than once, in order.
    std::vector<std::string> Options(std::string_view name) const;
    bool Flag(std::string_view name) const;
    // The command's one plain argument; throws UsageError unless there is exactly one.
    const std::string& Single() const;
    // The codec named by --code-page, or the system's.
    TextCodec Codec() const;

private:
    std::vector<std::string> m_plain;
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_flags;
};

struct Command {
    std::string_view Name;
    std::string_view Usage;        // the arguments, as shown after the name
    std::string_view Description;  // what it does, prints and exits with
    std::string_view Options;      // the options it takes, separated by blanks
    std::string_view Flags;        // the flags it takes, separated by blanks
    int (*Run)(const Arguments& arguments, std::ostream& out, std::ostream& err);
};

// Every command, in the order the help lists them.
std::span<const Command> Commands();
std::string HelpText();

// Runs the command line (without the program's name) and gives the exit code.
int RunCli(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace tomlet::cli
