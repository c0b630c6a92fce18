#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomlet {

// The operating system's version record, as Windows reports it.
struct OsVersionRecord {
    std::uint32_t PlatformId = 0;
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::uint32_t Build = 0;
    std::string ServicePack;
};

inline constexpr std::uint32_t PlatformWin32s = 0;
inline constexpr std::uint32_t PlatformWin32Windows = 1;
inline constexpr std::uint32_t PlatformWin32NT = 2;

// "Windows XP  5.1 (Build 2600) Service Pack 3"; "Windows ??" for a system no rule names.
std::string WindowsVersionLine(const OsVersionRecord& version);
// "Debian GNU/Linux 12 (bookworm)  (Linux 6.1.0-18-amd64)"; the kernel alone without a name.
std::string UnixVersionLine(std::string_view prettyName, std::string_view systemName,
                            std::string_view release);
// The PRETTY_NAME of an os-release file's content; empty when it has none.
std::string OsReleasePrettyName(std::string_view osRelease);
// The running system's line, in the process code page.
std::string OperatingSystemLine();

struct MemoryStatus {
    std::uint64_t TotalPhysicalBytes = 0;
    std::uint32_t LoadPercent = 0;  // share of physical memory in use, 0 to 100
};

// From the content of /proc/meminfo; nothing when it lacks the total.
std::optional<MemoryStatus> MemoryStatusFromMeminfo(std::string_view meminfo);
std::optional<MemoryStatus> QueryMemoryStatus();
// "57 %"
std::string MemoryLoadText(std::uint32_t percent);

// Whether a standard stream goes to a terminal (a console on Windows), where progress may be
// shown; not when it goes to a file or a pipe.
bool IsTerminal(std::FILE* stream);

// The flags of a file version, with the values of Windows version resources.
enum FileVersionFlag : std::uint32_t {
    vfDebug = 0x01,
    vfPreRelease = 0x02,
    vfPrivateBuild = 0x08,
    vfSpecialBuild = 0x20,
};

struct FileVersion {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
    std::uint32_t Flags = 0;  // only those the flag mask marks as valid
};

// The running program's version: its version resource on Windows, the version compiled in
// elsewhere. Nothing when there is none.
std::optional<FileVersion> ExecutableFileVersion();

// The about window's description: "Beta-version", an empty line, the web and e-mail lines, then
// one line per build flag ("Debug version", "PRE RELEASE", "Private build", "Special build").
std::vector<std::string> DescriptionLines(std::uint32_t flags);

}  // namespace tomlet
