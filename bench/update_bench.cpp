// An update of a catalogue of the scan benchmark's tree (200,000 files in 20,220 folders) beside
// a fresh scan of the same tree, so that the figures come from one run on one warm cache: against
// the unchanged tree, and against a copy in which 1% of the files were renamed. Without rename
// detection each rename is one new object and one missing one; with it, a pair found by content
// (the renamed files hold text of their own; the record of the catalogue's files is read from and
// written to its file in every round, as the editor and tomlet-cli do).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/disc_update.h"
#include "core/file_fingerprints.h"
#include "core/object_tree.h"
#include "core/progress.h"
#include "core/scanner.h"
#include "platform/text_codec.h"
#include "support/generated_folder_tree.h"

namespace {

namespace fs = std::filesystem;
using tomlet::bench::GeneratedFolderTree;

// file0.exe of every tenth leaf folder: 2,000 files, given content of their own.
template <class Change>
void ForEachRenamedLeaf(const GeneratedFolderTree& tree, Change change) {
    for (int a = 0; a < GeneratedFolderTree::Groups; ++a)
        for (int b = 0; b < GeneratedFolderTree::Sets; ++b)
            for (int c = 0; c < GeneratedFolderTree::LeafFolders; c += 10)
                change(tree.Leaf(a, b, c), std::to_string(a) + "." + std::to_string(b) + "." +
                                               std::to_string(c) + "\n");
}

GeneratedFolderTree TreeWithContent(const std::string& name, bool renamed) {
    GeneratedFolderTree tree(name);
    if (fs::exists(fs::path(tree.Root()) / "content"))
        return tree;
    ForEachRenamedLeaf(tree, [&](const fs::path& leaf, const std::string& content) {
        std::ofstream(leaf / "file0.exe") << content;
        if (renamed)
            fs::rename(leaf / "file0.exe", leaf / "file0 v2.exe");
    });
    std::ofstream(fs::path(tree.Root()) / "content");
    return tree;
}

const GeneratedFolderTree& UnchangedTree() {
    static const GeneratedFolderTree tree = TreeWithContent("tomlet-rename-bench-base", false);
    return tree;
}

const GeneratedFolderTree& ChangedTree() {
    static const GeneratedFolderTree tree = TreeWithContent("tomlet-rename-bench", true);
    return tree;
}

const std::vector<std::string> AllFiles{"*.*"};

tomlet::ObjectTree Scan(const std::string& root) {
    tomlet::SilentProgress silent;
    tomlet::ObjectTree tree;
    tomlet::FolderScanner scanner(AllFiles, root, silent, silent);
    scanner.ScanDirectory(root, tree, nullptr, true);
    return tree;
}

using Folders = const GeneratedFolderTree& (*)();

void FreshScan(benchmark::State& state, Folders folders) {
    const std::string root = folders().Root();
    int objects = 0;
    for (auto _ : state) {
        tomlet::ObjectTree project;
        project.Adopt(Scan(root), nullptr);
        objects = project.Count();
        state.PauseTiming();
        project.ClearObjectTree();
        state.ResumeTiming();
    }
    state.counters["objects"] = objects;
}

// The record an update of the unchanged tree leaves (every file hashed once), in its file.
std::string RecordOfUnchangedTree(const tomlet::ObjectTree& catalogue) {
    static const std::string file = [&] {
        tomlet::SilentProgress silent;
        const tomlet::DiscUpdateScope scope{UnchangedTree().Root(), {}, nullptr, AllFiles, true};
        tomlet::FingerprintMap fingerprints;
        tomlet::FindDiscChanges(catalogue, scope, tomlet::ProcessCodec(), silent, silent,
                                &fingerprints);
        const std::string path = (fs::temp_directory_path() / "tomlet-rename-bench.dat").string();
        tomlet::SaveFingerprints(path, fingerprints);
        return path;
    }();
    return file;
}

// Finding the changes and applying them all, to a catalogue scanned from the unchanged tree.
void Update(benchmark::State& state, Folders folders, bool findRenames) {
    const tomlet::DiscUpdateScope scope{folders().Root(), {}, nullptr, AllFiles, true};
    tomlet::SilentProgress silent;
    tomlet::ObjectTree catalogue = Scan(UnchangedTree().Root());
    const std::string record = RecordOfUnchangedTree(catalogue);
    const std::string written = record + ".written";
    for (auto _ : state) {
        tomlet::FingerprintMap fingerprints;
        if (findRenames)
            fingerprints = tomlet::LoadFingerprints(record);
        const size_t loaded = fingerprints.size();
        tomlet::DiscChanges changes =
            tomlet::FindDiscChanges(catalogue, scope, tomlet::ProcessCodec(), silent, silent,
                                    findRenames ? &fingerprints : nullptr);
        state.counters["new"] = changes.NewCount();
        state.counters["missing"] = static_cast<double>(changes.Missing.size());
        state.counters["renamed"] = static_cast<double>(changes.Renamed.size());
        state.counters["kept"] = changes.Kept;
        const bool changed = !changes.IsEmpty();
        tomlet::ApplyDiscChanges(catalogue, std::move(changes));
        if (findRenames)
            tomlet::SaveNamedFingerprints(written, fingerprints, catalogue, loaded);
        if (changed) {
            state.PauseTiming();
            catalogue = Scan(UnchangedTree().Root());
            state.ResumeTiming();
        }
    }
}

}  // namespace

BENCHMARK_CAPTURE(FreshScan, unchanged, &UnchangedTree)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(Update, unchanged, &UnchangedTree, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(FreshScan, one_percent_renamed, &ChangedTree)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(Update, one_percent_renamed_without_detection, &ChangedTree, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(Update, one_percent_renamed, &ChangedTree, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
