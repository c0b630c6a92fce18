#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/case_fold.h"
#include "platform/file_stamp_posix.h"
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

// Folded as search and file masks fold: character by character, by the system's rules.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    const auto* pEnd = p + a.size();
    const auto* qEnd = q + b.size();
    while (p != pEnd && q != qEnd)
        if (LowerCase(DecodeUtf8(p, pEnd)) != LowerCase(DecodeUtf8(q, qEnd)))
            return false;
    return p == pEnd && q == qEnd;
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

std::optional<int> NamedDescriptor(const std::string& path) {
    constexpr int MaxLinks = 40;
    std::error_code error;
    // The folder naming the process's descriptors, /proc/<pid>/fd on Linux, reached also by
    // /proc/self/fd and /dev/fd.
    fs::path descriptors;
    for (const char* folder : {"/proc/self/fd", "/dev/fd"})
        if (descriptors = fs::canonical(folder, error); !error)
            break;
    if (error)
        return std::nullopt;
    fs::path current = NativePath(path);
    for (int links = 0; links <= MaxLinks; ++links) {
        const std::string name = current.filename().string();
        if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos &&
            name.size() < 10 && fs::canonical(current.parent_path(), error) == descriptors &&
            !error) {
            const int descriptor = std::stoi(name);
            return fcntl(descriptor, F_GETFD) != -1 ? std::optional(descriptor) : std::nullopt;
        }
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return std::nullopt;
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            return std::nullopt;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return std::nullopt;
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

std::optional<FileIdentityStamp> StampOfStatus(const struct stat& status) {
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentityStamp{
        static_cast<std::uint64_t>(status.st_size),
        std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec,
        static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::optional<FileIdentityStamp> StampOfFile(const fs::path& native) {
    struct stat status;
    return stat(native.c_str(), &status) == 0 ? StampOfStatus(status) : std::nullopt;
}

std::optional<FileIdentityStamp> StampOfOpenFile(std::FILE* file) {
    struct stat status;
    return fstat(fileno(file), &status) == 0 ? StampOfStatus(status) : std::nullopt;
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
