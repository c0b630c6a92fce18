#include "platform/native_path.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "platform/text_codec.h"
#include "platform/wide_text.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        default:
            return EIO;
    }
}

}  // namespace

PathStyle SystemPathStyle() {
    return {'\\', true, true};
}

fs::path NativePath(std::string_view path) {
    return fs::path(WideFromCodePage(ProcessCodec().CodePage(), path));
}

fs::path NativePathFromUtf8(std::string_view utf8) {
    return fs::path(WideFromCodePage(CP_UTF8, utf8));
}

std::optional<std::string> CodePageName(NativeStringView name) {
    return CodePageFromWide(ProcessCodec().CodePage(), name);
}

std::optional<std::string> CodePagePath(const fs::path& path) {
    return CodePageName(path.native());
}

std::string DisplayName(NativeStringView name) {
    return CodePageFromWideReplacing(CP_UTF8, name);
}

std::FILE* OpenNativeFile(const fs::path& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

std::FILE* OpenDescriptorCopy(int descriptor) {
    const int copy = _dup(descriptor);
    if (copy < 0)
        return nullptr;
    std::FILE* file = _fdopen(copy, "wb");
    if (file == nullptr)
        _close(copy);
    return file;
}

std::FILE* CreateNewNativeFile(const fs::path& path, const fs::path&) {
    // The C library of mingw knows no "x" mode: CREATE_NEW makes the same promise.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(GetLastError());
        return nullptr;
    }
    const int descriptor =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        errno = EIO;
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "wb");
    if (file == nullptr) {
        _close(descriptor);
        errno = EIO;
    }
    return file;
}

std::vector<std::string> ProgramArguments(int, char**) {
    // The C library's argv went through the ANSI code page, which may lack a character.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(CodePageFromWideReplacing(ProcessCodec().CodePage(), wide[i]));
    LocalFree(wide);
    return arguments;
}

std::string LastErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : DisplayName(message);
}

}  // namespace tomlet
