#include <fstream>
#include <functional>
#include <ostream>
#include <string_view>

#include "cli/commands.h"
#include "cli/json_project.h"
#include "cli/output_text.h"
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

// Finds the texts that export would change: those the code page cannot carry to UTF-8 and back
// unchanged (bytes it does not define become U+FFFD).
class LossyTextFinder final : public ProjectFileVisitor {
public:
    explicit LossyTextFinder(const TextCodec& codec) : m_codec(codec) {}

    void Properties(const TProjectRec& project, int) override {
        const auto owner = [] { return std::string("the project properties"); };
        Check(project.ProjectDataDir, "ProjectDataDir", owner);
        Check(project.ProjectName, "ProjectName", owner);
        Check(project.ProjectName2, "ProjectName2", owner);
        Check(project.SplashFileName, "SplashFileName", owner);
        Check(project.ProjectDescription, "ProjectDescription", owner);
    }

    void Object(TNodeData&& data, int) override {
        ++m_number;
        const auto owner = [&] {
            return "object " + std::to_string(m_number) + " in tree order (\"" +
                   EscapeControls(m_codec.ToUtf8(data.Caption.substr(0, 60))) + "\")";
        };
        Check(data.Caption, "Caption", owner);
        Check(data.Hint, "Hint", owner);
        Check(data.PathFileName, "PathFileName", owner);
        Check(data.Parameters, "Parameters", owner);
        Check(data.Comments, "Comments", owner);
    }

    int Count = 0;
    std::string First;  // where the first such text stands

private:
    // `owner` names the object or the properties; it is asked only for the first such text.
    void Check(const std::string& text, std::string_view field,
               const std::function<std::string()>& owner) {
        if (m_codec.FromUtf8(m_codec.ToUtf8(text)) != text && Count++ == 0)
            First = "the field " + std::string(field) + " of " + owner();
    }

    const TextCodec& m_codec;
    int m_number = 0;
};

}  // namespace

// Without --lossy a first pass makes sure that export changes no text, so that nothing is
// printed for a project that export cannot carry.
int RunExport(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const TextCodec codec = arguments.Codec();
    const std::string& path = arguments.Single();
    if (!arguments.Flag("--lossy")) {
        LossyTextFinder finder(codec);
        VisitProjectFile(path, finder);
        if (finder.Count > 0)
            throw CommandError(
                path + ": " + std::to_string(finder.Count) + " texts hold bytes that code page " +
                std::to_string(codec.CodePage()) + " does not define, first " + finder.First +
                "; export would turn them into U+FFFD. --lossy exports all the same.");
    }
    JsonProjectWriter writer(out, VersionBytes(path), codec);
    VisitProjectFile(path, writer);
    writer.Finish();
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
    ProjectFromJson(ReadJsonFile(source), {codec, arguments.Flag("--lossy")}, project, tree);
    SaveProjectFile(*target, project, tree);
    return ExitOk;
}

}  // namespace tomlet::cli
