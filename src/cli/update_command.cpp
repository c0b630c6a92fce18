#include <ostream>
#include <unordered_set>

#include "cli/commands.h"
#include "cli/output_text.h"
#include "core/disc_update.h"
#include "core/file_fingerprints.h"
#include "core/paths.h"
#include "core/project_file.h"
#include "core/scanner.h"

namespace tomlet::cli {

namespace {

// The folder stored paths lead into, as the editor resolves them: the data directory in absolute
// mode; in relative mode the program folder, which on a disc holds the project file. A relative
// data directory lies in that folder too.
std::string BaseFolder(const Arguments& arguments, const TProjectRec& project,
                       const std::string& file, const TextCodec& codec) {
    if (const auto named = arguments.Option("--data-dir"))
        return NormaliseDataDirectory(*named);
    const std::string parent = ParentFolderPath(file);
    const std::string discFolder = parent.empty() ? std::string(".") : parent;
    if (!project.AbsolutePath)
        return discFolder;
    if (project.ProjectDataDir.empty())
        throw CommandError(file + ": the project names no data directory (give --data-dir)");
    const std::string dataDir = ProcessCodec().FromUtf8(codec.ToUtf8(project.ProjectDataDir));
    return NormaliseDataDirectory(ResolveDataDirectory(dataDir, discFolder));
}

void PrintChanges(const DiscChanges& changes, bool keepMissing, const TextCodec& codec,
                  std::ostream& out, std::ostream& err) {
    const auto path = [&](const ObjectNode& node) {
        return EscapeControls(codec.ToUtf8(node.Data.PathFileName));
    };
    std::unordered_set<const ObjectNode*> renamed;
    for (const DiscChanges::Renaming& renaming : changes.Renamed)
        renamed.insert(renaming.File);
    changes.New.ForEachDepthFirst([&](const ObjectNode& node, int) {
        if (!renamed.contains(&node))
            out << "+ " << path(node) << "\n";
    });
    if (!keepMissing)
        for (const ObjectNode* node : changes.Missing)
            out << "- " << path(*node) << "\n";
    for (const DiscChanges::Renaming& renaming : changes.Renamed) {
        out << "~ " << path(*renaming.Object) << " -> " << path(*renaming.File) << "\n";
        for (const ObjectNode* twin : renaming.SameContent)
            err << "tomlet-cli update: " << path(*twin) << " holds the same content as "
                << path(*renaming.File) << ", which took the place of " << path(*renaming.Object)
                << "; it is added as new\n";
    }
    for (const DiscChanges::Retyping& retyping : changes.Retyped)
        out << "~ " << path(*retyping.Object) << "\n";
}

void PrintSummary(const DiscChanges& changes, const std::string& written, const std::string& folder,
                  bool keepMissing, bool dryRun, std::ostream& out) {
    out << written << ": " << changes.NewCount() << (dryRun ? " to add, " : " added, ");
    if (!changes.Renamed.empty())
        out << changes.Renamed.size() << (dryRun ? " to rename, " : " renamed, ");
    out << changes.Missing.size()
        << (keepMissing ? " missing kept, "
            : dryRun    ? " to remove, "
                        : " removed, ")
        << changes.Kept << " unchanged (" << EscapeControls(folder)
        << (dryRun ? "; dry run, nothing written)\n" : ")\n");
}

}  // namespace

int RunUpdate(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const TextCodec codec = arguments.Codec();
    const std::string& file = arguments.Single();
    const bool keepMissing = arguments.Flag("--keep-missing");
    const bool dryRun = arguments.Flag("--dry-run");
    const bool findRenames = !arguments.Flag("--no-renames");
    TProjectRec project;
    ObjectTree tree;
    LoadProjectFile(file, project, tree);

    const std::string folder = ProcessCodec().ToUtf8(BaseFolder(arguments, project, file, codec));
    DiscUpdateScope scope;
    scope.Nested = !arguments.Flag("--no-nested");
    SilentProgress silent;
    DiscChanges changes;
    FingerprintMap fingerprints;
    if (findRenames)
        fingerprints = LoadFingerprints(FingerprintFileOf(file));
    {
        // The walk names files in the project's code page, so that a name it cannot hold is
        // skipped, never stored mangled.
        const ScopedProcessCodePage projectCodePage(codec.CodePage());
        scope.BaseFolder = InProjectCodePage(folder, codec);
        for (const std::string& mask : arguments.Options("--mask"))
            scope.Masks.push_back(codec.FromUtf8(mask));
        changes = FindDiscChanges(tree, scope, codec, silent, silent,
                                  findRenames ? &fingerprints : nullptr);
    }
    // Where nothing the project names is found, the folder is more likely the wrong one than a
    // disc whose every file changed.
    if (changes.Kept == 0 && !changes.Missing.empty() && !keepMissing && !dryRun &&
        !arguments.Option("--data-dir"))
        throw CommandError(folder +
                           ": nothing the project names is here; name the folder with --data-dir");
    PrintChanges(changes, keepMissing, codec, out, err);
    const auto target = arguments.Option("-o");
    const std::string written = target.value_or(file);
    PrintSummary(changes, target && !dryRun ? *target : file, folder, keepMissing, dryRun, out);
    const std::vector<SkippedEntry> skipped = std::move(changes.Skipped);
    const int exitCode = skipped.empty() ? ExitOk : ExitFailure;
    if (!skipped.empty())
        ReportSkipped("update", skipped, err);
    if (dryRun)
        return exitCode;

    const bool changed = !changes.New.IsEmpty() || !changes.Retyped.empty() ||
                         (!changes.Missing.empty() && !keepMissing);
    const bool recordChanged = changes.FingerprintsChanged || written != file;
    std::unordered_set<const ObjectNode*> leftOut;
    if (keepMissing)
        leftOut.insert(changes.Missing.begin(), changes.Missing.end());
    ApplyDiscChanges(tree, std::move(changes), leftOut);
    if (changed || target)
        SaveProjectFile(written, project, tree);
    if (findRenames && recordChanged)
        KeepFingerprints(written, fingerprints);
    return exitCode;
}

}  // namespace tomlet::cli
