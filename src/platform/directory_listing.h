#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tomlet {

struct DirectoryEntry {
    std::string Name;          // in the process code page
    bool IsDirectory = false;  // a link counts as what it points to
    bool IsHidden = false;     // elsewhere than on Windows: the name begins with "."
    bool IsSystem = false;     // never set elsewhere than on Windows
};

// Why an entry is left out of what the program lists and stores.
enum class SkipReason {
    UnrepresentableName,  // the process code page cannot hold its name
};

// An entry left out, named for the user in UTF-8: by its name in a listing, by its whole path in
// a scan's report.
struct SkippedEntry {
    std::string Path;
    SkipReason Reason = SkipReason::UnrepresentableName;
    bool IsDirectory = false;
    bool IsHidden = false;
    bool operator==(const SkippedEntry&) const = default;
};

// Identifies a folder on its volume, so that a walk can tell when a link leads back into a folder
// it is already in.
struct FolderIdentity {
    std::uint64_t Volume = 0;
    std::uint64_t Index = 0;
    bool operator==(const FolderIdentity&) const = default;
};

struct DirectoryListing {
    FolderIdentity Identity;
    std::vector<DirectoryEntry> Entries;  // without "." and ".."
    std::vector<SkippedEntry> Skipped;    // in name order
};

// Lists a folder once, every entry whatever its attributes, in name order ignoring case as NTFS
// keeps it, on every system and file system. A name the process code page cannot hold is not
// listed but named among the skipped. Returns false, with no entries, when the folder cannot be
// listed.
bool ListDirectory(const std::string& folder, DirectoryListing& listing);

}  // namespace tomlet
