#include <windows.h>

#include "platform/process_start.h"
#include "platform/wide_text.h"

namespace tomlet {

std::string StartDetachedCommandLine(const std::string& commandLine) {
    // Exactly the given command line, as CreateProcess parses it.
    std::wstring line = WideFromCodePage(CP_UTF8, commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return LastErrorText();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

}  // namespace tomlet
