#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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
    // Native path of an entry below the folder, as a string.
    std::string operator/(std::string_view relative) const;

    // Writes a file (creating its folders) and returns its native path.
    std::string WriteFile(std::string_view relative, std::string_view content = {}) const;
    std::string MakeFolder(std::string_view relative) const;

private:
    std::filesystem::path m_path;
};

std::string ReadWholeFile(const std::string& path);

}  // namespace tomlet::testing
