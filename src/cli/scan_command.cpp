#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "core/catalogue.h"
#include "core/project_file.h"
#include "core/scanner.h"
#include "platform/directory_listing.h"
#include "platform/file_system.h"

namespace tomlet::cli {

namespace {

// Names come in the system's own encoding; a project meant for another code page gets its texts
// converted.
void ConvertTexts(TProjectRec& project, ObjectTree& tree, const TextCodec& target) {
    const TextCodec listed(ListedNamesAreUtf8() ? TextCodec::Utf8 : SystemCodePage());
    if (listed.CodePage() == target.CodePage())
        return;
    const auto convert = [&](std::string& text) { text = target.FromUtf8(listed.ToUtf8(text)); };
    convert(project.ProjectDataDir);
    for (ObjectNode* node = tree.First(); node != nullptr; node = tree.NextDepthFirst(node)) {
        convert(node->Data.Caption);
        convert(node->Data.PathFileName);
    }
}

}  // namespace

int RunScan(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const TextCodec codec = arguments.Codec();
    const std::string& directory = arguments.Single();
    const auto target = arguments.Option("-o");
    if (!target)
        throw UsageError("-o FILE.tml is needed");
    if (!DirectoryExists(directory))
        throw CommandError(directory + ": " + Text(TextId::message_IncorrectPath));

    // A data directory is absolute: a project keeps it whatever folder it is opened from.
    TProjectRec project;
    project.ProjectDataDir =
        NormaliseDataDirectory(std::filesystem::absolute(directory).lexically_normal().string());
    project.AbsolutePath = !arguments.Flag("--relative");
    ObjectTree tree;
    SilentProgress silent;
    FolderScanner scanner(arguments.Options("--mask"), project.ProjectDataDir, silent, silent);
    scanner.ScanDirectory(project.ProjectDataDir, tree, nullptr, !arguments.Flag("--no-nested"));
    ConvertTexts(project, tree, codec);

    const WriteResult result = WriteProjectFile(*target, project, tree, silent, silent);
    if (!result.Saved)
        throw CommandError(result.Error);
    out << *target << ": " << tree.Count() << " objects\n";
    return ExitOk;
}

}  // namespace tomlet::cli
