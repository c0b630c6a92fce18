#include <ostream>

#include "cli/commands.h"
#include "cli/output_text.h"
#include "core/catalogue.h"
#include "core/project_file.h"
#include "core/scanner.h"
#include "platform/file_system.h"

namespace tomlet::cli {

void ReportSkipped(std::string_view command, const std::vector<SkippedEntry>& skipped,
                   std::ostream& err) {
    err << "tomlet-cli " << command << ": "
        << ProcessCodec().ToUtf8(FormatCount(Text(TextId::message_SkippedNames_D),
                                             static_cast<long long>(skipped.size())))
        << "\n";
    for (const SkippedEntry& entry : skipped)
        err << "tomlet-cli " << command << ": skipped " << EscapeControls(SkippedEntryLine(entry))
            << "\n";
}

std::string InProjectCodePage(const std::string& utf8Path, const TextCodec& codec) {
    const auto path = codec.FromUtf8Exactly(utf8Path);
    if (!path)
        throw CommandError(utf8Path + ": code page " + std::to_string(codec.CodePage()) +
                           " cannot hold this path");
    return *path;
}

int RunScan(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const TextCodec codec = arguments.Codec();
    const std::string& directory = arguments.Single();
    const auto target = arguments.Option("-o");
    if (!target)
        throw UsageError("-o FILE.tml is needed");
    if (!DirectoryExists(directory))
        throw CommandError(directory + ": " + Text(TextId::message_IncorrectPath));

    TProjectRec project;
    project.AbsolutePath = !arguments.Flag("--relative");
    ObjectTree tree;
    SilentProgress silent;
    std::vector<SkippedEntry> skipped;
    // The files are known from the start, so that the first update finds those renamed since.
    FingerprintMap fingerprints;
    {
        // The walk names files in the project's code page, so that a name it cannot hold is
        // skipped, never stored mangled. A data directory is absolute: a project keeps it
        // whatever folder it is opened from.
        const std::string absolute = ProcessCodec().ToUtf8(AbsolutePath(directory));
        const ScopedProcessCodePage projectCodePage(codec.CodePage());
        project.ProjectDataDir = NormaliseDataDirectory(InProjectCodePage(absolute, codec));
        std::vector<std::string> masks;
        for (const std::string& mask : arguments.Options("--mask"))
            masks.push_back(codec.FromUtf8(mask));
        FolderScanner scanner(masks, project.ProjectDataDir, silent, silent);
        scanner.RecordFingerprints(&fingerprints);
        scanner.ScanDirectory(project.ProjectDataDir, tree, nullptr,
                              !arguments.Flag("--no-nested"));
        skipped = scanner.Skipped();
    }

    SaveProjectFile(*target, project, tree);
    KeepFingerprints(*target, fingerprints);
    out << *target << ": " << tree.Count() << " objects\n";
    if (skipped.empty())
        return ExitOk;
    ReportSkipped("scan", skipped, err);
    return ExitFailure;
}

}  // namespace tomlet::cli
