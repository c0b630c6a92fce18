#include <sys/utsname.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysinfo.h>
#endif

#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/system_info.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

std::string ReadWholeFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

}  // namespace

std::string OperatingSystemLine() {
    std::string osRelease = ReadWholeFile("/etc/os-release");
    if (osRelease.empty())
        osRelease = ReadWholeFile("/usr/lib/os-release");
    utsname system{};
    const bool known = uname(&system) == 0;
    const std::string line = UnixVersionLine(
        OsReleasePrettyName(osRelease), known ? system.sysname : "", known ? system.release : "");
    return ProcessCodec().FromUtf8(line);
}

std::optional<MemoryStatus> QueryMemoryStatus() {
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
}

// The version compiled in; a build without NDEBUG reports itself as a debug version.
std::optional<FileVersion> ExecutableFileVersion() {
#ifdef NDEBUG
    constexpr std::uint32_t flags = 0;
#else
    constexpr std::uint32_t flags = vfDebug;
#endif
    return FileVersion{TOMLET_VERSION_MAJOR, TOMLET_VERSION_MINOR, TOMLET_VERSION_RELEASE,
                       TOMLET_VERSION_BUILD, flags};
}

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

}  // namespace tomlet
