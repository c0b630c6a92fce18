#include <io.h>
#include <windows.h>

#include <cwchar>
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

// What a handle to a path tells that its attributes do not: the names (hard links) of a file,
// and whether it is a device (NUL, CON, COM1) or a pipe, which have no attributes to ask for.
struct HandleFacts {
    bool IsSpecial = false;
    std::uint32_t Links = 1;  // 1 when it cannot be opened to ask
};

HandleFacts FactsByHandle(const std::wstring& path) {
    // Opening a named pipe would connect to the program that serves it.
    if (_wcsnicmp(path.c_str(), L"\\\\.\\pipe\\", 9) == 0 ||
        _wcsnicmp(path.c_str(), L"\\\\?\\pipe\\", 9) == 0)
        return {true};
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    HandleFacts facts;
    const DWORD type = GetFileType(handle);
    facts.IsSpecial = type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
    BY_HANDLE_FILE_INFORMATION information;
    if (!facts.IsSpecial && GetFileInformationByHandle(handle, &information))
        facts.Links = information.nNumberOfLinks;
    CloseHandle(handle);
    return facts;
}

std::optional<FileIdentityStamp> StampByHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    const auto joined = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    // FILETIME counts 100 ns from 1601.
    constexpr std::int64_t From1601To1970 = 116'444'736'000'000'000;
    const auto written = static_cast<std::int64_t>(joined(
        information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime));
    return FileIdentityStamp{joined(information.nFileSizeHigh, information.nFileSizeLow),
                             (written - From1601To1970) * 100, information.dwVolumeSerialNumber,
                             joined(information.nFileIndexHigh, information.nFileIndexLow)};
}

// The path the system reaches through every link and junction on the way, without the "\\?\"
// that it puts before it.
std::optional<std::wstring> FinalPath(const std::wstring& path) {
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length);
        length = GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    CloseHandle(handle);
    if (length == 0 || length >= final.size())
        return std::nullopt;
    final.resize(length);
    if (final.starts_with(L"\\\\?\\UNC\\"))
        return L"\\\\" + final.substr(8);
    if (final.starts_with(L"\\\\?\\"))
        return final.substr(4);
    return final;
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
    const std::wstring native = NativePath(path).native();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &data)) {
        if (!FactsByHandle(native).IsSpecial)
            return std::nullopt;
        FileFacts device;
        device.IsSpecial = true;
        return device;
    }
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
    if (!facts.IsDirectory) {
        const HandleFacts handle = FactsByHandle(native);
        facts.IsSpecial = handle.IsSpecial;
        facts.Links = handle.Links;
    }
    return facts;
}

std::optional<std::string> FollowLinks(const std::string& path, std::error_code& error) {
    error.clear();
    const std::wstring native = NativePath(path).native();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    const std::optional<std::wstring> final = FinalPath(native);
    if (!final) {
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
        return std::nullopt;
    }
    std::optional<std::string> followed = CodePagePath(*final);
    if (!followed)
        error = std::make_error_code(std::errc::illegal_byte_sequence);
    return followed;
}

std::optional<int> NamedDescriptor(const std::string&) {
    return std::nullopt;  // CON, NUL and the like are devices: LookUpPath tells them
}

std::optional<FileIdentityStamp> StampOfFile(const fs::path& native) {
    const HANDLE handle =
        CreateFileW(native.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::optional<FileIdentityStamp> stamp = StampByHandle(handle);
    CloseHandle(handle);
    return stamp;
}

std::optional<FileIdentityStamp> StampOfOpenFile(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle == INVALID_HANDLE_VALUE ? std::nullopt : StampByHandle(handle);
}

std::string FindPathIgnoringCase(const std::string& path) {
    return path;  // Windows file systems ignore case themselves
}

}  // namespace tomlet
