// Reading and writing a large project file. The bare reader is the yardstick: it reads the
// whole file in one go and parses it into a reserved vector of plain records.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/progress.h"
#include "core/project_file.h"
#include "support/large_project.h"

namespace {

using namespace tomlet;

std::string g_projectPath;

struct PlainRecord {
    std::string Caption, Hint, PathFileName, Parameters, Comments;
    std::int32_t ObjectType = 0, ObjectAction = 0, Level = 0;
};

class PlainParser final {
public:
    explicit PlainParser(const std::string& bytes)
        : m_at(bytes.data()), m_end(bytes.data() + bytes.size()) {}

    bool Skip(std::size_t count) {
        if (static_cast<std::size_t>(m_end - m_at) < count)
            return false;
        m_at += count;
        return true;
    }
    bool Int32(std::int32_t& value) {
        if (m_end - m_at < 4)
            return false;
        std::memcpy(&value, m_at, 4);
        m_at += 4;
        return true;
    }
    bool String(std::string& text) {
        if (m_end - m_at < 2)
            return false;
        const auto count = static_cast<std::size_t>(static_cast<unsigned char>(m_at[0]) |
                                                    static_cast<unsigned char>(m_at[1]) << 8);
        if (static_cast<std::size_t>(m_end - m_at) < count + 3)
            return false;
        text.assign(m_at + 2, count);
        m_at += count + 3;
        return true;
    }

private:
    const char* m_at;
    const char* m_end;
};

bool BareRead(const std::string& path, std::vector<PlainRecord>& records) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::string bytes(std::filesystem::file_size(path), '\0');
    const bool complete = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    if (!complete)
        return false;

    PlainParser parser(bytes);
    std::string text;
    std::int32_t showTime = 0;
    std::int32_t count = 0;
    if (!parser.String(text) || !parser.Skip(2))
        return false;
    for (int i = 0; i < 4; ++i)
        if (!parser.String(text))
            return false;
    if (!parser.Int32(showTime) || !parser.Skip(1) || !parser.String(text) || !parser.Int32(count))
        return false;
    records.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        PlainRecord& record = records.emplace_back();
        if (!parser.String(record.Caption) || !parser.String(record.Hint) ||
            !parser.Int32(record.ObjectType) || !parser.Int32(record.ObjectAction) ||
            !parser.String(record.PathFileName) || !parser.String(record.Parameters) ||
            !parser.String(record.Comments) || !parser.Int32(record.Level))
            return false;
    }
    return true;
}

// The containers are freed outside the timed part: only reading counts.
void BM_ReadProjectFile(benchmark::State& state) {
    SilentProgress progress;
    for (auto _ : state) {
        auto tree = std::make_unique<ObjectTree>();
        TProjectRec project;
        if (!ReadProjectFile(g_projectPath, project, *tree, progress, progress).Ok())
            state.SkipWithError("the project file cannot be read");
        state.counters["objects"] = tree->Count();
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

void BM_BareReader(benchmark::State& state) {
    for (auto _ : state) {
        auto records = std::make_unique<std::vector<PlainRecord>>();
        if (!BareRead(g_projectPath, *records))
            state.SkipWithError("the project file cannot be read");
        state.counters["objects"] = static_cast<double>(records->size());
        state.PauseTiming();
        records.reset();
        state.ResumeTiming();
    }
}

void BM_WriteProjectFile(benchmark::State& state) {
    SilentProgress progress;
    ObjectTree tree;
    TProjectRec project;
    if (!ReadProjectFile(g_projectPath, project, tree, progress, progress).Ok()) {
        state.SkipWithError("the project file cannot be read");
        return;
    }
    const std::string target = g_projectPath + ".written.tml";
    for (auto _ : state) {
        if (!WriteProjectFile(target, project, tree, progress, progress).Saved)
            state.SkipWithError("the project file cannot be written");
    }
    state.counters["objects"] = tree.Count();
    std::filesystem::remove(target);
}

BENCHMARK(BM_ReadProjectFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_BareReader)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_WriteProjectFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace

// TOMLET_BENCH_OBJECTS sets the size of the project (default 1,000,000 objects).
int main(int argc, char** argv) {
#ifdef __GLIBC__
    // Fixed thresholds give freed memory back to the system, so that every repetition pays for
    // touching fresh memory as a program loading its first project does.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
    benchmark::Initialize(&argc, argv);
    const char* objects = std::getenv("TOMLET_BENCH_OBJECTS");
    g_projectPath = (std::filesystem::temp_directory_path() / "tomlet-bench-project.tml").string();
    const auto size =
        tomlet::bench::WriteLargeProject(g_projectPath, objects ? std::atoi(objects) : 1000000);
    std::cout << "Project file: " << g_projectPath << ", " << size << " bytes\n";
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(g_projectPath);
    return 0;
}
