#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "cli/json_project.h"
#include "core/catalogue.h"
#include "core/project_file.h"
#include "platform/native_path.h"

namespace tomlet::cli {

namespace {

// The two version bytes that follow the signature of a file the reader has accepted.
std::pair<std::uint8_t, std::uint8_t> VersionBytes(const std::string& path) {
    std::ifstream file(NativePath(path), std::ios::binary);
    char bytes[11] = {};
    file.read(bytes, sizeof bytes);
    return {static_cast<std::uint8_t>(bytes[9]), static_cast<std::uint8_t>(bytes[10])};
}

Json ReadJsonFile(const std::string& path) {
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file)
        throw CommandError(path + ": cannot be opened");
    try {
        return Json::parse(file);
    } catch (const Json::exception& error) {
        throw CommandError(path + ": " + error.what());
    }
}

}  // namespace

int RunExport(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const TextCodec codec = arguments.Codec();
    const std::string& path = arguments.Single();
    TProjectRec project;
    ObjectTree tree;
    LoadProjectFile(path, project, tree);
    const Json json = ProjectToJson(project, tree, VersionBytes(path), codec);
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    return ExitOk;
}

int RunImport(const Arguments& arguments, std::ostream&, std::ostream&) {
    const TextCodec codec = arguments.Codec();
    const std::string& source = arguments.Single();
    const auto target = arguments.Option("-o");
    if (!target)
        throw UsageError("-o FILE.tml is needed");

    TProjectRec project;
    ObjectTree tree;
    ProjectFromJson(ReadJsonFile(source), codec, project, tree);
    SilentProgress progress;
    const WriteResult result = WriteProjectFile(*target, project, tree, progress, progress);
    if (!result.Saved)
        throw CommandError(Text(TextId::SaveFailure) + " " + result.Error);
    return ExitOk;
}

}  // namespace tomlet::cli
