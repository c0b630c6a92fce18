#include "platform/file_system.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tomlet {

namespace {

std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}

std::string ExecutablePath() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(buffer, length)).string();
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
#endif
}

}  // namespace

std::string ProgramFolder() {
    if (!ProgramFolderOverride().empty())
        return ProgramFolderOverride();
    static const std::string folder = [] {
        std::string path = ExecutablePath();
        const auto separator = path.find_last_of(std::filesystem::path::preferred_separator);
        return separator == std::string::npos ? std::string{} : path.substr(0, separator + 1);
    }();
    return folder;
}

void SetProgramFolderForTesting(std::string folder) {
    if (!folder.empty() && folder.back() != std::filesystem::path::preferred_separator)
        folder += static_cast<char>(std::filesystem::path::preferred_separator);
    ProgramFolderOverride() = std::move(folder);
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

bool DirectoryExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

}  // namespace tomlet
