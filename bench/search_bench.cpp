#include <benchmark/benchmark.h>

#include <string>

#include "core/object_tree.h"
#include "core/search.h"
#include "platform/text_codec.h"
#include "support/large_project.h"

namespace tomlet {
namespace {

constexpr int FolderCount = 1000;
constexpr int FilesPerFolder = 999;  // with the folders: 1,000,000 objects

// Every object with all five fields filled: the most a search has to look through.
ObjectTree MakeAnnotatedProject() {
    ObjectTree tree;
    for (int f = 0; f < FolderCount; ++f) {
        const std::string folder = "Folder " + std::to_string(f);
        TNodeData folderData;
        folderData.Caption = folder;
        folderData.ObjectType = otFolder;
        folderData.PathFileName = "Data\\" + folder;
        ObjectNode* parent = tree.Append(nullptr, std::move(folderData));
        for (int i = 0; i < FilesPerFolder; ++i) {
            TNodeData data;
            data.Caption = "Picture " + std::to_string(f * FilesPerFolder + i) + ".jpg";
            data.PathFileName = "Data\\" + folder + "\\" + data.Caption;
            data.Hint = "Holiday picture of the year " + std::to_string(1990 + i % 30);
            data.Parameters = "/view /zoom=" + std::to_string(i % 400);
            data.Comments = "Taken at the lake in summer.\r\nScanned from a print.\r\n";
            tree.Append(parent, std::move(data));
        }
    }
    return tree;
}

const ObjectTree& Project(bool annotated) {
    if (annotated) {
        static const ObjectTree full = MakeAnnotatedProject();
        return full;
    }
    // A catalogue as a scan gives it, with a few notes.
    static const ObjectTree typical = bench::MakeLargeTree(1'000'000);
    return typical;
}

// Arguments: code page, annotated project (0/1), case sensitive (0/1), Cyrillic text (0/1; in
// UTF-8 its letters fold outside ASCII, so fields are decoded character by character).
void BM_FindNothingEverywhere(benchmark::State& state) {
    const int saved = ProcessCodec().CodePage();
    SetProcessCodePage(static_cast<int>(state.range(0)));
    const ObjectTree& tree = Project(state.range(1) != 0);
    TFindRec settings;
    settings.Text = state.range(3) != 0 ? "нет такого" : "no such object";
    settings.Fields = AllFindFields;
    settings.CaseSensitive = state.range(2) != 0;
    settings.FromCurrent = false;
    for (auto _ : state) {
        ObjectNode* found = FindObject(settings, tree, false, 0);
        benchmark::DoNotOptimize(found);
    }
    state.counters["objects"] = tree.Count();
    SetProcessCodePage(saved);
}
BENCHMARK(BM_FindNothingEverywhere)
    ->ArgNames({"codepage", "annotated", "case", "cyrillic"})
    ->Args({TextCodec::Utf8, 0, 0, 0})
    ->Args({TextCodec::Utf8, 1, 0, 0})
    ->Args({1251, 1, 0, 0})
    ->Args({TextCodec::Utf8, 1, 1, 0})
    ->Args({TextCodec::Utf8, 1, 0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tomlet
