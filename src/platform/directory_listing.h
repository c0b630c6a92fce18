#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tomlet {

struct DirectoryEntry {
    std::string Name;
    bool IsDirectory = false;  // a link counts as what it points to
    bool IsHidden = false;     // elsewhere than on Windows: the name begins with "."
    bool IsSystem = false;     // never set elsewhere than on Windows
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
};

// Lists a folder once, every entry whatever its attributes. Windows gives its own order (sorted by
// name on NTFS); where the system lists in no defined order the entries are sorted by their
// upper-cased names, so a folder lists the same on every system. Returns false, with no entries,
// when the folder cannot be listed.
bool ListDirectory(const std::string& folder, DirectoryListing& listing);

// Whether listed names are UTF-8 (elsewhere than on Windows, and on Windows set to UTF-8) or
// in a single-byte ANSI code page.
bool ListedNamesAreUtf8();

}  // namespace tomlet
