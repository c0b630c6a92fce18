#include "platform/file_system.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/text_codec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace tomlet {

namespace {

namespace fs = std::filesystem;

std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}

#ifndef _WIN32
const TextCodec& SystemCodec() {
    static const TextCodec codec(SystemCodePage());
    return codec;
}
#endif

// Paths arrive in the process code page; the file system names files in the system's. They
// differ only when a catalogue's code page was chosen by hand.
fs::path NativePath(const std::string& path) {
#ifdef _WIN32
    const std::string utf8 = ProcessCodec().ToUtf8(path);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
    if (ProcessCodec().CodePage() == SystemCodec().CodePage())
        return path;
    return SystemCodec().FromUtf8(ProcessCodec().ToUtf8(path));
#endif
}

std::string FromNativePath(const fs::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return ProcessCodec().FromUtf8(std::string(utf8.begin(), utf8.end()));
#else
    if (ProcessCodec().CodePage() == SystemCodec().CodePage())
        return path.string();
    return ProcessCodec().FromUtf8(SystemCodec().ToUtf8(path.string()));
#endif
}

fs::path ExecutablePath() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return fs::path(std::wstring(buffer, length));
#else
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error);
#endif
}

#ifndef _WIN32

bool UserMayWrite(const fs::path& path, const struct stat& facts) {
    // access() grants root everything; what the user would meet is the mode's write bits.
    if (geteuid() == 0)
        return (facts.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return access(path.c_str(), W_OK) == 0;
}

bool IsHiddenName(const fs::path& path) {
    fs::path name = path.filename();
    if (name.empty())
        name = path.parent_path().filename();  // "folder/"
    const std::string text = name.string();
    return text.size() > 1 && text[0] == '.' && text != "..";
}

// The code point at the start of text and its length in bytes; a malformed byte stands for
// itself.
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC0 || length > text.size())
        return {lead, 1};
    char32_t code = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return {lead, 1};
        code = (code << 6) | (next & 0x3F);
    }
    return {code, length};
}

// Simple lower-case folding of the Latin, Greek and Cyrillic letters of the Windows code pages.
char32_t FoldCase(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB) || (c >= 0x410 && c <= 0x42F))
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    // Latin Extended-A pairs capitals with the next code point, on even or on odd ones.
    const bool evenCapitals = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenCapitals && c % 2 == 0) || (oddCapitals && c % 2 == 1))
        return c + 1;
    if (c == 0x178)
        return 0xFF;
    return c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    while (!a.empty() && !b.empty()) {
        const auto [first, firstLength] = DecodeUtf8(a);
        const auto [second, secondLength] = DecodeUtf8(b);
        if (FoldCase(first) != FoldCase(second))
            return false;
        a.remove_prefix(firstLength);
        b.remove_prefix(secondLength);
    }
    return a.empty() && b.empty();
}

// The entry of folder whose name equals name but for case; empty when there is none.
fs::path FindEntryIgnoringCase(const fs::path& folder, const std::string& name) {
    const std::string utf8Name = SystemCodec().ToUtf8(name);
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (EqualIgnoringCase(SystemCodec().ToUtf8(entry), utf8Name))
            return folder / entry;
    }
    return {};
}

#endif

}  // namespace

std::string ProgramFolder() {
    if (!ProgramFolderOverride().empty())
        return ProgramFolderOverride();
    static const std::string folder = [] {
        const fs::path executable = ExecutablePath();
        if (executable.empty())
            return std::string{};
        return FromNativePath(executable.parent_path()) +
               static_cast<char>(fs::path::preferred_separator);
    }();
    return folder;
}

void SetProgramFolderForTesting(std::string folder) {
    if (!folder.empty() && folder.back() != fs::path::preferred_separator)
        folder += static_cast<char>(fs::path::preferred_separator);
    ProgramFolderOverride() = std::move(folder);
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(NativePath(path), error);
}

bool DirectoryExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(NativePath(path), error);
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::exists(NativePath(path), error);
}

std::optional<FileFacts> LookUpPath(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    const fs::path native = NativePath(path);
    FileFacts facts;
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
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
#else
    struct stat status;
    if (stat(native.c_str(), &status) != 0)
        return std::nullopt;
    facts.IsDirectory = S_ISDIR(status.st_mode);
    if (!facts.IsDirectory)
        facts.Size = static_cast<std::uint64_t>(status.st_size);
    if (facts.IsDirectory)
        facts.Attributes |= faDirectory;
    if (!UserMayWrite(native, status))
        facts.Attributes |= faReadOnly;
    if (IsHiddenName(native))
        facts.Attributes |= faHidden;
#endif
    return facts;
}

std::string FindPathIgnoringCase(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    const fs::path native = NativePath(path);
    std::error_code error;
    if (path.empty() || fs::exists(native, error))
        return path;
    fs::path found = native.root_path();
    for (const fs::path& part : native.relative_path()) {
        fs::path next = found / part;
        if (!part.empty() && !fs::exists(next, error))
            next = FindEntryIgnoringCase(found, part.string());
        if (next.empty())
            return path;
        found = std::move(next);
    }
    return FromNativePath(found);
#endif
}

}  // namespace tomlet
