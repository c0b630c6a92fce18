// An update of a catalogue of the scan benchmark's tree (200,000 files in 20,220 folders) beside
// a fresh scan of the same tree, so that the figures come from one run on one warm cache: against
// the unchanged tree, and against a copy in which 1% of the files were renamed (each rename is
// one new object and one missing one).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/disc_update.h"
#include "core/object_tree.h"
#include "core/progress.h"
#include "core/scanner.h"
#include "platform/text_codec.h"
#include "support/generated_folder_tree.h"

namespace {

namespace fs = std::filesystem;
using tomlet::bench::GeneratedFolderTree;

const GeneratedFolderTree& UnchangedTree() {
    static const GeneratedFolderTree tree("tomlet-scan-bench");
    return tree;
}

// file0.exe of every tenth leaf folder renamed: 2,000 files.
const GeneratedFolderTree& ChangedTree() {
    static const GeneratedFolderTree tree = [] {
        GeneratedFolderTree changed("tomlet-update-bench");
        for (int a = 0; a < GeneratedFolderTree::Groups; ++a)
            for (int b = 0; b < GeneratedFolderTree::Sets; ++b)
                for (int c = 0; c < GeneratedFolderTree::LeafFolders; c += 10) {
                    const fs::path leaf = changed.Leaf(a, b, c);
                    if (fs::exists(leaf / "file0.exe"))
                        fs::rename(leaf / "file0.exe", leaf / "file0 v2.exe");
                }
        return changed;
    }();
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

// Finding the changes and applying them all, to a catalogue scanned from the unchanged tree.
void Update(benchmark::State& state, Folders folders) {
    const tomlet::DiscUpdateScope scope{folders().Root(), {}, nullptr, AllFiles, true};
    tomlet::SilentProgress silent;
    tomlet::ObjectTree catalogue = Scan(UnchangedTree().Root());
    for (auto _ : state) {
        tomlet::DiscChanges changes =
            tomlet::FindDiscChanges(catalogue, scope, tomlet::ProcessCodec(), silent, silent);
        state.counters["new"] = changes.New.Count();
        state.counters["missing"] = static_cast<double>(changes.Missing.size());
        state.counters["kept"] = changes.Kept;
        const bool changed = !changes.IsEmpty();
        tomlet::ApplyDiscChanges(catalogue, std::move(changes));
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
BENCHMARK_CAPTURE(Update, unchanged, &UnchangedTree)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(FreshScan, one_percent_changed, &ChangedTree)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(Update, one_percent_changed, &ChangedTree)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
