// A catalogue through JSON and back: export, import and export again give the same bytes.
#include <sstream>
#include <string>

#include "cli/json_project.h"
#include "core/project_file.h"
#include "fuzz_entries.h"
#include "fuzz_input.h"
#include "support/temp_folder.h"

namespace tomlet::fuzz {

namespace {

constexpr int ExportCodePages[] = {TextCodec::Utf8, 1251, 932};

// Whether export would carry every text unchanged (it refuses a project otherwise).
bool TextsSurvive(const TProjectRec& project, const ObjectTree& tree, const TextCodec& codec) {
    const auto survives = [&](const std::string& text) {
        return codec.FromUtf8(codec.ToUtf8(text)) == text;
    };
    bool all = survives(project.ProjectDataDir) && survives(project.ProjectName) &&
               survives(project.ProjectName2) && survives(project.SplashFileName) &&
               survives(project.ProjectDescription);
    tree.ForEachDepthFirst([&](const ObjectNode& node, int) {
        const TNodeData& data = node.Data;
        all = all && survives(data.Caption) && survives(data.Hint) && survives(data.PathFileName) &&
              survives(data.Parameters) && survives(data.Comments);
    });
    return all;
}

std::string Exported(const std::string& path, const TextCodec& codec) {
    std::ostringstream json;
    SilentProgress silent;
    cli::JsonProjectWriter writer(json, {FileVersionMajor, FileVersionMinor}, codec);
    Require(ReadProjectFile(path, writer, silent, silent).Ok(), "a saved project reads again");
    writer.Finish();
    return json.str();
}

}  // namespace

// A code page byte, then a project file.
int ExportImportExport(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const TextCodec codec = CodecOf(input.Byte(), ExportCodePages);
    SilentProgress silent;
    TProjectRec project;
    ObjectTree tree;
    if (!ReadProjectFile(InputFile("original.tml", input.Rest()), project, tree, silent, silent)
             .Ok() ||
        !TextsSurvive(project, tree, codec))
        return 0;
    // The file as the program writes what it read: what export starts from.
    const std::string saved = InputFile("saved.tml", {});
    Require(WriteProjectFile(saved, project, tree, silent, silent).Saved,
            "a project that was read saves");
    const std::string json = Exported(saved, codec);

    TProjectRec imported;
    ObjectTree importedTree;
    try {
        cli::ProjectFromJson(cli::Json::parse(json), {codec}, imported, importedTree);
    } catch (const std::exception& error) {
        Require(false, std::string("import takes what export gives: ") + error.what());
    }
    const std::string again = InputFile("again.tml", {});
    Require(WriteProjectFile(again, imported, importedTree, silent, silent).Saved,
            "an imported project saves");
    Require(testing::ReadWholeFile(again) == testing::ReadWholeFile(saved),
            "export then import gives back the same bytes");
    Require(Exported(again, codec) == json, "export then import then export gives the same JSON");
    return 0;
}

}  // namespace tomlet::fuzz
