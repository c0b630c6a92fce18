#include "support/temp_folder.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace tomlet::testing {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto name = "tomlet-test-" + std::to_string(random()) + "-" + std::to_string(counter++);
    m_path = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code error;
    // Tests make entries read-only; give write access back so that they can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

std::string TempFolder::operator/(std::string_view relative) const {
    return (m_path / std::filesystem::path(relative)).string();
}

std::string TempFolder::WriteFile(std::string_view relative, std::string_view content) const {
    const auto path = m_path / std::filesystem::path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

std::string TempFolder::MakeFolder(std::string_view relative) const {
    const auto path = m_path / std::filesystem::path(relative);
    std::filesystem::create_directories(path);
    return path.string();
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

}  // namespace tomlet::testing
