#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/file_system.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

namespace fs = std::filesystem;

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
fs::path FindEntryIgnoringCase(const fs::path& folder, const fs::path& name) {
    const std::string wanted = DisplayName(name.native());
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        const fs::path entry = it->path().filename();
        if (EqualIgnoringCase(DisplayName(entry.native()), wanted))
            return folder / entry;
    }
    return {};
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (executable.empty())
        return {};
    const auto folder = CodePagePath(executable.parent_path());
    return folder ? *folder + '/' : std::string();
}

std::optional<FileFacts> LookUpPath(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    const fs::path native = NativePath(path);
    struct stat status;
    if (stat(native.c_str(), &status) != 0)
        return std::nullopt;
    FileFacts facts;
    facts.IsDirectory = S_ISDIR(status.st_mode);
    facts.IsSpecial = !facts.IsDirectory && !S_ISREG(status.st_mode);
    if (!facts.IsDirectory)
        facts.Size = static_cast<std::uint64_t>(status.st_size);
    facts.Links = static_cast<std::uint32_t>(status.st_nlink);
    if (facts.IsDirectory)
        facts.Attributes |= faDirectory;
    if (!UserMayWrite(native, status))
        facts.Attributes |= faReadOnly;
    if (IsHiddenName(native))
        facts.Attributes |= faHidden;
    return facts;
}

std::optional<std::string> FollowLinks(const std::string& path, std::error_code& error) {
    constexpr int MaxLinks = 40;  // as many as the system follows in one path
    fs::path current = NativePath(path);
    for (int links = 0; links <= MaxLinks; ++links) {
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            error.clear();  // nothing there yet: the path is where the file will be
            if (links == 0)
                return path;
            std::optional<std::string> followed = CodePagePath(current);
            if (!followed)
                error = std::make_error_code(std::errc::illegal_byte_sequence);
            return followed;
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            return std::nullopt;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return std::nullopt;
}

std::string FindPathIgnoringCase(const std::string& path) {
    const fs::path native = NativePath(path);
    std::error_code error;
    if (path.empty() || fs::exists(native, error))
        return path;
    fs::path found = native.root_path();
    for (const fs::path& part : native.relative_path()) {
        fs::path next = found / part;
        if (!part.empty() && !fs::exists(next, error))
            next = FindEntryIgnoringCase(found, part);
        if (next.empty())
            return path;
        found = std::move(next);
    }
    return CodePagePath(found).value_or(path);
}

}  // namespace tomlet
