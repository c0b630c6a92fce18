#include "support/temp_folder.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

#include "platform/native_path.h"

namespace tomlet::testing {

namespace fs = std::filesystem;

namespace {

std::string CodePageText(const fs::path& path) {
    const auto text = CodePagePath(path);
    if (!text)
        throw std::runtime_error("the process code page cannot hold " + DisplayName(path.native()));
    return *text;
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto name = "tomlet-test-" + std::to_string(random()) + "-" + std::to_string(counter++);
    m_path = fs::temp_directory_path() / name;
    fs::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code error;
    // Tests make entries read-only; give write access back so that they can be removed.
    for (auto it = fs::recursive_directory_iterator(m_path, error);
         it != fs::recursive_directory_iterator(); it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_path, error);
}

// "/" separates the parts of `relative` on every system.
fs::path TempFolder::Below(std::string_view relative) const {
    return (m_path / NativePath(relative)).make_preferred();
}

std::string TempFolder::operator/(std::string_view relative) const {
    return CodePageText(Below(relative));
}

std::string TempFolder::WriteFile(std::string_view relative, std::string_view content) const {
    const fs::path path = Below(relative);
    fs::create_directories(path.parent_path());
    const std::string text = CodePageText(path);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(text, "wb"), std::fclose);
    // An empty view may hold a null pointer, which fwrite must not be handed.
    if (!file || (!content.empty() &&
                  std::fwrite(content.data(), 1, content.size(), file.get()) != content.size()))
        throw std::runtime_error("cannot write " + DisplayName(path.native()));
    return text;
}

std::string TempFolder::MakeFolder(std::string_view relative) const {
    const fs::path path = Below(relative);
    fs::create_directories(path);
    return CodePageText(path);
}

std::vector<std::string> TempFolder::Entries(std::string_view relative) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Below(relative)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), std::fclose);
    char buffer[4096];
    while (file) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    return content;
}

}  // namespace tomlet::testing
