#include <io.h>
#include <windows.h>

#include <vector>

#include "platform/system_info.h"
#include "platform/text_codec.h"
#include "platform/wide_text.h"

namespace tomlet {

namespace {

// RtlGetVersion tells the truth where GetVersionEx answers what the manifest allows.
OsVersionRecord RunningWindowsVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll == nullptr ? nullptr
                         : reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(
                               GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0)
        return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
            CodePageFromWideReplacing(CP_UTF8, info.szCSDVersion)};
}

}  // namespace

std::string OperatingSystemLine() {
    return ProcessCodec().FromUtf8(WindowsVersionLine(RunningWindowsVersion()));
}

std::optional<MemoryStatus> QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return std::nullopt;
    return MemoryStatus{status.ullTotalPhys, status.dwMemoryLoad};
}

// The version resource of the running program.
std::optional<FileVersion> ExecutableFileVersion() {
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
}

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

}  // namespace tomlet
