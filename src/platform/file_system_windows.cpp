#include <windows.h>

#include <filesystem>
#include <utility>

#include "platform/file_system.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

std::wstring ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

std::wstring ShortPathName(const std::wstring& path) {
    std::wstring shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    const DWORD length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    return length == 0 || length >= shortPath.size() ? std::wstring() : shortPath.substr(0, length);
}

}  // namespace

std::string ExecutableFolder() {
    const fs::path folder = fs::path(ModuleFileName()).parent_path();
    if (folder.empty())
        return {};
    // A folder whose name the ANSI code page lacks still has a short name in ASCII.
    std::optional<std::string> name = CodePagePath(folder);
    if (!name)
        name = CodePagePath(ShortPathName(folder.native()));
    return name ? *name + '\\' : std::string();
}

std::optional<FileFacts> LookUpPath(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(NativePath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileFacts facts;
    facts.IsDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!facts.IsDirectory)
        facts.Size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    static constexpr std::pair<DWORD, FileAttribute> Mapping[] = {
        {FILE_ATTRIBUTE_DIRECTORY, faDirectory}, {FILE_ATTRIBUTE_READONLY, faReadOnly},
        {FILE_ATTRIBUTE_HIDDEN, faHidden},       {FILE_ATTRIBUTE_ARCHIVE, faArchive},
        {FILE_ATTRIBUTE_SYSTEM, faSystem},       {FILE_ATTRIBUTE_TEMPORARY, faTemporary},
        {FILE_ATTRIBUTE_OFFLINE, faOffline},     {FILE_ATTRIBUTE_COMPRESSED, faCompressed}};
    for (const auto& [windows, attribute] : Mapping)
        if (data.dwFileAttributes & windows)
            facts.Attributes |= attribute;
    return facts;
}

std::string FindPathIgnoringCase(const std::string& path) {
    return path;  // Windows file systems ignore case themselves
}

}  // namespace tomlet
