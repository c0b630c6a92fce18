#include "platform/directory_listing.h"

#include <algorithm>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // std::min, not the macro
#endif
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tomlet {

namespace {

unsigned char UpperCase(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool NameLessIgnoringCase(const std::string& left, const std::string& right) {
    const size_t common = std::min(left.size(), right.size());
    for (size_t i = 0; i < common; ++i) {
        const auto a = UpperCase(static_cast<unsigned char>(left[i]));
        const auto b = UpperCase(static_cast<unsigned char>(right[i]));
        if (a != b)
            return a < b;
    }
    if (left.size() != right.size())
        return left.size() < right.size();
    return left < right;
}

#ifdef _WIN32

bool ListedNamesAreUtf8() {
    return GetACP() == CP_UTF8;
}

namespace {

FolderIdentity IdentifyFolder(const std::string& folder) {
    FolderIdentity identity;
    const HANDLE handle =
        CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return identity;
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(handle, &information)) {
        identity.Volume = information.dwVolumeSerialNumber;
        identity.Index =
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    }
    CloseHandle(handle);
    return identity;
}

}  // namespace

bool ListDirectory(const std::string& folder, DirectoryListing& listing) {
    listing.Entries.clear();
    const std::string pattern =
        folder.ends_with('\\') || folder.ends_with('/') ? folder + "*" : folder + "\\*";
    WIN32_FIND_DATAA found;
    const HANDLE search =
        FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (IsDotOrDotDot(found.cFileName))
            continue;
        const DWORD attributes = found.dwFileAttributes;
        listing.Entries.push_back({found.cFileName, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                   (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                                   (attributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    listing.Identity = IdentifyFolder(folder);
    return true;
}

#else

bool ListedNamesAreUtf8() {
    return true;
}

namespace {

// Most file systems tell an entry's kind in the listing itself; only links and the rest cost a
// look-up.
bool IsDirectoryEntry(int folderHandle, const dirent& entry) {
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat facts;
    return fstatat(folderHandle, entry.d_name, &facts, 0) == 0 && S_ISDIR(facts.st_mode);
}

}  // namespace

bool ListDirectory(const std::string& folder, DirectoryListing& listing) {
    listing.Entries.clear();
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    struct stat facts;
    DIR* directory = fstat(handle, &facts) == 0 ? fdopendir(handle) : nullptr;
    if (directory == nullptr) {
        close(handle);
        return false;
    }
    listing.Identity = {static_cast<std::uint64_t>(facts.st_dev),
                        static_cast<std::uint64_t>(facts.st_ino)};
    while (const dirent* entry = readdir(directory)) {
        if (IsDotOrDotDot(entry->d_name))
            continue;
        listing.Entries.push_back(
            {entry->d_name, IsDirectoryEntry(handle, *entry), entry->d_name[0] == '.', false});
    }
    closedir(directory);
    std::sort(listing.Entries.begin(), listing.Entries.end(),
              [](const DirectoryEntry& left, const DirectoryEntry& right) {
                  return NameLessIgnoringCase(left.Name, right.Name);
              });
    return true;
}

#endif

}  // namespace tomlet
