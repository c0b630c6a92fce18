#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tomlet::testing {

// A real folder under the system's temporary directory, removed with everything in it when the
// object goes.
class TempFolder final {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of an entry below the folder, in the process code page as the program takes it,
    // with the system's separators; `relative` is in that code page too, "/" between its parts.
    std::string operator/(std::string_view relative) const;

    // Writes a file (creating its folders) and returns its path.
    std::string WriteFile(std::string_view relative, std::string_view content = {}) const;
    std::string MakeFolder(std::string_view relative) const;
    // The names of what a folder below it (the folder itself when empty) holds, sorted.
    std::vector<std::string> Entries(std::string_view relative = {}) const;

private:
    std::filesystem::path Below(std::string_view relative) const;

    std::filesystem::path m_path;
};

std::string ReadWholeFile(const std::string& path);

// Makes a folder the process's current folder while it lives.
class CurrentFolderScope final {
public:
    explicit CurrentFolderScope(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolderScope() { std::filesystem::current_path(m_previous); }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::filesystem::path m_previous;
};

}  // namespace tomlet::testing
