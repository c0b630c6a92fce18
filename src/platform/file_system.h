#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace tomlet {

// Folder of the running executable, ending with the native separator; empty when the system
// cannot name it.
std::string ExecutableFolder();
// Folder of tomlet.ini and the language files of a program that lies in `programFolder`, ending
// with the native separator: the program folder, except for an installed program (tomlet in
// <prefix>/bin beside an existing <prefix>/share/tomlet), whose own folder holds only
// executables.
std::string DataFolderOfProgram(const std::string& programFolder);

// The path made absolute against the current folder, "." and ".." taken out; the path itself
// when that fails.
std::string AbsolutePath(const std::string& path);

// The path made absolute with its links followed and "." and ".." taken out, as far as it exists
// (the rest taken as written); the path itself when that fails.
std::string RealPath(const std::string& path);

bool FileExists(const std::string& path);       // a file, not a directory
bool DirectoryExists(const std::string& path);  // a directory
bool PathExists(const std::string& path);       // either

// The attributes the program reports, as on Windows; on other systems a name beginning with "."
// is hidden and a file the user may not write is read-only.
enum FileAttribute : std::uint32_t {
    faDirectory = 1u << 0,
    faReadOnly = 1u << 1,
    faHidden = 1u << 2,
    faArchive = 1u << 3,
    faSystem = 1u << 4,
    faTemporary = 1u << 5,
    faOffline = 1u << 6,
    faCompressed = 1u << 7,
};

struct FileFacts {
    bool IsDirectory = false;
    bool IsSpecial = false;  // a device, a pipe or a socket: neither a file nor a directory
    std::uint64_t Size = 0;
    std::uint32_t Attributes = 0;
    std::uint32_t Links = 1;  // the names (hard links) a file has
};

// Facts of what a path names, links followed; nothing when it names nothing.
std::optional<FileFacts> LookUpPath(const std::string& path);

// What tells, without reading a file, whether a file met later is the same one, unchanged: its
// size, when its content was last written, and which file it is on which volume (a rename or a
// move within the volume keeps the last two).
struct FileIdentityStamp {
    std::uint64_t Size = 0;
    std::int64_t Modified = 0;  // nanoseconds since 1970
    std::uint64_t Volume = 0;
    std::uint64_t Index = 0;
};

// The stamp of the regular file that a path in the file system's form names, links followed;
// nothing for anything else.
std::optional<FileIdentityStamp> StampOfFile(const std::filesystem::path& native);
// The stamp of the regular file open in `file`.
std::optional<FileIdentityStamp> StampOfOpenFile(std::FILE* file);

// The path that the symbolic links at `path` lead to, followed one after another (the path itself
// when it names no link or nothing). Nothing, with the reason in `error`, when the links loop or
// one cannot be read.
std::optional<std::string> FollowLinks(const std::string& path, std::error_code& error);

// The descriptor of this process that a path names, through any links (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N); nothing for any other path. What is written there belongs to the
// descriptor, which may hold a file open for appending, or one already deleted: the file its
// name leads to must not be replaced. Windows has no such paths.
std::optional<int> NamedDescriptor(const std::string& path);

// The path as it exists on disc: on a case-sensitive file system a path that does not exist as
// written is looked up again component by component, ignoring case. Returns the path unchanged
// when it exists or no match is found.
std::string FindPathIgnoringCase(const std::string& path);

}  // namespace tomlet
