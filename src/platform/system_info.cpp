#include "platform/system_info.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <utility>

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
    if (!release.empty() && !kernel.empty())
        kernel += ' ';
    kernel += release;
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

std::string MemoryLoadText(std::uint32_t percent) {
    return std::to_string(percent) + " %";
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
