#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/case_fold.h"
#include "platform/directory_listing.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

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
    listing.Skipped.clear();
    const int handle = open(NativePath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    // Sorted as the file system names them (UTF-8), whatever code page the names are kept in.
    std::vector<DirectoryEntry> found;
    while (const dirent* entry = readdir(directory)) {
        if (!IsDotOrDotDot(entry->d_name))
            found.push_back({entry->d_name, IsDirectoryEntry(handle, *entry),
                             entry->d_name[0] == '.', false});
    }
    closedir(directory);
    std::ranges::sort(found, NameLessIgnoringCase, &DirectoryEntry::Name);

    for (DirectoryEntry& entry : found) {
        if (std::optional<std::string> name = CodePageName(entry.Name))
            listing.Entries.push_back({std::move(*name), entry.IsDirectory, entry.IsHidden, false});
        else
            listing.Skipped.push_back({DisplayName(entry.Name), SkipReason::UnrepresentableName,
                                       entry.IsDirectory, entry.IsHidden});
    }
    return true;
}

}  // namespace tomlet
