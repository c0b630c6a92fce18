#pragma once

#include <vector>

#include "platform/directory_listing.h"
#include "platform/native_path.h"

// What the two system halves of the directory listing share.
namespace tomlet {

// An entry as the file system names it.
struct NativeEntry {
    NativeString Name;
    bool IsDirectory = false;
    bool IsHidden = false;
    bool IsSystem = false;
    bool IsLink = false;
};

// Puts entries, sorted, into the listing: those whose names the program can keep among its
// entries, the others among the skipped.
void FillListing(std::vector<NativeEntry>& sorted, DirectoryListing& listing);

}  // namespace tomlet
