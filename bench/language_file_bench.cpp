#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/catalogue.h"
#include "core/language_file.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;

// A folder whose Test.lng holds `lines` lines that are none of the catalogue's keys, so
// that loading the catalogue finds nothing and adds every key: the most a load has to write.
class LanguageFolder final {
public:
    explicit LanguageFolder(std::int64_t lines)
        : m_folder(fs::temp_directory_path() / ("tomlet-language-bench-" + std::to_string(lines))) {
        fs::create_directories(m_folder);
        std::ofstream file(m_folder / "Test.lng", std::ios::binary);
        file << "[Text]\r\n";
        for (std::int64_t i = 0; i < lines; ++i)
            file << "key" << i << "=value " << i << "\r\n";
        m_content = fs::file_size(m_folder / "Test.lng");
    }
    ~LanguageFolder() { fs::remove_all(m_folder); }
    LanguageFolder(const LanguageFolder&) = delete;
    LanguageFolder& operator=(const LanguageFolder&) = delete;

    // Puts the file back as it was before a load added the catalogue's keys.
    void Restore() const { fs::resize_file(m_folder / "Test.lng", m_content); }
    std::uintmax_t Bytes() const { return m_content; }
    std::string Path() const { return (m_folder / "Test.lng").string(); }

private:
    fs::path m_folder;
    std::uintmax_t m_content = 0;
};

// Argument: lines in the file. Each load reads the file once and adds the keys it lacks in one
// replacement.
void BM_LoadCatalogueAddingEveryKey(benchmark::State& state) {
    const LanguageFolder folder(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        folder.Restore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(LoadCatalogue(folder.Path()));
    }
    ResetCatalogue();
    state.counters["MB"] = static_cast<double>(folder.Bytes()) / 1e6;
}
BENCHMARK(BM_LoadCatalogueAddingEveryKey)
    ->Arg(1'000)
    ->Arg(50'000)
    ->Arg(5'000'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tomlet
