// The shelf at its full size: 1,000 generated catalogues holding 5,000,000 objects, indexed from
// nothing, refreshed, and searched, side by side in one run. The catalogues are made once in
// $TOMLET_SHELF_BENCH (default /tmp/tomlet-shelf-bench), about 350 MB, and kept for later runs;
// the shelf database beside them is made anew by the first benchmark.
//
// Searches: a 4-letter term that hits a few hundred objects, to all its results; a term that
// hits about 100,000, to its first 200 and to its count; 2-letter terms, which the text index
// cannot serve, to their counts (the first 200 hits kept). The searching process's memory is that
// of `tomlet-cli shelf search` run on the same shelf.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stop_token>
#include <string>

#include "core/progress.h"
#include "core/shelf.h"
#include "platform/text_codec.h"
#include "support/large_project.h"

namespace {

namespace fs = std::filesystem;

constexpr int Catalogues = 1000;
constexpr int Objects = 5'000'000;
constexpr int ChangedObjects = 10'000;  // the catalogue a refresh reads again
constexpr int OthersObjects = (Objects - ChangedObjects) / (Catalogues - 1);

fs::path Folder() {
    const char* named = std::getenv("TOMLET_SHELF_BENCH");
    return named != nullptr ? fs::path(named) : fs::path("/tmp/tomlet-shelf-bench");
}

fs::path CatalogueFolder() {
    return Folder() / "discs";
}

std::string ShelfPath() {
    return (Folder() / "shelf.sqlite").string();
}

fs::path CataloguePath(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "disc%04d.tml", number);
    return CatalogueFolder() / name;
}

fs::path ChangedCatalogue() {
    return CataloguePath(0);
}

std::uintmax_t CatalogueBytes() {
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(CatalogueFolder()))
        bytes += entry.file_size();
    return bytes;
}

// Writes the catalogues unless a run before wrote them all.
void MakeCatalogues() {
    if (fs::exists(CataloguePath(Catalogues - 1)))
        return;
    fs::create_directories(CatalogueFolder());
    std::cerr << "Writing " << Catalogues << " catalogues into " << CatalogueFolder() << "\n";
    for (int i = 0; i < Catalogues; ++i)
        tomlet::bench::WriteLargeProject(CataloguePath(i).string(),
                                         i == 0 ? ChangedObjects : OthersObjects,
                                         static_cast<std::uint64_t>(i) + 1);
}

std::uintmax_t ShelfBytes() {
    std::uintmax_t bytes = 0;
    for (const char* suffix : {"", "-wal"})
        if (fs::exists(ShelfPath() + suffix))
            bytes += fs::file_size(ShelfPath() + suffix);
    return bytes;
}

void BM_FirstIndexing(benchmark::State& state) {
    MakeCatalogues();
    tomlet::SilentProgress silent;
    std::int64_t objects = 0;
    for (auto _ : state) {
        for (const char* suffix : {"", "-wal", "-shm"})
            fs::remove(ShelfPath() + suffix);
        tomlet::Shelf shelf(ShelfPath());
        const tomlet::ShelfAddition added =
            shelf.Add({CatalogueFolder().string()}, tomlet::TextCodec::Utf8, silent, silent);
        objects = 0;
        for (const tomlet::ShelfCatalogue& catalogue : shelf.Catalogues())
            objects += catalogue.Objects;
        state.counters["catalogues"] = static_cast<double>(added.Added.size());
    }
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["objects/s"] =
        benchmark::Counter(static_cast<double>(objects), benchmark::Counter::kIsRate);
    state.counters["db/catalogues"] =
        static_cast<double>(ShelfBytes()) / static_cast<double>(CatalogueBytes());
    state.counters["db MB"] = static_cast<double>(ShelfBytes()) / 1e6;
}

void BM_RefreshUnchanged(benchmark::State& state) {
    tomlet::Shelf shelf(ShelfPath());
    tomlet::SilentProgress silent;
    for (auto _ : state) {
        const tomlet::ShelfRefresh refresh = shelf.Refresh(silent, silent);
        state.counters["unchanged"] = refresh.Unchanged;
        state.counters["indexed"] = refresh.Indexed;
    }
}

// Each time the 10,000-object catalogue is written anew, with other objects.
void BM_RefreshOneChanged(benchmark::State& state) {
    tomlet::Shelf shelf(ShelfPath());
    tomlet::SilentProgress silent;
    std::uint64_t version = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        tomlet::bench::WriteLargeProject(ChangedCatalogue().string(), ChangedObjects, ++version);
        state.ResumeTiming();
        const tomlet::ShelfRefresh refresh = shelf.Refresh(silent, silent);
        state.counters["indexed"] = refresh.Indexed;
    }
}

// A search on a connection of its own, to all results or to the first `limit`.
void Search(benchmark::State& state, const char* text, std::size_t limit) {
    tomlet::Shelf shelf(ShelfPath(), tomlet::Shelf::Access::Search);
    tomlet::ShelfQuery query;
    query.Text = text;
    query.Limit = limit;
    for (auto _ : state) {
        std::stop_source stop;
        tomlet::ShelfHits found = shelf.Search(query, stop.get_token(), [&](const auto& first) {
            state.counters["shown"] = static_cast<double>(first.Hits.size());
            if (limit != 0)
                stop.request_stop();  // the count goes on, but not in this measure
        });
        if (limit == 0)
            state.counters["hits"] = static_cast<double>(found.Total);
    }
}

// The count of a term's hits, as the search window shows it once it has them all.
void Count(benchmark::State& state, const char* text) {
    tomlet::Shelf shelf(ShelfPath(), tomlet::Shelf::Access::Search);
    tomlet::ShelfQuery query;
    query.Text = text;
    query.Limit = 200;
    for (auto _ : state)
        state.counters["hits"] = static_cast<double>(shelf.Search(query).Total);
}

// The most memory `tomlet-cli shelf search` took for the heaviest searches.
void BM_SearchingProcessMemory(benchmark::State& state) {
    for (auto _ : state) {
        for (const char* text : {"ch", "video", "h_7."}) {
            const std::string command = std::string(TOMLET_CLI) + " shelf search " + text +
                                        " --limit 200 --shelf " + ShelfPath() + " >/dev/null";
            if (std::system(command.c_str()) == -1)
                state.SkipWithError("tomlet-cli did not start");
        }
    }
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["max RSS MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

BENCHMARK(BM_FirstIndexing)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RefreshUnchanged)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RefreshOneChanged)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Search, rare_4_letters_all, "h_7.", 0)
    ->Repetitions(15)
    ->Iterations(1)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Search, common_first_200, "video", 200)
    ->Repetitions(15)
    ->Iterations(1)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Count, common_all, "video")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Count, two_letters_all, "ch")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Count, two_letters_none, "qz")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SearchingProcessMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
