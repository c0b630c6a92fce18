#include <ostream>
#include <string_view>

#include "cli/commands.h"
#include "core/catalogue.h"
#include "core/project_file.h"

namespace tomlet::cli {

namespace {

std::string FailureText(const ReadResult& result) {
    switch (result.Status) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::CannotOpen:
            return result.Error;
        case ReadStatus::VersionTooNew:
            return Text(TextId::message_FileVersionHigherUseNewerTomlet);
        case ReadStatus::WrongSignature:
        case ReadStatus::Damaged:
            return Text(TextId::message_IncorrectFormatFile);
    }
    return {};
}

std::string TypeText(std::uint8_t value) {
    const std::string_view name = ObjectTypeDisplayName(value);
    return name.empty() ? "type " + std::to_string(value) : std::string(name);
}

std::string ActionText(std::uint8_t value) {
    const std::string_view name = ObjectActionDisplayName(value);
    return name.empty() ? "action " + std::to_string(value) : std::string(name);
}

// Multi-line texts keep their lines, each indented below the property's name.
void PrintProperty(std::ostream& out, std::string_view name, const std::string& text) {
    out << name << ":";
    if (text.find_first_of("\r\n") == std::string::npos) {
        out << (text.empty() ? "" : " ") << text << "\n";
        return;
    }
    out << "\n";
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        out << "    " << rest.substr(0, end) << "\n";
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
    }
}

}  // namespace

void LoadProjectFile(const std::string& path, TProjectRec& project, ObjectTree& tree) {
    SilentProgress progress;
    const ReadResult result = ReadProjectFile(path, project, tree, progress, progress);
    if (!result.Ok()) {
        const std::string text = FailureText(result);
        throw CommandError(text.starts_with(path) ? text : path + ": " + text);
    }
}

int RunDump(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const TextCodec codec = arguments.Codec();
    TProjectRec project;
    ObjectTree tree;
    LoadProjectFile(arguments.Single(), project, tree);

    PrintProperty(out, "ProjectDataDir", codec.ToUtf8(project.ProjectDataDir));
    PrintProperty(out, "ProjectName", codec.ToUtf8(project.ProjectName));
    PrintProperty(out, "ProjectName2", codec.ToUtf8(project.ProjectName2));
    PrintProperty(out, "SplashFileName", codec.ToUtf8(project.SplashFileName));
    out << "SplashShowTime: " << project.SplashShowTime << "\n";
    out << "AbsolutePath: " << (project.AbsolutePath ? "true" : "false") << "\n";
    PrintProperty(out, "ProjectDescription", codec.ToUtf8(project.ProjectDescription));
    out << "Objects: " << tree.Count() << "\n";
    tree.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        const TNodeData& data = node.Data;
        out << std::string(static_cast<std::size_t>(2 * level), ' ') << codec.ToUtf8(data.Caption)
            << "  [" << TypeText(data.ObjectType) << ", " << ActionText(data.ObjectAction) << "]";
        if (!data.PathFileName.empty())
            out << "  " << codec.ToUtf8(data.PathFileName);
        out << "\n";
    });
    return ExitOk;
}

int RunCheck(const Arguments& arguments, std::ostream& out, std::ostream&) {
    TProjectRec project;
    ObjectTree tree;
    const std::string& path = arguments.Single();
    LoadProjectFile(path, project, tree);
    out << path << ": a readable project with " << tree.Count() << " objects\n";
    return ExitOk;
}

}  // namespace tomlet::cli
