#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/paths.h"
#include "core/records.h"

namespace tomlet {

// The action to run on an object: a TObjectAction value, or the object's own (OwnAction).
using RequestedAction = std::optional<std::uint8_t>;
inline constexpr RequestedAction OwnAction{};

// What running an object's action comes down to.
struct ObjectCommand {
    enum class Kind {
        None,              // nothing is started
        OpenPath,          // open Target with its associated program (a folder: the file browser)
        StartProgram,      // start Target with Arguments, each passed as one argument
        StartCommandLine,  // start the Windows command line CommandLine
    };

    Kind What = Kind::None;
    std::string Target{};
    std::vector<std::string> Arguments{};
    std::string CommandLine{};

    bool operator==(const ObjectCommand&) const = default;
};

// Everything besides the record that decides where an object's path leads and how it is started.
struct ActionContext {
    PathMode Mode = PathMode::Absolute;
    std::string DataDir;
    std::string DiscFolder;  // where relative paths lead
    PathRules Rules = PathRules::Native();
    // The text editor that "Open by notepad" starts where the system has no notepad: program and
    // leading arguments, separated by blanks. Unused under the Windows rules.
    std::string TextEditor;
};

// The full path of a stored path under the context's mode and rules, "." and ".." taken out.
std::string FullObjectPath(const ActionContext& context, std::string_view storedPath);
// The folder stored paths lead into: the data directory in absolute mode, the disc's folder in
// relative mode. What lies outside it is not the disc's own.
std::string BaseFolder(const ActionContext& context);
// Whether the record's path leads outside the base folder (climbing out with "..", or through a
// link), so that its action should not start before the user agrees.
bool LeadsOutsideBaseFolder(const TNodeData& record, const ActionContext& context);
// What a command starts or opens, as the user is asked about it: the program and its
// parameters, or the path. Control characters, line separators and bidirectional controls are
// shown escaped ("\r", "\u2028", "\u202E"; visible_text.h), so that they can neither break the
// question's lines nor show "run\u202Etxt.exe" as "runexe.txt".
std::string DescribeCommand(const ObjectCommand& command);
// The question asked before a command that leads outside the disc runs: the catalogue's text
// with the command described on a line of its own, whatever the translation's text around it.
std::string RunOutsideDiscQuestion(const ObjectCommand& command);

// What running `action` on `record` does. Under the Windows rules programs are started by a
// command line, with the program's path quoted (a path holding a quote starts nothing);
// elsewhere by program and separate arguments.
ObjectCommand PlanObjectAction(const TNodeData& record, RequestedAction action,
                               const ActionContext& context);

// Opening the folder that holds the object's file or folder: nothing for a virtual folder or
// for a path that names nothing on disc.
ObjectCommand PlanOpenContainingFolder(const TNodeData& record, const ActionContext& context);

// Splits command-line parameters at blanks; double quotes group blanks into one argument and
// are themselves dropped.
std::vector<std::string> SplitParameters(std::string_view parameters);

}  // namespace tomlet
