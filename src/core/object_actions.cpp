#include "core/object_actions.h"

#include <algorithm>

#include "core/catalogue.h"
#include "core/visible_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

ObjectCommand OpenPath(std::string path) {
    if (path.empty())
        return {};
    return {.What = ObjectCommand::Kind::OpenPath, .Target = std::move(path)};
}

bool IsProgramFile(std::string_view fullPath, const PathRules& rules) {
    const std::string extension = FileExtension(fullPath, rules);
    return extension == ".exe" || extension == ".com";
}

ObjectCommand StartProgram(const std::string& fullPath, const std::string& parameters,
                           const ActionContext& context) {
    if (context.Rules.DriveLetters) {
        // Quoted, so that a path with blanks cannot name a different program; a quote inside
        // the path would end the quoting early, and no Windows file name holds one.
        if (fullPath.find('"') != std::string::npos)
            return {};
        std::string commandLine = '"' + fullPath + '"';
        if (!parameters.empty())
            commandLine += ' ' + parameters;
        return {.What = ObjectCommand::Kind::StartCommandLine,
                .CommandLine = std::move(commandLine)};
    }
    return {.What = ObjectCommand::Kind::StartProgram,
            .Target = fullPath,
            .Arguments = SplitParameters(parameters)};
}

ObjectCommand StartTextEditor(const std::string& fullPath, const ActionContext& context) {
    if (context.Rules.DriveLetters)
        return {.What = ObjectCommand::Kind::StartCommandLine,
                .CommandLine = "notepad.exe " + fullPath};
    std::vector<std::string> editor = SplitParameters(context.TextEditor);
    if (editor.empty())
        return OpenPath(fullPath);
    ObjectCommand command{.What = ObjectCommand::Kind::StartProgram, .Target = editor.front()};
    command.Arguments.assign(editor.begin() + 1, editor.end());
    command.Arguments.push_back(fullPath);
    return command;
}

}  // namespace

// Where the path really leads: "disc/../disc2/setup.exe" is shown and started as
// "disc2/setup.exe", and what is checked to lie within the disc is what starts.
std::string FullObjectPath(const ActionContext& context, std::string_view storedPath) {
    return LexicallyNormalPath(ResolveObjectPath(context.Mode, context.DataDir, storedPath,
                                                 context.DiscFolder, context.Rules),
                               context.Rules);
}

std::string BaseFolder(const ActionContext& context) {
    return context.Mode == PathMode::Relative ? context.DiscFolder : context.DataDir;
}

bool LeadsOutsideBaseFolder(const TNodeData& record, const ActionContext& context) {
    return !PathLiesWithin(FullObjectPath(context, record.PathFileName), BaseFolder(context),
                           context.Rules);
}

std::string DescribeCommand(const ObjectCommand& command) {
    std::string text;
    switch (command.What) {
        case ObjectCommand::Kind::None:
            break;
        case ObjectCommand::Kind::OpenPath:
            text = command.Target;
            break;
        case ObjectCommand::Kind::StartProgram:
            text = command.Target;
            for (const std::string& argument : command.Arguments)
                text += argument.empty() || argument.find(' ') != std::string::npos
                            ? " \"" + argument + '"'
                            : ' ' + argument;
            break;
        case ObjectCommand::Kind::StartCommandLine:
            text = command.CommandLine;
            break;
    }
    return EscapeControls(text, ProcessCodec());
}

std::string RunOutsideDiscQuestion(const ObjectCommand& command) {
    std::string question = Text(TextId::message_RunOutsideDisc_S);
    const auto at = question.find("%s");
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    if (at != std::string::npos) {
        if (at + 2 < question.size() && !isBreak(question[at + 2]))
            question.insert(at + 2, "\r\n");
        if (at > 0 && !isBreak(question[at - 1]))
            question.insert(at, "\r\n");
    }
    return FormatString(question, DescribeCommand(command));
}

ObjectCommand PlanObjectAction(const TNodeData& record, RequestedAction action,
                               const ActionContext& context) {
    const std::uint8_t chosen = action.value_or(record.ObjectAction);
    if (chosen == oaNoAction)
        return {};
    const bool isFolder = record.ObjectType == otFolder;
    const std::string fullPath = FullObjectPath(context, record.PathFileName);
    switch (chosen) {
        case oaOpen:
            return isFolder ? OpenPath(fullPath) : ObjectCommand{};
        case oaExecute:
            return IsProgramFile(fullPath, context.Rules)
                       ? StartProgram(fullPath, record.Parameters, context)
                       : ObjectCommand{};
        case oaOpenByNotepad:
            return isFolder ? ObjectCommand{} : StartTextEditor(fullPath, context);
        default:  // by association, the two internal viewers and any unknown value
            return isFolder ? ObjectCommand{} : OpenPath(fullPath);
    }
}

ObjectCommand PlanOpenContainingFolder(const TNodeData& record, const ActionContext& context) {
    if (record.ObjectType == otVirtualFolder)
        return {};
    const std::string fullPath = FullObjectPath(context, record.PathFileName);
    if (!PathExists(fullPath))
        return {};
    std::string parent = ParentFolderPath(fullPath, context.Rules);
    if (parent.empty() && !context.Rules.DriveLetters)
        parent = std::string(1, context.Rules.Separator);  // a file at the root of the system
    return OpenPath(std::move(parent));
}

std::vector<std::string> SplitParameters(std::string_view parameters) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : parameters) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (c == ' ' && !quoted) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace tomlet
