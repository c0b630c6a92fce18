#include "platform/file_system.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/native_path.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

}  // namespace

std::string DataFolderOfProgram(const std::string& programFolder) {
    // The installed layout's share folder, relative to its bin folder; set by the install rules.
    const fs::path installed =
        (NativePath(programFolder) / TOMLET_INSTALLED_DATA_FOLDER).lexically_normal();
    std::error_code error;
    if (programFolder.empty() || !fs::is_directory(installed, error))
        return programFolder;
    std::string folder = CodePagePath(installed).value_or(programFolder);
    if (folder.back() != fs::path::preferred_separator)
        folder += static_cast<char>(fs::path::preferred_separator);
    return folder;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(NativePath(path), error);
    if (error)
        return path;
    return CodePagePath(absolute.lexically_normal()).value_or(path);
}

std::string RealPath(const std::string& path) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(fs::absolute(NativePath(path), error), error);
    if (error)
        return path;
    return CodePagePath(real).value_or(path);
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(NativePath(path), error);
}

bool DirectoryExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(NativePath(path), error);
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::exists(NativePath(path), error);
}

}  // namespace tomlet
