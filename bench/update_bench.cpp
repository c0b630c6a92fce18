// An update of a catalogue of the scan benchmark's tree (200,000 files in 20,220 folders) beside
// a fresh scan of the same tree, so that the figures come from one run on one warm cache: against
// the unchanged tree, and after 1% of its files were renamed in place. Without rename detection
// each rename is one new object and one missing one; with it, a pair. The record of the
// catalogue's files is the one its scan made, read from its file in every round, and what the
// update makes of it is written to another, as the editor and tomlet-cli do. The scan is also
// measured making that record.
#include <benchmark/benchmark.h>

#include <chrono>
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

// file0.exe of every tenth leaf folder: 2,000 files, with content of their own, written a day
// ago (as a scan meets most files: long settled).
template <class Change>
void ForEachRenamedLeaf(const GeneratedFolderTree& tree, Change change) {
    for (int a = 0; a < GeneratedFolderTree::Groups; ++a)
        for (int b = 0; b < GeneratedFolderTree::Sets; ++b)
            for (int c = 0; c < GeneratedFolderTree::LeafFolders; c += 10)
                change(tree.Leaf(a, b, c), std::to_string(a) + "." + std::to_string(b) + "." +
                                               std::to_string(c) + "\n");
}

// Renames the 2,000 files, or names them back; either is done where needed only, so that a
// round broken off leaves nothing in the way.
void RenameFiles(const GeneratedFolderTree& tree, bool renamed) {
    ForEachRenamedLeaf(tree, [renamed](const fs::path& leaf, const std::string&) {
        const fs::path from = leaf / (renamed ? "file0.exe" : "file0 v2.exe");
        if (fs::exists(from))
            fs::rename(from, leaf / (renamed ? "file0 v2.exe" : "file0.exe"));
    });
}

const GeneratedFolderTree& Tree() {
    static const GeneratedFolderTree tree = [] {
        GeneratedFolderTree made("tomlet-rename-bench-settled");
        if (!fs::exists(fs::path(made.Root()) / "content")) {
            const auto dayAgo = fs::file_time_type::clock::now() - std::chrono::hours(24);
            ForEachRenamedLeaf(made, [&](const fs::path& leaf, const std::string& content) {
                std::ofstream(leaf / "file0.exe") << content;
                fs::last_write_time(leaf / "file0.exe", dayAgo);
            });
            std::ofstream(fs::path(made.Root()) / "content");
        }
        RenameFiles(made, false);
        return made;
    }();
    return tree;
}

const std::vector<std::string> AllFiles{"*.*"};

tomlet::ObjectTree Scan(tomlet::FingerprintMap* fingerprints = nullptr) {
    tomlet::SilentProgress silent;
    tomlet::ObjectTree tree;
    tomlet::FolderScanner scanner(AllFiles, Tree().Root(), silent, silent);
    scanner.RecordFingerprints(fingerprints);
    scanner.ScanDirectory(Tree().Root(), tree, nullptr, true);
    return tree;
}

void FreshScan(benchmark::State& state, bool recording) {
    Tree();
    int objects = 0;
    for (auto _ : state) {
        tomlet::FingerprintMap fingerprints;
        tomlet::ObjectTree project;
        project.Adopt(Scan(recording ? &fingerprints : nullptr), nullptr);
        objects = project.Count();
        state.PauseTiming();
        project.ClearObjectTree();
        state.ResumeTiming();
    }
    state.counters["objects"] = objects;
}

// The record the catalogue's scan made, in its file.
const std::string& RecordOfTheScan() {
    static const std::string file = [] {
        tomlet::FingerprintMap fingerprints;
        Scan(&fingerprints);
        const std::string path = (fs::temp_directory_path() / "tomlet-rename-bench.dat").string();
        tomlet::SaveFingerprints(path, fingerprints);
        return path;
    }();
    return file;
}

// Finding the changes and applying them all, to a catalogue scanned from the unchanged tree.
void Update(benchmark::State& state, bool renamed, bool findRenames) {
    const tomlet::DiscUpdateScope scope{Tree().Root(), {}, nullptr, AllFiles, true};
    tomlet::SilentProgress silent;
    const std::string& record = RecordOfTheScan();
    const std::string written = record + ".written";
    tomlet::ObjectTree catalogue = Scan();
    for (auto _ : state) {
        state.PauseTiming();
        RenameFiles(Tree(), renamed);
        state.ResumeTiming();
        tomlet::FingerprintMap fingerprints;
        if (findRenames)
            fingerprints = tomlet::LoadFingerprints(record);
        tomlet::DiscChanges changes =
            tomlet::FindDiscChanges(catalogue, scope, tomlet::ProcessCodec(), silent, silent,
                                    findRenames ? &fingerprints : nullptr);
        state.counters["new"] = changes.NewCount();
        state.counters["missing"] = static_cast<double>(changes.Missing.size());
        state.counters["renamed"] = static_cast<double>(changes.Renamed.size());
        state.counters["kept"] = changes.Kept;
        const bool changed = !changes.IsEmpty();
        if (changes.FingerprintsChanged)
            tomlet::SaveFingerprints(written, fingerprints);
        tomlet::ApplyDiscChanges(catalogue, std::move(changes));
        state.PauseTiming();
        RenameFiles(Tree(), false);
        if (changed)
            catalogue = Scan();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK_CAPTURE(FreshScan, plain, false)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(FreshScan, recording_fingerprints, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(Update, unchanged, false, true)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(Update, one_percent_renamed_without_detection, true, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(Update, one_percent_renamed, true, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
