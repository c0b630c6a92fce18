// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cstdlib>

#include "platform/user_folders.h"
#include "platform/wide_text.h"

namespace tomlet {

std::optional<std::string> EnvironmentVariable(const char* name) {
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (value == nullptr || *value == L'\0')
        return std::nullopt;
    return CodePageFromWideReplacing(CP_UTF8, value);
}

std::string UserDataFolder() {
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path) == S_OK)
        folder = CodePageFromWideReplacing(CP_UTF8, path);
    CoTaskMemFree(path);
    return folder;
}

}  // namespace tomlet
