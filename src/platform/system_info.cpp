#include "platform/system_info.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "platform/text_codec.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
#else
#include <sys/utsname.h>
#endif
#ifdef __linux__
#include <sys/sysinfo.h>
#endif

namespace tomlet {

namespace {

constexpr std::size_t MaxServicePackLength = 128;

// The name for Windows NT 6 and later, which the classic table predates.
const char* ModernWindowsName(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    if (major == 6) {
        constexpr std::array<const char*, 4> names{"Windows Vista  ", "Windows 7  ", "Windows 8  ",
                                                   "Windows 8.1  "};
        return minor < names.size() ? names[minor] : nullptr;
    }
    if (major == 10 && minor == 0)
        return build >= 22000 ? "Windows 11  " : "Windows 10  ";
    return nullptr;
}

const char* WindowsName(const OsVersionRecord& version) {
    switch (version.PlatformId) {
        case PlatformWin32Windows:
            if (version.Major < 4)
                return nullptr;
            if (version.Minor < 10)
                return "Windows 95  ";
            return version.Minor < 90 ? "Windows 98  " : "Windows ME  ";
        case PlatformWin32NT:
            if (version.Major <= 4)
                return "Windows NT  ";
            if (version.Major == 5)
                return version.Minor == 0 ? "Windows 2000  " : "Windows XP  ";
            return ModernWindowsName(version.Major, version.Minor, version.Build);
        default:
            return nullptr;
    }
}

bool IsWindows98SecondEdition(const OsVersionRecord& version) {
    return version.PlatformId == PlatformWin32Windows && version.Major >= 4 &&
           version.Minor >= 10 && version.Minor < 90 && version.ServicePack.size() >= 2 &&
           version.ServicePack[1] == 'A';
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// An os-release value: quoted with ' or ", with backslash escapes inside double quotes.
std::string Unquoted(std::string_view value) {
    const std::string raw = Trimmed(value);
    if (raw.size() < 2 || (raw.front() != '"' && raw.front() != '\'') || raw.back() != raw.front())
        return raw;
    const char quote = raw.front();
    std::string result;
    for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
        if (quote == '"' && raw[i] == '\\' && i + 2 < raw.size())
            ++i;
        result += raw[i];
    }
    return result;
}

#ifdef _WIN32
std::string Utf8Of(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(size) - 1);
    return text;
}

// RtlGetVersion tells the truth where GetVersionEx answers what the manifest allows.
OsVersionRecord RunningWindowsVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll == nullptr
            ? nullptr
            : reinterpret_cast<RtlGetVersionFunction>(GetProcAddress(ntdll, "RtlGetVersion"));
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0)
        return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
            Utf8Of(info.szCSDVersion)};
}
#else
std::string ReadWholeFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

#endif

}  // namespace

std::string WindowsVersionLine(const OsVersionRecord& version) {
    if (version.PlatformId == PlatformWin32s)
        return "Windows 3.11";
    const char* name = WindowsName(version);
    if (name == nullptr)
        return "Windows ??";
    const std::string numbers = std::to_string(version.Major) + "." + std::to_string(version.Minor);
    if (IsWindows98SecondEdition(version))
        return name + numbers + " SE (Build " + std::to_string(version.Build) + ")";
    return name + numbers + " (Build " + std::to_string(version.Build) + ") " +
           version.ServicePack.substr(0, MaxServicePackLength);
}

std::string UnixVersionLine(std::string_view prettyName, std::string_view systemName,
                            std::string_view release) {
    std::string kernel(systemName);
    if (!release.empty())
        kernel += (kernel.empty() ? "" : " ") + std::string(release);
    if (prettyName.empty())
        return kernel;
    return std::string(prettyName) + "  (" + kernel + ")";
}

std::string OsReleasePrettyName(std::string_view osRelease) {
    constexpr std::string_view key = "PRETTY_NAME=";
    std::istringstream lines{std::string(osRelease)};
    for (std::string line; std::getline(lines, line);) {
        const std::string trimmed = Trimmed(line);
        if (trimmed.rfind(key, 0) == 0)
            return Unquoted(std::string_view(trimmed).substr(key.size()));
    }
    return {};
}

std::string OperatingSystemLine() {
#ifdef _WIN32
    const std::string line = WindowsVersionLine(RunningWindowsVersion());
#else
    std::string osRelease = ReadWholeFile("/etc/os-release");
    if (osRelease.empty())
        osRelease = ReadWholeFile("/usr/lib/os-release");
    utsname system{};
    const bool known = uname(&system) == 0;
    const std::string line = UnixVersionLine(
        OsReleasePrettyName(osRelease), known ? system.sysname : "", known ? system.release : "");
#endif
    return ProcessCodec().FromUtf8(line);
}

std::optional<MemoryStatus> MemoryStatusFromMeminfo(std::string_view meminfo) {
    std::map<std::string, std::uint64_t, std::less<>> kilobytes;
    std::istringstream lines{std::string(meminfo)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t value = 0;
        if (fields >> name >> value)
            kilobytes[name] = value;
    }
    const auto field = [&](std::string_view name) {
        const auto found = kilobytes.find(name);
        return found == kilobytes.end() ? std::optional<std::uint64_t>() : found->second;
    };
    const std::uint64_t total = field("MemTotal:").value_or(0);
    if (total == 0)
        return std::nullopt;
    // Kernels before 3.14 give no estimate of what is available: free memory and caches.
    const std::uint64_t available = std::min(
        total, field("MemAvailable:")
                   .value_or(field("MemFree:").value_or(0) + field("Buffers:").value_or(0) +
                             field("Cached:").value_or(0)));
    const double load = 100.0 * static_cast<double>(total - available) / static_cast<double>(total);
    return MemoryStatus{total * 1024, static_cast<std::uint32_t>(std::lround(load))};
}

std::optional<MemoryStatus> QueryMemoryStatus() {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return std::nullopt;
    return MemoryStatus{status.ullTotalPhys, status.dwMemoryLoad};
#else
    if (auto status = MemoryStatusFromMeminfo(ReadWholeFile("/proc/meminfo")))
        return status;
#ifdef __linux__
    struct sysinfo info {};
    if (sysinfo(&info) == 0 && info.totalram > 0) {
        const double total = static_cast<double>(info.totalram);
        const double used = total - static_cast<double>(info.freeram + info.bufferram);
        return MemoryStatus{static_cast<std::uint64_t>(info.totalram) * info.mem_unit,
                            static_cast<std::uint32_t>(std::lround(100.0 * used / total))};
    }
#endif
    return std::nullopt;
#endif
}

std::string MemoryLoadText(std::uint32_t percent) {
    return std::to_string(percent) + " %";
}

std::optional<FileVersion> ExecutableFileVersion() {
#ifdef _WIN32
    wchar_t path[MAX_PATH * 4];
    if (GetModuleFileNameW(nullptr, path, MAX_PATH * 4) == 0)
        return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(path, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                       fixed->dwFileFlags & fixed->dwFileFlagsMask};
#elif defined(TOMLET_VERSION_MAJOR) && defined(TOMLET_VERSION_BUILD)
#ifdef NDEBUG
    constexpr std::uint32_t flags = 0;
#else
    constexpr std::uint32_t flags = vfDebug;
#endif
    return FileVersion{TOMLET_VERSION_MAJOR, TOMLET_VERSION_MINOR, TOMLET_VERSION_RELEASE,
                       TOMLET_VERSION_BUILD, flags};
#else
    return std::nullopt;
#endif
}

std::vector<std::string> DescriptionLines(std::uint32_t flags) {
    std::vector<std::string> lines{"Beta-version", "", "Web: https://tomlet.example.org",
                                   "E-mail: developers@tomlet.example.org"};
    constexpr std::array<std::pair<FileVersionFlag, const char*>, 4> flagLines{{
        {vfDebug, "Debug version"},
        {vfPreRelease, "PRE RELEASE"},
        {vfPrivateBuild, "Private build"},
        {vfSpecialBuild, "Special build"},
    }};
    for (const auto& [flag, line] : flagLines) {
        if ((flags & flag) != 0)
            lines.emplace_back(line);
    }
    return lines;
}

}  // namespace tomlet
