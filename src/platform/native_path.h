#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomlet {

// The program keeps paths as byte strings in the process code page (text_codec.h). The file
// system names files otherwise: in UTF-16 on Windows, in the system's code page elsewhere. Every
// open, look-up, listing and rename turns the one into the other here, never through the narrow
// constructor of std::filesystem::path, which mingw reads as Latin-1.

// The characters of a name as the file system holds them: wchar_t on Windows, bytes elsewhere.
using NativeString = std::filesystem::path::string_type;
using NativeStringView = std::basic_string_view<std::filesystem::path::value_type>;

// The file system's form of a path. A byte that the code page does not assign becomes U+FFFD,
// which names no file.
std::filesystem::path NativePath(std::string_view path);
// The file system's form of a path given in UTF-8, whatever the process code page (paths the
// program keeps for itself, such as its database files).
std::filesystem::path NativePathFromUtf8(std::string_view utf8);
// The process code page's form of a file system path or name; nothing when the code page cannot
// hold one of its characters. A name is never stored mangled: callers skip and report it.
std::optional<std::string> CodePagePath(const std::filesystem::path& path);
std::optional<std::string> CodePageName(NativeStringView name);
// A path or name in UTF-8 whatever the code page, for telling the user about it.
std::string DisplayName(NativeStringView name);

// std::fopen with the path in the process code page, or in the file system's form; errno says
// why it failed.
std::FILE* OpenFile(std::string_view path, const char* mode);
std::FILE* OpenNativeFile(const std::filesystem::path& path, const char* mode);
// A stream writing to a copy of an open descriptor (NamedDescriptor), at the descriptor's own
// place in its file; closing it leaves the descriptor open.
std::FILE* OpenDescriptorCopy(int descriptor);
// Creates a file that does not exist yet and opens it for writing in binary mode; fails with
// errno EEXIST when a file of that name exists.
std::FILE* CreateNewFile(std::string_view path);
// The same with the access rights of the existing file `rightsOf` from its first moment, and on
// POSIX systems its owner and group as far as the user may give them (always the group, when
// the user belongs to it). Where `rightsOf` names nothing, the file gets the usual rights. On
// Windows a new file takes the rights its folder hands down, as the file it replaces did.
std::FILE* CreateNewNativeFile(const std::filesystem::path& path,
                               const std::filesystem::path& rightsOf = {});

// How the running system writes and matches paths: Windows separates with '\\', starts a path
// with a drive letter and matches names ignoring case; the other systems use '/' and neither.
struct PathStyle {
    char Separator;
    bool DriveLetters;
    bool NamesIgnoreCase;
};
PathStyle SystemPathStyle();

// The program's arguments after its name, in the process code page: on Windows from the wide
// command line, which holds what the ANSI code page cannot. A character the process code page
// lacks becomes '?' (the tool sets UTF-8 first, which holds them all).
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace tomlet
