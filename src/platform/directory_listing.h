#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tomlet {

struct DirectoryEntry {
    std::string Name;          // in the process code page
    bool IsDirectory = false;  // a link counts as what it points to
    bool IsHidden = false;     // elsewhere than on Windows: the name begins with "."
    bool IsSystem = false;     // never set elsewhere than on Windows
    bool IsLink = false;       // a symbolic link (on Windows also a junction)
};

// Why an entry is left out of what the program lists and stores.
enum class SkipReason {
    UnrepresentableName,  // the process code page cannot hold its name
    BackslashInName,      // elsewhere than on Windows: a '\', which separates a stored path's parts
    Unlistable,           // a folder that could not be opened or listed
    LinkToScannedFolder,  // a link to the folder a scan lists, or to a folder above it: a loop
};

// An entry left out, named for the user in UTF-8: by its name in a listing, by its whole path in
// a scan's report.
struct SkippedEntry {
    std::string Path;
    SkipReason Reason = SkipReason::UnrepresentableName;
    bool IsDirectory = false;
    bool IsHidden = false;
    std::string Detail{};  // for an unlistable folder the system's reason, in UTF-8
    bool operator==(const SkippedEntry&) const = default;
};

// Identifies a folder on its volume, so that a walk can tell when a link leads into a folder it
// has met already.
struct FolderIdentity {
    std::uint64_t Volume = 0;
    std::uint64_t Index = 0;
    bool operator==(const FolderIdentity&) const = default;
};

struct FolderIdentityHash {
    std::size_t operator()(const FolderIdentity& identity) const {
        return std::hash<std::uint64_t>{}(identity.Index ^ (identity.Volume << 32));
    }
};

struct DirectoryListing {
    FolderIdentity Identity;
    std::vector<DirectoryEntry> Entries;  // without "." and ".."
    std::vector<SkippedEntry> Skipped;    // in name order
};

// A folder held open to be listed and to open its subfolders by name, so that a walk reaches as
// deep as a tree goes whatever the system's limit on a path's length: on POSIX systems each
// folder is opened relative to its parent's descriptor, on Windows by the long "\\?\" form.
class OpenFolder final {
public:
    // The folder at a path in the process code page.
    explicit OpenFolder(const std::string& path);
    // The subfolder of an open folder by its listed name (or a link to a folder).
    OpenFolder(const OpenFolder& parent, const std::string& name);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    bool IsOpen() const;
    // Unknown (all zero) when the system cannot tell it.
    FolderIdentity Identity() const { return m_identity; }
    // Lists the folder once, every entry whatever its attributes, in name order ignoring case as
    // NTFS keeps it, on every system and file system. A name the process code page cannot hold,
    // or elsewhere than on Windows a name holding '\', is not listed but named among the
    // skipped. False, with no entries, when the folder is not open or cannot be listed.
    bool List(DirectoryListing& listing);
    // The stamp of the regular file of that listed name in the folder (links followed); nothing
    // when it is none or cannot be looked up.
    std::optional<FileIdentityStamp> StampOf(const std::string& name) const;
    // Why the folder could not be opened or listed, in UTF-8.
    const std::string& Error() const { return m_error; }

private:
    struct Handle;
    bool Fail(std::string error);

    std::unique_ptr<Handle> m_handle;  // null when not open
    FolderIdentity m_identity;
    std::string m_error;
};

// Lists the folder at a path as OpenFolder::List does.
bool ListDirectory(const std::string& folder, DirectoryListing& listing);

}  // namespace tomlet
