#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/case_fold.h"
#include "platform/directory_listing.h"
#include "platform/file_stamp_posix.h"
#include "platform/listed_names.h"

namespace tomlet {

struct OpenFolder::Handle {
    int Descriptor;
    explicit Handle(int descriptor) : Descriptor(descriptor) {}
    ~Handle() { close(Descriptor); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

// A walk holds a folder open for each level it is down. Where the soft limit on open files is
// lower than the tree is deep (1,024 is common), it is raised to the hard limit, as the system
// lets any process do.
bool RaiseOpenFileLimit() {
    rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max)
        return false;
    limit.rlim_cur = limit.rlim_max;
    return setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

int OpenFolderAt(int parent, const char* name) {
    int descriptor = openat(parent, name, FolderFlags);
    if (descriptor < 0 && errno == EMFILE && RaiseOpenFileLimit())
        descriptor = openat(parent, name, FolderFlags);
    return descriptor;
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Most file systems tell an entry's kind in the listing itself; only links and the rest cost a
// look-up.
NativeEntry EntryOf(int folder, const dirent& entry) {
    NativeEntry found{entry.d_name, entry.d_type == DT_DIR, entry.d_name[0] == '.', false,
                      entry.d_type == DT_LNK};
    if (entry.d_type == DT_UNKNOWN) {
        struct stat facts;
        found.IsLink = fstatat(folder, entry.d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISLNK(facts.st_mode);
    }
    if (found.IsLink || entry.d_type == DT_UNKNOWN) {
        struct stat facts;
        found.IsDirectory = fstatat(folder, entry.d_name, &facts, 0) == 0 && S_ISDIR(facts.st_mode);
    }
    return found;
}

// Opens the folder `name` below `parent` and tells its identity; -1, errno saying why, when it
// cannot.
int OpenIdentified(int parent, const char* name, FolderIdentity& identity) {
    const int descriptor = OpenFolderAt(parent, name);
    struct stat facts;
    if (descriptor < 0)
        return -1;
    if (fstat(descriptor, &facts) != 0) {
        const int error = errno;
        close(descriptor);
        errno = error;
        return -1;
    }
    identity = {static_cast<std::uint64_t>(facts.st_dev), static_cast<std::uint64_t>(facts.st_ino)};
    return descriptor;
}

}  // namespace

OpenFolder::OpenFolder(const std::string& path) {
    const int descriptor = OpenIdentified(AT_FDCWD, NativePath(path).c_str(), m_identity);
    if (descriptor < 0)
        Fail(ErrorText(errno));
    else
        m_handle = std::make_unique<Handle>(descriptor);
}

OpenFolder::OpenFolder(const OpenFolder& parent, const std::string& name) {
    const int descriptor = parent.IsOpen() ? OpenIdentified(parent.m_handle->Descriptor,
                                                            NativePath(name).c_str(), m_identity)
                                           : -1;
    if (descriptor >= 0)
        m_handle = std::make_unique<Handle>(descriptor);
    else
        Fail(parent.IsOpen() ? ErrorText(errno) : parent.Error());
}

OpenFolder::~OpenFolder() = default;

std::optional<FileIdentityStamp> OpenFolder::StampOf(const std::string& name) const {
    struct stat status;
    if (!IsOpen() || fstatat(m_handle->Descriptor, NativePath(name).c_str(), &status, 0) != 0)
        return std::nullopt;
    return StampOfStatus(status);
}

bool OpenFolder::List(DirectoryListing& listing) {
    listing.Entries.clear();
    listing.Skipped.clear();
    listing.Identity = m_identity;
    if (!IsOpen())
        return false;
    // A descriptor of its own, so that the listing's position is not the folder's.
    const int descriptor = OpenFolderAt(m_handle->Descriptor, ".");
    DIR* directory = descriptor >= 0 ? fdopendir(descriptor) : nullptr;
    if (directory == nullptr) {
        Fail(ErrorText(errno));
        if (descriptor >= 0)
            close(descriptor);
        return false;
    }
    std::vector<NativeEntry> found;
    errno = 0;
    while (const dirent* entry = readdir(directory)) {
        if (!IsDotOrDotDot(entry->d_name))
            found.push_back(EntryOf(m_handle->Descriptor, *entry));
        errno = 0;
    }
    const int error = errno;
    closedir(directory);
    if (error != 0)
        return Fail(ErrorText(error));
    // Sorted as the file system names them (UTF-8), whatever code page the names are kept in.
    std::ranges::sort(found, NameLessIgnoringCase, &NativeEntry::Name);
    FillListing(found, listing);
    return true;
}

}  // namespace tomlet
